#pragma once
// The accompaniment's output as the mixer's activity lamps see it: every message goes on
// to the session's current output (looked up at each message, so a port opened later is
// used at once), and each note-on is counted per channel.
//
// Control thread only; allocation-free, as the tick needs.

#include <array>
#include <cstdint>

#include "core/Session.h"
#include "midi/MidiOut.h"

namespace chordella::desktop {

class ActivityOutput final : public midi::MidiOut {
public:
    explicit ActivityOutput(core::Session& session) : session_(session) {}

    bool IsOpen() const override {
        const midi::TMidiOutput* out = session_.CurrentOutput();
        return out != nullptr && out->IsOpen();
    }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        Count(status, data2);
        if (midi::TMidiOutput* out = session_.CurrentOutput()) out->PutShort(status, data1, data2);
    }
    void PutShortMsg(std::uint32_t packed) override {
        Count(static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>((packed >> 16) & 0x7F));
        if (midi::TMidiOutput* out = session_.CurrentOutput()) out->PutShortMsg(packed);
    }

    // Note-ons sent on channel 0 … 15 so far.
    std::uint32_t NoteOns(int channel) const { return noteOns_[static_cast<std::size_t>(channel & 0x0F)]; }

private:
    void Count(std::uint8_t status, std::uint8_t velocity) {
        if ((status & 0xF0) == 0x90 && velocity > 0) ++noteOns_[status & 0x0F];
    }

    core::Session& session_;
    std::array<std::uint32_t, 16> noteOns_{};
};

}  // namespace chordella::desktop
