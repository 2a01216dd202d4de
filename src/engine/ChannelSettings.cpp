#include "engine/ChannelSettings.h"

#include <cstddef>
#include <cstdint>


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

}  // namespace chordella::engine
