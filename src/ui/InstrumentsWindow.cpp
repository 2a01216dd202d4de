#include "ui/InstrumentsWindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace chordella::ui {

namespace {

using A = desktop::InstrumentAction;

QPushButton* Button(QLayout* layout, const char* caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

}  // namespace

InstrumentsWindow::InstrumentsWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("InstrumentsWindow");
    setWindowTitle("Instruments");
    ChooseFile = [this](bool save) {
        const QString filter = "Set texts (*.txt);;All files (*)";
        return save ? QFileDialog::getSaveFileName(this, "L-S", {}, filter) : QFileDialog::getOpenFileName(this, "L-S", {}, filter);
    };
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    sets_ = new QComboBox;
    sets_->setObjectName("SetList");
    for (int set = 1; set <= 10; ++set) sets_->addItem(QString::number(set));
    sets_->addItem("FX");
    sets_->setItemData(desktop::FunctionSetItem - 1, desktop::instrument_text::FxHint, Qt::ToolTipRole);
    sets_->addItem("L-S");
    left->addWidget(sets_);
    keys_ = new QListWidget;
    keys_->setObjectName("KeyList");
    left->addWidget(keys_);
    auto* buttons = new QHBoxLayout;
    auto setRequest = [this](A action) {
        desktop::InstrumentRequest request;
        request.Action = action;
        request.Set = sets_->currentIndex() + 1;
        if (request.Set == desktop::TextFileSetItem) {
            request.Path = ChooseFile(action == A::Store).toStdString();
            if (request.Path.empty()) return;
        }
        Send(request);
    };
    connect(Button(buttons, "Open", "OpenSet"), &QPushButton::clicked, this, [setRequest] { setRequest(A::Open); });
    connect(Button(buttons, "Store", "StoreSet"), &QPushButton::clicked, this, [setRequest] { setRequest(A::Store); });
    left->addLayout(buttons);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Functions"));
    functions_ = new QListWidget;
    functions_->setObjectName("FunctionList");
    right->addWidget(functions_);
    connect(Button(right, "<- Key", "AssignFunction"), &QPushButton::clicked, this, [this] {
        if (keys_->currentRow() < 0 || functions_->currentRow() < 0) return;
        desktop::InstrumentRequest request;
        request.Action = A::Assign;
        request.Key = keys_->currentRow();
        request.Function = functions_->currentRow();
        Send(request);
    });
    layout->addLayout(right);

    // Answers to the core's questions come later: the keys are read again while shown.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] {
        if (isVisible()) Send({});
    });
    poll->start(500);
    Send({});
}

void InstrumentsWindow::Send(desktop::InstrumentRequest request) {
    link_.InstrumentSets(request, [this](const desktop::InstrumentView& view) { Show(view); });
}

void InstrumentsWindow::Show(const desktop::InstrumentView& view) {
    const int key = keys_->currentRow();
    keys_->clear();
    for (std::size_t k = 0; k < view.Keys.size(); ++k)
        keys_->addItem(QString("%1  %2").arg(k + 1, 2, 10, QChar('0')).arg(QString::fromStdString(view.Keys[k])));
    if (key >= 0 && key < keys_->count()) keys_->setCurrentRow(key);
    if (functions_->count() != static_cast<int>(view.Functions.size())) {
        functions_->clear();
        for (const std::string& name : view.Functions) functions_->addItem(QString::fromStdString(name));
    }
}

}  // namespace chordella::ui
