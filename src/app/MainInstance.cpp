#include "app/MainInstance.h"

#include <csignal>
#include <cstdio>

#include "app/ConsolePrompter.h"
#include "app/Lifecycle.h"
#include "app/Session.h"
#include "platform/SingleInstance.h"

namespace chordella::app {

namespace {

// The loop and signal a POSIX signal handler raises; set only while the loop runs.
platform::EventLoop* signalLoop = nullptr;
platform::EventLoop::SignalId quitSignal = -1;

extern "C" void OnTerminate(int) {
    if (signalLoop && quitSignal >= 0) signalLoop->Raise(quitSignal);  // lock- and allocation-free
}

class QuitOnSignals {
public:
    explicit QuitOnSignals(platform::EventLoop& loop) {
        quitSignal = loop.AddSignal([&loop] { loop.Quit(0); });
        signalLoop = &loop;
        struct sigaction action {};
        action.sa_handler = OnTerminate;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInterrupt_);
        sigaction(SIGTERM, &action, &oldTerminate_);
    }
    ~QuitOnSignals() {
        sigaction(SIGINT, &oldInterrupt_, nullptr);
        sigaction(SIGTERM, &oldTerminate_, nullptr);
        signalLoop = nullptr;
        quitSignal = -1;
    }
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    struct sigaction oldInterrupt_ {};
    struct sigaction oldTerminate_ {};
};

}  // namespace

int RunMainInstance(const InstanceArguments& arguments) {
    const std::string executable = platform::ExecutablePath();
    SessionParts parts;
    parts.prompter = std::make_unique<ConsolePrompter>(arguments.AssumeYes);
    parts.paths = platform::Paths::Resolve(arguments.Home, executable);

    platform::SingleInstance instance;
    if (!instance.Acquire()) {
        if (!arguments.File.empty()) {
            const std::string handOver = parts.paths.ProgramFile(platform::SingleInstance::HandOverFileName);
            std::string error;
            if (!platform::MakeFolders(parts.paths.ConfigDir()) ||
                !platform::SingleInstance::HandOver(handOver, arguments.File, &error))
                std::fprintf(stderr, "chordella: %s: cannot hand over %s\n", handOver.c_str(), error.c_str());
        }
        parts.prompter->Inform(std::string(AlreadyRunningMessage));
        return ExitAlreadyRunning;
    }

    Session session(std::move(parts));
    LifecycleHooks noModulesYet;  // the desktop window's wiring replaces these
    LifecycleSetup setup;
    setup.AssetsFolder = BundledAssetsFolder(executable);
    setup.ResetSettings = arguments.ResetSettings;
    Lifecycle lifecycle(session, noModulesYet, setup);
    QuitOnSignals quitOnSignals(session.Loop());

    lifecycle.Start();
    lifecycle.OpenFromCommandLine(arguments.File);
    std::fprintf(stderr, "Chordella is running without its window; press Ctrl+C to end it "
                         "(chordella --help lists the commands).\n");
    session.Loop().Run();
    lifecycle.Exit();
    return 0;
}

}  // namespace chordella::app
