#pragma once
// Sending the ten MIDI commands and the two audio-workstation messages on MidiOutput3.
//
// A command runs only while "Activated" is ticked and MidiOutput3 is open. Each run inverts
// the command's toggle and sends by its type: toggled, momentary and delayed controllers
// and notes, program changes with bank select, and the next or previous program of the
// shared program counter. The 20 ms wait of a delayed type is an alarm (DelayLink): the
// loop, and so the ticks, go on meanwhile. The halves waiting for it are kept in a fixed
// ring, so a delayed command run inside a tick allocates nothing.
//
// Control thread only.

#include <array>
#include <cstdint>

#include "remote/DelayLink.h"
#include "remote/MidiCommandTable.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::data { struct ConfigState; }

namespace chordella::remote {

inline constexpr int DawOnlyOffset = 1000;
inline constexpr int HighestProgramCounter = 999;
inline constexpr int IndicatorCount = 24;
// Second halves that can wait at once; when the ring is full the oldest goes out early.
inline constexpr std::size_t MaxPendingHalves = 64;

class MidiCommands {
public:
    // Keeps its table and "Activated" in the options; reads the workstation messages of the
    // settings.
    MidiCommands(core::Session& session, core::Options& options, const data::ConfigState& config, DelayLink& delays);
    // The second halves of delayed commands still waiting are sent now: no note stays on.
    ~MidiCommands();
    MidiCommands(const MidiCommands&) = delete;
    MidiCommands& operator=(const MidiCommands&) = delete;

    // n = 0 … 9 runs command n; n + 1000 sends only the audio-workstation messages of
    // command n. Other numbers do nothing. Answers whether anything was sent.
    bool Execute(int n);
    // When the first audio-workstation message is enabled: Execute(its command + 1000).
    void SendDawMessages();

    const MidiCommandTable& Table() const { return table_; }
    // "Set values" without a modifier: the table (clamped) is stored, in the settings too.
    void SetTable(const MidiCommandTable& table);

    int ProgramCounter() const { return programCounter_; }
    void SetProgramCounter(int counter);
    bool Toggle(int n) const { return toggles_[static_cast<std::size_t>(n)]; }

    bool Activated() const;
    void SetActivated(bool on);
    // "Allowing bank changes when switching programs".
    bool AllowBankChanges = false;
    // The three switches "Set values" flips with Ctrl, Shift and Alt.
    bool RemoteDownReturn = false;
    bool RemotePan = false;
    bool RemoteFirstPreset = false;

    // The indicators of the "MIDI Controls" window, note codes 0 … 23 (true = greyed).
    const std::array<bool, IndicatorCount>& Indicators() const { return indicators_; }
    void FlipIndicator(int code);
    void ClearIndicator(int code);

    // Commands that sent their messages, and runs refused (not activated, no open port,
    // DOWN/RETURN remote control on).
    std::uint64_t Executed() const { return executed_; }
    std::uint64_t Refused() const { return refused_; }
    // Second halves of delayed commands not sent yet, and those sent early because the
    // ring was full.
    std::size_t PendingHalves() const { return pendingCount_; }
    std::uint64_t EarlyHalves() const { return earlyHalves_; }

private:
    struct Pending {
        DelayLink::TimePoint Due{};
        std::uint8_t Status = 0, Data1 = 0, Data2 = 0;
    };

    bool PortOpen();
    void Send(int status, int data1, int data2);
    void SendLater(int status, int data1, int data2);
    void SendOldestHalf();
    void SendDueHalves();
    void SendByType(int n);
    void SendProgramSelection(const MidiCommand& command, int step);
    void SendDaw(int n, bool dawOnly);

    core::Session& session_;
    core::Options& options_;
    const data::ConfigState& config_;
    DelayLink& delays_;
    MidiCommandTable table_;
    std::array<bool, CommandCount> toggles_{};
    std::array<bool, IndicatorCount> indicators_{};
    int programCounter_ = 0;
    std::array<Pending, MaxPendingHalves> pending_{};  // a ring, oldest first
    std::size_t pendingFirst_ = 0;
    std::size_t pendingCount_ = 0;
    std::uint64_t earlyHalves_ = 0;
    std::uint64_t executed_ = 0;
    std::uint64_t refused_ = 0;
};

}  // namespace chordella::remote
