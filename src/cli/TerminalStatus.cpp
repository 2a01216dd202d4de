#include "cli/TerminalStatus.h"

#include <unistd.h>

#include <array>
#include <chrono>

#include "app/AppState.h"
#include "app/SnapshotView.h"
#include "core/Session.h"

namespace chordella::cli {

namespace {

constexpr auto UpdatePeriod = std::chrono::milliseconds(100);  // ten times a second at most
constexpr std::array<const char*, 8> PartNames = {"Intro",         "Basic",            "Extended",    "Ending",
                                                  "Fill in Basic", "Fill in Extended", "To Extended", "To Basic"};

}  // namespace

TerminalStatus::TerminalStatus(core::Session& session, const app::AppState& app, const app::SnapshotView& shown,
                               std::FILE* out, std::function<void()> panic)
    : session_(session), app_(app), shown_(shown), out_(out), panic_(std::move(panic)) {
    statusShown_ = out_ != nullptr && isatty(fileno(out_)) != 0;
    if (isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &savedTerminal_) == 0) {
        termios keys = savedTerminal_;
        keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));  // Ctrl+C still interrupts
        keys.c_cc[VMIN] = 0;
        keys.c_cc[VTIME] = 0;
        keysRead_ = tcsetattr(STDIN_FILENO, TCSANOW, &keys) == 0;
    }
    if (statusShown_ || keysRead_) timer_ = session_.Loop().StartTimer(UpdatePeriod, true, [this] { Update(); });
}

TerminalStatus::~TerminalStatus() {
    if (timer_ != 0) session_.Loop().StopTimer(timer_);
    if (keysRead_) tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal_);
    if (statusShown_ && !lastLine_.empty()) {
        std::fputs("\n", out_);
        std::fflush(out_);
    }
}

std::string TerminalStatus::StatusLine(core::Session& session, const app::AppState& app,
                                       const app::SnapshotView& shown) {
    app::DisplaySnapshot position;
    const core::StyleContainer& style = session.Style();
    position.Playing = style.player.StyleActive != 0 || app.transport.ChordPlayMode < 0;
    FillMeasureAndBeat(session, app, position, &shown.StylePosition());
    // What the window's chord panel shows: the chord that plays, named when it takes effect
    // (a chord still waiting for the grid is not named yet), or "ENDING".
    const std::string chord = shown.Shown().ChordName.c_str();
    const int part = style.player.CurrentSection;
    const bool partShown = position.Playing && part >= 0 && part < static_cast<int>(PartNames.size());
    std::string line = "Chord ";
    line += chord.empty() ? "-" : chord;
    line += "   Part ";
    line += partShown ? PartNames[static_cast<std::size_t>(part)] : "-";
    line += "   ";
    line += position.Measure != 0 ? std::to_string(position.Measure) + ":" + std::to_string(position.Beat) : "-:-";
    line += "   " + std::to_string(app.clock.Tempo) + " bpm";
    return line;
}

void TerminalStatus::Key(char key) {
    if (key == 'p' || key == 'P') {
        if (panic_) panic_();
    } else if (key == 'q' || key == 'Q') {
        session_.Loop().Quit(0);
    }
}

void TerminalStatus::Update() {
    if (keysRead_) {
        char keys[16];
        const ssize_t count = read(STDIN_FILENO, keys, sizeof keys);
        for (ssize_t i = 0; i < count; ++i) Key(keys[i]);
    }
    if (!statusShown_) return;
    const std::string line = StatusLine(session_, app_, shown_);
    if (line == lastLine_) return;
    lastLine_ = line;
    std::fprintf(out_, "\r%s\x1b[K", line.c_str());
    std::fflush(out_);
}

}  // namespace chordella::cli
