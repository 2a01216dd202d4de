// The CASM reader takes whatever follows the MIDI data of a keyboard style file. Whatever it
// reads must name channels 0 … 15 and known chord kinds; a stop must come with a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "stylecreator/CasmChunk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::stylecreator;
    const std::span<const std::uint8_t> bytes(data, size);
    for (const CasmTable& table : {ReadCasm(bytes), ReadCasmContent(bytes)}) {
        for (const CasmGroup& group : table.Groups) {
            for (const CasmChannel& channel : group.Channels) {
                if (channel.SourceChannel < 0 || channel.SourceChannel > 15) std::abort();
                if (channel.DestinationChannel < 0 || channel.DestinationChannel > 15) std::abort();
                if (channel.SourceRoot < 0 || channel.SourceRoot > 11) std::abort();
                if (casmchord::KindName(channel.SourceKind) == "?") std::abort();
                if (channel.ChordMute >> 40 != 0) std::abort();
            }
            for (const auto& name : group.Sections)
                if (name.empty()) std::abort();
        }
    }
    return 0;
}
