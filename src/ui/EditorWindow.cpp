#include "ui/EditorWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "composer/ChordChart.h"
#include "composer/ChordMemoryEditor.h"
#include "ui/ChordCellDialog.h"

namespace chordella::ui {

namespace {

constexpr int BeatColumnWidth = 110;
constexpr int FollowMillis = 100;
const QColor PlayingColour(255, 214, 102);

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

EditorWindow::EditorWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("EditorWindow");
    setWindowTitle("Chord Memory Editor");
    auto* layout = new QVBoxLayout(this);

    table_ = new QTableWidget(this);
    table_->setObjectName("Grid");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setDefaultSectionSize(BeatColumnWidth);
    layout->addWidget(table_, 1);

    auto* buttons = new QHBoxLayout();
    QPushButton* insertMeasure = Button("Insert Measure ", "InsertMeasure", this);
    QPushButton* deleteMeasure = Button("Delete Measure", "DeleteMeasure", this);
    QPushButton* insertBeat = Button("Insert Beat", "InsertBeat", this);
    QPushButton* deleteBeat = Button("Delete Beat", "DeleteBeat", this);
    QPushButton* copy = Button("Copy Measures", "CopyMeasures", this);
    QPushButton* edit = Button("Edit Beat ...", "EditBeat", this);
    undo_ = Button("Undo", "Undo", this);
    undo_->setEnabled(false);
    QPushButton* leadSheet = Button("Lead Sheet", "LeadSheet", this);
    QPushButton* channels = Button("Controller-Values", "ControllerValues", this);
    QPushButton* programs = Button("Autochange program and more ( 4 )", "AutochangeProgram", this);
    QPushButton* noPrograms = Button("Delete all program change commands ( 5 )", "DeleteProgramChanges", this);
    for (QPushButton* button : {insertMeasure, deleteMeasure, insertBeat, deleteBeat, copy, edit, undo_, leadSheet, channels})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    auto* switches = new QHBoxLayout();
    twelveBars_ = new QCheckBox("New songs in 12 bars", this);
    twelveBars_->setObjectName("TwelveBarMode");
    ignorePrograms_ = new QCheckBox("Ignore all program change commands", this);
    ignorePrograms_->setObjectName("IgnoreProgramChanges");
    chordsOnly_ = new QCheckBox("Lead sheet: chords only", this);
    chordsOnly_->setObjectName("ChordsOnly");
    inputLive_ = new QCheckBox("Input chord live ", this);
    inputLive_->setObjectName("InputChordLive");
    inputLive_->setToolTip("Chords played on the keyboard or clicked on the pads go into the selected beat");
    acoustic_ = new QCheckBox("Acoustic chord control", this);
    acoustic_->setObjectName("AcousticChordControl");
    acoustic_->setToolTip("While this window is active, the chords played also sound, an octave higher");
    status_ = new QLabel(this);
    status_->setObjectName("EditorStatus");
    QPushButton* exportChart = Button("Export Chart ...", "ExportChart", this);
    QPushButton* importChart = Button("Import Chart ...", "ImportChart", this);
    chartPitch_ = new QComboBox(this);
    chartPitch_->setObjectName("ChartTransposition");
    chartPitch_->addItems({"Concert pitch", "Bb instruments", "Eb instruments"});
    switches->addWidget(twelveBars_);
    switches->addWidget(ignorePrograms_);
    switches->addWidget(chordsOnly_);
    switches->addWidget(exportChart);
    switches->addWidget(chartPitch_);
    switches->addWidget(importChart);
    auto* programRow = new QHBoxLayout();
    programRow->addWidget(programs);
    programRow->addWidget(noPrograms);
    programRow->addWidget(MakeProgramSettings());
    // The song creator's generation with its options as last sent.
    QPushButton* progression = Button("Chordprogression", "Chordprogression", this);
    progression->setToolTip("Let Chordella randomly chooses matching chords from specific stocks");
    connect(progression, &QPushButton::clicked, this, [this] {
        SongCreatorRequest request;
        request.What = SongCreatorRequest::CreateChords;
        link_.SongCreatorCommand(request, [this](const app::SongCreatorResult&) { Reload(); });
    });
    programRow->addWidget(progression);
    programRow->addWidget(inputLive_);
    programRow->addWidget(acoustic_);
    programRow->addStretch(1);
    switches->addWidget(status_, 1);
    layout->addLayout(switches);
    layout->addLayout(programRow);

    copyPanel_ = new QGroupBox("Copy Measures", this);
    copyPanel_->setObjectName("CopyPanel");
    auto* copyLayout = new QHBoxLayout(copyPanel_);
    const auto spin = [this, copyLayout](const char* label, const char* name) {
        copyLayout->addWidget(new QLabel(label, copyPanel_));
        auto* box = new QSpinBox(copyPanel_);
        box->setObjectName(name);
        box->setRange(1, 3000);
        copyLayout->addWidget(box);
        return box;
    };
    copyFirst_ = spin("First measure", "CopyFirst");
    copyLast_ = spin("Last measure", "CopyLast");
    copyTo_ = spin("Destination measure", "CopyTo");
    QPushButton* copyNow = Button("Copy", "CopyNow", copyPanel_);
    QPushButton* copyClose = Button("Close", "CopyClose", copyPanel_);
    copyLayout->addWidget(copyNow);
    copyLayout->addWidget(copyClose);
    copyPanel_->hide();
    layout->addWidget(copyPanel_);

    const auto place = [this](app::SongEdit edit) {
        app::SongEditRequest request;
        request.Edit = edit;
        return request;
    };
    connect(insertMeasure, &QPushButton::clicked, this, [this] { InsertMeasure(); });
    connect(deleteMeasure, &QPushButton::clicked, this, [this, place] { Send(place(app::SongEdit::DeleteMeasure)); });
    connect(insertBeat, &QPushButton::clicked, this, [this, place] { Send(place(app::SongEdit::InsertBeat)); });
    connect(deleteBeat, &QPushButton::clicked, this, [this, place] { Send(place(app::SongEdit::DeleteBeat)); });
    connect(undo_, &QPushButton::clicked, this, [this, place] { Send(place(app::SongEdit::Undo)); });
    connect(edit, &QPushButton::clicked, this, [this] { EditSelectedBeat(); });
    // The grid's own menu (right click) offers the edits of the selected cell by their captions.
    auto* gridMenu = new QMenu(table_);
    gridMenu->setObjectName("GridMenu");
    for (QPushButton* button : {insertMeasure, deleteMeasure, insertBeat, deleteBeat, edit})
        gridMenu->addAction(button->text(), button, &QPushButton::click);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, gridMenu,
            [this, gridMenu](const QPoint& at) { gridMenu->popup(table_->viewport()->mapToGlobal(at)); });
    connect(copy, &QPushButton::clicked, this, [this] {
        if (grid_.Empty) return Refused(composer::ChordMemoryIsEmpty);
        copyFirst_->setValue(SelectedMeasure());
        copyLast_->setValue(SelectedMeasure());
        copyPanel_->show();
    });
    connect(copyNow, &QPushButton::clicked, this, [this] { Copy(); });
    connect(copyClose, &QPushButton::clicked, copyPanel_, &QWidget::hide);
    connect(twelveBars_, &QCheckBox::toggled, this, [this, place](bool on) {
        app::SongEditRequest request = place(app::SongEdit::SetTwelveBarMode);
        request.On = on;
        Send(request);
    });
    connect(ignorePrograms_, &QCheckBox::toggled, this, [this, place](bool on) {
        app::SongEditRequest request = place(app::SongEdit::IgnoreProgramChanges);
        request.On = on;
        Send(request);
    });
    connect(leadSheet, &QPushButton::clicked, this, [this] {
        link_.WriteLeadSheet(chordsOnly_->isChecked(), [this](const app::LeadSheetOutcome& outcome) {
            if (!outcome.Ok) return Refused(outcome.Error);
            status_->setText(QString::fromStdString("Lead sheet written: " + outcome.Path));
            ShowText("Lead Sheet", QString::fromStdString(outcome.Text));
        });
    });
    connect(channels, &QPushButton::clicked, this, [this] {
        link_.ReadChannelValues([this](const std::string& text) { ShowText("Controller-Values", QString::fromStdString(text)); });
    });
    connect(programs, &QPushButton::clicked, this, [this, place] { Send(place(app::SongEdit::InsertProgramChanges)); });
    connect(noPrograms, &QPushButton::clicked, this, [this, place] { Send(place(app::SongEdit::RemoveProgramChanges)); });
    connect(exportChart, &QPushButton::clicked, this, [this] { ExportChartDialog(); });
    connect(importChart, &QPushButton::clicked, this, [this] { ImportChartDialog(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { EditSelectedBeat(); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this] {
        if (!filling_) SendLiveInput();
    });
    connect(inputLive_, &QCheckBox::toggled, this, [this] { SendLiveInput(); });
    connect(acoustic_, &QCheckBox::toggled, this, [this] { SendLiveInput(); });
    connect(table_->verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int row) { link_.PlayFromMeasure(row + 1); });

    follow_ = new QTimer(this);
    connect(follow_, &QTimer::timeout, this, [this] { Refresh(link_.Snapshot()); });
    follow_->start(FollowMillis);
    resize(5 * BeatColumnWidth + 120, 560);
}

void EditorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Reload();
    SendLiveInput();
}

void EditorWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    SendLiveInput();
}

void EditorWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) SendLiveInput();
}

void EditorWindow::SendLiveInput() {
    app::EditorLiveInput input;
    input.Open = isVisible();
    input.Active = isActiveWindow();
    input.InputLive = inputLive_->isChecked();
    input.Acoustic = acoustic_->isChecked();
    input.Measure = SelectedMeasure();
    input.Beat = SelectedBeat();
    input.SeenEntries = seenEntries_;
    link_.SetEditorLiveInput(input);
}

int EditorWindow::SelectedMeasure() const { return std::max(0, table_->currentRow()) + 1; }
int EditorWindow::SelectedBeat() const { return std::max(0, table_->currentColumn()) + 1; }

void EditorWindow::Reload() {
    link_.ReadSongGrid([this](const app::SongGridView& grid) { Show(grid, SelectedMeasure()); });
}

void EditorWindow::Send(app::SongEditRequest request) {
    if (request.Edit != app::SongEdit::CopyMeasures && request.Edit != app::SongEdit::SetChord &&
        request.Edit != app::SongEdit::SetCommand && request.Edit != app::SongEdit::ClearCell) {
        request.Measure = SelectedMeasure();
        request.Beat = SelectedBeat();
    }
    const int column = table_->currentColumn();
    link_.EditSong(request, [this, column](const app::SongEditReply& reply) {
        Show(reply.Grid, reply.SelectedRow, column);
        if (!reply.Message.empty()) Refused(reply.Message);
        else status_->clear();
    });
}

void EditorWindow::SendAll(const std::vector<app::SongEditRequest>& requests) {
    for (const app::SongEditRequest& request : requests) Send(request);
}

void EditorWindow::Show(const app::SongGridView& grid, int selectedRow, int selectedColumn) {
    filling_ = true;
    grid_ = grid;
    const int columns = static_cast<int>(grid.Headers.size());
    table_->clear();
    table_->setColumnCount(columns);
    table_->setRowCount(static_cast<int>(grid.Rows.size()));
    QStringList headers;
    for (const std::string& header : grid.Headers) headers << QString::fromStdString(header);
    table_->setHorizontalHeaderLabels(headers);
    QStringList labels;
    for (std::size_t row = 0; row < grid.Rows.size(); ++row) {
        const app::SongGridView& view = grid;
        labels << QString::fromStdString(view.Rows[row].Label);
        for (std::size_t beat = 0; beat < view.Rows[row].Cells.size() && static_cast<int>(beat) < columns; ++beat) {
            auto* item = new QTableWidgetItem(QString::fromStdString(view.Rows[row].Cells[beat]));
            table_->setItem(static_cast<int>(row), static_cast<int>(beat), item);
        }
    }
    table_->setVerticalHeaderLabels(labels);
    undo_->setEnabled(grid.CanUndo);
    if (twelveBars_->isChecked() != grid.TwelveBarMode) {
        const QSignalBlocker block(twelveBars_);
        twelveBars_->setChecked(grid.TwelveBarMode);
    }
    for (const auto& [action, option] : programOptions_) {
        const bool on = option == app::ProgramOption::EveryEightMeasures ? grid.EveryEightMeasures
                        : option == app::ProgramOption::Randomly         ? grid.Randomly
                        : option == app::ProgramOption::OnlyAtBeginning  ? grid.OnlyAtBeginning
                        : option == app::ProgramOption::UsingCommandKeys ? grid.UsingCommandKeys
                                                                         : grid.EveryLoading;
        action->setChecked(on);
    }
    if (ignorePrograms_->isChecked() != grid.IgnoreProgramChanges) {
        const QSignalBlocker block(ignorePrograms_);
        ignorePrograms_->setChecked(grid.IgnoreProgramChanges);
    }
    highlightedRow_ = highlightedColumn_ = -1;
    if (!grid.Rows.empty()) {
        const int row = std::clamp(selectedRow, 1, static_cast<int>(grid.Rows.size())) - 1;
        const int column = std::clamp(selectedColumn, 0, std::max(0, table_->columnCount() - 1));
        table_->setCurrentCell(row, column);
        table_->scrollToItem(table_->item(row, column));
    }
    filling_ = false;
    SendLiveInput();
}

void EditorWindow::Refused(const std::string& message) {
    status_->setText(QString::fromStdString(message));
    // Stopping the style first is a hint, not a box that would interrupt the music.
    if (message == composer::StopStyleFirst) return;
    auto* box = new QMessageBox(QMessageBox::Information, "Chordella", QString::fromStdString(message), QMessageBox::Ok, this);
    box->setObjectName("EditorMessage");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void EditorWindow::InsertMeasure() {
    if (grid_.Empty) return AskMeasures();
    app::SongEditRequest request;
    request.Edit = app::SongEdit::InsertMeasure;
    Send(request);
}

void EditorWindow::AskMeasures() {
    auto* ask = new QInputDialog(this);
    ask->setObjectName("CreateMeasures");
    ask->setWindowTitle("Create New Measures ...");
    ask->setLabelText("How many measures ?");
    ask->setTextValue(QString::number(composer::ChordMemoryEditor::DefaultNewMeasures));
    ask->setAttribute(Qt::WA_DeleteOnClose);
    connect(ask, &QInputDialog::textValueSelected, this, [this](const QString& text) {
        app::SongEditRequest request;
        request.Edit = app::SongEdit::CreateMeasures;
        request.Entry = text.toStdString();
        Send(request);
    });
    ask->open();
}

void EditorWindow::Copy() {
    app::SongEditRequest request;
    request.Edit = app::SongEdit::CopyMeasures;
    request.Measure = SelectedMeasure();
    request.First = copyFirst_->value();
    request.Last = copyLast_->value();
    request.Destination = copyTo_->value();
    const int before = static_cast<int>(grid_.Rows.size());
    link_.EditSong(request, [this, before](const app::SongEditReply& reply) {
        Show(reply.Grid, reply.SelectedRow);
        if (!reply.Message.empty()) return Refused(reply.Message);
        status_->clear();
        if (static_cast<int>(reply.Grid.Rows.size()) != before) copyPanel_->hide();
    });
}

void EditorWindow::EditSelectedBeat() {
    if (grid_.Empty || table_->rowCount() == 0) return;
    const int measure = SelectedMeasure();
    const int beat = SelectedBeat();
    const app::SongGridView& grid = grid_;
    const composer::GridRow& row = grid.Rows[static_cast<std::size_t>(measure - 1)];
    const std::size_t index = static_cast<std::size_t>(beat - 1);
    const data::BeatRecord record = index < row.Records.size() ? row.Records[index] : data::BeatRecord{};
    const QString text = index < row.Cells.size() ? QString::fromStdString(row.Cells[index]) : QString();
    auto* dialog = new ChordCellDialog(measure, beat, record, text,
                                       [this](const std::vector<app::SongEditRequest>& requests) { SendAll(requests); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void EditorWindow::ShowText(const QString& title, const QString& text) {
    auto* window = new QWidget(this, Qt::Window);
    window->setObjectName(title == "Lead Sheet" ? "LeadSheetText" : "ChannelValuesText");
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    auto* view = new QPlainTextEdit(text, window);
    view->setReadOnly(true);
    view->setFont(QFont("DejaVu Sans Mono", 9));
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(view);
    window->resize(760, 520);
    window->show();
}

void EditorWindow::ExportChartDialog() {
    if (grid_.Empty) return Refused(composer::ChordMemoryIsEmpty);
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, "Export chart ...", QString(),
                                                "ChordPro (*.cho);;MusicXML (*.musicxml);;iReal Pro link (*.txt)", &filter);
    if (path.isEmpty()) return;
    const char* format = filter.startsWith("MusicXML") ? "musicxml" : filter.startsWith("iReal") ? "ireal" : "chordpro";
    const char* extension = format[0] == 'm' ? ".musicxml" : format[0] == 'i' ? ".txt" : ".cho";
    if (!path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
    static constexpr int Transpositions[] = {0, composer::TransposeForBb, composer::TransposeForEb};
    const int transpose = Transpositions[std::clamp(chartPitch_->currentIndex(), 0, 2)];
    link_.ExportChart(path.toStdString(), format, transpose, [this, path](const std::string& error) {
        if (!error.empty()) return Refused(error);
        status_->setText("Chart written: " + path);
    });
}

void EditorWindow::ImportChartDialog() {
    const QString path = QFileDialog::getOpenFileName(this, "Import chart ...", QString(),
                                                      "Charts (*.cho *.chopro *.chordpro *.crd *.txt *.html)");
    if (path.isEmpty()) return;
    if (!grid_.Empty && QMessageBox::question(this, "Chordella", "Replace current chords & melody ?") != QMessageBox::Yes)
        return;
    link_.ImportChart(path.toStdString(), [this](const app::SongEditReply& reply) {
        Show(reply.Grid, 1);
        if (!reply.Message.empty()) Refused(reply.Message);
    });
}

void EditorWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    if (snapshot.Serial == shownSerial_ || !isVisible()) return;
    shownSerial_ = snapshot.Serial;
    const std::string name = snapshot.SongName.c_str();
    if (snapshot.SongLoaded != songLoaded_ || name != songName_) {
        songLoaded_ = snapshot.SongLoaded;
        songName_ = name;
        Reload();
    }
    if (snapshot.EditorEntries != seenEntries_) {
        // A chord went into the song as it was played: show it and select the next beat.
        seenEntries_ = snapshot.EditorEntries;
        const int measure = snapshot.EditorMeasure;
        const int beat = snapshot.EditorBeat;
        link_.ReadSongGrid([this, measure, beat](const app::SongGridView& grid) { Show(grid, measure, beat - 1); });
    }
    if (!snapshot.Playing || snapshot.Measure < 1) return Highlight(-1, -1);
    // The display counts the beat about to come; the one that sounds is the one before it.
    int measure = snapshot.Measure;
    int beat = snapshot.Beat - 1;
    if (beat < 1) {
        --measure;
        beat = std::max(1, snapshot.BeatsPerMeasure);
    }
    Highlight(measure - 1, beat - 1);
}

void EditorWindow::Highlight(int row, int column) {
    if (row == highlightedRow_ && column == highlightedColumn_) return;
    if (QTableWidgetItem* old = table_->item(highlightedRow_, highlightedColumn_)) old->setBackground(QBrush());
    highlightedRow_ = row;
    highlightedColumn_ = column;
    QTableWidgetItem* item = table_->item(row, column);
    if (item == nullptr) return;
    item->setBackground(PlayingColour);
    // The grid follows the song.
    table_->scrollToItem(item);
}

}  // namespace chordella::ui
