#pragma once
// The transport's and the clock's side of the song operations (data/ArrangementLink.h):
// opening a song sets the song's tempo and meter, Play plays it, a running recording or
// playback is stopped before a song is replaced, and the song's melody program goes to the
// melody channel. A song that names its style opens it through the style store.
//
//   engine::TransportArrangement host(session, transport, clock, app.arrangement, app.melody, app.options,
//                                     app.engine);
//   session.SetArrangementLink(&host);            // the song operations reach it

#include "data/ArrangementLink.h"
#include "engine/EngineState.h"
#include "engine/MelodyState.h"
#include "core/Options.h"
#include "data/ArrangementState.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class Clock;
class Transport;

class TransportArrangement final : public data::ArrangementLink {
public:
    // Control thread. Whoever builds it makes it the session's song host. Clearing a song
    // moves the song's position back to its first chord; the song's melody program goes to
    // the channels its melody track plays on.
    TransportArrangement(core::Session& session, Transport& transport, Clock& clock, data::ArrangementState& arrangement,
                         const MelodyState& melodyState, const core::Options& options,
                         const EngineState& engineState);
    // Control thread. Hands the session back its default host.
    ~TransportArrangement() override;
    TransportArrangement(const TransportArrangement&) = delete;
    TransportArrangement& operator=(const TransportArrangement&) = delete;

    // Control thread, all of them.
    bool ChordsRecording() override;
    void StopRecording() override;
    bool StylePlaying() override;
    void StopPlayback() override;
    void StartPlayback() override;
    bool StyleLoaded() override;
    std::string LoadedStylePath() override;
    bool OpenStyleByPath(const std::string& storedPath, bool quiet) override;
    int MeasureUnits() override;
    void SetSongTempo(int beatsPerMinute) override;
    void SetSongMeter(int measureUnits) override;
    void SendMelodyProgram(int program) override;
    void SongCleared() override;

    // The modules the transport does not reach: a .mid song is not imported (the open is
    // refused), "&New" creates no measures, and no editor is opened or told.
    bool ImportMidiSong(const std::string& /*path*/) override { return false; }
    bool CreateMeasures() override { return false; }
    void SongOpened() override {}
    void ShowEditor() override {}

private:
    core::Session& session_;
    Transport& transport_;
    Clock& clock_;
    data::ArrangementState& arrangement_;
    const MelodyState& melodyState_;
    const core::Options& options_;
    const EngineState& engineState_;
};

}  // namespace chordella::engine
