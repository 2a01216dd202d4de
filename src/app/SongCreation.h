#pragma once
// The song creator's work on the session: what the generation reads from the program
// (tempo, meter, the section keys, the chord zone, the style's Basic part), how the song it
// makes becomes the session's song, and the random style choice's loading of a style.
//
// Control thread.

#include <string>

#include "composer/GeneratedSong.h"
#include "composer/RandomStyleChoice.h"
#include "composer/SongGenerator.h"

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

composer::GeneratorInputs GeneratorInputsOf(core::Session& session, const AppState& app);

// Writes the song into the session's chord memory and takes over its tempo, its loop flag
// and the progression mode. This is the one place a generated song enters the program: the
// chord-memory editor's create-measures path plugs in here.
void ApplyGeneratedSong(core::Session& session, AppState& app, const composer::GeneratedSong& song);

// Loads a randomly chosen style into the session's style container.
class SessionStyleLoader final : public composer::StyleLoadLink {
public:
    explicit SessionStyleLoader(core::Session& session) : session_(session) {}
    composer::StyleLoadOutcome LoadChosenStyle(const std::string& path) override;
    bool EscapePressed() override { return false; }

private:
    core::Session& session_;
};

// True when a channel other than the drums plays a bass program (General MIDI 33 … 40)
// in the loaded style: a stand-in for the channel rules' bass search.
bool StyleHasBassTrack(core::Session& session);

}  // namespace chordella::app
