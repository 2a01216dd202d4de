// Throughput of the MIDI import over the real corpus: files per second and MB/s, for the
// conversion alone (bytes in memory) and for the whole import as the user starts it
// (file read, trial run, real run into the creator's chunks).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/Options.h"
#include "core/Session.h"
#include "data/CreatorWorkWriter.h"
#include "core/MidiImport.h"
#include "data/MidiImportRun.h"
#include "data/SmfFile.h"
#include "platform/RecordingPrompter.h"

namespace {

using namespace chordella;
namespace fs = std::filesystem;

struct CorpusFile {
    std::string path;
    std::vector<std::uint8_t> bytes;
    bool style = false;
};

const std::vector<CorpusFile>& Corpus() {
    static const std::vector<CorpusFile> files = [] {
        std::vector<CorpusFile> found;
        const char* env = std::getenv("CHORDELLA_CORPUS");
        const std::string root = env && *env ? env : CHORDELLA_DEFAULT_CORPUS;
        for (const char* sub : {"/midi", "/styles"}) {
            std::error_code error;
            for (const auto& entry : fs::directory_iterator(root + sub, error)) {
                std::ifstream in(entry.path(), std::ios::binary);
                CorpusFile file{entry.path().string(), {std::istreambuf_iterator<char>(in), {}}, false};
                data::SmfLayout layout;
                if (data::ReadSmfLayout(file.bytes, layout) != data::SmfLayoutError::None) continue;
                file.style = data::IsStyleFormat(file.path);
                found.push_back(std::move(file));
            }
        }
        return found;
    }();
    return files;
}

std::int64_t CorpusBytes() {
    std::int64_t total = 0;
    for (const CorpusFile& file : Corpus()) total += static_cast<std::int64_t>(file.bytes.size());
    return total;
}

void ReportRates(benchmark::State& state) {
    const auto files = static_cast<double>(state.iterations() * Corpus().size());
    state.counters["files/s"] = benchmark::Counter(files, benchmark::Counter::kIsRate);
    state.counters["files"] = static_cast<double>(Corpus().size());
    state.SetBytesProcessed(state.iterations() * CorpusBytes());
}

// Layout, trial run and real run into chunks allocated once.
void ConversionOfTheWholeCorpus(benchmark::State& state) {
    if (Corpus().empty()) return state.SkipWithError("no corpus");
    data::CreatorWork work;
    for (auto _ : state) {
        for (const CorpusFile& file : Corpus()) {
            data::SmfLayout layout;
            data::ReadSmfLayout(file.bytes, layout);
            data::ImportSettings settings;
            settings.CollectMarkers = file.style;
            settings.TrimLeadingSilence = true;
            data::CreatorWorkWriter trial(nullptr, {});
            data::RunImport(layout, settings, trial);
            data::EnsureWorkChunks(work, trial.ChunksReached());
            data::ClearWorkMaterial(work);
            data::CreatorWorkWriter writer(&work, {});
            benchmark::DoNotOptimize(data::RunImport(layout, settings, writer).ImportedBeats);
            writer.Finish();
        }
    }
    ReportRates(state);
}
BENCHMARK(ConversionOfTheWholeCorpus)->Unit(benchmark::kMillisecond);

// The import as a user starts it, file read and all.
void ImportOfTheWholeCorpusFromDisk(benchmark::State& state) {
    if (Corpus().empty()) return state.SkipWithError("no corpus");
    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::RecordingPrompter>();
    parts.paths = platform::Paths::InFolder(fs::temp_directory_path().string());
    core::Session session(std::move(parts));
    const core::Options options;
    data::MidiImporter importer(session, options);
    for (auto _ : state) {
        for (const CorpusFile& file : Corpus()) benchmark::DoNotOptimize(importer.Import(file.path));
    }
    ReportRates(state);
}
BENCHMARK(ImportOfTheWholeCorpusFromDisk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
