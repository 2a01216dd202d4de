#include "stylecreator/VolumeNormalisation.h"

#include <algorithm>

namespace chordella::stylecreator {

namespace {

constexpr int VolumeController = 7;
constexpr int ExpressionController = 11;
constexpr int ReverbController = 91;
constexpr int UnsetReverb = 64;
constexpr std::array<int, 13> CurveIn = {20, 30, 40, 50, 58, 65, 70, 75, 80, 85, 90, 95, 100};
constexpr std::array<int, 13> CurveOut = {28, 38, 48, 57, 66, 72, 76, 78, 80, 82, 85, 88, 90};

std::uint8_t& Setup(data::StyleState& style, int channel, int controller) {
    return style.Header.ChannelSetup[static_cast<std::size_t>(channel)][static_cast<std::size_t>(controller)];
}

bool Used(const data::StyleState& style, int channel) {
    return style.Header.ChannelUsed[static_cast<std::size_t>(channel)] != 0;
}

// The reference level: the first set volume that differs from the target, replaced by a later
// one only when that is above it by less than 15 (channel 10 and, when soloing on channel 1,
// channel 1 left out). The target itself when there is none.
int ReferenceLevel(const NormalisationState& state, const NormaliseSettings& settings, int target) {
    int reference = -1;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        if (channel == DrumChannel || (channel == 0 && settings.SoloOnChannel1)) continue;
        const int volume = state.SavedVolumes[static_cast<std::size_t>(channel)];
        if (volume == 0 || volume == target) continue;
        if (reference < 0) reference = volume;
        else if (volume > reference && volume < reference + 15) reference = volume;
    }
    return reference < 0 ? target : reference;
}

}  // namespace

int VolumeCurve(int volume) {
    if (volume > CurveIn.back()) return CurveOut.back();
    if (volume < CurveIn.front()) return CurveOut.front();
    for (std::size_t i = 0; i < CurveIn.size(); ++i) {
        if (volume == CurveIn[i]) return CurveOut[i];
        if (volume < CurveIn[i]) return CurveOut[i - 1] + (volume - CurveIn[i - 1]);
    }
    return CurveOut.back();
}

NormaliseResult NormaliseVolumes(data::StyleState& style, const ChannelNames& names, NormalisationState& state,
                                 const NormaliseSettings& settings, ChannelRulesLink& link) {
    const std::uint8_t modified = style.StyleModified;
    const int target = std::clamp(settings.Target, 1, MaxNormaliseTarget);
    NormaliseResult result;
    // The first normalisation after a load keeps the volumes it starts from; every later one
    // starts from those again, not from its own output.
    if (!state.Normalised) {
        for (int channel = 0; channel < data::StyleChannels; ++channel) {
            const std::uint8_t volume = Setup(style, channel, VolumeController);
            state.SavedVolumes[static_cast<std::size_t>(channel)] =
                Used(style, channel) && volume != data::SetupNotSet ? volume : 0;
        }
        state.ReferenceLevel = ReferenceLevel(state, settings, target);
    }
    result.Offset = target - state.ReferenceLevel;

    int sum = 0, count = 0;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        Setup(style, channel, ExpressionController) = 127;
        link.SendController(channel, ExpressionController, 127);
        const int saved = state.SavedVolumes[static_cast<std::size_t>(channel)];
        if (saved == 0) continue;
        const std::string& name = names[static_cast<std::size_t>(channel)];
        int volume = channel == DrumChannel ? target + 2 : VolumeCurve(saved + result.Offset);
        if (!settings.DampenGuitarsAndStrings && HasRole(name, "STRING")) volume -= 10;
        if (HasRole(name, "BASS")) {
            result.BassChannel = channel;
            if (volume < target - 15) volume += 7;
        }
        volume = std::clamp(volume, 0, 127);
        if (channel != DrumChannel && channel != settings.CurrentChannel) {
            sum += volume;
            ++count;
        }
        if (channel == 0 && (settings.SoloOnChannel1 || !Used(style, 0))) continue;
        if (settings.SoloOnChannel1 && channel == settings.SoloChannel) continue;
        Setup(style, channel, VolumeController) = static_cast<std::uint8_t>(volume);
        link.SetMixerVolume(channel, volume);
        link.SendController(channel, VolumeController, 0);
        link.SendController(channel, VolumeController, volume);
    }
    state.Normalised = true;

    // Bring the average of the melodic channels to 11 below the target, rounding halves away
    // from zero. Without any such channel there is nothing to average.
    if (count > 0) {
        const auto difference = static_cast<std::int16_t>((target - 11) * count - sum);
        const int offset = (difference + difference % count) / count;
        if (offset != 0) {
            AddStyleOffset(style, state, OffsetKind::Volume, offset, {}, link);
            result.StyleVolumeOffset = offset;
            link.ShowStatus(style.StyleDisplayName + " - Vol: " + (offset > 0 ? "+" : "") + std::to_string(offset));
        }
    }

    // Narrow the spread, in the style only: loud channels down to 15 below the target, quiet
    // ones drawn towards 25 below it.
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        if (channel == DrumChannel || channel == result.BassChannel) continue;
        std::uint8_t& volume = Setup(style, channel, VolumeController);
        if (volume == data::SetupNotSet) continue;
        if (volume > target - 10) volume = static_cast<std::uint8_t>(std::max(target - 15, 0));
        else if (volume < target - 40)
            volume = static_cast<std::uint8_t>(std::clamp((target - 25) - ((target - 40) - volume) / 3, 0, 127));
    }
    style.StyleModified = modified;
    return result;
}

bool RestoreVolumes(data::StyleState& style, NormalisationState& state, bool soloOnChannel1, ChannelRulesLink& link) {
    if (!state.Normalised) return false;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        const int saved = state.SavedVolumes[static_cast<std::size_t>(channel)];
        if (saved == 0 || (channel == 0 && soloOnChannel1)) continue;
        link.SendController(channel, VolumeController, 0);
        link.SendController(channel, VolumeController, saved);
        link.SetMixerVolume(channel, saved);
        // The style too: its controllers are sent again at the next start.
        Setup(style, channel, VolumeController) = static_cast<std::uint8_t>(saved);
    }
    state.Normalised = false;
    return true;
}

void AddStyleOffset(data::StyleState& style, NormalisationState& state, OffsetKind kind, int amount,
                    const DefinedReverb& defined, ChannelRulesLink& link) {
    const bool special = kind == OffsetKind::Reverb && (amount == ReverbToZero || amount == ReverbToDefined);
    const int controller = kind == OffsetKind::Volume ? VolumeController : ReverbController;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        if (!Used(style, channel)) continue;
        std::uint8_t& entry = Setup(style, channel, controller);
        int value = 0;
        if (kind == OffsetKind::Volume) {
            if (entry == data::SetupNotSet) continue;
            value = std::clamp(entry + amount, 0, 127);
        } else if (amount == ReverbToZero) {
            value = 0;
        } else if (amount == ReverbToDefined) {
            value = std::clamp(channel == DrumChannel ? defined.Channel10 : defined.Others, 0, 127);
        } else {
            value = std::clamp((entry == data::SetupNotSet ? UnsetReverb : entry) + amount, 0, 127);
        }
        entry = static_cast<std::uint8_t>(value);
        if (kind == OffsetKind::Volume) link.SetMixerVolume(channel, value);
        else link.SetMixerReverb(channel, value);
        link.SendController(channel, controller, value);
    }
    if (special) return;
    (kind == OffsetKind::Volume ? state.VolumeOffset : state.ReverbOffset) += amount;
}

std::string VolumeOffsetText(const NormalisationState& state) {
    return "Style Volume Offset : " + std::to_string(state.VolumeOffset);
}

std::string ReverbOffsetText(const NormalisationState& state) {
    return "Style Reverb Offset : " + std::to_string(state.ReverbOffset);
}

}  // namespace chordella::stylecreator
