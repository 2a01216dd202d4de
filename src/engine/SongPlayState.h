#pragma once
// The fields of chord-memory playback and recording in the application state: the loop
// range of the main window, the start position, the active loop of the song, the song's
// transposition, the ending count-down, the chord codes sent ahead and the requests carried
// out at the middle of a beat. Written only by ChordMemoryPlayer, on the control thread.
// (The running position itself is ArrangementState::ChordMemoryPos.)

#include <cstdint>

namespace chordella::engine {

struct SongPlayState {
    // The "Loop" box and its two measure fields as positions.
    std::uint8_t LoopOn = 0;
    std::int16_t LoopFromPos = 4;
    std::int16_t LoopToPos = 4;
    // The two measure fields next to "Loop".
    std::int16_t LoopFromMeasure = 1;
    std::int16_t LoopToMeasure = 1;
    // Where Play starts (the start-measure field); below 4 are lead-in measures.
    std::int16_t PlayStartPos = 4;
    // The next beat finds the chord in force again (a start later in the song).
    std::uint8_t Resuming = 0;
    std::int16_t SongTranspose = 0;

    // The active loop: its end mark, where it jumps back to, repeats left, the position after it.
    std::int16_t LoopMarkPos = 0;
    std::int16_t LoopTarget = 0;
    std::int16_t LoopRepeats = 0;
    std::int16_t LoopEndPos = 0;

    // Session mode: how many more times the song is repeated (0 = not in session mode).
    std::int16_t SessionRepeats = 0;
    // 0 = none, else beats since an ending mark (the transport stops beyond 44).
    std::uint8_t EndingCountdown = 0;

    std::uint8_t ChordCodeSentAhead = 0;
    std::uint8_t LastCodeRoot = 255;
    std::uint8_t LastCodeType = 255;

    // First position recording may write.
    std::int16_t RecordFrom = 4;
    // The last chord step recording wrote (so an unchanged chord is stored as "goes on").
    std::uint8_t StepLastRoot = 0;
    std::uint8_t StepLastType = 0;
    // The overwrite box that "Punc&h in" and "Play && Over&write" tick.
    bool OverwriteBox = false;

    // A program change the transport asked for, carried out at tick 12 of a beat (−1 = none).
    std::int16_t ProgramRequest = -1;
    std::int16_t KeptBank = 0;
    // The key of the key adjustment set by the song's key marks (pitch class, −1 = none).
    std::int16_t AdjustmentKey = -1;
};

}  // namespace chordella::engine
