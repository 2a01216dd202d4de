#include "composer/GeneratedSong.h"

#include <algorithm>

namespace chordella::composer {

namespace {

std::string JoinNumbers(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += '-';
        text += std::to_string(numbers[i]);
    }
    return text;
}

}  // namespace

std::string GeneratedSong::ProgressionText() const { return Rows.empty() ? std::string{} : "Progr. " + JoinNumbers(Rows); }

std::string GeneratedSong::BarsText() const { return Bars.empty() ? std::string{} : "Bars: " + JoinNumbers(Bars); }

data::BeatRecord GeneratedSong::RecordAt(int position) const {
    if (position < data::ChordMemoryHeaderSize || MeasureUnits < 4) return {};
    const int measure = (position - 4) / MeasureUnits;
    const int beat = ((position - 4) % MeasureUnits) / 4;
    if (measure >= static_cast<int>(Measures.size())) return {};
    const auto& records = Measures[static_cast<std::size_t>(measure)];
    return beat < static_cast<int>(records.size()) ? records[static_cast<std::size_t>(beat)] : data::BeatRecord{};
}

int GeneratedSong::Length() const { return data::ChordMemoryHeaderSize + static_cast<int>(Measures.size()) * MeasureUnits; }

void WriteGeneratedSong(const GeneratedSong& song, data::ChordMemory& memory) {
    data::ClearChordMemory(memory);
    memory.Bytes[data::SongStartMeasureOffset] = 1;
    memory.Bytes[data::SongTempoOffset] = static_cast<std::uint8_t>(song.Tempo);
    memory.Bytes[data::SongMeterOffset] = static_cast<std::uint8_t>(song.MeasureUnits);
    memory.Bytes[data::MelodyProgramOffset] = 0;
    int length = data::ChordMemoryHeaderSize;
    int position = data::ChordMemoryHeaderSize;
    for (const auto& measure : song.Measures) {
        if (position + static_cast<int>(measure.size()) * data::BeatRecordSize > data::ChordMemoryPositionLimit) break;
        for (const auto& record : measure) {
            memory.SetRecord(position, record);
            position += data::BeatRecordSize;
        }
        length = position;
    }
    memory.ChordMemoryLength = static_cast<std::int16_t>(length);
}

GeneratedSong SongOfChordMemory(const data::ChordMemory& memory) {
    GeneratedSong song;
    const int meter = memory.SongMeter();
    song.MeasureUnits = meter >= 8 && meter <= 48 && meter % 4 == 0 ? meter : 16;
    song.Tempo = memory.SongTempo() >= 25 && memory.SongTempo() <= 250 ? memory.SongTempo() : 120;
    const int beats = song.MeasureUnits / 4;
    for (int position = data::ChordMemoryHeaderSize; position + song.MeasureUnits <= memory.ChordMemoryLength;
         position += song.MeasureUnits) {
        std::vector<data::BeatRecord> measure;
        for (int beat = 0; beat < beats; ++beat) measure.push_back(memory.RecordAt(position + 4 * beat));
        song.Measures.push_back(std::move(measure));
    }
    song.ChordMeasures = std::max(0, static_cast<int>(song.Measures.size()) - 2);
    return song;
}

void KeepMeasures(const GeneratedSong& previous, const std::vector<int>& locked, GeneratedSong& song) {
    if (previous.MeasureUnits != song.MeasureUnits) return;
    for (int measure : locked) {
        const auto index = static_cast<std::size_t>(measure - 1);
        if (measure < 1 || index >= previous.Measures.size() || index >= song.Measures.size()) continue;
        song.Measures[index] = previous.Measures[index];
    }
}

}  // namespace chordella::composer
