#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

namespace chordella::ui {

namespace {

constexpr int RefreshMillis = 33;
constexpr int MinTempo = 25;
constexpr int MaxTempo = 250;

// The part names of the part display, by part number.
constexpr std::array<const char*, 8> PartNames{"Intro",         "Basic",            "Extended",    "Ending",
                                               "Fill in Basic", "Fill in Extended", "To Extended", "To Basic"};

// The clock panel's colours: stopped, running, waiting for an external start.
constexpr std::array<const char*, 3> ClockColours{"#b0b0b0", "#40c040", "#e0c030"};
constexpr const char* AccentBeat = "#e04040";
constexpr const char* Beat = "#40c040";
constexpr const char* DarkLamp = "#404040";

QString LampStyle(const char* colour) {
    return QStringLiteral("background-color: %1; border: 1px solid #202020; border-radius: 6px;").arg(colour);
}

QSpinBox* SpinBox(const char* name, int low, int high, int value) {
    auto* box = new QSpinBox;
    box->setFocusPolicy(Qt::ClickFocus);  // the keys belong to the window until a field is clicked
    box->setObjectName(name);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QPushButton* Button(const char* name, const char* caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);  // the window keeps the keys
    return button;
}

}  // namespace

MainWindow::MainWindow(CoreLink& core, QWidget* parent) : QMainWindow(parent), core_(core) {
    setObjectName("MainWindow");
    setWindowTitle("Chordella");
    setFocusPolicy(Qt::StrongFocus);
    BuildMenus();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    top->addWidget(BuildTransport());
    top->addWidget(BuildDisplays(), 1);
    layout->addLayout(top);
    layout->addWidget(BuildFields());

    guide_ = new QGroupBox("Guide");
    guide_->setObjectName("Guide");
    auto* guideLayout = new QHBoxLayout(guide_);
    guideText_ = new QLabel;
    guideText_->setObjectName("GuideText");
    guideText_->setWordWrap(true);
    auto* closeGuide = Button("GuideClose", "Close");
    guideLayout->addWidget(guideText_, 1);
    guideLayout->addWidget(closeGuide);
    connect(closeGuide, &QPushButton::clicked, this, [this] {
        guideClosed_ = true;
        guide_->hide();
    });
    guide_->hide();
    layout->addWidget(guide_);

    panels_ = new QVBoxLayout;
    layout->addLayout(panels_, 1);
    setCentralWidget(central);
    BuildPanels();
    statusBar()->setObjectName("StatusBar");

    qApp->installEventFilter(this);
    refreshTimer_ = new QTimer(this);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { RefreshFromCore(); });
    refreshTimer_->start(RefreshMillis);
    // A field that was typed into gives the keys back to the window.
    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, &QSpinBox::editingFinished, this, [this] { setFocus(); });
    setFocus();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    CloseToolWindows();
}

void MainWindow::AddPanel(QWidget* panel, std::function<void(const app::DisplaySnapshot&)> refresh) {
    panels_->addWidget(panel);
    if (refresh) refreshers_.push_back(std::move(refresh));
}

QWidget* MainWindow::BuildTransport() {
    auto* box = new QGroupBox("Transport");
    box->setObjectName("Transport");
    auto* layout = new QHBoxLayout(box);
    auto* play = Button("PlayButton", "Play");
    auto* stop = Button("StopButton", "Stop");
    recordButton_ = Button("RecordButton", "Record");
    auto* stepRecord = Button("StepRecordButton", "Step Record");
    clockButton_ = Button("ClockButton", "Clock");
    syncStartButton_ = Button("SyncStartButton", "Sync Start");
    recordButton_->setCheckable(true);
    syncStartButton_->setCheckable(true);
    for (QPushButton* b : {play, stop, recordButton_, stepRecord, clockButton_, syncStartButton_}) layout->addWidget(b);
    connect(play, &QPushButton::clicked, this, [this] { core_.StartStop(); });
    connect(stop, &QPushButton::clicked, this, [this] { core_.Stop(); });
    connect(recordButton_, &QPushButton::clicked, this, [this] { core_.Record(); });
    connect(stepRecord, &QPushButton::clicked, this, [this] { core_.StepRecord(); });
    connect(clockButton_, &QPushButton::clicked, this, [this] { core_.ToggleClock(); });
    connect(syncStartButton_, &QPushButton::clicked, this, [this] { core_.ToggleSyncStart(); });

    tempo_ = SpinBox("TempoEdit1", MinTempo, MaxTempo, 120);
    tempo_->setKeyboardTracking(false);  // the tempo changes when typing is done, not per digit
    connect(tempo_, &QSpinBox::valueChanged, this, [this](int bpm) { core_.SetTempo(bpm); });
    layout->addWidget(new QLabel("Tempo"));
    layout->addWidget(tempo_);
    return box;
}

QWidget* MainWindow::BuildDisplays() {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    chordDisplay_ = new QLabel;
    chordDisplay_->setObjectName("ChordDisplay");
    QFont big = chordDisplay_->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    chordDisplay_->setFont(big);
    chordDisplay_->setMinimumWidth(160);
    layout->addWidget(chordDisplay_, 1);

    measureDisplay_ = new QLabel("0 : 0");
    measureDisplay_->setObjectName("MeasureDisplay");
    measureDisplay_->setFont(big);
    layout->addWidget(measureDisplay_);
    for (int i = 0; i < BeatLamps; ++i) {
        auto* lamp = new QLabel;
        lamp->setObjectName(QStringLiteral("BeatLamp%1").arg(i + 1));
        lamp->setFixedSize(14, 14);
        lamp->setStyleSheet(LampStyle(DarkLamp));
        beatLamps_[static_cast<std::size_t>(i)] = lamp;
        layout->addWidget(lamp);
    }
    auto* names = new QVBoxLayout;
    styleName_ = new QLabel;
    styleName_->setObjectName("StyleName");
    partLabel_ = new QLabel;
    partLabel_->setObjectName("PartDisplay");
    names->addWidget(styleName_);
    names->addWidget(partLabel_);
    layout->addLayout(names);
    accompanimentButton_ = Button("AccompanimentButton", "K");
    accompanimentButton_->setToolTip("Accompaniment OFF");
    connect(accompanimentButton_, &QPushButton::clicked, this, [this] {
        // The button shows "K" while the accompaniment is on: a click switches it off.
        core_.SetAccompaniment(accompanimentButton_->text() != "K");
    });
    layout->addWidget(accompanimentButton_);
    return box;
}

QWidget* MainWindow::BuildFields() {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    split_ = SpinBox("SplitKey", 12, 127, 59);
    split_->setToolTip("Highest key of the chord zone");
    octave_ = SpinBox("TransposeOctave", -3, 3, 0);
    semitone_ = SpinBox("TransposeSemitones", -11, 11, 0);
    layout->addWidget(new QLabel("Split"));
    layout->addWidget(split_);
    layout->addWidget(new QLabel("Transpose"));
    layout->addWidget(octave_);
    layout->addWidget(semitone_);
    connect(split_, &QSpinBox::valueChanged, this, [this](int key) { core_.SetSplitKey(key); });
    auto transpose = [this](int) { core_.SetTransposition(octave_->value(), semitone_->value()); };
    connect(octave_, &QSpinBox::valueChanged, this, transpose);
    connect(semitone_, &QSpinBox::valueChanged, this, transpose);

    loop_ = new QCheckBox("Loop");
    loop_->setObjectName("LoopBox");
    loop_->setFocusPolicy(Qt::NoFocus);
    loopFrom_ = SpinBox("LoopFrom", 1, 999, 1);
    loopTo_ = SpinBox("LoopTo", 1, 999, 1);
    auto loopChanged = [this] { core_.SetLoop(loop_->isChecked(), loopFrom_->value(), loopTo_->value()); };
    connect(loop_, &QCheckBox::toggled, this, loopChanged);
    connect(loopFrom_, &QSpinBox::valueChanged, this, loopChanged);
    connect(loopTo_, &QSpinBox::valueChanged, this, loopChanged);
    layout->addWidget(loop_);
    layout->addWidget(loopFrom_);
    layout->addWidget(loopTo_);

    startMeasure_ = SpinBox("StartMeasure", -500, 500, 1);
    connect(startMeasure_, &QSpinBox::valueChanged, this, [this](int m) { core_.SetStartMeasure(m); });
    layout->addWidget(new QLabel("Start"));
    layout->addWidget(startMeasure_);

    editBox_ = new QCheckBox(" Edit");
    editBox_->setObjectName("EditBox");
    editBox_->setFocusPolicy(Qt::NoFocus);
    connect(editBox_, &QCheckBox::toggled, this, [this](bool on) { core_.SetEditBox(on); });
    layout->addWidget(editBox_);
    layout->addStretch(1);
    return box;
}

void MainWindow::RefreshFromCore() {
    const app::DisplaySnapshot snapshot = core_.Snapshot();
    if (snapshot.Serial == shownSerial_) return;
    shownSerial_ = snapshot.Serial;
    Refresh(snapshot);
}

void MainWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    setWindowTitle(QString::fromUtf8(snapshot.Title.c_str()));
    chordDisplay_->setText(QString::fromUtf8(snapshot.ChordName.c_str()));
    styleName_->setText(QString::fromUtf8(snapshot.StyleName.c_str()));
    partLabel_->setText(snapshot.Part >= 0 && snapshot.Part < 8 ? PartNames[static_cast<std::size_t>(snapshot.Part)] : "");
    statusBar()->showMessage(QString::fromUtf8(snapshot.Status.c_str()));
    RefreshTransport(snapshot);
    RefreshBeat(snapshot);
    RefreshFields(snapshot);
    RefreshMenus(snapshot);
    if (!guideClosed_ && snapshot.GuideText.c_str()[0] != '\0') {
        guideText_->setText(QString::fromUtf8(snapshot.GuideText.c_str()));
        guide_->show();
    }
    for (const auto& refresh : refreshers_) refresh(snapshot);
}

void MainWindow::RefreshTransport(const app::DisplaySnapshot& snapshot) {
    const int panel = snapshot.ClockPanel >= 0 && snapshot.ClockPanel <= 2 ? snapshot.ClockPanel : 0;
    if (panel != shownClockPanel_) {
        shownClockPanel_ = panel;
        clockButton_->setStyleSheet(
            QStringLiteral("background-color: %1;").arg(ClockColours[static_cast<std::size_t>(panel)]));
    }
    recordButton_->setChecked(snapshot.Recording);
    syncStartButton_->setChecked(snapshot.SyncStart);
    const QString caption = QString::fromUtf8(snapshot.AccompanimentCaption.c_str());
    accompanimentButton_->setText(caption);
    accompanimentButton_->setToolTip(caption == "K" ? "Accompaniment OFF" : "Accompaniment ON");
    if (!tempo_->hasFocus() && tempo_->value() != snapshot.Tempo) {
        const QSignalBlocker quiet(tempo_);
        tempo_->setValue(snapshot.Tempo);
    }
}

void MainWindow::RefreshBeat(const app::DisplaySnapshot& snapshot) {
    measureDisplay_->setText(QStringLiteral("%1 : %2").arg(snapshot.Measure).arg(snapshot.Beat));
    for (int i = 0; i < BeatLamps; ++i) {
        QLabel* lamp = beatLamps_[static_cast<std::size_t>(i)];
        lamp->setVisible(i < snapshot.BeatsPerMeasure);
        const bool lit = snapshot.Beat == i + 1;
        if (lit == litLamps_[static_cast<std::size_t>(i)]) continue;  // style sheets are costly to apply
        litLamps_[static_cast<std::size_t>(i)] = lit;
        lamp->setStyleSheet(LampStyle(!lit ? DarkLamp : i == 0 ? AccentBeat : Beat));
    }
}

void MainWindow::RefreshFields(const app::DisplaySnapshot& snapshot) {
    auto show = [](QSpinBox* box, int value) {
        if (box->hasFocus() || box->value() == value) return;
        const QSignalBlocker quiet(box);
        box->setValue(value);
    };
    show(split_, snapshot.SplitKey);
    show(octave_, snapshot.TransposeOctave);
    show(semitone_, snapshot.TransposeSemitones);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) core_.FocusLost();
    QMainWindow::changeEvent(event);
}

}  // namespace chordella::ui
