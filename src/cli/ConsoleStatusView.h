#pragma once
// The view of `chordella arranger`: it keeps what the core shows (for the status line that
// TerminalStatus draws from it), and each status the core reports (an input overflow, for
// one) becomes a line of its own on the command's output.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/SnapshotView.h"
#include "core/View.h"

namespace chordella::cli {

class ConsoleStatusView final : public core::View {
public:
    explicit ConsoleStatusView(std::FILE* out) : out_(out) {}

    // Control thread.
    void ShowStatus(const std::string& text) override {
        shown_.ShowStatus(text);
        // On a terminal, clear the status line shown in place first; the message gets a line of its own.
        if (isatty(fileno(out_)) != 0) std::fputs("\r\x1b[K", out_);
        std::fprintf(out_, "%s\n", text.c_str());
        std::fflush(out_);
    }
    void ShowTitle(const std::string& title) override { shown_.ShowTitle(title); }
    void ShowChord(std::string_view title, std::string_view name, bool inPanels) override {
        shown_.ShowChord(title, name, inPanels);
    }
    void ShowKey(std::string_view text) override { shown_.ShowKey(text); }
    void ShowChordText(std::string_view text) override { shown_.ShowChordText(text); }
    void ShowClockPanel(int state) override { shown_.ShowClockPanel(state); }
    void ShowTempo(int bpm) override { shown_.ShowTempo(bpm); }
    void ShowAccompanimentSwitch(std::string_view caption, std::string_view hint, int keyboardModeEntry) override {
        shown_.ShowAccompanimentSwitch(caption, hint, keyboardModeEntry);
    }

    const app::SnapshotView& Shown() const { return shown_; }

private:
    std::FILE* out_;
    app::SnapshotView shown_;
};

}  // namespace chordella::cli
