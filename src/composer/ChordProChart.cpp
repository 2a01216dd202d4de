#include "composer/ChordProChart.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "composer/ChordSymbols.h"
#include "platform/TextCase.h"

namespace chordella::composer {

namespace {

constexpr std::size_t MeasuresPerLine = 4;
constexpr std::size_t MaxChartMeasures = 100000;
constexpr std::size_t MaxChartCommands = 12000;
constexpr std::string_view StyleCommentPrefix = "Style ";
constexpr std::string_view CommandDirective = "x_chordella_command";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

int ToInt(std::string_view text, int fallback) {
    text = Trim(text);
    int value = fallback;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : fallback;
}

bool IsBar(std::string_view token) {
    return token == "|" || token == "||" || token == "|." || token == "|:" || token == ":|" || token == ":|:";
}

struct GridReader {
    ChordChart& chart;
    ChartMeasure current;
    std::vector<std::string_view> cells;
    bool measureOpen = false;

    void CloseMeasure() {
        if (!measureOpen) return;
        measureOpen = false;
        if (cells.empty() && current.RepeatTimes == 0 && !current.RepeatEnd) return;
        if (cells.size() == 1 && cells[0] == "%" && !chart.Measures.empty()) {
            ChartMeasure copy = chart.Measures.back();
            copy.RepeatTimes = current.RepeatTimes;
            copy.RepeatEnd = current.RepeatEnd;
            current = copy;
        } else {
            current.Beats.clear();
            for (std::string_view cell : cells) {
                if (cell == "." || cell == "/" || cell == "-" || cell == "%" || cell == "~") {
                    current.Beats.emplace_back();
                    continue;
                }
                // Two chords in one cell ("C~G"): the first one is kept.
                const std::string_view first = cell.substr(0, cell.find('~'));
                const SymbolReading reading = ReadChordSymbol(first);
                if (!reading.Ok) {
                    chart.Warnings.push_back("cell \"" + std::string(cell) + "\" is no chord; left empty");
                    current.Beats.emplace_back();
                    continue;
                }
                if (!reading.Warning.empty()) chart.Warnings.push_back(reading.Warning);
                current.Beats.push_back(ChartChord{reading.Root, reading.Type});
            }
        }
        if (chart.Measures.size() < MaxChartMeasures) chart.Measures.push_back(std::move(current));
        current = ChartMeasure{};
        cells.clear();
    }

    void Bar(std::string_view bar) {
        if (bar == ":|" || bar == ":|:") current.RepeatEnd = true;
        const bool wasOpen = measureOpen;
        CloseMeasure();
        if (!wasOpen && bar.starts_with(":") && !chart.Measures.empty()) chart.Measures.back().RepeatEnd = true;
        if (bar == "|:" || bar == ":|:") current.RepeatTimes = 2;
        measureOpen = true;
    }

    void Times(int times) {
        if (!chart.Measures.empty() && chart.Measures.back().RepeatEnd) {
            // The repeat's count belongs to its start: found later when the chart is complete.
            pendingTimes.emplace_back(chart.Measures.size() - 1, times);
        }
    }

    std::vector<std::pair<std::size_t, int>> pendingTimes;
};

void ApplyRepeatCounts(ChordChart& chart, const std::vector<std::pair<std::size_t, int>>& counts) {
    for (const auto& [end, times] : counts) {
        for (std::size_t index = end + 1; index-- > 0;) {
            if (chart.Measures[index].RepeatTimes > 0) {
                chart.Measures[index].RepeatTimes = std::clamp(times, 1, 99);
                break;
            }
        }
    }
}

// "M.B CODE PARAM": a command on beat B of measure M. A malformed one is reported and left out.
void ReadCommand(std::string_view value, ChordChart& chart) {
    int numbers[4] = {0, 0, 0, 0};
    std::size_t at = 0;
    bool ok = true;
    for (int i = 0; i < 4 && ok; ++i) {
        while (at < value.size() && (value[at] == ' ' || (i == 1 && value[at] == '.'))) ++at;
        const auto [end, error] = std::from_chars(value.data() + at, value.data() + value.size(), numbers[i]);
        ok = error == std::errc() && (i != 0 || (end < value.data() + value.size() && *end == '.'));
        at = static_cast<std::size_t>(end - value.data());
    }
    ok = ok && numbers[0] >= 1 && numbers[1] >= 1 && numbers[1] <= 16 && TravelsAsChartCommand(numbers[2], numbers[3]);
    if (!ok || chart.Commands.size() >= MaxChartCommands) {
        chart.Warnings.push_back("command \"" + std::string(value) + "\" not understood; left out");
        return;
    }
    chart.Commands.push_back({numbers[0], numbers[1], numbers[2], numbers[3]});
}

}  // namespace

std::string WriteChordPro(const ChordChart& chart) {
    std::string text;
    if (!chart.Title.empty()) text += "{title: " + chart.Title + "}\n";
    if (!chart.Composer.empty()) text += "{composer: " + chart.Composer + "}\n";
    text += "{key: " + chart.KeyText() + "}\n";
    text += "{time: " + std::to_string(chart.BeatsPerMeasure) + "/4}\n";
    text += "{tempo: " + std::to_string(chart.Tempo) + "}\n";
    if (!chart.Style.empty()) text += "{comment: " + std::string(StyleCommentPrefix) + chart.Style + "}\n";
    // Commands the grid cannot show, in a directive of our own that other readers skip.
    for (const ChartCommand& command : chart.Commands)
        text += "{" + std::string(CommandDirective) + ": " + std::to_string(command.Measure) + "." +
                std::to_string(command.Beat) + " " + std::to_string(command.Code) + " " + std::to_string(command.Param) +
                "}\n";
    text += "{start_of_grid: shape=\"" + std::to_string(MeasuresPerLine) + "x" + std::to_string(chart.BeatsPerMeasure) +
            "\"}\n";
    const bool sharps = chart.Sharps();
    std::string line;
    for (std::size_t index = 0; index < chart.Measures.size(); ++index) {
        const ChartMeasure& measure = chart.Measures[index];
        if (line.empty()) line = measure.RepeatTimes > 0 ? "|:" : "|";
        else if (measure.RepeatTimes > 0) line += line.ends_with(":|") ? ":" : "|:";
        for (const auto& beat : measure.Beats) line += " " + (beat ? ChordSymbol(beat->Root, beat->Type, sharps) : ".");
        const bool last = index + 1 == chart.Measures.size();
        const bool nextStarts = !last && chart.Measures[index + 1].RepeatTimes > 0;
        if (measure.RepeatEnd) {
            line += " :|";
            int times = 2;
            for (std::size_t start = index + 1; start-- > 0;)
                if (chart.Measures[start].RepeatTimes > 0) { times = chart.Measures[start].RepeatTimes; break; }
            if (times != 2) line += " x" + std::to_string(times);
        } else if (last) {
            line += " |.";
        } else if (!nextStarts) {
            line += " |";
        } else {
            line += " ";
        }
        if ((index + 1) % MeasuresPerLine == 0 || last) {
            // A line that ends before a repeat start gets its bar; the next line opens with "|:".
            if (line.ends_with(" ")) line += "|";
            text += line + "\n";
            line.clear();
        }
    }
    text += "{end_of_grid}\n";
    return text;
}

ChartReading ReadChordPro(std::string_view text) {
    ChartReading result;
    ChordChart& chart = result.Chart;
    chart.Title.clear();
    bool inGrid = false;
    bool gridSeen = false;
    bool meterGiven = false;
    bool keyGiven = false;
    GridReader grid{chart, {}, {}, false, {}};
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = Trim(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.starts_with("{") && line.ends_with("}")) {
            const std::string_view body = line.substr(1, line.size() - 2);
            const std::size_t colon = body.find_first_of(": ");
            const std::string name = platform::LowerCase(Trim(body.substr(0, colon)));
            const std::string_view value = colon == std::string_view::npos ? std::string_view{} : Trim(body.substr(colon + 1));
            if (name == "start_of_grid" || name == "sog") {
                if (gridSeen) break;
                inGrid = gridSeen = true;
            } else if (name == "end_of_grid" || name == "eog") {
                grid.CloseMeasure();
                inGrid = false;
            } else if (name == "title" || name == "t") {
                chart.Title = std::string(value);
            } else if (name == "composer" || name == "artist") {
                if (chart.Composer.empty()) chart.Composer = std::string(value);
            } else if (name == "tempo") {
                chart.Tempo = std::clamp(ToInt(value, 120), 25, 250);
            } else if (name == "time") {
                const std::size_t slash = value.find('/');
                const int beats = ToInt(value.substr(0, slash), 0);
                if (beats >= 1 && beats <= 12) chart.BeatsPerMeasure = beats, meterGiven = true;
                else chart.Warnings.push_back("meter \"" + std::string(value) + "\" not understood; 4/4 used");
            } else if ((name == "comment" || name == "c") && value.starts_with(StyleCommentPrefix)) {
                chart.Style = std::string(Trim(value.substr(StyleCommentPrefix.size())));
            } else if (name == CommandDirective) {
                ReadCommand(value, chart);
            } else if (name == "key") {
                const SymbolReading key = ReadChordSymbol(value);
                if (key.Ok) {
                    chart.KeyRoot = key.Root;
                    chart.KeyMinor = key.Type == 2;
                    keyGiven = true;
                }
            }
            continue;
        }
        if (!inGrid) continue;
        // Text after the last bar of a line is a comment; a line without a bar is one too.
        if (line.find('|') == std::string_view::npos) continue;
        std::size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
            if (at >= line.size()) break;
            std::size_t end = at;
            while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
            const std::string_view token = line.substr(at, end - at);
            at = end;
            if (IsBar(token)) {
                grid.Bar(token);
            } else if (token.size() >= 2 && (token[0] == 'x' || token[0] == 'X') && std::isdigit(static_cast<unsigned char>(token[1]))) {
                grid.Times(ToInt(token.substr(1), 2));
            } else if (grid.measureOpen) {
                grid.cells.push_back(token);
            }
        }
        // A line's last bar closes its last measure; cells after it still make one.
        if (!grid.cells.empty()) grid.CloseMeasure();
        grid.measureOpen = false;
        grid.cells.clear();
    }
    grid.CloseMeasure();
    ApplyRepeatCounts(chart, grid.pendingTimes);
    if (chart.Measures.empty()) {
        result.Error = gridSeen ? "the grid holds no measures" : "no {start_of_grid} section with chords";
        return result;
    }
    if (!meterGiven) {
        std::size_t cells = 0;
        for (const ChartMeasure& measure : chart.Measures) cells = std::max(cells, measure.Beats.size());
        chart.BeatsPerMeasure = static_cast<int>(std::clamp<std::size_t>(cells, 1, 12));
    }
    for (ChartMeasure& measure : chart.Measures) {
        // Cells spread over the beats: a measure of two cells in 4/4 changes on beats 1 and 3.
        const std::size_t beats = static_cast<std::size_t>(chart.BeatsPerMeasure);
        if (measure.Beats.size() == beats) continue;
        std::vector<std::optional<ChartChord>> spread(beats);
        const std::size_t cells = measure.Beats.size();
        for (std::size_t cell = 0; cell < cells; ++cell)
            if (measure.Beats[cell]) {
                std::optional<ChartChord>& slot = spread[std::min(beats - 1, cell * beats / cells)];
                if (!slot) slot = measure.Beats[cell];
            }
        measure.Beats = std::move(spread);
    }
    if (!keyGiven) {
        for (const ChartMeasure& measure : chart.Measures)
            for (const auto& beat : measure.Beats)
                if (beat && !keyGiven) {
                    chart.KeyRoot = beat->Root;
                    chart.KeyMinor = beat->Type == 2 || beat->Type == 4;
                    keyGiven = true;
                }
    }
    result.Ok = true;
    return result;
}

}  // namespace chordella::composer
