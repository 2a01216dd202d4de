#include "data/ModuleSetup.h"

#include "platform/TextCase.h"

namespace chordella::data {

std::vector<SystemExclusive> ModuleSetupMessages(std::string_view instrumentSetName) {
    if (!platform::SameNoCase(instrumentSetName, "DB50XG.VXI")) return {};
    return {
        {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},                    // General MIDI System On
        {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},  // XG System On (device 1)
    };
}

}  // namespace chordella::data
