#include "cli/BatchSongsCommand.h"

#include <memory>

#include "app/AppState.h"
#include "app/Arranger.h"
#include "app/BatchRun.h"
#include "app/BatchSongs.h"
#include "app/ConsolePrompter.h"
#include "app/Settings.h"
#include "app/SongCreator.h"
#include "core/Session.h"
#include "library/Songlist.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::cli {

int RunBatchSongsCommand(int songs, const BatchCommandFlags& flags, std::FILE* out, std::FILE* err) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<app::ConsolePrompter>(flags.yes, err);
    parts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    core::Session session(std::move(parts));
    const platform::Paths& paths = session.Paths();

    // The songlist the program opens at its next start gets the songs.
    core::Options options;
    data::ConfigState config;
    app::Settings(paths).Load(options, config);
    const std::string listPath = options.SonglistFile.empty() ? paths.Songs() + "/DEMO.VXL" : options.SonglistFile;
    library::Songlist list(session.Prompter());
    if (platform::FileExists(listPath)) {
        std::string error;
        if (!list.OpenQuietly(listPath, error)) {
            std::fprintf(err, "%s: %s; no songs were made\n", listPath.c_str(), error.c_str());
            return 1;
        }
    }

    // The songs are made in a state of their own, with the program's defaults.
    app::AppState appState;
    app::Arranger arranger(session, appState);  // stopped before each song; saves go through its song host
    app::SongCreator creator(session, appState, nullptr);
    const std::string folder = flags.outputFolder.empty() ? paths.Songs() : flags.outputFolder;
    app::BatchSongs batch(session, appState, creator, list, folder);
    batch.Begin(songs, flags.clearPlaylist);
    app::BatchRun run(batch.Job(), {paths, nullptr, &batch});
    while (!run.Progress().Finished) {
        const std::size_t errorsBefore = run.Errors().size();
        run.Step();
        const app::BatchProgress progress = run.Progress();
        if (run.Errors().size() > errorsBefore) {
            const app::BatchError& error = run.Errors().back();
            std::fprintf(err, "%s: %s\n", error.File.c_str(), error.Reason.c_str());
        } else {
            std::fprintf(out, "[%d/%d] %s\n", progress.Done, progress.FileCount, progress.CurrentFile.c_str());
        }
        if (batch.Stopped() && !progress.Finished) run.Cancel();
    }
    batch.Finish();

    if (batch.Made() > 0 || flags.clearPlaylist) {
        // The list as it was before goes to its .bak first.
        platform::MakeFolders(platform::FolderOf(listPath));
        if (!list.SaveIfModified() || (list.SonglistPath().empty() && !list.SaveTo(listPath))) {
            std::fprintf(err, "%s: the songlist could not be saved; the songs are in %s\n", listPath.c_str(),
                         folder.c_str());
            return 1;
        }
    }
    std::fprintf(out, "%d of %d songs written to %s and added to %s, %d errors\n", batch.Made(), batch.Count(),
                 folder.c_str(), list.SonglistPath().c_str(), run.Progress().Errors);
    return run.Progress().Errors == 0 && batch.Made() == batch.Count() ? 0 : 1;
}

}  // namespace chordella::cli
