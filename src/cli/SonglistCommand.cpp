#include "cli/SonglistCommand.h"

#include <algorithm>

#include <chrono>
#include <filesystem>

#include "app/AppState.h"
#include "app/AudioOptions.h"
#include "app/ConsolePrompter.h"
#include "app/QuitOnSignals.h"
#include "app/Arranger.h"
#include "app/StateParts.h"
#include "cli/PlayOutput.h"
#include "core/Session.h"
#include "data/ArrangementLink.h"
#include "core/SongFiles.h"
#include "core/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "library/SongPlayer.h"
#include "library/SongSnapshot.h"
#include "library/Songlist.h"
#include "midi/MidiErrors.h"
#include "midi/MidiOutput.h"
#include "midi/SystemBackend.h"
#include "platform/Clock.h"
#include "platform/Files.h"

namespace chordella::cli {

namespace {

constexpr auto PollPeriod = std::chrono::milliseconds(10);
constexpr auto ReleaseTail = std::chrono::milliseconds(1500);

int Fail(std::FILE* err, const std::string& file, const std::string& reason) {
    std::fprintf(err, "%s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

std::unique_ptr<core::Session> MakeSession(const SonglistCommandFlags& flags,
                                           std::unique_ptr<midi::MidiBackend> backend, std::FILE* err) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<app::ConsolePrompter>(false, err);
    parts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    // The built-in synth plays with the SoundFont and levels the settings name.
    if (backend) backend->ApplyAudioSettings(app::LoadAudioSettings(parts.paths));
    parts.midiBackend = std::move(backend);
    return std::make_unique<core::Session>(std::move(parts));
}

int List(const library::Songlist& list, std::FILE* out) {
    int number = 0;
    for (const std::string& line : list.Entries()) {
        const library::SongEntry entry = library::ParseSongEntry(line);
        std::fprintf(out, "%3d  %-30s  %s  %s\n", ++number, entry.Title.c_str(), entry.Path.c_str(),
                     library::SongEntrySummary(entry).c_str());
    }
    std::fprintf(out, "%d songs\n", number);
    return 0;
}

int Add(library::Songlist& list, const SonglistCommandFlags& flags, std::FILE* out, std::FILE* err) {
    std::error_code ignored;
    const std::string song = std::filesystem::absolute(flags.add, ignored).lexically_normal().string();
    if (!library::PathFits(song))
        return Fail(err, song,
                    "the path is longer than 80 characters, which a songlist cannot hold; "
                    "move the song to a shorter path");
    // The song is read as data for its entry: nothing plays, its style is not loaded.
    data::OfflineSongHost reader;
    std::unique_ptr<core::Session> session = MakeSession(flags, nullptr, err);
    session->SetArrangementLink(&reader);
    app::AppState appState;
    data::SongFiles songs(*session, appState.arrangement, appState.options);
    if (songs.Open({data::OpenSource::Path, song, false}) != data::OpenOutcome::Opened)
        return Fail(err, song, "not added: the song could not be opened");
    std::string title = flags.title;
    if (title.empty()) title = appState.arrangement.Text.SongTitle;
    if (title.empty()) title = std::filesystem::path(song).stem().string();
    if (!list.Append(library::CaptureSongEntry(*session, app::SongStateOf(appState), title))) return 1;
    const std::string path = list.SonglistPath().empty() ? flags.list : list.SonglistPath();
    if (!list.SaveTo(path)) return 1;
    std::fprintf(out, "Added \"%s\" as song %zu of %s\n", title.c_str(), list.Entries().size(), path.c_str());
    return 0;
}

// Everything that plays a song, wired as in the desktop: the arranger's song host opens songs
// (and the styles they name) and starts them; chord-memory playback steps through them.
struct PlayRig {
    explicit PlayRig(core::Session& s) : arranger(s, state) {}
    app::AppState state;
    app::Arranger arranger;
};

int Play(library::Songlist& list, const SonglistCommandFlags& flags, std::unique_ptr<midi::MidiBackend> backend,
         std::FILE* out, std::FILE* err) {
    const int count = static_cast<int>(list.Entries().size());
    if (flags.from < 1 || flags.from > count)
        return Fail(err, flags.list,
                    "--from " + std::to_string(flags.from) + ": the list has " + std::to_string(count) + " songs");
    // As the session-mode question takes it: 0 turns session mode off, more than 20 is 20.
    const int repeats = flags.session ? std::clamp(flags.repeats, 0, library::MaxSessionRepeats) : 0;
    std::unique_ptr<core::Session> session =
        MakeSession(flags, backend ? std::move(backend) : midi::MakeSystemBackend(), err);
    PlayRig rig(*session);

    int id = -1;
    if (!ResolvePort(session->MidiBackend(), flags.port, id))
        return Fail(err, flags.port, "no such MIDI output (chordella ports lists them)");
    midi::TMidiOutput port(session->MidiBackend(), session->Loop());
    port.SetDeviceID(id);
    if (!port.Open()) {
        const std::string reason = midi::MidiErrorText(session->MidiBackend(), port.Error());
        return Fail(err, id == -1 ? flags.list : flags.port,
                    id == -1 ? "no audio device for the built-in synth (" + reason + ")" : reason);
    }
    SoundingNotes sounding(port);
    session->SetAccompanimentOutput(&sounding);
    if (!flags.style.empty() && data::StyleStore(*session).Load(flags.style, false) != data::StyleLoadResult::Loaded)
        return Fail(err, flags.style, "the style could not be loaded");
    rig.arranger.Clock().SetupClock();
    if (rig.state.clock.ClockState == 0) rig.arranger.Clock().ToggleClock();

    library::SongPlayer player(*session, app::SongStateOf(rig.state), list);
    player.SetSessionRepeats(repeats);
    int nextToQueue = flags.from - 1;
    auto topUp = [&] {
        while (nextToQueue < count && list.PlayQueue().size() < library::PlayQueueCapacity) list.Enqueue(nextToQueue++);
    };
    topUp();

    // One status line per song, written when its first note sounds (or when it is left).
    struct Pending {
        bool open = false;
        std::string text;
        std::int64_t endedAt = -1;
        std::int64_t notesAtStart = 0;
    } pending;
    auto flush = [&](const char* suffix) {
        if (!pending.open) return;
        std::fprintf(out, "%s%s\n", pending.text.c_str(), suffix);
        std::fflush(out);
        pending.open = false;
    };
    int started = 0;
    player.SongStarted = [&](const library::SongStart& start) {
        ++started;
        flush(" (no note)");
        pending = {true,
                   "[" + std::to_string(start.Entry + 1) + "/" + std::to_string(count) + "] " + start.Title + " - " +
                       start.Path + (start.Repeats > 0 ? " x" + std::to_string(start.Repeats) : ""),
                   start.GapMillis < 0 ? -1 : platform::NowMillis() - start.GapMillis, sounding.NotesStarted()};
        topUp();
    };
    int skipped = 0;
    player.SongSkipped = [&](const std::string& path, const std::string& reason) {
        ++skipped;
        std::fprintf(out, "skipped %s: %s\n", path.c_str(), reason.c_str());
    };

    platform::EventLoop& loop = session->Loop();
    app::QuitOnSignals quit(loop);
    loop.StartTimer(PollPeriod, true, [&] {
        const std::int64_t now = platform::NowMillis();
        if (pending.open && sounding.NotesStarted() > pending.notesAtStart)
            flush(pending.endedAt < 0
                      ? ""
                      : (", first note " + std::to_string(now - pending.endedAt) + " ms after the song before ended")
                            .c_str());
        player.Poll(now);
        if (!player.Running()) loop.Quit();
    });
    player.Start(std::nullopt, platform::NowMillis());
    if (player.Running()) loop.Run();
    flush("");

    player.Stop();
    if (rig.state.clock.ClockState != 0) rig.arranger.Clock().ToggleClock();
    sounding.ReleaseAll();
    loop.StartTimer(ReleaseTail, false, [&] { loop.Quit(); });
    loop.Run();
    session->SetAccompanimentOutput(nullptr);
    if (started == 0 && skipped > 0) return Fail(err, flags.list, "none of its songs could be played");
    return 0;
}

}  // namespace

int RunSonglistCommand(const SonglistCommandFlags& flags, std::FILE* out, std::FILE* err,
                       std::unique_ptr<midi::MidiBackend> backend) {
    app::ConsolePrompter prompter(false, err);
    library::Songlist list(prompter);
    const bool adding = !flags.add.empty();
    if (!adding || platform::FileExists(flags.list)) {
        std::string error;
        if (!list.OpenQuietly(flags.list, error)) return Fail(err, flags.list, error);
    }
    if (adding) return Add(list, flags, out, err);
    if (flags.play) return Play(list, flags, std::move(backend), out, err);
    return List(list, out);
}

}  // namespace chordella::cli
