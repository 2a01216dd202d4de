#include "engine/ChannelSettings.h"

#include <cstddef>
#include <cstdint>

#include "core/Session.h"

namespace chordella::engine {

namespace {

bool IsChannel(int channel) { return channel >= 0 && channel < ChannelCount; }

}  // namespace

void SetChannelMute(core::Session& session, int channel, bool muted) noexcept {
    if (!IsChannel(channel)) return;
    session.App().engine.ChannelMute[static_cast<std::size_t>(channel)] = muted ? 1 : 0;
}

bool ChannelMuted(core::Session& session, int channel) noexcept {
    return IsChannel(channel) && session.App().engine.ChannelMute[static_cast<std::size_t>(channel)] != 0;
}

void SetSoloFilter(core::Session& session, int filter) noexcept {
    if (filter < 0 || filter > ChannelCount) return;
    session.App().engine.SoloFilter = static_cast<std::int16_t>(filter);
}

void SetVoiceChannel(core::Session& session, int channel) noexcept {
    if (!IsChannel(channel)) return;
    session.App().engine.VoiceChannel = static_cast<std::int16_t>(channel);
}

void SetKeyboardOctave(core::Session& session, int octaves) noexcept {
    if (octaves < -3 || octaves > 4) return;
    session.App().engine.KeyboardOctave = static_cast<std::int16_t>(octaves);
}

void HoldVolume(core::Session& session, int channel, int volume) noexcept {
    if (!IsChannel(channel) || volume < 0 || volume > 127) return;
    session.App().engine.HeldVolume[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(volume);
}

void ReleaseHeldVolumes(core::Session& session) noexcept { session.App().engine.HeldVolume = EngineState::NoHeldVolumes(); }

}  // namespace chordella::engine
