#pragma once
// Builds small Standard MIDI Files inline for tests, byte by byte and independently of the
// program's own writer: `SmfTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End()`.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace chordella::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutVariableLength(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && count < 5);
    while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

class SmfTrack {
public:
    // A delta time and then the bytes of one event, exactly as given (running status allowed).
    SmfTrack& Event(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
        PutVariableLength(data, delta);
        data.insert(data.end(), bytes);
        return *this;
    }
    SmfTrack& NoteOn(std::uint32_t delta, int channel, int key, int velocity) {
        return Event(delta, {Status(0x90, channel), Byte(key), Byte(velocity)});
    }
    SmfTrack& NoteOff(std::uint32_t delta, int channel, int key) {
        return Event(delta, {Status(0x80, channel), Byte(key), 0x40});
    }
    SmfTrack& Control(std::uint32_t delta, int channel, int controller, int value) {
        return Event(delta, {Status(0xB0, channel), Byte(controller), Byte(value)});
    }
    SmfTrack& Program(std::uint32_t delta, int channel, int program) {
        return Event(delta, {Status(0xC0, channel), Byte(program)});
    }
    SmfTrack& Meta(std::uint32_t delta, std::uint8_t type, const Bytes& payload) {
        PutVariableLength(data, delta);
        data.push_back(0xFF);
        data.push_back(type);
        PutVariableLength(data, static_cast<std::uint32_t>(payload.size()));
        data.insert(data.end(), payload.begin(), payload.end());
        return *this;
    }
    SmfTrack& Tempo(std::uint32_t delta, std::uint32_t microsPerQuarter) {
        return Meta(delta, 0x51, {Byte(microsPerQuarter >> 16), Byte(microsPerQuarter >> 8), Byte(microsPerQuarter)});
    }
    SmfTrack& TimeSignature(std::uint32_t delta, int numerator, int denominatorPower, int clocks, int n32) {
        return Meta(delta, 0x58, {Byte(numerator), Byte(denominatorPower), Byte(clocks), Byte(n32)});
    }
    SmfTrack& Marker(std::uint32_t delta, const std::string& text) {
        return Meta(delta, 0x06, Bytes(text.begin(), text.end()));
    }
    SmfTrack& End(std::uint32_t delta = 0) { return Meta(delta, 0x2F, {}); }

    Bytes data;

private:
    static std::uint8_t Byte(std::uint32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
    static std::uint8_t Status(int kind, int channel) { return static_cast<std::uint8_t>(kind | (channel & 0x0F)); }
};

inline void PutBigEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int index = bytes - 1; index >= 0; --index) out.push_back(static_cast<std::uint8_t>(value >> (8 * index)));
}

// A whole file; `declaredTracks` < 0 declares as many tracks as are given.
inline Bytes SmfFileBytes(int format, int division, const std::vector<SmfTrack>& tracks, int declaredTracks = -1) {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    PutBigEndian(out, static_cast<std::uint32_t>(format), 2);
    PutBigEndian(out, static_cast<std::uint32_t>(declaredTracks < 0 ? static_cast<int>(tracks.size()) : declaredTracks), 2);
    PutBigEndian(out, static_cast<std::uint32_t>(division), 2);
    for (const SmfTrack& track : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        PutBigEndian(out, static_cast<std::uint32_t>(track.data.size()), 4);
        out.insert(out.end(), track.data.begin(), track.data.end());
    }
    return out;
}

}  // namespace chordella::testing
