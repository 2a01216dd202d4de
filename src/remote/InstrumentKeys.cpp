#include "remote/InstrumentKeys.h"

#include "remote/RemoteFunctions.h"

#include <cstdio>

namespace chordella::remote {

namespace {

constexpr std::size_t FieldWidth = 3;
constexpr std::size_t CodesEnd = FieldWidth * (1 + SetKeyCount);  // columns 4-39
constexpr std::size_t ChannelEnd = CodesEnd + FieldWidth;         // columns 40-42

std::optional<int> Field(std::string_view text, std::size_t index) {
    int value = 0;
    for (const char c : text.substr(index * FieldWidth, FieldWidth)) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string Three(int value) {
    char field[8];
    std::snprintf(field, sizeof field, "%-3.3d", value < 0 ? 0 : value > 999 ? 999 : value);
    return field;
}

}  // namespace

std::string_view BuiltInInstrumentSet(std::string_view standard) {
    if (standard == "gs") return BuiltInGsSet;
    if (standard == "xg") return BuiltInXgSet;
    return BuiltInGmSet;
}

void InstrumentKeyTable::SetInstrumentKey(int i, int code) {
    if (i < 0 || i >= InstrumentKeyCount) return;
    InstrumentKeyRecord& r = records_[static_cast<std::size_t>(i)];
    if (code < FirstCommandCode) {
        if (code < 0 || code >= listEntries_ - 1) code = 0;
        r = {static_cast<std::int16_t>(code), 105, 64, 75, 10};
    } else {
        r = {static_cast<std::int16_t>(code > 999 ? 999 : code), 1, 0, 0, 0};
    }
}

void InstrumentKeyTable::StoreFromMixer(int i, int code, int volume, int pan, int reverb, int chorus) {
    if (i < 0 || i >= InstrumentKeyCount) return;
    records_[static_cast<std::size_t>(i)] = {static_cast<std::int16_t>(code), static_cast<std::int16_t>(volume),
                                             static_cast<std::int16_t>(pan), static_cast<std::int16_t>(reverb),
                                             static_cast<std::int16_t>(chorus)};
}

void InstrumentKeyTable::SetFunction(int i, int f) {
    if (i < 0 || i >= InstrumentKeyCount || f < 0 || f >= 34) return;
    const int code = f < 24 ? FirstFunctionCode + f : FirstCommandCode + f;
    records_[static_cast<std::size_t>(i)] = {static_cast<std::int16_t>(code), 1, 0, 0, 0};
}

std::optional<int> InstrumentKeyTable::LoadInstrumentSet(std::string_view text) {
    if (text.size() < CodesEnd) return std::nullopt;
    std::array<int, SetKeyCount> codes{};
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const std::optional<int> code = Field(text, k + 1);
        if (!code) return std::nullopt;
        codes[k] = *code;
    }
    for (int k = 0; k < SetKeyCount; ++k) SetInstrumentKey(k, codes[static_cast<std::size_t>(k)]);
    // The channel follows the codes; in a text of the thirteen-code form these columns hold
    // a code (900 or more), which is no channel.
    int channel = -1;
    if (text.size() >= ChannelEnd) {
        const std::optional<int> field = Field(text, SetKeyCount + 1);
        if (field && *field >= 1 && *field <= 16) channel = *field - 1;
    }
    return channel;
}

bool InstrumentKeyTable::LoadFunctionSet(std::string_view text) {
    if (!LoadInstrumentSet(text)) return false;
    for (int k = 0; k < SetKeyCount; ++k)
        records_[static_cast<std::size_t>(FirstFunctionKey + k)] = records_[static_cast<std::size_t>(k)];
    return true;
}

std::string InstrumentKeyTable::MakeSetText(int minusOneChannel) const {
    std::string text = Three(listEntries_);
    for (int k = 0; k < SetKeyCount; ++k) text += Three(records_[static_cast<std::size_t>(k)].Code);
    text += Three(minusOneChannel >= 0 && minusOneChannel < 16 ? minusOneChannel + 1 : 0);
    return text;
}

int InstrumentKeyTable::FunctionCode(int key) const {
    if (key < 0 || key >= SetKeyCount) return 0;
    const InstrumentKeyRecord& r = records_[static_cast<std::size_t>(FirstFunctionKey + key)];
    return r.Assigned() ? r.Code : 0;
}

std::string InstrumentKeyName(const InstrumentKeyTable& table, int i, const std::vector<std::string>& instrumentList) {
    if (i < 0 || i >= InstrumentKeyCount) return {};
    const InstrumentKeyRecord& record = table.Record(i);
    if (!record.Assigned()) return {};
    if (record.Code >= FirstFunctionCode) return FunctionName(record.Code - FirstFunctionCode);
    if (record.Code >= FirstCommandCode) return FunctionName(record.Code - MidiCommandCodeOffset);
    // The list's last line is its descriptor, never an instrument.
    if (record.Code < 0 || static_cast<std::size_t>(record.Code) + 1 >= instrumentList.size()) return {};
    return instrumentList[static_cast<std::size_t>(record.Code)];
}

}  // namespace chordella::remote
