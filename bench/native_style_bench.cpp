// Another maker's style played natively against the same style converted to ours: the time
// to load it (import, parts, channel table) and to render one pass of its Basic part over a
// chord, where every note of the native style goes through its channel's rules.
//
//   build/bench/native_style_bench [--benchmark_filter=…]
//
// The style is the tests' realistic sample (drums, bass, piano over CMaj7, pads, a phrase);
// with CHORDELLA_NATIVE_STYLE=FILE.sty a real file is measured instead.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/ForeignStylePlay.h"
#include "app/ForeignStyleSets.h"
#include "app/RenderSession.h"
#include "core/Session.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"

namespace {

using namespace chordella;

struct Files {
    testing::TempFolder folder;
    std::string foreign;
    std::string converted;

    Files() {
        const char* given = std::getenv("CHORDELLA_NATIVE_STYLE");
        foreign = given && *given ? given : folder.Path() + "/Sample.sty";
        if (!(given && *given)) testing::SampleKeyboardStyle().Write(foreign);
        app::RenderSession session{platform::Paths::InFolder(folder.Path())};
        app::StyleSetsRequest request;
        request.Sets = {1};
        request.Folder = folder.Path();
        const app::StyleSetsOutcome written =
            app::ConvertForeignFileToStyles(session.Session(), session.State(), foreign, request);
        converted = written.Written.empty() ? std::string() : written.Written.front().Path;
    }
};

Files& TheFiles() {
    static Files files;
    return files;
}

void BM_LoadNative(benchmark::State& state) {
    app::RenderSession render{platform::Paths::InFolder(TheFiles().folder.Path())};
    for (auto _ : state)
        benchmark::DoNotOptimize(app::LoadForeignStyle(render.Session(), render.State(), TheFiles().foreign, 1).Loaded);
}
BENCHMARK(BM_LoadNative)->Unit(benchmark::kMillisecond);

void BM_LoadConverted(benchmark::State& state) {
    app::RenderSession render{platform::Paths::InFolder(TheFiles().folder.Path())};
    std::string error;
    for (auto _ : state) benchmark::DoNotOptimize(render.LoadStyle(TheFiles().converted, error));
}
BENCHMARK(BM_LoadConverted)->Unit(benchmark::kMillisecond);

// One pass of the Basic part over A minor 7.
void RenderBasic(benchmark::State& state, bool native) {
    app::RenderSession render{platform::Paths::InFolder(TheFiles().folder.Path())};
    std::string error;
    const bool loaded = native ? app::LoadForeignStyle(render.Session(), render.State(), TheFiles().foreign, 1).Loaded
                               : render.LoadStyle(TheFiles().converted, error);
    if (!loaded) {
        state.SkipWithError("the style did not load");
        return;
    }
    std::int64_t notes = 0;
    for (auto _ : state) {
        data::SmfContent content;
        render.RenderPart(1, content, 57, 4);
        notes += static_cast<std::int64_t>(content.Messages.size());
    }
    state.counters["messages/s"] = benchmark::Counter(static_cast<double>(notes), benchmark::Counter::kIsRate);
}
void BM_RenderNative(benchmark::State& state) { RenderBasic(state, true); }
void BM_RenderConverted(benchmark::State& state) { RenderBasic(state, false); }
BENCHMARK(BM_RenderNative)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderConverted)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
