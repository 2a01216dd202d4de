// A style playlist is whatever a list file holds. Splitting it into lines and reading each
// line never fails; a line written from what was read reads back to the same path, tempo,
// metrum and tags.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "library/PlaylistFiles.h"
#include "library/PlaylistLine.h"
#include "library/StyleQuery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::library;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : SplitListLines(text)) {
        if (line.empty() || line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) std::abort();
        const PlaylistEntry entry = ParsePlaylistLine(line);
        if (entry.Path != LinePath(line)) std::abort();
        const PlaylistEntry again = ParsePlaylistLine(FormatPlaylistLine(entry));
        if (again.Path != entry.Path || again.Tempo != entry.Tempo || again.Tags != entry.Tags) std::abort();
        if (!entry.Metrum.empty() && again.Metrum != entry.Metrum) std::abort();
        (void)IsStyleLine(line);
        (void)LineTempo(line);
        (void)LineHasBassTag(line);
        (void)ParseStyleQuery("!pop !rock; -live; >75; <130; >12000").Matches(line);
    }
    return 0;
}
