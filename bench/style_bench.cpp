// Reading and analysing a style as large as the stream buffer: what a style load costs the
// control thread (which also runs the ticks).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "data/StyleState.h"

namespace {

using namespace chordella::data;

// A full buffer with a Basic part over all of it: a note-on on one of 8 channels every tick,
// each followed by its note-off — or (unended) thousands of starts of one note that only the
// stream's last event ends.
struct FullStyle {
    StyleHeader header;
    PartTable parts{};
    std::vector<std::uint8_t> stream;

    explicit FullStyle(bool unended) {
        int n = 0;
        while (stream.size() + 8 < static_cast<std::size_t>(StreamCapacity)) {
            const auto channel = static_cast<std::uint8_t>(n % 8);
            const auto note = static_cast<std::uint8_t>(unended ? 60 : 36 + n % 48);
            stream.insert(stream.end(), {static_cast<std::uint8_t>(0x90 | channel), note, 100});
            if (!unended) stream.insert(stream.end(), {static_cast<std::uint8_t>(0x90 | channel), note, 0});
            stream.push_back(0xF8);
            ++n;
        }
        if (unended) stream.insert(stream.end(), {0x90, 60, 0});
        stream.push_back(0);
        auto& basic = parts[Index(StylePart::Basic)];
        basic.StartMeasure = basic.EndMeasure = basic.StartBeat = basic.LengthMeasures = 1;
        basic.RangeEnd = static_cast<std::int32_t>(stream.size() - 1);
    }
};

void BM_ReadFullStyleFile(benchmark::State& state) {
    const FullStyle style(false);
    const auto file = StyleFileBytes(style.header, style.parts, style.stream);
    for (auto _ : state) {
        StyleImage image;
        std::string error;
        benchmark::DoNotOptimize(ReadStyleFile(file, image, error));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadFullStyleFile)->Unit(benchmark::kMillisecond);

void BM_AnalyseFullStyle(benchmark::State& state) {
    const FullStyle built(state.range(0) != 0);
    StyleState style;
    style.Stream.Allocate();
    style.Parts = built.parts;
    std::copy(built.stream.begin(), built.stream.end(), style.StreamBytes());
    style.StyleLength = static_cast<std::int32_t>(built.stream.size());
    for (auto _ : state) {
        AnalyseChannels(style, 0, PartCount - 1, true);
        benchmark::DoNotOptimize(style.NotesEndInPart);
    }
}
// 0: every note ends at once; 1: thousands of starts of one note, ended only at the very end.
BENCHMARK(BM_AnalyseFullStyle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
