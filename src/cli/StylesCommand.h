#pragma once
// `chordella styles …`: the style playlist without a window.
//   styles add DIR|FILE… [--playlist FILE] [--describe TEXT]  reads each style (folders are
//       searched for style files), tags its instruments and adds a line per style;
//   styles search QUERY [--playlist FILE]   prints one line per hit: path, tempo, metrum,
//       description, tags (tab-separated);
//   styles dedupe [--playlist FILE]         "Delete duplicates";
//   styles prune [--playlist FILE] [--without-bass]  removes entries whose file is missing
//       or damaged (and, asked for, own styles without bass) into "Deleted_Entries.txt";
//   styles favorite FILE                     adds a style to "StyleFavorites.sea";
//   styles favorites dedupe|export           the favourites' "Delete duplicates" and
//       "Export to playlist" ("StyleFavorites.txt").
// Without --playlist the data home's "StylePlayList.gen" is used. Bulk changes write the
// list's .bak first. Nothing is asked. Exit codes: 0 success, 1 with "file: reason" on `err`.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace chordella::cli {

struct StylesCommandFlags {
    std::string action;                  // add, search, dedupe, prune, favorite, favorites
    std::vector<std::string> arguments;  // the files and folders, the query, or the favourite
    std::string playlist;                // --playlist
    std::string describe;                // --describe
    bool withoutBass = false;            // prune --without-bass
    std::optional<std::string> home;     // --home
};

int RunStylesCommand(const StylesCommandFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
