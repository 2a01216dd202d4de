#pragma once
// What a command printed: a temporary file handed to it as its output or error stream,
// read back whole.

#include <cstdio>
#include <string>

namespace chordella::testing {

struct CapturedText {
    CapturedText() : file(std::tmpfile()) {}
    ~CapturedText() { std::fclose(file); }
    CapturedText(const CapturedText&) = delete;
    CapturedText& operator=(const CapturedText&) = delete;

    std::string Text() {
        std::fflush(file);
        std::rewind(file);
        std::string text;
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
        return text;
    }

    std::FILE* file;
};

}  // namespace chordella::testing
