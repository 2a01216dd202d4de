#pragma once
// The transport's peers, the same in every front end (the arranger builds them with its song
// playback): chord recognition answers for the chord (the type override, the held keys
// past a beat, whether a chord is current), chord-memory playback and recording and the
// melody track answer as the player does, and the chord-memory editor, when a window has one
// open, may take or sound the chord.
//
// Control thread only; the methods the tick calls allocate nothing.

#include <functional>

#include "chords/ChordRecogniser.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/TransportModulesLink.h"

namespace chordella::app {

class TransportPeers final : public engine::TransportModulesLink {
public:
    TransportPeers(chords::ChordRecogniser& recogniser, engine::ChordMemoryPlayer& player)
        : recogniser_(recogniser), player_(player) {}

    void ClearTypeOverride() override { recogniser_.ClearTypeOverride(); }
    void BeatOverran() override { recogniser_.BeatOverran(); }
    bool NoChordMarked() override { return recogniser_.NoChordMarked(); }
    void ReapplyCurrentChord() override { recogniser_.ReapplyCurrentChord(); }

    // The chord-memory editor of a window: its "Input chord live " box takes the pending chord,
    // its "Acoustic chord control" sounds it. Without an editor neither happens.
    struct EditorPath {
        std::function<bool(std::int16_t root, std::int16_t type)> TakesChord;
        std::function<bool()> SoundsChords;
        std::function<bool()> TakesChords;  // "Input chord live " is ticked
    };
    void SetEditorPath(EditorPath path) { editor_ = std::move(path); }
    bool EditorTakesChord(std::int16_t root, std::int16_t type) override {
        return editor_.TakesChord && editor_.TakesChord(root, type);
    }
    bool EditorSoundsChords() override { return editor_.SoundsChords && editor_.SoundsChords(); }
    bool EditorTakesChords() override { return editor_.TakesChords && editor_.TakesChords(); }

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

private:
    chords::ChordRecogniser& recogniser_;
    engine::ChordMemoryPlayer& player_;
    EditorPath editor_;
};

}  // namespace chordella::app
