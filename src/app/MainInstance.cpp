#include "app/MainInstance.h"

#include <cstdio>

#include "app/ConsolePrompter.h"
#include "app/Lifecycle.h"
#include "app/QuitOnSignals.h"
#include "app/Session.h"
#include "platform/SingleInstance.h"

namespace chordella::app {

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
