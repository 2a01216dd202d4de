#pragma once
// What the transport asks of the modules around it: the chord memory (song playback and
// recording), the melody track, a loaded MIDI file, chord recognition and its displays, and
// the songlist. The transport is the engine's TickLink; the seams of the tick that
// belong to these modules reach them through here. Every method must be implemented; the
// program without these modules is NoTransportModules below.
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

    // --- The melody track and a loaded MIDI file ---
    // Tick: the melody step (while the style player is active).
    virtual void MelodyStep() = 0;
    // Stop: the melody and the creator's own recording are closed.
    virtual void CloseRecordings() = 0;
    // Play: a loaded MIDI file plays instead of the chord memory.
    virtual bool MidiFileLoaded() = 0;
    virtual void StartMidiFile() = 0;

    // --- Chord recognition, its displays and the input side ---
    // Tick, when TickInBeat has passed 24: the recogniser's held notes may be emptied.
    virtual void BeatOverran() = 0;
    virtual bool NoChordMarked() = 0;
    virtual bool EditorTakesChord(std::int16_t /*root*/, std::int16_t /*type*/) = 0;
    virtual bool EditorSoundsChords() = 0;
    // "All Notes Off" and "Reset Controllers": TypeOverride := 0.
    virtual void ClearTypeOverride() = 0;
    // The intro key in song mode: CurrentRoot/CurrentType are set once more (no transposition).
    virtual void ReapplyCurrentChord() = 0;
    // The second chord pair of the input side is cleared with the pending key.
    virtual void ClearSecondChordPair() = 0;
    // "Reset Controllers": the voice channel's settings are sent again.
    virtual void ResendVoiceSettings() = 0;
    // Stop's reset routine: the input buffers are drained.
    virtual void DrainInputs() = 0;

    // --- The songlist ---
    // The ending starts while random autoplay or shuffle runs: the songlist goes on afterwards.
    virtual bool SonglistContinuesAfterEnding() = 0;
    // The style's stream ended: the songlist may start the next song.
    virtual void StyleEnded() = 0;
};

// The transport without those modules: no song, no melody, no type override; every request
// is dropped. The transport holds one until the modules are wired (Transport::ModulesWired
// says which), so an unwired transport is visible; a test stand-in may start from it.
class NoTransportModules : public TransportModulesLink {
public:
    bool ChordMemoryStep() override { return false; }
    bool ChordMemoryEmpty() override { return true; }
    void ChordMemoryJumpToEnd() override {}
    bool ChordCodeSentAhead() override { return false; }
    bool StepRecordTakesChord() override { return false; }
    void MeterKindChanged(MeterKind /*from*/, MeterKind /*to*/) override {}
    void MeasureUnitsSetFromFile() override {}
    bool EndingCountdownRunning() override { return false; }
    void CancelEndingCountdown() override {}
    void StartPlayback() override {}
    void StartRecordingAtStart() override {}
    void StartRecordingAtSongStart() override {}
    int StartMeasure() override { return 1; }
    std::int16_t PlayStartPos() override { return 4; }
    std::int16_t ChordMemoryLength() override { return 4; }
    void ClearSong() override {}
    bool OverwriteBox() override { return false; }
    void SetOverwriteBox(bool /*on*/) override {}
    void RecordingStopped() override {}
    void RequestProgramChange(int /*program*/) override {}
    void RequestMidiCommand(int /*number*/) override {}
    bool SendingMidiCommand() override { return false; }
    void MelodyStep() override {}
    void CloseRecordings() override {}
    bool MidiFileLoaded() override { return false; }
    void StartMidiFile() override {}
    void BeatOverran() override {}
    bool NoChordMarked() override { return false; }
    bool EditorTakesChord(std::int16_t /*root*/, std::int16_t /*type*/) override { return false; }
    bool EditorSoundsChords() override { return false; }
    void ClearTypeOverride() override {}
    void ReapplyCurrentChord() override {}
    void ClearSecondChordPair() override {}
    void ResendVoiceSettings() override {}
    void DrainInputs() override {}
    bool SonglistContinuesAfterEnding() override { return false; }
    void StyleEnded() override {}
};

}  // namespace chordella::engine
