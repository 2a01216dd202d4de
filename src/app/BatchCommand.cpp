#include "app/BatchCommand.h"

#include "app/BatchRun.h"

namespace chordella::app {

namespace {

BatchSongsRunner& SongsRunner() {
    static BatchSongsRunner runner;
    return runner;
}

}  // namespace

void SetBatchSongsRunner(BatchSongsRunner runner) { SongsRunner() = std::move(runner); }

int RunBatchCommand(const BatchCommandFlags& flags, std::FILE* in, std::FILE* out, std::FILE* err) {
    (void)in;
    (void)out;
    const std::optional<BatchMode> mode = BatchModeNamed(flags.mode);
    if (!mode) {
        std::fprintf(err, "%s: not a batch mode\n", flags.mode.c_str());
        return 2;
    }
    if (*mode == BatchMode::Songs) {
        const std::optional<int> songs = ParseSongCount(flags.folder);
        if (!songs) {
            std::fprintf(err, "%s\n", std::string(batch_text::WrongSongs).c_str());
            return 2;
        }
        if (!SongsRunner()) {
            std::fprintf(err, "batch songs: the song creator is not available in this build\n");
            return 2;
        }
        return SongsRunner()(*songs, flags, out, err);
    }
    std::fprintf(err, "batch %s: not ready yet\n", flags.mode.c_str());
    return 2;
}

}  // namespace chordella::app
