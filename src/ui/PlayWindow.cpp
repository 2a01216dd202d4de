#include "ui/PlayWindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/SongCreatorWindow.h"

namespace chordella::ui {

PlayWindow::PlayWindow(CoreLink& link, SongCreatorWindow& creator, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), link_(link) {
    setObjectName("PlayWindow");
    setWindowTitle("PLAY ...");
    auto* layout = new QVBoxLayout(this);
    panel_ = new QPushButton("PLAY ...");
    panel_->setObjectName("PlayPanel");
    panel_->setFlat(true);
    panel_->setToolTip("Open or close the Chord Memory Editor");
    connect(panel_, &QPushButton::clicked, this, [this] {
        if (onPanel_) onPanel_();
    });
    layout->addWidget(panel_);
    style_ = new QLabel;
    style_->setObjectName("PlayStyle");
    layout->addWidget(style_);

    auto* newSong = new QPushButton("Create a new song !");
    newSong->setObjectName("CreateNewSong");
    newSong->setToolTip("... based on common chord progressions - short key: F11");
    connect(newSong, &QPushButton::clicked, this, [&creator] { creator.GenerateFromChordView(true); });
    layout->addWidget(newSong);
    auto* another = new QPushButton("Use another style !");
    another->setObjectName("AnotherStyle");
    another->setToolTip("... of selected directory or playlist");
    connect(another, &QPushButton::clicked, this, [this] {
        SongCreatorRequest request;
        request.What = SongCreatorRequest::AnotherStyle;
        link_.SongCreatorCommand(request, [this](const app::SongCreatorResult& result) {
            if (!result.StyleName.empty()) style_->setText(QString::fromStdString("Style: " + result.StyleName));
        });
    });
    layout->addWidget(another);

    popup_ = new QMenu(this);
    popup_->setObjectName("PlayPopup");
    auto source = [this](desktop::StyleSourceRequest request) {
        link_.StyleSource(request, [this](const desktop::StyleSourceView& view) { ShowSource(view); });
    };
    fromPlaylist_ = popup_->addAction("Use styles from the styles playlist", this,
                                      [source] { source(desktop::StyleSourceRequest::FromPlaylist); });
    fromManager_ = popup_->addAction("Use styles from styles manager", this,
                                     [source] { source(desktop::StyleSourceRequest::FromManager); });
    randomOrder_ = popup_->addAction("Use random order");
    connect(randomOrder_, &QAction::triggered, this, [source](bool on) {
        source(on ? desktop::StyleSourceRequest::RandomOrder : desktop::StyleSourceRequest::InOrder);
    });
    for (QAction* action : {fromPlaylist_, fromManager_, randomOrder_}) action->setCheckable(true);
    randomOrder_->setChecked(true);
    connect(popup_, &QMenu::aboutToShow, this, [source] { source(desktop::StyleSourceRequest::Read); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, popup_,
            [this](const QPoint& at) { popup_->popup(mapToGlobal(at)); });
}

void PlayWindow::ShowPlaying(const QString& label) { panel_->setText(label.isEmpty() ? "PLAY ..." : label); }

QString PlayWindow::StyleText() const { return style_->text(); }

void PlayWindow::ShowSource(const desktop::StyleSourceView& view) {
    fromPlaylist_->setChecked(view.FromPlaylist);
    fromManager_->setChecked(view.FromManager);
    randomOrder_->setChecked(view.RandomOrder);
}

}  // namespace chordella::ui
