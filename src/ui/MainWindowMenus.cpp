// The main window's menus and the file dialogs they open.
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>

#include "ui/InstrumentsWindow.h"
#include "ui/MainWindow.h"
#include "ui/MidiCommandsWindow.h"
#include "ui/MidiControlsWindow.h"
#include "ui/StyleConverterWindow.h"
#include "ui/StyleCreatorWindow.h"
#include "ui/StyleManagerWindow.h"

namespace chordella::ui {

namespace {

constexpr const char* SongFilter = "Songs (*.vxa *.mid);;Arrangements (*.vxa);;MIDI files (*.mid)";
constexpr const char* ArrangementFilter = "Arrangements (*.vxa)";
constexpr const char* StyleFilter = "Styles (*.vxs *.sty *.prs *.bcs *.sst *.pcs *.pst *.fps *.scp)";

constexpr std::array<const char*, 8> PlayParts{"Intro",         "Basic",            "Extended",    "Ending",
                                               "Fill in Basic", "Fill in Extended", "To Extended", "To Basic"};

// The main window's item for the style creator's mode names the other mode.
QString CreatorModeCaption(stylecreator::CreatorMode mode) {
    return mode == stylecreator::CreatorMode::Song ? "Style-&Mode" : "Song-&Mode";
}

constexpr std::array<const char*, 7> MelodyGrids{"1/32 swing", "1/32", "1/16 swing", "1/16",
                                                "1/8 swing",  "1/8",  "None"};

// The channel rules and volume tools of the Style menu. The checked items are options the
// core keeps (they also act on every load); the menu reads their state when it opens.
void AddStyleRulesItems(QMenu* style, CoreLink& core) {
    using Request = app::StyleRulesRequest;
    struct Checked {
        const char* Caption;
        const char* Hint;
        Request::Kind What;
        bool app::StyleRulesView::*State;
    };
    static constexpr std::array<Checked, 8> CheckedItems{{
        {"Bass on channel 11", "  Move bass track to channel 11; useful when mixing", Request::BassOnChannel11,
         &app::StyleRulesView::BassOnChannel11},
        {"Mute BASS", "", Request::MuteBass, &app::StyleRulesView::MuteBass},
        {"Mute GUITARS", "", Request::MuteGuitars, &app::StyleRulesView::MuteGuitars},
        {"Dampen GUITARS && STRINGS", "", Request::Dampen, &app::StyleRulesView::Dampen},
        {"Solo on channel 1", " Use channel 1 for soloing", Request::SoloOnChannel1, &app::StyleRulesView::SoloOnChannel1},
        {"Normalize Volume", " Normalizes the volumes of every style loaded", Request::NormalizeOnLoad,
         &app::StyleRulesView::NormalizeOnLoad},
        {"Reverb off", "", Request::ReverbOff, &app::StyleRulesView::ReverbOff},
        {"Reverb defined", "", Request::ReverbDefined, &app::StyleRulesView::ReverbDefined},
    }};
    // Two headed groups tell the ticked rules, kept for every style loaded, from the tools
    // that change the loaded style once ("Normalize Volume" beside "Normalize volume").
    style->addSection("Rules for every style loaded");
    auto actions = std::make_shared<std::array<QAction*, CheckedItems.size()>>();
    auto setActions = std::make_shared<std::array<QAction*, stylecreator::RandomPartsItem + 1>>();
    auto show = [actions, setActions](const app::StyleRulesView& view) {
        for (std::size_t i = 0; i < CheckedItems.size(); ++i) (*actions)[i]->setChecked(view.*CheckedItems[i].State);
        if (view.VariationsSet >= 0 && view.VariationsSet < static_cast<int>(setActions->size()))
            (*setActions)[static_cast<std::size_t>(view.VariationsSet)]->setChecked(true);
    };
    for (std::size_t i = 0; i < CheckedItems.size(); ++i) {
        const Checked& item = CheckedItems[i];
        QAction* action = style->addAction(item.Caption);
        action->setCheckable(true);
        if (*item.Hint) action->setStatusTip(item.Hint);
        QObject::connect(action, &QAction::triggered, style, [&core, show, what = item.What](bool on) {
            core.StyleRulesCommand({what, on, 0}, show);
        });
        (*actions)[i] = action;
    }
    // Another maker's style (Style → Open, the browser, the style manager) plays with this set;
    // it is the converter window's set list too.
    QMenu* sets = style->addMenu("Variations set of &keyboard styles");
    sets->setObjectName("VariationsSetMenu");
    auto* setGroup = new QActionGroup(sets);
    for (int item = 0; item <= stylecreator::RandomPartsItem; ++item) {
        QAction* action = sets->addAction(QString::fromStdString(stylecreator::SetItemText(item)));
        action->setCheckable(true);
        action->setActionGroup(setGroup);
        (*setActions)[static_cast<std::size_t>(item)] = action;
        QObject::connect(action, &QAction::triggered, style, [&core, show, item] {
            core.StyleRulesCommand({Request::VariationsSet, false, item}, show);
        });
    }
    style->addSection("The loaded style, now");
    style->addAction("Normalize volume", style, [&core, show] { core.StyleRulesCommand({Request::NormalizeNow}, show); })
        ->setStatusTip(" Normalizes the loaded style's volumes now");
    style->addAction("Restore volume", style, [&core, show] { core.StyleRulesCommand({Request::RestoreVolume}, show); })
        ->setStatusTip(" Sets original volume values");
    QObject::connect(style, &QMenu::aboutToShow, style, [&core, show] { core.StyleRulesCommand({Request::Refresh}, show); });
}

}  // namespace

void MainWindow::RefreshMenus(const app::DisplaySnapshot& snapshot) {
    melodyRecord_->setChecked(snapshot.MelodyRecording);
    melodyPlay_->setChecked(snapshot.MelodyPlayback);
    melodyHumanize_->setChecked(snapshot.MelodyHumanize);
}

void MainWindow::BuildMenus() {
    QMenu* song = menuBar()->addMenu("&Song");
    song->setObjectName("SongMenu");
    song->addAction("&Open ...", this, [this] { OpenSongDialog(); });
    // The function keys are the window's own (MainWindowKeys.cpp) and the captions name
    // them; a shortcut on these items would name each key a second time.
    song->addAction("Sa&ve - F12", this, [this] { core_.SaveSong({}); });
    song->addAction("&Save as ...", this, [this] { SaveSongAsDialog(); });
    song->addAction("Render to &WAV\u2026", this, [this] { RenderToWavDialog(); });
    song->addSeparator();
    song->addAction("Play - F10", this, [this] { core_.StartStop(); });
    song->addAction("Stop - F10", this, [this] { core_.Stop(); });
    song->addAction("&Record - F9", this, [this] { core_.Record(); });
    song->addAction("S&tep Record", this, [this] { core_.StepRecord(); });
    song->addAction("Tap Tempo - F8", this, [this] { FunctionKey(Qt::Key_F8, false); });
    song->addAction("Sy&nc. Start", this, [this] { core_.ToggleSyncStart(); });
    song->addAction("Fade - F11", this, [this] { core_.FadeOut(); });
    song->addSeparator();
    song->addAction("E&xit", this, [this] { Exit(); })->setObjectName("ExitAction");

    QMenu* style = menuBar()->addMenu("S&tyle");
    style->setObjectName("StyleMenu");
    style->addAction("&Open ...", this, [this] { OpenStyleDialog(); });
    style->addAction("Style-Mana&ger ...", this, [this] {
        auto* manager = findChild<StyleManagerWindow*>("StyleManagerWindow");
        if (manager == nullptr) manager = new StyleManagerWindow(core_, this);
        manager->show();
        manager->raise();
    });
    auto openCreator = [this] {
        auto* creator = findChild<StyleCreatorWindow*>("StyleCreatorWindow");
        if (!creator) creator = new StyleCreatorWindow(core_, this);  // owned by the main window
        creator->show();
        creator->raise();
        creator->Refresh();
        return creator;
    };
    style->addAction("Style-&Creator ...", this, openCreator);
    style->addAction("Style-E&vents ...", this, [openCreator] { openCreator()->Send(desktop::CreatorRequest::EventsOpen); })
        ->setStatusTip(" Change notes and style-part settings");
    // The creator's mode: the item names the mode it switches to.
    QAction* creatorMode = style->addAction(CreatorModeCaption(stylecreator::CreatorMode::Song));
    creatorMode->setObjectName("CreatorModeAction");
    auto showMode = [creatorMode](const desktop::CreatorView& view) { creatorMode->setText(CreatorModeCaption(view.Mode)); };
    connect(creatorMode, &QAction::triggered, this, [this, showMode] {
        desktop::CreatorRequest toggle;
        toggle.What = desktop::CreatorRequest::ToggleMode;
        core_.StyleCreatorCommand(toggle, [this, showMode](const desktop::CreatorView& view) {
            showMode(view);
            if (auto* creator = findChild<StyleCreatorWindow*>("StyleCreatorWindow")) creator->Refresh();
        });
    });
    connect(style, &QMenu::aboutToShow, this, [this, showMode] {
        core_.StyleCreatorCommand(desktop::CreatorRequest{}, showMode);
    });
    auto openConverter = [this] {
        StyleConverterWindow* converter = StyleConverterWindow::Of(this, core_);
        converter->show();
        converter->raise();
        return converter;
    };
    style->addAction("     Import and convert stylefile (*.sty, *.prs, *.bcs etc.)", this, [this] {
        // The window shows itself when "Show this window when loading a style" is on.
        StyleConverterWindow::Of(this, core_)->ChooseAndImport(QString::fromStdString(core_.StylesFolder()));
    });
    style->addAction("     -> Open styleconverter for *.sty, *.prs, *.bcs etc. stylefiles", this, [openConverter] {
        openConverter()->Send(desktop::ConverterRequest::Open);
    })->setStatusTip("Open Styleconverter");
    AddStyleRulesItems(style, core_);

    QMenu* melody = menuBar()->addMenu("&Melody");
    melody->setObjectName("MelodyMenu");
    auto melodyItem = [this, melody](const char* caption, bool checkable) {
        QAction* action = melody->addAction(caption, this, [this, caption] { core_.MelodyMenu(caption); });
        action->setCheckable(checkable);
        return action;
    };
    melodyRecord_ = melodyItem("&Record", true);
    melodyPlay_ = melodyItem("&Play", true);
    melodyItem("&Delete", false);
    melodyItem("R&estore", false);
    QMenu* quantize = melody->addMenu("&Quantize");
    for (const char* grid : MelodyGrids)
        quantize->addAction(grid, this, [this, grid] { core_.MelodyMenu(grid); });
    melodyHumanize_ = melodyItem("Humanize", true);

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("OptionsMenu");
    optionsAction_ = options->addAction("Options ...", this, [this] {
        if (openOptions_) openOptions_();
    });
    optionsAction_->setEnabled(false);
    // The remote control's two windows, made on first use and owned by the main window.
    options->addAction("MIDI Commands ...", this, [this] {
        auto* commands = findChild<MidiCommandsWindow*>("MidiCommandsWindow");
        if (!commands) commands = new MidiCommandsWindow(core_, this);
        commands->show();
        commands->raise();
    });
    options->addAction("Instruments ...", this, [this] {
        auto* instruments = findChild<InstrumentsWindow*>("InstrumentsWindow");
        if (!instruments) instruments = new InstrumentsWindow(core_, this);
        instruments->show();
        instruments->raise();
    });
    options->addAction("MIDI Controls ...", this, [this] {
        auto* controls = findChild<MidiControlsWindow*>("MidiControlsWindow");
        if (!controls) controls = new MidiControlsWindow(core_, this);
        controls->show();
        controls->raise();
    });

    QMenu* parts = menuBar()->addMenu("Play Parts");
    parts->setObjectName("PlayPartsMenu");
    for (std::size_t part = 0; part < PlayParts.size(); ++part)
        parts->addAction(PlayParts[part], this, [this, part] { core_.PlayPart(static_cast<int>(part)); });
}

void MainWindow::SetOptionsOpener(std::function<void()> open) {
    openOptions_ = std::move(open);
    optionsAction_->setEnabled(static_cast<bool>(openOptions_));
}

void MainWindow::SetTapTempoOpener(std::function<void()> open) { openTapTempo_ = std::move(open); }

void MainWindow::OpenSongDialog() {
    // The songs folder of the data home, where the player's songs are.
    const QString path =
        QFileDialog::getOpenFileName(this, "Open arrangement ...", QString::fromStdString(core_.SongsFolder()), SongFilter);
    if (!path.isEmpty()) core_.OpenSong(path.toStdString());
}

void MainWindow::SaveSongAsDialog() {
    QString path =
        QFileDialog::getSaveFileName(this, "Save arrangement as ...", QString::fromStdString(core_.SongsFolder()), ArrangementFilter);
    if (path.isEmpty()) return;
    if (!path.endsWith(".vxa", Qt::CaseInsensitive)) path += ".vxa";
    core_.SaveSong(path.toStdString());
}

void MainWindow::RenderToWavDialog() {
    QString path = QFileDialog::getSaveFileName(this, "Render to WAV", QString(), "WAV files (*.wav)");
    if (path.isEmpty()) return;
    if (!path.endsWith(".wav", Qt::CaseInsensitive)) path += ".wav";
    core_.RenderToWav(path.toStdString());
}

void MainWindow::OpenStyleDialog() {
    // The styles folder of the data home, where the player's styles are.
    const QString path =
        QFileDialog::getOpenFileName(this, "Open style ...", QString::fromStdString(core_.StylesFolder()), StyleFilter);
    if (path.isEmpty()) return;
    // A style file of another maker plays by its channel table with the variations set chosen
    // in the Style menu, as from the style browser (and is converted when its table cannot
    // drive it); the converter's own items import it into the converter.
    core_.OpenStyle(path.toStdString());
}

void MainWindow::Exit() {
    if (onExit_) onExit_();
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (exitConfirmed_) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (exitAsking_) return;
    exitAsking_ = true;
    core_.ConfirmExit([window = QPointer<MainWindow>(this)](bool proceed) {
        if (!window) return;
        window->exitAsking_ = false;
        if (!proceed) return;
        window->exitConfirmed_ = true;
        // Closed from the event loop: the answer may arrive inside this close event.
        QTimer::singleShot(0, window.data(), [w = window.data()] { w->close(); });
    });
}

}  // namespace chordella::ui
