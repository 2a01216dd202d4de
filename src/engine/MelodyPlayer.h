#pragma once
// The melody track of the song: recording what the player plays on the melody channel while
// the chord memory plays or records, playing it back in time with the chord memory (its
// loops and jumps move the melody with them), quantizing, delete and restore. It is the
// session's MelodyLink: the input side hands every melody-channel message to
// RecordMelodyEvent.
//
//   engine::MelodyPlayer melody(session, app.melody, app.arrangement, app.options,
//                               app.engine, app.transport, app.clock);  // app: the AppState
//   session.SetMelodyLink(&melody);             // the input side's messages reach it
//   melody.ToggleRecording();                   // "&Record" of the melody menu
//   session.Melody()->RecordMelodyEvent(0x90, 60, 100);  // from the input side
//   melody.Quantize("1/16");                    // "&Quantize" grid item
//
// The chord-memory player drives the clock and the jumps (Advance, SaveLoop, RestoreLoop …);
// the engine's melody step calls PlayTick.

#include <cstdint>
#include <string_view>

#include "core/Links.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::data {
struct ArrangementState;
struct MelodyTrack;
}  // namespace chordella::data
namespace chordella::midi { class MidiOut; }

namespace chordella::engine {

struct ClockState;
struct EngineState;
struct MelodyState;
struct TransportState;

// Control thread. Sends the song's melody program (0 … 127) as a program change on each
// channel the melody's notes go out on (their own channels, the melody channel, or the
// voice channel with "Minus One", as PlayTick sends them), on `out` (the accompaniment
// output). Nothing for a song without a melody.
void SendMelodyProgram(const data::MelodyTrack& track, const MelodyState& melodyState, const core::Options& options,
                       const EngineState& engineState, midi::MidiOut* out, int program);

// Told by the melody track whenever "&Record" goes on or off: chord-memory playback keeps
// its loop off while the melody records. Control thread, also inside a tick.
class MelodyRecordingLink {
public:
    virtual void MelodyRecordingChanged() = 0;

protected:
    ~MelodyRecordingLink() = default;
};

class MelodyPlayer final : public core::MelodyLink {
public:
    // Control thread. Whoever builds it makes it the session's melody link; it hands the
    // link back as it goes.
    MelodyPlayer(core::Session& session, MelodyState& melodyState, data::ArrangementState& arrangement,
                 const core::Options& options, const EngineState& engineState, const TransportState& transportState,
                 const ClockState& clockState);
    ~MelodyPlayer() override;
    MelodyPlayer(const MelodyPlayer&) = delete;
    MelodyPlayer& operator=(const MelodyPlayer&) = delete;

    // --- The input side (control thread) ---
    bool MelodyRecording() override;
    // Stores the message while the chord memory plays or records at a position ≥ 4 and the
    // buffer has room; allocates nothing.
    void RecordMelodyEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;

    // --- Menu "&Melody" (control thread, user actions) ---
    // "&Record": ignored while chords are recorded or played (fromMenu). Asks "Replace
    // current melody ?" when a track exists.
    void ToggleRecording(bool fromMenu = true);
    // "&Play": switching it off resets the melody channel.
    void TogglePlayback();
    void SetPlayback(bool on);
    // "&Delete" (asks "Delete Melody ?") and "R&estore".
    void Delete();
    void Restore();
    // "&Quantize" with a grid item ("1/32 swing" … "None"); stops chords first.
    void Quantize(std::string_view gridCaption);
    void ToggleHumanize();

    // --- The chord memory's seams (control thread, tick: no allocation) ---
    // A song starts: index and clock back to 0.
    void ResetPositions();
    // One melody tick.
    void Advance();
    void SaveMeasure();
    void SaveLoop();
    void RestoreLoop();
    void SaveRange();
    // Back to LoopFromPos: a running recording is closed first.
    void RestoreRange();
    // Sends the events that are due (called by the engine's melody step).
    void PlayTick();
    // Closes a running recording: the track becomes the backup, "&Record" goes off.
    void CloseRecording();
    // SendMelodyProgram for this track on the accompaniment output.
    void SendProgram(int program);
    // Who is told when "&Record" goes on or off (the chord-memory player); nullptr = nobody.
    void SetRecordingLink(MelodyRecordingLink* link) { recordingLink_ = link; }

private:
    // The "&Record" and "Delete Melody" operations once their question is answered Yes.
    void StartRecording();
    void DeleteNow();
    void RecordingChanged();
    // The chord memory plays or records.
    bool ChordMemoryRuns() const;

    core::Session& session_;
    MelodyState& melodyState_;
    data::ArrangementState& arrangement_;
    const core::Options& options_;
    const EngineState& engineState_;
    const TransportState& transportState_;
    const ClockState& clockState_;
    MelodyRecordingLink* recordingLink_ = nullptr;
};

}  // namespace chordella::engine
