// The style groups file at its largest: ten groups of 4 096 entries each (the most a group
// holds). Reading one group, replacing it and saving the file: each is one click in the
// style manager, so each must stay well below what a player notices.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "library/GroupFile.h"
#include "library/StyleEntry.h"

namespace {

namespace fs = std::filesystem;
using chordella::library::GroupFile;

constexpr int Groups = 10;
constexpr int EntriesPerGroup = GroupFile::MaxEntries;

std::vector<std::string> EntriesOfGroup(int group) {
    std::vector<std::string> entries;
    for (int i = 0; i < EntriesPerGroup; ++i) {
        const std::string name = "style" + std::to_string(group) + "-" + std::to_string(i) + ".vxs";
        const chordella::library::StyleInfo info{"4/4", 120, 8};
        entries.push_back(chordella::library::FormatStyleEntry("/home/player/STYLES/" + name, info, "a ballad for tonight"));
    }
    return entries;
}

// A groups file with every group full, written once into a temporary folder.
struct FullGroupFile {
    std::string folder;
    std::string path;

    FullGroupFile() {
        std::string pattern = (fs::temp_directory_path() / "chordella-group-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        path = folder + "/chordella.vxg";
        GroupFile file(path);
        for (int group = 1; group <= Groups; ++group) file.SetEntries(group, EntriesOfGroup(group));
        std::string error;
        if (!file.Save(error)) std::abort();
    }
    ~FullGroupFile() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

FullGroupFile& Full() {
    static FullGroupFile file;
    return file;
}

void LoadFullGroupFile(benchmark::State& state) {
    for (auto _ : state) {
        GroupFile file(Full().path);
        std::string error;
        benchmark::DoNotOptimize(file.Load(error));
    }
}
BENCHMARK(LoadFullGroupFile)->Unit(benchmark::kMillisecond);

void ReadOneFullGroup(benchmark::State& state) {
    GroupFile file(Full().path);
    std::string error;
    if (!file.Load(error)) std::abort();
    for (auto _ : state) benchmark::DoNotOptimize(file.Entries(Groups / 2));
    state.SetItemsProcessed(state.iterations() * EntriesPerGroup);
}
BENCHMARK(ReadOneFullGroup)->Unit(benchmark::kMillisecond);

// The same without writing the file: what the groups file itself costs.
void ReplaceOneFullGroup(benchmark::State& state) {
    GroupFile file(Full().path);
    std::string error;
    if (!file.Load(error)) std::abort();
    const std::vector<std::string> entries = EntriesOfGroup(Groups / 2);
    for (auto _ : state) file.SetEntries(Groups / 2, entries);
    state.SetItemsProcessed(state.iterations() * EntriesPerGroup);
}
BENCHMARK(ReplaceOneFullGroup)->Unit(benchmark::kMillisecond);

void SaveOneFullGroup(benchmark::State& state) {
    GroupFile file(Full().path);
    std::string error;
    if (!file.Load(error)) std::abort();
    const std::vector<std::string> entries = EntriesOfGroup(Groups / 2);
    for (auto _ : state) {
        file.SetEntries(Groups / 2, entries);
        if (!file.Save(error)) state.SkipWithError(error.c_str());
    }
    state.SetItemsProcessed(state.iterations() * EntriesPerGroup);
}
BENCHMARK(SaveOneFullGroup)->Unit(benchmark::kMillisecond);

}  // namespace
