#include "engine/ChannelSettings.h"

#include <cstddef>
#include <cstdint>

#include "engine/Outputs.h"
#include "midi/ControllerTable.h"

namespace chordella::engine {

namespace {

bool IsChannel(int channel) { return channel >= 0 && channel < ChannelCount; }

}  // namespace

void SetChannelMute(EngineState& engineState, int channel, bool muted) noexcept {
    if (!IsChannel(channel)) return;
    engineState.ChannelMute[static_cast<std::size_t>(channel)] = muted ? 1 : 0;
}

bool ChannelMuted(const EngineState& engineState, int channel) noexcept {
    return IsChannel(channel) && engineState.ChannelMute[static_cast<std::size_t>(channel)] != 0;
}

void SetSoloFilter(EngineState& engineState, int filter) noexcept {
    if (filter < 0 || filter > ChannelCount) return;
    engineState.SoloFilter = static_cast<std::int16_t>(filter);
}

void SetVoiceChannel(EngineState& engineState, int channel) noexcept {
    if (!IsChannel(channel)) return;
    engineState.VoiceChannel = static_cast<std::int16_t>(channel);
}

void SetKeyboardOctave(EngineState& engineState, int octaves) noexcept {
    if (octaves < -3 || octaves > 4) return;
    engineState.KeyboardOctave = static_cast<std::int16_t>(octaves);
}

void HoldVolume(EngineState& engineState, int channel, int volume) noexcept {
    if (!IsChannel(channel) || volume < 0 || volume > 127) return;
    engineState.HeldVolume[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(volume);
}

void ReleaseHeldVolumes(EngineState& engineState) noexcept { engineState.HeldVolume = EngineState::NoHeldVolumes(); }

void ResendChannelSettings(midi::MidiOut* out, const midi::ControllerTable& table, int channel) noexcept {
    if (!IsChannel(channel)) return;
    const int controlChange = 0xB0 | channel;
    auto resend = [&](int controller) {
        const std::uint8_t value = table.Value(channel, controller);
        if (value != midi::ControllerTable::Unknown) Send(out, controlChange, controller, value);
    };
    // Bank select before the program, as a synth takes them.
    resend(0);
    resend(32);
    const std::uint8_t program = table.Value(channel, midi::ControllerTable::ProgramIndex);
    if (program != midi::ControllerTable::Unknown) Send(out, 0xC0 | channel, program, 0);
    for (const int controller : {7, 10, 91, 93}) resend(controller);
}

}  // namespace chordella::engine
