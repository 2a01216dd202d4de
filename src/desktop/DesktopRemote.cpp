#include "desktop/DesktopRemote.h"

#include "app/AppState.h"
#include "app/SongEditing.h"
#include "core/Session.h"
#include "desktop/DesktopPorts.h"
#include "midi/MidiOutput.h"
#include "remote/CommandFile.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"

namespace chordella::desktop {

namespace {

using A = RemoteAction;

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DesktopRemote::DesktopRemote(core::Session& session, core::Options& options, remote::RemoteControl& remote)
    : session_(session), options_(options), remote_(remote) {}

RemoteView DesktopRemote::Handle(const RemoteRequest& request) {
    remote::MidiCommands& commands = remote_.Commands();
    std::string message;
    switch (request.Action) {
    case A::Read: break;
    case A::SendCommand: commands.Execute(request.Index); break;
    case A::SetValues: message = SetValues(request); break;
    case A::LoadFile: message = LoadFile(request.Text); break;
    case A::SaveFile: message = SaveFile(request.Text); break;
    case A::SetActivated: commands.SetActivated(request.On); break;
    case A::SetBankChanges: commands.AllowBankChanges = request.On; break;
    case A::SetPort: SetPort(request.Text); break;
    case A::Learn: remote_.StartLearning(request.Function); break;
    case A::CancelLearn: remote_.CancelLearning(); break;
    case A::Forget:
        if (remote_.Bindings().Forget(request.Function) > 0) message = SaveBindings();
        break;
    }
    RemoteView view = View();
    view.Message = std::move(message);
    return view;
}

RemoteView DesktopRemote::View() const {
    const remote::MidiCommands& commands = remote_.Commands();
    RemoteView view;
    const std::string& file = options_.MidiCommandFile;
    view.Caption = std::string(remote_text::CommandsCaption) + (file.empty() ? "" : " - " + FileNameOf(file));
    view.Table = commands.Table();
    view.Activated = commands.Activated();
    view.AllowBankChanges = commands.AllowBankChanges;
    view.RemoteDownReturn = commands.RemoteDownReturn;
    view.RemotePan = commands.RemotePan;
    view.RemoteFirstPreset = commands.RemoteFirstPreset;
    view.Ports.emplace_back(NoCommandPort);
    const PortNames names = ListPortNames(session_);
    midi::TMidiOutput* out = session_.MidiOutput3();
    const bool open = out && out->IsOpen();
    for (const std::string& name : names.Outputs) {
        if (!names.BuiltInSynth.empty() && name == names.BuiltInSynth) continue;  // it makes no sound of another device
        if (open && name == out->ProductName()) view.Port = static_cast<int>(view.Ports.size());
        view.Ports.push_back(name);
    }
    view.Indicators = remote_.ShownIndicators();
    for (const int function : remote::BindableFunctions()) {
        RemoteBindingLine line{function, remote::FunctionName(function), {}};
        for (const remote::Binding& binding : remote_.Bindings().List()) {
            if (binding.Function != function) continue;
            if (!line.Messages.empty()) line.Messages += "; ";
            line.Messages += remote::DescribeBinding(binding);
        }
        view.Bindings.push_back(std::move(line));
    }
    view.Learning = remote_.LearningFunction().value_or(-1);
    return view;
}

// Ctrl, Shift and Alt switch the three remote switches; without a modifier the table is kept.
std::string DesktopRemote::SetValues(const RemoteRequest& request) {
    remote::MidiCommands& commands = remote_.Commands();
    if (request.Ctrl) {
        commands.RemoteDownReturn = !commands.RemoteDownReturn;
        return commands.RemoteDownReturn ? remote_text::DownReturnOn : remote_text::DownReturnOff;
    }
    if (request.Shift) {
        commands.RemotePan = !commands.RemotePan;
        return commands.RemotePan ? remote_text::PanOn : remote_text::PanOff;
    }
    if (request.Alt) {
        commands.RemoteFirstPreset = !commands.RemoteFirstPreset;
        return commands.RemoteFirstPreset ? remote_text::FirstPresetOn : remote_text::FirstPresetOff;
    }
    commands.SetTable(request.Table);
    return remote_text::ValuesStored;
}

std::string DesktopRemote::LoadFile(const std::string& path) {
    std::string error;
    const std::optional<remote::MidiCommandTable> table = remote::ReadCommandFile(path, error);
    if (!table) return "The MIDI commands cannot be read: " + error + " !";
    remote_.Commands().SetTable(*table);
    options_.MidiCommandFile = path;
    return {};
}

std::string DesktopRemote::SaveFile(const std::string& path) {
    std::string error;
    if (!remote::WriteCommandFile(path, remote_.Commands().Table(), error))
        return "The MIDI commands cannot be saved: " + error + " !";
    options_.MidiCommandFile = path;
    return {};
}

// The port is kept with the settings; one that cannot be opened leaves the list without a
// port, silently.
void DesktopRemote::SetPort(const std::string& name) {
    const std::string port = name == NoCommandPort ? std::string() : name;
    options_.MidiCommandPort = port;
    OpenCommandOutput(session_, port);
}

std::string DesktopRemote::SaveBindings() {
    std::string error;
    if (remote_.SaveBindings(error)) return {};
    return "The MIDI controls cannot be saved: " + error + " !";
}

// --- The window functions ------------------------------------------------------------------

DesktopRemoteHost::DesktopRemoteHost(core::Session& session, app::AppState& app, RemoteHostFunctions functions)
    : session_(session), app_(app), functions_(std::move(functions)) {}

bool DesktopRemoteHost::RunHostFunction(int number) {
    const std::function<void()>* run = nullptr;
    switch (number) {
    case remote::function::Melody: run = &functions_.MelodyPlayback; break;
    case remote::function::NewSong: run = &functions_.NewSong; break;
    case remote::function::NewChords: run = &functions_.NewChords; break;
    case remote::function::NewStyle: run = &functions_.NewStyle; break;
    case remote::function::NewProgramChangeCodes: InsertProgramChanges(); return true;
    case remote::NextSongFunction: run = &functions_.NextSong; break;
    default: return false;
    }
    if (!*run) return false;
    (*run)();
    return true;
}

void DesktopRemoteHost::InsertProgramChanges() {
    app::SongEditing editing(session_, app_.arrangement, app_.options, app_.clock);
    app::SongEditRequest request;
    request.Edit = app::SongEdit::InsertProgramChanges;
    const app::SongEditReply reply = editing.Apply(request);
    // A pedal may ask for this while the music plays: the status line tells, no box waits.
    if (!reply.Message.empty()) session_.Display().ShowStatus(reply.Message);
}

}  // namespace chordella::desktop
