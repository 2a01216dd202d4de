#include "composer/ProgramChanges.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "composer/ChordMemoryEditor.h"

namespace chordella::composer {

namespace {

constexpr int NoInterval = 0;  // a program change at the start only
// A record's parameter is one byte: programs above it cannot be stored.
constexpr int HighestStoredProgram = 255;

bool ReadNumber(std::string_view text, int& value) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

int Interval(const ProgramChangeSettings& settings, const std::function<int(int)>& random) {
    if (settings.OnlyAtBeginning && settings.CreatorMeasures > 0) return settings.CreatorMeasures;
    switch (settings.CreatorForm) {
    case 8: return 16;
    case 12: return 12;
    case 16: return 16;
    case 24: return 24;
    default: break;
    }
    if (settings.Randomly) {
        const int r = random(30);
        if (r < 7) return NoInterval;
        return r < 17 ? 8 : 16;
    }
    return settings.EveryEightMeasures ? 8 : 16;
}

int ChooseProgram(const ProgramChangeSettings& settings, const std::function<int(int)>& random) {
    if (settings.UsingCommandKeys) return std::clamp(settings.CommandKey + 128, 0, HighestStoredProgram);
    if (!settings.ProgramList.empty()) {
        const int entry = settings.ProgramList[static_cast<std::size_t>(random(static_cast<int>(settings.ProgramList.size())))];
        return std::clamp(entry, 0, 127);
    }
    const int low = std::clamp(settings.StartNumber, 0, HighestStoredProgram);
    const int high = std::clamp(settings.ProgramCount - 1, low, HighestStoredProgram);
    return low + random(high - low + 1);
}

}  // namespace

ProgramChangeOutcome InsertProgramChanges(data::ChordMemory& memory, int measureUnits,
                                          const ProgramChangeSettings& settings,
                                          const std::function<int(int)>& random) {
    ProgramChangeOutcome outcome;
    const int length = memory.ChordMemoryLength;
    if (measureUnits < 4 || data::MeasureCount(length, measureUnits) < 1) {
        outcome.Message = ChordMemoryIsEmpty;
        return outcome;
    }
    const int interval = Interval(settings, random);
    const int stop = StopPosition(memory);
    const int songEnd = stop > 0 ? stop : length;
    int firstProgram = -1;
    std::vector<int> positions{measureUnits};
    for (int k = 1; interval != NoInterval && k * interval * measureUnits < length; ++k)
        if (k * interval * measureUnits != measureUnits) positions.push_back(k * interval * measureUnits);
    for (const int position : positions) {
        if (position >= length) break;
        if (settings.CreatorRepeatFlag && interval == 8 && position == 8 * measureUnits) continue;
        data::BeatRecord record = memory.RecordAt(position);
        if (record.CommandCode == data::CommandLoop && record.CommandParam == 0) {
            // The loop end makes room by moving one beat earlier, unless a command is there.
            data::BeatRecord before = memory.RecordAt(position - 4);
            if (before.CommandCode != 0) continue;
            before.CommandCode = data::CommandLoop;
            before.CommandParam = 0;
            memory.SetRecord(position - 4, before);
            record.CommandCode = record.CommandParam = 0;
            outcome.LoopEndMoved = true;
        }
        if (record.CommandCode != 0 && record.CommandCode != data::CommandMelodyProgram) continue;
        // Within the last two measures the song returns to its first program.
        const bool nearEnd = position >= songEnd - 2 * measureUnits;
        const int program = nearEnd && firstProgram >= 0 ? firstProgram : ChooseProgram(settings, random);
        if (firstProgram < 0) firstProgram = program;
        record.CommandCode = data::CommandMelodyProgram;
        record.CommandParam = static_cast<std::uint8_t>(program);
        memory.SetRecord(position, record);
        ++outcome.Inserted;
    }
    return outcome;
}

int RemoveProgramChanges(data::ChordMemory& memory, int measureUnits) {
    if (measureUnits < 4) return 0;
    int removed = 0;
    // Every last beat of a measure: the inserted changes of any interval, not only of 8.
    for (int position = measureUnits; position < memory.ChordMemoryLength; position += measureUnits) {
        data::BeatRecord record = memory.RecordAt(position);
        if (record.CommandCode != data::CommandMelodyProgram) continue;
        record.CommandCode = record.CommandParam = 0;
        memory.SetRecord(position, record);
        ++removed;
    }
    return removed;
}

int ReadProgramCount(std::string_view entry, std::string& message) {
    int count = 0;
    if (!ReadNumber(entry, count) || count < 1 || count > 999) {
        message = WrongNumberOfPrograms;
        return DefaultProgramCount;
    }
    return count;
}

int ReadBankNumber(std::string_view entry) {
    int bank = 0;
    if (!ReadNumber(entry, bank) || bank < 0) return -1;
    return std::min(bank, 127);
}

int ReadStartNumber(std::string_view entry) {
    int start = 0;
    if (!ReadNumber(entry, start) || start < 0 || start > 999) return 0;
    return start;
}

std::vector<int> ReadProgramList(std::string_view text, std::string& message) {
    std::vector<int> list;
    std::size_t lines = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.find_first_not_of(" \r\t") == std::string_view::npos) continue;
        ++lines;
        int program = 0;
        if (list.size() < MaxListEntries && ReadNumber(line.substr(0, 3), program)) list.push_back(std::clamp(program, 0, 127));
    }
    if (lines > MaxListEntries) message = WrongNumberOfEntries;
    return list;
}

std::string ProgramListText() {
    std::string text;
    for (int program = 0; program < 128; ++program) {
        char line[8];
        std::snprintf(line, sizeof line, "%03d\n", program);
        text += line;
    }
    return text;
}

}  // namespace chordella::composer
