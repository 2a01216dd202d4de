#pragma once
// The structure file "Style.src": an INI file beside the configuration that says which
// measures of the material make which style part, for two layouts (styles A and B), and
// which channels play ("Channels" / "Muting").
//
//   [Channels]  Muting=1111111110111111     one character per channel 1 … 16, "0" = muted
//   [Basic_1]   Start=1  End=4               style A (sections ending "_2": style B)
//
// Missing or junk numbers read as 0 (part not set); nothing in the file can make the
// creator touch a measure outside the work, because setting a part checks the range.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/StyleModel.h"

namespace chordella::platform { class IniFile; }

namespace chordella::stylecreator {

inline constexpr const char* StructureFileName = "Style.src";
inline constexpr int MaxStructureMeasure = 999;

enum class StructureStyle { A = 1, B = 2 };

struct StructureRange {
    int Start = 0;  // 0 = not set
    int End = 0;
    int StartBeat = 1;  // the beat of Start the part begins on
    friend bool operator==(const StructureRange&, const StructureRange&) = default;
};

struct StructureData {
    // The "Muting" value; empty = leave the mute boxes as they are.
    std::string Muting;
    // By part index (0 Intro … 7 To Basic).
    std::array<StructureRange, data::PartCount> Ranges{};
};

// The section of a part in the file: "Basic_1", "FillExtended_2", …
std::string StructureSection(int partIndex, StructureStyle style);

// Reads style A or B from the parsed file.
StructureData ReadStructure(const platform::IniFile& file, StructureStyle style);
// The same from the file's text (used by the fuzz target and the tests).
StructureData ParseStructure(std::string_view text, StructureStyle style);
// The file itself; false (with the reason) when it cannot be read. `out` is untouched then.
bool LoadStructureFile(const std::string& path, StructureStyle style, StructureData& out, std::string& error);

// The "Muting" rule: character i = "0" mutes channel i + 1, any other character unmutes it,
// channels beyond the string's end play; an empty string changes nothing.
void ApplyMuting(std::string_view muting, std::array<std::uint8_t, data::StyleChannels>& channelMute);

// Ranges handed over by the converter for material in 2/4: a one-measure part moves one
// measure on as a whole, a longer part starts one measure later, and a start beyond the end
// collapses the part onto its start.
StructureRange AdjustForTwoFour(StructureRange range);

}  // namespace chordella::stylecreator
