#pragma once
// Runs the real `chordella` executable (CHORDELLA_EXE, set by the test target) with the
// given arguments, as a user would, and collects its exit code and output.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace chordella::testing {

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

inline CommandResult RunChordella(const std::string& arguments) {
    CommandResult result;
    const std::string command = std::string(CHORDELLA_EXE) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) result.output += buffer.data();
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace chordella::testing
