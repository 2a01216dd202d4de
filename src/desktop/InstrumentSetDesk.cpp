#include "desktop/InstrumentSetDesk.h"

#include <algorithm>

#include "app/AppState.h"
#include "core/Session.h"
#include "data/InstrumentSetTexts.h"
#include "platform/Files.h"
#include "remote/InstrumentKeys.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"

namespace chordella::desktop {

namespace {

constexpr int FunctionListEntries = 34;  // 24 program functions, then MIDI commands 0 … 9

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace

std::string SetName(int set) {
    return set == FunctionSetItem ? "function set for MIDI input" : "Instrument-Set No. " + std::to_string(set);
}

InstrumentSetDesk::InstrumentSetDesk(core::Session& session, app::AppState& app, remote::RemoteControl& remote,
                                     std::function<bool(int, const std::string&)> store)
    : session_(session), app_(app), remote_(remote), store_(std::move(store)) {}

InstrumentView InstrumentSetDesk::Handle(const InstrumentRequest& request) {
    const int set = std::clamp(request.Set, 1, TextFileSetItem);
    switch (request.Action) {
    case InstrumentAction::Read: break;
    case InstrumentAction::Open: Open(set, request.Path); break;
    case InstrumentAction::Store: Store(set, request.Path); break;
    case InstrumentAction::Assign:
        if (request.Key >= 0 && request.Key < remote::SetKeyCount) remote_.Keys().SetFunction(request.Key, request.Function);
        break;
    case InstrumentAction::StoreFromMixer: StoreFromMixer(request.Key); break;
    }
    return View();
}

InstrumentView InstrumentSetDesk::View() const {
    InstrumentView view;
    view.Shown = shown_;
    const std::vector<std::string>& list = app_.config.Instruments.Lines;
    for (int key = 0; key < remote::SetKeyCount; ++key) {
        const std::string name = remote::InstrumentKeyName(remote_.Keys(), key, list);
        view.Keys.push_back(name.empty() ? "-" : name);
    }
    for (int f = 0; f < FunctionListEntries; ++f)
        view.Functions.push_back(remote::FunctionName(f < remote::ProgramFunctionCount ? f : remote::FirstCommandFunction + f - remote::ProgramFunctionCount));
    return view;
}

void InstrumentSetDesk::StoreFromMixer(int key) {
    if (key < 0 || key >= remote::SetKeyCount) return;
    const midi::ControllerTable& mixer = session_.Controllers();
    const int channel = app_.engine.VoiceChannel;
    // A bar the mixer has not seen a value for stands where a fresh channel starts.
    auto bar = [&mixer, channel](int controller, int unset) {
        const std::uint8_t value = mixer.Value(channel, controller);
        return value == midi::ControllerTable::Unknown ? unset : static_cast<int>(value);
    };
    // The instrument: the voice channel's program when one was sent, else the instrument list's choice.
    const int code = bar(midi::ControllerTable::ProgramIndex, app_.options.SoloInstrument);
    remote_.Keys().StoreFromMixer(key, code, bar(7, 100), bar(10, 64), bar(91, 40), bar(93, 0));
}

void InstrumentSetDesk::Apply(int set, const std::string& text) {
    const bool applied = set == FunctionSetItem ? remote_.LoadFunctionSet(text)
                                                : remote_.Keys().LoadInstrumentSet(text).has_value();
    if (!applied) return session_.Prompter().Inform(std::string(data::SetNotFoundMessage));
    // The function set stays on the twelve keys for editing until another set is opened.
    shown_ = set;
}

void InstrumentSetDesk::Open(int set, const std::string& path) {
    if (set == TextFileSetItem) {
        std::string text, error;
        if (!platform::ReadTextFile(path, 64 * 1024, text, error)) return session_.Prompter().Inform(path + ": " + error + " !");
        return Apply(set, FirstLine(text));
    }
    std::optional<std::string> text = app_.config.SetTexts.Get(set);
    // Never stored, the function set and set 1 are the built-in ones the program starts with.
    if (!text && set == FunctionSetItem) text = std::string(remote::BuiltInFunctionSet);
    if (!text && set == 1) text = std::string(remote::BuiltInGmSet);
    if (!text) return session_.Prompter().Inform(std::string(data::SetNotFoundMessage));
    session_.Prompter().ConfirmThen("Open " + SetName(set) + " ?", [this, set, text = *text](bool yes) {
        if (yes) Apply(set, text);
    });
}

void InstrumentSetDesk::Store(int set, const std::string& path) {
    const std::string text = remote_.Keys().MakeSetText();
    if (set == TextFileSetItem) {
        std::string error;
        if (!platform::WriteFileAtomically(path, std::string_view(text + "\n"), error))
            session_.Prompter().Inform(path + ": " + error + " !");
        return;
    }
    const bool holds = app_.config.SetTexts.Get(set).has_value();
    const std::string question = (holds ? "Replace " : "Save Set as ") + SetName(set) + " ?";
    session_.Prompter().ConfirmThen(question, [this, set, text](bool yes) {
        if (!yes || !store_(set, text)) return;
        // A stored function set is the second input's at once.
        if (set == FunctionSetItem) remote_.LoadFunctionSet(text);
        shown_ = set;
    });
}

}  // namespace chordella::desktop
