#pragma once
// What a MIDI import finds that belongs into a style's or a work file's header: the tempo and
// the channels the material uses. `import` and `create` both read a file this way.

#include <array>
#include <cstdint>

#include "data/MidiImportLink.h"

namespace chordella::cli {

class ImportFindings final : public data::DataOnlyImportLink {
public:
    void MarkChannelsUsed(const std::array<std::uint8_t, 16>& used) override { channelsUsed = used; }
    void SetTempo(int bpm) override { tempo = bpm; }
    std::array<std::uint8_t, 16> channelsUsed{};
    int tempo = 120;
};

}  // namespace chordella::cli
