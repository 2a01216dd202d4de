#include "core/ChannelReset.h"

#include <cstdint>

#include "midi/MidiOut.h"

namespace chordella::core {

namespace {

constexpr int ChannelCount = 16;
constexpr int AllSoundOff = 120;
constexpr int AllNotesOff = 123;

void SendController(midi::MidiOut* out, int channel, int controller) {
    out->PutShort(static_cast<std::uint8_t>(0xB0 + channel), static_cast<std::uint8_t>(controller), 0);
}

}  // namespace

void ResetChannel(midi::MidiOut* out, int channel) {
    if (out == nullptr || !out->IsOpen() || channel < 0 || channel >= ChannelCount) return;
    SendController(out, channel, 64);
    SendController(out, channel, 66);
    SendController(out, channel, AllNotesOff);
    SendController(out, channel, AllSoundOff);
}

}  // namespace chordella::core
