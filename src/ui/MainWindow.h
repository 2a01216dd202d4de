#pragma once
// The desktop window: menus; the performance display (style, parts, measure and beat,
// chords, tempo, output, priority); the arranger's buttons; a row of fields (record, clock,
// accompaniment switch, split and transposition, "Loop", start measure, " Edit", the song
// creator's key and mode); and below them a splitter of folding panels: the tabs (chord
// pads, style browser, mixer) over the on-screen keyboard. It shows the core's display
// snapshot and forwards every action to the core link; it holds no behaviour of its own.
//
// It fits a 1280×720 screen and grows with larger ones; its size, the folding panels, the
// theme and the browser's folders are kept with the settings (CoreLink::StoreWindowSettings).
//
// The stage view (View → "Stage view", or Tab; Tab, Escape or a double click leave it) gives
// the whole window to the performance display, for reading from a distance.
//
// The window takes every key of its own widgets first (an application event filter): the
// function keys and space run the transport, every other key goes to the core as a
// Windows-style virtual-key code. A spin box or line edit with the focus keeps the keys it
// uses itself.
//
// GUI thread only.

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/DisplaySnapshot.h"
#include "ui/CoreLink.h"

class QAction;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QSpinBox;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QVBoxLayout;

namespace chordella::ui {

class ChordViewWindow;
class EditorWindow;
class HelpWindow;
class OptionsWindow;
class PerformanceButtons;
class PerformanceDisplay;
class StyleBrowser;
class SonglistWindow;
class StylePlaylistWindow;
class TKeys;
class SongCreatorWindow;
class StageView;
class TapTempoWindow;

class MainWindow final : public QMainWindow {
public:
    explicit MainWindow(CoreLink& core, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // A panel below the main controls, repainted from every snapshot the window shows.
    void AddPanel(QWidget* panel, std::function<void(const app::DisplaySnapshot&)> refresh);
    // What "Options ..." opens (the options window); none: the item is disabled.
    void SetOptionsOpener(std::function<void()> open);
    // What F8 opens besides the tap itself (the tap tempo window); none: F8 only taps.
    void SetTapTempoOpener(std::function<void()> open);
    // Runs when "Exit" is chosen, before the window closes.
    void SetExitHandler(std::function<void()> onExit) { onExit_ = std::move(onExit); }

    // Reads the core's snapshot and repaints when its serial changed (a 30 Hz timer calls it).
    void RefreshFromCore();
    // Repaints from this snapshot.
    void Refresh(const app::DisplaySnapshot& snapshot);
    // The on-screen keyboard.
    TKeys& Keys() { return *keys_; }
    // The songlist window ("Songlist ..." opens it).
    SonglistWindow& Songlist() { return *songlist_; }
    StyleBrowser& Browser() { return *browser_; }
    PerformanceDisplay& Display() { return *display_; }
    StageView& Stage() { return *stage_; }

    // The stage view on or off; the window keeps its size.
    void SetStageView(bool on);
    bool IsStageView() const;
    PerformanceButtons& Buttons() { return *buttons_; }

    // The folding panels: the tabs' page (0 chord pads, 1 styles, 2 mixer) and whether the
    // tabs and the keyboard are open; as the text kept in the settings ("tab=1;tabs=1;keys=1").
    void ShowPanels(int tab, bool tabsOpen, bool keysOpen);
    QString PanelsText() const;
    void ApplyPanelsText(const QString& text);
    // 0 dark stage, 1 light.
    void SetTheme(int theme);
    int Theme() const { return theme_; }
    // A size that fits the screen the window is on (the first start, or a stored size that
    // no longer fits).
    void FitToScreen(int width = 0, int height = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Closing asks the core's exit questions first; the window closes once they are answered.
    void closeEvent(QCloseEvent* event) override;

private:
    // MainWindow.cpp
    QWidget* BuildFields();
    // The key list and the mode list of the songs the song creator makes.
    void AddKeyLists(QHBoxLayout& layout);
    void RefreshTransport(const app::DisplaySnapshot& snapshot);
    void RefreshFields(const app::DisplaySnapshot& snapshot);
    // MainWindowLayout.cpp
    QWidget* BuildFoldingPanels();
    void BuildViewMenu();
    void LoadWindowSettings();
    void StoreWindowSettingsSoon();
    void StoreWindowSettings();
    // The guide's page in front of the tabs; closing it brings back the page shown before.
    void ShowGuide(const QString& text);
    void CloseGuide();
    // The page kept in the settings: the guide's page counts as the one it covers.
    int PanelPage() const;
    // MainWindowMenus.cpp
    void BuildMenus();
    void RefreshMenus(const app::DisplaySnapshot& snapshot);
    void OpenSongDialog();
    void SaveSongAsDialog();
    void RenderToWavDialog();
    void OpenStyleDialog();
    void Exit();
    // MainWindowPanels.cpp
    void BuildPanels();
    void CloseToolWindows();
    // MainWindowHelp.cpp: the Help menu; F1 opens the keyboard map before the style plays.
    void BuildHelpMenu();
    void OpenHelp(int page);
    // MainWindowKeys.cpp
    bool HandleKey(QKeyEvent* event, bool press);
    // A window of the program shown for the first time opens beside the display.
    void PlaceWindow(QObject* watched);
    bool FunctionKey(int qtKey, bool autoRepeat);

    CoreLink& core_;
    std::uint64_t shownSerial_ = ~std::uint64_t{0};
    QTimer* refreshTimer_ = nullptr;
    QStackedWidget* pages_ = nullptr;  // the normal view and the stage view
    StageView* stage_ = nullptr;
    QAction* stageAction_ = nullptr;
    QVBoxLayout* panels_ = nullptr;
    // What repaints from each snapshot shown: the panels and the windows of their own.
    std::vector<std::function<void(const app::DisplaySnapshot&)>> refreshers_;
    std::function<void()> openOptions_;
    std::function<void()> openTapTempo_;
    std::function<void()> onExit_;
    bool exitAsking_ = false;     // the core's exit questions are open
    bool exitConfirmed_ = false;  // answered: the next close goes through

    QAction* optionsAction_ = nullptr;
    QAction* melodyRecord_ = nullptr;
    QAction* melodyPlay_ = nullptr;
    QAction* melodyHumanize_ = nullptr;
    QPushButton* clockButton_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    QPushButton* accompanimentButton_ = nullptr;
    int shownClockPanel_ = -1;
    PerformanceDisplay* display_ = nullptr;
    PerformanceButtons* buttons_ = nullptr;
    StyleBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* keyboardPanel_ = nullptr;
    QPushButton* splitPick_ = nullptr;
    QAction* showTabs_ = nullptr;
    QAction* showKeys_ = nullptr;
    QTimer* storeTimer_ = nullptr;
    bool settingsLoaded_ = false;  // stored settings arrive after start: nothing is stored before
    bool lastPlaying_ = false;
    app::DisplaySnapshot lastShown_;  // what the views were last given: the hidden one catches up from it
    int keyboardLayout_ = 1;  // the computer keyboard's layout the keys are read with
    int theme_ = 0;
    QSpinBox* split_ = nullptr;
    QSpinBox* octave_ = nullptr;
    QSpinBox* semitone_ = nullptr;
    QCheckBox* loop_ = nullptr;
    QSpinBox* loopFrom_ = nullptr;
    QSpinBox* loopTo_ = nullptr;
    QSpinBox* startMeasure_ = nullptr;
    QCheckBox* editBox_ = nullptr;
    QComboBox* songKey_ = nullptr;
    QComboBox* songMode_ = nullptr;
    QWidget* guide_ = nullptr;
    QLabel* guideText_ = nullptr;
    bool guideClosed_ = false;
    int pageBeforeGuide_ = 0;
    TKeys* keys_ = nullptr;
    OptionsWindow* options_ = nullptr;
    ChordViewWindow* chordView_ = nullptr;
    EditorWindow* editor_ = nullptr;  // own windows: deleted with this one
    TapTempoWindow* tapTempo_ = nullptr;
    HelpWindow* help_ = nullptr;
    SonglistWindow* songlist_ = nullptr;
    StylePlaylistWindow* stylePlaylist_ = nullptr;
    QLabel* nextSong_ = nullptr;
    SongCreatorWindow* songCreator_ = nullptr;
};

}  // namespace chordella::ui
