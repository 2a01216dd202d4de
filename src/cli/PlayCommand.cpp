// `chordella play SONG.vxa|STYLE.vxs [--style S] [--out PORT] [--measures N]`: plays in real
// time through a MIDI output or the built-in synth. A song plays to its end; a style alone
// plays N measures or until Ctrl-C (or SIGTERM, or SIGHUP when the terminal closes). Every
// note still sounding is released at the end and the exit code is 0.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>

#include "app/AudioOptions.h"
#include "app/DataHome.h"
#include "app/MidiExport.h"
#include "app/QuitOnSignals.h"
#include "app/RenderSession.h"
#include "cli/PlayOutput.h"
#include "cli/RenderCommands.h"
#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/OfflineRenderer.h"
#include "midi/MidiErrors.h"
#include "midi/MidiOutput.h"
#include "midi/PortSelection.h"
#include "midi/SystemBackend.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

constexpr auto PollPeriod = std::chrono::milliseconds(20);
constexpr auto ReleaseTail = std::chrono::milliseconds(1500);

// A path as a shell takes it: quoted when it holds anything but plain characters.
std::string ShellQuoted(const std::string& path) {
    const bool plain = !path.empty() && path.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                               "0123456789_./-+,") == std::string::npos;
    if (plain) return path;
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int Fail(std::FILE* err, const std::string& file, const std::string& reason) {
    std::fprintf(err, "%s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

// Runs the control loop until the music ends, `ticks` ticks have run (0: no limit) or a
// signal ends the loop.
void PlayUntilDone(core::Session& session, engine::AccompanimentEngine& engine, const engine::ClockState& clockState,
                   std::int64_t ticks) {
    const std::int64_t start = clockState.TickCount;
    platform::EventLoop& loop = session.Loop();
    platform::EventLoop::TimerId poll = 0;
    poll = loop.StartTimer(PollPeriod, true, [&] {
        const bool playing = session.Style().player.StyleActive != 0 || engine.Transport().ChordMemoryBusy();
        const bool enough = ticks > 0 && clockState.TickCount - start >= ticks;
        if (!playing || enough) loop.Quit();
    });
    loop.Run();
    loop.StopTimer(poll);
}

}  // namespace

int RunPlayCommand(const PlayCommandFlags& flags, std::FILE* out, std::FILE* err) {
    return RunPlay(midi::MakeSystemBackend(), flags, out, err);
}

int RunPlay(std::unique_ptr<midi::MidiBackend> backend, const PlayCommandFlags& given, std::FILE* out,
            std::FILE* err) {
    PlayCommandFlags flags = given;
    if (flags.input.empty()) {
        // No file: the bundled demo song with its style, so a first start is heard at once.
        const std::string assets = app::BundledAssetsFolder(platform::ExecutablePath());
        flags.input = assets + "/songs/demo2.vxa";
        if (flags.style.empty()) flags.style = assets + "/styles/cont1.vxs";
    }
    if (const std::string bad = app::CheckMeasures(flags.measures); !bad.empty()) return Fail(err, flags.input, bad);
    const platform::Paths paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    midi::AudioSettings audio = app::LoadAudioSettings(paths);
    if (std::string bad; !ApplyAudioFlags(flags.audio, audio, bad)) return Fail(err, flags.input, bad);
    backend->ApplyAudioSettings(audio);
    app::RenderSession render(paths, std::move(backend));
    std::string errorFile, error;
    render.UseVariationsSet(flags.set);
    if (!app::LoadRenderInput(render, flags.input, flags.style, errorFile, error, err)) return Fail(err, errorFile, error);
    const bool song = render.HasSong();
    if (song && !app::RenderSession::CanPlaySongs()) return Fail(err, flags.input, app::SongsNeedPlaybackText);

    core::Session& session = render.Session();
    int id = -1;
    if (!ResolvePort(session.MidiBackend(), flags.port, id))
        return Fail(err, flags.port, "no such MIDI output (chordella ports lists them)");
    midi::TMidiOutput port(session.MidiBackend(), session.Loop());
    port.SetDeviceID(id);
    if (!port.Open()) {
        const std::string reason = midi::MidiErrorText(session.MidiBackend(), port.Error());
        if (id == -1 && port.Error() == midi::result::NoAudioDevice) {
            // The suggestion must work as it stands: with the style this play used.
            std::string render = "chordella render " + ShellQuoted(flags.input);
            if (!flags.style.empty()) render += " --style " + ShellQuoted(flags.style);
            if (flags.set != 1) render += " --set " + std::to_string(flags.set);
            return Fail(err, flags.input, "no audio output was found, so the built-in synth cannot sound; play through "
                                          "a MIDI output with --out PORT (chordella ports lists them), or write a "
                                          "file: " + render + " -o OUT.wav");
        }
        if (id == -1) return Fail(err, flags.input, "the built-in synth cannot play: " + reason);
        return Fail(err, flags.port, reason);
    }
    // From the first note on, a signal ends the loop and the notes are released below.
    app::QuitOnSignals quitOnSignals(session.Loop());
    SoundingNotes sounding(port);
    session.SetAccompanimentOutput(&sounding);
    engine::SendChannelSetup(session.Style().style.Header, sounding);

    engine::Clock& clock = render.Clock();
    clock.SetupClock();
    if (clock.State().ClockState == 0) clock.ToggleClock();
    const bool started = song ? render.StartSong() : render.StartStyle();
    if (!started) return Fail(err, flags.input, "nothing to play");
    std::fprintf(out, "Playing %s on %s%s\n", flags.input.c_str(), port.Caps().ProductName.c_str(),
                 song || flags.measures > 0 ? "" : " (Ctrl-C stops)");
    if (const auto synth = session.MidiBackend().SynthInUse(); synth && id == -1)
        std::fprintf(out, "%s", app::DescribeSynth(audio, &*synth).c_str());
    std::fflush(out);

    const std::int64_t ticks = static_cast<std::int64_t>(std::max(flags.measures, 0)) * clock.State().MeasureUnits * 6;
    PlayUntilDone(session, render.Engine(), clock.State(), ticks);

    if (session.Style().player.StyleActive != 0) render.Engine().Transport().StopTransport();
    if (clock.State().ClockState != 0) clock.ToggleClock();
    sounding.ReleaseAll();
    // Let the last notes die away before the port closes.
    session.Loop().StartTimer(ReleaseTail, false, [&] { session.Loop().Quit(); });
    session.Loop().Run();
    session.SetAccompanimentOutput(nullptr);
    return 0;
}

}  // namespace chordella::cli
