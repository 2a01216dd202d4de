#pragma once
// What the transport asks of the modules around it: the chord memory (song playback and
// recording), the melody track, a loaded MIDI file, chord recognition and its displays, and
// the songlist. The transport is the engine's TransportHooks; the seams of the tick that
// belong to these modules reach them through here. Every default does what the program does
// without that module: no song, no melody, no type override.
//
// Control thread, all of them; the ones marked "tick" are called from inside a tick and must
// not allocate, lock, log or throw.

#include <cstdint>

#include "core/ClockState.h"

namespace chordella::engine {

class TransportPeers {
public:
    virtual ~TransportPeers() = default;

    // --- The chord memory (song playback and recording) ---
    // Tick: chord-memory recording or playback; false in live play.
    virtual bool ChordMemoryStep() { return false; }
    // ChordMemoryLength ≤ 4: nothing recorded.
    virtual bool ChordMemoryEmpty() { return true; }
    // Tick: the fade-out past 110 makes a song jump to its end.
    virtual void ChordMemoryJumpToEnd() {}
    // True when playback already sent the code of this chord ahead of time.
    virtual bool ChordCodeSentAhead() { return false; }
    // While the clock is off, a submitted chord may be for step recording.
    virtual bool StepRecordTakesChord() { return false; }
    virtual void MeterKindChanged(MeterKind /*from*/, MeterKind /*to*/) {}
    virtual void MeasureUnitsSetFromFile() {}
    // The ending count-down after an ending mark of the song.
    virtual bool EndingCountdownRunning() { return false; }
    virtual void CancelEndingCountdown() {}
    // Play: the start position from the start-measure field (Resuming when it lies later).
    virtual void StartPlayback() {}
    // Record: the position := PlayStartPos, RecordFrom := 4.
    virtual void StartRecordingAtStart() {}
    // Record with the overwrite box and a start measure below 2: recording starts at position 4.
    virtual void StartRecordingAtSongStart() {}
    // The start-measure field, PlayStartPos and ChordMemoryLength (positions, 4 per beat).
    virtual int StartMeasure() { return 1; }
    virtual std::int16_t PlayStartPos() { return 4; }
    virtual std::int16_t ChordMemoryLength() { return 4; }
    // Record's "Replace current chords ?" answered Yes: the chord memory and the melody are cleared.
    virtual void ClearSong() {}
    // The check box that "Punc&h in" and "Play && Over&write" tick.
    virtual bool OverwriteBox() { return false; }
    virtual void SetOverwriteBox(bool /*on*/) {}
    // Stop of a chord recording: the end-of-song mark and the length (when it ran past the old end).
    virtual void RecordingStopped() {}
    // Program-change and MIDI-command requests, carried out by playback at tick 12 of a beat.
    virtual void RequestProgramChange(int /*program*/) {}
    virtual void RequestMidiCommand(int /*number*/) {}
    // True while a MIDI command is being sent (program-change commands are then ignored).
    virtual bool SendingMidiCommand() { return false; }

    // --- The melody track and a loaded MIDI file ---
    // Tick: the melody step (while the style player is active).
    virtual void MelodyStep() {}
    // Stop: the melody and the creator's own recording are closed.
    virtual void CloseRecordings() {}
    // Play: a loaded MIDI file plays instead of the chord memory.
    virtual bool MidiFileLoaded() { return false; }
    virtual void StartMidiFile() {}

    // --- Chord recognition, its displays and the input side ---
    // Tick, when TickInBeat has passed 24: the recogniser's held notes may be emptied.
    virtual void BeatOverran() {}
    virtual bool NoChordMarked() { return false; }
    virtual void ShowChord(std::int16_t /*root*/, std::int16_t /*type*/) {}
    virtual bool EditorTakesChord(std::int16_t /*root*/, std::int16_t /*type*/) { return false; }
    virtual bool EditorSoundsChords() { return false; }
    // "All Notes Off" and "Reset Controllers": TypeOverride := 0.
    virtual void ClearTypeOverride() {}
    // The intro key in song mode: CurrentRoot/CurrentType are set once more (no transposition).
    virtual void ReapplyCurrentChord() {}
    // The second chord pair of the input side is cleared with the pending key.
    virtual void ClearSecondChordPair() {}
    // "Reset Controllers": the voice channel's settings are sent again.
    virtual void ResendVoiceSettings() {}
    // Stop's reset routine: the input buffers are drained.
    virtual void DrainInputs() {}

    // --- The songlist ---
    // The ending starts while random autoplay or shuffle runs: the songlist goes on afterwards.
    virtual bool SonglistContinuesAfterEnding() { return false; }
    // The style's stream ended: the songlist may start the next song.
    virtual void StyleEnded() {}
};

}  // namespace chordella::engine
