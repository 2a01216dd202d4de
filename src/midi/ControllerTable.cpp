#include "midi/ControllerTable.h"

namespace chordella::midi {

std::uint8_t ControllerTable::Value(int channel, int index) const {
    if (!Inside(channel, index)) return Unknown;
    return rows_[channel][index].load(std::memory_order_relaxed);
}

void ControllerTable::SetValue(int channel, int index, std::uint8_t value) {
    if (Inside(channel, index)) rows_[channel][index].store(value, std::memory_order_relaxed);
}

std::string ControllerTable::ValueText(int channel, int index) const {
    const std::uint8_t value = Value(channel, index);
    return value == Unknown ? std::string() : std::to_string(value);
}

void ControllerTable::Clear() {
    for (int channel = 0; channel < Channels; ++channel) ClearChannel(channel);
}

void ControllerTable::ClearChannel(int channel) {
    if (channel < 0 || channel >= Channels) return;
    for (auto& entry : rows_[channel]) entry.store(Unknown, std::memory_order_relaxed);
}

void ControllerTable::CopyChannel(int destination, int source) {
    if (!Inside(destination, 0) || !Inside(source, 0) || destination == source) return;
    for (int index = 0; index < RowSize; ++index) SetValue(destination, index, Value(source, index));
}

void ControllerTable::CopyFrom(const ControllerTable& other) {
    for (int channel = 0; channel < Channels; ++channel)
        for (int index = 0; index < RowSize; ++index) SetValue(channel, index, other.Value(channel, index));
}

bool IsTrackedController(int controller) {
    switch (controller) {
        case 0: case 7: case 10: case 11: case 32: case 91: case 93: return true;
        default: return false;
    }
}

bool ControllerChanged(ControllerTable& table, int kind, int channel, int data1, int data2, bool keepKnown) {
    int index = 0;
    int value = 0;
    switch (kind) {
        case 0xB0:
            if (!IsTrackedController(data1)) return true;
            index = data1;
            value = data2;
            break;
        case 0xC0:
            index = ControllerTable::ProgramIndex;
            value = data1;
            break;
        case 0xD0:
            index = ControllerTable::PressureIndex;
            value = data1;
            break;
        default:
            return true;
    }
    if (channel < 0 || channel >= ControllerTable::Channels) return true;
    const std::uint8_t known = table.Value(channel, index);
    if (known == value) return false;
    if (keepKnown && known != ControllerTable::Unknown) return true;
    table.SetValue(channel, index, static_cast<std::uint8_t>(value));
    return true;
}

}  // namespace chordella::midi
