#pragma once
// A style in memory with named channels, and a link that records what the rules sent.

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "stylecreator/ChannelRoles.h"
#include "stylecreator/ChannelRulesLink.h"

namespace chordella::testing {

struct RecordingRulesLink : stylecreator::ChannelRulesLink {
    struct Sent {
        int Channel, Controller, Value;
        friend bool operator==(const Sent&, const Sent&) = default;
    };
    void SendController(int channel, int controller, int value) override { sent.push_back({channel, controller, value}); }
    bool IsMuted(int channel) const override { return muted[static_cast<std::size_t>(channel)]; }
    void SetMuted(int channel, bool on) override { muted[static_cast<std::size_t>(channel)] = on; }
    void SetMixerVolume(int channel, int value) override { mixerVolume[static_cast<std::size_t>(channel)] = value; }
    void SetMixerReverb(int channel, int value) override { mixerReverb[static_cast<std::size_t>(channel)] = value; }
    void ShowStatus(const std::string& text) override { status.push_back(text); }
    void RedirectBasses(int channel) override { bassesTo = channel; }

    std::vector<Sent> sent;
    std::array<bool, 16> muted{};
    std::array<int, 16> mixerVolume{};
    std::array<int, 16> mixerReverb{};
    std::vector<std::string> status;
    int bassesTo = -1;
};

// A style whose stream holds one note-on per listed channel, and the channels' names.
struct RulesStyle {
    data::StyleState style;
    stylecreator::ChannelNames names;

    // channel (0-based), instrument name, volume (255 = not set)
    void Channel(int channel, const std::string& name, int volume = 100) {
        names[static_cast<std::size_t>(channel)] = name;
        style.Header.ChannelUsed[static_cast<std::size_t>(channel)] = 1;
        style.Header.ChannelSetup[static_cast<std::size_t>(channel)][7] = static_cast<std::uint8_t>(volume);
        style.Header.ChannelSetup[static_cast<std::size_t>(channel)][data::SetupProgramIndex] = 1;
        EnsureStream();
        std::uint8_t* bytes = style.StreamBytes();
        const std::uint8_t event[] = {static_cast<std::uint8_t>(0x90 | channel), 60, 100, 0xF8};
        std::memcpy(bytes + style.StyleLength, event, sizeof event);
        style.StyleLength += static_cast<std::int32_t>(sizeof event);
    }
    // The channels of the stream's note-ons, in order.
    std::vector<int> NoteChannels() const {
        std::vector<int> channels;
        const std::uint8_t* bytes = style.StreamBytes();
        for (std::int32_t at = 0; bytes && at < style.StyleLength;) {
            if (bytes[at] >= 0x80 && bytes[at] <= 0xEF) {
                if ((bytes[at] & 0xF0) == 0x90) channels.push_back(bytes[at] & 0x0F);
                at += 3;
            } else {
                ++at;
            }
        }
        return channels;
    }
    int Volume(int channel) const { return style.Header.ChannelSetup[static_cast<std::size_t>(channel)][7]; }

private:
    void EnsureStream() {
        if (!style.Stream.Allocated()) style.Stream.Allocate();
    }
};

}  // namespace chordella::testing
