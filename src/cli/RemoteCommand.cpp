#include "cli/RemoteCommand.h"

#include <chrono>
#include <exception>

#include "app/AppState.h"
#include "app/ConsolePrompter.h"
#include "app/LiveArranger.h"
#include "app/PortLookup.h"
#include "app/Settings.h"
#include "cli/ArrangerCommand.h"
#include "core/Session.h"
#include "midi/MidiInput.h"
#include "midi/SystemBackend.h"
#include "platform/Files.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"

namespace chordella::cli {

namespace {

constexpr int ExitFailure = 1;

void ListCommands(const remote::MidiCommands& commands, std::FILE* out) {
    std::fprintf(out, "MIDI commands (%s):\n", commands.Activated() ? "Activated" : "not activated");
    for (int n = 0; n < remote::CommandCount; ++n) {
        const remote::MidiCommand& c = commands.Table().Commands[static_cast<std::size_t>(n)];
        std::fprintf(out, "  %d  %-16s channel %2d  value %3d  data %3d\n", n,
                     std::string(remote::CommandTypeNames[static_cast<std::size_t>(c.Type)]).c_str(), c.Channel + 1,
                     c.Value, c.Data);
    }
}

void ListKeys(remote::RemoteControl& control, std::FILE* out) {
    std::fprintf(out, "Second input keys 0 … 11 (notes or controllers):\n");
    for (int key = 0; key < remote::SetKeyCount; ++key) {
        const int code = control.Keys().FunctionCode(key);
        std::string name = "-";
        if (code >= remote::FirstFunctionCode) {
            name = remote::FunctionName(code - remote::FirstFunctionCode);
        } else if (code >= remote::FirstCommandCode) {
            name = remote::FunctionName(code - remote::MidiCommandCodeOffset);
        }
        std::fprintf(out, "  %2d  %s\n", key, name.empty() ? "-" : name.c_str());
    }
    std::fprintf(out, "Second input keys 12 … 21: MIDI commands 0 … 9\n");
}

void ListBindings(remote::RemoteControl& control, std::FILE* out) {
    if (platform::FileExists(control.BindingsPath())) {
        std::fprintf(out, "Learned bindings (%s):\n", control.BindingsPath().c_str());
    } else {
        std::fprintf(out, "Bindings: the foot-switch defaults (learning saves them in %s):\n", control.BindingsPath().c_str());
    }
    for (const remote::Binding& b : control.Bindings().List())
        std::fprintf(out, "  %-32s %s\n", remote::DescribeBinding(b).c_str(), remote::FunctionName(b.Function).c_str());
    if (control.Bindings().List().empty()) std::fprintf(out, "  none\n");
}

int Learn(core::Session& session, remote::RemoteControl& control, const RemoteFlags& flags, std::FILE* out,
          std::FILE* err) {
    const std::optional<int> function = remote::FindFunction(flags.function);
    if (!function) {
        std::fprintf(err, "chordella: %s: no such remote function (chordella remote list names them)\n",
                     flags.function.c_str());
        return ExitFailure;
    }
    if (flags.secondIn.empty()) {
        std::fprintf(err, "chordella: remote learn needs --second-in PORT (chordella ports lists the inputs)\n");
        return ExitFailure;
    }
    const std::optional<int> id = app::FindPort(session.MidiBackend(), true, flags.secondIn);
    midi::TMidiInput* input = session.MidiInput2();
    if (!id || !input) {
        std::fprintf(err, "chordella: %s: no such MIDI input (chordella ports lists them)\n", flags.secondIn.c_str());
        return ExitFailure;
    }
    try {
        input->SetDeviceID(*id);
        input->Open();
        if (input->Error() == 0) input->Start();
    } catch (const std::exception& e) {
        std::fprintf(err, "chordella: %s: %s\n", flags.secondIn.c_str(), e.what());
        return ExitFailure;
    }
    if (input->Error() != 0) {
        std::fprintf(err, "chordella: %s: the input cannot be opened (error %d)\n", input->ProductName().c_str(),
                     input->Error());
        return ExitFailure;
    }
    std::fprintf(out, "Press the pedal, pad or key for \"%s\" (on %s) …\n", remote::FunctionName(*function).c_str(),
                 input->ProductName().c_str());
    std::fflush(out);
    int exitCode = ExitFailure;
    platform::EventLoop& loop = session.Loop();
    control.StartLearning(*function, [&](const remote::Binding& binding) {
        if (control.LastSaveError().empty()) {
            std::fprintf(out, "Learned: %s → %s, saved in %s\n", remote::DescribeBinding(binding).c_str(),
                         remote::FunctionName(binding.Function).c_str(), control.BindingsPath().c_str());
            exitCode = 0;
        } else {
            std::fprintf(err, "chordella: the binding cannot be saved: %s\n", control.LastSaveError().c_str());
        }
        loop.Quit(0);
    });
    loop.StartTimer(std::chrono::seconds(flags.timeoutSeconds), false, [&] {
        std::fprintf(err, "chordella: no note, controller or program change arrived within %d s\n", flags.timeoutSeconds);
        loop.Quit(0);
    });
    loop.Run();
    control.CancelLearning();
    input->Close();
    return exitCode;
}

}  // namespace

int RunRemoteCommand(const RemoteFlags& flags, std::FILE* out, std::FILE* err) {
    return RunRemote(midi::MakeSystemBackend(), flags, out, err);
}

int RunRemote(std::unique_ptr<midi::MidiBackend> backend, const RemoteFlags& flags, std::FILE* out, std::FILE* err) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<app::ConsolePrompter>(false, err);
    parts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    parts.midiBackend = std::move(backend);
    core::Session session(std::move(parts));
    app::AppState appState;
    app::Settings settings(session.Paths());
    settings.Load(appState.options, appState.config, flags.reset);
    app::LiveArranger arranger(session, appState);
    remote::RemoteControl& control = arranger.Remote();
    std::string error;
    if (!control.LoadBindings(error)) std::fprintf(err, "chordella: the learned bindings cannot be read: %s\n", error.c_str());
    if (flags.action == "list") {
        ListCommands(control.Commands(), out);
        ListKeys(control, out);
        ListBindings(control, out);
        return 0;
    }
    if (flags.action == "learn") return Learn(session, control, flags, out, err);
    std::fprintf(err, "chordella: remote %s: say list or learn FUNCTION\n", flags.action.c_str());
    return ExitFailure;
}

}  // namespace chordella::cli
