// Start-up costs of the platform layer that a user waits for.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/EventLoop.h"
#include "platform/IniFile.h"

using namespace chordella::platform;

static void IniParseOfATypicalSettingsFile(benchmark::State& state) {
    std::string text = "[Options]\n";
    for (int i = 0; i < 200; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i * 7) + "\n";
    text += "[MIDICOM]\nIn=1\nOut=2\n";
    for (auto _ : state) {
        IniFile ini;
        ini.Parse(text);
        benchmark::DoNotOptimize(ini.GetInt("options", "Key199", 0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(IniParseOfATypicalSettingsFile);

static void PostAndRunATaskOnTheLoop(benchmark::State& state) {
    EventLoop loop;
    int counter = 0;
    for (auto _ : state) {
        loop.Post([&] { ++counter; });
        loop.RunPending();
    }
    benchmark::DoNotOptimize(counter);
}
BENCHMARK(PostAndRunATaskOnTheLoop);
