#pragma once
// Chord-memory playback and recording: the per-beat logic of the tick while a song plays or
// is recorded. Playback moves the song position one beat record per beat, carries out the
// records' commands (loops, transposition, channel solo and mutes, section keys, tempo, the
// end and the ending mark), feeds the chords to chord recognition's SetChord, sends chord
// codes ahead of the beat and moves the melody track with its loops. Recording writes one
// chord per chord-grid unit, with a grace window at the unit's start; step recording
// writes one chord per tap while the clock is off.
//
// The transport reaches it through its peers (app::TransportPeers). Playing a song (control thread):
//   engine::AccompanimentEngine engine(session, app.engine, app.clock, app.options);  // app: the AppState
//   engine::Clock clock(session, engine, app.clock, app.options);
//   engine::Transport transport(session, engine, clock, app.transport, app.melody, app.options, app.config);
//   chords::ChordRecogniser recogniser(session, app.chords, app.options, engine);  // SetChord
//   engine::MelodyPlayer melody(session, app.melody, app.arrangement, app.options,
//                               app.engine, app.transport, app.clock);
//   engine::ChordMemoryPlayer songs(session, app.songPlay, app.arrangement, app.options,
//                                   app.clock, app.engine, app.transport, app.config,
//                                   engine, transport, melody, recogniser);
//   app::TransportPeers peers(recogniser, songs);
//   transport.SetPeers(&peers);
//   data::SongFiles(session, app.arrangement, app.options).Open({data::OpenSource::Path, "Song.vxa"});
//   transport.Play();                                      // clock.StartVirtual(bpm) first to run offline
//   clock.RunVirtualTicks(n);                              // until Transport's ChordPlayMode is 0

#include <cstdint>

#include "data/ChordMemory.h"
#include "engine/MelodyPlayer.h"
#include "engine/ClockState.h"

namespace chordella::core {
class ChordLink;
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::data {
struct ArrangementState;
struct ConfigState;
}  // namespace chordella::data

namespace chordella::engine {

class AccompanimentEngine;
class Transport;
struct EngineState;
struct SongPlayState;
struct TransportState;

class ChordMemoryPlayer final : public MelodyRecordingLink {
public:
    // Control thread. Installs itself as the melody track's recording link.
    ChordMemoryPlayer(core::Session& session, SongPlayState& songPlay, data::ArrangementState& arrangement,
                      core::Options& options, ClockState& clockState, EngineState& engineState,
                      const TransportState& transportState, const data::ConfigState& config,
                      AccompanimentEngine& engine, Transport& transport, MelodyPlayer& melody,
                      core::ChordLink& chords);
    // Control thread. Takes itself out of the melody track.
    ~ChordMemoryPlayer();
    ChordMemoryPlayer(const ChordMemoryPlayer&) = delete;
    ChordMemoryPlayer& operator=(const ChordMemoryPlayer&) = delete;

    // --- The main window's fields (control thread, user actions) ---
    // The start-measure field (−500 … 500; below 1 gives lead-in measures).
    void SetStartMeasure(int measure);
    // The "Loop" box and its measure fields.
    void SetLoop(bool on, int fromMeasure, int toMeasure);
    // Session mode: the song is repeated this many more times at its ending mark.
    void SetSessionRepeats(int repeats);

    // Control thread (tick or user action). A record's command or a live control key with
    // a value: starts the style, shows a key mark, stops at a second ending key, or becomes
    // the pending control key.
    void SubmitCommandKey(int key, int value);

    // --- What the transport asks (control thread; the ones the tick calls allocate nothing) ---
    bool ChordMemoryStep();
    bool ChordMemoryEmpty();
    void ChordMemoryJumpToEnd();
    bool ChordCodeSentAhead();
    bool StepRecordTakesChord();
    void MeterKindChanged(MeterKind from, MeterKind to);
    void MeasureUnitsSetFromFile();
    bool EndingCountdownRunning();
    void CancelEndingCountdown();
    void StartPlayback();
    void StartRecordingAtStart();
    void StartRecordingAtSongStart();
    int StartMeasure();
    std::int16_t PlayStartPos();
    std::int16_t ChordMemoryLength();
    void ClearSong();
    bool OverwriteBox();
    void SetOverwriteBox(bool on);
    void RecordingStopped();
    void RequestProgramChange(int program);
    // A "Com." mark: MIDI command `number` is sent at tick 12 of the beat.
    void RequestMidiCommand(int number);
    bool SendingMidiCommand() { return sendingMidiCommand_; }
    void MelodyStep();
    void CloseRecordings();

    // --- MelodyRecordingLink: the loop is off while the melody records ---
    void MelodyRecordingChanged() override;

private:
    std::int16_t& Position();
    int MeasureUnits();
    // Playback (ChordMemoryPlayer.cpp).
    void PlaybackTick();
    void PlaybackBeatEnd();
    bool LeadInBeat();
    data::BeatRecord ReadRecord();
    data::BeatRecord ChordInForce(int position);
    void ContinueAtLoopFrom(data::BeatRecord& record);
    void Preview();
    void CarryOutRequests();
    void RunMidiCommand(int number);
    void FinishBeat(int clickLevel);
    // Commands (ChordMemoryCommands.cpp). False when the transport stopped.
    void LoopMark(data::BeatRecord& record);
    void KeyMark(data::BeatRecord& record);
    bool Command(data::BeatRecord& record);
    void ChannelCommand(int value);
    bool EndingMark(data::BeatRecord& record);
    // Recording (ChordMemoryRecorder.cpp).
    void RecordingTick();
    void RecordingBeatEnd();
    void OverwriteBeat(const data::BeatRecord& stored);
    void WriteRecord(int position, const data::BeatRecord& record, bool onlyNonZero);
    bool Stopped();

    core::Session& session_;
    SongPlayState& songPlay_;
    // The song: chord recording writes the chord memory, playback moves its position.
    data::ArrangementState& arrangement_;
    // The "Loop" box of the main window is kept in the options (SetLoop).
    core::Options& options_;
    // Playback and recording restart the beat and the grid unit (the clock's fields).
    ClockState& clockState_;
    // The song starts, the channel commands and the pending control key (the engine's fields).
    EngineState& engineState_;
    const TransportState& transportState_;
    const data::ConfigState& config_;
    AccompanimentEngine& engine_;
    Transport& transport_;
    MelodyPlayer& melody_;
    // Chord recognition: the song's chords are set through it, the coming one previewed.
    core::ChordLink& chords_;
    int midiCommandRequest_ = -1;
    bool sendingMidiCommand_ = false;
};

}  // namespace chordella::engine
