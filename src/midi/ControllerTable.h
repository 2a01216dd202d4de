#pragma once
// The last controller, program and channel-pressure value seen per channel, shared by the
// input callback (which drops repeats), the engine (which suppresses repeated controllers
// on output), the style loader, the MIDI file reader and the mixer.
//
// Rows have the layout of a style's channel set-up record: bytes 0 … 95 controllers 0 … 95,
// byte 96 the program, byte 97 the channel pressure; 255 = not known. Entries are single
// atomic bytes: the driver thread and the control thread may write them without a lock, and
// a reader sees the old or the new value (a racing compare-and-store may pass or drop one
// repeated controller once, which is harmless).

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace chordella::midi {

class ControllerTable {
public:
    static constexpr int Channels = 16;
    static constexpr int RowSize = 98;
    static constexpr int ProgramIndex = 96;
    static constexpr int PressureIndex = 97;
    static constexpr std::uint8_t Unknown = 255;

    ControllerTable() { Clear(); }
    ControllerTable(const ControllerTable&) = delete;
    ControllerTable& operator=(const ControllerTable&) = delete;

    // Any thread. Out-of-range channels or indexes read as Unknown and write nothing.
    std::uint8_t Value(int channel, int index) const;
    void SetValue(int channel, int index, std::uint8_t value);
    // "" when unknown, else the decimal value.
    std::string ValueText(int channel, int index) const;

    void Clear();
    void ClearChannel(int channel);
    void CopyChannel(int destination, int source);
    void CopyFrom(const ControllerTable& other);

private:
    static bool Inside(int channel, int index) {
        return channel >= 0 && channel < Channels && index >= 0 && index < RowSize;
    }
    std::array<std::array<std::atomic<std::uint8_t>, RowSize>, Channels> rows_;
};

// Controllers whose repeats are suppressed: 0, 7, 10, 11, 32, 91, 93.
bool IsTrackedController(int controller);

// Compares a control change (kind 0xB0), program change (0xC0) or channel pressure (0xD0)
// with the table. Answers false for a repeat of the known value. Otherwise stores the value
// — with keepKnown only into an unknown entry — and answers true. Other kinds and untracked
// controllers always pass. Any thread; allocation- and lock-free.
bool ControllerChanged(ControllerTable& table, int kind, int channel, int data1, int data2, bool keepKnown);

}  // namespace chordella::midi
