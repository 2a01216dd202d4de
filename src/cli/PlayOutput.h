#pragma once
// What the commands that play in real time share: choosing the output of --out, and an
// output that remembers which notes sound so that the end can release them all.
//
// Control thread.

#include <array>
#include <cstdint>
#include <string>

#include "midi/MidiBackend.h"
#include "midi/MidiOut.h"

namespace chordella::cli {

// The output id of --out: a number, or a name the system lists; -1 (the built-in synth) when empty.
bool ResolvePort(midi::MidiBackend& backend, const std::string& port, int& id);

// Forwards to the port and remembers which notes sound, so the end can release them all.
class SoundingNotes final : public midi::MidiOut {
public:
    explicit SoundingNotes(midi::MidiOut& port) : port_(port) {}
    bool IsOpen() const override { return port_.IsOpen(); }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void PutShortMsg(std::uint32_t packed) override {
        PutShort(static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>(packed >> 8 & 0x7F),
                 static_cast<std::uint8_t>(packed >> 16 & 0x7F));
    }
    void ReleaseAll();
    // The number of note-ons sent so far.
    std::int64_t NotesStarted() const { return started_; }

private:
    midi::MidiOut& port_;
    std::array<std::array<int, 128>, 16> counts_{};
    std::int64_t started_ = 0;
};

}  // namespace chordella::cli
