// The CASM reader takes whatever follows the MIDI data of a keyboard style file. Whatever it
// reads must name channels 0 … 15 and known chord kinds; a stop must come with a message.
// Rules it accepts must be in range and, played over every chord from every key, must give
// keys 0 … 127 inside the channel's note limits wherever those can hold an octave.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "engine/NativeTransposition.h"
#include "stylecreator/CasmChunk.h"

namespace {

void CheckRules(const chordella::stylecreator::CasmChannel& channel) {
    using namespace chordella;
    const data::NativeChannelRules& rules = channel.Rules;
    if (rules.Active != channel.RulesProblem.empty()) std::abort();
    if (!rules.Active) return;
    if (rules.MiddleLow > rules.MiddleHigh || rules.MiddleHigh > 127) std::abort();
    for (const data::NoteRangeRules& range : rules.Ranges) {
        if (range.HighKey > 11 || range.NoteLow > range.NoteHigh || range.NoteHigh > 127) std::abort();
        if (static_cast<int>(range.Table) >= data::NoteTableCount) std::abort();
    }
    for (int type = 1; type <= 34; type += 3) {
        for (int key = 0; key < 128; key += 5) {
            const int played = engine::NativeTranspose(key, rules, 36 + type % 12, type);
            const data::NoteRangeRules& range = rules.RangeFor(key);
            if (played < 0 || played > 127) std::abort();
            if (range.NoteHigh - range.NoteLow >= 11 && (played < range.NoteLow || played > range.NoteHigh)) std::abort();
        }
    }
}

}  // namespace

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
                CheckRules(channel);
            }
            for (const auto& name : group.Sections)
                if (name.empty()) std::abort();
        }
    }
    return 0;
}
