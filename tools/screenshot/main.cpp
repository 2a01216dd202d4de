// chordella-screenshot OUT.png [--seconds N] [--assets DIR] [--editor] [--size WxH]
//                              [--stage | --window NAME]
//
// The main window playing the bundled demo song, drawn off-screen: a first start in a
// fresh data home plays "demo2.vxa" with its style through an in-memory MIDI output (no
// sound device needed); after N seconds (default 4) the window, WxH pixels (default
// 1280x720), is grabbed into OUT.png in the dark stage theme.
// With --editor the chord-memory editor is opened and grabbed instead, the beat that
// sounds highlighted.
// With --stage or --window the picture is the whole screen of WxH pixels, as a player sees
// it: the main window fitted to the screen with its title bar, in the stage view, or with
// one of the other windows opened by its menu item and placed as the program places it
// (--window list names them).
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/Session.h"
#include "app/SnapshotView.h"
#include "midi/MemoryBackend.h"
#include "platform/RecordingPrompter.h"
#include "ui/ControlHost.h"
#include "ui/EditorWindow.h"
#include "ui/MainWindow.h"
#include "ui/WindowPlacement.h"

using namespace chordella;

namespace {

// The windows --window opens: by the menu and the item a player chooses.
struct WindowItem {
    const char* Name;
    const char* Menu;     // the menu's object name
    const char* Caption;  // the item's caption without its mnemonic
};
constexpr std::array<WindowItem, 14> Windows{{
    {"options", "OptionsMenu", "Options ..."},
    {"midi-commands", "OptionsMenu", "MIDI Commands ..."},
    {"midi-controls", "OptionsMenu", "MIDI Controls ..."},
    {"chord-view", "OptionsMenu", "Chord view"},
    {"song-creator", "OptionsMenu", "Chordprogression / Song Creator"},
    {"style-manager", "StyleMenu", "Style-Manager ..."},
    {"style-creator", "StyleMenu", "Style-Creator ..."},
    {"style-converter", "StyleMenu", "     -> Open styleconverter for *.sty, *.prs, *.bcs etc. stylefiles"},
    {"style-playlist", "StyleMenu", "Style-Playlist ..."},
    {"editor", "SongMenu", "Chord Memory Editor"},
    {"tap-tempo", "SongMenu", "Tap Tempo - F8"},
    {"songlist", "SonglistMenu", "Songlist ..."},
    {"keyboard-map", "HelpMenu", "Keyboard map"},
    {"about", "HelpMenu", "About Chordella"},
}};

int Usage() {
    std::fprintf(stderr,
                 "usage: chordella-screenshot OUT.png [--seconds N] [--assets DIR] [--editor] [--size WxH] "
                 "[--stage | --window NAME [--tab CAPTION]]\nwindows:");
    for (const WindowItem& item : Windows) std::fprintf(stderr, " %s", item.Name);
    std::fprintf(stderr, "\n");
    return 2;
}

std::string FreshHome() {
    char pattern[] = "/tmp/chordella-screenshot-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made != nullptr ? made : std::string();
}

// The off-screen platform with one screen of the size asked for.
void UseScreen(const std::string& home, int width, int height) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
    const QString config = QString::fromStdString(home) + "/offscreen-screen.json";
    QFile file(config);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QString(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,)"
                           R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(width)
                       .arg(height)
                       .toUtf8());
        file.close();
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

QString Plain(QString caption) { return caption.remove('&').section('\t', 0, 0); }

QAction* MenuItem(QMainWindow& window, const WindowItem& item) {
    auto* menu = window.menuBar()->findChild<QMenu*>(item.Menu);
    if (menu == nullptr) return nullptr;
    for (QAction* action : menu->actions())
        if (Plain(action->text()) == item.Caption) return action;
    return nullptr;
}

// A window as the screen shows it: its title bar over its content.
void DrawWindow(QPainter& painter, QWidget& window) {
    const QRect inner = window.geometry();
    const QRect bar(inner.left() - ui::BorderGuess, inner.top() - ui::TitleBarGuess, inner.width() + 2 * ui::BorderGuess,
                    ui::TitleBarGuess);
    painter.fillRect(bar.adjusted(0, 0, 0, inner.height() + ui::BorderGuess), QColor("#3b4048"));
    painter.setPen(QColor("#e8eaed"));
    painter.drawText(bar.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
    painter.drawPixmap(inner.topLeft(), window.grab());
}

// The screen: the main window, then every other window that is open, each where it lies.
QPixmap Screen(ui::MainWindow& main, QSize size) {
    QPixmap screen(size);
    screen.fill(QColor("#101214"));
    QPainter painter(&screen);
    DrawWindow(painter, main);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget == &main || !widget->isVisible()) continue;
        if (widget->windowType() != Qt::Window && widget->windowType() != Qt::Dialog) continue;
        DrawWindow(painter, *widget);
    }
    return screen;
}

// Brings the page of that caption to the front in whichever other window has it.
bool ShowTab(ui::MainWindow& main, const QString& caption) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget == &main || !widget->isVisible()) continue;
        for (QTabWidget* tabs : widget->findChildren<QTabWidget*>()) {
            for (int page = 0; page < tabs->count(); ++page) {
                if (Plain(tabs->tabText(page)) != caption) continue;
                tabs->setCurrentIndex(page);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string out = argv[1];
    double seconds = 4;
    std::string assets = CHORDELLA_SOURCE_ASSETS;
    bool editor = false;
    bool stage = false;
    const WindowItem* opened = nullptr;
    QString tab;  // the page of the opened window to show, by its caption
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
        else if (arg == "--stage") stage = true;
        else if (arg == "--tab" && i + 1 < argc) tab = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--window" && i + 1 < argc) {
            const std::string name = argv[++i];
            for (const WindowItem& item : Windows)
                if (name == item.Name) opened = &item;
            if (opened == nullptr) return Usage();
        }
        else return Usage();
    }
    const std::string home = FreshHome();
    if (home.empty()) {
        std::fprintf(stderr, "chordella-screenshot: no temporary folder for the data home\n");
        return 1;
    }
    const bool wholeScreen = stage || opened != nullptr;
    if (wholeScreen) UseScreen(home, width, height);
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);

    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::RecordingPrompter>();
    parts.paths = platform::Paths::InFolder(home);
    parts.view = std::make_unique<app::SnapshotView>();
    auto backend = std::make_unique<midi::MemoryBackend>();
    backend->AddInput("Keyboard");
    backend->AddOutput("Sound Module");
    parts.midiBackend = std::move(backend);
    ui::HostSetup setup;
    setup.Lifecycle.AssetsFolder = assets;
    setup.Lifecycle.ReadOnlyMedia = [] { return false; };

    int code = 0;
    {
        ui::ControlHost host(std::make_unique<core::Session>(std::move(parts)), setup);
        ui::MainWindow window(host);
        if (wholeScreen) {
            window.FitToScreen();
            window.setGeometry(QRect(QPoint(ui::BorderGuess, ui::TitleBarGuess), window.size()));
        } else {
            window.resize(width, height);
        }
        window.show();
        QWidget* shown = &window;
        if (editor) {
            if (auto* open = window.findChild<QAction*>("OpenEditor")) open->trigger();
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == "EditorWindow") shown = widget;
            shown->resize(600, 640);
        }
        QTimer::singleShot(static_cast<int>(seconds * 1000), &application, [&] {
            window.RefreshFromCore();
            // The first start's guide covers the chord pads: the picture shows the pads.
            if (auto* closeGuide = window.findChild<QPushButton*>("GuideClose"); closeGuide && closeGuide->isVisible()) {
                closeGuide->click();
                QApplication::processEvents();
            }
            if (stage) window.SetStageView(true);
            if (opened != nullptr) {
                QAction* item = MenuItem(window, *opened);
                if (item == nullptr) {
                    std::fprintf(stderr, "chordella-screenshot: no menu item \"%s\"\n", opened->Caption);
                    code = 1;
                } else {
                    item->trigger();
                }
            }
            // Let the windows opened show what the core answers them.
            QTimer::singleShot(wholeScreen ? 700 : 0, &application, [&] {
                window.RefreshFromCore();
                if (!tab.isEmpty() && !ShowTab(window, tab)) {
                    std::fprintf(stderr, "chordella-screenshot: no page \"%s\"\n", tab.toLocal8Bit().constData());
                    code = 1;
                }
                QApplication::processEvents();
                if (auto* editorWindow = dynamic_cast<ui::EditorWindow*>(shown)) editorWindow->Refresh(host.Snapshot());
                const QPixmap picture = wholeScreen ? Screen(window, QSize(width, height)) : shown->grab();
                if (!picture.save(QString::fromStdString(out), "PNG")) {
                    std::fprintf(stderr, "chordella-screenshot: %s: cannot be written\n", out.c_str());
                    code = 1;
                }
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (widget != &window) widget->close();
                application.quit();
            });
        });
        QApplication::exec();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return code;
}
