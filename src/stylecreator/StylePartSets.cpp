#include "stylecreator/StylePartSets.h"

#include <filesystem>
#include <system_error>

namespace chordella::stylecreator {

namespace {

struct SuffixRow {
    int Part;
    const char* Variant11;
    const char* Variant21;
};
constexpr std::array<SuffixRow, 8> ReadingOrder = {{
    {0, "i11", "i21"},
    {1, "v11", "v21"},
    {4, "f11", "f12"},
    {6, "f12", "f11"},
    {2, "v31", "v41"},
    {5, "f21", "f22"},
    {7, "f22", "f21"},
    {3, "e11", "e21"},
}};

constexpr std::array<const char*, 8> ExportSuffixes = {"i11", "v11", "v21", "e11", "f12", "f22", "f11", "f21"};

bool Usable(const FileSize& sizeOf, const std::string& path) {
    const auto size = sizeOf(path);
    return size && *size >= MinimumPartFileBytes;
}

}  // namespace

std::string FirstSetFile(const std::string& folder, const SetImportItem& item) {
    return folder + "sty" + std::to_string(item.SetDigit) + "_v" + std::to_string(item.Variant) + ".mid";
}

std::optional<std::uintmax_t> DiskFileSize(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    return size;
}

SetImportPlan PlanSetImport(const std::string& firstFile, const FileSize& sizeOf) {
    SetImportPlan plan;
    if (!sizeOf(firstFile)) return plan;
    // The first suffix found in the name, variant 11's column first, fixes the column and the stem.
    const std::string name = std::filesystem::path(firstFile).filename().string();
    const std::string folder = firstFile.substr(0, firstFile.size() - name.size());
    int column = -1;
    std::string stem;
    for (int c = 0; c < 2 && column < 0; ++c) {
        for (const SuffixRow& row : ReadingOrder) {
            const std::string suffix = c == 0 ? row.Variant11 : row.Variant21;
            const auto at = name.rfind(suffix);
            if (at == std::string::npos) continue;
            column = c;
            stem = folder + name.substr(0, at);
            break;
        }
    }
    if (column < 0) {
        plan.Error = "This file cannot be processed !";
        return plan;
    }
    for (const SuffixRow& row : ReadingOrder) {
        std::string suffix = column == 0 ? row.Variant11 : row.Variant21;
        // A missing fourth or third main variation falls back to the one before it; any other
        // missing file to the first variant of its kind.
        while (!sizeOf(stem + suffix + ".mid")) {
            if (suffix == "v41") suffix = "v31";
            else if (suffix == "v31") suffix = "v21";
            else {
                suffix.back() = '1';
                break;
            }
        }
        std::string path = stem + suffix + ".mid";
        if (!Usable(sizeOf, path)) {
            // A file too short to hold a part is tried once more as the first variant.
            suffix.back() = '1';
            path = stem + suffix + ".mid";
            if (!Usable(sizeOf, path)) continue;
        }
        plan.Files.push_back({row.Part, path});
    }
    return plan;
}

std::string ExportSuffix(int part, bool variation) {
    if (part == 4 && variation) return "v31";
    if (part == 5 && variation) return "v41";
    return part >= 0 && part < 8 ? ExportSuffixes[static_cast<std::size_t>(part)] : "";
}

std::string ExportSetFile(const std::string& folder, int setDigit, int part, bool variation) {
    return folder + "sty" + std::to_string(setDigit) + "_" + ExportSuffix(part, variation) + ".mid";
}

std::string SinglePartFile(const std::string& folder, int part, bool variation) {
    return folder + "sty1_" + ExportSuffix(part, variation) + ".mid";
}

void ApplySetImportChannelDefaults(data::StyleHeader& header) {
    struct Default {
        int Channel, Volume, Pan;
    };
    constexpr std::array<Default, 5> defaults = {{{9, 100, 64}, {11, 96, 59}, {12, 93, 68}, {13, 86, 47}, {14, 86, 80}}};
    for (const Default& d : defaults) {
        header.ChannelSetup[static_cast<std::size_t>(d.Channel)][7] = static_cast<std::uint8_t>(d.Volume);
        header.ChannelSetup[static_cast<std::size_t>(d.Channel)][10] = static_cast<std::uint8_t>(d.Pan);
    }
}

}  // namespace chordella::stylecreator
