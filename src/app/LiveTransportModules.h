#pragma once
// The transport's peers in the live arranger (the window's and the headless one): chord
// recognition clears its type override, chord-memory playback and recording and the melody
// track answer as the player does, and the chord entry's editor path may take a chord.
//
// Control thread only; the methods the tick calls allocate nothing.

#include <functional>

#include "chords/ChordRecogniser.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/TransportModulesLink.h"

namespace chordella::app {

class LiveTransportModules final : public engine::TransportModulesLink {
public:
    LiveTransportModules(chords::ChordRecogniser& recogniser, engine::ChordMemoryPlayer& player)
        : recogniser_(recogniser), player_(player) {}

    void ClearTypeOverride() override { recogniser_.ClearTypeOverride(); }
    bool EditorTakesChord(std::int16_t root, std::int16_t type) override {
        return editorTakesChord_ && editorTakesChord_(root, type);
    }
    bool EditorSoundsChords() override { return false; }
    // Set by the window's wiring: the chord editor's path for chords (none by default).
    void SetEditorPath(std::function<bool(std::int16_t, std::int16_t)> takesChord) {
        editorTakesChord_ = std::move(takesChord);
    }

    bool ChordMemoryStep() override { return player_.ChordMemoryStep(); }
    bool ChordMemoryEmpty() override { return player_.ChordMemoryEmpty(); }
    void ChordMemoryJumpToEnd() override { player_.ChordMemoryJumpToEnd(); }
    bool ChordCodeSentAhead() override { return player_.ChordCodeSentAhead(); }
    bool StepRecordTakesChord() override { return player_.StepRecordTakesChord(); }
    void MeterKindChanged(engine::MeterKind from, engine::MeterKind to) override { player_.MeterKindChanged(from, to); }
    void MeasureUnitsSetFromFile() override { player_.MeasureUnitsSetFromFile(); }
    bool EndingCountdownRunning() override { return player_.EndingCountdownRunning(); }
    void CancelEndingCountdown() override { player_.CancelEndingCountdown(); }
    void StartPlayback() override { player_.StartPlayback(); }
    void StartRecordingAtStart() override { player_.StartRecordingAtStart(); }
    void StartRecordingAtSongStart() override { player_.StartRecordingAtSongStart(); }
    int StartMeasure() override { return player_.StartMeasure(); }
    std::int16_t PlayStartPos() override { return player_.PlayStartPos(); }
    std::int16_t ChordMemoryLength() override { return player_.ChordMemoryLength(); }
    void ClearSong() override { player_.ClearSong(); }
    bool OverwriteBox() override { return player_.OverwriteBox(); }
    void SetOverwriteBox(bool on) override { player_.SetOverwriteBox(on); }
    void RecordingStopped() override { player_.RecordingStopped(); }
    void RequestProgramChange(int program) override { player_.RequestProgramChange(program); }
    void RequestMidiCommand(int number) override { player_.RequestMidiCommand(number); }
    bool SendingMidiCommand() override { return player_.SendingMidiCommand(); }
    void MelodyStep() override { player_.MelodyStep(); }
    void CloseRecordings() override { player_.CloseRecordings(); }
    bool MidiFileLoaded() override { return player_.MidiFileLoaded(); }
    void StartMidiFile() override { player_.StartMidiFile(); }
    void BeatOverran() override { player_.BeatOverran(); }
    bool NoChordMarked() override { return player_.NoChordMarked(); }
    void ReapplyCurrentChord() override { player_.ReapplyCurrentChord(); }
    void ClearSecondChordPair() override { player_.ClearSecondChordPair(); }
    void ResendVoiceSettings() override { player_.ResendVoiceSettings(); }
    void DrainInputs() override { player_.DrainInputs(); }
    bool SonglistContinuesAfterEnding() override { return player_.SonglistContinuesAfterEnding(); }
    void StyleEnded() override { player_.StyleEnded(); }

private:
    chords::ChordRecogniser& recogniser_;
    engine::ChordMemoryPlayer& player_;
    std::function<bool(std::int16_t, std::int16_t)> editorTakesChord_;
};

}  // namespace chordella::app
