#pragma once
// What opening, saving and clearing a song need from the modules around the data layer:
// the transport (stop a recording, start playback), the loaded style (its path for the
// song file; loading the style a song names), the clock (tempo and meter), the mixer (the
// melody program), the MIDI import and the chord-memory editor.
//
// The session holds one host, wired by whoever assembles the program: the transport's side
// (engine/TransportArrangement.h) where songs play, OfflineSongHost below where a song is
// only read (an offline render).
//
// Style autoload: after a song file naming a style is opened, with "Autoload style" on,
// the song operations call OpenStyleByPath with the stored path (possibly a Windows path;
// the style lookup tries it as it is, below the data home, and by file name in STYLES).
// `quiet` is set when the open comes from shuffle play, where a missing style is not
// reported. The style module implements it.
//
// All calls come on the control thread.

#include <string>

namespace chordella::data {

class ArrangementLink {
public:
    virtual ~ArrangementLink() = default;

    // Transport.
    virtual bool ChordsRecording() = 0;
    virtual void StopRecording() = 0;
    virtual bool StylePlaying() = 0;
    virtual void StopPlayback() = 0;
    virtual void StartPlayback() = 0;

    // The loaded style.
    virtual bool StyleLoaded() = 0;
    virtual std::string LoadedStylePath() = 0;
    // Loads the style a song names; true when it was loaded.
    virtual bool OpenStyleByPath(const std::string& storedPath, bool quiet) = 0;

    // Clock and mixer.
    virtual int MeasureUnits() = 0;
    virtual void SetSongTempo(int beatsPerMinute) = 0;
    virtual void SetSongMeter(int measureUnits) = 0;
    virtual void SendMelodyProgram(int program) = 0;

    // Other modules.
    // A .mid file chosen in the open dialog; true when the import produced a song.
    virtual bool ImportMidiSong(const std::string& path) = 0;
    // "&New": asks for the number of measures of the new song and creates them; true when
    // measures were created (the editor's key setting is then re-applied by the editor).
    virtual bool CreateMeasures() = 0;
    // The song was opened: the transport's ad-lib measure counter, the beat display, the
    // editor's grid.
    virtual void SongOpened() = 0;
    // The song was cleared: the playback start position returns to 4, the editor empties.
    virtual void SongCleared() = 0;
    // The song-info box "Auto pop-up" asks for the editor after an open.
    virtual void ShowEditor() = 0;
};

// Where songs are opened as data and nothing plays (an offline render): no recording or
// playback runs, no style is loaded, nothing is sent; the meter a song sets is kept for the
// open alone; a .mid song is not imported, no measures are made, there is no editor.
class OfflineSongHost final : public ArrangementLink {
public:
    bool ChordsRecording() override { return false; }
    void StopRecording() override {}
    bool StylePlaying() override { return false; }
    void StopPlayback() override {}
    void StartPlayback() override {}

    bool StyleLoaded() override { return false; }
    std::string LoadedStylePath() override { return {}; }
    bool OpenStyleByPath(const std::string& /*storedPath*/, bool /*quiet*/) override { return false; }

    int MeasureUnits() override { return meter_; }
    void SetSongTempo(int /*beatsPerMinute*/) override {}
    void SetSongMeter(int measureUnits) override { meter_ = measureUnits; }
    void SendMelodyProgram(int /*program*/) override {}

    bool ImportMidiSong(const std::string& /*path*/) override { return false; }
    bool CreateMeasures() override { return false; }
    void SongOpened() override {}
    void SongCleared() override {}
    void ShowEditor() override {}

private:
    int meter_ = 16;
};

}  // namespace chordella::data
