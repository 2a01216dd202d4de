#include "remote/MidiCommandTable.h"

#include <algorithm>
#include <cstdio>

namespace chordella::remote {

namespace {

constexpr int FieldWidth = 3;
constexpr int FieldsPerCommand = 4;

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::optional<int> Field(std::string_view field) {
    const bool negative = field[0] == '-';
    int value = 0;
    for (std::size_t i = negative ? 1 : 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

MidiCommand Clamped(const MidiCommand& command) {
    MidiCommand out;
    out.Type = std::clamp(command.Type, 0, TypeCount - 1);
    out.Channel = std::clamp(command.Channel, 0, 15);
    out.Value = std::clamp(command.Value, 0, HighestValue);
    out.Data = std::clamp(command.Data, 0, HighestData);
    return out;
}

std::string TableText(const MidiCommandTable& table) {
    std::string text;
    text.reserve(TableTextLength);
    for (const MidiCommand& raw : table.Commands) {
        const MidiCommand command = Clamped(raw);
        for (int value : {command.Type, command.Channel, command.Value, command.Data}) {
            char field[8];
            std::snprintf(field, sizeof field, "%-3.3d", value);
            text += field;
        }
    }
    return text;
}

std::optional<MidiCommandTable> ParseTableText(std::string_view text, std::string* error) {
    if (text.size() != TableTextLength) {
        SetError(error, "the command line holds " + std::to_string(text.size()) + " characters, not " +
                            std::to_string(TableTextLength));
        return std::nullopt;
    }
    std::array<int, CommandCount * FieldsPerCommand> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view field = text.substr(i * FieldWidth, FieldWidth);
        const std::optional<int> value = Field(field);
        if (!value) {
            SetError(error, "field " + std::to_string(i + 1) + " (\"" + std::string(field) + "\") is no number");
            return std::nullopt;
        }
        fields[i] = *value;
    }
    MidiCommandTable table;
    for (int n = 0; n < CommandCount; ++n) {
        const auto at = [&](int k) { return fields[static_cast<std::size_t>(n * FieldsPerCommand + k)]; };
        table.Commands[static_cast<std::size_t>(n)] = Clamped({at(0), at(1), at(2), at(3)});
    }
    return table;
}

}  // namespace chordella::remote
