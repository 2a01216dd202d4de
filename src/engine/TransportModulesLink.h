#pragma once
// What the transport asks of the modules around it: the chord memory (song playback and
// recording), the melody track, and chord recognition with the chord editor. The transport is the engine's TickLink; the seams of the tick that
// belong to these modules reach them through here. The arranger wires the one
// implementation (app::TransportPeers) before anything plays.
//
// Control thread, all of them; the ones marked "tick" are called from inside a tick and must
// not allocate, lock, log or throw.

#include <cstdint>

#include "engine/ClockState.h"

namespace chordella::engine {

class TransportModulesLink {
public:
    virtual ~TransportModulesLink() = default;

    // --- The chord memory (song playback and recording) ---
    // Tick: chord-memory recording or playback; false in live play.
    virtual bool ChordMemoryStep() = 0;
    // ChordMemoryLength ≤ 4: nothing recorded.
    virtual bool ChordMemoryEmpty() = 0;
    // Tick: the fade-out past 110 makes a song jump to its end.
    virtual void ChordMemoryJumpToEnd() = 0;
    // True when playback already sent the code of this chord ahead of time.
    virtual bool ChordCodeSentAhead() = 0;
    // While the clock is off, a submitted chord may be for step recording.
    virtual bool StepRecordTakesChord() = 0;
    virtual void MeterKindChanged(MeterKind /*from*/, MeterKind /*to*/) = 0;
    virtual void MeasureUnitsSetFromFile() = 0;
    // The ending count-down after an ending mark of the song.
    virtual bool EndingCountdownRunning() = 0;
    virtual void CancelEndingCountdown() = 0;
    // Play: the start position from the start-measure field (Resuming when it lies later).
    virtual void StartPlayback() = 0;
    // Record: the position := PlayStartPos, RecordFrom := 4.
    virtual void StartRecordingAtStart() = 0;
    // Record with the overwrite box and a start measure below 2: recording starts at position 4.
    virtual void StartRecordingAtSongStart() = 0;
    // The start-measure field, PlayStartPos and ChordMemoryLength (positions, 4 per beat).
    virtual int StartMeasure() = 0;
    virtual std::int16_t PlayStartPos() = 0;
    virtual std::int16_t ChordMemoryLength() = 0;
    // Record's "Replace current chords ?" answered Yes: the chord memory and the melody are cleared.
    virtual void ClearSong() = 0;
    // The check box that "Punc&h in" and "Play && Over&write" tick.
    virtual bool OverwriteBox() = 0;
    virtual void SetOverwriteBox(bool /*on*/) = 0;
    // Stop of a chord recording: the end-of-song mark and the length (when it ran past the old end).
    virtual void RecordingStopped() = 0;
    // Program-change and MIDI-command requests, carried out by playback at tick 12 of a beat.
    virtual void RequestProgramChange(int /*program*/) = 0;
    virtual void RequestMidiCommand(int /*number*/) = 0;
    // True while a MIDI command is being sent (program-change commands are then ignored).
    virtual bool SendingMidiCommand() = 0;

    // --- The melody track ---
    // Tick: the melody step (while the style player is active).
    virtual void MelodyStep() = 0;
    // Stop: the melody and the creator's own recording are closed.
    virtual void CloseRecordings() = 0;

    // --- Chord recognition and the chord editor ---
    // Tick, when TickInBeat has passed 24: the recogniser's held notes may be emptied.
    virtual void BeatOverran() = 0;
    // Tick: no chord is current, so a style in style mode plays nothing.
    virtual bool NoChordMarked() = 0;
    // The editor's "Input chord live " box: true when the editor took the pending chord.
    virtual bool EditorTakesChord(std::int16_t /*root*/, std::int16_t /*type*/) = 0;
    // The editor is the active window with "Acoustic chord control" ticked.
    virtual bool EditorSoundsChords() = 0;
    // The editor's "Input chord live " box is ticked (it will take the next chord).
    virtual bool EditorTakesChords() = 0;
    // "All Notes Off" and "Reset Controllers": TypeOverride := 0.
    virtual void ClearTypeOverride() = 0;
    // The intro key in song mode: CurrentRoot/CurrentType are set once more (no transposition).
    virtual void ReapplyCurrentChord() = 0;
};

}  // namespace chordella::engine
