// Whatever bytes a keyboard and a second input may send, through the byte parser, the keyboard
// input and the second input of a running arranger (in-memory ports, virtual clock). Each
// chunk is one event of the MIDI system. After every chunk a whole system-exclusive message
// sent as an event of its own still passes through (nothing the chunk left open swallows
// it), and nothing but whole system-exclusive messages ever reach the output. The chord list
// keeps its live limit, and Stop leaves no note sounding.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/LiveArranger.h"
#include "core/Session.h"
#include "engine/Clock.h"
#include "midi/MemoryBackend.h"
#include "platform/Prompter.h"
#include "platform/RecordingPrompter.h"

using namespace chordella;

namespace {

void ChooseOptions(app::AppState& app, std::uint8_t a, std::uint8_t b) {
    core::Options& o = app.options;
    o.TwoFingerChords = a & 1;
    o.MelodyAdLib = a & 2;
    o.PlayChords = a & 4;
    o.KeyboardSplit = a & 8;
    o.UseAllKeyboardKeys = a & 16;
    o.SmartChordKeys = a & 32;
    o.KeyAdjustment = a & 64;
    o.MinusOne = a & 128;
    o.SlaveMode = b & 1;
    o.Origin = b & 2;
    o.InstrumentKeys = b & 4;
    o.MajorMinor = b & 8;
    o.AccChannel = (b >> 4) & 0x0F;
    chords::KeyboardState& k = app.keyboard;
    k.TopFunctionKeys = b & 16;
    k.InstrumentLow = 20;
    k.InstrumentHigh = static_cast<std::int16_t>((b & 32) ? 30 : 0);
    k.CapoShift = static_cast<std::int16_t>((a % 23) - 11);
    k.ThruTranspose = static_cast<std::int16_t>((b % 49) - 24);
    app.engine.KeyboardOctave = static_cast<std::int16_t>((a >> 5) - 4);
    k.Zones[0] = {48, true, 3, -96};
    k.Zones[1] = {96, true, 16, 96};
}

// Every long message the output received is one whole system-exclusive message, and the
// last one is `probe`.
void CheckSysexSent(const midi::MemoryBackend& memory, const std::vector<std::uint8_t>& probe) {
    // Sent() answers a copy: it is kept while the last message is looked at.
    const std::vector<midi::SentMessage> all = memory.Sent(0);
    const std::vector<std::uint8_t>* last = nullptr;
    for (const midi::SentMessage& sent : all) {
        if (!sent.IsLong()) continue;
        const auto& bytes = sent.Bytes;
        if (bytes.size() < 2 || bytes.front() != 0xF0 || bytes.back() != 0xF7) __builtin_trap();
        for (std::size_t i = 1; i + 1 < bytes.size(); ++i)
            if (bytes[i] >= 0x80) __builtin_trap();
        last = &bytes;
    }
    if (!last || *last != probe) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::RecordingPrompter>();
    parts.paths = platform::Paths::InFolder((std::filesystem::temp_directory_path() / "chordella-fuzz-keyboard").string());
    auto backend = std::make_unique<midi::MemoryBackend>();
    midi::MemoryBackend* memory = backend.get();
    memory->AddInput("Keyboard");
    memory->AddInput("Second");
    memory->AddOutput("Out");
    parts.midiBackend = std::move(backend);
    core::Session session(std::move(parts));
    app::AppState app;
    ChooseOptions(app, data[0], data[1]);
    {
        app::LiveArranger arranger(session, app);
        midi::TMidiInput* keyboard = session.MidiInput1();
        midi::TMidiInput* second = session.MidiInput2();
        midi::TMidiOutput* out = session.MidiOutput1();
        second->SetDeviceID(1);
        keyboard->Open();
        keyboard->Start();
        second->Open();
        second->Start();
        out->Open();
        session.Midi().SetCurrentOutput(out);
        arranger.Clock().StartVirtual(120);
        if (app.options.SlaveMode) app.clock.ClockState = -1;

        // The rest arrives in chunks: a byte whose low bit picks the input and whose other
        // bits give the length, then that many bytes; a few ticks run between chunks.
        std::size_t at = 2;
        std::uint32_t millis = 0;
        while (at < size) {
            const int input = data[at] & 1;
            const std::size_t length = std::min<std::size_t>(data[at] >> 1, size - at - 1);
            memory->Feed(input, millis++, data + at + 1, length);
            const std::vector<std::uint8_t> probe = {0xF0, 0x7D, static_cast<std::uint8_t>(millis & 0x7F), 0xF7};
            memory->Feed(input, millis++, probe);
            at += 1 + length;
            session.Loop().RunPending();
            CheckSysexSent(*memory, probe);
            memory->ClearSent(0);
            arranger.Clock().RunVirtualTicks(data[at - 1] % 7);
            if (session.Style().heldNotes.Count > 6) __builtin_trap();
        }
        arranger.Stop();
        for (const auto& channel : app.keyboard.SentNote) {
            for (std::uint8_t sent : channel) {
                if (sent != 0) __builtin_trap();
            }
        }
        keyboard->Close();
        second->Close();
    }
    return 0;
}
