#pragma once
// Ends the control thread's loop on SIGINT or SIGTERM (Ctrl+C in a terminal) for as long as
// it lives: the handler only raises a pre-registered loop signal, which neither allocates nor
// locks. One at a time. Control thread.

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
};

}  // namespace chordella::app
