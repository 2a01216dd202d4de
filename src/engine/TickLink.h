#pragma once
// The seams between the engine's tick and the work of the transport and sections, the
// chord memory, the melody track, chord recognition and the display. The tick procedure
// and the style player call these at fixed points; the modules that own the work override
// them. Every default does the least that keeps the engine playing on its own: the
// pending control key is dropped, the section step loops the part that plays (see
// LoopingSections), and a stop halts the style player.
//
// All of them are called on the control thread, most from inside a tick: an override must
// not allocate, lock, log or throw there.

#include <cstdint>

#include "engine/ClockState.h"

namespace chordella::engine {

class TickLink {
public:
    virtual ~TickLink() = default;

    // Tick step 6: the count-in. True while it counts; the rest of the tick is then skipped.
    virtual bool CountInTick() { return false; }
    // Tick step 6, after the count-in, when TickInBeat has passed 24: the recogniser's held
    // notes are emptied when "Two-Finger" is off and the smart chord option is on.
    virtual void BeatOverran() {}
    // Tick step 7: chord-memory recording or playback. False in live play, where the engine
    // runs its own chord timing.
    virtual bool ChordMemoryStep() { return false; }
    // Tick step 8: the melody track (called while the style player is active).
    virtual void MelodyStep() {}

    // Right before every ApplyChord: carries out PendingCommandKey / PendingCommandValue and
    // clears them. The default only clears them.
    virtual void ApplyCommandKey() = 0;
    // At the first tick of every beat of a playing style: loop, follow-up part, beat display.
    virtual void SectionStep() = 0;
    // The transport stops (end of style, ending finished, fade-out ended, external stop).
    virtual void StopTransport() = 0;
    // A metronome click at `level` (107 live, 80 lead-in, 75 count-in).
    virtual void MetronomeClick(int /*level*/) {}

    // The chord memory: the fade-out past 110 makes a song jump to its end.
    virtual bool ChordMemoryEmpty() { return true; }
    virtual void ChordMemoryJumpToEnd() {}
    // True while chords are recorded or played from memory (the clock button is ignored).
    virtual bool ChordMemoryBusy() { return false; }
    // True when chord-memory playback already sent the code of this chord ahead of time.
    virtual bool ChordCodeSentAhead() { return false; }
    // The grid kind changed between quarter and eighth beats (the start-measure field follows,
    // see RescaleStartMeasure).
    virtual void MeterKindChanged(MeterKind /*from*/, MeterKind /*to*/) {}
    // A style or song set the measure length: start measure back to 1, loop range recomputed.
    virtual void MeasureUnitsSetFromFile() {}

    // The chord-memory editor's "Input chord live " box: true when it takes the pending chord
    // (it enters it and stops a playing style); ApplyChord then does nothing else.
    virtual bool EditorTakesChord(std::int16_t /*root*/, std::int16_t /*type*/) { return false; }
    // True while the editor is the active window with "Acoustic chord control" ticked.
    virtual bool EditorSoundsChords() { return false; }
    // True while the editor's "Input chord live " box takes every chord: a chord then does
    // not start an idle style (the editor would stop it at once, after its first notes).
    virtual bool EditorTakesChords() { return false; }
    // True when chord recognition marks "no chord" as current (CurrentRoot 128): the style
    // then plays nothing.
    virtual bool NoChordMarked() { return false; }
    // While the clock is off a submitted chord may be for step recording: true when the
    // chord memory took it (it is then not applied).
    virtual bool StepRecordTakesChord() { return false; }
};

}  // namespace chordella::engine
