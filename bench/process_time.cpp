// Whole-process time of a command: spawns it RUNS times with its output thrown away and
// prints the median and the fastest wall time, and the median CPU time (user + system) the
// process and its children used. Spawning directly keeps the shell's own forks out of the
// figure; the CPU time stays honest on a busy machine where the wall time does not.
//
//   process_time RUNS COMMAND [ARGS...]

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
};

double Milliseconds(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

bool RunOnce(char** argv, Sample& sample) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    sample.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    sample.cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    return WIFEXITED(status);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 2 ? std::atoi(argv[1]) : 0;
    if (runs < 1) {
        std::fprintf(stderr, "usage: process_time RUNS COMMAND [ARGS...]\n");
        return 2;
    }
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        Sample sample;
        if (!RunOnce(argv + 2, sample)) {
            std::fprintf(stderr, "process_time: cannot run %s\n", argv[2]);
            return 1;
        }
        wall.push_back(sample.wallMs);
        cpu.push_back(sample.cpuMs);
    }
    std::printf("%.2f %.2f %.2f\n", Median(wall), *std::min_element(wall.begin(), wall.end()), Median(cpu));
    return 0;
}
