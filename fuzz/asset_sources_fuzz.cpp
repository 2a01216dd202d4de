// The asset sources' compilers (style, song, songlist text) with any input: they refuse what
// they cannot read with a message and never crash; what they accept passes the style file's
// checks and reads back through the song reader.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/SongFile.h"
#include "make_assets/SongSource.h"
#include "make_assets/SonglistSource.h"
#include "make_assets/StyleSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    tools::CompiledStyle style;
    if (tools::CompileStyle(text, style, error)) (void)tools::StyleFileOf(style);
    tools::CompiledSong song;
    if (tools::CompileSong(text, song, error)) {
        const auto read = data::ReadSongFile(data::WriteSongFile(song.Content));
        if (!read.Ok) std::abort();
    }
    tools::CompiledSonglist list;
    (void)tools::CompileSonglist(text, list, error);
    return 0;
}
