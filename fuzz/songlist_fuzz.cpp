// A songlist line is read from whatever a .vxl file holds. Reading a line never fails; an
// entry read and written again must read back to the same entry, and its line must keep
// the fixed columns. The list reader takes only lines that are song entries (a path, no
// control bytes) and refuses anything else with its reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "library/SongEntry.h"
#include "library/Songlist.h"

namespace {

using chordella::library::SongEntry;

bool Same(const SongEntry& a, const SongEntry& b) {
    // Written lines carry every setting, so an empty one reads back as 0 / off.
    auto number = [](const std::optional<int>& v) { return v.value_or(0); };
    auto flag = [](const std::optional<bool>& v) { return v.value_or(false); };
    for (std::size_t c = 0; c < a.Mutes.size(); ++c)
        if (flag(a.Mutes[c]) != flag(b.Mutes[c])) return false;
    for (std::size_t i = 0; i < a.MixerBars.size(); ++i)
        if (number(a.MixerBars[i]) != number(b.MixerBars[i])) return false;
    return number(a.Octave) == number(b.Octave) && number(a.Transposition) == number(b.Transposition) &&
           number(a.ChannelIndex) == number(b.ChannelIndex) && number(a.InstrumentIndex) == number(b.InstrumentIndex) &&
           flag(a.InstrumentsBox) == flag(b.InstrumentsBox) && flag(a.KeyboardSplitBox) == flag(b.KeyboardSplitBox);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::library;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::string error;
    if (ReadSonglistText(text, lines, error)) {
        for (const std::string& line : lines) {
            if (SongEntryPath(line).empty()) std::abort();
            for (const char c : line)
                if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) std::abort();
        }
    } else if (error.rfind("not a songlist: line ", 0) != 0 || !lines.empty()) {
        std::abort();
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const SongEntry entry = ParseSongEntry(line);
        if (entry.Title.size() > TitleWidth || entry.Path.size() > PathWidth) std::abort();
        const std::string written = FormatSongEntry(entry);
        if (written.size() < InstrumentSetColumn || written[TitleWidth] != ' ' || written[SettingsColumn - 1] != ' ')
            std::abort();
        if (!Same(entry, ParseSongEntry(written))) std::abort();
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return 0;
}
