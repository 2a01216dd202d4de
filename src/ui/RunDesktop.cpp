#include "ui/RunDesktop.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <memory>

#include "app/DataHome.h"
#include "core/Session.h"
#include "desktop/HeadlessInstance.h"
#include "platform/SingleInstance.h"
#include "ui/ControlHost.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/Theme.h"

namespace chordella::ui {

namespace {

constexpr int SignalPollMillis = 200;

// SIGINT or SIGTERM arrived: the window closes and the exit sequence runs, as with "Exit".
std::atomic<bool> quitRequested{false};

void RequestQuit(int) { quitRequested = true; }

void QuitOnSignals() {
    struct sigaction action {};
    action.sa_handler = RequestQuit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int RunDesktop(const app::InstanceArguments& arguments, int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Chordella");
    QApplication::setDesktopFileName("chordella");  // the desktop entry installed beside the program
    QApplication::setWindowIcon(ApplicationIcon());
    const std::string executable = platform::ExecutablePath();

    auto prompter = std::make_unique<QtPrompter>();
    QtPrompter& dialogs = *prompter;
    core::SessionParts parts = desktop::ProgramSessionParts(arguments, executable, std::move(prompter));

    platform::SingleInstance instance(platform::SingleInstance::LockPathFor(parts.paths));
    if (const std::optional<int> code =
            app::HandOverToRunningInstance(arguments, instance, *parts.prompter, parts.paths))
        return *code;

    HostSetup setup;
    setup.Lifecycle.AssetsFolder = app::BundledAssetsFolder(executable);
    setup.Lifecycle.ResetSettings = arguments.ResetSettings;
    setup.CommandLineFile = arguments.File;
    auto session = std::make_unique<core::Session>(std::move(parts));
    // Questions the core asks while music may play are answered on its own loop.
    dialogs.SetAnswerLoop(&session->Loop());
    ControlHost host(std::move(session), setup);
    MainWindow window(host);
    dialogs.SetParentWindow(&window);
    window.FitToScreen();  // the stored size follows when the settings have been read
    window.show();
    QuitOnSignals();
    QTimer signalPoll;
    QObject::connect(&signalPoll, &QTimer::timeout, &window, [] {
        if (quitRequested) QApplication::quit();
    });
    signalPoll.start(SignalPollMillis);
    const int code = QApplication::exec();
    // The core's exit sequence may still ask: from now on its questions answer as cancelled,
    // so it never waits for this thread while this thread waits for it.
    dialogs.Close();
    return code;
}

}  // namespace chordella::ui
