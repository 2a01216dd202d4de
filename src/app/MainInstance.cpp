#include "app/MainInstance.h"

#include <cstdio>
#include <cstdlib>

#include "app/ConsolePrompter.h"
#include "app/AppState.h"
#include "app/Lifecycle.h"
#include "app/QuitOnSignals.h"
#include "core/Session.h"
#include "platform/SingleInstance.h"

namespace chordella::app {

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') return true;
    }
    return false;
}

std::optional<int> HandOverToRunningInstance(const InstanceArguments& arguments, platform::SingleInstance& instance,
                                             platform::Prompter& prompter, const platform::Paths& paths) {
    if (instance.Acquire()) return std::nullopt;
    if (!arguments.File.empty()) {
        const std::string handOver = paths.ProgramFile(platform::SingleInstance::HandOverFileName);
        std::string error;
        if (!platform::MakeFolders(paths.ConfigDir()) ||
            !platform::SingleInstance::HandOver(handOver, arguments.File, &error))
            std::fprintf(stderr, "chordella: %s: cannot hand over %s\n", handOver.c_str(), error.c_str());
    }
    prompter.Inform(std::string(AlreadyRunningMessage));
    return ExitAlreadyRunning;
}

int RunMainInstance(const InstanceArguments& arguments) {
    const std::string executable = platform::ExecutablePath();
    core::SessionParts parts;
    parts.prompter = std::make_unique<ConsolePrompter>(arguments.AssumeYes);
    parts.paths = platform::Paths::Resolve(arguments.Home, executable);

    platform::SingleInstance instance(platform::SingleInstance::LockPathFor(parts.paths));
    if (const std::optional<int> code = HandOverToRunningInstance(arguments, instance, *parts.prompter, parts.paths))
        return *code;

    core::Session session(std::move(parts));
    AppState app;
    NoLifecycleModules noModulesYet;  // the desktop window's wiring replaces these
    LifecycleSetup setup;
    setup.AssetsFolder = BundledAssetsFolder(executable);
    setup.ResetSettings = arguments.ResetSettings;
    Lifecycle lifecycle(session, app, noModulesYet, setup);
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
