#pragma once
// Songs for tests, written the way a musician reads them:
//
//   auto song = testing::SongBuilder()                 // 4/4, 120 bpm
//                   .Title("Blues in C")
//                   .At(1).Chord("C").Section(Basic)
//                   .At(2, 3).Chord("F7")
//                   .At(3).LoopStart(2).Chord("G7")
//                   .At(4).LoopEnd()
//                   .NoteAt(1, 1, 60, 1)                  // middle C on beat 1, one beat long
//                   .End();                               // STOP on measure 5, as recording leaves it
//   song.WriteTo(path);  or  song.ApplyTo(state);  or  song.Bytes();
//
// Chords are a root name (C, F#, Bb …) and a suffix: "" maj, m min, 7 7th, m7 min7, dim,
// sus4, add9, 5b, M7 (maj7), aug, 6 6th, mM7, m6 min6, m9 min9, m7b5 m5b7, aug7, sus7; the
// type names of the chord table ("maj", "min7" …) work too. Roots sit in octave 3 (C = 48).

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/ArrangementState.h"
#include "data/ChordMemory.h"
#include "data/SongCommands.h"
#include "data/SongFile.h"
#include "platform/Files.h"

namespace chordella::testing {

class SongBuilder {
public:
    explicit SongBuilder(int beatsPerMeasure = 4) { Meter(beatsPerMeasure).Tempo(120).StartMeasure(1); }

    // Header.
    SongBuilder& Tempo(int bpm) { return Header(data::SongTempoOffset, bpm); }
    SongBuilder& Meter(int beatsPerMeasure) {
        beats_ = beatsPerMeasure;
        return Header(data::SongMeterOffset, beatsPerMeasure * data::BeatRecordSize);
    }
    SongBuilder& StartMeasure(int measure) { return Header(data::SongStartMeasureOffset, measure); }
    SongBuilder& MelodyProgram(int program) { return Header(data::MelodyProgramOffset, program); }
    int MeasureUnits() const { return beats_ * data::BeatRecordSize; }

    // The beat the next chords and commands go to.
    SongBuilder& At(int measure, int beat = 1) {
        position_ = data::PositionOf(measure, beat, MeasureUnits());
        if (position_ < data::ChordMemoryHeaderSize || position_ > data::ChordMemorySize - data::BeatRecordSize)
            throw std::out_of_range("SongBuilder: measure outside the chord memory");
        end_ = std::max(end_, MeasureEnd(measure));
        return *this;
    }
    // Extends the song to `measures` full measures (the length of the chord memory).
    SongBuilder& Measures(int measures) {
        end_ = std::max(end_, MeasureEnd(measures));
        return *this;
    }
    // Ends the song as a recording does: STOP on the first beat of the next measure,
    // which is the song's last measure.
    SongBuilder& End() {
        const int measures = data::MeasureCount(end_, MeasureUnits());
        return At(measures + 1).Stop();
    }

    // Chords and commands at the current beat.
    SongBuilder& Chord(std::string_view name) {
        const auto [root, type] = ParseChord(name);
        return Set([&](data::BeatRecord& r) { r.ChordRoot = root, r.ChordType = type; });
    }
    SongBuilder& Command(int code, int param) {
        return Set([&](data::BeatRecord& r) { r.CommandCode = Byte(code), r.CommandParam = Byte(param); });
    }
    SongBuilder& Section(int keyNote) { return Command(keyNote, data::ParamSectionKey); }
    SongBuilder& LoopStart(int repeats) { return Command(data::CommandLoop, data::LoopStartBase + repeats); }
    SongBuilder& LoopEnd() { return Command(data::CommandLoop, 0); }
    SongBuilder& Transpose(int semitones) { return Command(data::CommandTranspose, data::TransposeParam(semitones)); }
    SongBuilder& TempoChange(int bpm) { return Command(data::CommandTempo, bpm); }
    SongBuilder& Solo(int channel) { return Command(data::CommandChannels, channel); }
    SongBuilder& PlayAll() { return Command(data::CommandChannels, 0); }
    SongBuilder& Mute(int channel) { return Command(data::CommandChannels, 238 - channel); }
    SongBuilder& Stop() { return Command(data::CommandStop, 0); }

    // Melody: a note `beats` long from (measure, beat), on a channel (0-based).
    SongBuilder& NoteAt(int measure, int beat, int note, int beatsLong, int velocity = 100, int channel = 0) {
        const int tick = ((measure - 1) * beats_ + (beat - 1)) * 24;
        return Note(tick, note, velocity, beatsLong * 24, channel);
    }
    SongBuilder& Note(int tick, int note, int velocity, int lengthTicks, int channel = 0) {
        Event(tick, static_cast<std::uint8_t>(0x90 | channel), note, velocity);
        return Event(tick + lengthTicks, static_cast<std::uint8_t>(0x90 | channel), note, 0);
    }
    SongBuilder& Event(int tick, std::uint8_t status, int data1, int data2) {
        melody_.push_back({tick, status, Byte(data1), Byte(data2), data::IsNoteStatus(status)});
        return *this;
    }

    // Text and style.
    SongBuilder& Title(std::string text) { return Text(&data::SongText::SongTitle, std::move(text)); }
    SongBuilder& Comments(std::string text) { return Text(&data::SongText::SongComments, std::move(text)); }
    SongBuilder& Style(std::string path) {
        style_ = std::move(path);
        hasStyle_ = true;
        return *this;
    }

    // Results.
    int Length() const { return std::max(end_, data::ChordMemoryHeaderSize); }
    std::vector<std::uint8_t> MemoryBytes() const {
        return {memory_.begin(), memory_.begin() + Length()};
    }
    data::SongFileContent Content() const {
        data::SongFileContent content;
        content.Melody = melody_;
        std::stable_sort(content.Melody.begin(), content.Melody.end(),
                         [](const data::MelodyEvent& a, const data::MelodyEvent& b) { return a.Time < b.Time; });
        content.Form = melody_.empty() ? data::SongFileForm::Full : data::SongFileForm::FullWithMelody;
        content.Text = text_;
        content.HasText = true;
        content.HasStyleReference = hasStyle_;
        content.StyleReference = style_;
        content.ChordMemory = MemoryBytes();
        return content;
    }
    // The full form, as the program saves songs.
    std::vector<std::uint8_t> Bytes() const { return data::WriteSongFile(Content()); }
    // The short form: 0xFE and the chord memory, nothing else.
    std::vector<std::uint8_t> ShortFormBytes() const {
        auto bytes = MemoryBytes();
        bytes.insert(bytes.begin(), data::ShortFormMarker);
        return bytes;
    }
    void WriteTo(const std::string& path) const { WriteBytes(path, Bytes()); }
    static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::string error;
        if (!platform::WriteFileAtomically(path, bytes, error)) throw std::runtime_error(error);
    }
    void ApplyTo(data::ArrangementState& song) const { data::ApplySongFile(Content(), song); }

    // "F#m7" → (54, 4).
    static std::pair<std::uint8_t, std::uint8_t> ParseChord(std::string_view name) {
        const int pitchClass = PitchClass(name);
        const std::size_t rootLength = name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? 2 : 1;
        return {static_cast<std::uint8_t>(48 + pitchClass), TypeOf(name.substr(rootLength))};
    }
    static int PitchClass(std::string_view name) {
        static constexpr std::string_view Letters = "C D EF G A B";
        if (name.empty() || Letters.find(name[0]) == std::string_view::npos || name[0] == ' ')
            throw std::invalid_argument("SongBuilder: no root in chord name");
        int pitchClass = static_cast<int>(Letters.find(name[0]));
        if (name.size() > 1 && name[1] == '#') ++pitchClass;
        if (name.size() > 1 && name[1] == 'b') --pitchClass;
        return (pitchClass + 12) % 12;
    }

private:
    static std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

    static std::uint8_t TypeOf(std::string_view suffix) {
        static constexpr std::array<std::pair<std::string_view, int>, 34> Suffixes = {{
            {"", 1},      {"maj", 1},   {"m", 2},     {"min", 2},    {"7", 3},     {"7th", 3},  {"m7", 4},
            {"min7", 4},  {"dim", 5},   {"sus4", 6},  {"add9", 7},   {"5b", 8},    {"M7", 9},   {"maj7", 9},
            {"aug", 10},  {"6", 11},    {"6th", 11},  {"mM7", 12},   {"m6", 13},   {"min6", 13}, {"m9", 14},
            {"min9", 14}, {"m7b5", 15}, {"m5b7", 15}, {"aug7", 16},  {"sus7", 17}, {"7sus4", 17}, {"+", 10},
            {"+7", 16},   {"o", 5},     {"-", 2},     {"-7", 4},     {"M", 1},     {"sus", 6},
        }};
        for (const auto& [text, type] : Suffixes)
            if (text == suffix) return static_cast<std::uint8_t>(type);
        throw std::invalid_argument("SongBuilder: unknown chord type");
    }

    int MeasureEnd(int measure) const { return data::PositionOf(measure + 1, 1, MeasureUnits()); }

    SongBuilder& Header(int offset, int value) {
        memory_[static_cast<std::size_t>(offset)] = Byte(value);
        return *this;
    }
    template <typename Change>
    SongBuilder& Set(Change change) {
        if (position_ < data::ChordMemoryHeaderSize) At(1);
        auto at = memory_.begin() + position_;
        data::BeatRecord record{at[0], at[1], at[2], at[3]};
        change(record);
        at[0] = record.ChordRoot, at[1] = record.ChordType, at[2] = record.CommandCode, at[3] = record.CommandParam;
        return *this;
    }
    SongBuilder& Text(std::string data::SongText::*field, std::string text) {
        text_.*field = std::move(text);
        return *this;
    }

    std::array<std::uint8_t, data::ChordMemorySize> memory_{};
    int beats_ = 4;
    int position_ = 0;
    int end_ = 0;
    std::vector<data::MelodyEvent> melody_;
    data::SongText text_;
    std::string style_;
    bool hasStyle_ = false;
};

}  // namespace chordella::testing
