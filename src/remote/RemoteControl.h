#pragma once
// The remote control as one module: the MIDI commands, the instrument keys, program control
// and the learned bindings, with the triggers that reach them (the second input's keys and
// messages, the numeric-pad digits, the chord memory, the windows).
//
//   remote::LoopDelays delays(session.Loop());
//   remote::RemoteControl remote(session, {app.options, app.config, app.engine, app.keyboard, app.melody,
//                                 app.clock}, transport, clock, sectionKeys, delays);
//   remote.SecondInputMessage(0xB0, 64, 127);   // a bound foot switch: Start/Stop
//
// Control thread only.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Links.h"
#include "remote/InstrumentKeys.h"
#include "remote/MidiCommands.h"
#include "remote/RemoteBindings.h"
#include "remote/RemoteHostLink.h"

namespace chordella::core {
class ClockLink;
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::chords {
class SectionKeys;
struct KeyboardState;
}  // namespace chordella::chords
namespace chordella::data { struct ConfigState; }
namespace chordella::engine {
class Transport;
struct ClockState;
struct EngineState;
struct MelodyState;
}  // namespace chordella::engine

namespace chordella::remote {

inline constexpr int LowestTempo = 25;
inline constexpr int HighestTempo = 250;
inline constexpr int LowestOctave = -3;
inline constexpr int HighestOctave = 4;
// The editor's command key value that the numeric-pad digits 1 and 2 step.
inline constexpr int HighestCommandKey = 9;

// The six switches an indicator of the "MIDI Controls" window can show instead of its own
// flips, by the function set's code that assigns them.
enum class RemoteSwitch { MelodyAdLib, Pad, Melody, KeyAdjustment, ProgramChanges, RandomInstruments };
inline constexpr int RemoteSwitchCount = 6;

// The state the remote control reads and sets. It owns none of it: its functions are the
// player's switches, so they set the options, the voice's octave and volume and the capo as
// the window's controls do; the melody's and the clock's state are only read.
struct RemoteState {
    core::Options& options;
    const data::ConfigState& config;
    engine::EngineState& engine;
    chords::KeyboardState& keyboard;
    const engine::MelodyState& melody;
    const engine::ClockState& clock;
};

class RemoteControl final : public core::MidiCommandLink {
public:
    // Whoever builds it makes it the session's MIDI command link (chord-memory playback's
    // "Com." marks and, with "... using command keys 0-9", programs 128 … 137). Loads the function set (settings key "11" of "Ins-Set", else the built-in one) into
    // records 0 … 23, then the first instrument set into 0 … 11, and the learned bindings.
    RemoteControl(core::Session& session, const RemoteState& state, engine::Transport& transport,
                  core::ClockLink& clock, chords::SectionKeys& sectionKeys, DelayLink& delays);
    // Takes itself out of the session's MIDI command link.
    ~RemoteControl() override;
    RemoteControl(const RemoteControl&) = delete;
    RemoteControl& operator=(const RemoteControl&) = delete;

    // The window's functions; null: no window (its functions and instrument list are not
    // there).
    void SetHost(RemoteHostLink* host);

    MidiCommands& Commands() { return commands_; }
    InstrumentKeyTable& Keys() { return keys_; }
    RemoteBindings& Bindings() { return bindings_; }

    // Program-control function 0 … 23; 50 … 59 runs MIDI command number − 50; others do nothing.
    void ProgramControl(int number);
    // Any function of RemoteFunctions.h (program control, MIDI commands, next section, next song).
    void RunFunction(int number);
    // Instrument-key record k (0 … 23); a k of 900 or more is taken as a code.
    void InstrumentKey(int k);
    // The second input's key 0 … 11 runs: the code of record 12 + key (0 when unassigned).
    // When it runs a function the key's indicator flips.
    int ProgramControlCode(int key);
    // The second input's keys 12 … 23 (number 0 … 11; 10 and 11 have no command), and the
    // chord memory's requests.
    void RunMidiCommand(int number) override;
    // A numeric-pad digit: the MIDI command with "Activated" ticked (the digits 1 and 2 also
    // step the editor's command key value down and up), else record 12 + digit.
    void Digit(int digit);
    // Numeric-pad + (allow) and − (ignore): the workstation messages, then program changes
    // are allowed or ignored.
    void ProgramChangesKey(bool allow);

    // A channel message of the second input, before its commands: learning takes the next
    // learnable message; a bound message calls its function. True when taken.
    bool SecondInputMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

    // "Learn": the next note, controller or program change on the second input is bound to
    // `function`, saved, and `learned` is called with it. Another StartLearning replaces it.
    void StartLearning(int function, std::function<void(const Binding&)> learned = {});
    void CancelLearning();
    std::optional<int> LearningFunction() const { return learning_; }

    std::string BindingsPath() const;
    // Reads the bindings file; a missing file leaves the foot-switch defaults. False with the
    // reason for a damaged file (the bindings are then unchanged).
    bool LoadBindings(std::string& error);
    bool SaveBindings(std::string& error);

    // "Ignore all program change commands" (the "Ignore MIDI commands" option of playback),
    // as function 20 and the numeric-pad + and − switch it.
    bool ProgramChangesIgnored() const;

    // The function set's key (0 … 11) whose indicator shows `which`, or -1.
    int SwitchIndicator(RemoteSwitch which) const { return switchIndicators_[static_cast<std::size_t>(which)]; }
    bool SwitchOn(RemoteSwitch which) const;
    // What the "MIDI Controls" window shows: each code's flips, or for a key assigned to a
    // switch the switch itself (true = greyed = on).
    std::array<bool, IndicatorCount> ShownIndicators() const;
    // Loads a function set text into records 0 … 23 and assigns the switches' indicators
    // anew (the first twelve indicators are cleared). False, nothing changed, when damaged.
    bool LoadFunctionSet(std::string_view text);
    // Functions run through any trigger.
    std::uint64_t FunctionsRun() const { return functionsRun_; }
    // Last save failure of a learned binding (empty when it was saved).
    const std::string& LastSaveError() const { return lastSaveError_; }

private:
    void LoadStartSets();
    void AssignSwitchIndicators();
    void SetProgramChangesIgnored(bool ignored);
    void Transpose(int octaves, int semitones);
    void ChangeTempo(int step);
    void ChangeVolume(int step);
    void SectionKey(int function);
    void NextSection();

    core::Session& session_;
    core::Options& options_;
    const data::ConfigState& config_;
    engine::EngineState& engineState_;
    chords::KeyboardState& keyboard_;
    const engine::MelodyState& melodyState_;
    const engine::ClockState& clockState_;
    engine::Transport& transport_;
    core::ClockLink& clock_;
    chords::SectionKeys& sectionKeys_;
    RemoteHostLink* host_ = nullptr;
    MidiCommands commands_;
    InstrumentKeyTable keys_;
    RemoteBindings bindings_ = RemoteBindings::FootSwitchDefaults();
    std::optional<int> learning_;
    std::function<void(const Binding&)> learned_;
    std::array<int, RemoteSwitchCount> switchIndicators_{-1, -1, -1, -1, -1, -1};
    std::uint64_t functionsRun_ = 0;
    std::string lastSaveError_;
};

}  // namespace chordella::remote
