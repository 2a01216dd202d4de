#include "composer/ChordSymbols.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "chords/ChordTypes.h"
#include "chords/NoteNames.h"
#include "platform/TextCase.h"

namespace chordella::composer {

namespace {

struct TypeSpelling {
    std::string_view Plain;
    std::string_view IReal;
    XmlChordKind Xml;
};

// Rows 1 … 17 at indexes 0 … 16.
const std::array<TypeSpelling, 17> Spellings = {{
    {"", "", {"major", "", 0, 0, ""}},
    {"m", "-", {"minor", "m", 0, 0, ""}},
    {"7", "7", {"dominant", "7", 0, 0, ""}},
    {"m7", "-7", {"minor-seventh", "m7", 0, 0, ""}},
    {"dim", "o", {"diminished", "dim", 0, 0, ""}},
    {"sus4", "sus", {"suspended-fourth", "sus4", 0, 0, ""}},
    {"add9", "add9", {"major", "add9", 9, 0, "add"}},
    {"(b5)", "7b5", {"major", "(b5)", 5, -1, "alter"}},
    {"maj7", "^7", {"major-seventh", "maj7", 0, 0, ""}},
    {"aug", "+", {"augmented", "aug", 0, 0, ""}},
    {"6", "6", {"major-sixth", "6", 0, 0, ""}},
    {"m(maj7)", "-^7", {"major-minor", "m(maj7)", 0, 0, ""}},
    {"m6", "-6", {"minor-sixth", "m6", 0, 0, ""}},
    {"m(add9)", "-9", {"minor", "m(add9)", 9, 0, "add"}},
    {"m7b5", "h7", {"half-diminished", "m7b5", 0, 0, ""}},
    {"7#5", "7#5", {"augmented-seventh", "7#5", 0, 0, ""}},
    {"7sus4", "7sus", {"suspended-fourth", "7sus4", 7, -1, "add"}},
}};

struct Alias {
    std::string_view Quality;
    int Type;
};

// Every spelling read as a known type: the plain and iReal ones above, the program's own
// type names, and the common variants of lead sheets.
const Alias Aliases[] = {
    {"", 1}, {"maj", 1}, {"M", 1}, {"major", 1}, {"^", 1}, {"5", 1},
    {"m", 2}, {"min", 2}, {"mi", 2}, {"-", 2}, {"minor", 2},
    {"7", 3}, {"7th", 3}, {"dom7", 3}, {"dom", 3},
    {"m7", 4}, {"min7", 4}, {"mi7", 4}, {"-7", 4},
    {"dim", 5}, {"o", 5}, {"°", 5},
    {"sus4", 6}, {"sus", 6},
    {"add9", 7}, {"add2", 7}, {"(add9)", 7},
    {"(b5)", 8}, {"b5", 8}, {"5b", 8}, {"-5", 8}, {"7b5", 8}, {"(-5)", 8},
    {"maj7", 9}, {"M7", 9}, {"^7", 9}, {"Δ7", 9}, {"ma7", 9}, {"Maj7", 9}, {"Δ", 9},
    {"aug", 10}, {"+", 10}, {"#5", 10}, {"(#5)", 10}, {"+5", 10},
    {"6", 11}, {"6th", 11}, {"maj6", 11},
    {"m(maj7)", 12}, {"mM7", 12}, {"-^7", 12}, {"mmaj7", 12}, {"m^7", 12}, {"minmaj7", 12}, {"m(M7)", 12},
    {"m6", 13}, {"min6", 13}, {"-6", 13}, {"mi6", 13},
    {"m(add9)", 14}, {"min9", 14}, {"madd9", 14}, {"-9", 14}, {"m9", 14}, {"-add9", 14}, {"m(9)", 14},
    {"m7b5", 15}, {"m5b7", 15}, {"h7", 15}, {"h", 15}, {"ø", 15}, {"ø7", 15}, {"-7b5", 15}, {"min7b5", 15},
    {"7#5", 16}, {"aug7", 16}, {"+7", 16}, {"7+", 16}, {"7(#5)", 16},
    {"7sus4", 17}, {"7sus", 17}, {"sus7", 17},
};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// The nearest of the seventeen types to a quality no alias spells.
int NearestType(std::string_view q) {
    const bool minor = (q.starts_with("m") && !q.starts_with("maj") && !q.starts_with("ma")) || q.starts_with("-");
    const bool seventh = Contains(q, "7") || Contains(q, "9") || Contains(q, "11") || Contains(q, "13");
    const bool majorSeventh = Contains(q, "maj") || Contains(q, "^") || Contains(q, "M") || Contains(q, "Δ");
    if (Contains(q, "dim") || q.starts_with("o")) return 5;
    if (Contains(q, "sus")) return seventh ? 17 : 6;
    if (Contains(q, "aug") || q.starts_with("+")) return seventh ? 16 : 10;
    if (minor) {
        if (Contains(q, "b5")) return 15;
        if (seventh) return 4;
        return Contains(q, "6") ? 13 : 2;
    }
    if (majorSeventh && seventh) return 9;
    if (seventh) return 3;
    if (Contains(q, "6")) return 11;
    return 1;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

}  // namespace

SymbolReading ReadChordSymbol(std::string_view text, const SymbolOptions& options) {
    SymbolReading reading;
    const std::string_view whole = Trim(text);
    std::string_view rest = whole;
    if (rest.empty()) {
        reading.Error = "no chord name given";
        return reading;
    }
    const char letter = platform::UpperAscii(rest.front());
    static constexpr std::array<int, 7> LetterClass = {9, 11, 0, 2, 4, 5, 7};  // A … G
    int root = 0;
    if (letter == 'H') {
        if (!options.GermanNames) {
            reading.Error = "\"" + std::string(whole) +
                            "\" is not a chord name: H is the German name of B (write B, or choose German note names)";
            return reading;
        }
        root = 11;
    } else if (letter >= 'A' && letter <= 'G') {
        root = LetterClass[static_cast<std::size_t>(letter - 'A')];
        if (letter == 'B' && options.GermanNames) root = 10;
    } else {
        reading.Error = "\"" + std::string(whole) + "\" is not a chord name: it must start with a note name A … G";
        return reading;
    }
    rest.remove_prefix(1);
    // Accidentals: #, b, and their typeset signs.
    for (;;) {
        if (rest.starts_with("#")) { root += 1; rest.remove_prefix(1); }
        else if (rest.starts_with("\u266F")) { root += 1; rest.remove_prefix(3); }
        else if (rest.starts_with("b") && !rest.starts_with("b5")) { root -= 1; rest.remove_prefix(1); }
        else if (rest.starts_with("\u266D")) { root -= 1; rest.remove_prefix(3); }
        else break;
    }
    reading.Root = chords::PitchClass(root);
    std::string_view quality = Trim(rest);
    // A bass note ("C/E", "Am7/G") has no place in a chord record.
    const std::size_t slash = quality.find('/');
    if (slash != std::string_view::npos) {
        reading.Warning = "bass note of \"" + std::string(whole) + "\" left out";
        quality = Trim(quality.substr(0, slash));
    }
    for (const Alias& alias : Aliases) {
        if (alias.Quality == quality) {
            reading.Type = alias.Type;
            reading.Ok = true;
            return reading;
        }
    }
    reading.Type = NearestType(quality);
    reading.Ok = true;
    reading.Warning = "unknown chord symbol \"" + std::string(whole) + "\", kept as " +
                      std::string(RootName(reading.Root, false)) + " " + std::string(chords::TypeName(reading.Type));
    return reading;
}

std::string_view QualitySymbol(int type, SymbolStyle style) {
    const TypeSpelling& row = Spellings[static_cast<std::size_t>(chords::IsTableType(type) ? type - 1 : 0)];
    return style == SymbolStyle::IReal ? row.IReal : row.Plain;
}

const XmlChordKind& MusicXmlKind(int type) {
    return Spellings[static_cast<std::size_t>(chords::IsTableType(type) ? type - 1 : 0)].Xml;
}

std::string_view RootName(int pitchClass, bool sharps) {
    return chords::NoteNamesFor(sharps)[static_cast<std::size_t>(chords::PitchClass(pitchClass))];
}

std::string ChordSymbol(int pitchClass, int type, bool sharps, SymbolStyle style) {
    return std::string(RootName(pitchClass, sharps)) + std::string(QualitySymbol(type, style));
}

bool KeyUsesSharps(int pitchClass, bool minor) {
    const auto& table = minor ? chords::MinorKeySharps : chords::MajorKeySharps;
    return table[static_cast<std::size_t>(chords::PitchClass(pitchClass))];
}

}  // namespace chordella::composer
