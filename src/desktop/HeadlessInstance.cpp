#include "desktop/HeadlessInstance.h"

#include <cstdio>
#include <memory>

#include "app/AppState.h"
#include "app/ConsolePrompter.h"
#include "app/DataHome.h"
#include "app/QuitOnSignals.h"
#include "app/SnapshotView.h"
#include "core/Session.h"
#include "desktop/DesktopCore.h"
#include "midi/SystemBackend.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

namespace chordella::desktop {

core::SessionParts ProgramSessionParts(const app::InstanceArguments& arguments, const std::string& executable,
                                       std::unique_ptr<platform::Prompter> prompter) {
    core::SessionParts parts;
    parts.prompter = std::move(prompter);
    parts.paths = platform::Paths::Resolve(arguments.Home, executable);
    parts.view = std::make_unique<app::SnapshotView>();
    parts.midiBackend = midi::MakeSystemBackend();
    return parts;
}

int RunHeadless(const app::InstanceArguments& arguments, int /*argc*/, char** /*argv*/) {
    const std::string executable = platform::ExecutablePath();
    core::SessionParts parts =
        ProgramSessionParts(arguments, executable, std::make_unique<app::ConsolePrompter>(arguments.AssumeYes));

    platform::SingleInstance instance(platform::SingleInstance::LockPathFor(parts.paths));
    if (const std::optional<int> code =
            app::HandOverToRunningInstance(arguments, instance, *parts.prompter, parts.paths))
        return *code;

    core::Session session(std::move(parts));
    app::AppState app;
    app::LifecycleSetup setup;
    setup.AssetsFolder = app::BundledAssetsFolder(executable);
    setup.ResetSettings = arguments.ResetSettings;
    app::QuitOnSignals quitOnSignals(session.Loop());
    {
        DesktopCore core(session, app, setup);
        core.Start(arguments.File);
        std::fprintf(stderr, "Chordella is running without its window; press Ctrl+C to end it "
                             "(chordella --help lists the commands).\n");
        session.Loop().Run();
        core.Exit();
    }
    return 0;
}

}  // namespace chordella::desktop
