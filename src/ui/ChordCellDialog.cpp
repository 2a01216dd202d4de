#include "ui/ChordCellDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "chords/ChordTypes.h"
#include "chords/NoteNames.h"
#include "composer/ChordSymbols.h"
#include "data/ChordMemory.h"
#include "data/SongCommands.h"

namespace chordella::ui {

namespace {

// The command list: caption, then how it becomes a record's command.
enum class CommandKind { Keep, None, Section, LoopStart, LoopEnd, Tempo, Transpose, PlayAll, MuteAll, Program };

struct CommandChoice {
    const char* Caption;
    CommandKind Kind;
    int Section = -1;
};

const CommandChoice Commands[] = {
    {"(keep)", CommandKind::Keep},          {"(none)", CommandKind::None},
    {"Fill In", CommandKind::Section, 0},   {"To Basic", CommandKind::Section, 1},
    {"Ending", CommandKind::Section, 2},    {"To Ext.", CommandKind::Section, 3},
    {"Intro", CommandKind::Section, 4},     {"PAD on", CommandKind::Section, 5},
    {"PAD off", CommandKind::Section, 6},   {"Ext.", CommandKind::Section, 7},
    {"Basic", CommandKind::Section, 8},     {"Loop (times)", CommandKind::LoopStart},
    {"LoopEnd", CommandKind::LoopEnd},      {"Tempo", CommandKind::Tempo},
    {"Transpose (semitones)", CommandKind::Transpose}, {"Play All", CommandKind::PlayAll},
    {"Mute All", CommandKind::MuteAll},     {"Prog.", CommandKind::Program},
};

}  // namespace

ChordCellDialog::ChordCellDialog(int measure, int beat, const data::BeatRecord& record, const QString& cellText,
                                 Apply apply, QWidget* parent)
    : QDialog(parent), measure_(measure), beat_(beat), apply_(std::move(apply)) {
    setObjectName("ChordCellDialog");
    setWindowTitle(QString("Edit Beat - Measure %1, Beat %2").arg(measure).arg(beat));
    auto* layout = new QVBoxLayout(this);
    auto* current = new QLabel("Now: " + cellText.trimmed(), this);
    layout->addWidget(current);
    auto* form = new QFormLayout();
    name_ = new QLineEdit(this);
    name_->setObjectName("ChordName");
    name_->setPlaceholderText("F#m7, Bb, C7sus4 … (empty: the chord goes on)");
    root_ = new QComboBox(this);
    root_->setObjectName("ChordRoot");
    for (std::string_view note : chords::FlatNoteNames) root_->addItem(QString::fromUtf8(note.data(), static_cast<int>(note.size())));
    type_ = new QComboBox(this);
    type_->setObjectName("ChordType");
    for (const chords::ChordTypeRow& row : chords::ChordTypeTable)
        type_->addItem(QString::fromUtf8(row.Name.data(), static_cast<int>(row.Name.size())));
    german_ = new QCheckBox("German note names (H = B, B = Bb)", this);
    german_->setObjectName("GermanNames");
    command_ = new QComboBox(this);
    command_->setObjectName("Command");
    for (const CommandChoice& choice : Commands) command_->addItem(choice.Caption);
    value_ = new QSpinBox(this);
    value_->setObjectName("CommandValue");
    value_->setEnabled(false);
    message_ = new QLabel(this);
    message_->setObjectName("ChordMessage");
    message_->setWordWrap(true);
    form->addRow("Chord name", name_);
    form->addRow("Root", root_);
    form->addRow("Type", type_);
    form->addRow(QString(), german_);
    form->addRow("Command", command_);
    form->addRow("Value", value_);
    layout->addLayout(form);
    layout->addWidget(message_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clear = buttons->addButton("Clear Beat", QDialogButtonBox::ResetRole);
    clear->setObjectName("ClearBeat");
    layout->addWidget(buttons);

    if (data::StartsChord(record) && record.ChordType > 0) {
        updating_ = true;
        root_->setCurrentIndex(record.ChordRoot % 12);
        type_->setCurrentIndex(data::DisplayChordType(record) - 1);
        updating_ = false;
        name_->setText(QString::fromStdString(
            composer::ChordSymbol(record.ChordRoot % 12, data::DisplayChordType(record), false)));
    }
    connect(root_, &QComboBox::currentIndexChanged, this, [this] { ChooseFromLists(); });
    connect(type_, &QComboBox::currentIndexChanged, this, [this] { ChooseFromLists(); });
    connect(name_, &QLineEdit::textEdited, this, [this] { ReadTypedName(); });
    connect(german_, &QCheckBox::toggled, this, [this] { ReadTypedName(); });
    connect(command_, &QComboBox::currentIndexChanged, this, [this] { CommandChosen(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, [this] {
        app::SongEditRequest request;
        request.Edit = app::SongEdit::ClearCell;
        request.Measure = measure_;
        request.Beat = beat_;
        apply_({request});
        accept();
    });
}

void ChordCellDialog::ChooseFromLists() {
    if (updating_) return;
    name_->setText(QString::fromStdString(
        composer::ChordSymbol(root_->currentIndex(), type_->currentIndex() + 1, false)));
    message_->clear();
}

void ChordCellDialog::ReadTypedName() {
    const QString text = name_->text().trimmed();
    if (text.isEmpty()) {
        message_->clear();
        return;
    }
    const composer::SymbolReading reading = composer::ReadChordSymbol(text.toStdString(), {german_->isChecked()});
    if (!reading.Ok) {
        message_->setText(QString::fromStdString(reading.Error));
        return;
    }
    updating_ = true;
    root_->setCurrentIndex(reading.Root);
    type_->setCurrentIndex(reading.Type - 1);
    updating_ = false;
    message_->setText(QString::fromStdString(reading.Warning));
}

void ChordCellDialog::CommandChosen() {
    const CommandChoice& choice = Commands[command_->currentIndex()];
    value_->setEnabled(true);
    switch (choice.Kind) {
    case CommandKind::LoopStart: value_->setRange(1, 155); value_->setValue(2); break;
    case CommandKind::Tempo: value_->setRange(25, 250); value_->setValue(120); break;
    case CommandKind::Transpose: value_->setRange(-11, 11); value_->setValue(0); break;
    case CommandKind::Program: value_->setRange(0, 127); value_->setValue(0); break;
    default: value_->setEnabled(false); break;
    }
}

std::vector<app::SongEditRequest> ChordCellDialog::Requests(QString& error) const {
    std::vector<app::SongEditRequest> requests;
    app::SongEditRequest base;
    base.Measure = measure_;
    base.Beat = beat_;
    const QString text = name_->text().trimmed();
    app::SongEditRequest chord = base;
    chord.Edit = app::SongEdit::SetChord;
    if (text.isEmpty()) {
        chord.Type = 0;
    } else {
        const composer::SymbolReading reading = composer::ReadChordSymbol(text.toStdString(), {german_->isChecked()});
        if (!reading.Ok) {
            error = QString::fromStdString(reading.Error);
            return {};
        }
        chord.Root = reading.Root;
        chord.Type = reading.Type;
    }
    requests.push_back(chord);
    const CommandChoice& choice = Commands[command_->currentIndex()];
    app::SongEditRequest command = base;
    command.Edit = app::SongEdit::SetCommand;
    const int value = value_->value();
    switch (choice.Kind) {
    case CommandKind::Keep: return requests;
    case CommandKind::None: break;
    case CommandKind::Section: command.SectionKey = choice.Section; break;
    case CommandKind::LoopStart: command.CommandCode = data::CommandLoop, command.CommandParam = 100 + value; break;
    case CommandKind::LoopEnd: command.CommandCode = data::CommandLoop; break;
    case CommandKind::Tempo: command.CommandCode = data::CommandTempo, command.CommandParam = value; break;
    case CommandKind::Transpose:
        command.CommandCode = data::CommandTranspose, command.CommandParam = data::TransposeParam(value);
        break;
    case CommandKind::PlayAll: command.CommandCode = data::CommandChannels; break;
    case CommandKind::MuteAll: command.CommandCode = data::CommandChannels, command.CommandParam = 255; break;
    case CommandKind::Program: command.CommandCode = data::CommandMelodyProgram, command.CommandParam = value; break;
    }
    requests.push_back(command);
    return requests;
}

void ChordCellDialog::Accept() {
    QString error;
    const std::vector<app::SongEditRequest> requests = Requests(error);
    if (requests.empty()) {
        message_->setText(error);
        return;
    }
    apply_(requests);
    accept();
}

}  // namespace chordella::ui
