#include "remote/RemoteControl.h"

#include <algorithm>

#include "core/Options.h"
#include "core/Session.h"
#include "data/ConfigState.h"
#include "engine/MelodyState.h"
#include "platform/Files.h"
#include "remote/RemoteFunctions.h"

namespace chordella::remote {

namespace {
constexpr int DigitCount = 10;
constexpr int FunctionSetNumber = 11;
constexpr int FirstInstrumentSet = 1;
constexpr std::size_t MaxBindingsFileBytes = 64 * 1024;
}  // namespace

RemoteControl::RemoteControl(core::Session& session, const RemoteState& state, engine::Transport& transport,
                             core::ClockLink& clock, chords::SectionKeys& sectionKeys, DelayLink& delays)
    : session_(session),
      options_(state.options),
      config_(state.config),
      engineState_(state.engine),
      keyboard_(state.keyboard),
      melodyState_(state.melody),
      clockState_(state.clock),
      transport_(transport),
      clock_(clock),
      sectionKeys_(sectionKeys),
      commands_(session, state.options, state.config, delays) {
    LoadStartSets();
    std::string ignored;  // a damaged bindings file keeps the defaults; `remote list` says why
    LoadBindings(ignored);
}

RemoteControl::~RemoteControl() {
    session_.Unwire(this);
}

void RemoteControl::SetHost(RemoteHostLink* host) { host_ = host; }

void RemoteControl::LoadStartSets() {
    keys_.SetListEntries(static_cast<int>(config_.Instruments.Lines.size()));
    const std::optional<std::string> functions = config_.SetTexts.Get(FunctionSetNumber);
    if (!functions || !LoadFunctionSet(*functions)) LoadFunctionSet(BuiltInFunctionSet);
    const std::optional<std::string> first = config_.SetTexts.Get(FirstInstrumentSet);
    if (!first || !keys_.LoadInstrumentSet(*first)) keys_.LoadInstrumentSet(BuiltInGmSet);
}

bool RemoteControl::LoadFunctionSet(std::string_view text) {
    if (!keys_.LoadFunctionSet(text)) return false;
    for (int code = 0; code < SetKeyCount; ++code) commands_.ClearIndicator(code);
    AssignSwitchIndicators();
    return true;
}

// The function-set key that calls a switch's function shows that switch (of several such
// keys the last).
void RemoteControl::AssignSwitchIndicators() {
    constexpr std::array<int, RemoteSwitchCount> SwitchFunctions{function::MelodyAdLib,   function::Pad,
                                                                 function::Melody,        function::KeyAdjustment,
                                                                 function::ProgramChanges, function::RandomInstruments};
    switchIndicators_.fill(-1);
    for (int key = 0; key < SetKeyCount; ++key) {
        const InstrumentKeyRecord& record = keys_.Record(FirstFunctionKey + key);
        for (std::size_t s = 0; s < SwitchFunctions.size(); ++s)
            if (record.Code == FirstFunctionCode + SwitchFunctions[s]) switchIndicators_[s] = key;
    }
}

bool RemoteControl::SwitchOn(RemoteSwitch which) const {
    switch (which) {
    case RemoteSwitch::MelodyAdLib: return options_.MelodyAdLib;
    case RemoteSwitch::Pad: return options_.InstrumentPad;
    case RemoteSwitch::Melody: return melodyState_.PlaybackOn;
    case RemoteSwitch::KeyAdjustment: return options_.KeyAdjustment;
    case RemoteSwitch::ProgramChanges: return !ProgramChangesIgnored();
    case RemoteSwitch::RandomInstruments: return options_.RandomInstruments;
    }
    return false;
}

std::array<bool, IndicatorCount> RemoteControl::ShownIndicators() const {
    std::array<bool, IndicatorCount> shown = commands_.Indicators();
    for (int s = 0; s < RemoteSwitchCount; ++s) {
        const int key = switchIndicators_[static_cast<std::size_t>(s)];
        if (key >= 0) shown[static_cast<std::size_t>(key)] = SwitchOn(static_cast<RemoteSwitch>(s));
    }
    return shown;
}

bool RemoteControl::ProgramChangesIgnored() const { return options_.IgnoreMidiCommands; }

void RemoteControl::SetProgramChangesIgnored(bool ignored) { options_.IgnoreMidiCommands = ignored; }

int RemoteControl::ProgramControlCode(int key) {
    const int code = keys_.FunctionCode(key);
    if (code >= FirstCommandCode) commands_.FlipIndicator(key);
    return code;
}

void RemoteControl::RunMidiCommand(int number) { commands_.Execute(number); }

void RemoteControl::Digit(int digit) {
    if (digit < 0 || digit >= DigitCount) return;
    if (commands_.Activated()) {
        commands_.Execute(digit);
        int& commandKey = options_.CommandKey;
        if (digit == 2) commandKey = std::min(commandKey + 1, HighestCommandKey);
        if (digit == 1) commandKey = std::max(commandKey - 1, 0);
        return;
    }
    InstrumentKey(FirstFunctionKey + digit);
}

void RemoteControl::ProgramChangesKey(bool allow) {
    commands_.SendDawMessages();
    SetProgramChangesIgnored(!allow);
}

void RemoteControl::InstrumentKey(int k) {
    midi::TMidiOutput* out = session_.CurrentOutput();
    if (!out || !out->IsOpen()) return;
    int code = k;
    if (k < FirstCommandCode) {
        if (k < 0 || k >= InstrumentKeyCount || !keys_.Record(k).Assigned()) return;
        code = keys_.Record(k).Code;
    }
    if (code >= FirstFunctionCode) {
        ProgramControl(code - FirstFunctionCode);
    } else if (code >= FirstCommandCode) {
        ProgramControl(code - MidiCommandCodeOffset);
    } else if (code <= static_cast<int>(config_.Instruments.Lines.size()) - 1 && host_) {
        host_->SelectInstrument(code);
    }
}

void RemoteControl::RunFunction(int number) {
    if (number == NextSectionFunction) {
        ++functionsRun_;
        NextSection();
    } else if (number == NextSongFunction) {
        ++functionsRun_;
        if (host_) host_->RunHostFunction(number);
    } else {
        ProgramControl(number);
    }
}

bool RemoteControl::SecondInputMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (learning_) {
        const std::optional<Binding> binding = LearnableMessage(status, data1, data2, *learning_);
        if (!binding) return false;
        bindings_.Bind(*binding);
        // The press that was learned is taken by the binding: its release must not pass on.
        bindings_.Match(status, data1, data2);
        learning_.reset();
        lastSaveError_.clear();
        SaveBindings(lastSaveError_);
        if (const auto learned = std::move(learned_)) learned(*binding);
        return true;
    }
    const BindingMatch match = bindings_.Match(status, data1, data2);
    if (match.Function) RunFunction(*match.Function);
    return match.Consumed;
}

void RemoteControl::StartLearning(int function, std::function<void(const Binding&)> learned) {
    if (FunctionName(function).empty()) return;
    learning_ = function;
    learned_ = std::move(learned);
}

void RemoteControl::CancelLearning() {
    learning_.reset();
    learned_ = nullptr;
}

std::string RemoteControl::BindingsPath() const { return session_.Paths().ProgramFile(BindingsFileName); }

bool RemoteControl::LoadBindings(std::string& error) {
    const std::string path = BindingsPath();
    if (!platform::FileExists(path)) return true;
    std::string text;
    std::string why;
    if (!platform::ReadTextFile(path, MaxBindingsFileBytes, text, why)) {
        error = path + ": " + why;
        return false;
    }
    std::optional<RemoteBindings> read = RemoteBindings::Parse(text, &why);
    if (!read) {
        error = path + ": " + why;
        return false;
    }
    bindings_ = std::move(*read);
    return true;
}

bool RemoteControl::SaveBindings(std::string& error) {
    std::string why;
    const std::string path = BindingsPath();
    if (platform::WriteFileAtomically(path, bindings_.Text(), why)) return true;
    error = path + ": " + why;
    return false;
}

}  // namespace chordella::remote
