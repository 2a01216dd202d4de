// The media player reads any file a songlist names as a MIDI file. Whatever it accepts comes
// out as channel messages in time order from time 0 on; a refusal always says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "library/MidiFilePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::library;
    std::vector<TimedMidiMessage> messages;
    std::string error;
    if (!ReadTimedMidi(std::span(data, size), messages, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    std::int64_t last = 0;
    for (const TimedMidiMessage& m : messages) {
        const std::uint32_t status = m.Packed & 0xFF;
        if (m.Micros < last || status < 0x80 || status > 0xEF || (m.Packed >> 8 & 0x80) != 0) std::abort();
        last = m.Micros;
    }
    return 0;
}
