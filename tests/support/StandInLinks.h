#pragma once
// Links that answer nothing, for tests that build one module without its neighbours. The
// program never holds them: its arranger wires the real modules into the session, where a
// link nobody wired throws (core::UnwiredLink), and hands the input handlers their peers. testing::TestSession wires a set of these so that a test that
// builds a single module works; a rig that builds a real module wires it over the stand-in.
// Stand-ins for the engine may start from StandInEngine and override what they watch.

#include <array>
#include <cstdint>

#include "chords/InputLink.h"
#include "core/Links.h"
#include "core/Session.h"
#include "data/ArrangementLink.h"
#include "engine/TransportModulesLink.h"

namespace chordella::testing {

class StandInEngine : public core::EngineLink {
public:
    void SubmitChord(core::ChordPair, const std::array<std::int16_t, 4>&) override {}
    void SubmitControlKey(std::int16_t, std::int16_t) override {}
    core::ChordPair PendingChord() const override { return {}; }
    void DropPendingChord() override {}
    void MelodyKeyHeld(int, int) override {}
    void MelodyKeysReleased() override {}
    void PlayerPlays(int) override {}
    void SetTriggerVelocity(int) override {}
    void StopChordSound() override {}
};

class StandInChords final : public core::ChordLink {
public:
    void SetChord(std::int16_t, std::int16_t, std::int16_t) override {}
    void ShowChord(std::int16_t, std::int16_t) override {}
    core::ChordPair PreviewChord(int, int) override { return {}; }
};

class StandInTransport final : public core::TransportLink {
public:
    bool StyleStarted() override { return false; }
    void StartStyle() override {}
    void Stop() override {}
    bool PlayRange(std::int32_t, std::int32_t, bool, core::RangeBeatLink&) override { return false; }
};

// The modules around an input handler, none of them there: what chord input does alone.
// Stand-ins that watch a call may start from it.
class StandInInputModules : public chords::InputLink {
public:
    void InstrumentKey(int /*index*/) override {}
    void ProgramControl(int /*number*/) override {}
    int ProgramControlCode(int /*key*/) override { return 0; }
    void RunMidiCommand(int /*number*/) override {}
    bool SecondInputMessage(std::uint8_t /*status*/, std::uint8_t /*data1*/, std::uint8_t /*data2*/) override {
        return false;
    }

    bool MelodyRecording() override { return false; }
    void RecordMelodyEvent(std::uint8_t /*status*/, std::uint8_t /*key*/, std::uint8_t /*velocity*/) override {}

    bool CreatorRecording() override { return false; }
    void CreatorRecord(std::uint8_t /*status*/, std::uint8_t /*data1*/, std::uint8_t /*data2*/) override {}
    void CreatorSequencerStarted() override {}

    void Play() override {}
    void SetUpPadChannel() override {}

    int SongKey() override { return -1; }
    int ChordMemoryPosition() override { return 4; }
    bool TakeEndingSuppression() override { return false; }
    int StartMeasure() override { return 1; }
    void SetStartMeasure(int /*measure*/) override {}
};

// The transport's peers, none of them there: no song, no melody, no chord to ask about, and
// every request dropped. Stand-ins that play a song or watch a call may start from it.
class StandInTransportModules : public engine::TransportModulesLink {
public:
    bool ChordMemoryStep() override { return false; }
    bool ChordMemoryEmpty() override { return true; }
    void ChordMemoryJumpToEnd() override {}
    bool ChordCodeSentAhead() override { return false; }
    bool StepRecordTakesChord() override { return false; }
    void MeterKindChanged(engine::MeterKind /*from*/, engine::MeterKind /*to*/) override {}
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
    void BeatOverran() override {}
    bool NoChordMarked() override { return false; }
    bool EditorTakesChord(std::int16_t /*root*/, std::int16_t /*type*/) override { return false; }
    bool EditorSoundsChords() override { return false; }
    bool EditorTakesChords() override { return false; }
    void ClearTypeOverride() override {}
    void ReapplyCurrentChord() override {}
};

// One of each session link, wired into a session by Wire.
struct StandInLinks {
    void Wire(core::Session& session) {
        session.SetEngineLink(&engine);
        session.SetChordLink(&chords);
        session.SetTransportLink(&transport);
        session.SetArrangementLink(&songHost);
    }
    StandInEngine engine;
    StandInChords chords;
    StandInTransport transport;
    data::OfflineSongHost songHost;  // nothing plays; the program uses it for offline renders
};

}  // namespace chordella::testing
