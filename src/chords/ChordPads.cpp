#include "chords/ChordPads.h"

namespace chordella::chords {

namespace {

constexpr int ChordRows = 11;      // A … K
constexpr char ExtraRow = 'O';     // the letter of slot 15
constexpr char SectionRow = 'L';
constexpr char FunctionRow = 'M';

constexpr std::array<std::string_view, FunctionPadCount> Captions = {
    "Cmaj", "Dmin", "Emin", "Fmaj", "Gmaj", "Amin", "Bdim", "C7th", "D7th", "A7th", "E7th", "B7th",
    "Cmin", "Ddim", "Ebmaj", "Fmin", "Gmin", "Abmaj", "Bbmaj", "Cmin7", "Ebsus4", "Absus4", "Fmin7", "Bb7th",
};

constexpr std::array<std::string_view, FunctionPadCount> Hints = {
    "basic chord (tonic)",
    "subdominant parallel (supertonic)",
    "dominant parallel (mediant)",
    "subdominant",
    "dominant",
    "tonic parallel (relative minor)",
    "diminished leading-tone chord",
    "dominant 7th of subdominant",
    "dominant 7th of dominant",
    "dominant 7th of supertonic",
    "dominant 7th of relative minor",
    "dominant 7th of mediant",
    "minor tonic",
    "diminished supertonic (from minor)",
    "major flat mediant (from minor)",
    "minor subdominant",
    "minor dominant",
    "major flat submediant (from minor)",
    "major flat subtonic (from minor)",
    "minor tonic 7th",
    "suspended flat mediant",
    "suspended flat submediant",
    "minor subdominant 7th",
    "backdoor dominant 7th (to tonic)",
};

// Two decimal digits, or -1.
int TwoDigits(char tens, char ones) {
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return -1;
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

std::optional<PadName> ParsePadName(std::string_view name) {
    if (name.size() != 3) return std::nullopt;
    const char row = name[0];
    const int number = TwoDigits(name[1], name[2]);
    if (number < 0) return std::nullopt;
    if (row == FunctionRow) {
        if (number >= FunctionPadCount) return std::nullopt;
        const auto n = static_cast<std::size_t>(number);
        return PadName{PadKind::Function, number, FunctionPadSlots[n] + 1, PadLowestRoot + FunctionPadTags[n]};
    }
    if (row == SectionRow) {
        if (number >= SectionButtonCount) return std::nullopt;
        return PadName{PadKind::Section, number, SectionSlot, 0};
    }
    const bool chordRow = (row >= 'A' && row < 'A' + ChordRows) || row == ExtraRow;
    if (!chordRow || number >= PadColumns) return std::nullopt;
    return PadName{PadKind::Chord, number, row - 'A' + 1, PadLowestRoot + number};
}

std::string_view FunctionPadCaption(int number) {
    return number >= 0 && number < FunctionPadCount ? Captions[static_cast<std::size_t>(number)] : std::string_view{};
}

std::string_view FunctionPadHint(int number) {
    return number >= 0 && number < FunctionPadCount ? Hints[static_cast<std::size_t>(number)] : std::string_view{};
}

}  // namespace chordella::chords
