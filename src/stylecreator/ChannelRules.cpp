#include "stylecreator/ChannelRules.h"

#include <algorithm>

namespace chordella::stylecreator {

namespace {

constexpr int VolumeController = 7;
constexpr int DampenCeiling = 70;
constexpr int DefaultVolume = 100;   // what a channel without a volume set plays at

bool Used(const data::StyleHeader& header, int channel) {
    return header.ChannelUsed[static_cast<std::size_t>(channel)] != 0;
}

bool ProgramSet(const data::StyleHeader& header, int channel) {
    return header.ChannelSetup[static_cast<std::size_t>(channel)][data::SetupProgramIndex] != data::SetupNotSet;
}

// The first channel in 1 … 16 (skipping 10 and 11) that satisfies `wanted`; a match on
// channel 1 counts only when no later channel matches.
template <typename Wanted>
int FirstPreferringLater(Wanted wanted) {
    bool channel1 = false;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        if (channel == DrumChannel || channel == BassChannel || !wanted(channel)) continue;
        if (channel == 0) {
            channel1 = true;
            continue;
        }
        return channel;
    }
    return channel1 ? 0 : -1;
}

void Dampen(data::StyleState& style, int channel, int amount, ChannelRulesLink& link) {
    std::uint8_t& volume = style.Header.ChannelSetup[static_cast<std::size_t>(channel)][VolumeController];
    const int old = volume == data::SetupNotSet ? DefaultVolume : volume;
    const int value = std::clamp(old - amount, 0, DampenCeiling);
    volume = static_cast<std::uint8_t>(value);
    link.SetMixerVolume(channel, value);
    link.SendController(channel, VolumeController, value);
}

}  // namespace

BassMove MoveBassToChannel11(const ChannelTarget& style, const ChannelNames& names, ChannelRulesLink& link,
                             bool silent) {
    auto say = [&](const std::string& text) {
        if (!silent) link.ShowStatus(text);
    };
    BassMove move;
    if (HasRole(names[BassChannel], "BASS")) {
        move.Result = BassMoveResult::AlreadyOn11;
        say("BASS: Already on channel 11");
        return move;
    }
    const auto& header = style.Header;
    move.From = FirstPreferringLater([&](int c) {
        return Used(header, c) && ProgramSet(header, c) && HasRole(names[static_cast<std::size_t>(c)], "BASS");
    });
    const int free = FirstPreferringLater([&](int c) { return !Used(header, c); });
    if (move.From < 0) {
        move.Result = BassMoveResult::NotFound;
        say("BASS: Not found");
        return move;
    }
    if (free < 0) {
        move.Result = BassMoveResult::NoFreeChannel;
        say("All channels used !");
        return move;
    }
    std::string suffix;
    if (Used(header, BassChannel)) {
        MoveStyleChannel(style, BassChannel, free);
        link.SetMuted(free, true);
        move.Channel11MovedTo = free;
        suffix = " - ch. 11 moved to ch. " + std::to_string(free + 1);
        say("BASS: Redirected to ch. 11" + suffix);
    }
    if (!silent) link.RedirectBasses(BassChannel);
    MoveStyleChannel(style, move.From, BassChannel);
    move.Result = BassMoveResult::Moved;
    say("BASS: Redirected to ch. 11" + suffix);
    return move;
}

void ApplyMuteAndDampen(data::StyleState& style, const ChannelNames& names, const MuteAndDampen& rule,
                        ChannelRulesLink& link) {
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        if (channel == DrumChannel || !Used(style.Header, channel)) continue;
        const std::string& name = names[static_cast<std::size_t>(channel)];
        // Strings are dampened only when dampening is on: a guitar-mute toggle pressed twice
        // must not lower them twice.
        if (rule.Dampen && HasRole(name, "STRING")) Dampen(style, channel, rule.DampenAmount, link);
        if (HasRole(name, "GUITAR")) {
            if (rule.Dampen && !rule.MuteGuitars) Dampen(style, channel, rule.DampenAmount, link);
            if (rule.MuteGuitars) link.SetMuted(channel, rule.SetMutes || !link.IsMuted(channel));
        }
        if (rule.MuteBass && HasRole(name, "BASS")) link.SetMuted(channel, rule.SetMutes || !link.IsMuted(channel));
    }
}

int FreeChannel1ForSolo(const ChannelTarget& style, int soloChannel) {
    if (!Used(style.Header, 0)) return -1;
    for (int channel = 1; channel < data::StyleChannels; ++channel) {
        if (channel == DrumChannel || channel == BassChannel || channel == soloChannel) continue;
        if (Used(style.Header, channel)) continue;
        MoveStyleChannel(style, 0, channel);
        return channel;
    }
    return -1;
}

}  // namespace chordella::stylecreator
