#pragma once
// Messages a sound module needs at every start, chosen by the active instrument set.
// With "DB50XG.VXI" that is the General MIDI System On message followed by the module's
// own XG System On message.

#include <cstdint>
#include <string_view>
#include <vector>

namespace chordella::data {

using SystemExclusive = std::vector<std::uint8_t>;

// Empty for every other set (compared without regard to case).
std::vector<SystemExclusive> ModuleSetupMessages(std::string_view instrumentSetName);

}  // namespace chordella::data
