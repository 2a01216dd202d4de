#include "stylecreator/BassFinding.h"

#include <algorithm>

#include "data/GeneralMidi.h"
#include "data/StyleStream.h"

namespace chordella::stylecreator {

namespace {

constexpr int BankMsbController = 0;
constexpr int BankLsbController = 32;

int SetupValue(const data::StyleHeader& header, int channel, int index) {
    const std::uint8_t value = header.ChannelSetup[static_cast<std::size_t>(channel)][static_cast<std::size_t>(index)];
    return value == data::SetupNotSet ? -1 : value;
}

void AddOnce(std::vector<data::Voice>& voices, const data::Voice& voice) {
    if (std::find(voices.begin(), voices.end(), voice) == voices.end()) voices.push_back(voice);
}

// Channel 11 first, then 2 … 16 without the drums, channel 1 last (a soloist often sits there).
constexpr std::array<int, 15> SearchOrder = {BassChannel, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 0};

std::string GmName(int program) {
    return program >= 0 && program < 128 ? std::string(data::GeneralMidiProgramNames()[static_cast<std::size_t>(program)])
                                         : std::string("?");
}

}  // namespace

std::string EvidenceText(BassEvidence evidence) {
    switch (evidence) {
        case BassEvidence::ChannelTable: return "channel table";
        case BassEvidence::ConvertedBassPart: return "converted bass part";
        case BassEvidence::StreamVoice: return "voice";
        case BassEvidence::ProgramName: return "program name";
        case BassEvidence::None: break;
    }
    return "none";
}

ChannelVoices VoicesOfChannels(const data::StyleHeader& header, std::span<const std::uint8_t> stream) {
    ChannelVoices voices;
    std::array<data::Voice, data::StyleChannels> bank;
    for (int c = 0; c < data::StyleChannels; ++c) {
        data::Voice& voice = bank[static_cast<std::size_t>(c)];
        voice = {SetupValue(header, c, BankMsbController), SetupValue(header, c, BankLsbController),
                 SetupValue(header, c, data::SetupProgramIndex)};
        if (voice.Program >= 0) AddOnce(voices[static_cast<std::size_t>(c)], voice);
    }
    data::stream::ForEachMessageIn(stream, 0, stream.size(), [&](std::size_t at) {
        const std::uint8_t b = stream[at];
        data::Voice& voice = bank[b & 0x0F];
        const int status = b & 0xF0;
        if (status == 0xB0 && stream[at + 1] == BankMsbController) voice.Msb = stream[at + 2];
        if (status == 0xB0 && stream[at + 1] == BankLsbController) voice.Lsb = stream[at + 2];
        if (status == 0xC0) {
            voice.Program = stream[at + 1];
            AddOnce(voices[b & 0x0F], voice);
        }
    });
    return voices;
}

BassFinding BassOfChannelTable(const CasmTable& table, const ChannelVoices& voices) {
    BassFinding found;
    for (bool underMajorOnly : {true, false}) {
        for (const CasmGroup& group : table.Groups) {
            for (const CasmChannel& entry : group.Channels) {
                if (entry.DestinationChannel != BassChannel || (underMajorOnly && !entry.PlaysUnderMajor())) continue;
                const auto& sent = voices[static_cast<std::size_t>(entry.SourceChannel)];
                found.Channel = entry.SourceChannel;
                found.Evidence = BassEvidence::ChannelTable;
                found.Voice = sent.empty() ? data::Voice{} : sent.front();
                found.Why = "the channel table sends channel " + std::to_string(entry.SourceChannel + 1) +
                            " (\"" + entry.VoiceName + "\") to the bass part";
                return found;
            }
        }
    }
    return found;
}

BassFinding FindBass(const data::StyleHeader& header, std::span<const std::uint8_t> stream,
                     const ChannelNames& names, const data::VoiceMap& map) {
    BassFinding found;
    const ChannelVoices voices = VoicesOfChannels(header, stream);
    if (header.ConvertedFlag == 1 && header.ChannelUsed[BassChannel] != 0) {
        const auto& sent = voices[BassChannel];
        found = {BassChannel, BassEvidence::ConvertedBassPart, sent.empty() ? data::Voice{} : sent.front(),
                 "a converted keyboard style plays its bass part on channel 11"};
        return found;
    }
    for (int c : SearchOrder) {
        if (header.ChannelUsed[static_cast<std::size_t>(c)] == 0) continue;
        for (const data::Voice& voice : voices[static_cast<std::size_t>(c)]) {
            if (!map.IsBass(voice)) continue;
            found.Channel = c;
            found.Evidence = BassEvidence::StreamVoice;
            found.Voice = voice;
            found.Why = "its voice " + data::VoiceText(voice) +
                        (map.Lists(voice) ? " is a maker's " + GmName(map.NearestGm(voice))
                                          : " is General MIDI " + GmName(voice.Program));
            return found;
        }
    }
    for (int c : SearchOrder) {
        if (header.ChannelUsed[static_cast<std::size_t>(c)] == 0 || SetupValue(header, c, data::SetupProgramIndex) < 0)
            continue;
        const std::string& name = names[static_cast<std::size_t>(c)];
        if (!HasRole(name, "BASS")) continue;
        found.Channel = c;
        found.Evidence = BassEvidence::ProgramName;
        const auto& sent = voices[static_cast<std::size_t>(c)];
        found.Voice = sent.empty() ? data::Voice{} : sent.front();
        found.Why = "its program's name is \"" + name + "\"";
        return found;
    }
    return found;
}

ChannelNames NamesWithBass(ChannelNames names, const BassFinding& bass) {
    if (bass.Channel < 0 || bass.Channel >= data::StyleChannels) return names;
    std::string& name = names[static_cast<std::size_t>(bass.Channel)];
    if (!HasRole(name, "BASS")) name = "Bass: " + name;
    return names;
}

ChannelNames RuleNamesOf(const data::StyleState& style, const data::InstrumentSet& set) {
    const ChannelNames names = NamesOfChannels(style.Header, set);
    const std::uint8_t* bytes = style.StreamBytes();
    const auto length = static_cast<std::size_t>(std::clamp(style.StyleLength, 0, data::StreamCapacity));
    const std::span<const std::uint8_t> stream = bytes ? std::span<const std::uint8_t>(bytes, length) : std::span<const std::uint8_t>();
    return NamesWithBass(names, FindBass(style.Header, stream, names, data::BuiltInVoiceMap()));
}

}  // namespace chordella::stylecreator
