#include "chords/MelodyPath.h"

#include <array>

#include "core/Options.h"
#include "core/Session.h"
#include "chords/InputLink.h"

namespace chordella::chords {

namespace {

using Row = std::array<std::int8_t, 12>;

constexpr Row Flat11 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1};
constexpr Row Minor = {0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, -1};
constexpr Row Zero{};

// Row t − 1 for chord type t.
constexpr std::array<Row, 34> AdLibTable = {{
    Flat11,                                 // 1 maj
    Minor,                                  // 2 min
    Flat11,                                 // 3 7th
    Minor,                                  // 4 min7
    {0, 0, 0, 0, -1, 0, 0, -1, 0, 0, 0, -1},   // 5 dim
    Flat11,                                 // 6 sus4
    Flat11,                                 // 7 add9
    Flat11,                                 // 8 5b
    Zero,                                   // 9 M7
    {0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, -1},    // 10 aug
    Flat11,                                 // 11 6th
    {0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0},    // 12 mM7
    Minor,                                  // 13 min6
    Minor,                                  // 14 min9
    Minor,                                  // 15 m5b7
    {0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, -1},    // 16 aug7
    {0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, -1},    // 17 sus7
    Zero,                                   // 18
    {0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0},     // 19
    Flat11,                                 // 20
    {0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, -1},    // 21
    {0, 0, 0, 0, -1, 0, 0, -1, 0, 0, 0, 0},    // 22
    Zero,                                   // 23
    Zero,                                   // 24
    {0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0},     // 25
    Zero,                                   // 26
    {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0},      // 27
    Zero,                                   // 28
    {0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0},     // 29
    {0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0},     // 30
    {0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0},     // 31
    {0, 0, 0, 0, -1, 0, 0, -1, 0, 0, 0, -1},   // 32
    {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, -1},     // 33
    Flat11,                                 // 34
}};

int PitchClass(int note) { return ((note % 12) + 12) % 12; }

int KeyAdjusted(InputLink& peers, int key, KeyModifiers modifiers) {
    const int songKey = peers.SongKey();
    if (songKey < 0) return key;
    const int pc = PitchClass(key);
    int result = key + songKey;
    if (modifiers.Ctrl) {
        if (pc == 4 || pc == 11) --result;
    } else if (modifiers.Shift) {
        if (pc == 5 || pc == 9) ++result;
    }
    return result;
}

}  // namespace

int AdLibShift(int type, int column) {
    if (type < 1 || type > static_cast<int>(AdLibTable.size()) || column < 0 || column > 11) return 0;
    return AdLibTable[static_cast<std::size_t>(type - 1)][static_cast<std::size_t>(column)];
}

int AdjustMelodyNote(core::Session& session, KeyboardState& keyboard, const ChordState& chordState,
                     const core::Options& options, InputLink& peers, int channel, int key, bool press,
                     KeyModifiers modifiers, bool forceAdLib) {
    if (!options.MelodyAdLib && !forceAdLib) return options.KeyAdjustment ? KeyAdjusted(peers, key, modifiers) : key;
    if (key < 0 || key > 127 || channel < 0 || channel > 15) return key;

    if (keyboard.SustainHeld[static_cast<std::size_t>(channel)] && chordState.CurrentRoot != keyboard.AdLibRoot) {
        midi::MidiOut* out = session.AccompanimentOutput();
        if (out && out->IsOpen()) {
            out->PutShort(static_cast<std::uint8_t>(0xB0 | channel), 64, 0);
            out->PutShort(static_cast<std::uint8_t>(0xB0 | channel), 66, 0);
        }
    }
    keyboard.AdLibRoot = chordState.CurrentRoot;

    if (!press) return key;
    int result = key;
    if (chordState.CurrentRoot >= 0 && chordState.CurrentRoot < NoCurrentChord) {
        const int capo = keyboard.CapoShift;
        const int column = PitchClass(PitchClass(key) - capo);
        const int root = PitchClass(chordState.CurrentRoot);
        result = key + root - capo + AdLibShift(chordState.CurrentType, column);
        if (options.AdjustMelodyOctave && root > 7) result -= 12;
    }
    return result;
}

}  // namespace chordella::chords
