// Every window of the program on a 1280×720 laptop screen, opened as a player opens it (its
// menu item): it lies inside the screen with its title bar, it leaves the performance
// display free, and every button in it can be reached — on the window, or by scrolling a
// scroll area (never sideways). Labels show their mnemonics as mnemonics.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QAbstractItemView>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/DesktopCore.h"
#include "support/TestPaths.h"
#include "ui/PerformanceDisplay.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

struct WindowCase {
    const char* Menu;     // the menu's object name
    const char* Caption;  // the item, without its mnemonic
    const char* Window;   // the window's object name
    std::vector<const char*> Buttons;  // buttons named by the windows' descriptions, by object name
};

const std::vector<WindowCase> Cases{
    {"OptionsMenu", "Options ...", "OptionsWindow", {}},
    {"OptionsMenu", "MIDI Commands ...", "MidiCommandsWindow", {}},
    {"OptionsMenu", "MIDI Controls ...", "MidiControlsWindow", {}},
    {"OptionsMenu", "Chord view", "ChordView", {"GenerateRandom", "GenerateMixed"}},
    {"OptionsMenu", "Chordprogression / Song Creator", "SongCreator",
     {"CreateChords", "CompletelyRandom", "Regenerate", "RandomStyleButton", "SimpleSongs", "UseMixed", "ExportList"}},
    {"StyleMenu", "Style-Manager ...", "StyleManagerWindow", {}},
    {"StyleMenu", "Style-Creator ...", "StyleCreatorWindow", {"CaptureRecord"}},
    {"StyleMenu", "     -> Open styleconverter for *.sty, *.prs, *.bcs etc. stylefiles", "StyleConverterWindow",
     {"ConverterOpen", "CreateSets", "SetVariations", "Abort", "ShowPrevious"}},
    {"StyleMenu", "Style-Playlist ...", "StylePlaylistWindow", {"SearchButton"}},
    {"SongMenu", "Chord Memory Editor", "EditorWindow", {"InsertMeasure", "DeleteMeasure", "LeadSheet", "Undo"}},
    {"SongMenu", "Tap Tempo - F8", "TapTempo", {}},
    {"SonglistMenu", "Songlist ...", "SonglistWindow", {}},
    {"HelpMenu", "Keyboard map", "HelpWindow", {}},
    {"HelpMenu", "About Chordella", "AboutDialog", {}},
};


// Windows opened from another window: by a menu item of that window or by its button.
struct InnerCase {
    const char* Menu;     // the main window's menu and item that open the outer window
    const char* Caption;
    const char* Outer;    // the outer window's object name
    const char* InnerMenu;  // the outer window's menu (object name), or nullptr for a button
    const char* Item;       // that menu's item, or the button's object name
    WindowCase Inner;
};

const std::vector<InnerCase> InnerCases{
    {"StyleMenu", "Style-Creator ...", "StyleCreatorWindow", "BatchMenu", "Batch processor window ...",
     {"", "", "BatchWindow", {}}},
    {"SongMenu", "Chord Memory Editor", "EditorWindow", nullptr, "EditBeat", {"", "", "ChordCellDialog", {}}},
    {"SongMenu", "Chord Memory Editor", "EditorWindow", nullptr, "LeadSheet", {"", "", "LeadSheetText", {}}},
    {"SongMenu", "Chord Memory Editor", "EditorWindow", nullptr, "ControllerValues", {"", "", "ChannelValuesText", {}}},
};

bool OpenFrom(QWidget& outer, const InnerCase& item) {
    if (item.InnerMenu == nullptr) {
        auto* button = outer.findChild<QAbstractButton*>(item.Item);
        if (button == nullptr) return false;
        button->click();
        return true;
    }
    QAction* action = MenuItem(outer, item.InnerMenu, item.Item);
    if (action != nullptr) action->trigger();
    return action != nullptr;
}

// A window with the frame a window manager gives it (a title bar and thin borders).
QRect WithFrame(const QWidget& window) {
    return window.geometry().marginsAdded(QMargins(ui::BorderGuess, ui::TitleBarGuess, ui::BorderGuess, ui::BorderGuess));
}

std::string Text(const QRect& rect) {
    return std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " " + std::to_string(rect.width()) + "x" +
           std::to_string(rect.height());
}

QRect InWindow(const QWidget& widget) { return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size()); }

// Why a button cannot be reached, or empty when it can: hidden, empty, cut off by the window
// or by a panel it lies in. A scroll area's content reaches as far as the area scrolls.
std::string Unreachable(const QWidget& button) {
    if (!button.isVisibleTo(button.window())) return "hidden";
    const QRect rect = InWindow(button);
    if (rect.isEmpty()) return "empty";
    for (const QWidget* parent = button.parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (parent->isWindow()) return parent->rect().contains(rect) ? "" : "outside the window";
        if (qobject_cast<const QScrollArea*>(parent->parentWidget()) != nullptr) return "";  // the viewport scrolls
        if (!InWindow(*parent).contains(rect)) return "cut off by " + parent->objectName().toStdString();
    }
    return {};
}

// A label whose caption has a single "&" shows it literally unless it has a buddy to give
// the mnemonic to.
bool ShowsALiteralAmpersand(const QLabel& label) {
    if (label.textFormat() == Qt::RichText || label.buddy() != nullptr) return false;
    const QString text = label.text();
    return text.count('&') != 2 * text.count("&&");
}

void CheckWindow(const QWidget& window, const QRect& screen, const QRect& display, const WindowCase& item) {
    const QRect frame = WithFrame(window);
    EXPECT_TRUE(screen.contains(frame)) << "the window with its frame lies at " << Text(frame);
    EXPECT_FALSE(frame.intersects(display)) << "the window at " << Text(frame) << " covers the display at " << Text(display);
    for (const char* name : item.Buttons) {
        const auto* button = window.findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisibleTo(&window)) << name;
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        // A table's corner button belongs to the table's headers, not to the window's buttons.
        if (!button->isVisibleTo(&window) || qobject_cast<const QAbstractItemView*>(button->parentWidget()) != nullptr)
            continue;
        const std::string problem = Unreachable(*button);
        EXPECT_EQ(problem, "") << button->objectName().toStdString() << " \"" << button->text().toStdString() << "\"";
    }
    for (const QScrollArea* area : window.findChildren<QScrollArea*>())
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible())
            << "controls cut off sideways: " << area->widget()->width() << " wide in " << area->viewport()->width();
    for (const QLabel* label : window.findChildren<QLabel*>())
        EXPECT_FALSE(ShowsALiteralAmpersand(*label)) << "\"" << label->text().toStdString() << "\"";
}

// The window `name` its menu item opened, shown and laid out; null when it did not show.
QWidget* OpenFromMenu(WindowRig& rig, const char* menu, const char* caption, const char* name) {
    QAction* open = MenuItem(rig.Window(), menu, caption);
    if (open == nullptr) return nullptr;
    open->trigger();
    QWidget* window = nullptr;
    rig.WaitFor([&] { return (window = ShownTopLevel(name)) != nullptr; }, 10000);
    rig.Settle();
    QCoreApplication::processEvents();
    return window;
}

TEST(WindowGeometry, EveryWindowFitsALaptopScreenLeavesTheDisplayFreeAndShowsAllItsButtons) {
    WindowRig rig;
    ui::MainWindow& main = rig.Window();
    const QRect screen = main.screen()->availableGeometry();
    ASSERT_EQ(screen.size(), QSize(ScreenWidth, ScreenHeight)) << "the tests' screen is a laptop's";
    // The demo song, so that the editor and its windows have beats to show.
    // A copy in the data home: the lead sheet is written beside the song.
    const std::string song = rig.Host().SongsFolder() + "/demo2.vxa";
    std::filesystem::create_directories(rig.Host().SongsFolder());
    std::filesystem::copy_file(AssetsFolder() + "/songs/demo2.vxa", song, std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(rig.Read([&](desktop::DesktopCore& core) { return core.OpenSong(song); }));
    main.FitToScreen();
    // Where a window manager puts it: its title bar at the top of the screen.
    main.setGeometry(QRect(screen.topLeft() + QPoint(ui::BorderGuess, ui::TitleBarGuess), main.size()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(screen.contains(WithFrame(main))) << "the first start's window with its title bar: " << Text(WithFrame(main)) << ", at least "
        << main.minimumSizeHint().height() << " high";
    const QWidget& display = main.Display();
    const QRect displayRect(display.mapToGlobal(QPoint(0, 0)), display.size());

    for (const WindowCase& item : Cases) {
        SCOPED_TRACE(item.Caption);
        QWidget* window = OpenFromMenu(rig, item.Menu, item.Caption, item.Window);
        ASSERT_NE(window, nullptr);
        CheckWindow(*window, screen, displayRect, item);
        window->close();
        QCoreApplication::processEvents();
    }

    for (const InnerCase& item : InnerCases) {
        SCOPED_TRACE(item.Inner.Window);
        QWidget* outer = OpenFromMenu(rig, item.Menu, item.Caption, item.Outer);
        ASSERT_NE(outer, nullptr);
        // The editor edits the beat that is chosen: the song's first.
        if (auto* grid = outer->findChild<QTableWidget*>("Grid")) grid->setCurrentCell(0, 0);
        ASSERT_TRUE(OpenFrom(*outer, item)) << item.Item;
        QWidget* window = nullptr;
        ASSERT_TRUE(rig.WaitFor([&] { return (window = ShownTopLevel(item.Inner.Window)) != nullptr; }, 10000));
        QCoreApplication::processEvents();
        CheckWindow(*window, screen, displayRect, item.Inner);
        window->close();
        outer->close();
        QCoreApplication::processEvents();
    }
}

}  // namespace
}  // namespace chordella::testing
