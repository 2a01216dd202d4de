// The main window's folding panels (the tabs over the on-screen keyboard), the "View" menu,
// the theme, and the window settings kept with the program's settings: size, panels, theme
// and the style browser's folders.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/MainWindow.h"
#include "ui/PerformanceDisplay.h"
#include "ui/StyleBrowser.h"
#include "ui/StyleConverterWindow.h"
#include "ui/TKeys.h"
#include "ui/Theme.h"
#include "ui/WindowPlacement.h"

namespace chordella::ui {

namespace {

constexpr int StoreDelayMillis = 500;
// The first start's size on a large screen; smaller screens get what they have.
constexpr int PreferredWidth = 1366;
constexpr int PreferredHeight = 768;
constexpr int SmallestWidth = 1000;
constexpr int SmallestHeight = 600;

std::vector<std::string> SplitFolders(const std::string& text) {
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        if (end > start) folders.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::string JoinFolders(const std::vector<std::string>& folders) {
    std::string text;
    for (const std::string& folder : folders) text += (text.empty() ? "" : ";") + folder;
    return text;
}

}  // namespace

QWidget* MainWindow::BuildFoldingPanels() {
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->setObjectName("PanelSplitter");
    splitter_->setChildrenCollapsible(true);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("PanelTabs");
    tabs_->setDocumentMode(true);
    browser_ = new StyleBrowser;
    tabs_->addTab(browser_, "Styles");
    browser_->OnLoad = [this](const std::string& path) {
        browser_->MarkLoaded(path);
        core_.ChangeStyle(path);
    };
    browser_->OnPlay = [this](const std::string& path) {
        browser_->MarkLoaded(path);
        core_.ChangeStyle(path);
        if (!lastPlaying_) core_.StartStop();
        setFocus();  // the keys go back to chords and sections
    };
    browser_->OnFoldersChanged = [this] { StoreWindowSettingsSoon(); };
    browser_->OnConverter = [this] {
        StyleConverterWindow* converter = StyleConverterWindow::Of(this, core_);
        converter->show();
        converter->raise();
        converter->Send(desktop::ConverterRequest::Open);
    };
    ConnectStyleLists(*browser_, core_);

    keyboardPanel_ = new QWidget;
    keyboardPanel_->setObjectName("KeyboardPanel");
    auto* keyboardLayout = new QHBoxLayout(keyboardPanel_);
    keyboardLayout->setContentsMargins(0, 0, 0, 0);
    splitPick_ = new QPushButton("Split\non key");
    splitPick_->setObjectName("SplitPickButton");
    splitPick_->setCheckable(true);
    splitPick_->setFocusPolicy(Qt::NoFocus);
    splitPick_->setToolTip("Click, then click the highest key of the chord zone (or right-click a key)");
    connect(splitPick_, &QPushButton::toggled, this, [this](bool on) { keys_->ArmSplitPicking(on); });
    keyboardLayout->addWidget(splitPick_);

    splitter_->addWidget(tabs_);
    splitter_->addWidget(keyboardPanel_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        showTabs_->setChecked(splitter_->sizes().at(0) > 0);
        showKeys_->setChecked(splitter_->sizes().at(1) > 0);
        StoreWindowSettingsSoon();
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { StoreWindowSettingsSoon(); });
    storeTimer_ = new QTimer(this);
    storeTimer_->setSingleShot(true);
    storeTimer_->setInterval(StoreDelayMillis);
    connect(storeTimer_, &QTimer::timeout, this, [this] { StoreWindowSettings(); });
    return splitter_;
}

void MainWindow::BuildViewMenu() {
    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("ViewMenu");
    // Tab is the window's own key (see MainWindowKeys.cpp): the menu names it, no shortcut
    // takes it from the fields that use it.
    stageAction_ = view->addAction("&Stage view\tTab");
    stageAction_->setObjectName("StageViewAction");
    stageAction_->setCheckable(true);
    stageAction_->setStatusTip("The whole window shows the chord, the beat and the part, large enough to read from a distance");
    connect(stageAction_, &QAction::triggered, this, [this](bool on) { SetStageView(on); });
    view->addSeparator();
    showTabs_ = view->addAction("Styles, &pads and mixer");
    showTabs_->setObjectName("ShowTabs");
    showTabs_->setCheckable(true);
    showTabs_->setChecked(true);
    showKeys_ = view->addAction("On-screen &keyboard");
    showKeys_->setObjectName("ShowKeyboard");
    showKeys_->setCheckable(true);
    showKeys_->setChecked(true);
    connect(showTabs_, &QAction::toggled, this,
            [this](bool on) { ShowPanels(tabs_->currentIndex(), on, showKeys_->isChecked()); });
    connect(showKeys_, &QAction::toggled, this,
            [this](bool on) { ShowPanels(tabs_->currentIndex(), showTabs_->isChecked(), on); });
    view->addSeparator();
    auto* themes = new QActionGroup(this);
    for (int theme = 0; theme < 2; ++theme) {
        QAction* item = view->addAction(theme == 0 ? "&Dark stage theme" : "&Light theme");
        item->setObjectName(theme == 0 ? "DarkTheme" : "LightTheme");
        item->setCheckable(true);
        item->setChecked(theme == theme_);
        themes->addAction(item);
        connect(item, &QAction::triggered, this, [this, theme] {
            SetTheme(theme);
            StoreWindowSettingsSoon();
        });
    }
}

void MainWindow::ShowPanels(int tab, bool tabsOpen, bool keysOpen) {
    if (tab >= 0 && tab < tabs_->count() && tabs_->widget(tab) != guide_) {
        // While the guide is open it stays in front; the page comes back when it closes.
        if (tabs_->currentWidget() == guide_) {
            pageBeforeGuide_ = tab;
        } else {
            tabs_->setCurrentIndex(tab);
        }
    }
    tabs_->setVisible(tabsOpen);
    keyboardPanel_->setVisible(keysOpen);
    for (QAction* action : {showTabs_, showKeys_}) action->blockSignals(true);
    showTabs_->setChecked(tabsOpen);
    showKeys_->setChecked(keysOpen);
    for (QAction* action : {showTabs_, showKeys_}) action->blockSignals(false);
    StoreWindowSettingsSoon();
}

void MainWindow::ShowGuide(const QString& text) {
    guideText_->setText(text);
    if (tabs_->indexOf(guide_) >= 0) return;
    pageBeforeGuide_ = PanelPage();
    tabs_->addTab(guide_, "Welcome");
    tabs_->setCurrentWidget(guide_);
}

void MainWindow::CloseGuide() {
    guideClosed_ = true;
    const int guide = tabs_->indexOf(guide_);
    if (guide < 0) return;
    const int before = pageBeforeGuide_;
    tabs_->removeTab(guide);
    guide_->hide();
    tabs_->setCurrentIndex(before);
}

int MainWindow::PanelPage() const {
    return tabs_->currentWidget() == guide_ ? pageBeforeGuide_ : tabs_->currentIndex();
}

QString MainWindow::PanelsText() const {
    return QStringLiteral("tab=%1;tabs=%2;keys=%3")
        .arg(PanelPage())
        .arg(tabs_->isVisibleTo(this) ? 1 : 0)
        .arg(keyboardPanel_->isVisibleTo(this) ? 1 : 0);
}

void MainWindow::ApplyPanelsText(const QString& text) {
    int tab = tabs_->currentIndex();
    bool tabsOpen = true;
    bool keysOpen = true;
    for (const QString& part : text.split(';', Qt::SkipEmptyParts)) {
        const QString key = part.section('=', 0, 0).trimmed();
        bool number = false;
        const int value = part.section('=', 1).trimmed().toInt(&number);
        if (!number) continue;  // a damaged entry keeps the default
        if (key == "tab") tab = value;
        if (key == "tabs") tabsOpen = value != 0;
        if (key == "keys") keysOpen = value != 0;
    }
    ShowPanels(tab, tabsOpen, keysOpen);
}

void MainWindow::SetTheme(int theme) {
    theme_ = theme == 1 ? 1 : 0;
    ApplyTheme(*qApp, theme_ == 1 ? ThemeKind::Light : ThemeKind::Dark);
    for (QAction* item : findChildren<QAction*>())
        if (item->objectName() == (theme_ == 1 ? "LightTheme" : "DarkTheme")) item->setChecked(true);
}

void MainWindow::FitToScreen(int width, int height) {
    const QScreen* shown = screen() != nullptr ? screen() : QApplication::primaryScreen();
    const QRect available = shown != nullptr ? shown->availableGeometry() : QRect(0, 0, PreferredWidth, PreferredHeight);
    if (width <= 0 || height <= 0) {
        width = PreferredWidth;
        height = PreferredHeight;
    }
    // The frame the window manager adds is not part of the size: leave room for it. Before
    // the first showing the frame is not known yet; a title bar is assumed.
    const int frameHeight = std::max(frameGeometry().height() - geometry().height(), TitleBarGuess + BorderGuess);
    const int frameWidth = std::max(frameGeometry().width() - geometry().width(), 2 * BorderGuess);
    width = std::clamp(width, std::min(SmallestWidth, available.width()), available.width() - frameWidth);
    height = std::clamp(height, std::min(SmallestHeight, available.height()), available.height() - frameHeight);
    resize(width, height);
    // A window that would reach past the screen's edge starts at its top left corner.
    if (!available.contains(QRect(pos(), QSize(width + frameWidth, height + frameHeight)))) move(available.topLeft());
}

void MainWindow::LoadWindowSettings() {
    SetTheme(0);
    QPointer<MainWindow> self(this);
    core_.ReadOptions([self](const core::Options& options) {
        if (!self) return;
        self->SetTheme(options.Theme);
        self->ApplyPanelsText(QString::fromStdString(options.WindowPanels));
        if (options.WindowWidth > 0 && options.WindowHeight > 0)
            self->FitToScreen(options.WindowWidth, options.WindowHeight);
        self->browser_->SetFolders(self->core_.StylesFolder(), SplitFolders(options.StyleFolders));
        self->settingsLoaded_ = true;
    });
}

void MainWindow::StoreWindowSettingsSoon() {
    if (settingsLoaded_) storeTimer_->start();
}

void MainWindow::StoreWindowSettings() {
    WindowSettings settings;
    if (!isMaximized() && !isFullScreen()) {
        settings.Width = width();
        settings.Height = height();
    }
    settings.Panels = PanelsText().toStdString();
    settings.Theme = theme_;
    settings.StyleFolders = JoinFolders(browser_->AddedFolders());
    core_.StoreWindowSettings(settings);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    // The performance display takes its share of the height; its text grows with it.
    display_->setFixedHeight(PerformanceDisplay::HeightFor(event->size().height()));
    QMainWindow::resizeEvent(event);
    StoreWindowSettingsSoon();
}

}  // namespace chordella::ui
