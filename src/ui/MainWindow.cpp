#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "composer/SongKeys.h"
#include "ui/PerformanceButtons.h"
#include "ui/PerformanceDisplay.h"
#include "ui/StageView.h"
#include "ui/TKeys.h"
#include "ui/Theme.h"

namespace chordella::ui {

namespace {

constexpr int RefreshMillis = 33;

// The clock button's colours: stopped, running, waiting for an external start.
constexpr std::array<const char*, 3> ClockColours{"#8a9099", "#2e9e4f", "#c98a14"};

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
    setWindowIcon(ApplicationIcon());
    setFocusPolicy(Qt::StrongFocus);
    BuildMenus();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);
    display_ = new PerformanceDisplay;
    display_->OnTempo = [this](int bpm) { core_.SetTempo(bpm); };
    display_->OnTap = [this] { FunctionKey(Qt::Key_F8, false); };
    layout->addWidget(display_);
    buttons_ = new PerformanceButtons(core_);
    layout->addWidget(buttons_);
    layout->addWidget(BuildFields());

    layout->addWidget(BuildFoldingPanels(), 1);
    // The first start's guide: a page of the tabs while it is open, so it takes no height of
    // its own and the window fits a small screen with it as without it.
    guide_ = new QWidget;
    guide_->setObjectName("Guide");
    auto* guideLayout = new QVBoxLayout(guide_);
    guideLayout->setContentsMargins(12, 10, 12, 10);
    guideText_ = new QLabel;
    guideText_->setObjectName("GuideText");
    guideText_->setWordWrap(true);
    guideText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Wrapped text would ask for the height it needs at the narrowest width: the page has room.
    guideText_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    auto* closeGuide = Button("GuideClose", "Close");
    guideLayout->addWidget(guideText_, 1);
    guideLayout->addWidget(closeGuide, 0, Qt::AlignRight);
    connect(closeGuide, &QPushButton::clicked, this, [this] { CloseGuide(); });
    guide_->hide();
    panels_ = new QVBoxLayout;
    panels_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(panels_);
    stage_ = new StageView;
    stage_->OnLeave = [this] { SetStageView(false); };
    pages_ = new QStackedWidget;
    pages_->addWidget(central);
    pages_->addWidget(stage_);
    setCentralWidget(pages_);
    BuildPanels();
    BuildViewMenu();
    BuildHelpMenu();
    statusBar()->setObjectName("StatusBar");

    qApp->installEventFilter(this);
    refreshTimer_ = new QTimer(this);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { RefreshFromCore(); });
    refreshTimer_->start(RefreshMillis);
    // A field that was typed into gives the keys back to the window.
    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, &QSpinBox::editingFinished, this, [this] { setFocus(); });
    LoadWindowSettings();
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

QWidget* MainWindow::BuildFields() {
    auto* box = new QWidget;
    box->setObjectName("Fields");
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    recordButton_ = Button("RecordButton", "Record  F9");
    recordButton_->setCheckable(true);
    auto* stepRecord = Button("StepRecordButton", "Step Record");
    auto* stop = Button("StopButton", "Stop");
    clockButton_ = Button("ClockButton", "Clock");
    connect(recordButton_, &QPushButton::clicked, this, [this] { core_.Record(); });
    connect(stepRecord, &QPushButton::clicked, this, [this] { core_.StepRecord(); });
    connect(stop, &QPushButton::clicked, this, [this] { core_.Stop(); });
    connect(clockButton_, &QPushButton::clicked, this, [this] { core_.ToggleClock(); });
    accompanimentButton_ = Button("AccompanimentButton", "K");
    accompanimentButton_->setToolTip("Accompaniment OFF");
    connect(accompanimentButton_, &QPushButton::clicked, this, [this] {
        // The button shows "K" while the accompaniment is on: a click switches it off.
        core_.SetAccompaniment(accompanimentButton_->text() != "K");
    });
    for (QPushButton* b : {stop, recordButton_, stepRecord, clockButton_}) layout->addWidget(b);
    // The switch's own caption is a letter ("K": on, click for off; "A": off): it is named.
    auto* accompaniment = new QLabel("Accompaniment");
    accompaniment->setToolTip("K: the accompaniment plays (click to switch it off); A: it is off");
    layout->addSpacing(6);
    layout->addWidget(accompaniment);
    layout->addWidget(accompanimentButton_);
    layout->addSpacing(12);
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
    AddKeyLists(*layout);
    layout->addStretch(1);
    return box;
}

void MainWindow::AddKeyLists(QHBoxLayout& layout) {
    auto list = [](const char* name, const auto& entries, int shownLength) {
        auto* combo = new QComboBox;
        combo->setObjectName(name);
        combo->setFocusPolicy(Qt::NoFocus);  // the window keeps the keys
        for (std::string_view entry : entries) combo->addItem(QString::fromUtf8(entry.data(), static_cast<int>(entry.size())));
        // The row is short of room: the closed list shows the start of its entry, the open one all of it.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(shownLength);
        return combo;
    };
    songKey_ = list("SongKeyList", composer::KeyListNames, 2);
    songKey_->setToolTip("Key of the songs the song creator makes (with \"Randomly choose key\" off)");
    songMode_ = list("SongModeList", composer::ModeListNames, 5);
    songMode_->setToolTip("Mode of the songs the song creator makes");
    auto changed = [this] { core_.SetSongKey(songKey_->currentIndex(), songMode_->currentIndex()); };
    connect(songKey_, &QComboBox::currentIndexChanged, this, changed);
    connect(songMode_, &QComboBox::currentIndexChanged, this, changed);
    layout.addWidget(new QLabel("Key"));
    layout.addWidget(songKey_);
    layout.addWidget(songMode_);
}

void MainWindow::RefreshFromCore() {
    const app::DisplaySnapshot snapshot = core_.Snapshot();
    if (snapshot.Serial == shownSerial_) return;
    shownSerial_ = snapshot.Serial;
    Refresh(snapshot);
}

void MainWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    setWindowTitle(QString::fromUtf8(snapshot.Title.c_str()));
    statusBar()->showMessage(QString::fromUtf8(snapshot.Status.c_str()));
    lastPlaying_ = snapshot.Playing;
    lastShown_ = snapshot;
    keyboardLayout_ = snapshot.KeyboardLayout;
    // Only the view that is shown repaints; the other catches up when it is shown.
    if (IsStageView()) stage_->Refresh(snapshot);
    else display_->Refresh(snapshot);
    buttons_->Refresh(snapshot);
    RefreshTransport(snapshot);
    RefreshFields(snapshot);
    RefreshMenus(snapshot);
    if (!guideClosed_ && snapshot.GuideText.c_str()[0] != '\0') ShowGuide(QString::fromUtf8(snapshot.GuideText.c_str()));
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
    const QString caption = QString::fromUtf8(snapshot.AccompanimentCaption.c_str());
    accompanimentButton_->setText(caption);
    accompanimentButton_->setToolTip(caption == "K" ? "Accompaniment OFF" : "Accompaniment ON");
}

void MainWindow::RefreshFields(const app::DisplaySnapshot& snapshot) {
    auto show = [](QSpinBox* box, int value) {
        if (box->hasFocus() || box->value() == value) return;
        const QSignalBlocker quiet(box);
        box->setValue(value);
    };
    show(split_, snapshot.SplitKey);
    keys_->SetChordZone(snapshot.FirstChordKey, snapshot.SplitKey);
    show(octave_, snapshot.TransposeOctave);
    show(semitone_, snapshot.TransposeSemitones);
}

bool MainWindow::IsStageView() const { return pages_->currentWidget() == stage_; }

void MainWindow::SetStageView(bool on) {
    if (on == IsStageView()) return;
    if (on) stage_->Refresh(lastShown_);
    else display_->Refresh(lastShown_);
    pages_->setCurrentWidget(on ? static_cast<QWidget*>(stage_) : pages_->widget(0));
    statusBar()->setVisible(!on);
    stageAction_->setChecked(on);
    setFocus();  // the keys stay with the window in either view
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) core_.FocusLost();
    QMainWindow::changeEvent(event);
}

}  // namespace chordella::ui
