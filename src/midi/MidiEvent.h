#pragma once
// One received or to-be-sent MIDI message, and the system-exclusive buffer given to a
// driver.

#include <cstdint>
#include <memory>
#include <vector>

#include "midi/MidiBackend.h"

namespace chordella::midi {

struct TMyMidiEvent {
    std::uint8_t MidiMessage = 0;  // status; 0xF0 for system exclusive
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint32_t Time = 0;        // ms since the input was started
    std::int64_t Micros = 0;       // when it was played, CLOCK_MONOTONIC µs
    std::uint16_t SysexLength = 0;
    std::vector<std::uint8_t> Sysex;  // the whole system-exclusive message, owned
};

// A buffer header and its data area, both zero-filled; the header's User names this
// object. Made with size 0 it has neither. Control thread.
class TMyMidiHdr {
public:
    explicit TMyMidiHdr(std::uint16_t size);
    TMyMidiHdr(const TMyMidiHdr&) = delete;
    TMyMidiHdr& operator=(const TMyMidiHdr&) = delete;

    // nullptr when made with size 0.
    MidiHeader* Header() { return header_.get(); }
    std::uint8_t* Data() { return data_.get(); }
    std::uint16_t Size() const { return size_; }
    static TMyMidiHdr* Owner(const MidiHeader& header) { return static_cast<TMyMidiHdr*>(header.User); }

private:
    std::uint16_t size_;
    std::unique_ptr<std::uint8_t[]> data_;
    std::unique_ptr<MidiHeader> header_;
};

}  // namespace chordella::midi
