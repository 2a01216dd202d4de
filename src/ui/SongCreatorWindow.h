#pragma once
// "Chordprogression / Song Creator": the song creator's options, the list of common
// progressions and its commands. Every command goes to the core with the options as they
// are shown; the song comes back measure by measure and plays at once.

#include <QWidget>
#include <functional>

#include "ui/CoreLink.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace chordella::ui { class PlayWindow; }

namespace chordella::ui {

class SongCreatorWindow : public QWidget {
public:
    explicit SongCreatorWindow(CoreLink& link, QWidget* parent = nullptr);

    // Runs after each song the core made (the main window shows the chord view).
    void SetOnGenerated(std::function<void(const app::SongCreatorResult&)> onGenerated) {
        onGenerated_ = std::move(onGenerated);
    }
    // The options as the window shows them.
    composer::SongCreatorOptions ShownOptions() const;
    void ShowOptions(const composer::SongCreatorOptions& options);
    // The song shown last: the sheet and the labels.
    QString SheetText() const;
    QString ProgressionText() const;
    QString PlayLabelText() const;

    // The window's commands, as its buttons and the list run them.
    void ChooseEntry(int entry);
    void CreateChords();
    void CompletelyRandomSong();
    void RandomStyle();
    void RegenerateKeeping();
    void ExportList();
    // The "PLAY ..." window (made on first use, shown after each song made).
    PlayWindow& Play();
    // The chord view's commands: the window's options as last sent.
    void GenerateFromChordView(bool mixed);

private:
    void Send(SongCreatorRequest::Kind what, int entry = 0, std::vector<int> locked = {}, bool withOptions = true);
    void ShowResult(const app::SongCreatorResult& result);
    QWidget* MakeOptions();

    CoreLink& link_;
    std::function<void(const app::SongCreatorResult&)> onGenerated_;
    QListWidget* list_ = nullptr;
    QSpinBox* measures_ = nullptr;
    QCheckBox* onlyMajorMinor_ = nullptr;
    QCheckBox* principal_ = nullptr;
    QCheckBox* sevenths_ = nullptr;
    QCheckBox* sus_ = nullptr;
    QRadioButton* keys_[6] = {};
    QCheckBox* randomKey_ = nullptr;
    QCheckBox* whiteKeys_ = nullptr;
    QCheckBox* baseChord_ = nullptr;
    QCheckBox* baseChordFirst_ = nullptr;
    QRadioButton* rates_[4] = {};
    QCheckBox* tempoVariations_ = nullptr;
    QCheckBox* loops_ = nullptr;
    QCheckBox* oneProgression_ = nullptr;
    QCheckBox* sequential_ = nullptr;
    QCheckBox* randomStyle_ = nullptr;
    QCheckBox* playIntro_ = nullptr;
    QCheckBox* bassTrack_ = nullptr;
    QRadioButton* completelyRandomMode_ = nullptr;
    bool simpleMode_ = false;
    QLineEdit* keep_ = nullptr;
    QLabel* playLabel_ = nullptr;
    QLabel* progressions_ = nullptr;
    QLabel* bars_ = nullptr;
    QLabel* style_ = nullptr;
    QPlainTextEdit* sheet_ = nullptr;
    PlayWindow* play_ = nullptr;
};

// "3, 5-7" → 3, 5, 6, 7; what is not a measure number is left out.
std::vector<int> ParseMeasureList(const QString& text);

}  // namespace chordella::ui
