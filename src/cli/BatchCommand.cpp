#include "cli/BatchCommand.h"

#include <unistd.h>

#include <chrono>
#include <memory>

#include "app/BatchRun.h"
#include "library/StylePlaylist.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

using Clock = std::chrono::steady_clock;

BatchSongsRunner& SongsRunner() {
    static BatchSongsRunner runner;
    return runner;
}

// "\r\n" of the program's texts as plain line ends.
std::string Plain(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

std::string MinutesSeconds(long seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%02ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

// The progress bar of a terminal: one line, rewritten after each file.
class ProgressLine {
public:
    explicit ProgressLine(std::FILE* out) : out_(out), shown_(isatty(fileno(out)) != 0), started_(Clock::now()) {}

    void Show(const app::BatchProgress& progress) {
        if (!shown_ || progress.FileCount == 0) return;
        // A fast run redraws the bar a few times a second, not once per file.
        const Clock::time_point now = Clock::now();
        if (progress.Done > 0 && progress.Done < progress.FileCount && now - drawn_ < std::chrono::milliseconds(100))
            return;
        drawn_ = now;
        const long elapsed =
            static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started_).count());
        const int width = 24;
        const int filled = progress.Done * width / progress.FileCount;
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.append(static_cast<std::size_t>(width - filled), '.');
        std::string eta = "--:--";
        if (progress.Done > 0)
            eta = MinutesSeconds(elapsed * (progress.FileCount - progress.Done) / progress.Done);
        std::string name(platform::FileNamePart(progress.CurrentFile));
        if (name.size() > 32) name = name.substr(0, 29) + "...";
        std::fprintf(out_, "\r\x1b[K[%s] %d/%d %s  %s ETA %s", bar.c_str(), progress.Done, progress.FileCount,
                     name.c_str(), MinutesSeconds(elapsed).c_str(), eta.c_str());
        if (progress.Errors > 0) std::fprintf(out_, "  %d errors", progress.Errors);
        std::fflush(out_);
    }
    // Clears the bar before a line of text.
    void Clear() {
        if (!shown_) return;
        std::fputs("\r\x1b[K", out_);
        std::fflush(out_);
    }

private:
    std::FILE* out_;
    bool shown_;
    Clock::time_point started_;
    Clock::time_point drawn_{};
};

// Runs the job to its end, printing each new error and message as it comes.
void RunToEnd(app::BatchRun& run, std::FILE* out, std::FILE* err) {
    ProgressLine bar(out);
    std::size_t errorsShown = 0, messagesShown = 0;
    const auto report = [&] {
        if (errorsShown == run.Errors().size() && messagesShown == run.Messages().size()) return;
        bar.Clear();
        for (; errorsShown < run.Errors().size(); ++errorsShown) {
            const app::BatchError& error = run.Errors()[errorsShown];
            std::fprintf(err, "%s: %s\n", error.File.c_str(), error.Reason.c_str());
        }
        for (; messagesShown < run.Messages().size(); ++messagesShown)
            std::fprintf(out, "%s\n", run.Messages()[messagesShown].c_str());
        std::fflush(err);
    };
    bar.Show(run.Progress());
    while (run.Step()) {
        report();
        bar.Show(run.Progress());
    }
    report();
    bar.Clear();
}

bool AskYes(std::FILE* in, std::FILE* out, const std::string& question) {
    std::fprintf(out, "%s [y/N] ", question.c_str());
    std::fflush(out);
    char answer[64] = {};
    if (in == nullptr || std::fgets(answer, sizeof answer, in) == nullptr) {
        std::fputc('\n', out);
        return false;
    }
    return answer[0] == 'y' || answer[0] == 'Y';
}

}  // namespace

void SetBatchSongsRunner(BatchSongsRunner runner) { SongsRunner() = std::move(runner); }

int RunBatchCommand(const BatchCommandFlags& flags, std::FILE* in, std::FILE* out, std::FILE* err) {
    const std::optional<app::BatchMode> mode = app::BatchModeNamed(flags.mode);
    if (!mode) {
        std::fprintf(err, "%s: not a batch mode (convert, delete-bassless, check, normalize, refresh, add, tag, songs)\n",
                     flags.mode.c_str());
        return 2;
    }
    if (*mode == app::BatchMode::Songs) {
        const std::optional<int> songs = app::ParseSongCount(flags.folder);
        if (!songs) {
            std::fprintf(err, "%s\n", std::string(app::batch_text::WrongSongs).c_str());
            return 2;
        }
        if (!SongsRunner()) {
            std::fprintf(err, "batch songs: the song creator is not available in this build\n");
            return 2;
        }
        return SongsRunner()(*songs, flags, out, err);
    }
    if (flags.folder.empty() == flags.playlist.empty()) {
        std::fprintf(err, "batch %s: give a folder or --playlist FILE (one of them)\n", flags.mode.c_str());
        return 2;
    }
    app::BatchJob job;
    job.Mode = *mode;
    if (job.Mode == app::BatchMode::Convert) {
        if (flags.outputFolder.empty()) {
            std::fprintf(err, "batch convert: give the folder the styles go to with -o DIR\n");
            return 2;
        }
        if (!platform::MakeFolders(flags.outputFolder)) {
            std::fprintf(err, "%s: the folder cannot be made\n", flags.outputFolder.c_str());
            return 1;
        }
        job.OutputFolder = flags.outputFolder;
    }
    if (flags.sets < 1 || flags.sets > 6) {
        std::fprintf(err, "%s\n", std::string(app::batch_text::WrongEntry).c_str());
        return 2;
    }
    job.Sets = flags.sets;
    if (flags.description == app::batch_text::FromFolder) job.Descriptions = app::DescriptionPolicy::FromFolder;
    else if (!flags.description.empty()) {
        job.Descriptions = app::DescriptionPolicy::Given;
        job.Description = flags.description;
    }
    job.ClearPlaylistFirst = flags.clearPlaylist;

    app::BatchContext context{.Paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath())};
    // The style playlist: where Add and Tag put their lines, and the inputs with --playlist.
    auto playlist = std::make_unique<library::StylePlaylist>(context.Paths);
    std::string message;
    std::vector<std::string> missing;
    if (!flags.playlist.empty()) {
        library::StylePlaylist listed(context.Paths);
        if (!listed.OpenPlaylist(flags.playlist, message)) {
            std::fprintf(err, "%s\n", message.c_str());
            return 1;
        }
        job.Inputs = app::BatchInputsFromPlaylist(listed, job.Mode, &missing);
        // Tag changes the lines of the list it was given.
        if (job.Mode == app::BatchMode::Tag) *playlist = std::move(listed);
    } else {
        std::string error;
        job.Inputs = app::BatchInputsFromFolder(flags.folder, job.Mode, &error);
        if (!error.empty()) {
            std::fprintf(err, "%s\n", error.c_str());
            if (job.Inputs.empty()) return 1;
        }
    }
    if ((job.Mode == app::BatchMode::Add || job.Mode == app::BatchMode::Tag) &&
        (job.Mode == app::BatchMode::Add || flags.playlist.empty()) && !playlist->OpenCurrent("", message)) {
        std::fprintf(err, "The style playlist cannot be read: %s\n", message.c_str());
        return 1;
    }
    if (job.Mode == app::BatchMode::Add || job.Mode == app::BatchMode::Tag) context.Playlist = playlist.get();
    for (const std::string& path : missing) std::fprintf(err, "%s: no such file\n", path.c_str());

    if (job.Mode == app::BatchMode::DeleteBassless) {
        app::BatchJob look = job;
        look.DryRun = true;
        app::BatchRun dry(look, context);
        RunToEnd(dry, out, err);
        const std::vector<std::string> doomed = dry.Deleted();
        const int lookErrors = static_cast<int>(dry.Errors().size() + missing.size());
        if (doomed.empty()) {
            std::fprintf(out, "No style without a bass track among %zu styles.\n", job.Inputs.size());
            std::fprintf(out, "0 of %zu files deleted, %d errors\n", job.Inputs.size(), lookErrors);
            return lookErrors == 0 ? 0 : 1;
        }
        std::fprintf(out, "Styles without a bass track (or with parts on the stream's end):\n");
        for (const std::string& path : doomed) std::fprintf(out, "  %s\n", path.c_str());
        if (!flags.yes && !AskYes(in, out, "Delete these " + std::to_string(doomed.size()) + " styles ?")) {
            std::fprintf(out, "Nothing was deleted.\n");
            return lookErrors == 0 ? 0 : 1;
        }
        job.Inputs = doomed;
        app::BatchRun run(job, context);
        RunToEnd(run, out, err);
        const int errors = lookErrors + static_cast<int>(run.Errors().size());
        std::fprintf(out, "%s\n", Plain(run.Summary()).c_str());
        std::fprintf(out, "%zu of %zu styles deleted, %d errors\n", run.Deleted().size(), dry.Job().Inputs.size(),
                     errors);
        return errors == 0 ? 0 : 1;
    }

    app::BatchRun run(job, context);
    if (run.Progress().Stopped) {
        std::fprintf(err, "%s\n", run.StopReason().c_str());
        return 1;
    }
    RunToEnd(run, out, err);
    if (run.Progress().Stopped) std::fprintf(err, "%s\n", run.StopReason().c_str());
    if (job.Mode == app::BatchMode::Convert || job.Mode == app::BatchMode::Normalize || job.Mode == app::BatchMode::Refresh)
        std::fprintf(out, "%zu styles written.\n", run.Written().size());
    if (job.Mode == app::BatchMode::Add || job.Mode == app::BatchMode::Tag)
        std::fprintf(out, "%d playlist lines %s; %s\n", run.LinesChanged(), job.Mode == app::BatchMode::Add ? "added" : "tagged",
                     playlist->Caption().c_str());
    std::fprintf(out, "%s\n", Plain(run.Summary()).c_str());
    const int errors = static_cast<int>(run.Errors().size() + missing.size());
    std::string last = run.CountLine();
    if (!missing.empty()) last += ", " + std::to_string(missing.size()) + " listed files not found";
    std::fprintf(out, "%s\n", last.c_str());
    return errors == 0 && !run.Progress().Stopped && !run.Progress().Cancelled ? 0 : 1;
}

}  // namespace chordella::cli
