#include "cli/PlayOutput.h"

#include <cstdlib>
#include <vector>

#include "midi/PortSelection.h"

namespace chordella::cli {

bool ResolvePort(midi::MidiBackend& backend, const std::string& port, int& id) {
    if (port.empty()) {
        id = -1;
        return true;
    }
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    if (end != port.c_str() && *end == '\0') {
        id = static_cast<int>(number);
        return id >= -1 && id < backend.OutputCount();
    }
    const std::vector<std::string> names = midi::ListOutputNames(backend);
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (names[index] == port) {
            id = static_cast<int>(index);
            return true;
        }
    }
    return false;
}

void SoundingNotes::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const int kind = status & 0xF0;
    int& count = counts_[status & 0x0F][data1 & 0x7F];
    if (kind == 0x90 && data2 > 0) {
        ++count;
        ++started_;
    }
    if ((kind == 0x80 || (kind == 0x90 && data2 == 0)) && count > 0) --count;
    port_.PutShort(status, data1, data2);
}

void SoundingNotes::ReleaseAll() {
    for (int channel = 0; channel < 16; ++channel) {
        for (int note = 0; note < 128; ++note)
            for (; counts_[channel][note] > 0; --counts_[channel][note])
                port_.PutShort(static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(note), 0);
        port_.PutShort(static_cast<std::uint8_t>(0xB0 | channel), 123, 0);  // all notes off
    }
}

}  // namespace chordella::cli
