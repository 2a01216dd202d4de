#pragma once
// The transport's fields in the application state: whether chords are played live,
// recorded or played from memory, the count-in, the metronome's accent counter, the
// accompaniment switch, the armed sync start and the real-time priority taken while playing. Written only by the
// transport, on the control thread.

#include <cstdint>

namespace chordella::engine {

struct TransportState {
    // 0 = live play, > 0 = recording (2 = step recording), < 0 = playing the chord memory.
    std::int16_t ChordPlayMode = 0;
    // The count-in runs (set at Play and Record from "Count in", never in slave mode).
    std::uint8_t CountInActive = 0;
    // Beats the count-in lasts (3 in three-beat measures, else 4) and beats counted so far.
    std::int16_t CountInBeats = 4;
    std::int16_t CountInCounted = 0;
    // Clicks since the last accented one; the accent falls when it reaches MetronomeGroup.
    std::int16_t MetronomeCount = 0;
    // The accompaniment switch ("Accompaniment").
    std::uint8_t AccompanimentOn = 1;
    // The program last asked for by a program-change command (−1 = none yet).
    std::int16_t LastRequestedProgram = -1;
    // True while Play or Record holds the real-time priority (Stop gives it back).
    bool RealtimeRaised = false;
    // True while the transport itself switched the internal clock on (Stop switches it off).
    bool ClockStartedByTransport = false;
    // "Sync Start" is armed outside slave mode: the next chord that starts the style ends it.
    bool SyncStartArmed = false;
};

}  // namespace chordella::engine
