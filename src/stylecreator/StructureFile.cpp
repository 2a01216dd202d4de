#include "stylecreator/StructureFile.h"

#include <algorithm>

#include "platform/IniFile.h"

namespace chordella::stylecreator {

namespace {

// Section names by part index.
constexpr std::array<const char*, data::PartCount> SectionStems = {
    "Intro", "Basic", "Extended", "Ending", "FillBasic", "FillExtended", "ToExtended", "ToBasic"};

// A measure number of the file: negative or beyond the creator's 999 measures reads as 0.
int MeasureValue(const platform::IniFile& file, const std::string& section, std::string_view key) {
    const int value = file.GetInt(section, key, 0);
    return value < 0 || value > MaxStructureMeasure ? 0 : value;
}

}  // namespace

std::string StructureSection(int partIndex, StructureStyle style) {
    const auto index = static_cast<std::size_t>(std::clamp(partIndex, 0, data::PartCount - 1));
    return std::string(SectionStems[index]) + (style == StructureStyle::A ? "_1" : "_2");
}

StructureData ReadStructure(const platform::IniFile& file, StructureStyle style) {
    StructureData data;
    data.Muting = file.GetString("Channels", "Muting", "");
    for (int p = 0; p < data::PartCount; ++p) {
        const std::string section = StructureSection(p, style);
        auto& range = data.Ranges[static_cast<std::size_t>(p)];
        range.Start = MeasureValue(file, section, "Start");
        range.End = MeasureValue(file, section, "End");
    }
    return data;
}

StructureData ParseStructure(std::string_view text, StructureStyle style) {
    platform::IniFile file;
    file.Parse(text);
    return ReadStructure(file, style);
}

bool LoadStructureFile(const std::string& path, StructureStyle style, StructureData& out, std::string& error) {
    platform::IniFile file;
    std::string reason;
    if (!file.Load(path, &reason)) {
        error = "Cannot read " + path + (reason.empty() ? "" : ": " + reason);
        return false;
    }
    out = ReadStructure(file, style);
    return true;
}

void ApplyMuting(std::string_view muting, std::array<std::uint8_t, data::StyleChannels>& channelMute) {
    if (muting.empty()) return;
    for (std::size_t c = 0; c < channelMute.size(); ++c)
        channelMute[c] = c < muting.size() && muting[c] == '0' ? 1 : 0;
}

StructureRange AdjustForTwoFour(StructureRange range) {
    if (range.Start == range.End) {
        ++range.Start;
        ++range.End;
    } else if (range.Start < range.End) {
        ++range.Start;
    } else {
        range.End = range.Start;
    }
    return range;
}

}  // namespace chordella::stylecreator
