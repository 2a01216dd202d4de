#pragma once
// The desktop window: menus, the transport, the tempo field, the chord and beat displays,
// the style name, the accompaniment switch, the split and transposition spinners, the
// "Loop" box and the start-measure field, with the panels (chord pads, on-screen keyboard,
// mixer) below. It shows the core's display snapshot and forwards every action to the
// core link; it holds no behaviour of its own.
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
class QKeyEvent;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;
class QVBoxLayout;

namespace chordella::ui {

class ChordViewWindow;
class EditorWindow;
class OptionsWindow;
class SonglistWindow;
class StylePlaylistWindow;
class TKeys;
class SongCreatorWindow;
class TapTempoWindow;

class MainWindow final : public QMainWindow {
public:
    static constexpr int BeatLamps = 8;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // MainWindow.cpp
    QWidget* BuildTransport();
    QWidget* BuildDisplays();
    QWidget* BuildFields();
    void RefreshTransport(const app::DisplaySnapshot& snapshot);
    void RefreshBeat(const app::DisplaySnapshot& snapshot);
    void RefreshFields(const app::DisplaySnapshot& snapshot);
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
    // MainWindowKeys.cpp
    bool HandleKey(QKeyEvent* event, bool press);
    bool FunctionKey(int qtKey, bool autoRepeat);

    CoreLink& core_;
    std::uint64_t shownSerial_ = ~std::uint64_t{0};
    QTimer* refreshTimer_ = nullptr;
    QVBoxLayout* panels_ = nullptr;
    // What repaints from each snapshot shown: the panels and the windows of their own.
    std::vector<std::function<void(const app::DisplaySnapshot&)>> refreshers_;
    std::function<void()> openOptions_;
    std::function<void()> openTapTempo_;
    std::function<void()> onExit_;

    QAction* optionsAction_ = nullptr;
    QAction* melodyRecord_ = nullptr;
    QAction* melodyPlay_ = nullptr;
    QAction* melodyHumanize_ = nullptr;
    QPushButton* clockButton_ = nullptr;
    QPushButton* syncStartButton_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    QPushButton* accompanimentButton_ = nullptr;
    QSpinBox* tempo_ = nullptr;
    QLabel* chordDisplay_ = nullptr;
    QLabel* measureDisplay_ = nullptr;
    std::array<QLabel*, BeatLamps> beatLamps_{};
    std::array<bool, BeatLamps> litLamps_{};
    int shownClockPanel_ = -1;
    QLabel* styleName_ = nullptr;
    QLabel* partLabel_ = nullptr;
    QSpinBox* split_ = nullptr;
    QSpinBox* octave_ = nullptr;
    QSpinBox* semitone_ = nullptr;
    QCheckBox* loop_ = nullptr;
    QSpinBox* loopFrom_ = nullptr;
    QSpinBox* loopTo_ = nullptr;
    QSpinBox* startMeasure_ = nullptr;
    QCheckBox* editBox_ = nullptr;
    QWidget* guide_ = nullptr;
    QLabel* guideText_ = nullptr;
    bool guideClosed_ = false;
    TKeys* keys_ = nullptr;
    OptionsWindow* options_ = nullptr;
    ChordViewWindow* chordView_ = nullptr;
    EditorWindow* editor_ = nullptr;  // own windows: deleted with this one
    TapTempoWindow* tapTempo_ = nullptr;
    SonglistWindow* songlist_ = nullptr;
    StylePlaylistWindow* stylePlaylist_ = nullptr;
    QLabel* nextSong_ = nullptr;
    SongCreatorWindow* songCreator_ = nullptr;
};

}  // namespace chordella::ui
