#pragma once
// "Edit Beat": what one beat of the song holds. A chord chosen by root and type or typed by
// its name ("F#m7", "Bb", "C7sus4"; "H7" only with German note names), and a command from
// the list (section keys, loop marks, tempo, transposition, channels, program). OK hands
// the changes to `apply` as editor requests; a name that is no chord keeps the dialog open
// and says why.

#include <QDialog>
#include <functional>
#include <vector>

#include "app/SongEditing.h"
#include "data/ChordMemory.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace chordella::ui {

class ChordCellDialog : public QDialog {
public:
    using Apply = std::function<void(const std::vector<app::SongEditRequest>&)>;

    // `record` is what the beat holds now: its chord fills the name.
    ChordCellDialog(int measure, int beat, const data::BeatRecord& record, const QString& cellText, Apply apply,
                    QWidget* parent = nullptr);

    // The requests OK would send; empty with a message when the chord name is wrong.
    std::vector<app::SongEditRequest> Requests(QString& error) const;

private:
    void ChooseFromLists();
    void ReadTypedName();
    void CommandChosen();
    void Accept();

    int measure_;
    int beat_;
    Apply apply_;
    QLineEdit* name_ = nullptr;
    QComboBox* root_ = nullptr;
    QComboBox* type_ = nullptr;
    QCheckBox* german_ = nullptr;
    QComboBox* command_ = nullptr;
    QSpinBox* value_ = nullptr;
    QLabel* message_ = nullptr;
    bool updating_ = false;
};

}  // namespace chordella::ui
