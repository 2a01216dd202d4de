// How long the song creator takes: 100 songs of 32 measures generated and written into a
// chord memory, in each generation mode; and one 12 bar blues of the longest length.
#include <benchmark/benchmark.h>

#include "composer/GeneratedSong.h"
#include "composer/ProgressionList.h"
#include "composer/SongGenerator.h"
#include "data/ChordMemory.h"
#include "platform/Random.h"

using namespace chordella;

namespace {

void HundredSongs(benchmark::State& state) {
    const auto mode = static_cast<composer::GenerationMode>(state.range(0));
    composer::SongCreatorOptions options;
    composer::ProgressionChoice choice;
    choice.UseMixed();
    platform::Random random(1);
    data::ChordMemory memory;
    for (auto _ : state) {
        for (int song = 0; song < 100; ++song) {
            composer::WriteGeneratedSong(composer::GenerateSong(options, mode, &choice, {}, random), memory);
        }
        benchmark::DoNotOptimize(memory.Bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
// 0 = from the progressions, 1 = random chords, 2 = completely random.
BENCHMARK(HundredSongs)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void LongestBlues(benchmark::State& state) {
    composer::SongCreatorOptions options;
    options.SongMeasures = 10000;
    composer::ProgressionChoice choice;
    choice.ChooseEntry(composer::ShuffleBlues12Entry);
    platform::Random random(1);
    data::ChordMemory memory;
    for (auto _ : state) {
        composer::WriteGeneratedSong(
            composer::GenerateSong(options, composer::GenerationMode::Progressions, &choice, {}, random), memory);
        benchmark::DoNotOptimize(memory.Bytes.data());
    }
}
BENCHMARK(LongestBlues)->Unit(benchmark::kMicrosecond);

}  // namespace
