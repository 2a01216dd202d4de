// chordella-screenshot OUT.png [--seconds N] [--assets DIR] [--editor] [--size WxH]
//
// The main window playing the bundled demo song, drawn off-screen: a first start in a
// fresh data home plays "demo2.vxa" with its style through an in-memory MIDI output (no
// sound device needed); after N seconds (default 4) the window, WxH pixels (default
// 1280x720), is grabbed into OUT.png in the dark stage theme.
// With --editor the chord-memory editor is opened and grabbed instead, the beat that
// sounds highlighted. With --options-audio the options window's "Audio" page is opened
// over the main window and both are drawn as the screen shows them; the built-in synth is
// the real one there, so the page shows what it finds on this machine.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/Session.h"
#include "app/SnapshotView.h"
#include "midi/MemoryBackend.h"
#include "midi/SynthBackend.h"
#include "midi/SystemBackend.h"
#include "platform/ScriptedPrompter.h"
#include "ui/ControlHost.h"
#include "ui/EditorWindow.h"
#include "ui/MainWindow.h"

using namespace chordella;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: chordella-screenshot OUT.png [--seconds N] [--assets DIR] [--editor | --options-audio] "
                 "[--size WxH]\n");
    return 2;
}

std::string FreshHome() {
    char pattern[] = "/tmp/chordella-screenshot-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made != nullptr ? made : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string out = argv[1];
    double seconds = 4;
    std::string assets = CHORDELLA_SOURCE_ASSETS;
    bool editor = false;
    bool optionsAudio = false;
    int width = 1280;
    int height = 720;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (arg == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 100 || height < 100) return Usage();
        }
        else if (arg == "--assets" && i + 1 < argc) assets = argv[++i];
        else if (arg == "--editor") editor = true;
        else if (arg == "--options-audio") optionsAudio = true;
        else return Usage();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string home = FreshHome();
    if (home.empty()) {
        std::fprintf(stderr, "chordella-screenshot: no temporary folder for the data home\n");
        return 1;
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);

    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::ScriptedPrompter>();
    parts.paths = platform::Paths::InFolder(home);
    parts.view = std::make_unique<app::SnapshotView>();
    auto backend = std::make_unique<midi::MemoryBackend>();
    backend->AddInput("Keyboard");
    backend->AddOutput("Sound Module");
    if (optionsAudio) {
        parts.midiBackend = std::make_unique<midi::CombinedBackend>(std::move(backend), std::make_unique<midi::SynthBackend>());
    } else {
        parts.midiBackend = std::move(backend);
    }
    ui::HostSetup setup;
    setup.Lifecycle.AssetsFolder = assets;
    setup.Lifecycle.ReadOnlyMedia = [] { return false; };

    int code = 0;
    {
        ui::ControlHost host(std::make_unique<core::Session>(std::move(parts)), setup);
        ui::MainWindow window(host);
        window.resize(width, height);
        window.show();
        QWidget* shown = &window;
        if (editor) {
            if (auto* open = window.findChild<QAction*>("OpenEditor")) open->trigger();
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == "EditorWindow") shown = widget;
            shown->resize(600, 640);
        }
        QDialog* options = nullptr;
        if (optionsAudio) {
            options = window.findChild<QDialog*>("OptionsWindow");
            if (options) {
                options->show();
                if (auto* tabs = options->findChild<QTabWidget*>())
                    for (int i = 0; i < tabs->count(); ++i)
                        if (tabs->tabText(i) == "Audio") tabs->setCurrentIndex(i);
            }
        }
        QTimer::singleShot(static_cast<int>(seconds * 1000), &application, [&] {
            window.RefreshFromCore();
            // The first start's guide covers the chord pads: the picture shows the pads.
            if (auto* closeGuide = window.findChild<QPushButton*>("GuideClose"); closeGuide && closeGuide->isVisible()) {
                closeGuide->click();
                QApplication::processEvents();
            }
            if (auto* editorWindow = dynamic_cast<ui::EditorWindow*>(shown)) editorWindow->Refresh(host.Snapshot());
            QPixmap picture = shown->grab();
            if (options) {
                // The dialog over the window's middle, as the screen shows it.
                QPainter painter(&picture);
                const QPixmap dialog = options->grab();
                painter.drawPixmap((picture.width() - dialog.width()) / 2, (picture.height() - dialog.height()) / 2, dialog);
            }
            if (!picture.save(QString::fromStdString(out), "PNG")) {
                std::fprintf(stderr, "chordella-screenshot: %s: cannot be written\n", out.c_str());
                code = 1;
            }
            application.quit();
        });
        QApplication::exec();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return code;
}
