#include "ui/StyleBrowser.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "desktop/PlaylistRequests.h"
#include "library/PlaylistLine.h"
#include "ui/CoreLink.h"

namespace chordella::ui {

namespace {

constexpr int FilesPerTurn = 8;

enum Column { NameColumn, MeterColumn, TempoColumn, SourceColumn, ColumnCount };
// Item data kept beside the texts: the file (name column), the tempo (meter column), the
// playlist line (tempo column) and whether the row comes from a list rather than a folder
// (source column).
constexpr int PathRole = Qt::UserRole;

QString Folded(const std::string& folder) {
    return QString::fromStdString(std::filesystem::path(folder).filename().string());
}

}  // namespace

StyleBrowser::StyleBrowser(QWidget* parent) : QWidget(parent) {
    setObjectName("StyleBrowser");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    search_ = new QLineEdit;
    search_->setObjectName("StyleSearch");
    search_->setPlaceholderText("Search styles: name, tempo or meter, or a query (!pop !rock; >75; +4/4)");
    search_->setClearButtonEnabled(true);
    search_->setFocusPolicy(Qt::ClickFocus);
    source_ = new QComboBox;
    source_->setObjectName("StyleSource");
    source_->setFocusPolicy(Qt::NoFocus);
    source_->addItems({FoldersSource, PlaylistSource, FavoritesSource});
    source_->setToolTip("Show the styles of the style folders, the Style-Playlist or the favorites list");
    auto* add = new QPushButton("Add folder ...");
    add->setObjectName("AddStyleFolder");
    add->setFocusPolicy(Qt::NoFocus);
    auto* rescan = new QPushButton("Read again");
    rescan->setObjectName("RescanStyles");
    rescan->setFocusPolicy(Qt::NoFocus);
    top->addWidget(source_);
    top->addWidget(search_, 1);
    // Styles of other keyboards are made ours in the converter.
    auto* converter = new QPushButton("Converter ...");
    converter->setObjectName("OpenConverter");
    converter->setFocusPolicy(Qt::NoFocus);
    converter->setToolTip("Open Styleconverter");
    connect(converter, &QPushButton::clicked, this, [this] {
        if (OnConverter) OnConverter();
    });
    top->addWidget(add);
    top->addWidget(rescan);
    top->addWidget(converter);
    layout->addLayout(top);
    searchProblem_ = new QLabel;
    searchProblem_->setObjectName("StyleSearchProblem");
    searchProblem_->setWordWrap(true);
    searchProblem_->hide();
    layout->addWidget(searchProblem_);

    list_ = new QTreeWidget;
    list_->setObjectName("StyleList");
    list_->setColumnCount(ColumnCount);
    list_->setHeaderLabels({"Style", "Meter", "Tempo", "Folder"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setFocusPolicy(Qt::ClickFocus);
    list_->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    list_->installEventFilter(this);
    layout->addWidget(list_, 1);

    reader_ = new QTimer(this);
    reader_->setInterval(0);
    connect(reader_, &QTimer::timeout, this, [this] { ReadSomeFiles(); });
    connect(search_, &QLineEdit::textChanged, this, [this] { ApplySearch(); });
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (OnLoad && item != nullptr) OnLoad(EntryOf(item).Path);
    });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (OnPlay && item != nullptr) OnPlay(EntryOf(item).Path);
    });
    connect(add, &QPushButton::clicked, this, [this] { ChooseFolder(); });
    connect(rescan, &QPushButton::clicked, this, [this] {
        if (Source() == FoldersSource) Rescan();
        else if (OnListWanted) OnListWanted(Source());
    });
    connect(source_, &QComboBox::currentTextChanged, this, [this](const QString& source) {
        ApplySearch();
        if (source != FoldersSource && OnListWanted) OnListWanted(source);
    });
}

void StyleBrowser::SetFolders(const std::string& stylesFolder, const std::vector<std::string>& added) {
    stylesFolder_ = stylesFolder;
    added_.clear();
    for (const std::string& folder : added)
        if (!folder.empty() && folder != stylesFolder_ &&
            std::find(added_.begin(), added_.end(), folder) == added_.end())
            added_.push_back(folder);
    Rescan();
}

void StyleBrowser::AddFolder(const std::string& folder) {
    if (folder.empty() || folder == stylesFolder_ || std::find(added_.begin(), added_.end(), folder) != added_.end())
        return;
    added_.push_back(folder);
    for (const std::string& file : StyleFilesIn(folder)) toRead_.emplace_back(file, Folded(folder));
    reader_->start();
    if (OnFoldersChanged) OnFoldersChanged();
}

void StyleBrowser::Rescan() {
    // Entries of other sources stay; the folders' rows are read again.
    for (int i = list_->topLevelItemCount() - 1; i >= 0; --i)
        if (list_->topLevelItem(i)->data(SourceColumn, PathRole).toBool() == false) delete list_->takeTopLevelItem(i);
    toRead_.clear();
    nextToRead_ = 0;
    for (const std::string& file : StyleFilesIn(stylesFolder_)) toRead_.emplace_back(file, "STYLES");
    for (const std::string& folder : added_)
        for (const std::string& file : StyleFilesIn(folder)) toRead_.emplace_back(file, Folded(folder));
    reader_->start();
}

void StyleBrowser::ReadSomeFiles() {
    for (int n = 0; n < FilesPerTurn && nextToRead_ < toRead_.size(); ++n, ++nextToRead_) {
        const auto& [file, source] = toRead_[nextToRead_];
        AddRow(DescribeStyleFile(file), source, false, StyleFilter(search_->text().toStdString()));
    }
    if (nextToRead_ < toRead_.size()) return;
    reader_->stop();
    toRead_.clear();
    nextToRead_ = 0;
}

void StyleBrowser::AddRow(const StyleEntry& entry, const QString& source, bool listRow, const StyleFilter& filter) {
    auto* item = new QTreeWidgetItem;
    item->setText(NameColumn, QString::fromStdString(entry.Name));
    item->setText(MeterColumn, QString::fromStdString(entry.Meter));
    item->setText(TempoColumn, entry.Tempo > 0 ? QString::number(entry.Tempo) : QString());
    item->setText(SourceColumn, source);
    item->setData(NameColumn, PathRole, QString::fromStdString(entry.Path));
    item->setData(MeterColumn, PathRole, entry.Tempo);
    item->setData(TempoColumn, PathRole, QByteArray::fromStdString(entry.Line));
    // A list's description is part of its line: shown with the path.
    const library::PlaylistEntry parsed = library::ParsePlaylistLine(entry.Line);
    const std::string tip = !entry.Problem.empty()        ? entry.Problem
                            : parsed.Description.empty() ? entry.Path
                                                         : entry.Path + "\n" + parsed.Description;
    item->setToolTip(NameColumn, QString::fromLocal8Bit(tip.c_str()));
    if (!entry.Problem.empty()) item->setDisabled(true);
    if (entry.Path == loaded_) {
        QFont font = item->font(NameColumn);
        font.setBold(true);
        item->setFont(NameColumn, font);
    }
    item->setData(SourceColumn, PathRole, listRow);
    list_->addTopLevelItem(item);
    item->setHidden(!Visible(item, filter));
}

void StyleBrowser::ShowEntries(const QString& source, const std::vector<StyleEntry>& entries) {
    for (int i = list_->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->data(SourceColumn, PathRole).toBool() && item->text(SourceColumn) == source)
            delete list_->takeTopLevelItem(i);
    }
    const StyleFilter filter(search_->text().toStdString());
    for (const StyleEntry& entry : entries) AddRow(entry, source, true, filter);
}

void StyleBrowser::ShowSource(const QString& source) { source_->setCurrentText(source); }

QString StyleBrowser::Source() const { return source_->currentText(); }

bool StyleBrowser::Visible(const QTreeWidgetItem* item, const StyleFilter& filter) const {
    const bool listRow = item->data(SourceColumn, PathRole).toBool();
    const bool shownSource = Source() == FoldersSource ? !listRow : listRow && item->text(SourceColumn) == Source();
    return shownSource && filter.Matches(EntryOf(item));
}

StyleEntry StyleBrowser::EntryOf(const QTreeWidgetItem* item) {
    StyleEntry entry;
    entry.Path = item->data(NameColumn, PathRole).toString().toStdString();
    entry.Name = item->text(NameColumn).toStdString();
    entry.Meter = item->text(MeterColumn).toStdString();
    entry.Tempo = item->data(MeterColumn, PathRole).toInt();
    entry.Line = item->data(TempoColumn, PathRole).toByteArray().toStdString();
    return entry;
}

void StyleBrowser::ApplySearch() {
    const StyleFilter filter(search_->text().toStdString());
    searchProblem_->setText(QString::fromStdString(filter.Problem()));
    searchProblem_->setVisible(!filter.Problem().empty());
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        item->setHidden(!Visible(item, filter));
    }
}

std::vector<StyleEntry> StyleBrowser::ShownEntries() const {
    std::vector<StyleEntry> shown;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (!list_->topLevelItem(i)->isHidden()) shown.push_back(EntryOf(list_->topLevelItem(i)));
    return shown;
}

bool StyleBrowser::Scanning() const { return reader_->isActive(); }

void StyleBrowser::MarkLoaded(const std::string& path) {
    if (path == loaded_) return;
    loaded_ = path;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        QFont font = item->font(NameColumn);
        font.setBold(EntryOf(item).Path == path);
        item->setFont(NameColumn, font);
    }
}

void StyleBrowser::ChooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, "Add a style folder",
                                                             QString::fromStdString(stylesFolder_));
    if (!folder.isEmpty()) AddFolder(folder.toStdString());
}

bool StyleBrowser::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the list plays the current style even when the platform's "activate" key is
    // another one.
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list_->currentItem() != nullptr) {
            if (OnPlay) OnPlay(EntryOf(list_->currentItem()).Path);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ConnectStyleLists(StyleBrowser& browser, CoreLink& core) {
    QPointer<StyleBrowser> shown(&browser);
    browser.OnListWanted = [shown, &core](const QString& source) {
        desktop::PlaylistRequest request{desktop::PlaylistAction::ReadList};
        request.List = source == StyleBrowser::FavoritesSource ? desktop::PlaylistListChoice::Favorites
                                                               : desktop::PlaylistListChoice::Playlist;
        core.StylePlaylist(request, [shown, source](const desktop::PlaylistView& view) {
            if (shown) shown->ShowEntries(source, EntriesOfList(view.Listed, view.ListedFiles));
        });
    };
}

}  // namespace chordella::ui
