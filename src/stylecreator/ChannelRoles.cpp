#include "stylecreator/ChannelRoles.h"

#include <algorithm>
#include <cctype>

#include "data/StyleStream.h"

namespace chordella::stylecreator {

ChannelNames NamesOfChannels(const data::StyleHeader& header, const data::InstrumentSet& set) {
    ChannelNames names;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        const std::uint8_t program = header.ChannelSetup[static_cast<std::size_t>(channel)][data::SetupProgramIndex];
        if (program == data::SetupNotSet || program >= set.ProgramCount()) continue;
        names[static_cast<std::size_t>(channel)] = set.Lines[program];
    }
    return names;
}

bool HasRole(std::string_view name, std::string_view word) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(word) != std::string::npos;
}

void MoveStyleChannel(data::StyleState& style, int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= data::StyleChannels || to >= data::StyleChannels) return;
    if (std::uint8_t* bytes = style.StreamBytes()) {
        const std::int32_t length = std::clamp(style.StyleLength, 0, data::StreamCapacity);
        for (std::int32_t at = 0; at < length;) {
            const std::uint8_t b = bytes[at];
            if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
            if (data::stream::IsChannelMessage(b)) {
                if ((b & 0x0F) == from) bytes[at] = static_cast<std::uint8_t>((b & 0xF0) | to);
                at += data::stream::MessageLength;
            } else {
                ++at;
            }
        }
    }
    auto& header = style.Header;
    const auto f = static_cast<std::size_t>(from), t = static_cast<std::size_t>(to);
    if (header.ChannelUsed[t] == 0) {
        for (int index : data::MixerSetupIndexes)
            header.ChannelSetup[t][static_cast<std::size_t>(index)] = header.ChannelSetup[f][static_cast<std::size_t>(index)];
        header.ChannelUsed[t] = 1;
    }
    header.ChannelUsed[f] = 0;
    style.StyleModified = 1;
}

}  // namespace chordella::stylecreator
