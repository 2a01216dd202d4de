#pragma once
// The melody track's running fields in the application state: where playback or recording
// stands in the track, the positions saved for the chord memory's jumps, and the menu
// switches. The track itself lives with the song (ArrangementState::Melody). Written only by
// MelodyPlayer, on the control thread.

#include <array>
#include <cstdint>

namespace chordella::engine {

struct MelodyState {
    // Next event to play, or the slot the next recorded event goes to.
    std::int16_t MelodyIndex = 0;
    // Melody ticks (24 per quarter note) since the song started.
    std::int32_t MelodyClock = 0;
    // Saved at the last measure start, at a loop start mark, and at LoopFromPos.
    std::int16_t MeasureIndex = 0;
    std::int32_t MeasureClock = 0;
    std::int16_t LoopIndex = 0;
    std::int32_t LoopClock = 0;
    std::int16_t RangeIndex = 0;
    std::int32_t RangeClock = 0;

    // The channel selector of the melody (0-based).
    std::int16_t MelodyChannel = 0;
    // Octave field × 12 + semitone field of the keyboard transposition.
    std::int16_t KeyboardTranspose = 0;

    // Menu "&Melody": "&Record", "&Play" (on at start), "Humanize" (on at start).
    bool Recording = false;
    bool PlaybackOn = true;
    bool Humanize = true;
    // Per channel and note: 1 while a note the track played has not been ended, so that a
    // stop can end exactly those.
    std::array<std::array<std::uint8_t, 128>, 16> Sounding{};
    // The record button is greyed after a recording was closed.
    bool RecordGreyed = false;
};

}  // namespace chordella::engine
