#include "composer/IRealChart.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "composer/ChordSymbols.h"

namespace chordella::composer {

namespace {

constexpr std::string_view LinkScheme = "irealbook://";
constexpr std::string_view ScrambledScheme = "irealb://";
constexpr std::size_t MaxChartMeasures = 100000;

std::string PercentEncoded(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 15];
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size() && HexValue(text[at + 1]) >= 0 && HexValue(text[at + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[at + 1]) * 16 + HexValue(text[at + 2]));
            at += 2;
        } else {
            out += text[at];
        }
    }
    return out;
}

// A field the link separates with "=" may not hold one.
std::string Field(std::string_view text) {
    std::string field(text);
    std::replace(field.begin(), field.end(), '=', '-');
    return field;
}

int RepeatTimesBefore(const ChordChart& chart, std::size_t end) {
    for (std::size_t start = end + 1; start-- > 0;)
        if (chart.Measures[start].RepeatTimes > 0) return chart.Measures[start].RepeatTimes;
    return 2;
}

bool IsRootLetter(char c) { return c >= 'A' && c <= 'G'; }

// Reads the chord string into measures of cells.
class ChordStringReader {
public:
    explicit ChordStringReader(ChordChart& chart) : chart_(chart) {}

    void Read(std::string_view text) {
        std::size_t at = 0;
        while (at < text.size()) {
            const char c = text[at];
            if (c == '|' || c == '[' || c == ']' || c == '{' || c == '}' || c == 'Z') {
                Bar(c);
                ++at;
            } else if (c == 'T' && at + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 1]))) {
                const int beats = text[at + 1] == '1' && at + 3 < text.size() && text[at + 2] == '2' ? 12 : text[at + 1] - '0';
                if (beats >= 1 && !meterSeen_) chart_.BeatsPerMeasure = beats, meterSeen_ = true;
                at += beats == 12 ? 4 : 3;
            } else if (c == '*' || c == 'N') {
                at += 2;  // section mark (*A) or ending (N1)
            } else if (c == '<') {
                const std::size_t close = text.find('>', at);
                Comment(text.substr(at + 1, close == std::string_view::npos ? std::string_view::npos : close - at - 1));
                at = close == std::string_view::npos ? text.size() : close + 1;
            } else if (c == '(') {
                const std::size_t close = text.find(')', at);  // an alternate chord above the cell
                at = close == std::string_view::npos ? text.size() : close + 1;
            } else if (c == ' ' || c == 'p' || c == 'n') {
                Cell({});
                ++at;
            } else if (c == 'x') {
                repeatPrevious_ = true;
                ++at;
            } else if (c == 'r') {
                chart_.Warnings.push_back("a two-measure repeat sign is read as one repeated measure");
                repeatPrevious_ = true;
                ++at;
            } else if (IsRootLetter(c) || c == 'W') {
                std::size_t end = at + 1;
                while (end < text.size()) {
                    const char d = text[end];
                    const bool afterSlash = text[end - 1] == '/';
                    if (d == ' ' || d == ',' || d == '|' || d == '[' || d == ']' || d == '{' || d == '}' || d == '<' ||
                        d == '(' || (std::isupper(static_cast<unsigned char>(d)) && !afterSlash))
                        break;
                    ++end;
                }
                Chord(text.substr(at, end - at));
                at = end;
            } else {
                ++at;  // ",", layout marks (s, l, Y, U, S, Q, f) take no cell
            }
        }
        CloseMeasure();
    }

private:
    void Comment(std::string_view comment) {
        // "<3x>": the repeat that ends next plays three times.
        std::size_t at = 0;
        while (at < comment.size() && !std::isdigit(static_cast<unsigned char>(comment[at]))) ++at;
        int times = 0;
        const auto [end, error] = std::from_chars(comment.data() + at, comment.data() + comment.size(), times);
        if (error == std::errc() && end < comment.data() + comment.size() && (*end == 'x' || *end == 'X')) timesNext_ = times;
    }

    void Chord(std::string_view token) {
        if (token.starts_with("W")) {
            Cell({});
            return;
        }
        const SymbolReading reading = ReadChordSymbol(token);
        if (!reading.Warning.empty()) chart_.Warnings.push_back(reading.Warning);
        Cell(reading.Ok ? std::optional<ChartChord>(ChartChord{reading.Root, reading.Type}) : std::nullopt);
    }

    void Cell(std::optional<ChartChord> chord) {
        if (!open_) return;
        cells_.push_back(chord);
    }

    void Bar(char bar) {
        if (bar == '}') {
            current_.RepeatEnd = true;
            if (!open_ || !HasMeasure()) {
                if (!chart_.Measures.empty()) chart_.Measures.back().RepeatEnd = true;
                current_.RepeatEnd = false;
            }
        }
        CloseMeasure();
        if (bar == '{') current_.RepeatTimes = 2;
        open_ = bar != 'Z';
    }

    // A single blank between two bar lines is spacing; two or more are a measure in which
    // the chord goes on.
    bool HasMeasure() const {
        const bool hasChord = std::any_of(cells_.begin(), cells_.end(), [](const auto& cell) { return cell.has_value(); });
        return hasChord || cells_.size() >= 2 || repeatPrevious_;
    }

    void CloseMeasure() {
        if (open_ && HasMeasure()) {
            ChartMeasure measure = current_;
            if (repeatPrevious_ && !chart_.Measures.empty()) measure.Beats = chart_.Measures.back().Beats;
            else measure.Beats = std::move(cells_);
            if (chart_.Measures.size() < MaxChartMeasures) chart_.Measures.push_back(std::move(measure));
            current_ = ChartMeasure{};
        }
        // Otherwise an empty stretch between two bar lines ("}[" or "|{") keeps its repeat mark
        // for the next measure.
        if (timesNext_ > 0 && !chart_.Measures.empty() && chart_.Measures.back().RepeatEnd) {
            for (std::size_t start = chart_.Measures.size(); start-- > 0;)
                if (chart_.Measures[start].RepeatTimes > 0) { chart_.Measures[start].RepeatTimes = std::clamp(timesNext_, 1, 99); break; }
            timesNext_ = 0;
        }
        cells_.clear();
        repeatPrevious_ = false;
    }

    ChordChart& chart_;
    ChartMeasure current_;
    std::vector<std::optional<ChartChord>> cells_;
    bool open_ = false;
    bool repeatPrevious_ = false;
    bool meterSeen_ = false;
    int timesNext_ = 0;
};

void SpreadOverBeats(ChordChart& chart) {
    const std::size_t beats = static_cast<std::size_t>(chart.BeatsPerMeasure);
    for (ChartMeasure& measure : chart.Measures) {
        if (measure.Beats.size() == beats) continue;
        std::vector<std::optional<ChartChord>> spread(beats);
        const std::size_t cells = measure.Beats.size();
        for (std::size_t cell = 0; cell < cells; ++cell) {
            if (!measure.Beats[cell]) continue;
            std::optional<ChartChord>& slot = spread[std::min(beats - 1, cell * beats / cells)];
            if (!slot) slot = measure.Beats[cell];
        }
        measure.Beats = std::move(spread);
    }
}

}  // namespace

std::string WriteIRealLink(const ChordChart& chart) {
    const bool sharps = chart.Sharps();
    std::string chords = "T" + std::to_string(chart.BeatsPerMeasure) + "4";
    for (std::size_t index = 0; index < chart.Measures.size(); ++index) {
        const ChartMeasure& measure = chart.Measures[index];
        if (measure.RepeatTimes > 0) chords += "{";
        else if (index == 0) chords += "[";
        bool chordBefore = false;
        for (const auto& beat : measure.Beats) {
            if (beat) {
                if (chordBefore) chords += ",";
                chords += ChordSymbol(beat->Root, beat->Type, sharps, SymbolStyle::IReal);
                chordBefore = true;
            } else {
                chords += " ";
                chordBefore = false;
            }
        }
        // A measure of one blank would read as spacing between two bar lines.
        if (measure.Beats.size() == 1 && !measure.Beats[0]) chords += " ";
        const bool last = index + 1 == chart.Measures.size();
        if (measure.RepeatEnd) {
            const int times = RepeatTimesBefore(chart, index);
            if (times != 2) chords += "<" + std::to_string(times) + "x>";
            chords += "}";
            if (last) chords += " Z";
        } else if (last) {
            chords += "Z";
        } else if (chart.Measures[index + 1].RepeatTimes == 0) {
            chords += "|";
        }
    }
    const std::string key = std::string(RootName(chart.KeyRoot, sharps)) + (chart.KeyMinor ? "-" : "");
    const std::string song = Field(chart.Title.empty() ? "Untitled" : chart.Title) + "=" + Field(chart.Composer) + "=" +
                             Field(chart.Style) + "=" + key + "=n=" + chords;
    return std::string(LinkScheme) + PercentEncoded(song);
}

ChartReading ReadIRealLink(std::string_view text) {
    ChartReading result;
    const std::size_t start = text.find(LinkScheme);
    if (start == std::string_view::npos) {
        result.Error = text.find(ScrambledScheme) != std::string_view::npos
                           ? "the irealb:// form is scrambled and cannot be read; share the song as irealbook:// instead"
                           : "no irealbook:// link found";
        return result;
    }
    std::string_view link = text.substr(start + LinkScheme.size());
    // A link in a web page ends at its quote; one pasted into a text file at the line's end
    // (unencoded blanks are cells of the chord string).
    const std::size_t end = link.find_first_of("\r\n\"'");
    link = link.substr(0, end);
    const std::string decoded = PercentDecoded(link);
    std::vector<std::string_view> fields;
    std::string_view rest = decoded;
    while (fields.size() < 5) {
        const std::size_t equals = rest.find('=');
        if (equals == std::string_view::npos) break;
        fields.push_back(rest.substr(0, equals));
        rest.remove_prefix(equals + 1);
    }
    if (fields.size() < 5) {
        result.Error = "the link has " + std::to_string(fields.size() + 1) +
                       " fields; expected title=composer=style=key=n=chords";
        return result;
    }
    // The chord string ends where a further song of a playlist would start.
    const std::string_view chordString = rest.substr(0, rest.find('='));
    ChordChart& chart = result.Chart;
    chart.Title = std::string(fields[0]);
    chart.Composer = std::string(fields[1]);
    chart.Style = std::string(fields[2]);
    const std::string_view key = fields[3];
    const SymbolReading keyReading = ReadChordSymbol(key);
    if (keyReading.Ok) {
        chart.KeyRoot = keyReading.Root;
        chart.KeyMinor = keyReading.Type == 2;
    } else if (!key.empty()) {
        chart.Warnings.push_back("key \"" + std::string(key) + "\" not understood; C used");
    }
    ChordStringReader reader(chart);
    reader.Read(chordString);
    if (chart.Measures.empty()) {
        result.Error = "the chord string holds no measures";
        return result;
    }
    SpreadOverBeats(chart);
    result.Ok = true;
    return result;
}

}  // namespace chordella::composer
