#include "midi/MidiBackend.h"

#include "midi/MidiErrors.h"

namespace chordella::midi {

std::optional<std::string> StandardErrorText(int code) {
    switch (code) {
        case result::NoError: return "The operation completed successfully.";
        case result::Unspecified: return "Unspecified error.";
        case result::BadDeviceId: return "The device identifier is out of range.";
        case result::Allocated: return "The device is already in use.";
        case result::InvalidHandle: return "The device handle is invalid.";
        case result::NoDriver: return "No device driver is present.";
        case result::NoMemory: return "Unable to allocate or lock memory.";
        case result::NotSupported: return "The function is not supported.";
        case result::InvalidParameter: return "An invalid parameter was passed.";
        case result::Unprepared: return "The header was not prepared.";
        case result::StillPlaying: return "The buffers are still queued.";
        case result::NotReady: return "The device is not ready.";
        case result::NoDevice: return "The device is no longer connected.";
        case result::DriverError: return "The MIDI system reported an error.";
        case result::NoAudioDevice: return "No audio output device";
        default: return std::nullopt;
    }
}

std::string MidiErrorText(MidiBackend& backend, int code) {
    std::string text = backend.ErrorText(code).value_or("Specified error number is out of range");
    if (text.size() > 127) text.resize(127);
    return text;
}

int PrepareHeader(MidiHeader& header) {
    if (!header.Data || header.BufferLength == 0) return result::InvalidParameter;
    header.Flags.fetch_or(HeaderPrepared);
    header.Flags.fetch_and(~HeaderDone);
    return result::NoError;
}

int UnprepareHeader(MidiHeader& header) {
    if (header.Flags.load() & HeaderInQueue) return result::StillPlaying;
    header.Flags.fetch_and(~HeaderPrepared);
    return result::NoError;
}

int ShortMessageLength(std::uint8_t status) {
    if (status < 0x80) return 0;
    if (status < 0xF0) {
        const int kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    }
    switch (status) {
        case 0xF1: case 0xF3: return 2;
        case 0xF2: return 3;
        case 0xF6: case 0xF8: case 0xFA: case 0xFB: case 0xFC: case 0xFE: case 0xFF: return 1;
        default: return 0;  // 0xF0, 0xF4, 0xF5, 0xF7, 0xF9, 0xFD
    }
}

}  // namespace chordella::midi
