#pragma once
// What chord entry by hand remembers between a press and its release: the computer keys
// held as chord and type keys, the note and channel each melody key sounds, the notes the
// on-screen keyboard sounds, and a pad held for the chord-memory editor. Control thread only.

#include <array>
#include <cstdint>

namespace chordella::chords {

struct EntryState {
    // The virtual-key code of the chord key and of the chord-type key held now (0 = none).
    std::uint8_t HeldChordKey = 0;
    std::uint8_t HeldTypeKey = 0;
    // Per virtual-key code: the note a melody key sounds (0 = the key is not sounding) and
    // the channel it sounds on. The release goes there, whatever changed in between.
    std::array<std::uint8_t, 256> KeyHeldNote{};
    std::array<std::uint8_t, 256> KeyChannel{};
    // Per on-screen note: the note its press was sent as, plus one (0 = nothing sent), so
    // the release ends the note that sounds even after the chord or the spinners changed.
    std::array<std::uint8_t, 128> ScreenSentNote{};
    std::array<std::uint8_t, 128> ScreenSentChannel{};
    // A pad is held down for the chord-memory editor (its chord waits in CurrentRoot and
    // CurrentType until the pad is released).
    bool PadHeld = false;
};

}  // namespace chordella::chords
