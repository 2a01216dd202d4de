// The panels below the main controls (chord pads with the section buttons, the mixer, the
// on-screen keyboard) and the windows the menus open (options, chord view, tap tempo).
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include "chords/ScreenKeyboard.h"
#include "ui/ChordPadsPanel.h"
#include "ui/ChordViewWindow.h"
#include "ui/EditorWindow.h"
#include "ui/MainWindow.h"
#include "ui/MixerPanel.h"
#include "ui/OptionsWindow.h"
#include "ui/PlayWindow.h"
#include "ui/SongCreatorWindow.h"
#include "ui/SonglistWindow.h"
#include "ui/StylePlaylistWindow.h"
#include "ui/TKeys.h"
#include "ui/TapTempoWindow.h"

namespace chordella::ui {

namespace {

constexpr int KeyboardHeight = 84;
constexpr int KeyboardOctaves = 5;

}  // namespace

void MainWindow::BuildPanels() {
    auto* pads = new ChordPadsPanel(core_);
    pads->setObjectName("ChordPads");
    auto* mixer = new MixerPanel(core_);
    mixer->setObjectName("Mixer");
    tabs_->insertTab(0, pads, "Chord pads");
    tabs_->addTab(mixer, "Mixer");
    tabs_->setCurrentIndex(0);
    refreshers_.push_back([this, pads, mixer](const app::DisplaySnapshot& snapshot) {
        // Hidden pages are brought up to date when they are shown (the tab change repaints).
        if (tabs_->currentWidget() == pads) pads->Refresh(snapshot);
        if (tabs_->currentWidget() == mixer) mixer->Refresh(snapshot);
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this, pads, mixer] {
        const app::DisplaySnapshot snapshot = core_.Snapshot();
        pads->Refresh(snapshot);
        mixer->Refresh(snapshot);
    });

    keys_ = new TKeys;
    keys_->setObjectName("TKeys");
    keys_->SetHeight(KeyboardHeight);
    keys_->SetFitOctaves(KeyboardOctaves);
    keys_->SetNoteNames(true);
    keys_->setMinimumHeight(KeyboardHeight - 36);
    keys_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    keys_->SetVelocityMode(true);
    keys_->setToolTip("Right-click a key to make it the highest key of the chord zone");
    keys_->OnNoteOn = [this](int note, int velocity) { core_.ScreenNoteOn(note, velocity); };
    keys_->OnNoteOff = [this](int note, int velocity) { core_.ScreenNoteOff(note, velocity); };
    keys_->OnSplitPicked = [this](int note) {
        splitPick_->setChecked(false);
        core_.SetSplitKey(note);
    };
    keyboardPanel_->layout()->addWidget(keys_);
    refreshers_.push_back([this](const app::DisplaySnapshot& snapshot) {
        const int octave = chords::BaseOctaveFor(snapshot.FirstChordKey);
        if (keys_->BaseOctave() != octave) keys_->SetBaseOctave(octave);
    });

    options_ = new OptionsWindow(core_, this);
    options_->setObjectName("OptionsWindow");
    SetOptionsOpener([this] { options_->open(); });

    chordView_ = new ChordViewWindow(nullptr);
    chordView_->setObjectName("ChordView");
    tapTempo_ = new TapTempoWindow(core_, nullptr);
    tapTempo_->setObjectName("TapTempo");
    SetTapTempoOpener([this] {
        tapTempo_->show();
        tapTempo_->raise();
    });
    songlist_ = new SonglistWindow(core_, nullptr);
    QMenu* songs = menuBar()->addMenu("Song&list");
    songs->setObjectName("SonglistMenu");
    songs->addAction("Songlist ...", this, [this] {
        songlist_->show();
        songlist_->raise();
    });
    songs->addAction("Next song", this, [this] { core_.Songlist({desktop::SonglistAction::Next}); });
    songs->addAction("Previous song", this, [this] { core_.Songlist({desktop::SonglistAction::Previous}); });
    songs->addAction("Session mode ...", this, [this] { core_.Songlist({desktop::SonglistAction::SessionMode}); });
    // The song the songlist plays next, named where the player looks during a song.
    nextSong_ = new QLabel;
    nextSong_->setObjectName("NextSongDisplay");
    AddPanel(nextSong_, [this](const app::DisplaySnapshot& snapshot) {
        const QString next = snapshot.NextSong.c_str()[0] == '\0' ? QString()
                                                                   : "Next song: " + QString::fromUtf8(snapshot.NextSong.c_str());
        if (nextSong_->text() != next) nextSong_->setText(next);
        nextSong_->setVisible(!next.isEmpty());
    });

    stylePlaylist_ = new StylePlaylistWindow(core_, nullptr);
    if (QMenu* style = menuBar()->findChild<QMenu*>("StyleMenu")) {
        style->addAction("Style-Playlist ...", this, [this] {
            stylePlaylist_->show();
            stylePlaylist_->raise();
        })->setObjectName("OpenStylePlaylist");
    }

    songCreator_ = new SongCreatorWindow(core_, nullptr);
    songCreator_->setObjectName("SongCreator");
    // A generated song plays at once; the chord view shows it.
    songCreator_->SetOnGenerated([this](const app::SongCreatorResult& result) {
        chordView_->ShowSongInfo(QString::fromStdString(result.Progressions), QString::fromStdString(result.Bars));
        chordView_->show();
        chordView_->raise();
    });
    chordView_->SetOnGenerate([this](bool mixed) { songCreator_->GenerateFromChordView(mixed); });
    chordView_->SetOnNewStyle([this] { songCreator_->RandomStyle(); });
    QMenu* options = menuBar()->findChild<QMenu*>("OptionsMenu");
    if (options != nullptr) {
        options->addAction("Chord view", this, [this] {
            chordView_->show();
            chordView_->raise();
        });
        options->addAction("Chordprogression / Song Creator", this, [this] {
            songCreator_->show();
            songCreator_->raise();
        });
    }
    editor_ = new EditorWindow(core_, nullptr);
    if (QMenu* song = menuBar()->findChild<QMenu*>("SongMenu")) {
        // With the song's other items, above the separator that sets "Exit" apart.
        auto* open = new QAction("Chord Memory &Editor", song);
        open->setObjectName("OpenEditor");
        connect(open, &QAction::triggered, this, [this] {
            editor_->show();
            editor_->raise();
        });
        const QList<QAction*> items = song->actions();
        const qsizetype exit = items.indexOf(song->findChild<QAction*>("ExitAction"));
        song->insertAction(exit > 0 ? items[exit - 1] : nullptr, open);
    }
    songCreator_->Play().SetOnPanel([this] { editor_->setVisible(!editor_->isVisible()); });
    refreshers_.push_back([this](const app::DisplaySnapshot& snapshot) {
        if (chordView_->isVisible()) chordView_->Refresh(snapshot);
        if (tapTempo_->isVisible()) tapTempo_->Refresh(snapshot);
        songlist_->Refresh(snapshot);
    });
}

void MainWindow::CloseToolWindows() {
    delete chordView_;
    chordView_ = nullptr;
    delete tapTempo_;
    tapTempo_ = nullptr;
    delete songlist_;
    songlist_ = nullptr;
    delete stylePlaylist_;
    stylePlaylist_ = nullptr;
    delete songCreator_;
    songCreator_ = nullptr;
    delete editor_;
    editor_ = nullptr;
}

}  // namespace chordella::ui
