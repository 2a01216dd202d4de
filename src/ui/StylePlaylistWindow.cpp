#include "ui/StylePlaylistWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "library/PlaylistFiles.h"
#include "library/StylePlaylist.h"
#include "ui/StyleCatalog.h"

namespace chordella::ui {

namespace {

using A = desktop::PlaylistAction;
using L = desktop::PlaylistListChoice;
namespace text = library::playlist_text;

constexpr const char* StyleFiles = "Styles (*.vxs *.sty *.prs *.bcs *.sst *.pcs *.pst *.fps *.scp)";

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

desktop::PlaylistRequest On(A action, L list = L::Playlist) {
    desktop::PlaylistRequest request{action};
    request.List = list;
    return request;
}

}  // namespace

StylePlaylistWindow::StylePlaylistWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("StylePlaylistWindow");
    setWindowTitle(Q(text::Caption));
    setAcceptDrops(true);
    Ask = [this](const QString& question) {
        return QMessageBox::question(this, Q(text::Caption), question) == QMessageBox::Yes;
    };
    OpenInEditor = [](const QString& file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
    Tell = [this](const QString& text) { QMessageBox::information(this, Q(text::Caption), text); };
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(new QMenuBar);
    BuildMenus();

    query_ = new QComboBox;
    query_->setObjectName("SearchBox");
    query_->setEditable(true);
    for (std::string_view prepared : library::PreparedQueries()) query_->addItem(Q(prepared));
    // The prepared queries wait in the list; the box starts empty, which searches every style.
    query_->setCurrentIndex(-1);
    query_->lineEdit()->setPlaceholderText("Search: words such as waltz or !pop !rock, =120, >75, +3/4 (empty: every style)");
    query_->setToolTip("Terms are separated by \";\": + must occur, - must not, ! any of them; "
                       "=, > and < compare the tempo (or, above 999, the file size)");
    auto* search = new QPushButton("Search");
    search->setObjectName("SearchButton");
    connect(search, &QPushButton::clicked, this, [this] { Search(); });
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(query_, 1);
    searchRow->addWidget(search);
    layout->addLayout(searchRow);

    auto box = [this](const char* caption, std::string_view hint) {
        auto* check = new QCheckBox(caption);
        check->setToolTip(Q(hint));
        connect(check, &QCheckBox::toggled, this, [this] { SendOptions(); });
        return check;
    };
    random_ = box("Random", text::RandomHint);
    add_ = box("Add", text::AddHint);
    sort_ = box("Sort", {});
    next_ = box("Next", text::NextHint);
    find_ = box("Find", text::FindHint);
    found_ = new QLabel("Found: 0");
    number_ = new QLabel("No: 0");
    auto* options = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(random_), static_cast<QWidget*>(add_), static_cast<QWidget*>(sort_),
                            static_cast<QWidget*>(next_), static_cast<QWidget*>(find_)})
        options->addWidget(widget);
    options->addStretch(1);
    options->addWidget(found_);
    options->addWidget(number_);
    layout->addLayout(options);

    list_ = new QListWidget;
    list_->setObjectName("SearchResult");
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (showing_ || row < 0) return;
        desktop::PlaylistRequest request{A::Select};
        request.Index = row;
        Send(request);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        desktop::PlaylistRequest request{A::Load};
        request.Index = list_->row(item);
        Send(request);
    });
    layout->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    auto* addEntry = new QPushButton("Add entry");
    addEntry->setToolTip("Add to item list");
    connect(addEntry, &QPushButton::clicked, this, [this] {
        desktop::PlaylistRequest request{A::ImportFiles};
        for (const QString& file : PickStyles("Add entry")) request.Files.push_back(file.toStdString());
        if (!request.Files.empty()) Send(request);
    });
    auto* deleteEntry = new QPushButton("Delete entry");
    deleteEntry->setToolTip("Delete from item list");
    connect(deleteEntry, &QPushButton::clicked, this, [this] {
        desktop::PlaylistRequest request = On(A::DeleteEntry, L::SearchResult);
        request.Index = list_->currentRow();
        if (request.Index >= 0) Send(request);
    });
    buttons->addWidget(addEntry);
    buttons->addWidget(deleteEntry);
    buttons->addStretch(1);
    const QString playlists = Q(library::PlaylistFilter).replace('|', ";;");
    auto* open = new QPushButton("Open");
    open->setObjectName("OpenPlaylistButton");
    open->setToolTip("Open playlist");
    connect(open, &QPushButton::clicked, this, [this, playlists] {
        const QString file = QFileDialog::getOpenFileName(this, "Open playlist", QString(), playlists);
        if (file.isEmpty()) return;
        desktop::PlaylistRequest request{A::OpenPlaylist};
        request.Text = file.toStdString();
        Send(request);
    });
    auto* save = new QPushButton("Save");
    save->setObjectName("SavePlaylistButton");
    save->setToolTip("Save playlist");
    connect(save, &QPushButton::clicked, this, [this] { Send(On(A::SavePlaylist)); });
    buttons->addWidget(open);
    buttons->addWidget(save);
    layout->addLayout(buttons);
    resize(720, 480);
}

void StylePlaylistWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Send(desktop::PlaylistRequest{A::Read});
}

void StylePlaylistWindow::BuildMenus() {
    auto* bar = static_cast<QMenuBar*>(layout()->menuBar());
    auto ask = [this](const char* question, desktop::PlaylistRequest request) {
        return [this, question, request] { SendAfter(question, request); };
    };
    auto send = [this](desktop::PlaylistRequest request) { return [this, request] { Send(request); }; };
    auto withFile = [this](A action, L list, const char* title, QString filter, bool save) {
        return [this, action, list, title, filter, save] {
            const QString file = save ? QFileDialog::getSaveFileName(this, title, QString(), filter)
                                      : QFileDialog::getOpenFileName(this, title, QString(), filter);
            if (file.isEmpty()) return;
            desktop::PlaylistRequest request = On(action, list);
            request.Text = file.toStdString();
            Send(request);
        };
    };
    const QString playlists = Q(library::PlaylistFilter).replace('|', ";;");
    const QString results = Q(library::SearchResultFilter).replace('|', ";;");

    QMenu* lists = bar->addMenu("Playlists");
    lists->addAction("New playlist", this, withFile(A::NewPlaylist, L::Playlist, "New playlist", playlists, true));
    lists->addAction("Open playlist", this, withFile(A::OpenPlaylist, L::Playlist, "Open playlist", playlists, false));
    lists->addAction("Add playlist", this, withFile(A::AddPlaylist, L::Playlist, "Add playlist", playlists, false));
    lists->addAction("Save playlist", this, withFile(A::SavePlaylist, L::Playlist, "Save playlist", playlists, true));
    lists->addAction("Clear playlist", this, ask(text::ClearPlaylist.data(), On(A::ClearPlaylist)));
    QAction* addStyles = lists->addAction("Add styles", this, [this] {
        bool ok = false;
        const QString description =
            QInputDialog::getText(this, Q(text::Caption), Q(text::AskDescription), QLineEdit::Normal, {}, &ok);
        if (!ok) return;
        desktop::PlaylistRequest request{A::AddStyles};  // no files: the core takes the Style-Manager's
        request.Text = description.toStdString();
        Send(request);
    });
    addStyles->setToolTip("  Add the styles, that are listed in the Style-Manager window to the current playlist ");
    for (const auto& [caption, action] : {std::pair{"Copy styles", A::CopyStyles}, std::pair{"Move styles", A::MoveStyles}}) {
        lists->addAction(caption, this, [this, caption, action] {
            const QString folder = QFileDialog::getExistingDirectory(this, caption);
            if (folder.isEmpty()) return;
            desktop::PlaylistRequest request{action};
            request.Text = folder.toStdString();
            Send(request);
        });
    }
    lists->addAction("Remove corrupted vxs-styles", this, ask(text::CheckAllStyles.data(), On(A::RemoveCorrupted)));
    lists->addAction("Remove vxs-styles without bass", this, ask(text::CheckAllStyles.data(), On(A::RemoveWithoutBass)));
    lists->addAction("Remove not found styles", this, ask(text::CheckAllStyles.data(), On(A::RemoveNotFound)));
    lists->addAction("Delete duplicates", this, send(On(A::DeleteDuplicates)));
    lists->addAction("Export to text editor", this, send(On(A::ExportToEditor)));

    auto deleteShown = [this](L list) {
        return [this, list] {
            desktop::PlaylistRequest request = On(A::DeleteEntry, list);
            request.Index = list_->currentRow();
            if (request.Index >= 0) Send(request);
        };
    };
    QMenu* favorites = bar->addMenu("Favorites list");
    favorites->addAction("Open favorites list", this, send(On(A::OpenFavorites, L::Favorites)));
    favorites->addAction("Add selected style", this, send(On(A::AddFavorite, L::Favorites)));
    favorites->addAction("Delete duplicates", this, send(On(A::DeleteDuplicates, L::Favorites)));
    favorites->addAction("Delete entry", this, deleteShown(L::Favorites));
    favorites->addAction("Remove not found styles", this,
                         ask(text::CheckAllStyles.data(), On(A::RemoveNotFound, L::Favorites)));
    favorites->addAction("Export to text editor", this, send(On(A::ExportToEditor, L::Favorites)));
    favorites->addAction("Export to playlist", this, send(On(A::ExportToPlaylist, L::Favorites)));

    QMenu* result = bar->addMenu("Search results");
    result->addAction("Open search result", this,
                      withFile(A::OpenSearchResult, L::SearchResult, "Open search result", results, false));
    result->addAction("Save search result", this,
                      withFile(A::SaveSearchResult, L::SearchResult, "Save search result", results, true));
    result->addAction("Clear search result", this, ask(text::ClearSearchList.data(), On(A::ClearSearchResult, L::SearchResult)));
    result->addAction("Shuffle search results", this, send(On(A::ShuffleSearchResult, L::SearchResult)));
    result->addAction("Delete duplicates", this, send(On(A::DeleteDuplicates, L::SearchResult)));
    result->addAction("Delete entry", this, deleteShown(L::SearchResult));
    result->addAction("Import styles from explorer", this,
                      [this] { ImportFiles(PickStyles("Import styles from explorer")); });
    result->addAction("Import styles from Songlist", this, [this] {
        desktop::PlaylistRequest request = On(A::ImportFromSonglist, L::SearchResult);
        request.Clear = Ask(Q(text::ClearBeforeImport));
        Send(request);
    });
    result->addAction("Export to text editor", this, send(On(A::ExportToEditor, L::SearchResult)));
    result->addAction("Export to playlist", this, send(On(A::ExportToPlaylist, L::SearchResult)));

    QMenu* recent = bar->addMenu("Recent style");
    recent->setObjectName("RecentStyleMenu");
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { ShowRecent(recent); });
    bar->addAction("Bad style", this, ask(text::RemoveBadStyle.data(), On(A::BadStyle)));
    QAction* number = bar->addAction("Style number", this, [this] { ChooseStyleNumber(); });
    number->setShortcut(QKeySequence(Qt::Key_Insert));
    number->setShortcutContext(Qt::WindowShortcut);
    QMenu* find = bar->addMenu("Find ...");
    find->addAction("Expression", this, [this] {
        bool ok = false;
        const QString expression = QInputDialog::getText(this, Q(text::FindTitle), Q(text::AskFindExpression),
                                                         QLineEdit::Normal, findExpression_, &ok);
        if (!ok || expression.isEmpty()) return;
        findExpression_ = expression;
        SendOptions();
        FindNext(list_->currentRow());
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    find->addAction("Find next", this, [this] {
        if (!findExpression_.isEmpty()) FindNext(list_->currentRow());
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F3));
    bar->addAction("Add term(s) ...", this, [this] {
        if (list_->currentRow() < 0) {
            QMessageBox::information(this, Q(text::Caption), Q(text::NoLineForTerms));
            return;
        }
        bool ok = false;
        const QString terms = QInputDialog::getText(this, Q(text::Caption), Q(text::AskTerms), QLineEdit::Normal, {}, &ok);
        if (!ok || terms.isEmpty()) return;
        desktop::PlaylistRequest request{A::AddTerms};
        request.Text = terms.toStdString();
        Send(request);
    });
}

void StylePlaylistWindow::ShowRecent(QMenu* menu) {
    menu->clear();
    if (recent_.empty()) menu->addAction("(none yet)")->setEnabled(false);
    for (const std::string& file : recent_) {
        menu->addAction(QString::fromLocal8Bit(file.c_str()), this, [this, file] {
            desktop::PlaylistRequest request{A::LoadFile};
            request.Text = file;
            Send(request);
        });
    }
}

void StylePlaylistWindow::ChooseStyleNumber() {
    if (list_->count() == 0) return;
    bool ok = false;
    const int number = QInputDialog::getInt(this, "Style number", QString("Style number (1 - %1):").arg(list_->count()),
                                            std::max(list_->currentRow() + 1, 1), 1, list_->count(), 1, &ok);
    if (!ok) return;
    desktop::PlaylistRequest request{A::SelectNumber};
    request.Index = number - 1;
    Send(request);
}

void StylePlaylistWindow::ImportFiles(const QStringList& files) {
    desktop::PlaylistRequest request = On(A::ImportFiles, L::SearchResult);
    for (const QString& file : files) {
        const std::string path = file.toStdString();
        if (QFileInfo(file).isDir()) {
            for (const std::string& style : StyleFilesIn(path)) request.Files.push_back(style);
        } else if (library::IsStyleFileName(path)) {
            request.Files.push_back(path);
        }
    }
    if (request.Files.empty()) return;
    request.Clear = Ask(Q(text::ClearBeforeImport));
    Send(request);
}

void StylePlaylistWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void StylePlaylistWindow::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    ImportFiles(files);
}

QStringList StylePlaylistWindow::PickStyles(const QString& title) {
    return QFileDialog::getOpenFileNames(this, title, QString(), StyleFiles);
}

void StylePlaylistWindow::Search() {
    desktop::PlaylistRequest request{A::Search};
    const QString query = query_->currentText().trimmed();
    request.Text = query.isEmpty() ? std::string("*;") : query.toStdString();  // empty: every style
    request.Add = add_->isChecked();
    request.Sort = sort_->isChecked();
    Send(request);
}

void StylePlaylistWindow::FindNext(int from) {
    desktop::PlaylistRequest request{A::FindNext};
    request.Text = findExpression_.toStdString();
    request.Index = from;
    QPointer<StylePlaylistWindow> self(this);
    link_.StylePlaylist(request, [self, from](const desktop::PlaylistView& view) {
        if (!self) return;
        desktop::PlaylistView shown = view;
        shown.Message.clear();
        self->Show(shown);
        // At the end: the question whether to search from the start.
        if (!view.Message.empty() && from >= 0 && self->Ask(QString::fromStdString(view.Message))) self->FindNext(-1);
    });
}

void StylePlaylistWindow::SendOptions() {
    if (showing_) return;
    desktop::PlaylistRequest request{A::SetOptions};
    request.Random = random_->isChecked();
    request.Next = next_->isChecked();
    request.Find = find_->isChecked();
    request.Text = findExpression_.toStdString();
    Send(request);
}

void StylePlaylistWindow::SendAfter(const char* question, desktop::PlaylistRequest request) {
    if (Ask(QString::fromUtf8(question))) Send(std::move(request));
}

void StylePlaylistWindow::Send(desktop::PlaylistRequest request) {
    QPointer<StylePlaylistWindow> self(this);
    link_.StylePlaylist(request, [self](const desktop::PlaylistView& view) {
        if (self) self->Show(view);
    });
}

void StylePlaylistWindow::Show(const desktop::PlaylistView& view) {
    showing_ = true;
    setWindowTitle(QString::fromStdString(view.Caption));
    // The list is rebuilt only when it changed: a click's answer must not take away the
    // row a double-click is about to land on.
    bool same = list_->count() == static_cast<int>(view.Lines.size());
    for (int row = 0; same && row < list_->count(); ++row)
        same = list_->item(row)->text() == QString::fromLocal8Bit(view.Lines[static_cast<std::size_t>(row)].c_str());
    if (!same) {
        list_->clear();
        for (const std::string& line : view.Lines) list_->addItem(QString::fromLocal8Bit(line.c_str()));
    }
    if (view.Selected >= 0 && view.Selected < list_->count() && list_->currentRow() != view.Selected)
        list_->setCurrentRow(view.Selected);
    found_->setText(QString("Found: %1").arg(view.Found));
    number_->setText(QString("No: %1").arg(view.Selected + 1));
    random_->setChecked(view.Random);
    next_->setChecked(view.Next);
    find_->setChecked(view.Find);
    recent_ = view.Recent;
    showing_ = false;
    if (!view.Message.empty()) Tell(QString::fromStdString(view.Message));
    // A list written for the text editor is opened in the one the desktop has for text.
    if (!view.ExportedFile.empty() && !OpenInEditor(QString::fromStdString(view.ExportedFile)))
        Tell(QString("The list was written to \"%1\" !").arg(QString::fromStdString(view.ExportedFile)));
}

}  // namespace chordella::ui
