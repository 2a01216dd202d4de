#pragma once
// The 128 program names of the General MIDI Level 1 sound set, program 0 first.

#include <array>
#include <string_view>

namespace chordella::data {

const std::array<std::string_view, 128>& GeneralMidiProgramNames();

}  // namespace chordella::data
