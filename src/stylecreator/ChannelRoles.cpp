#include "stylecreator/ChannelRoles.h"

#include <algorithm>

#include "data/StyleStream.h"
#include "platform/TextCase.h"

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
    return platform::UpperCase(name).find(word) != std::string::npos;
}

ChannelTarget TargetOf(data::StyleState& style) {
    std::uint8_t* bytes = style.StreamBytes();
    const auto length = static_cast<std::size_t>(std::clamp(style.StyleLength, 0, data::StreamCapacity));
    return ChannelTarget{style.Header, bytes ? std::span<std::uint8_t>(bytes, length) : std::span<std::uint8_t>(),
                         &style.StyleModified, &style.Native};
}

int MoveChannelMessages(std::span<std::uint8_t> stream, int from, int to, std::size_t begin, std::size_t end) {
    if (from == to || from < 0 || to < 0 || from >= data::StyleChannels || to >= data::StyleChannels) return 0;
    end = std::min(end, stream.size());
    int moved = 0;
    // Walk from the start so that the offsets stay on event boundaries.
    for (std::size_t at = 0; at < end;) {
        const std::uint8_t b = stream[at];
        if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
        if (data::stream::IsChannelMessage(b)) {
            if (at + data::stream::MessageLength > stream.size()) break;
            if (at >= begin && (b & 0x0F) == from) {
                stream[at] = static_cast<std::uint8_t>((b & 0xF0) | to);
                ++moved;
            }
            at += data::stream::MessageLength;
        } else {
            ++at;
        }
    }
    return moved;
}

void MoveStyleChannel(const ChannelTarget& target, int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= data::StyleChannels || to >= data::StyleChannels) return;
    MoveChannelMessages(target.Stream, from, to);
    auto& header = target.Header;
    const auto f = static_cast<std::size_t>(from), t = static_cast<std::size_t>(to);
    if (header.ChannelUsed[t] == 0) {
        for (int index : data::MixerSetupIndexes)
            header.ChannelSetup[t][static_cast<std::size_t>(index)] = header.ChannelSetup[f][static_cast<std::size_t>(index)];
        header.ChannelUsed[t] = 1;
    }
    header.ChannelUsed[f] = 0;
    if (target.Native) {
        for (auto& part : target.Native->Parts) {
            part[t] = part[f];
            part[f] = {};
        }
    }
    if (target.Modified) *target.Modified = 1;
}

}  // namespace chordella::stylecreator
