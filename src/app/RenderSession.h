#pragma once
// A session of its own for rendering: no MIDI devices, questions answered by a script, and
// the modules that play (an Arranger), with chord-memory playback attached for songs. Rendering there never disturbs a session that plays live: the export copies the live
// style, song and settings in, renders, and throws the copy away.
//
//   app::RenderSession render(session.Paths());
//   render.CopyFrom(session, app);                  // the live session and its state, or
//                                                   // render.LoadStyle(path, error)
//   data::SmfContent content = render.RenderStyle(8);
//   data::WriteSmfFile("out.mid", content, error);
//
// Control thread (the thread that made it).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/SmfWriter.h"
#include "platform/Paths.h"

namespace chordella::core { class Session; }
namespace chordella::data { class OfflineSongHost; }
namespace chordella::engine {
class AccompanimentEngine;
class Clock;
}  // namespace chordella::engine
namespace chordella::midi { class MidiBackend; }
namespace chordella::platform { class RecordingPrompter; }

namespace chordella::app {


// The chord a style is rendered over when no song gives one: C major (root 48, type 1).
inline constexpr int RenderChordRoot = 48;
inline constexpr int RenderChordType = 1;
// Measures of a style rendered without a song when nobody says how many.
inline constexpr int DefaultStyleMeasures = 8;

class Arranger;
struct AppState;

class RenderSession {
public:
    // `backend`: where ports come from when the session plays in real time (`chordella
    // play`); none for offline rendering.
    explicit RenderSession(const platform::Paths& paths, std::unique_ptr<midi::MidiBackend> backend = nullptr);
    ~RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

    core::Session& Session() { return *session_; }
    AppState& State() { return *app_; }
    engine::AccompanimentEngine& Engine();
    engine::Clock& Clock();
    // The messages the rendering showed (load errors and the like), in order.
    platform::RecordingPrompter& Prompter() { return *prompter_; }

    // Loads a style file (ours, or another maker's: played by its channel table, else
    // converted, in the variations set chosen); false with `error` set to the program's message.
    bool LoadStyle(const std::string& path, std::string& error);
    void UseVariationsSet(int set) { foreignSet_ = set; }
    // Opens a song file (its chord memory and melody); false with `error` set.
    bool LoadSong(const std::string& path, std::string& error);
    // What the last load said of a file it did load: why another maker's style was converted
    // or which sections it left out; a song cut to the chord memory.
    const std::vector<std::string>& LoadNotes() const { return loadNotes_; }
    // Takes over the live session's settings, clock choices, tempo, loaded style and song.
    void CopyFrom(core::Session& live, const AppState& liveApp);

    bool StyleLoaded();
    // True when the song has chords to play.
    bool HasSong();
    // True when this build plays songs (chord-memory playback is present).
    static bool CanPlaySongs();

    // The part a style alone plays: Basic, else the first of Extended, Intro, Ending present.
    int StylePart();
    // Starts the style alone (StylePart) over C major on the running clock; false without a style.
    bool StartStyle();
    // Starts the song on the running clock; false when songs cannot be played.
    bool StartSong();

    // One pass of `part` (0 … 7) over the chord (root, type); false when the part is absent.
    bool RenderPart(int part, data::SmfContent& content, int root = RenderChordRoot, int type = RenderChordType);
    // The style alone: its Basic part (else the first main part present) looping over C major
    // for `measures` measures.
    bool RenderStyle(int measures, data::SmfContent& content);
    // The song with the loaded style, to its end or at most `maxMeasures` measures (0 = no
    // limit). False when songs cannot be played or the song is empty.
    bool RenderSong(int maxMeasures, data::SmfContent& content);

    // The name the first track gets: the song's title, else the style's name.
    std::string TrackName();

private:
    void PrepareOptions();
    // A style alone loops its part in the engine itself (the engine's own section logic, which
    // ends a render without the transport's channel reset); a song plays through the transport.
    void PlayThroughTransport(bool through);
    int MeasureTicks();

    platform::RecordingPrompter* prompter_ = nullptr;
    int foreignSet_ = 1;
    std::vector<std::string> loadNotes_;
    std::unique_ptr<AppState> app_;
    std::unique_ptr<core::Session> session_;
    std::unique_ptr<Arranger> arranger_;  // goes before the session and the state it plays on
    // A render reads its song as data (the style is the one the command names, and nothing
    // may sound while the song opens), so its songs open through an offline host wired over
    // the arranger's, which would load the song's style and send its melody program.
    std::unique_ptr<data::OfflineSongHost> songReader_;
};

// The ticks of one pass of a part: the waits of the stream between its range's start and end.
std::int64_t PartTicks(core::Session& session, int part);

}  // namespace chordella::app
