#include "stylecreator/PartFlags.h"

namespace chordella::stylecreator {

namespace {

constexpr int DrumChannel = 9;

// The channels whose notes a part may cut: 2 … 15 (0-based 1 … 14) without the drums.
bool Melodic(int channel) { return channel >= 1 && channel <= 14 && channel != DrumChannel; }

bool ValidPart(int part) { return part >= 0 && part < data::PartCount; }

}  // namespace

bool PartCutsNotes(const data::StyleState& style, int part) {
    if (!ValidPart(part)) return false;
    for (std::uint8_t flag : style.Parts[static_cast<std::size_t>(part)].CutNotes)
        if (flag != 0) return true;
    return false;
}

int SetPartCutNotes(data::StyleState& style, int part, bool on) {
    if (!ValidPart(part) || !style.Parts[static_cast<std::size_t>(part)].Present()) return 0;
    auto& flags = style.Parts[static_cast<std::size_t>(part)].CutNotes;
    for (int c = 0; c < data::StyleChannels; ++c) flags[static_cast<std::size_t>(c)] = on && Melodic(c) ? 1 : 0;
    style.StyleModified = 1;
    return 1;
}

int CutNotesToAllParts(data::StyleState& style, int part) {
    if (!ValidPart(part)) return 0;
    const auto row = style.Parts[static_cast<std::size_t>(part)].CutNotes;
    int changed = 0;
    for (std::size_t p = 0; p < style.Parts.size(); ++p) {
        data::PartRecord& record = style.Parts[p];
        if (!record.Present() || static_cast<int>(p) == part || record.CutNotes == row) continue;
        record.CutNotes = row;
        ++changed;
    }
    if (changed > 0) style.StyleModified = 1;
    return changed;
}

int MutingToAllParts(data::StyleState& style, const std::array<std::uint8_t, 16>& mutes) {
    std::array<std::uint8_t, data::StyleChannels> row{};
    for (std::size_t c = 0; c < row.size() && c < mutes.size(); ++c) row[c] = mutes[c] != 0 ? 1 : 0;
    int changed = 0;
    for (data::PartRecord& record : style.Parts) {
        if (!record.Present() || record.PartMute == row) continue;
        record.PartMute = row;
        ++changed;
    }
    if (changed > 0) style.StyleModified = 1;
    return changed;
}

void SetSuppressControllers(data::StyleState& style, bool on) {
    const std::uint8_t value = on ? 1 : 0;
    if (style.Header.SuppressControllers == value) return;
    style.Header.SuppressControllers = value;
    style.StyleModified = 1;
}

}  // namespace chordella::stylecreator
