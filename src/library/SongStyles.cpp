#include "library/SongStyles.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "core/SongFiles.h"
#include "data/SongFile.h"
#include "library/PlaylistFiles.h"
#include "library/SongEntry.h"
#include "library/SongPaths.h"
#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::library {

SongStyles StylesOfSongs(const std::vector<std::string>& songlistLines, const platform::Paths& paths) {
    SongStyles styles;
    for (const std::string& line : songlistLines) {
        const std::string stored = SongEntryPath(line);
        if (stored.empty()) continue;
        const std::optional<std::string> song = FindSongFile(stored, paths);
        if (!song) {
            styles.Problems.push_back(stored + ": not found");
            continue;
        }
        if (!platform::SameNoCase(std::filesystem::path(*song).extension().string(), ".vxa")) continue;  // a MIDI file names no style
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!platform::ReadFileBytes(*song, data::MaxSongFileBytes, bytes, error)) {
            styles.Problems.push_back(*song + ": " + error);
            continue;
        }
        const data::SongReadResult read = data::ReadSongFile(bytes);
        if (!read.Ok) {
            styles.Problems.push_back(*song + ": " + read.Error);
            continue;
        }
        ++styles.SongsRead;
        if (!read.Content.HasStyleReference || read.Content.StyleReference.empty()) continue;
        const std::optional<std::string> style = FindStyleFile(read.Content.StyleReference, paths);
        if (!style) {
            styles.Problems.push_back(*song + ": style " + read.Content.StyleReference + " not found");
            continue;
        }
        if (std::find(styles.Files.begin(), styles.Files.end(), *style) == styles.Files.end())
            styles.Files.push_back(*style);
    }
    return styles;
}

}  // namespace chordella::library
