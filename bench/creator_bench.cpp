// The style creator on the largest MIDI file of the corpus: the whole `chordella create`
// (import, chords, conversion, quick style, style saved), and chord generation and
// conversion alone on the imported material.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/CreateCommand.h"
#include "core/MidiImport.h"
#include "core/Options.h"
#include "core/Session.h"
#include "platform/RecordingPrompter.h"
#include "stylecreator/ChordGeneration.h"
#include "stylecreator/Conversion.h"

namespace {

using namespace chordella;
namespace fs = std::filesystem;

std::string LargestMidiFile() {
    const char* env = std::getenv("CHORDELLA_CORPUS");
    const std::string root = std::string(env && *env ? env : CHORDELLA_DEFAULT_CORPUS) + "/midi";
    std::string largest;
    std::uintmax_t size = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root, error)) {
        if (entry.path().extension() != ".mid" || entry.file_size() <= size) continue;
        size = entry.file_size();
        largest = entry.path().string();
    }
    return largest;
}

void CreateCommand(benchmark::State& state) {
    const std::string input = LargestMidiFile();
    const fs::path folder = fs::temp_directory_path() / "chordella-creator-bench";
    fs::create_directories(folder);
    cli::CreateCommandFlags flags;
    flags.input = input;
    flags.output = (folder / "bench.vxs").string();
    flags.home = (folder / "home").string();
    flags.force = true;
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state)
        if (cli::RunCreateCommand(flags, sink, sink) != 0) state.SkipWithError(("cannot create from " + input).c_str());
    std::fclose(sink);
    fs::remove_all(folder);
    state.SetLabel(fs::path(input).filename().string());
}
BENCHMARK(CreateCommand)->Unit(benchmark::kMillisecond);

void GenerateAndConvert(benchmark::State& state) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::RecordingPrompter>();
    core::Session session(std::move(parts));
    const core::Options options;
    data::MidiImporter importer(session, options);
    if (importer.Import(LargestMidiFile(), false, true) != data::ImportOutcome::Imported) {
        state.SkipWithError("no corpus file imported");
        return;
    }
    data::CreatorWork& work = session.Style().Work;
    const auto material = data::FirstChunkMaterial(work);
    const std::vector<std::uint8_t> original(material.begin(), material.end());
    data::ChordMemory memory;
    for (auto _ : state) {
        std::copy(original.begin(), original.end(), work.Chunks[0].Buffer.get());
        data::ClearChordMemory(memory);
        stylecreator::GenerateChordsFrom(work, memory, {});
        stylecreator::ConversionRequest request;
        request.StopPosition = stylecreator::GenerationPositionLimit;
        benchmark::DoNotOptimize(stylecreator::ConvertMaterial(work, memory, request));
    }
}
BENCHMARK(GenerateAndConvert)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
