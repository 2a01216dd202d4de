#include "make_assets/Notation.h"

#include <array>
#include <charconv>
#include <utility>

namespace chordella::tools {

namespace {

bool PitchClassOf(char letter, int& pitchClass) {
    static constexpr std::string_view Letters = "C D EF G A B";
    const auto at = Letters.find(letter);
    if (letter == ' ' || at == std::string_view::npos) return false;
    pitchClass = static_cast<int>(at);
    return true;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

bool ParseNumber(std::string_view text, int low, int high, int& value, std::string& error) {
    int parsed = 0;
    const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (code != std::errc() || end != text.data() + text.size()) {
        error = "expected a number, found " + Quoted(text);
        return false;
    }
    if (parsed < low || parsed > high) {
        error = Quoted(text) + " is not " + std::to_string(low) + " … " + std::to_string(high);
        return false;
    }
    value = parsed;
    return true;
}

bool ParsePitch(std::string_view text, int& note, std::string& error) {
    int pitchClass = 0;
    if (text.size() < 2 || !PitchClassOf(text[0], pitchClass)) {
        error = "expected a note name like C4 or Bb2, found " + Quoted(text);
        return false;
    }
    std::size_t at = 1;
    if (text[at] == '#') ++pitchClass, ++at;
    else if (text[at] == 'b') --pitchClass, ++at;
    int octave = 0;
    if (!ParseNumber(text.substr(at), -1, 9, octave, error)) {
        error = "expected an octave after the note name in " + Quoted(text);
        return false;
    }
    const int value = (octave + 1) * 12 + pitchClass;
    if (value < 0 || value > 127) {
        error = Quoted(text) + " lies outside the MIDI notes";
        return false;
    }
    note = value;
    return true;
}

bool ParsePitches(std::string_view text, std::vector<int>& notes, std::string& error) {
    notes.clear();
    for (const std::string& piece : SplitTrimmed(text, '+')) {
        int note = 0;
        if (!ParsePitch(piece, note, error)) return false;
        notes.push_back(note);
    }
    if (notes.empty()) {
        error = "expected a note name, found nothing";
        return false;
    }
    return true;
}

bool ParsePosition(std::string_view text, int beatsPerMeasure, int& tick, std::string& error) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        error = "expected a position like 1.3 or 2.4&, found " + Quoted(text);
        return false;
    }
    std::string_view beatText = text.substr(dot + 1);
    int sub = 0;
    if (!beatText.empty()) {
        static constexpr std::array<std::pair<char, int>, 5> Subdivisions = {
            {{'e', 6}, {'&', 12}, {'a', 18}, {'t', 8}, {'T', 16}}};
        for (const auto& [mark, ticks] : Subdivisions) {
            if (beatText.back() == mark) {
                sub = ticks;
                beatText.remove_suffix(1);
                break;
            }
        }
    }
    int measure = 0;
    int beat = 0;
    if (!ParseNumber(text.substr(0, dot), 1, 64, measure, error) ||
        !ParseNumber(beatText, 1, beatsPerMeasure, beat, error)) {
        error = "in position " + Quoted(text) + ": " + error;
        return false;
    }
    tick = ((measure - 1) * beatsPerMeasure + (beat - 1)) * TicksPerBeat + sub;
    return true;
}

bool ParseOffset(std::string_view text, int& offset, std::string& error) {
    int ticks = 0;
    if (text.size() < 2 || (text[0] != '+' && text[0] != '-') ||
        !ParseNumber(text.substr(1), 1, MaxPlacementOffset, ticks, error)) {
        error = "expected a tick offset +1 … +" + std::to_string(MaxPlacementOffset) + " or -1 … -" +
                std::to_string(MaxPlacementOffset) + ", found " + Quoted(text);
        return false;
    }
    offset = text[0] == '-' ? -ticks : ticks;
    return true;
}

bool ParsePlacement(std::string_view text, int beatsPerMeasure, int& tick, int& offset, std::string& error) {
    offset = 0;
    const auto dot = text.find('.');
    const auto sign = dot == std::string_view::npos ? std::string_view::npos : text.find_first_of("+-", dot);
    if (sign != std::string_view::npos) {
        if (!ParseOffset(text.substr(sign), offset, error)) {
            error = "in position " + Quoted(text) + ": " + error;
            return false;
        }
        text = text.substr(0, sign);
    }
    return ParsePosition(text, beatsPerMeasure, tick, error);
}

int SwingTick(int tick, int swing, int stepTicks) {
    // The beat (or eighth) is bent at its middle: the first half stretches to `swing` percent
    // of it, the second half shrinks to the rest; points in between move in proportion.
    const int pair = 2 * stepTicks;
    const int start = tick - tick % pair;
    const int within = tick % pair;
    const int bend = (pair * swing + 50) / 100;
    if (within <= stepTicks) return start + (within * bend + stepTicks / 2) / stepTicks;
    return start + bend + ((within - stepTicks) * (pair - bend) + stepTicks / 2) / stepTicks;
}

bool ParseLength(std::string_view text, int& ticks, std::string& error) {
    int total = 0;
    const auto pieces = SplitTrimmed(text, '+');
    for (const std::string& piece : pieces) {
        static constexpr std::string_view Letters = "whqest";
        static constexpr std::array<int, 6> Ticks = {96, 48, 24, 12, 6, 8};
        const auto at = Letters.find(piece[0]);
        if (at != std::string_view::npos && (piece.size() == 1 || (piece.size() == 2 && piece[1] == '.'))) {
            const int base = Ticks[at];
            total += piece.size() == 2 ? base * 3 / 2 : base;
            continue;
        }
        int value = 0;
        if (!ParseNumber(piece, 1, 96 * 16, value, error)) {
            error = "expected a length like q, e., h+e or a number of ticks, found " + Quoted(text);
            return false;
        }
        total += value;
    }
    if (total <= 0) {
        error = "expected a length, found " + Quoted(text);
        return false;
    }
    ticks = total;
    return true;
}

bool ParseDrum(std::string_view text, int& note, std::string& error) {
    static constexpr std::array<std::pair<std::string_view, int>, 27> Drums = {{
        {"kick", 36},   {"kick2", 35},  {"stick", 37},   {"snare", 38},   {"clap", 39},    {"snare2", 40},
        {"floor", 41},  {"hhc", 42},    {"floorhi", 43}, {"hhp", 44},     {"tomlo", 45},   {"hho", 46},
        {"tommid", 47}, {"tomhi", 48},  {"crash", 49},   {"tomtop", 50},  {"ride", 51},    {"china", 52},
        {"bell", 53},   {"tamb", 54},   {"splash", 55},  {"cowbell", 56}, {"congahi", 63}, {"congalo", 64},
        {"cabasa", 69}, {"shaker", 70}, {"claves", 75},
    }};
    for (const auto& [name, key] : Drums) {
        if (name == text) {
            note = key;
            return true;
        }
    }
    if (ParseNumber(text, 27, 87, note, error)) return true;
    error = "expected a drum name (kick, snare, hhc …) or a key number 27 … 87, found " + Quoted(text);
    return false;
}

bool GridVelocity(char step, int& velocity) {
    switch (step) {
    case 'X': velocity = 100; return true;
    case 'x': velocity = 80; return true;
    case 'o': velocity = 60; return true;
    case 'g': velocity = 35; return true;
    case '.':
    case '-': velocity = 0; return true;
    default: break;
    }
    if (step >= '1' && step <= '9') {
        velocity = 12 * (step - '0') + 10;
        return true;
    }
    return false;
}

bool ParseChord(std::string_view text, int& root, int& type, std::string& error) {
    int pitchClass = 0;
    if (text.empty() || !PitchClassOf(text[0], pitchClass)) {
        error = "expected a chord name like C, Am or G7, found " + Quoted(text);
        return false;
    }
    std::size_t rootLength = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pitchClass += text[1] == '#' ? 1 : -1;
        rootLength = 2;
    }
    // The chord types of the chord table, numbered as the chord memory stores them.
    static constexpr std::array<std::pair<std::string_view, int>, 19> Suffixes = {{
        {"", 1},    {"m", 2},     {"7", 3},     {"m7", 4},   {"dim", 5},   {"sus4", 6}, {"sus", 6},
        {"add9", 7}, {"7b5", 8},  {"maj7", 9},  {"aug", 10}, {"6", 11},    {"mmaj7", 12}, {"m6", 13},
        {"m9", 14}, {"m7b5", 15}, {"aug7", 16}, {"7sus4", 17}, {"+", 10},
    }};
    const std::string_view suffix = text.substr(rootLength);
    for (const auto& [name, value] : Suffixes) {
        if (name == suffix) {
            root = 48 + (pitchClass + 12) % 12;
            type = value;
            return true;
        }
    }
    error = "unknown chord suffix in " + Quoted(text);
    return false;
}

std::string_view WithoutComment(std::string_view line) {
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] == '#' && (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t')) return line.substr(0, at);
    }
    return line;
}

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at >= line.size()) break;
        if (line[at] == '"') {
            const auto close = line.find('"', at + 1);
            const auto end = close == std::string_view::npos ? line.size() : close;
            words.emplace_back(line.substr(at + 1, end - at - 1));
            at = end + 1;
            continue;
        }
        const auto start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
        words.emplace_back(line.substr(start, at - start));
    }
    return words;
}

std::vector<std::string> SplitTrimmed(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view piece = text.substr(start, end - start);
        while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
        while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
        if (!piece.empty()) pieces.emplace_back(piece);
        start = end + 1;
    }
    return pieces;
}

}  // namespace chordella::tools
