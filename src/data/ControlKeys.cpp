#include "data/ControlKeys.h"

#include <algorithm>

namespace chordella::data {

namespace {

bool IsMidiNote(long value) { return value >= 0 && value <= 127; }

}  // namespace

int KeyNote(KeyNoteAndOctave key) {
    // A damaged settings file may hold any integer; compute wide so nothing overflows.
    const long note = static_cast<long>(key.Note) + 12L * static_cast<long>(key.Octave);
    return IsMidiNote(note) ? static_cast<int>(note) : -1;
}

ControlKeys DeriveControlKeys(const ControlKeySettings& settings) {
    ControlKeys keys;
    keys.FillIn = KeyNote(settings.FillIn);
    keys.Ending = KeyNote(settings.Ending);
    keys.ToExtended = KeyNote(settings.ToExtended);
    keys.ToBasic = KeyNote(settings.ToBasic);
    keys.FirstChordKey = KeyNote(settings.FirstChordKey);
    keys.LastChordKey = KeyNote(settings.LastChordKey);

    // The lowest of the section keys that exist; the derived keys sit below it.
    int lowest = -1;
    for (int key : {keys.FillIn, keys.Ending, keys.ToExtended, keys.ToBasic})
        if (key >= 0) lowest = lowest < 0 ? key : std::min(lowest, key);
    const auto below = [lowest](int distance) {
        const int note = lowest - distance;
        return lowest >= 0 && IsMidiNote(note) ? note : -1;
    };
    keys.Intro = below(1);
    keys.PadOn = below(2);
    keys.PadOff = below(3);
    keys.Extended = below(4);
    keys.Basic = below(5);
    return keys;
}

}  // namespace chordella::data
