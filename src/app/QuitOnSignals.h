#pragma once
// Ends the control thread's loop on SIGINT (Ctrl+C), SIGTERM or SIGHUP (the terminal closed,
// the SSH connection dropped) for as long as it lives, so that the command stops cleanly and
// releases its notes: the handler only raises a pre-registered loop signal, which neither
// allocates nor locks. SIGPIPE is ignored meanwhile, so that writing to a closed pipe cannot
// kill the program with notes sounding. One at a time. Control thread.

#include <csignal>

#include "platform/EventLoop.h"

namespace chordella::app {

class QuitOnSignals {
public:
    explicit QuitOnSignals(platform::EventLoop& loop);
    ~QuitOnSignals();
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    struct sigaction oldInterrupt_ {};
    struct sigaction oldTerminate_ {};
    struct sigaction oldHangUp_ {};
    struct sigaction oldPipe_ {};
};

}  // namespace chordella::app
