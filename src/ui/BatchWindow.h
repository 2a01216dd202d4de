#pragma once
// "BATCH PROCESSOR ...": the batch modes by their menu items, where the files come from
// (the style playlist, or the folder of "Set path") and where results go, Start and Cancel,
// and the run's progress: a bar with the file count, the file in hand, the errors and the
// summary. The run itself works on the control thread one file at a time; the window only
// sends requests and shows what the core answers, so it stays usable during a run.

#include <QWidget>

#include "ui/CoreLink.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace chordella::ui {

class BatchWindow : public QWidget {
public:
    explicit BatchWindow(CoreLink& link, QWidget* parent = nullptr);

    // Selects the mode of a menu item (its row in the list).
    void SelectMode(app::BatchMode mode);
    // Start with the selected mode, Cancel the run, "Set path" of the source and the output.
    void Start();
    void Cancel();
    void SetSourcePath();
    void SetOutputPath();
    // Asks the core what to show now.
    void Refresh();
    void ShowView(const desktop::BatchView& view);

private:
    void Send(const desktop::BatchRequest& request);
    void ShowSonglistWindow();

    CoreLink& link_;
    QListWidget* modes_ = nullptr;
    QCheckBox* description_ = nullptr;
    QLabel* source_ = nullptr;
    QLabel* output_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* current_ = nullptr;
    QLabel* errors_ = nullptr;
    QListWidget* log_ = nullptr;
    QLabel* summary_ = nullptr;
    desktop::BatchView view_;
    bool busyCursor_ = false;
};

}  // namespace chordella::ui
