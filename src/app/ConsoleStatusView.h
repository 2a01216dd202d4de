#pragma once
// The view of `chordella arranger`: each status the core reports (an input overflow, for
// one) becomes a line of its own on the command's output.

#include <cstdio>
#include <string>

#include "core/View.h"

namespace chordella::app {

class ConsoleStatusView final : public core::View {
public:
    explicit ConsoleStatusView(std::FILE* out) : out_(out) {}
    // Control thread.
    void ShowStatus(const std::string& text) override {
        std::fprintf(out_, "%s\n", text.c_str());
        std::fflush(out_);
    }

private:
    std::FILE* out_;
};

}  // namespace chordella::app
