#include "chords/ChordRecogniser.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "core/Options.h"
#include "core/Session.h"
#include "chords/ChordCodes.h"
#include "chords/ChordNames.h"

namespace chordella::chords {

namespace {

constexpr std::string_view ApplicationTitle = "Chordella";
constexpr std::string_view ChordTitleSeparator = "  -  Chord : ";

// Keeps a root inside the keyboard by octaves, so a transposed chord keeps its pitch class.
int FoldIntoKeyboard(int root) {
    if (root > 127) return 116 + PitchClass(root - 116);
    if (root < 1) return 1 + PitchClass(root - 1);
    return root;
}

int SwapMajorMinor(int type) {
    switch (type) {
        case 1: return 2;
        case 2: return 1;
        case 3: return 4;
        case 4: return 3;
        default: return type;
    }
}

}  // namespace

ChordRecogniser::ChordRecogniser(core::Session& session, ChordState& chordState, core::Options& options,
                                 core::EngineLink& engine)
    : session_(session), chordState_(chordState), options_(options), engine_(engine) {}

ChordRecogniser::~ChordRecogniser() {
    session_.Unwire(this);
}

void ChordRecogniser::SetChord(std::int16_t givenRoot, std::int16_t givenType, std::int16_t offset) {
    if (givenType == 0 || givenRoot <= 0) return;
    int root = givenRoot, type = givenType;

    if (chordState_.TypeOverride != 0) {
        type = chordState_.TypeOverride;
        if (chordState_.TypeOverrideOnce) {
            chordState_.TypeOverride = 0;
            chordState_.TypeOverrideOnce = false;
            session_.Display().ReleaseChordTypePad();
        }
    }
    // A type beyond every table (a damaged song, a wild override) would index past the
    // engine's transposition tables.
    if (!IsChordType(type)) return;

    if (options_.TriadChords && type == 1) {
        const auto pitchClass = static_cast<std::size_t>(PitchClass(root));
        if (options_.MajorMinor) {
            type = MinorTriadType[pitchClass];
            root -= MinorTriadRootCorrection[pitchClass];
        } else {
            type = MajorTriadType[pitchClass];
        }
    } else if (options_.MajorMinor) {
        type = SwapMajorMinor(type);
    }

    if (offset != NoOffset) root += options_.PlayChords ? offset : offset % 12;
    root = FoldIntoKeyboard(root);

    chordState_.CurrentRoot = static_cast<std::int16_t>(root);
    chordState_.CurrentType = static_cast<std::int16_t>(type);

    if (!options_.PlayChords) engine_.StartStyleForChord();

    std::array<std::int16_t, 4> notes{};
    const auto& tones = ChordTones(type);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        int note = root + tones[i];
        while (note > 127) note -= 12;  // at most twice: root ≤ 127, tones ≤ 14
        notes[i] = static_cast<std::int16_t>(note);
    }
    engine_.SubmitChord({chordState_.CurrentRoot, chordState_.CurrentType}, notes);
}

void ChordRecogniser::ClearTypeOverride() { chordState_.TypeOverride = 0; }

void ChordRecogniser::BeatOverran() noexcept {
    if (options_.TwoFingerChords || !options_.SmartChordKeys) return;
    HeldNoteList& held = session_.Style().heldNotes;
    if (!held.Empty()) held.Clear();
}

void ChordRecogniser::ReapplyCurrentChord() {
    const std::int16_t root = chordState_.CurrentRoot;
    if (root <= 0 || root >= NoCurrentChord) return;
    SetChord(root, chordState_.CurrentType, NoOffset);
}

core::ChordPair ChordRecogniser::PreviewChord(int root, int givenType) {
    int type = chordState_.TypeOverride != 0 ? chordState_.TypeOverride : givenType;
    if (options_.MajorMinor) type = SwapMajorMinor(type);
    chordState_.CurrentRoot = static_cast<std::int16_t>(std::clamp(root, 1, 127));
    chordState_.CurrentType = static_cast<std::int16_t>(type);
    return {chordState_.CurrentRoot, chordState_.CurrentType};
}

core::ChordPair ChordRecogniser::Recognise(int highestIndex, RecogniseMode mode, int divisor) {
    return RecogniseChord(session_.Style().heldNotes, chordState_, highestIndex, mode, divisor);
}

core::ChordPair ChordRecogniser::TwoFingerKey(int givenKey) {
    const int key = std::clamp(givenKey, -1024, 1024);  // any key, and its distance, stays countable
    if (engine_.PendingChord().Root <= 0 || chordState_.TwoFingerFirstKey <= 0) {
        chordState_.TwoFingerFirstKey = static_cast<std::int16_t>(key > 0 ? FoldIntoKeyboard(key) : 0);
        SetChord(static_cast<std::int16_t>(chordState_.TwoFingerFirstKey), 1, 0);
        return engine_.PendingChord();
    }
    const int first = chordState_.TwoFingerFirstKey;
    const int slot = std::abs(key - first) % 11 + 1;
    core::ChordPair chord;
    chord.Type = static_cast<std::int16_t>(chordState_.SlotMap.TypeOf(slot));
    if (key >= first) {
        chord.Root = static_cast<std::int16_t>(first);
    } else {
        // The lower key is the root; the next key starts a new chord.
        chord.Root = static_cast<std::int16_t>(key > 0 ? key : FoldIntoKeyboard(key));
        chordState_.TwoFingerFirstKey = 0;
    }
    return chord;
}

NameText ChordRecogniser::ChordName(int root, int type) const {
    return chords::ChordName(chordState_, root, type);
}

void ChordRecogniser::ShowChord(int root, int type, bool inPanels) {
    const NameText name = ChordName(root, type);
    NameText title;
    title += ApplicationTitle;
    title += ChordTitleSeparator;
    title += name.View();
    const bool panels = inPanels && !engine_.ChordPreviewPastFirstMeasure();
    session_.Display().ShowChord(title.View(), name.View(), panels);
}

NameText ChordRecogniser::KeyName(int keyNote, bool minor, int transposition) {
    return chords::KeyName(chordState_, keyNote, minor, transposition, options_.SuppressSignChange);
}

void ChordRecogniser::ShowKey(int keyNote, bool minor, int transposition) {
    session_.Display().ShowKey(KeyName(keyNote, minor, transposition).View());
}

void ChordRecogniser::ApplySpelling() {
    chordState_.NoteNames = NoteNamesFor(options_.FlatSharp);
}

void ChordRecogniser::ToggleSpelling() {
    options_.FlatSharp = !options_.FlatSharp;
    ApplySpelling();
}

ChordCodeOutcome ChordRecogniser::ReceiveChordCode(int value, int controller, int /*channel*/) {
    if (!options_.ReceiveChordCodes || !IsChordCodeController(controller)) return ChordCodeOutcome::PassOn;
    if (value >= AdLibOnCode) {
        if (value != AdLibOnCode && value != AdLibOffCode) return ChordCodeOutcome::Consumed;
        options_.MelodyAdLib = value == AdLibOnCode;
        session_.Display().ShowMelodyAdLib(options_.MelodyAdLib);
        return ChordCodeOutcome::AdLibChanged;
    }
    const auto chord = DecodeChordCode(controller, value);
    if (!chord || engine_.PlaysImportedMaterial()) return ChordCodeOutcome::Consumed;

    int root = chord->PitchClass + 12 + (chordState_.FirstKey / 12) * 12;
    // A chord zone at the top of the keyboard would otherwise give a root above 127, where
    // 128 means "no chord".
    while (root > 127) root -= 12;
    chordState_.CurrentType = static_cast<std::int16_t>(chord->Type);
    chordState_.CurrentRoot = static_cast<std::int16_t>(root);
    ShowChord(chordState_.CurrentRoot, chordState_.CurrentType, true);
    return ChordCodeOutcome::Consumed;
}

bool ChordRecogniser::AnnounceMelodyAdLib(midi::MidiOut& chordCodeOut) {
    if (!options_.SendChordCodes) return false;
    return SendAdLibCode(chordCodeOut, options_.ChordCodeChannel, options_.MelodyAdLib);
}

}  // namespace chordella::chords
