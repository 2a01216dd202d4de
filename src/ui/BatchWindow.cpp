#include "ui/BatchWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/ScrolledPage.h"

namespace chordella::ui {

namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPushButton* Button(const char* caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

QLabel* Label(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

BatchWindow::BatchWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("BatchWindow");
    setWindowTitle(Text(app::batch_text::Title));
    // In a scroll area: below the performance display of a 720-pixel screen it gets less
    // than its controls ask for.
    auto* layout = new QVBoxLayout(ScrolledPage(*new QVBoxLayout(this)));

    modes_ = new QListWidget;
    modes_->setObjectName("BatchModes");
    for (const app::BatchModeInfo& info : app::BatchModes()) modes_->addItem(Text(info.MenuItem));
    modes_->setCurrentRow(0);
    modes_->setMinimumHeight(modes_->sizeHintForRow(0) * static_cast<int>(app::BatchModes().size()) + 8);
    connect(modes_, &QListWidget::itemDoubleClicked, this, [this] { Start(); });
    layout->addWidget(modes_);
    description_ = new QCheckBox("Ask for a description (converted names, playlist lines)");
    description_->setObjectName("AskDescription");
    layout->addWidget(description_);

    auto* files = new QGroupBox("Files");
    auto* grid = new QGridLayout(files);
    source_ = Label("SourceFolder");
    output_ = Label("OutputFolder");
    auto* setSource = Button("Set path", "SetSourcePath");
    auto* setOutput = Button("Set path", "SetOutputPath");
    grid->addWidget(new QLabel("From:"), 0, 0);
    grid->addWidget(source_, 0, 1);
    grid->addWidget(setSource, 0, 2);
    grid->addWidget(new QLabel("To:"), 1, 0);
    grid->addWidget(output_, 1, 1);
    grid->addWidget(setOutput, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(setSource, &QPushButton::clicked, this, [this] { SetSourcePath(); });
    connect(setOutput, &QPushButton::clicked, this, [this] { SetOutputPath(); });
    layout->addWidget(files);

    auto* buttons = new QHBoxLayout;
    start_ = Button("Start", "StartBatch");
    cancel_ = Button("Cancel", "CancelBatch");
    cancel_->setToolTip("Stops after the file in hand");
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    connect(start_, &QPushButton::clicked, this, [this] { Start(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
    layout->addLayout(buttons);

    progress_ = new QProgressBar;
    progress_->setObjectName("BatchProgress");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    layout->addWidget(progress_);
    count_ = Label("FileCount");
    current_ = Label("CurrentFile");
    errors_ = Label("ErrorCount");
    layout->addWidget(count_);
    layout->addWidget(current_);
    layout->addWidget(errors_);
    log_ = new QListWidget;
    log_->setObjectName("BatchLog");
    layout->addWidget(log_, 1);
    summary_ = Label("BatchSummary");
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    ShowView(view_);
    // The run goes on in the core between the window's events: the window reads its
    // progress while it is shown.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] {
        if (isVisible()) Refresh();
    });
    refresh->start(150);
}

void BatchWindow::SelectMode(app::BatchMode mode) {
    const auto& modes = app::BatchModes();
    for (std::size_t row = 0; row < modes.size(); ++row)
        if (modes[row].Mode == mode) modes_->setCurrentRow(static_cast<int>(row));
}

void BatchWindow::Send(const desktop::BatchRequest& request) {
    link_.BatchCommand(request, [this](const desktop::BatchView& view) { ShowView(view); });
}

void BatchWindow::Start() {
    const int row = modes_->currentRow();
    if (row < 0 || row >= static_cast<int>(app::BatchModes().size())) return;
    desktop::BatchRequest request;
    request.What = desktop::BatchRequest::Start;
    request.Mode = app::BatchModes()[static_cast<std::size_t>(row)].Mode;
    request.AskDescription = description_->isChecked();
    if (request.Mode == app::BatchMode::Songs) ShowSonglistWindow();
    Send(request);
}

void BatchWindow::Cancel() { Send({desktop::BatchRequest::Cancel}); }
void BatchWindow::SetSourcePath() { Send({desktop::BatchRequest::SetSourceFolder}); }
void BatchWindow::SetOutputPath() { Send({desktop::BatchRequest::SetOutputFolder}); }
void BatchWindow::Refresh() { Send({desktop::BatchRequest::Read}); }

void BatchWindow::ShowSonglistWindow() {
    // The songs appear in the songlist as they are made: its window comes up beside this one.
    QWidget* top = this;
    while (top->parentWidget() != nullptr) top = top->parentWidget();
    if (auto* songlist = top->findChild<QWidget*>("SonglistWindow")) {
        songlist->show();
        songlist->raise();
    }
}

void BatchWindow::ShowView(const desktop::BatchView& view) {
    view_ = view;
    QString from = view.SourceFolder.empty() ? QString("(no folder chosen)") : QString::fromStdString(view.SourceFolder);
    if (view.PlaylistEntries > 0)
        from = QString("the Style-Playlist (%1 styles) or %2").arg(view.PlaylistEntries).arg(from);
    source_->setText(from);
    output_->setText(view.OutputFolder.empty() ? QString("(styles: the STYLES folder, songs: the SONGS folder)")
                                               : QString::fromStdString(view.OutputFolder));
    const bool busy = view.Running || view.Asking;
    start_->setEnabled(!busy);
    modes_->setEnabled(!busy);
    cancel_->setEnabled(view.Running);
    progress_->setRange(0, std::max(view.FileCount, 1));
    progress_->setValue(std::min(view.Done, std::max(view.FileCount, 1)));
    count_->setText(view.FileCount > 0 ? QString("File %1 of %2").arg(view.Done).arg(view.FileCount) : QString());
    current_->setText(QString::fromStdString(view.CurrentFile));
    errors_->setText(view.FileCount > 0 ? QString("Errors: %1").arg(view.Errors) : QString());
    if (log_->count() != static_cast<int>(view.Log.size())) {
        log_->clear();
        for (const std::string& line : view.Log) log_->addItem(QString::fromStdString(line));
        log_->scrollToBottom();
    }
    QString summary = QString::fromStdString(view.Summary);
    if (view.Cancelled) summary = "Cancelled. " + summary;
    summary_->setText(summary);
    // The cursor shows work while the run goes on.
    if (view.Running != busyCursor_) {
        if (view.Running) QApplication::setOverrideCursor(Qt::BusyCursor);
        else QApplication::restoreOverrideCursor();
        busyCursor_ = view.Running;
    }
}

}  // namespace chordella::ui
