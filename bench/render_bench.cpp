// Whole-process time of `chordella render`: a dense style rendered for 32 and 200 measures
// to a MIDI file (and to a WAV file), each run as a user runs it, median of several runs.
//
//   build/bench/render_bench [path/to/chordella] [runs]
//
// The style: 4/4 at 120 bpm, a four-measure Basic part with sixteenth hi-hats, kick and
// snare, an eighth-note bass and three four-note chord instruments on every beat.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "support/StyleBuilder.h"
#include "support/TempFolder.h"

extern char** environ;

namespace {

using chordella::data::StylePart;
using chordella::testing::PartBuilder;
using chordella::testing::StyleBuilder;

StyleBuilder DenseStyle() {
    StyleBuilder b;
    b.Meter(4).Tempo(120).Program(0, 33).Program(1, 0).Program(2, 48).Program(3, 25);
    PartBuilder& basic = b.Part(StylePart::Basic).Measures(4);
    for (int measure = 1; measure <= 4; ++measure) {
        for (int sixteenth = 0; sixteenth < 16; ++sixteenth)
            basic.Note(9, 42, 70 + sixteenth % 4 * 10, b.Position(measure, 1) + sixteenth * 6, 3);
        for (int beat = 1; beat <= 4; ++beat) {
            const int at = b.Position(measure, beat);
            basic.Note(9, beat % 2 == 1 ? 36 : 38, 110, at, 6);
            basic.Note(0, 36 + (beat - 1) * 2, 100, at, 10).Note(0, 43, 90, at + 12, 10);
            for (int channel = 1; channel <= 3; ++channel)
                for (int note : {60, 64, 67, 72}) basic.Note(channel, note - 12 * (channel - 1), 80, at, 20);
        }
    }
    return b;
}

// Wall-clock milliseconds of one run of the program with `arguments`; negative when it failed.
double TimeRun(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 1 ? argv[1] : CHORDELLA_EXE;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    chordella::testing::TempFolder folder;
    const std::string style = folder.Path() + "/Dense.vxs";
    if (!DenseStyle().Write(style)) {
        std::fprintf(stderr, "cannot write %s\n", style.c_str());
        return 1;
    }
    std::printf("chordella render, whole process, median of %d runs\n", runs);
    std::vector<double> startup;
    for (int run = 0; run < runs; ++run) startup.push_back(TimeRun({program, "--version"}));
    std::printf("  start-up alone (--version): %.1f ms\n", Median(startup));
    for (const char* kind : {".mid", ".wav"}) {
        for (const int measures : {32, 200}) {
            const std::string out = folder.Path() + "/out" + kind;
            std::vector<double> times;
            for (int run = 0; run < (kind[1] == 'w' ? std::min(runs, 3) : runs); ++run) {
                const double ms = TimeRun({program, "--home", folder.Path(), "render", style, "--measures",
                                           std::to_string(measures), "-o", out});
                if (ms < 0) {
                    std::fprintf(stderr, "render failed (%s, %d measures)\n", kind, measures);
                    return 1;
                }
                times.push_back(ms);
            }
            std::printf("  %-4s %3d measures: %8.1f ms (min %.1f, max %.1f)\n", kind, measures, Median(times),
                        *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
        }
    }
    return 0;
}
