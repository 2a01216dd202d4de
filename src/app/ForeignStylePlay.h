#pragma once
// A keyboard style file of another maker (.sty, .prs, .bcs, .sst, …) loaded as the style that
// plays, without writing anything: its sections become our eight parts as the converter maps
// them (variations set 1 … 6), and when the file's channel table is sound the parts keep the
// maker's notes and every channel plays by its own rules (native play). A file without a
// table, or with a damaged one, is converted as the converter does, and the message says why.
//
//   const ForeignLoad done = LoadForeignStyle(session, "Soul.sty", 1);
//   if (!done.Loaded) fail(done.Error);
//
// Control thread. The session's song (chord memory, melody) is kept.

#include <string>
#include <string_view>
#include <vector>

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

struct ForeignLoad {
    bool Loaded = false;
    bool Native = false;                 // played by the channel table's rules
    std::string Error;                   // why nothing was loaded
    std::vector<std::string> Messages;   // why the table was not used, sections left out, …
};

// True for the extensions of other makers' style files the open dialogs accept.
bool IsForeignStyleFile(std::string_view path);

// `set`: the variations set 1 … 6, 7 "Choose variations set randomly", 8 "Choose style parts
// randomly" (the converter's set list item + 1); others count as 1.
ForeignLoad LoadForeignStyle(core::Session& session, AppState& app, const std::string& path, int set = 1);

}  // namespace chordella::app
