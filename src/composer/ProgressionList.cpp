#include "composer/ProgressionList.h"

#include <algorithm>
#include <charconv>

#include "composer/ProgressionTable.h"
#include "platform/Random.h"

namespace chordella::composer {

namespace {

// Shuffle-all redraws the rows of this band, so the 8/16 bar blues are never picked.
constexpr int BiasLow = 43;
constexpr int BiasHigh = 89;
constexpr int BiasSplit = BiasHigh - (BiasHigh - BiasLow) / 3;  // 74

int FindLabel(std::string_view label) {
    for (int row = 0; row < ProgressionRows; ++row) {
        if (CommonProgressions[static_cast<std::size_t>(row)].Name.find(label) != std::string_view::npos) return row;
    }
    return ProgressionRows;
}

bool ParseNumber(std::string_view text, int& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

}  // namespace

std::vector<std::string> ProgressionListEntries() {
    std::vector<std::string> entries = {
        "COMMON CHORD PROGRESSIONS",
        "",
        "   - Click here to shuffle all sections",
        "   - Click here to shuffle section 1",
        "   - Click here to shuffle section 2",
        "   - Click here to shuffle 8/16 bar Blues",
        "   - Click here to shuffle 12 bar Blues",
        "   - Click here to set lower range limit",
        "   - Click here to set upper range limit",
        "",
    };
    for (int row = 0; row < ProgressionRows; ++row) entries.push_back(ListEntryText(row));
    return entries;
}

ProgressionChoice::ProgressionChoice()
    : section2Start_(FindLabel("- SECTION 2")),
      blues8Start_(FindLabel("- 8 bar BLUES")),
      blues12Start_(FindLabel("- 12 bar BLUES")),
      end_(FindLabel("- END")) {}

void ProgressionChoice::SetRange(int lower, int upper, const char* label) {
    lower_ = lower;
    upper_ = upper;
    playLabel_ = label;
    pointer_ = lower_ - 1;
    chosenRow_ = -1;
}

void ProgressionChoice::ShuffleAllSections(platform::Random& random) {
    int r = previousDraw_ >= blues8Start_ ? random.Below(section2Start_) : random.Below(ProgressionRows);
    if (r >= BiasLow && r <= BiasHigh) r = r >= BiasSplit ? blues12Start_ + random.Below(10) : random.Below(44);
    if (r < section2Start_) {
        SetRange(0, section2Start_ - 1, PlayLabelSection1);
    } else if (r < blues8Start_) {
        SetRange(section2Start_, blues8Start_ - 1, PlayLabelSection2);
    } else if (r < blues12Start_) {
        SetRange(blues8Start_, blues12Start_ - 1, PlayLabelBlues816);
    } else {
        SetRange(blues12Start_, std::min(end_, ProgressionRows - 1), PlayLabelBlues12);
    }
    previousDraw_ = r;
}

bool ProgressionChoice::ChooseEntry(int entry) {
    switch (entry) {
        case ShuffleAllEntry:
            // The section is drawn when the song starts (StartSong), for every song anew.
            shuffleAll_ = true;
            chosenRow_ = -1;
            pointer_ = lower_ - 1;
            return true;
        case ShuffleSection1Entry:
            shuffleAll_ = false;
            SetRange(0, section2Start_ - 1, PlayLabelSection1);
            return true;
        case ShuffleSection2Entry:
            shuffleAll_ = false;
            SetRange(section2Start_, blues8Start_ - 1, PlayLabelSection2);
            return true;
        case ShuffleBlues816Entry:
            shuffleAll_ = false;
            SetRange(blues8Start_, blues12Start_ - 1, PlayLabelBlues816);
            return true;
        case ShuffleBlues12Entry:
            shuffleAll_ = false;
            SetRange(blues12Start_, std::min(end_, ProgressionRows - 1), PlayLabelBlues12);
            return true;
        default:
            break;
    }
    const int row = entry - FirstRowEntry;
    if (row < 0 || row >= ProgressionRows) return false;
    shuffleAll_ = false;
    lower_ = 0;
    upper_ = 43;
    chosenRow_ = row;
    playLabel_ = row >= blues12Start_ ? PlayLabelBlues12 : row >= blues8Start_ ? PlayLabelBlues816 : PlayLabelDefault;
    return true;
}

std::string ProgressionChoice::SetLowerLimit(std::string_view text) {
    int value = 0;
    if (!ParseNumber(text, value) || value < 0 || value >= ProgressionRows) return WrongLowerLimit;
    shuffleAll_ = false;
    chosenRow_ = -1;
    lower_ = value;
    if (upper_ <= lower_) upper_ = ProgressionRows - 1;
    pointer_ = lower_ - 1;
    return {};
}

std::string ProgressionChoice::SetUpperLimit(std::string_view text) {
    int value = 0;
    if (!ParseNumber(text, value) || value <= lower_ || value >= ProgressionRows) return WrongUpperLimit;
    shuffleAll_ = false;
    chosenRow_ = -1;
    upper_ = value;
    return {};
}

void ProgressionChoice::StartSong(platform::Random& random) {
    if (shuffleAll_) ShuffleAllSections(random);
    previousRow_ = -1;
}

int ProgressionChoice::NextRow(platform::Random& random, bool sequential) {
    if (chosenRow_ >= 0) return previousRow_ = chosenRow_;
    if (sequential) {
        pointer_ = pointer_ < lower_ || pointer_ >= upper_ ? lower_ : pointer_ + 1;
        return previousRow_ = pointer_;
    }
    const int span = upper_ - lower_ + 1;
    int row = lower_ + random.Below(span);
    // A different row than the last one, when the range has another.
    for (int attempt = 0; row == previousRow_ && span > 1 && attempt < 100; ++attempt) row = lower_ + random.Below(span);
    return previousRow_ = row;
}

}  // namespace chordella::composer
