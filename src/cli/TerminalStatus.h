#pragma once
// The headless arranger's terminal: one status line (chord, part, measure:beat, tempo) kept
// up to date in place, at most ten times a second from a timer of the control loop (never
// from the tick), and two keys read without Enter: "p" runs the panic, "q" ends the loop.
// Each half works only where its side is a terminal; the terminal's settings come back when
// this ends. Control thread.

#include <termios.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/EventLoop.h"

namespace chordella::core { class Session; }

namespace chordella::app {
class SnapshotView;
struct AppState;
}  // namespace chordella::app

namespace chordella::cli {

class TerminalStatus {
public:
    TerminalStatus(core::Session& session, const app::AppState& app, const app::SnapshotView& shown, std::FILE* out,
                   std::function<void()> panic);
    ~TerminalStatus();
    TerminalStatus(const TerminalStatus&) = delete;
    TerminalStatus& operator=(const TerminalStatus&) = delete;

    // The status line as it stands: "Chord C maj   Part Basic   3:2   120 bpm".
    static std::string StatusLine(core::Session& session, const app::AppState& app, const app::SnapshotView& shown);
    // A key read from the terminal: "p" runs the panic, "q" ends the loop; others do nothing.
    void Key(char key);

private:
    void Update();

    core::Session& session_;
    const app::AppState& app_;
    const app::SnapshotView& shown_;
    std::FILE* out_;
    std::function<void()> panic_;
    platform::EventLoop::TimerId timer_ = 0;
    bool statusShown_ = false;  // out is a terminal
    bool keysRead_ = false;     // stdin is a terminal, switched to single keys
    termios savedTerminal_{};
    std::string lastLine_;
};

}  // namespace chordella::cli
