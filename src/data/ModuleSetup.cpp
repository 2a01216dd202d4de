#include "data/ModuleSetup.h"

namespace chordella::data {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<SystemExclusive> ModuleSetupMessages(std::string_view instrumentSetName) {
    if (!EqualsNoCase(instrumentSetName, "DB50XG.VXI")) return {};
    return {
        {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},                    // General MIDI System On
        {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},  // XG System On (device 1)
    };
}

}  // namespace chordella::data
