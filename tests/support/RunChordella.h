#pragma once
// Runs the real `chordella` executable (ChordellaExe()) with the
// given arguments, as a user would, and collects its exit code and output. `environment`
// goes before the command (variable settings, or a wrapper such as `timeout 20`).

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/TestPaths.h"

namespace chordella::testing {

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// A path as one word of the shell command line RunChordella runs.
inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

inline CommandResult RunChordella(const std::string& arguments, const std::string& environment = "") {
    CommandResult result;
    const std::string command = environment + " " + chordella::testing::ChordellaExe() + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) result.output += buffer.data();
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline int LineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

}  // namespace chordella::testing
