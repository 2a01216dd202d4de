#include "ui/StyleCatalog.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <system_error>

#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "data/StyleNames.h"
#include "library/PlaylistLine.h"
#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::ui {

namespace {

namespace fs = std::filesystem;

// A style file holds at most the header, the part table and the stream (and a tag).
constexpr std::size_t LargestStyleFile = 4 + 1593 + 528 + 165500;

constexpr std::array<std::string_view, 9> StyleExtensions{".vxs", ".sty", ".prs", ".bcs", ".pcs",
                                                          ".pst", ".fps", ".scp", ".sst"};

bool IsStyleFile(const fs::path& path) {
    const std::string extension = platform::LowerCase(path.extension().string());
    // Some makers number their formats: ".sst", ".sst1" … all belong to one family.
    return std::any_of(StyleExtensions.begin(), StyleExtensions.end(), [&](std::string_view known) {
        return extension == known || (known == ".sst" && extension.rfind(".sst", 0) == 0);
    });
}

void Collect(const fs::path& folder, int depth, std::vector<std::string>& files) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code kindError;
        if (entry.is_directory(kindError)) {
            if (depth > 0) Collect(entry.path(), depth - 1, files);
        } else if (entry.is_regular_file(kindError) && IsStyleFile(entry.path())) {
            files.push_back(entry.path().string());
        }
    }
}

}  // namespace

std::vector<std::string> StyleFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    if (folder.empty()) return files;
    Collect(folder, 1, files);
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return platform::LowerCase(fs::path(a).filename().string()) < platform::LowerCase(fs::path(b).filename().string());
    });
    return files;
}

StyleEntry DescribeStyleFile(const std::string& path) {
    StyleEntry entry;
    entry.Path = path;
    const fs::path file(path);
    entry.Name = data::StyleDisplayNameOf(file.filename().string());
    if (platform::LowerCase(file.extension().string()) != ".vxs") return entry;
    std::vector<std::uint8_t> bytes;
    std::string error;
    data::StyleImage image;
    if (!platform::ReadFileBytes(path, LargestStyleFile, bytes, error) || !data::ReadStyleFile(bytes, image, error)) {
        entry.Problem = error;
        return entry;
    }
    const data::StyleMeterChoice meter = data::MeterChoiceOf(image.Header.StyleMeter);
    entry.Meter = data::MeterName(meter.MeasureUnits, meter.EighthNotes);
    entry.Tempo = image.Header.StyleTempo;
    entry.Line = library::FormatPlaylistLine({path, entry.Tempo, entry.Meter, {}, 0, false});
    return entry;
}

StyleEntry EntryOfListLine(const std::string& line, const std::optional<std::string>& file) {
    const library::PlaylistEntry parsed = library::ParsePlaylistLine(line);
    StyleEntry entry;
    entry.Line = line;
    // Lists travel between machines: the stored path may use either separator.
    const std::size_t slash = parsed.Path.find_last_of("/\\");
    entry.Name = data::StyleDisplayNameOf(slash == std::string::npos ? parsed.Path : parsed.Path.substr(slash + 1));
    entry.Meter = parsed.Metrum;
    entry.Tempo = parsed.Tempo >= library::LowestTempo ? parsed.Tempo : 0;
    entry.Path = file.value_or(parsed.Path);
    if (!file) entry.Problem = parsed.Path + " not found";
    return entry;
}

std::vector<StyleEntry> EntriesOfList(const std::vector<std::string>& lines, const std::vector<std::string>& files) {
    std::vector<StyleEntry> entries;
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!library::IsStyleLine(lines[i])) continue;
        const bool found = i < files.size() && !files[i].empty();
        entries.push_back(EntryOfListLine(lines[i], found ? std::optional<std::string>(files[i]) : std::nullopt));
    }
    return entries;
}

bool EntryMatches(const StyleEntry& entry, const std::string& search) {
    const std::string name = platform::LowerCase(entry.Name);
    std::istringstream words(platform::LowerCase(search));
    std::string word;
    while (words >> word) {
        if (name.find(word) != std::string::npos) continue;
        if (!entry.Meter.empty() && word == entry.Meter) continue;
        if (entry.Tempo > 0 && word == std::to_string(entry.Tempo)) continue;
        return false;
    }
    return true;
}

StyleFilter::StyleFilter(const std::string& search) : search_(search) {
    const std::size_t first = search.find_first_not_of(" \t");
    isQuery_ = search.find(';') != std::string::npos ||
               (first != std::string::npos && std::string_view("+-!=<>*").find(search[first]) != std::string_view::npos);
    if (isQuery_) query_ = library::ParseStyleQuery(search);
}

bool StyleFilter::Matches(const StyleEntry& entry) const {
    if (!isQuery_) return EntryMatches(entry, search_);
    if (!query_.Valid()) return false;
    // Size terms are about the file the entry would load.
    const library::FileSizeOf sizeOf = [&entry](std::string_view) -> std::optional<std::uintmax_t> {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(entry.Path, error);
        if (error) return std::nullopt;
        return size;
    };
    return query_.Matches(entry.Line.empty() ? entry.Path : entry.Line, sizeOf);
}

}  // namespace chordella::ui
