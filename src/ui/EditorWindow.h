#pragma once
// The chord-memory editor: the song as a grid of measures (rows, "001" …) and beats
// (columns, "1/4" …), the buttons of its edits, the copy panel, the lead sheet and the
// channel values. Every edit goes to the core as a request; the reply refills the grid at
// the selected measure, and a refusal is shown in a box and in the status line. A
// double-click on a measure's number plays the song from there; a double-click on a beat
// edits it. While the song plays, the beat that sounds is highlighted.
//
// With "Input chord live " ticked, chords played on the keyboard or clicked on the pads go
// into the selected beat, and the selection moves on by a beat; with "Acoustic chord
// control" ticked, chords also sound while this window is the active one.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "app/SongEditing.h"
#include "ui/CoreLink.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QAction;
class QMenu;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace chordella::ui {

class EditorWindow : public QWidget {
public:
    explicit EditorWindow(CoreLink& link, QWidget* parent = nullptr);

    // Asks the core for the grid again (a song was opened, recorded or cleared).
    void Reload();
    // Follows the display: the highlighted beat, a changed song.
    void Refresh(const app::DisplaySnapshot& snapshot);
    // The selected measure and beat (1-based).
    int SelectedMeasure() const;
    int SelectedBeat() const;
    // Opens the beat editor of the selected cell.
    void EditSelectedBeat();
    // The program-change settings' menu (its button shows it).
    QMenu* ProgramSettings() const { return programMenu_; }
    // A program list file to read or write (a dialog); tests replace it. Empty: none chosen.
    std::function<QString(bool save)> ChooseProgramList;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Send(app::SongEditRequest request);
    void SendAll(const std::vector<app::SongEditRequest>& requests);
    void Show(const app::SongGridView& grid, int selectedRow, int selectedColumn = 0);
    // Tells the core the live-entry boxes, whether the window is shown and active, and the
    // selected beat.
    void SendLiveInput();
    void Refused(const std::string& message);
    void InsertMeasure();
    void AskMeasures();
    void Copy();
    void ShowText(const QString& title, const QString& text);
    void Highlight(int measure, int beat);
    void ExportChartDialog();
    void ImportChartDialog();
    // The settings menu of the automatic program changes, its questions and check items.
    QPushButton* MakeProgramSettings();
    void AskProgramCount();
    void AskStartNumber();
    // A non-waiting input box; `entered` gets the text when it is accepted.
    void AskText(const char* name, const QString& title, const QString& prompt, const QString& initial,
                 std::function<void(const QString&)> entered);

    CoreLink& link_;
    app::SongGridView grid_;
    QTableWidget* table_ = nullptr;
    QPushButton* undo_ = nullptr;
    QCheckBox* twelveBars_ = nullptr;
    QCheckBox* ignorePrograms_ = nullptr;
    QMenu* programMenu_ = nullptr;
    std::vector<std::pair<QAction*, app::ProgramOption>> programOptions_;
    QCheckBox* chordsOnly_ = nullptr;
    QCheckBox* inputLive_ = nullptr;
    QCheckBox* acoustic_ = nullptr;
    std::uint32_t seenEntries_ = 0;  // live entries the grid shows
    bool filling_ = false;           // the grid is being refilled: its selection moves are not the user's
    QComboBox* chartPitch_ = nullptr;
    QGroupBox* copyPanel_ = nullptr;
    QSpinBox* copyFirst_ = nullptr;
    QSpinBox* copyLast_ = nullptr;
    QSpinBox* copyTo_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* follow_ = nullptr;
    std::uint64_t shownSerial_ = 0;
    bool songLoaded_ = false;
    std::string songName_;
    int highlightedRow_ = -1;
    int highlightedColumn_ = -1;
};

}  // namespace chordella::ui
