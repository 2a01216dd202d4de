#pragma once
// A MIDI output that records every message with the tick it was sent in, so a test can
// drive the engine tick by tick and then read what came out.

#include <cstdint>
#include <functional>
#include <vector>

#include "midi/MidiOut.h"

namespace chordella::testing {

struct SentMessage {
    std::int64_t Tick = 0;
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;

    int Kind() const { return Status & 0xF0; }
    int Channel() const { return Status & 0x0F; }
    bool IsNoteOn() const { return Kind() == 0x90 && Data2 > 0; }
    bool IsNoteOff() const { return Kind() == 0x80 || (Kind() == 0x90 && Data2 == 0); }
    bool IsController(int controller) const { return Kind() == 0xB0 && Data1 == controller; }
};

class RecordingOutput final : public midi::MidiOut {
public:
    // `tick` is read at every message (for instance the clock's TickCount); nullptr records 0.
    explicit RecordingOutput(const std::int64_t* tick = nullptr) : tick_(tick) {}

    bool IsOpen() const override { return Open; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        if (Open) Messages.push_back({tick_ ? *tick_ : 0, status, data1, data2});
    }
    void PutShortMsg(std::uint32_t packed) override {
        PutShort(static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                 static_cast<std::uint8_t>((packed >> 16) & 0xFF));
    }

    // The messages that satisfy `keep`, in order.
    std::vector<SentMessage> Where(const std::function<bool(const SentMessage&)>& keep) const {
        std::vector<SentMessage> result;
        for (const SentMessage& m : Messages) {
            if (keep(m)) result.push_back(m);
        }
        return result;
    }
    std::vector<SentMessage> OnChannel(int channel) const {
        return Where([channel](const SentMessage& m) { return m.Status < 0xF0 && m.Channel() == channel; });
    }
    std::vector<SentMessage> NoteOns(int channel) const {
        return Where([channel](const SentMessage& m) { return m.IsNoteOn() && m.Channel() == channel; });
    }
    std::vector<SentMessage> NoteOffs(int channel) const {
        return Where([channel](const SentMessage& m) { return m.IsNoteOff() && m.Channel() == channel; });
    }
    void Clear() { Messages.clear(); }

    bool Open = true;
    std::vector<SentMessage> Messages;

private:
    const std::int64_t* tick_;
};

}  // namespace chordella::testing
