#include "composer/ChordChart.h"

#include <algorithm>

#include "chords/ChordTypes.h"
#include "composer/ChordMemoryEditor.h"
#include "composer/ChordSymbols.h"
#include "data/SongCommands.h"

namespace chordella::composer {

namespace {

constexpr int ChartRootOctave = 48;
constexpr int MaxLoopRepeats = 155;  // a loop start's parameter is 100 + repeats ≤ 255

bool IsKeyMark(const data::BeatRecord& record) {
    return record.CommandCode < 200 &&
           (record.CommandParam == data::ParamKeyMajor || record.CommandParam == data::ParamKeyMinor);
}

bool MinorType(int type) { return type == 2 || type == 4 || type == 12 || type == 13 || type == 14 || type == 15; }

}  // namespace

bool TravelsAsChartCommand(int code, int param) {
    if (code <= 0 && param <= 0) return false;
    return code != data::CommandLoop && code != data::CommandStop && code != data::CommandTranspose && code >= 0 &&
           code <= 255 && param >= 0 && param <= 255;
}

bool ChordChart::Sharps() const { return KeyUsesSharps(KeyRoot, KeyMinor); }

std::string ChordChart::KeyText() const { return std::string(RootName(KeyRoot, Sharps())) + (KeyMinor ? "m" : ""); }

int MaxSongMeasures(int measureUnits) {
    // The STOP measure comes after the song's measures: U × n + 8 stays below the limit.
    const int units = std::max(data::BeatRecordSize, measureUnits);
    return (data::ChordMemoryPositionLimit - 9) / units;
}

ChordChart ChartFromSong(const data::ChordMemory& memory, const data::SongText& text, const std::string& style,
                         int measureUnits, int transpose) {
    ChordChart chart;
    chart.Title = text.SongTitle;
    chart.Composer = text.SongAuthor;
    chart.Style = style;
    chart.Tempo = memory.SongTempo() >= 25 ? memory.SongTempo() : 120;
    const int beats = std::max(1, measureUnits / data::BeatRecordSize);
    chart.BeatsPerMeasure = beats;
    int songTranspose = 0;
    bool keyFound = false;
    std::optional<ChartChord> firstChord;
    const int stop = StopPosition(memory);
    const int end = stop > 0 ? stop : memory.ChordMemoryLength;
    for (int start = data::ChordMemoryHeaderSize; start < end; start += beats * data::BeatRecordSize) {
        ChartMeasure measure;
        for (int beat = 0; beat < beats; ++beat) {
            const int position = start + beat * data::BeatRecordSize;
            const data::BeatRecord record = position < end ? memory.RecordAt(position) : data::BeatRecord{};
            if (record.CommandCode == data::CommandTranspose) songTranspose = data::TransposeSemitones(record.CommandParam);
            if (record.CommandCode == data::CommandLoop) {
                if (record.CommandParam > data::LoopStartBase) measure.RepeatTimes = record.CommandParam - data::LoopStartBase;
                else measure.RepeatEnd = true;
            }
            if (IsKeyMark(record) && !keyFound) {
                keyFound = true;
                chart.KeyRoot = chords::PitchClass(record.CommandCode + songTranspose + transpose);
                chart.KeyMinor = record.CommandParam == data::ParamKeyMinor;
            }
            if (TravelsAsChartCommand(record.CommandCode, record.CommandParam)) {
                int code = record.CommandCode;
                // A key mark names a pitch class (above 12 as the song creator writes it): it moves with the chords.
                if (IsKeyMark(record)) code = (code >= 12 ? 12 : 0) + chords::PitchClass(code + songTranspose + transpose);
                chart.Commands.push_back({static_cast<int>(chart.Measures.size()) + 1, beat + 1, code, record.CommandParam});
            }
            std::optional<ChartChord> chord;
            if (data::StartsChord(record) && record.ChordType > 0) {
                chord = ChartChord{chords::PitchClass(record.ChordRoot + songTranspose + transpose),
                                   data::DisplayChordType(record)};
                if (!firstChord) firstChord = chord;
            }
            measure.Beats.push_back(chord);
        }
        chart.Measures.push_back(std::move(measure));
    }
    if (!keyFound && firstChord) {
        chart.KeyRoot = firstChord->Root;
        chart.KeyMinor = MinorType(firstChord->Type);
    }
    return chart;
}

std::vector<data::BeatRecord> BeatsFromChart(ChordChart& chart) {
    const int beats = std::clamp(chart.BeatsPerMeasure, 1, 16);
    const int maxMeasures = MaxSongMeasures(beats * data::BeatRecordSize);
    if (static_cast<int>(chart.Measures.size()) > maxMeasures) {
        chart.Warnings.push_back("only the first " + std::to_string(maxMeasures) + " of " +
                                 std::to_string(chart.Measures.size()) + " measures fit into a song");
        chart.Measures.resize(static_cast<std::size_t>(maxMeasures));
    }
    std::vector<data::BeatRecord> records(chart.Measures.size() * static_cast<std::size_t>(beats));
    const auto at = [&](std::size_t measure, int beat) -> data::BeatRecord& {
        return records[measure * static_cast<std::size_t>(beats) + static_cast<std::size_t>(beat)];
    };
    constexpr std::size_t NoRepeat = static_cast<std::size_t>(-1);
    std::size_t openRepeat = NoRepeat;
    for (std::size_t index = 0; index < chart.Measures.size(); ++index) {
        const ChartMeasure& measure = chart.Measures[index];
        for (int beat = 0; beat < beats && beat < static_cast<int>(measure.Beats.size()); ++beat) {
            const auto& chord = measure.Beats[static_cast<std::size_t>(beat)];
            if (!chord) continue;
            at(index, beat).ChordRoot = static_cast<std::uint8_t>(ChartRootOctave + chords::PitchClass(chord->Root));
            at(index, beat).ChordType = static_cast<std::uint8_t>(chords::IsTableType(chord->Type) ? chord->Type : 1);
        }
        if (measure.RepeatTimes > 0) {
            if (openRepeat != NoRepeat) {
                chart.Warnings.push_back("repeat at measure " + std::to_string(openRepeat + 1) +
                                         " has no end; it is left out");
                at(openRepeat, 0).CommandCode = at(openRepeat, 0).CommandParam = 0;
            }
            openRepeat = index;
            at(index, 0).CommandCode = data::CommandLoop;
            at(index, 0).CommandParam =
                static_cast<std::uint8_t>(data::LoopStartBase + std::clamp(measure.RepeatTimes, 1, MaxLoopRepeats));
        }
        if (measure.RepeatEnd) {
            if (openRepeat == NoRepeat) {
                // An end without a start repeats from the beginning, as players read it.
                chart.Warnings.push_back("repeat ending at measure " + std::to_string(index + 1) +
                                         " has no start; it repeats from measure 1");
                data::BeatRecord& first = at(0, 0);
                if (first.CommandCode == 0) {
                    first.CommandCode = data::CommandLoop;
                    first.CommandParam = data::LoopStartBase + 2;
                    openRepeat = 0;
                }
            }
            if (openRepeat != NoRepeat) {
                data::BeatRecord& last = at(index, beats - 1);
                if (last.CommandCode == 0) {
                    last.CommandCode = data::CommandLoop;
                    last.CommandParam = 0;
                } else {
                    chart.Warnings.push_back("repeat ending at measure " + std::to_string(index + 1) + " left out");
                }
                openRepeat = NoRepeat;
            }
        }
    }
    if (openRepeat != NoRepeat) {
        chart.Warnings.push_back("repeat at measure " + std::to_string(openRepeat + 1) + " has no end; it is left out");
        at(openRepeat, 0).CommandCode = at(openRepeat, 0).CommandParam = 0;
    }
    bool keyMarked = false;
    for (const ChartCommand& command : chart.Commands) {
        const bool inside = command.Measure >= 1 && command.Measure <= static_cast<int>(chart.Measures.size()) &&
                            command.Beat >= 1 && command.Beat <= beats;
        if (!inside || !TravelsAsChartCommand(command.Code, command.Param)) continue;
        data::BeatRecord& record = at(static_cast<std::size_t>(command.Measure - 1), command.Beat - 1);
        if (record.CommandCode != 0 || record.CommandParam != 0) {
            chart.Warnings.push_back("command at " + std::to_string(command.Measure) + "." + std::to_string(command.Beat) +
                                     " left out: the beat holds a repeat");
            continue;
        }
        record.CommandCode = static_cast<std::uint8_t>(command.Code);
        record.CommandParam = static_cast<std::uint8_t>(command.Param);
        keyMarked = keyMarked || IsKeyMark(record);
    }
    // The key as a key mark on the first beat, unless a repeat starts there or the chart marks keys itself.
    if (!keyMarked && !records.empty() && records[0].CommandCode == 0 && records[0].CommandParam == 0) {
        records[0].CommandCode = static_cast<std::uint8_t>(chords::PitchClass(chart.KeyRoot));
        records[0].CommandParam = chart.KeyMinor ? data::ParamKeyMinor : data::ParamKeyMajor;
    }
    return records;
}

}  // namespace chordella::composer
