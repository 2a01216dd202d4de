#include "ui/MidiCommandsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "desktop/DesktopRemote.h"
#include "remote/CommandFile.h"

namespace chordella::ui {

namespace {

using A = desktop::RemoteAction;

constexpr const char* SetValuesHint = "CTRL+ = DAW Cursor down; SHIFT+ = DAW Pan; ALT+ = DAW goto 1. preset";
constexpr const char* CommandFiles = "MIDI commands (*.ccs)";

QSpinBox* NumberField(int lowest, int highest) {
    auto* field = new QSpinBox;
    field->setRange(lowest, highest);  // entries beyond the range are held at its ends
    return field;
}

}  // namespace

// A message box that does not wait: the window (and the tests driving it) go on.
void ShowRemoteMessage(QWidget* parent, const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Information, "Chordella", QString::fromStdString(text), QMessageBox::Ok,
                                parent);
    box->setObjectName("RemoteMessage");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

MidiCommandsWindow::MidiCommandsWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("MidiCommandsWindow");
    setWindowTitle(desktop::remote_text::CommandsCaption);
    auto* layout = new QVBoxLayout(this);

    auto* grid = new QGridLayout;
    const char* headings[] = {"Key", "Type", "Channel", "Value", "Data", ""};
    for (int column = 0; column < 6; ++column) grid->addWidget(new QLabel(headings[column]), 0, column);
    for (int n = 0; n < remote::CommandCount; ++n) {
        Row& row = rows_[static_cast<std::size_t>(n)];
        row.Type = new QComboBox;
        for (std::string_view name : remote::CommandTypeNames)
            row.Type->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
        row.Channel = NumberField(1, 16);
        row.Value = NumberField(0, remote::HighestValue);
        row.Data = NumberField(0, remote::HighestData);
        auto* send = new QPushButton("Send");
        send->setObjectName(QString("Send%1").arg(n));
        connect(send, &QPushButton::clicked, this, [this, n] {
            desktop::RemoteRequest request{A::SendCommand};
            request.Index = n;
            Send(request);
        });
        grid->addWidget(new QLabel(QString::number(n)), n + 1, 0);
        grid->addWidget(row.Type, n + 1, 1);
        grid->addWidget(row.Channel, n + 1, 2);
        grid->addWidget(row.Value, n + 1, 3);
        grid->addWidget(row.Data, n + 1, 4);
        grid->addWidget(send, n + 1, 5);
    }
    layout->addLayout(grid);

    activated_ = new QCheckBox("Activated");
    connect(activated_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        desktop::RemoteRequest request{A::SetActivated};
        request.On = on;
        Send(request);
    });
    bankChanges_ = new QCheckBox("Allowing bank changes when switching programs");
    connect(bankChanges_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        desktop::RemoteRequest request{A::SetBankChanges};
        request.On = on;
        Send(request);
    });
    port_ = new QComboBox;
    port_->setObjectName("CommandPort");
    port_->addItem(desktop::NoCommandPort);
    connect(port_, &QComboBox::activated, this, [this](int entry) {
        desktop::RemoteRequest request{A::SetPort};
        request.Text = port_->itemText(entry).toStdString();
        Send(request);
    });
    auto* options = new QHBoxLayout;
    options->addWidget(activated_);
    options->addWidget(bankChanges_);
    options->addStretch(1);
    options->addWidget(new QLabel("Port:"));
    options->addWidget(port_);
    layout->addLayout(options);
    BuildButtons(layout);
}

void MidiCommandsWindow::BuildButtons(QVBoxLayout* layout) {
    auto* setValues = new QPushButton("Set values");
    setValues->setObjectName("SetValues");
    setValues->setToolTip(SetValuesHint);
    connect(setValues, &QPushButton::clicked, this, [this] {
        const Qt::KeyboardModifiers held = QGuiApplication::keyboardModifiers();
        SetValues(Modifiers{held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                            held.testFlag(Qt::AltModifier), true});
    });
    auto* close = new QPushButton("Close");
    connect(close, &QPushButton::clicked, this, [this] { hide(); });  // the edits are dropped: showing reads anew
    auto* load = new QPushButton("Load config.");
    connect(load, &QPushButton::clicked, this, [this] { AskFile(false); });
    auto* save = new QPushButton("Save config.");
    connect(save, &QPushButton::clicked, this, [this] { AskFile(true); });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {setValues, close, load, save}) buttons->addWidget(button);
    layout->addLayout(buttons);
}

void MidiCommandsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Send(desktop::RemoteRequest{A::Read});
}

void MidiCommandsWindow::SetValues(Modifiers modifiers) {
    desktop::RemoteRequest request{A::SetValues};
    request.Table = EditedTable();
    request.Ctrl = modifiers.Ctrl;
    request.Shift = modifiers.Shift;
    request.Alt = modifiers.Alt;
    Send(request);
}

remote::MidiCommandTable MidiCommandsWindow::EditedTable() const {
    remote::MidiCommandTable table;
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        const Row& row = rows_[n];
        table.Commands[n] = {row.Type->currentIndex(), row.Channel->value() - 1, row.Value->value(), row.Data->value()};
    }
    return table;
}

void MidiCommandsWindow::AskFile(bool save) {
    const QString name = QString::fromUtf8(remote::DefaultCommandFileName.data(),
                                           static_cast<int>(remote::DefaultCommandFileName.size()));
    QString path = save ? QFileDialog::getSaveFileName(this, "Save config.", name, CommandFiles)
                        : QFileDialog::getOpenFileName(this, "Load config.", name, CommandFiles);
    if (path.isEmpty()) return;
    if (save && !path.endsWith(".ccs", Qt::CaseInsensitive)) path += ".ccs";
    desktop::RemoteRequest request{save ? A::SaveFile : A::LoadFile};
    request.Text = path.toStdString();
    Send(request);
}

void MidiCommandsWindow::Send(desktop::RemoteRequest request) {
    link_.RemoteCommand(request, [self = QPointer<MidiCommandsWindow>(this)](const desktop::RemoteView& view) {
        if (self) self->Show(view);
    });
}

void MidiCommandsWindow::Show(const desktop::RemoteView& view) {
    showing_ = true;
    setWindowTitle(QString::fromStdString(view.Caption));
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        const remote::MidiCommand& command = view.Table.Commands[n];
        rows_[n].Type->setCurrentIndex(command.Type);
        rows_[n].Channel->setValue(command.Channel + 1);
        rows_[n].Value->setValue(command.Value);
        rows_[n].Data->setValue(command.Data);
    }
    activated_->setChecked(view.Activated);
    bankChanges_->setChecked(view.AllowBankChanges);
    port_->clear();
    for (const std::string& name : view.Ports) port_->addItem(QString::fromStdString(name));
    if (port_->count() == 0) port_->addItem(desktop::NoCommandPort);
    port_->setCurrentIndex(view.Port);
    showing_ = false;
    if (!view.Message.empty()) ShowRemoteMessage(this, view.Message);
}

}  // namespace chordella::ui
