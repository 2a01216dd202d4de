#include "ui/RunDesktop.h"

#include <QApplication>
#include <memory>

#include "app/ConsolePrompter.h"
#include "app/DataHome.h"
#include "app/Session.h"
#include "app/SnapshotView.h"
#include "midi/SystemBackend.h"
#include "platform/SingleInstance.h"
#include "ui/ControlHost.h"
#include "ui/MainWindow.h"

namespace chordella::ui {

int RunDesktop(const app::InstanceArguments& arguments, int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Chordella");
    const std::string executable = platform::ExecutablePath();

    app::SessionParts parts;
    parts.prompter = std::make_unique<app::ConsolePrompter>(arguments.AssumeYes);
    parts.paths = platform::Paths::Resolve(arguments.Home, executable);
    parts.view = std::make_unique<app::SnapshotView>();
    parts.midiBackend = midi::MakeSystemBackend();

    platform::SingleInstance instance;
    if (const std::optional<int> code =
            app::HandOverToRunningInstance(arguments, instance, *parts.prompter, parts.paths))
        return *code;

    HostSetup setup;
    setup.Lifecycle.AssetsFolder = app::BundledAssetsFolder(executable);
    setup.Lifecycle.ResetSettings = arguments.ResetSettings;
    setup.CommandLineFile = arguments.File;
    ControlHost host(std::make_unique<app::Session>(std::move(parts)), setup);
    MainWindow window(host);
    window.resize(1000, 640);
    window.show();
    return QApplication::exec();
}

}  // namespace chordella::ui
