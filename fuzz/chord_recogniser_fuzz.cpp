// Random key presses and releases, two-finger keys, received chord codes, option changes
// and raw chords from songs go through the recogniser and SetChord. Whatever arrives, every
// chord handed on must be a playable one: a type some table knows, notes that are MIDI notes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/Session.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecogniser.h"
#include "chords/ChordState.h"
#include "chords/ChordSlotMap.h"
#include "core/Options.h"
#include "platform/RecordingPrompter.h"
#include "support/StandInLinks.h"

namespace {

using namespace chordella;

void Fail(const char* what) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}
#define Require(condition) ((condition) ? void() : Fail(#condition))

// Holds the pending chord as the engine does, and checks what it is handed.
struct CheckingEngine final : chordella::testing::StandInEngine {
    void SubmitChord(core::ChordPair chord, const std::array<std::int16_t, 4>& notes) override {
        for (const auto note : notes) Require(note >= 0 && note <= 127);
        Require(chord.Root >= 1 && chord.Root <= 127);
        Require(chord.Type >= 1 && chord.Type <= chords::MaxStoredType);
        pending = chord;
    }
    core::ChordPair PendingChord() const override { return pending; }
    void DropPendingChord() override { pending = {}; }
    core::ChordPair pending;
};

struct Input {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t At = 0;
    bool More() const { return At < Size; }
    int Byte() { return At < Size ? Data[At++] : 0; }
    std::int16_t Word() { return static_cast<std::int16_t>(Byte() | (Byte() << 8)); }
};

// What the keyboard input does with a key in the chord zone, "Two-Finger" off.
void PressLive(chords::ChordRecogniser& recogniser, core::Session& session, int key, int capo) {
    auto& held = session.Style().heldNotes;
    if (held.Count > 5) held.Clear();
    held.Add(key);
    if (held.Count < 3) return;
    core::ChordPair chord = recogniser.Recognise();
    if (chord.Root <= 0) chord = session.Engine().PendingChord();
    Require(chord.Type >= 0 && chord.Type <= chords::MaxStoredType);
    Require(chord.Root >= 0 && chord.Root <= 127);
    if (chord.Root < 44) chord.Root = static_cast<std::int16_t>(chord.Root + 12);
    recogniser.SetChord(chord.Root, chord.Type, static_cast<std::int16_t>(capo));
}

void CheckState(core::Session& session, const chords::ChordState& state) {
    const auto& held = session.Style().heldNotes;
    Require(state.CurrentRoot >= 1 && state.CurrentRoot <= chords::NoCurrentChord);
    Require(state.CurrentType >= 0 && state.CurrentType <= chords::MaxStoredType);
    Require(held.Count >= 0 && held.Count <= chords::HeldNoteList::Capacity);
    Require(chords::ChordName(state, state.CurrentRoot, state.CurrentType).View().size() >= 4);  // "C 5b"
}

void Step(Input& in, chords::ChordRecogniser& recogniser, core::Session& session, chords::ChordState& state,
          core::Options& options) {
    switch (in.Byte() % 12) {
        case 0: PressLive(recogniser, session, in.Byte() & 0x7F, in.Byte() % 23 - 11); break;
        case 1:
            session.Style().heldNotes.Remove(in.Byte());
            if (const auto chord = session.Engine().PendingChord(); chord.Root > 0)
                recogniser.SetChord(chord.Root, chord.Type, 0);
            break;
        case 2: recogniser.ReceiveChordCode(in.Byte(), 19 + in.Byte() % 2, in.Byte() & 0x0F); break;
        case 3: {
            const auto chord = recogniser.TwoFingerKey(in.Byte() + in.Byte() % 23 - 11);
            if (chord.Root > 0) recogniser.SetChord(chord.Root, chord.Type, 0);
            break;
        }
        case 4: {
            const int bits = in.Byte();
            options.TriadChords = bits & 1;
            options.MajorMinor = bits & 2;
            options.PlayChords = bits & 4;
            options.FlatSharp = bits & 8;
            options.ReceiveChordCodes = bits & 16;
            recogniser.ApplySpelling();
            break;
        }
        case 5:
            chords::SetFirstKey(state, in.Word());
            state.CapoPosition = in.Word();
            break;
        case 6: {
            auto& held = session.Style().heldNotes;
            for (int count = in.Byte() * 4; count > 0 && in.More(); --count) held.Add(in.Byte());
            recogniser.Recognise(in.Byte() % 20 - 1, chords::RecogniseMode::Analysis, in.Byte() - 2);
            break;
        }
        case 7:
            state.TypeOverride = in.Word();
            state.TypeOverrideOnce = in.Byte() & 1;
            break;
        case 8: session.Engine().DropPendingChord(); break;  // the engine applied the chord
        case 9: recogniser.SetChord(in.Word(), in.Word(), in.Word()); break;
        case 10:
            recogniser.ShowChord(in.Word(), in.Word(), in.Byte() & 1);
            recogniser.ShowKey(in.Word(), in.Byte() & 1, in.Word());
            break;
        default: {
            char text[20];
            for (char& c : text) c = static_cast<char>(in.Byte());
            chords::ReadChordTypes(state.SlotMap, std::string_view(text, sizeof text));
            for (int slot = 0; slot < chords::ChordSlotMap::Slots; ++slot)
                Require(state.SlotMap.TypeOf(slot) <= chords::TableTypes);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CheckingEngine engine;
    static std::unique_ptr<core::Session> session = [] {
        core::SessionParts parts;
        parts.prompter = std::make_unique<platform::RecordingPrompter>();
        parts.paths = platform::Paths::InFolder("/tmp/chordella-fuzz");
        auto made = std::make_unique<core::Session>(std::move(parts));
        made->SetEngineLink(&engine);
        return made;
    }();
    static chords::ChordState state;
    static core::Options options;
    state = chords::ChordState{};
    options = core::Options{};
    session->Style() = core::StyleContainer{};
    engine.pending = {};
    chords::ChordRecogniser recogniser(*session, state, options, engine);
    session->SetChordLink(&recogniser);

    Input in{data, size};
    while (in.More()) {
        Step(in, recogniser, *session, state, options);
        CheckState(*session, state);
    }
    return 0;
}
