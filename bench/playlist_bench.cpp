// The style playlist of a musician with a large library: adding and tagging 1000 styles
// (the bundled ones copied under many names), searching them with the prepared queries,
// and deleting the duplicates among them.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "library/StylePlaylist.h"

namespace {

namespace fs = std::filesystem;
using chordella::library::StyleListKind;
using chordella::library::StylePlaylist;

constexpr int StyleCount = 1000;

// A data home whose STYLES folder holds StyleCount copies of the bundled styles, made once.
struct Library {
    std::string home;
    std::vector<std::string> files;

    Library() {
        std::string pattern = (fs::temp_directory_path() / "chordella-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        home = pattern;
        std::vector<fs::path> bundled;
        for (const auto& entry : fs::directory_iterator(CHORDELLA_SOURCE_ASSETS "/styles")) bundled.push_back(entry.path());
        fs::create_directories(home + "/STYLES");
        fs::create_directories(home + "/LISTS");
        for (int i = 0; i < StyleCount; ++i) {
            const fs::path& from = bundled[static_cast<std::size_t>(i) % bundled.size()];
            const std::string to = home + "/STYLES/" + std::to_string(i) + "-" + from.filename().string();
            fs::copy_file(from, to, fs::copy_options::overwrite_existing);
            files.push_back(to);
        }
    }
    ~Library() {
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }
};

Library& Styles() {
    static Library library;
    return library;
}

void AddAndTag1000Styles(benchmark::State& state) {
    Library& library = Styles();
    for (auto _ : state) {
        StylePlaylist playlist(chordella::platform::Paths::InFolder(library.home));
        benchmark::DoNotOptimize(playlist.AddStyles(library.files, "bench"));
    }
    state.SetItemsProcessed(state.iterations() * StyleCount);
}
BENCHMARK(AddAndTag1000Styles)->Unit(benchmark::kMillisecond);

void Search1000Styles(benchmark::State& state, const char* query) {
    Library& library = Styles();
    StylePlaylist playlist(chordella::platform::Paths::InFolder(library.home));
    playlist.AddStyles(library.files, "pop ballad");
    for (auto _ : state) benchmark::DoNotOptimize(playlist.Search(query, false, false).Found);
    state.SetItemsProcessed(state.iterations() * StyleCount);
}
BENCHMARK_CAPTURE(Search1000Styles, every, "*;")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search1000Styles, prepared, "!pop !ballad !8 beat !16 beat !fusion !hip hop; <165; >65; +4/4")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search1000Styles, instruments, "+bass; +guitar; +piano; +organ; +lead; +pad; +fx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search1000Styles, size, ">12000")->Unit(benchmark::kMillisecond);

void DeleteDuplicatesOf1000Styles(benchmark::State& state) {
    Library& library = Styles();
    StylePlaylist playlist(chordella::platform::Paths::InFolder(library.home));
    playlist.AddStyles(library.files, "bench");
    const std::vector<std::string> lines = playlist.List(StyleListKind::Playlist).Lines;
    for (auto _ : state) {
        playlist.List(StyleListKind::Playlist).Lines = lines;
        const auto change = playlist.DeleteDuplicates(StyleListKind::Playlist);
        if (!change.Ok) state.SkipWithError(change.Message.c_str());
        benchmark::DoNotOptimize(change.Removed);
    }
}
BENCHMARK(DeleteDuplicatesOf1000Styles)->Unit(benchmark::kMillisecond);

}  // namespace
