#include "make_assets/SongSource.h"

#include <algorithm>
#include <array>
#include <utility>

#include "data/ChordMemory.h"
#include "data/SongCommands.h"
#include "make_assets/Notation.h"

namespace chordella::tools {

namespace {

class SongCompiler {
public:
    bool Compile(std::string_view source, CompiledSong& song, std::string& error);

private:
    bool Fail(int line, const std::string& reason) {
        error_ = "line " + std::to_string(line) + ": " + reason;
        return false;
    }
    bool ReadLine(int number, const std::vector<std::string>& words);
    bool ReadBar(int number, const std::vector<std::string>& words);
    bool ReadCommand(int number, std::string_view command, data::BeatRecord& record);
    bool ReadMelody(int number, const std::vector<std::string>& words);
    int Units() const { return beats_ * data::BeatRecordSize; }
    bool Record(int number, int measure, int beat, data::BeatRecord*& record);

    std::string error_;
    CompiledSong song_;
    std::array<std::uint8_t, data::ChordMemorySize> memory_{};
    std::array<data::BeatRecord, (data::ChordMemorySize - data::ChordMemoryHeaderSize) / data::BeatRecordSize> records_{};
    int beats_ = 4;
    int end_ = 0;
    bool stopped_ = false;
};

bool SongCompiler::Compile(std::string_view source, CompiledSong& song, std::string& error) {
    memory_[data::SongStartMeasureOffset] = 1;
    memory_[data::SongTempoOffset] = 120;
    memory_[data::SongMeterOffset] = 16;
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        auto end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view text = source.substr(start, end - start);
        start = end + 1;
        ++number;
        text = WithoutComment(text);
        const auto words = SplitWords(text);
        if (!words.empty() && !ReadLine(number, words)) {
            error = error_;
            return false;
        }
    }
    if (song_.FileName.empty() || !stopped_) {
        error = "a song needs a \"song NAME.vxa\" line and an \"end BAR\" line";
        return false;
    }
    if (song_.Content.Melody.size() > static_cast<std::size_t>(data::DefaultMelodyCapacity)) {
        error = "the melody has " + std::to_string(song_.Content.Melody.size()) + " events, more than a song holds (" +
                std::to_string(data::DefaultMelodyCapacity) + ")";
        return false;
    }
    std::stable_sort(song_.Content.Melody.begin(), song_.Content.Melody.end(),
                     [](const data::MelodyEvent& a, const data::MelodyEvent& b) { return a.Time < b.Time; });
    song_.Content.Form = song_.Content.Melody.empty() ? data::SongFileForm::Full : data::SongFileForm::FullWithMelody;
    song_.Content.HasText = true;
    for (std::size_t r = 0; r < records_.size(); ++r) {
        const data::BeatRecord& record = records_[r];
        const std::size_t at = data::ChordMemoryHeaderSize + r * data::BeatRecordSize;
        memory_[at] = record.ChordRoot, memory_[at + 1] = record.ChordType;
        memory_[at + 2] = record.CommandCode, memory_[at + 3] = record.CommandParam;
    }
    song_.Content.ChordMemory.assign(memory_.begin(), memory_.begin() + end_);
    song = std::move(song_);
    return true;
}

bool SongCompiler::ReadLine(int number, const std::vector<std::string>& words) {
    const std::string& word = words[0];
    std::string reason;
    int value = 0;
    const auto one = [&](int low, int high) { return words.size() == 2 && ParseNumber(words[1], low, high, value, reason); };
    if (word == "song" && words.size() == 2 && words[1].ends_with(".vxa")) {
        song_.FileName = words[1];
    } else if (word == "style" && words.size() == 2) {
        song_.Content.HasStyleReference = true;
        song_.Content.StyleReference = words[1];
    } else if (word == "tempo") {
        if (!one(25, 250)) return Fail(number, "tempo: " + reason);
        memory_[data::SongTempoOffset] = static_cast<std::uint8_t>(value);
    } else if (word == "meter") {
        if (!one(2, 7)) return Fail(number, "meter: " + reason);
        beats_ = value;
        memory_[data::SongMeterOffset] = static_cast<std::uint8_t>(Units());
    } else if (word == "melody-program") {
        if (!one(0, 127)) return Fail(number, "melody-program: " + reason);
        memory_[data::MelodyProgramOffset] = static_cast<std::uint8_t>(value);
    } else if (words.size() == 2 && (word == "title" || word == "subtitle" || word == "author" || word == "rights")) {
        auto& text = song_.Content.Text;
        (word == "title" ? text.SongTitle : word == "subtitle" ? text.SongSubtitle : word == "author" ? text.SongAuthor : text.SongRights) = words[1];
    } else if (word == "comment" && words.size() == 2) {
        auto& comments = song_.Content.Text.SongComments;
        comments += (comments.empty() ? "" : "\r\n") + words[1];
    } else if (word == "bar") {
        return ReadBar(number, words);
    } else if (word == "melody") {
        return ReadMelody(number, words);
    } else if (word == "end") {
        if (!one(2, 200)) return Fail(number, "end: " + reason);
        data::BeatRecord* record = nullptr;
        if (!Record(number, value, 1, record)) return false;
        record->CommandCode = data::CommandStop;
        stopped_ = true;
    } else {
        return Fail(number, "unknown or incomplete line \"" + word + "\"");
    }
    return true;
}

bool SongCompiler::Record(int number, int measure, int beat, data::BeatRecord*& record) {
    const int position = data::PositionOf(measure, beat, Units());
    if (measure < 1 || beat < 1 || beat > beats_ || position + data::BeatRecordSize > data::ChordMemorySize)
        return Fail(number, "bar " + std::to_string(measure) + " beat " + std::to_string(beat) + " lies outside the song");
    end_ = std::max(end_, data::PositionOf(measure + 1, 1, Units()));
    record = &records_[static_cast<std::size_t>((position - data::ChordMemoryHeaderSize) / data::BeatRecordSize)];
    return true;
}

bool SongCompiler::ReadBar(int number, const std::vector<std::string>& words) {
    std::string reason;
    int measure = 0;
    if (words.size() < 2 || !ParseNumber(words[1], 1, 200, measure, reason)) return Fail(number, "bar: " + reason);
    for (std::size_t i = 2; i < words.size(); ++i) {
        std::string_view item = words[i];
        int beat = 1;
        if (const auto at = item.find('@'); at != std::string_view::npos) {
            if (!ParseNumber(item.substr(at + 1), 1, beats_, beat, reason)) return Fail(number, "beat of \"" + words[i] + "\": " + reason);
            item = item.substr(0, at);
        }
        data::BeatRecord* record = nullptr;
        if (!Record(number, measure, beat, record)) return false;
        if (item.starts_with("!")) {
            if (record->CommandCode != 0) return Fail(number, "two commands on one beat");
            if (!ReadCommand(number, item.substr(1), *record)) return false;
            continue;
        }
        int root = 0;
        int type = 0;
        if (!ParseChord(item, root, type, reason)) return Fail(number, reason);
        record->ChordRoot = static_cast<std::uint8_t>(root);
        record->ChordType = static_cast<std::uint8_t>(type);
    }
    return true;
}

bool SongCompiler::ReadCommand(int number, std::string_view command, data::BeatRecord& record) {
    // The section keys as a fresh configuration assigns them; the order of SectionKeyNotes.
    static constexpr std::array<std::string_view, 9> Keys = {"fill", "tobasic", "ending", "toext", "intro",
                                                             "padon", "padoff", "ext", "basic"};
    const auto keyNotes = data::SectionKeyNotes::Defaults().Notes;
    for (std::size_t k = 0; k < Keys.size(); ++k) {
        if (command == Keys[k]) {
            record.CommandCode = static_cast<std::uint8_t>(keyNotes[k]);
            record.CommandParam = data::ParamSectionKey;
            return true;
        }
    }
    std::string reason;
    int value = 0;
    if (command == "loopend") {
        record.CommandCode = data::CommandLoop;
        record.CommandParam = 0;
    } else if (command == "stop") {
        record.CommandCode = data::CommandStop;
    } else if (command.starts_with("loop:") && ParseNumber(command.substr(5), 1, 155, value, reason)) {
        record.CommandCode = data::CommandLoop;
        record.CommandParam = static_cast<std::uint8_t>(data::LoopStartBase + value);
    } else if (command.starts_with("tempo:") && ParseNumber(command.substr(6), 25, 250, value, reason)) {
        record.CommandCode = data::CommandTempo;
        record.CommandParam = static_cast<std::uint8_t>(value);
    } else {
        return Fail(number, "unknown command \"!" + std::string(command) + "\"" + (reason.empty() ? "" : ": " + reason));
    }
    return true;
}

bool SongCompiler::ReadMelody(int number, const std::vector<std::string>& words) {
    std::string items;
    for (std::size_t i = 1; i < words.size(); ++i) items += words[i] + " ";
    for (const std::string& item : SplitTrimmed(items, ',')) {
        const auto parts = SplitWords(item);
        std::string reason;
        int at = 0;
        int note = 0;
        int length = 0;
        int velocity = 96;
        if (parts.size() < 3 || parts.size() > 4 || !ParsePosition(parts[0], beats_, at, reason) ||
            !ParsePitch(parts[1], note, reason) || !ParseLength(parts[2], length, reason) ||
            (parts.size() == 4 && !ParseNumber(parts[3], 1, 127, velocity, reason)))
            return Fail(number, "melody \"" + item + "\": " + (reason.empty() ? "expected position pitch length [velocity]" : reason));
        const auto key = static_cast<std::uint8_t>(note);
        song_.Content.Melody.push_back({at, 0x90, key, static_cast<std::uint8_t>(velocity), 1});
        // Released a little before the written length, so repeated notes are heard apart.
        song_.Content.Melody.push_back({at + std::max(1, length - 2), 0x90, key, 0, 1});
    }
    return true;
}

}  // namespace

bool CompileSong(std::string_view source, CompiledSong& song, std::string& error) {
    SongCompiler compiler;
    return compiler.Compile(source, song, error);
}

}  // namespace chordella::tools
