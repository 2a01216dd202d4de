#pragma once
// Sets of style parts kept as separate MIDI files, one file per part: the names a set is
// read under ("sty1_v11.mid" and its suffix tables, with the fallbacks for missing files and
// the 580-byte rule), the names a set and a single part are written under, and the channel
// defaults a set import ends with.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/StyleModel.h"

namespace chordella::stylecreator {

// A file shorter than this holds no usable part and counts as missing.
inline constexpr std::uintmax_t MinimumPartFileBytes = 580;

// The eight menu items "1 - 11", "1 - 21", … "4 - 21".
struct SetImportItem {
    int SetDigit = 1;      // 1 … 4
    int Variant = 11;      // 11 or 21
    std::string Text() const { return std::to_string(SetDigit) + " - " + std::to_string(Variant); }
};
// The first file of a set: folder + "sty" + digit + "_v" + variant + ".mid".
std::string FirstSetFile(const std::string& folder, const SetImportItem& item);

struct PartFile {
    int Part = 0;          // style part index
    std::string Path;
};

// What a set import reads, in reading order (Intro, Basic, Fill in Basic, To Extended,
// Extended, Fill in Extended, To Basic, Ending), parts without a usable file left out.
// `Error` is "This file cannot be processed !" for a first file name without a known suffix;
// a missing first file gives an empty plan without error.
struct SetImportPlan {
    std::vector<PartFile> Files;
    std::string Error;
};
// `sizeOf` answers a file's size, or nullopt when it does not exist (tests pass their own).
using FileSize = std::function<std::optional<std::uintmax_t>(const std::string&)>;
SetImportPlan PlanSetImport(const std::string& firstFile, const FileSize& sizeOf);
// The size of a file on disk.
std::optional<std::uintmax_t> DiskFileSize(const std::string& path);

// The suffix a part is exported under ("i11", "v11", …); fills used as variations get "v31"/"v41".
std::string ExportSuffix(int part, bool variation);
// folder + "sty" + digit + "_" + suffix + ".mid"
std::string ExportSetFile(const std::string& folder, int setDigit, int part, bool variation);
// folder + "sty1_" + suffix + ".mid"
std::string SinglePartFile(const std::string& folder, int part, bool variation);

// Volume and pan of channels 10, 12, 13, 14 and 15 after a set import.
void ApplySetImportChannelDefaults(data::StyleHeader& header);

}  // namespace chordella::stylecreator
