#include "cli/ArrangerCommand.h"

#include <exception>

#include "app/AppState.h"
#include "app/ConsolePrompter.h"
#include "app/ForeignStylePlay.h"
#include "app/LiveArranger.h"
#include "app/PortLookup.h"
#include "app/QuitOnSignals.h"
#include "app/Settings.h"
#include "app/SnapshotView.h"
#include "chords/KeyboardLayout.h"
#include "cli/ConsoleStatusView.h"
#include "cli/TerminalStatus.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "midi/MidiErrors.h"
#include "midi/SystemBackend.h"
#include "platform/Priority.h"
#include "remote/CommandFile.h"
#include "remote/RemoteControl.h"

namespace chordella::cli {

namespace {

constexpr int ExitFailure = 1;

std::string KeyName(int note) {
    static constexpr const char* Names[] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    return std::string(Names[note % 12]) + std::to_string(note / 12 - 1);
}

bool OpenKeyboard(core::Session& session, midi::TMidiInput* input, int id, const char* what, std::FILE* err) {
    if (!input) {
        std::fprintf(err, "chordella: no MIDI input for the %s (chordella ports lists them)\n", what);
        return false;
    }
    try {
        input->SetDeviceID(id);
        input->Open();
        if (input->Error() == 0) input->Start();
    } catch (const std::exception& e) {
        std::fprintf(err, "chordella: %s: %s\n", input->ProductName().c_str(), e.what());
        return false;
    }
    if (input->Error() != 0) {
        std::fprintf(err, "chordella: %s: the input cannot be opened (error %d)\n", input->ProductName().c_str(),
                     input->Error());
        return false;
    }
    (void)session;
    return true;
}

bool OpenOutput(core::Session& session, const ArrangerFlags& flags, std::FILE* err) {
    midi::TMidiOutput* output = session.MidiOutput1();
    if (!output) {
        std::fprintf(err, "chordella: no MIDI output can be made\n");
        return false;
    }
    midi::MidiBackend& backend = session.MidiBackend();
    int id = app::SynthOutput;
    if (!flags.out.empty()) {
        const std::optional<int> found = app::FindPort(backend, false, flags.out);
        if (!found) {
            std::fprintf(err, "chordella: %s: no such MIDI output (chordella ports lists them)\n", flags.out.c_str());
            return false;
        }
        id = *found;
    }
    try {
        output->SetDeviceID(id);
    } catch (const std::exception& e) {
        std::fprintf(err, "chordella: %s\n", e.what());
        return false;
    }
    if (!output->Open()) {
        if (id == app::SynthOutput && output->Error() == midi::result::NoAudioDevice) {
            std::fprintf(err, "chordella: no audio output was found, so the built-in synth cannot sound; play through "
                              "a MIDI output with --out PORT (chordella ports lists them)\n");
        } else if (id == app::SynthOutput) {
            std::fprintf(err, "chordella: the built-in synth cannot play: %s\n",
                         midi::MidiErrorText(backend, output->Error()).c_str());
        } else {
            std::fprintf(err, "chordella: %s: the output cannot be opened (error %d)\n",
                         output->ProductName().c_str(), output->Error());
        }
        return false;
    }
    session.Midi().SetCurrentOutput(output);
    return true;
}

bool OpenInputs(core::Session& session, app::AppState& appState, const ArrangerFlags& flags, std::FILE* err) {
    midi::MidiBackend& backend = session.MidiBackend();
    const std::string wanted = flags.in.empty() ? appState.options.MidiIn : flags.in;
    std::optional<int> keyboard = wanted.empty() ? std::optional<int>() : app::FindPort(backend, true, wanted);
    if (!keyboard && flags.in.empty() && backend.InputCount() > 0) keyboard = 0;
    if (!keyboard) {
        if (flags.in.empty()) {
            std::fprintf(err, "chordella: no MIDI input to play from; connect a keyboard (chordella ports lists the inputs)\n");
        } else {
            std::fprintf(err, "chordella: %s: no such MIDI input (chordella ports lists them)\n", flags.in.c_str());
        }
        return false;
    }
    if (!OpenKeyboard(session, session.MidiInput1(), *keyboard, "keyboard", err)) return false;
    if (flags.secondIn.empty()) return true;
    const std::optional<int> second = app::FindPort(backend, true, flags.secondIn);
    if (!second) {
        std::fprintf(err, "chordella: %s: no such MIDI input (chordella ports lists them)\n", flags.secondIn.c_str());
        return false;
    }
    return OpenKeyboard(session, session.MidiInput2(), *second, "second input", err);
}

bool ApplyKeyFlags(app::AppState& appState, const ArrangerFlags& flags, std::FILE* err) {
    data::ControlKeys& keys = appState.config.Keys;
    const int first = flags.firstKey >= 0 ? flags.firstKey : keys.FirstChordKey;
    const int last = flags.lastKey >= 0 ? flags.lastKey : keys.LastChordKey;
    if (first < 0 || first > 127 || last < 0 || last > 127 || first > last) {
        std::fprintf(err, "chordella: the chord zone %d … %d is no range of MIDI keys (0 … 127, first ≤ last)\n", first,
                     last);
        return false;
    }
    keys.FirstChordKey = first;
    keys.LastChordKey = last;
    chords::ApplyKeyboardLayout(appState.chords, appState.keyboard, appState.config);
    return true;
}

}  // namespace

bool PrepareArranger(core::Session& session, app::AppState& appState, const ArrangerFlags& flags, std::FILE* err) {
    if (flags.tempo != 0 && (flags.tempo < 25 || flags.tempo > 250)) {
        std::fprintf(err, "chordella: --tempo %d: the tempo lies in 25 … 250\n", flags.tempo);
        return false;
    }
    if (!ApplyKeyFlags(appState, flags, err)) return false;
    midi::AudioSettings audio = app::AudioSettingsOf(appState.options);
    std::string error;
    if (!ApplyAudioFlags(flags.audio, audio, error)) {
        std::fprintf(err, "chordella: %s\n", error.c_str());
        return false;
    }
    session.MidiBackend().ApplyAudioSettings(audio);
    if (!flags.style.empty() && app::IsForeignStyleFile(flags.style)) {
        const app::ForeignLoad loaded = app::LoadForeignStyle(session, appState, flags.style, flags.set);
        for (const std::string& note : loaded.Messages) std::fprintf(err, "chordella: %s: %s\n", flags.style.c_str(), note.c_str());
        if (!loaded.Loaded) {
            std::fprintf(err, "chordella: %s: %s\n", flags.style.c_str(), loaded.Error.c_str());
            return false;
        }
    } else if (!flags.style.empty()) {
        data::StyleStore store(session);
        if (store.Load(flags.style) != data::StyleLoadResult::Loaded) {
            std::fprintf(err, "chordella: %s: the style cannot be loaded\n", flags.style.c_str());
            return false;
        }
    }
    return OpenOutput(session, flags, err) && OpenInputs(session, appState, flags, err);
}

bool PrepareRemote(core::Session& session, core::Options& options, remote::RemoteControl& remote,
                   const ArrangerFlags& flags, std::FILE* err) {
    if (!flags.commands.empty()) {
        std::string error;
        const std::optional<remote::MidiCommandTable> table = remote::ReadCommandFile(flags.commands, error);
        if (!table) {
            std::fprintf(err, "chordella: the MIDI commands cannot be read: %s\n", error.c_str());
            return false;
        }
        remote.Commands().SetTable(*table);
        options.MidiCommandFile = flags.commands;
    }
    if (flags.commandsOut.empty()) return true;
    midi::TMidiOutput* output = session.MidiOutput3();
    const std::optional<int> id = app::FindPort(session.MidiBackend(), false, flags.commandsOut);
    if (!output || !id) {
        std::fprintf(err, "chordella: %s: no such MIDI output (chordella ports lists them)\n", flags.commandsOut.c_str());
        return false;
    }
    try {
        output->SetDeviceID(*id);
    } catch (const std::exception& e) {
        std::fprintf(err, "chordella: %s\n", e.what());
        return false;
    }
    if (!output->Open()) {
        std::fprintf(err, "chordella: %s: the output cannot be opened (error %d)\n", output->ProductName().c_str(),
                     output->Error());
        return false;
    }
    return true;
}

std::string ArrangerKeysHelp() {
    const data::ControlKeys keys;
    const auto key = [](int note) { return std::to_string(note) + " (" + KeyName(note) + ")"; };
    return "The chord zone is keys " + key(keys.FirstChordKey) + " … " + key(keys.LastChordKey) +
           " (--first-key, --last-key); a chord played there starts the style.\n"
           "Section keys: Fill in " + key(keys.FillIn) + ", To Ext. " + key(keys.ToExtended) + ", Ending " +
           key(keys.Ending) + ", To Basic " + key(keys.ToBasic) + ", Intro " + key(keys.Intro) + ", Extended " +
           key(keys.Extended) + ", Basic " + key(keys.Basic) + "; the settings may move them.\n"
           "In the terminal: p = panic (every note off), q = quit. Ctrl+C, SIGTERM and SIGHUP stop with every note "
           "released and exit 0.";
}

int RunArrangerCommand(const ArrangerFlags& flags, std::FILE* out, std::FILE* err) {
    return RunArranger(midi::MakeSystemBackend(), flags, out, err);
}

int RunArranger(std::unique_ptr<midi::MidiBackend> backend, const ArrangerFlags& flags, std::FILE* out,
                std::FILE* err) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<app::ConsolePrompter>(false, err);
    parts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    parts.midiBackend = std::move(backend);
    auto view = std::make_unique<ConsoleStatusView>(out);
    const app::SnapshotView& shown = view->Shown();
    parts.view = std::move(view);
    core::Session session(std::move(parts));
    app::AppState appState;
    app::Settings settings(session.Paths());
    settings.Load(appState.options, appState.config, flags.reset);
    app::LiveArranger arranger(session, appState);  // first: its clock takes part in loading the style
    if (!PrepareArranger(session, appState, flags, err) ||
        !PrepareRemote(session, appState.options, arranger.Remote(), flags, err))
        return ExitFailure;
    app::QuitOnSignals quitOnSignals(session.Loop());
    if (flags.start) {
        arranger.Start(flags.tempo);
    } else {
        arranger.Ready(flags.tempo);
    }
    if (platform::RealtimeWasDenied()) std::fprintf(err, "chordella: %s\n", platform::RealtimeDeniedNotice.data());
    midi::TMidiOutput* output = session.CurrentOutput();
    std::fprintf(out, "%s: chords from %s (keys %d … %d) to %s at %d bpm. Ctrl+C stops, p is the panic.\n",
                 flags.start ? "Playing" : "Ready", session.MidiInput1()->ProductName().c_str(),
                 appState.chords.FirstKey, appState.config.Keys.LastChordKey,
                 output ? output->ProductName().c_str() : "", appState.clock.Tempo);
    if (output && output->DeviceID() == app::SynthOutput) {
        midi::AudioSettings audio = app::AudioSettingsOf(appState.options);
        std::string ignored;
        ApplyAudioFlags(flags.audio, audio, ignored);  // checked when the arranger was prepared
        if (const auto synth = session.MidiBackend().SynthInUse())
            std::fprintf(out, "%s", app::DescribeSynth(audio, &*synth).c_str());
    }
    std::fflush(out);
    {
        TerminalStatus terminal(session, appState, shown, out, [&arranger] { arranger.Panic(); });
        session.Loop().Run();
    }
    arranger.Stop();
    std::fprintf(out, "Stopped; every note released.\n");
    return 0;
}

}  // namespace chordella::cli
