#include "ui/StyleManagerWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <functional>

#include "library/StyleFileBrowser.h"
#include "library/StyleGroups.h"

namespace chordella::ui {

namespace {

using A = desktop::StyleManagerAction;

// The entry list: an entry dragged inside it moves; a file dragged from the file list is
// dropped onto it. Qt moves nothing itself: the core's copy comes back with the change.
class EntryListWidget final : public QListWidget {
public:
    EntryListWidget(QListWidget* files, std::function<void(int, int)> moved, std::function<void(int, int)> dropped)
        : files_(files), moved_(std::move(moved)), dropped_(std::move(dropped)) {
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->source() == this || event->source() == files_) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        }
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (event->source() == this || event->source() == files_) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        }
    }
    void dropEvent(QDropEvent* event) override {
        const QModelIndex at = indexAt(event->position().toPoint());
        const int row = at.isValid() ? at.row() : count() - 1;
        if (event->source() == this) {
            if (currentRow() >= 0 && row >= 0) moved_(currentRow(), row);
        } else if (event->source() == files_ && files_->currentRow() >= 0) {
            dropped_(files_->currentRow(), at.isValid() ? at.row() : -1);
        }
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
    }

private:
    QListWidget* files_;
    std::function<void(int, int)> moved_;
    std::function<void(int, int)> dropped_;
};

}  // namespace

StyleManagerWindow::StyleManagerWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("StyleManagerWindow");
    setWindowTitle("Style-Manager");
    auto* layout = new QGridLayout(this);

    // --- The group tree and its entries ---------------------------------------------------
    groups_ = new QTreeWidget;
    groups_->setObjectName("GroupTree");
    groups_->setHeaderHidden(true);
    QTreeWidgetItem* genre = nullptr;
    int number = 1;
    for (const library::StyleGroupNode& node : library::StyleGroupTree()) {
        auto* item = new QTreeWidgetItem(QStringList{QString::fromUtf8(node.Name.data(), static_cast<int>(node.Name.size()))});
        item->setData(0, Qt::UserRole, number++);
        if (node.Depth == 0 || genre == nullptr) {
            groups_->addTopLevelItem(item);
            genre = item;
        } else {
            genre->addChild(item);
        }
    }
    connect(groups_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
        if (showing_ || item == nullptr) return;
        Send(A::ShowGroup, item->data(0, Qt::UserRole).toInt());
    });
    layout->addWidget(groups_, 0, 0, 3, 1);

    files_ = new QListWidget;
    files_->setObjectName("FileList");
    files_->setDragEnabled(true);
    files_->setDragDropMode(QAbstractItemView::DragOnly);

    entries_ = new EntryListWidget(
        files_,
        [this](int from, int to) {
            desktop::StyleManagerRequest request{A::MoveEntry};
            request.Index = from;
            request.To = to;
            Send(request);
        },
        [this](int file, int row) { DropOnEntries(file, row); });
    entries_->setObjectName("EntryList");
    entries_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(entries_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Send(A::SelectEntry, entries_->row(item));
    });
    // Right mouse button: play it.
    connect(entries_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = entries_->indexAt(at);
        if (!index.isValid()) return;
        Send(A::SelectEntry, index.row());
        Send(A::Play);
    });
    layout->addWidget(entries_, 0, 1);

    auto* entryRow = new QHBoxLayout;
    description_ = new QLineEdit;
    description_->setObjectName("DescriptionField");
    description_->setPlaceholderText("Description");
    info_ = new QLabel;
    info_->setObjectName("InfoPanel");
    entryRow->addWidget(description_, 1);
    entryRow->addWidget(info_, 1);
    layout->addLayout(entryRow, 1, 1);

    auto* entryButtons = new QHBoxLayout;
    auto button = [this](QBoxLayout* row, const char* caption, const char* name, const char* hint,
                         std::function<void()> action) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        if (hint) b->setToolTip(hint);
        connect(b, &QPushButton::clicked, this, std::move(action));
        row->addWidget(b);
        return b;
    };
    button(entryButtons, " Add or Edit current Style ", "AddOrEditButton", nullptr, [this] {
        desktop::StyleManagerRequest request{A::AddOrEdit};
        request.Text = description_->text().toStdString();
        Send(request);
    });
    button(entryButtons, "Rem.", "RemoveButton", "Remove style", [this] { Send(A::Remove); });
    button(entryButtons, "Rem. all", "RemoveAllButton", "Remove all styles", [this] { Send(A::RemoveAll); });
    button(entryButtons, "Load", "LoadEntryButton", nullptr, [this] { Send(A::LoadEntry); });
    layout->addLayout(entryButtons, 2, 1);

    // --- The file browser -----------------------------------------------------------------
    auto* browser = new QVBoxLayout;
    auto* folderRow = new QHBoxLayout;
    folder_ = new QLabel;
    folder_->setObjectName("FolderLabel");
    folderRow->addWidget(folder_, 1);
    button(folderRow, "...", "ChooseFolderButton", "Choose a folder", [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, "Style folder", QString::fromStdString(view_.Folder));
        if (folder.isEmpty()) return;
        desktop::StyleManagerRequest request{A::SetFolder};
        request.Text = folder.toStdString();
        Send(request);
    });
    browser->addLayout(folderRow);
    folders_ = new QListWidget;
    folders_->setObjectName("FolderList");
    connect(folders_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = folders_->row(item);
        desktop::StyleManagerRequest request{A::SetFolder};
        if (row == 0) {
            const auto slash = view_.Folder.rfind('/');
            request.Text = slash == 0 || slash == std::string::npos ? "/" : view_.Folder.substr(0, slash);
        } else if (row - 1 < static_cast<int>(view_.SubFolders.size())) {
            request.Text = view_.Folder + "/" + view_.SubFolders[static_cast<std::size_t>(row - 1)];
        }
        Send(request);
    });
    browser->addWidget(folders_, 1);
    mask_ = new QComboBox;
    mask_->setObjectName("MaskBox");
    mask_->setEditable(true);
    mask_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string_view mask : library::StyleFileMasks())
        mask_->addItem(QString::fromUtf8(mask.data(), static_cast<int>(mask.size())));
    mask_->setToolTip("Press \"Enter\" (you may use * and ?)");
    auto sendMask = [this] {
        if (showing_) return;
        desktop::StyleManagerRequest request{A::SetMask};
        request.Text = mask_->currentText().toStdString();
        Send(request);
    };
    connect(mask_->lineEdit(), &QLineEdit::returnPressed, this, sendMask);
    connect(mask_, &QComboBox::activated, this, sendMask);
    browser->addWidget(mask_);
    files_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(files_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Send(A::SelectFile, files_->row(item));
    });
    connect(files_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = files_->indexAt(at);
        if (!index.isValid()) return;
        Send(A::SelectFile, index.row());
        Send(A::Play);
    });
    browser->addWidget(files_, 2);

    auto* listed = new QHBoxLayout;
    listed->addWidget(new QLabel("Currently listed :"));
    count_ = new QPushButton;
    count_->setObjectName("CountLabel");
    count_->setFlat(true);
    count_->setToolTip("Click to open the Style-Playlist window");
    // The main window owns the playlist window: its menu item opens it. Without one the
    // core answers that there is no playlist.
    connect(count_, &QPushButton::clicked, this, [this] {
        QAction* open = parentWidget() ? parentWidget()->findChild<QAction*>("OpenStylePlaylist") : nullptr;
        if (open != nullptr)
            open->trigger();
        else
            Send(A::ShowPlaylist);
    });
    listed->addWidget(count_);
    button(listed, "\u2192", "AddListedButton", "Add listed files to Style-Playlist", [this] { Send(A::AddListed); });
    random_ = new QCheckBox("Random");
    random_->setObjectName("RandomBox");
    random_->setToolTip("Active for random style selection");
    connect(random_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        desktop::StyleManagerRequest request{A::SetRandom};
        request.On = on;
        Send(request);
    });
    listed->addWidget(random_);
    browser->addLayout(listed);

    auto* play = new QHBoxLayout;
    button(play, "Load", "LoadFileButton", nullptr, [this] { Send(A::LoadFile); });
    button(play, "Play", "PlayButton", "Use also right mouse-button.", [this] { Send(A::Play); });
    button(play, "Stop", "StopButton", "Use also left mouse-button", [this] { Send(A::Stop); });
    browser->addLayout(play);
    layout->addLayout(browser, 0, 2, 3, 1);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 1);

    // Answers to questions arrive later; while the window is visible it looks for them.
    poll_ = new QTimer(this);
    poll_->setInterval(250);
    connect(poll_, &QTimer::timeout, this, [this] { Reload(); });
    resize(980, 560);
}

void StyleManagerWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Reload();
    poll_->start();
}

void StyleManagerWindow::hideEvent(QHideEvent* event) {
    poll_->stop();
    QWidget::hideEvent(event);
}

void StyleManagerWindow::Send(desktop::StyleManagerRequest request) {
    link_.StyleManager(request);
    Reload();
}

void StyleManagerWindow::Send(A action, int index) {
    desktop::StyleManagerRequest request{action};
    request.Index = index;
    Send(request);
}

void StyleManagerWindow::DropOnEntries(int fileIndex, int row) {
    if (fileIndex < 0 || fileIndex >= static_cast<int>(view_.Files.size())) return;
    desktop::StyleManagerRequest request{A::DropFile};
    request.Text = view_.Folder + "/" + view_.Files[static_cast<std::size_t>(fileIndex)];
    request.Index = row;
    Send(request);
}

void StyleManagerWindow::Reload() {
    QPointer<StyleManagerWindow> self(this);
    link_.ReadStyleManager(shownSerial_, [self](const desktop::StyleManagerView& view) {
        if (self && !view.Unchanged && view.Serial != self->shownSerial_) self->Show(view);
    });
}

void StyleManagerWindow::Show(const desktop::StyleManagerView& view) {
    showing_ = true;
    view_ = view;
    shownSerial_ = view.Serial;
    for (QTreeWidgetItemIterator it(groups_); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toInt() == view.Group && groups_->currentItem() != *it) {
            groups_->setCurrentItem(*it);
            break;
        }
    }
    entries_->clear();
    for (const auto& entry : view.Entries) entries_->addItem(QString::fromStdString(entry));
    if (view.SelectedEntry >= 0) entries_->setCurrentRow(view.SelectedEntry);
    info_->setText(QString::fromStdString(view.Info));
    if (!description_->hasFocus()) description_->setText(QString::fromStdString(view.Description));

    folder_->setText(QString::fromStdString(view.Folder));
    folders_->clear();
    folders_->addItem("..");
    for (const auto& folder : view.SubFolders) folders_->addItem("[" + QString::fromStdString(folder) + "]");
    files_->clear();
    for (const auto& file : view.Files) files_->addItem(QString::fromStdString(file));
    if (view.SelectedFile >= 0) files_->setCurrentRow(view.SelectedFile);
    if (!mask_->lineEdit()->hasFocus()) mask_->setCurrentText(QString::fromStdString(view.Mask));
    mask_->setToolTip(QString::fromStdString(view.MaskHint));
    count_->setText(QString::fromStdString(view.CountText));
    random_->setChecked(view.Random);
    showing_ = false;
}

}  // namespace chordella::ui
