#pragma once
// The song operations' view of the live modules (data/ArrangementHost.h), for the desktop
// window: the transport starts and stops, the loaded style is looked up and loaded from
// the path a song names, the clock takes the song's tempo and meter.
//
// Control thread only.

#include "data/ArrangementHost.h"

namespace chordella::app {

class LiveArranger;
class Session;

class DesktopSongHost final : public data::ArrangementHost {
public:
    // Becomes the session's song host; the destructor hands the default back.
    DesktopSongHost(Session& session, LiveArranger& arranger);
    ~DesktopSongHost() override;
    DesktopSongHost(const DesktopSongHost&) = delete;
    DesktopSongHost& operator=(const DesktopSongHost&) = delete;

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

private:
    Session& session_;
    LiveArranger& arranger_;
};

}  // namespace chordella::app
