// The batch processor takes whatever files lie in a folder. Each input is written as a
// style file of ours and run through check, delete-without-bass (looking only), normalise and
// refresh; the same bytes as typed text and paths go through the naming rules. Nothing may
// crash; a style that is rewritten must read back; names never gain a folder separator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "data/StyleFile.h"
#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = (fs::temp_directory_path() / "chordella-batch-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    return folder;
}

void RunMode(chordella::app::BatchMode mode, const std::string& file, bool dryRun) {
    using namespace chordella::app;
    BatchJob job;
    job.Mode = mode;
    job.Inputs = {file};
    job.DryRun = dryRun;
    BatchRun run(job, {.Paths = chordella::platform::Paths::InFolder(Folder())});
    while (run.Step()) {
    }
    const BatchProgress progress = run.Progress();
    if (!progress.Finished || progress.Done != 1) std::abort();
    for (const std::string& written : run.Written()) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        chordella::data::StyleImage image;
        if (!chordella::platform::ReadFileBytes(written, 1 << 22, bytes, error) ||
            !chordella::data::ReadStyleFile(bytes, image, error))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::app;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (DescriptionFromFolder(text).size() > 14) std::abort();
    const std::string name = ConvertedName(text, 3, text);
    if (name.find('/') != std::string::npos) std::abort();
    if (const auto sets = ParseSetCount(text); sets && (*sets < 1 || *sets > 6)) std::abort();
    if (const auto songs = ParseSongCount(text); songs && (*songs < 1 || *songs > 50)) std::abort();

    const std::string file = Folder() + "/fuzz.vxs";
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(size));
    RunMode(BatchMode::Check, file, false);
    RunMode(BatchMode::DeleteBassless, file, true);
    RunMode(BatchMode::Normalize, file, false);
    RunMode(BatchMode::Refresh, file, false);
    return 0;
}
