#include "data/VoiceMap.h"

#include <charconv>

namespace chordella::data {

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
        if (end > at) fields.push_back(line.substr(at, end - at));
        at = end;
    }
    return fields;
}

// A number 0 … 127; "*" gives −1 where `anyAllowed`.
bool Value(std::string_view field, bool anyAllowed, int& value) {
    if (anyAllowed && field == "*") {
        value = -1;
        return true;
    }
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size() && value >= 0 && value <= 127;
}

}  // namespace

std::string VoiceText(const Voice& voice) {
    const auto number = [](int value) { return value < 0 ? std::string("-") : std::to_string(value); };
    return "bank " + number(voice.Msb) + "/" + number(voice.Lsb) + " program " + number(voice.Program);
}

bool IsDrumKit(const Voice& voice) { return voice.Msb == 126 || voice.Msb == 127; }

VoiceMap VoiceMap::Parse(std::string_view text, std::vector<std::string>* problems) {
    static constexpr const char* Columns[] = {"bank MSB", "bank LSB", "program", "General MIDI program"};
    VoiceMap map;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t newline = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, newline - start);
        start = newline + 1;
        ++number;
        line = line.substr(0, std::min(line.find('#'), line.size()));
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.empty()) continue;
        const auto problem = [&](const std::string& why) {
            if (problems) problems->push_back("line " + std::to_string(number) + ": " + why);
        };
        if (fields.size() != 4) {
            problem(std::to_string(fields.size()) + " columns, 4 expected (bank MSB, bank LSB, program, GM program)");
            continue;
        }
        int values[4] = {};
        bool good = true;
        for (int c = 0; c < 4 && good; ++c) {
            good = Value(fields[static_cast<std::size_t>(c)], c == 1, values[c]);
            if (!good) problem(std::string(Columns[c]) + " \"" + std::string(fields[static_cast<std::size_t>(c)]) +
                               "\" is not 0 … 127" + (c == 1 ? " or *" : ""));
        }
        if (good) map.entries_.push_back({values[0], values[1], values[2], values[3]});
    }
    return map;
}

const VoiceMapEntry* VoiceMap::Find(const Voice& voice) const {
    const VoiceMapEntry* any = nullptr;
    for (const VoiceMapEntry& entry : entries_) {
        if (entry.Msb != voice.Msb || entry.Program != voice.Program) continue;
        if (entry.Lsb == voice.Lsb) return &entry;   // an exact LSB wins over "*"
        if (entry.Lsb < 0 && !any) any = &entry;
    }
    return any;
}

int VoiceMap::NearestGm(const Voice& voice) const {
    if (voice.Program < 0 || IsDrumKit(voice)) return -1;
    const VoiceMapEntry* entry = Find(voice);
    return entry ? entry->GmProgram : voice.Program;
}

bool VoiceMap::Lists(const Voice& voice) const { return Find(voice) != nullptr; }

bool VoiceMap::IsBass(const Voice& voice) const {
    const int gm = NearestGm(voice);
    return gm >= FirstGmBass && gm <= LastGmBass;
}

midi::GeneralMidiVoiceTable VoiceMap::ForGeneralMidi() const {
    midi::GeneralMidiVoiceTable table;
    for (bool exact : {true, false})
        for (const VoiceMapEntry& e : entries_)
            if ((e.Lsb >= 0) == exact) table.Voices.push_back({e.Msb, e.Lsb, e.Program, e.GmProgram});
    table.BassChannels = 1U << BassPartChannel;
    return table;
}

const VoiceMap& BuiltInVoiceMap() {
    static const VoiceMap map = VoiceMap::Parse(BuiltInVoiceMapText());
    return map;
}

}  // namespace chordella::data
