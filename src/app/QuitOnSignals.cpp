#include "app/QuitOnSignals.h"

namespace chordella::app {

namespace {

// The loop and signal the handler raises; set only while a QuitOnSignals lives.
platform::EventLoop* signalLoop = nullptr;
platform::EventLoop::SignalId quitSignal = -1;

extern "C" void OnTerminate(int) {
    if (signalLoop && quitSignal >= 0) signalLoop->Raise(quitSignal);  // lock- and allocation-free
}

}  // namespace

QuitOnSignals::QuitOnSignals(platform::EventLoop& loop) {
    quitSignal = loop.AddSignal([&loop] { loop.Quit(0); });
    signalLoop = &loop;
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInterrupt_);
    sigaction(SIGTERM, &action, &oldTerminate_);
    sigaction(SIGHUP, &action, &oldHangUp_);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &oldPipe_);
}

QuitOnSignals::~QuitOnSignals() {
    sigaction(SIGINT, &oldInterrupt_, nullptr);
    sigaction(SIGTERM, &oldTerminate_, nullptr);
    sigaction(SIGHUP, &oldHangUp_, nullptr);
    sigaction(SIGPIPE, &oldPipe_, nullptr);
    signalLoop = nullptr;
    quitSignal = -1;
}

}  // namespace chordella::app
