#include "ui/SonglistWindow.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace chordella::ui {

namespace {

using A = desktop::SonglistAction;

QString RowText(const desktop::SonglistView& view, std::size_t row) {
    const desktop::SonglistRow& r = view.Rows[row];
    QString text;
    if (static_cast<int>(row) == view.Current) text += QString::fromUtf8("\u25B6 ");
    text += QString::fromStdString(r.Title) + "   -   " + QString::fromStdString(r.Path);
    if (!r.Settings.empty()) text += "   [" + QString::fromStdString(r.Settings) + "]";
    return text;
}

}  // namespace

SonglistWindow::SonglistWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("SonglistWindow");
    setWindowTitle("Songlist");
    auto* layout = new QVBoxLayout(this);

    list_ = new QListWidget;
    list_->setObjectName("SongEntries");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Send(A::Enqueue, list_->row(item)); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Send(A::PlayNow, list_->row(item)); });
    connect(list_->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int start, int, const QModelIndex&, int row) {
                Moved(start, row > start ? row - 1 : row);
            });
    layout->addWidget(list_, 1);

    count_ = new QLabel;
    count_->setObjectName("SongCount");
    queue_ = new QLabel;
    queue_->setObjectName("PlayQueue");
    queue_->setWordWrap(true);
    next_ = new QLabel;
    next_->setObjectName("NextSong");
    auto* info = new QHBoxLayout;
    info->addWidget(count_);
    info->addWidget(next_, 1);
    layout->addLayout(info);
    layout->addWidget(queue_);

    title_ = new QLineEdit;
    title_->setObjectName("TitleField");
    title_->setMaxLength(50);
    connect(title_, &QLineEdit::textEdited, this, [this](const QString& text) {
        desktop::SonglistRequest request{A::SetTitle};
        request.Text = text.toStdString();
        link_.Songlist(request);
    });
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel("Title"));
    titleRow->addWidget(title_, 1);
    layout->addLayout(titleRow);

    auto* buttons = new QGridLayout;
    auto button = [this, buttons](const char* caption, const char* name, int row, int column,
                                  std::function<void()> action) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);  // keys stay with the list (foot switch)
        connect(b, &QPushButton::clicked, this, std::move(action));
        buttons->addWidget(b, row, column);
        return b;
    };
    button("Load", "LoadButton", 0, 0, [this] { Send(A::Load); });
    button("Save", "SaveButton", 0, 1, [this] { Send(A::Save); });
    button("New / Clear", "NewClearButton", 0, 2, [this] { Send(A::NewClear); });
    button("Add File && Configuration to Songlist", "AddButton", 1, 0, [this] { Send(A::AddCurrent, Selected()); });
    button("Edit", "EditButton", 1, 1, [this] { Send(A::Edit, Selected()); });
    button("Delete", "DeleteButton", 1, 2, [this] { Send(A::Delete, Selected()); });
    button("Add selected titles to playlist", "QueueSelectedButton", 2, 0, [this] {
        desktop::SonglistRequest request{A::QueueSelection};
        for (const QListWidgetItem* item : list_->selectedItems()) request.Selection.push_back(list_->row(item));
        link_.Songlist(request);
    });
    play_ = button("Play 0", "PlayButton", 2, 1, [this] { Send(A::Play, Selected()); });
    button("Import files", "ImportButton", 2, 2, [this] { Send(A::ImportFiles); });
    button("<< Previous", "PreviousButton", 3, 0, [this] { Send(A::Previous); });
    button("Next >>", "NextButton", 3, 1, [this] { Send(A::Next); });
    button("Stop", "StopSetButton", 3, 2, [this] { Send(A::StopSet); });
    session_ = button("Session mode ...", "SessionButton", 4, 0, [this] { Send(A::SessionMode); });
    layout->addLayout(buttons);

    auto* boxes = new QHBoxLayout;
    auto box = [this, boxes](const char* caption, const char* name, A action) {
        auto* b = new QCheckBox(caption);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QCheckBox::toggled, this, [this, action](bool on) {
            if (showing_) return;
            desktop::SonglistRequest request{action};
            request.On = on;
            link_.Songlist(request);
        });
        boxes->addWidget(b);
        return b;
    };
    shuffle_ = box("Shuffle playback", "ShuffleBox", A::SetShuffle);
    instruments_ = box("Loading instruments with songs", "InstrumentsBox", A::SetLoadInstruments);
    autoStart_ = box("AutoStart", "AutoStartBox", A::SetAutoStart);
    repeat_ = box("Repeat", "RepeatBox", A::SetRepeat);
    useMci_ = box("Use MCI", "UseMciBox", A::SetUseMci);
    useMci_->setToolTip("MIDI files of the list play as they are on the media player's output (the main output "
                        "unless another is set) instead of being imported");
    layout->addLayout(boxes);

    // The single keys of the stage.
    auto shortcut = [this](int key, std::function<void()> action) {
        auto* s = new QShortcut(QKeySequence(key), this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, std::move(action));
    };
    shortcut(Qt::Key_Space, [this] { link_.StartStop(); });
    for (int key : {Qt::Key_Right, Qt::Key_PageDown}) shortcut(key, [this] { Send(A::Next); });
    for (int key : {Qt::Key_Left, Qt::Key_PageUp}) shortcut(key, [this] { Send(A::Previous); });
    for (int key : {Qt::Key_Return, Qt::Key_Enter})
        shortcut(key, [this] {
            if (Selected() >= 0) Send(A::PlayNow, Selected());
        });
    resize(720, 520);
}

void SonglistWindow::Send(A action, int index) {
    desktop::SonglistRequest request{action};
    request.Index = index;
    link_.Songlist(request);
}

int SonglistWindow::Selected() const {
    return list_->currentItem() != nullptr && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
}

void SonglistWindow::Moved(int from, int to) {
    if (showing_ || from == to) return;
    desktop::SonglistRequest request{A::Move};
    request.Index = from;
    request.To = to;
    link_.Songlist(request);
}

void SonglistWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    if (snapshot.SonglistSerial == shownSerial_) return;
    shownSerial_ = snapshot.SonglistSerial;
    QPointer<SonglistWindow> self(this);
    link_.ReadSonglist([self](const desktop::SonglistView& view) {
        if (self) self->Show(view);
    });
}

void SonglistWindow::Show(const desktop::SonglistView& view) {
    showing_ = true;
    setWindowTitle(QString::fromStdString(view.Caption));
    const int row = list_->currentRow();
    list_->clear();
    for (std::size_t i = 0; i < view.Rows.size(); ++i) list_->addItem(RowText(view, i));
    if (row >= 0 && row < list_->count()) list_->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    count_->setText(QString::number(view.Rows.size()) + " songs");
    QStringList queued;
    for (const int entry : view.Queue)
        if (entry >= 0 && static_cast<std::size_t>(entry) < view.Rows.size())
            queued << QString::fromStdString(view.Rows[static_cast<std::size_t>(entry)].Title);
    queue_->setText(queued.isEmpty() ? QString("Queue: empty") : "Queue: " + queued.join(", "));
    next_->setText(view.NextTitle.empty() ? QString() : "Next: " + QString::fromStdString(view.NextTitle));
    play_->setText(QString::fromStdString(view.PlayCaption));
    session_->setText(view.SessionRepeats > 0 ? "Session mode: " + QString::number(view.SessionRepeats) + " x"
                                              : QString("Session mode ..."));
    if (!title_->hasFocus()) title_->setText(QString::fromStdString(view.TitleField));
    shuffle_->setChecked(view.Shuffle);
    instruments_->setChecked(view.LoadInstruments);
    autoStart_->setChecked(view.AutoStart);
    repeat_->setChecked(view.Repeat);
    useMci_->setChecked(view.UseMci);
    showing_ = false;
}

}  // namespace chordella::ui
