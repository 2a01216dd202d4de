#include "ui/StyleCreatorWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "data/StyleModel.h"
#include "ui/BatchWindow.h"
#include "ui/CreatorPartSetMenu.h"
#include "ui/ScrolledPage.h"

namespace chordella::ui {

namespace {

using Kind = desktop::CreatorRequest::Kind;

QComboBox* Combo(QLayout* layout, const char* label, const char* name, const QStringList& items) {
    layout->addWidget(new QLabel(label));
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    layout->addWidget(combo);
    return combo;
}

QSpinBox* Spin(int low, int high, int value, const char* name) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setObjectName(name);
    return spin;
}

QCheckBox* Check(QLayout* layout, const char* caption, const char* name) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

stylecreator::Modifiers HeldKeys() {
    const Qt::KeyboardModifiers keys = QApplication::keyboardModifiers();
    return {keys.testFlag(Qt::ShiftModifier), keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::AltModifier)};
}

}  // namespace

StyleCreatorWindow::StyleCreatorWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("StyleCreatorWindow");
    setWindowTitle(data::CreatorTitle);
    OpenInEditor = [](const QString& file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(MakeMenu());
    // Many controls: they scroll on a small screen.
    auto* layout = new QVBoxLayout(ScrolledPage(*outer));
    layout->addWidget(MakeMaterial());
    auto* middle = new QHBoxLayout;
    middle->addWidget(MakeGenerator());
    middle->addWidget(MakeParts());
    layout->addLayout(middle);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(MakeCapture());
    bottom->addWidget(MakeEvents());
    layout->addLayout(bottom);
    status_ = new QLabel;
    status_->setObjectName("CreatorStatus");
    layout->addWidget(status_);
    // Questions are answered later than the request that asked them, and the material plays
    // on: the window reads the core's view again while it is shown.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] {
        if (isVisible()) Refresh();
    });
    refresh->start(500);
    AttachPartSetMenu(this, link_);
}

QMenuBar* StyleCreatorWindow::MakeMenu() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName("CreatorMenu");
    AddCreatorMenus(bar);
    QMenu* batch = bar->addMenu(QString::fromUtf8(app::batch_text::MenuItem.data(),
                                                  static_cast<qsizetype>(app::batch_text::MenuItem.size())));
    batch->setObjectName("BatchMenu");
    // Each item opens the batch window and starts its mode there (the questions come first).
    for (const app::BatchModeInfo& info : app::BatchModes()) {
        const app::BatchMode mode = info.Mode;
        QAction* item = batch->addAction(
            QString::fromUtf8(info.MenuItem.data(), static_cast<qsizetype>(info.MenuItem.size())));
        connect(item, &QAction::triggered, this, [this, mode] {
            BatchWindow& window = Batch();
            window.SelectMode(mode);
            window.Start();
        });
    }
    batch->addSeparator();
    connect(batch->addAction("Batch processor window ..."), &QAction::triggered, this, [this] { Batch(); });
    return bar;
}

BatchWindow& StyleCreatorWindow::Batch() {
    auto* window = findChild<BatchWindow*>("BatchWindow");
    if (window == nullptr) window = new BatchWindow(link_, this);  // owned by this window
    window->show();
    window->raise();
    window->Refresh();
    return *window;
}

QPushButton* StyleCreatorWindow::Command(QLayout* layout, const char* caption, const char* name, Kind what) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, what] { Send(what); });
    return button;
}

QWidget* StyleCreatorWindow::MakeMaterial() {
    auto* box = new QGroupBox("Material");
    auto* row = new QHBoxLayout(box);
    auto* import = new QPushButton("Import MIDI");
    import->setObjectName("ImportMidi");
    row->addWidget(import);
    connect(import, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, "Import MIDI ...", {}, "MIDI-Files (*.mid *.prs *.sty *.bcs *.kar *.sst);;All files (*)");
        if (!path.isEmpty()) Send(Kind::ImportMidi, [&](desktop::CreatorRequest& r) { r.Path = path.toStdString(); });
    });
    Command(row, "New S.", "NewStyle", Kind::ImportMidi)->setToolTip("Clear all and import another MIDI file");
    Command(row, "Record from MIDI in", "RecordFromMidiIn", Kind::RecordStart);
    Command(row, "Stop recording", "StopRecording", Kind::RecordStop);
    Command(row, "Load Work", "LoadWork", Kind::LoadWork);
    Command(row, "Save Work as ...", "SaveWork", Kind::SaveWork);
    Command(row, "Load Style", "LoadStyle", Kind::LoadStyle);
    auto* saveStyle = new QPushButton("Save Style as ...");
    saveStyle->setObjectName("SaveStyle");
    row->addWidget(saveStyle);
    connect(saveStyle, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Save Style as ...", {}, "Styles (*.vxs)");
        if (!path.isEmpty()) Send(Kind::SaveStyle, [&](desktop::CreatorRequest& r) { r.Path = path.toStdString(); });
    });
    Command(row, "Test", "TestStyle", Kind::TestStyle)->setToolTip("Test recently saved vxs-style");
    return box;
}

QWidget* StyleCreatorWindow::MakeGenerator() {
    auto* box = new QGroupBox("Chords and conversion");
    auto* column = new QVBoxLayout(box);
    interval_ = Combo(column, "Change Chord per Measure ...", "Interval",
                      {"1/4", "1/2", "3/4", "1/1", "5/4", "6/4", "7/4", "2/1"});
    chordSet_ = Combo(column, "Mode ...", "ChordSet", {"1 Major", "2 Simple", "3 Normal", "4 Special"});
    sensitivity_ = Combo(column, "Sensitivity ...", "Sensitivity", {"1 Low", "2 Middle", "3 High", "4 Extreme"});
    Command(column, "Generate Chords", "GenerateChords", Kind::GenerateChords);
    convertMode_ = Combo(column, "Convertmode ...", "ConvertMode",
                         {"0  None N.C.", "1  Chordkeys", "2  Chordtypes", "3  Chordnotes", "4  Improper notes",
                          "5  All notes", "6  All notes to C maj"});
    adjust_ = Check(column, "Adjust ...", "Adjust");
    stylemode_ = Check(column, "Stylemode", "Stylemode");
    stylemode_->setToolTip("... if Intros and Endings will be modifyed");
    confirm_ = Check(column, "Confirm", "Confirm");
    Command(column, "Convert all to Style", "ConvertAll", Kind::ConvertAll);
    Command(column, "Convert measures to Style", "ConvertMeasures", Kind::ConvertMeasures);
    restore_ = Command(column, "Restore Original", "RestoreOriginal", Kind::RestoreOriginal);
    auto* shifts = new QGridLayout;
    const std::array<std::pair<const char*, int>, 4> steps = {{{"Oct. up", 12}, {"Oct. down", -12}, {"Tone up", 1}, {"Tone down", -1}}};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        auto* button = new QPushButton(steps[i].first);
        button->setObjectName(QString(steps[i].first).remove(' ').remove('.'));
        shifts->addWidget(button, static_cast<int>(i / 2), static_cast<int>(i % 2));
        const int semitones = steps[i].second;
        connect(button, &QPushButton::clicked, this,
                [this, semitones] { Send(Kind::ShiftNotes, [&](desktop::CreatorRequest& r) { r.Value = semitones; }); });
    }
    column->addLayout(shifts);
    auto* move = new QHBoxLayout;
    channelFrom_ = Spin(1, 16, 1, "ChannelFrom");
    channelTo_ = Spin(1, 16, 2, "ChannelTo");
    auto* arrow = new QPushButton("->");
    arrow->setObjectName("MoveChannel");
    move->addWidget(channelFrom_);
    move->addWidget(arrow);
    move->addWidget(channelTo_);
    connect(arrow, &QPushButton::clicked, this, [this] {
        Send(Kind::MoveChannel, [this](desktop::CreatorRequest& r) {
            r.Value = channelFrom_->value() - 1;
            r.Value2 = channelTo_->value() - 1;
        });
    });
    column->addLayout(move);
    return box;
}

QWidget* StyleCreatorWindow::MakeParts() {
    auto* box = new QGroupBox("Styleparts");
    auto* column = new QVBoxLayout(box);
    auto* modes = new QHBoxLayout;
    songMode_ = Check(modes, "Song mode", "SongMode");
    styleMode_ = Check(modes, "Style mode", "StyleMode");
    connect(songMode_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        const QSignalBlocker block(styleMode_);
        styleMode_->setChecked(!on);
        Send(Kind::Settings);
    });
    connect(styleMode_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        const QSignalBlocker block(songMode_);
        songMode_->setChecked(!on);
        Send(Kind::Settings);
    });
    column->addLayout(modes);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel("Start with ..."));
    startMeasure_ = Spin(1, stylecreator::MaxStopMeasure, 1, "StartMeasure");
    startBeat_ = Spin(1, 16, 1, "StartBeat");
    range->addWidget(startMeasure_);
    range->addWidget(startBeat_);
    range->addWidget(new QLabel("Stop at ..."));
    stopMeasure_ = Spin(0, stylecreator::MaxStopMeasure, 0, "StopMeasure");
    range->addWidget(stopMeasure_);
    column->addLayout(range);

    parts_ = new QListWidget;
    parts_->setObjectName("PartList");
    for (int p = 0; p < data::PartCount; ++p) parts_->addItem(QString::fromUtf8(data::PartSelectorText(p).data()));
    parts_->setCurrentRow(data::Index(data::StylePart::Basic));
    connect(parts_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (showing_ || row < 0) return;
        const desktop::CreatorPartView& part = view_.Parts[static_cast<std::size_t>(row)];
        partStart_->setValue(part.Present ? part.StartMeasure : 1);
        partEnd_->setValue(part.Present ? part.EndMeasure : 0);
        partBeat_->setValue(std::max(part.StartBeat, 1));
        Send(Kind::Settings);
    });
    column->addWidget(parts_);
    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel("Measure"));
    partStart_ = Spin(1, stylecreator::MaxStopMeasure, 1, "PartStart");
    partEnd_ = Spin(0, stylecreator::MaxStopMeasure, 0, "PartEnd");
    fields->addWidget(partStart_);
    fields->addWidget(partEnd_);
    fields->addWidget(new QLabel("Beat"));
    partBeat_ = Spin(1, 16, 1, "PartBeat");
    fields->addWidget(partBeat_);
    auto* set = new QPushButton("Set");
    set->setObjectName("SetPart");
    fields->addWidget(set);
    connect(set, &QPushButton::clicked, this, [this] {
        Send(Kind::SetPart, [this](desktop::CreatorRequest& r) {
            r.Part = parts_->currentRow();
            r.StartMeasure = partStart_->value();
            r.EndMeasure = partEnd_->value();
            r.StartBeat = partBeat_->value();
        });
    });
    auto* clear = new QPushButton("Clear P.");
    clear->setObjectName("ClearPart");
    fields->addWidget(clear);
    connect(clear, &QPushButton::clicked, this,
            [this] { Send(Kind::ClearPart, [this](desktop::CreatorRequest& r) { r.Part = parts_->currentRow(); }); });
    column->addLayout(fields);

    auto* quick = new QHBoxLayout;
    auto* quickButton = new QPushButton("Quick S.");
    quickButton->setObjectName("QuickStyle");
    quickButton->setToolTip("Create a complete style, using the current loop; (SHIFT+: Fills; CTRL+: Bridges");
    connect(quickButton, &QPushButton::clicked, this,
            [this] { Send(Kind::QuickStyle, [](desktop::CreatorRequest& r) { r.Keys = HeldKeys(); }); });
    quick->addWidget(quickButton);
    auto* styleA = new QPushButton("Use data for Style A");
    styleA->setObjectName("StyleA");
    connect(styleA, &QPushButton::clicked, this, [this] { Send(Kind::UseStructure); });
    auto* styleB = new QPushButton("Use data for Style B");
    styleB->setObjectName("StyleB");
    connect(styleB, &QPushButton::clicked, this,
            [this] { Send(Kind::UseStructure, [](desktop::CreatorRequest& r) { r.StyleB = true; }); });
    quick->addWidget(styleA);
    quick->addWidget(styleB);
    Command(quick, "Test", "TestCreated", Kind::TestStyle)->setToolTip("Replace current work and test created style");
    column->addLayout(quick);

    auto* loop = new QHBoxLayout;
    auto* loopLabel = new QLabel("&Loop");
    loop->addWidget(loopLabel);
    loop_ = Spin(1, 8, 4, "LoopMeasures");
    loopLabel->setBuddy(loop_);  // the mnemonic moves to the field
    loop->addWidget(loop_);
    multiply_ = Check(loop, "Multiply by 2", "MultiplyBy2");
    Command(loop, "<<", "LoopBack", Kind::LoopBack);
    Command(loop, ">>", "LoopForward", Kind::LoopForward);
    loopStart_ = Command(loop, "LoopStart", "LoopStart", Kind::LoopStart);
    loopStart_->setToolTip("The loop starts at the measure playing");
    loopEnd_ = Command(loop, "LoopEnd", "LoopEnd", Kind::LoopEnd);
    loopEnd_->setToolTip("The loop ends with the measure playing and starts again");
    Command(loop, "Play", "CreatorPlay", Kind::Play);
    Command(loop, "Stop", "CreatorStop", Kind::Stop);
    measureBeat_ = new QPushButton("1:1");
    measureBeat_->setObjectName("MeasureBeat");
    connect(measureBeat_, &QPushButton::clicked, this, [this] { Send(Kind::MeasureMark); });
    loop->addWidget(measureBeat_);
    column->addLayout(loop);

    column->addWidget(MakePartFlags());
    return box;
}

QWidget* StyleCreatorWindow::MakeCapture() {
    auto* box = new QGroupBox("Capture Style");
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel("First"), 0, 1);
    grid->addWidget(new QLabel("Last"), 0, 2);
    for (int p = 0; p < data::PartCount; ++p) {
        grid->addWidget(new QLabel(QString::fromUtf8(data::PartSelectorText(p).data())), p + 1, 0);
        captureFirst_[static_cast<std::size_t>(p)] = Spin(0, stylecreator::MaxStopMeasure, 0, "CaptureFirst");
        captureLast_[static_cast<std::size_t>(p)] = Spin(0, stylecreator::MaxStopMeasure, 0, "CaptureLast");
        grid->addWidget(captureFirst_[static_cast<std::size_t>(p)], p + 1, 1);
        grid->addWidget(captureLast_[static_cast<std::size_t>(p)], p + 1, 2);
    }
    captureTempo_ = Spin(25, 250, 120, "CaptureTempo");
    captureMetrum_ = new QComboBox;
    captureMetrum_->setObjectName("CaptureMetrum");
    captureMetrum_->addItems({"2/4", "3/4", "4/4", "5/4", "6/4"});
    captureMetrum_->setCurrentIndex(2);
    grid->addWidget(captureTempo_, data::PartCount + 1, 1);
    grid->addWidget(captureMetrum_, data::PartCount + 1, 2);
    auto* ok = new QPushButton("OK - Record from MIDI in");
    ok->setObjectName("CaptureRecord");
    connect(ok, &QPushButton::clicked, this, [this] {
        Send(Kind::Capture, [this](desktop::CreatorRequest& r) {
            for (std::size_t p = 0; p < data::PartCount; ++p)
                r.Panel.Parts[p] = {captureFirst_[p]->value(), captureLast_[p]->value()};
            r.Panel.Tempo = captureTempo_->value();
            r.Panel.Metrum = captureMetrum_->currentText().toStdString();
        });
    });
    grid->addWidget(ok, data::PartCount + 2, 0, 1, 3);
    return box;
}

QWidget* StyleCreatorWindow::MakeEvents() {
    auto* box = new QGroupBox(stylecreator::EventEditorTitle);
    auto* column = new QVBoxLayout(box);
    Command(column, "Stylepart - Events      ", "OpenEvents", Kind::EventsOpen);
    eventName_ = new QLabel("-");
    eventName_->setObjectName("EventName");
    column->addWidget(eventName_);
    auto* steps = new QHBoxLayout;
    Command(steps, "<", "EventPrevious", Kind::EventsPrevious);
    Command(steps, "o", "EventSound", Kind::EventsSound);
    Command(steps, ">", "EventNext", Kind::EventsNext);
    column->addLayout(steps);
    auto* key = new QHBoxLayout;
    eventKey_ = new QComboBox;
    eventKey_->setObjectName("EventKey");
    for (const char* name : stylecreator::EventKeyNames) eventKey_->addItem(name);
    eventOctave_ = new QComboBox;
    eventOctave_->setObjectName("EventOctave");
    for (int octave = 1; octave <= 8; ++octave) eventOctave_->addItem(QString::number(octave));
    key->addWidget(eventKey_);
    key->addWidget(eventOctave_);
    auto* change = new QPushButton("Change");
    change->setObjectName("EventChange");
    connect(change, &QPushButton::clicked, this, [this] {
        Send(Kind::EventsChange, [this](desktop::CreatorRequest& r) {
            r.Value = eventKey_->currentIndex();
            r.Value2 = eventOctave_->currentIndex() + 1;
        });
    });
    key->addWidget(change);
    Command(key, "Clear", "EventClear", Kind::EventsClear);
    Command(key, "Undo", "EventUndo", Kind::EventsUndo);
    column->addLayout(key);
    auto* bar = new QHBoxLayout;
    velocity_ = new QSlider(Qt::Horizontal);
    velocity_->setObjectName("EventVelocity");
    velocity_->setRange(1, 127);
    velocity_->setPageStep(16);
    velocityLabel_ = new QLabel("0");
    bar->addWidget(velocity_);
    bar->addWidget(velocityLabel_);
    connect(velocity_, &QSlider::sliderReleased, this, [this] {
        Send(Kind::EventsVelocity, [this](desktop::CreatorRequest& r) { r.Value = velocity_->value(); });
    });
    column->addLayout(bar);
    return box;
}

desktop::CreatorRequest StyleCreatorWindow::FromBoxes() const {
    desktop::CreatorRequest r;
    r.Generator.IntervalBeats = interval_->currentIndex() + 1;
    r.Generator.ChordSet = chordSet_->currentIndex() + 1;
    r.Generator.Sensitivity = sensitivity_->currentIndex() + 1;
    r.Conversion.Mode = static_cast<stylecreator::ConvertMode>(convertMode_->currentIndex());
    r.Conversion.Adjust = adjust_->isChecked();
    r.Conversion.Stylemode = stylemode_->isChecked();
    r.Conversion.Confirm = confirm_->isChecked();
    r.Mode = styleMode_->isChecked() ? stylecreator::CreatorMode::Style : stylecreator::CreatorMode::Song;
    stylecreator::MeasureRange& range = r.Mode == stylecreator::CreatorMode::Style ? r.StyleRange : r.SongRange;
    r.SongRange = view_.SongRange;
    r.StyleRange = view_.StyleRange;
    range.StartMeasure = startMeasure_->value();
    range.StartBeat = startBeat_->value();
    range.StopMeasure = stopMeasure_->value();
    r.LoopMeasures = loop_->value();
    r.MultiplyBy2 = multiply_->isChecked();
    r.SelectedPart = std::max(parts_->currentRow(), 0);
    return r;
}

void StyleCreatorWindow::Send(Kind what, const std::function<void(desktop::CreatorRequest&)>& fill) {
    desktop::CreatorRequest request = FromBoxes();
    request.What = what;
    if (fill) fill(request);
    link_.StyleCreatorCommand(request, [this](const desktop::CreatorView& view) { ShowView(view); });
}

void StyleCreatorWindow::Refresh() {
    desktop::CreatorRequest request;
    link_.StyleCreatorCommand(request, [this](const desktop::CreatorView& view) { ShowView(view); });
}

void StyleCreatorWindow::ShowView(const desktop::CreatorView& view) {
    showing_ = true;
    view_ = view;
    const QSignalBlocker blockSong(songMode_), blockStyle(styleMode_);
    setWindowTitle(QString::fromStdString(view.Caption));
    interval_->setCurrentIndex(view.Generator.IntervalBeats - 1);
    chordSet_->setCurrentIndex(view.Generator.ChordSet - 1);
    sensitivity_->setCurrentIndex(view.Generator.Sensitivity - 1);
    convertMode_->setCurrentIndex(static_cast<int>(view.Conversion.Mode));
    adjust_->setChecked(view.Conversion.Adjust);
    stylemode_->setChecked(view.Conversion.Stylemode);
    confirm_->setChecked(view.Conversion.Confirm);
    const bool style = view.Mode == stylecreator::CreatorMode::Style;
    songMode_->setChecked(!style);
    styleMode_->setChecked(style);
    const stylecreator::MeasureRange& range = style ? view.StyleRange : view.SongRange;
    startMeasure_->setValue(range.StartMeasure);
    startBeat_->setValue(range.StartBeat);
    stopMeasure_->setValue(range.StopMeasure);
    partStart_->setEnabled(style);
    partEnd_->setEnabled(style);
    partBeat_->setEnabled(style);
    loopStart_->setEnabled(style);
    loopEnd_->setEnabled(style);
    loop_->setValue(view.LoopMeasures);
    multiply_->setChecked(view.MultiplyBy2);
    for (std::size_t i = 0; i < loopItems_.size(); ++i)
        loopItems_[i]->setChecked(static_cast<int>(i) + 1 == view.LoopMeasures);
    multiplyItem_->setChecked(view.MultiplyBy2);
    cutNotes_->setChecked(view.PartCutNotes);
    suppress_->setChecked(view.SuppressControllers);
    restore_->setEnabled(view.RestoreEnabled);
    for (int p = 0; p < data::PartCount; ++p) {
        const desktop::CreatorPartView& part = view.Parts[static_cast<std::size_t>(p)];
        QString text = QString::fromUtf8(data::PartSelectorText(p).data());
        if (part.Present) text += QString("  %1 - %2").arg(part.StartMeasure).arg(part.EndMeasure);
        parts_->item(p)->setText(text);
    }
    if (parts_->currentRow() != view.SelectedPart) parts_->setCurrentRow(view.SelectedPart);
    measureBeat_->setText(QString::fromStdString(view.MeasureBeat));
    const stylecreator::EventNote& note = view.Event;
    eventName_->setText(note.OnNote ? QString::fromStdString(note.Name) : "-");
    if (note.OnNote) {
        eventKey_->setCurrentIndex(note.KeyIndex);
        eventOctave_->setCurrentIndex(std::clamp(note.Octave, 1, 8) - 1);
        velocity_->setValue(std::max(note.Velocity, 1));
        velocityLabel_->setText(QString::number(note.Velocity));
    }
    status_->setText(QString::fromStdString(view.Status));
    showing_ = false;
}

}  // namespace chordella::ui
