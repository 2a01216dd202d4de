#pragma once
// What `export`, `render` and `play` play, and the window's render too: a style, or a song and
// its style, loaded into a render session; and the checks of what the user asked for.

#include <cstdio>
#include <limits>
#include <string>

namespace chordella::app {

class RenderSession;

// --measures not given.
inline constexpr int NoMeasures = std::numeric_limits<int>::min();

// The reason a --measures value is refused ("--measures must be 1 or more"); empty when it
// is fine or not given.
std::string CheckMeasures(int measures);

// Loads the song or style `input` (and for a song its style: `style`, else the one the
// song names, found through the style lookup) into `render`. False with `error` set to a
// one-line reason; `errorFile` names the file it is about. What the load said of a file it
// did load (a song cut to the chord memory, another maker's style converted and why) goes to
// `notes`, a line each.
bool LoadRenderInput(RenderSession& render, const std::string& input, const std::string& style,
                     std::string& errorFile, std::string& error, std::FILE* notes = nullptr);

// ".vxa" for "Song.VXA": the lower-case extension with its dot.
std::string LowerExtensionOf(const std::string& path);

}  // namespace chordella::app
