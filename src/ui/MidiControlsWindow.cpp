#include "ui/MidiControlsWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/MidiCommandsWindow.h"

namespace chordella::ui {

namespace {

using A = desktop::RemoteAction;

constexpr std::array<const char*, 12> IndicatorHints{
    "Start/Stop",   "Next song",     "New chords",            "New style",   "PAD on/off", "Program changes dissabled/enabled",
    "ADLIB on/off", "Key adjustment on/off", "Fill in", "To extended", "To basic",   "Ending"};
constexpr int PollMillis = 200;
constexpr int IndicatorColumns = 12;

}  // namespace

MidiControlsWindow::MidiControlsWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("MidiControlsWindow");
    setWindowTitle(MidiControlsCaption);
    setToolTip("Port: MIDI in");
    auto* layout = new QVBoxLayout(this);

    auto* indicators = new QGridLayout;
    for (int code = 0; code < remote::IndicatorCount; ++code) {
        auto* box = new QCheckBox(QString("%1").arg(code + 1, 2, 10, QChar('0')));
        box->setTristate(true);
        // An indicator shows; it is not a switch of its own.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        if (code < static_cast<int>(IndicatorHints.size())) box->setToolTip(IndicatorHints[static_cast<std::size_t>(code)]);
        indicators_[static_cast<std::size_t>(code)] = box;
        indicators->addWidget(box, code / IndicatorColumns, code % IndicatorColumns);
    }
    layout->addLayout(indicators);

    auto* group = new QGroupBox("Learn: press \"Learn\", then the pedal, pad or key on the second input");
    auto* inner = new QWidget;
    lines_ = new QGridLayout(inner);
    auto* scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(scroll);
    layout->addWidget(group, 1);

    poll_ = new QTimer(this);
    poll_->setInterval(PollMillis);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (!waiting_) Send(desktop::RemoteRequest{A::Read});
    });
    resize(640, 520);
}

void MidiControlsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Send(desktop::RemoteRequest{A::Read});
    poll_->start();
}

void MidiControlsWindow::hideEvent(QHideEvent* event) {
    poll_->stop();
    // A learn left waiting would take the next pedal press while nobody looks.
    if (learning_ >= 0) Send(desktop::RemoteRequest{A::CancelLearn});
    QWidget::hideEvent(event);
}

void MidiControlsWindow::PassKey(QKeyEvent* event) {
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (main == nullptr) return;
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat());
    QCoreApplication::sendEvent(main, &copy);
}

void MidiControlsWindow::keyPressEvent(QKeyEvent* event) { PassKey(event); }
void MidiControlsWindow::keyReleaseEvent(QKeyEvent* event) { PassKey(event); }

void MidiControlsWindow::Send(desktop::RemoteRequest request) {
    waiting_ = true;
    link_.RemoteCommand(request, [self = QPointer<MidiControlsWindow>(this)](const desktop::RemoteView& view) {
        if (!self) return;
        self->waiting_ = false;
        self->Show(view);
    });
}

QPushButton* MidiControlsWindow::LearnButton(int function) const {
    for (const Line& line : shown_)
        if (line.Function == function) return line.Learn;
    return nullptr;
}

QString MidiControlsWindow::BoundText(int function) const {
    for (const Line& line : shown_)
        if (line.Function == function) return line.Bound->text();
    return {};
}

void MidiControlsWindow::BuildLines(const desktop::RemoteView& view) {
    for (const desktop::RemoteBindingLine& binding : view.Bindings) {
        const int function = binding.Function;
        Line line{function, new QLabel, new QPushButton("Learn")};
        line.Learn->setObjectName(QString("Learn%1").arg(function));
        connect(line.Learn, &QPushButton::clicked, this, [this, function] {
            desktop::RemoteRequest request{learning_ == function ? A::CancelLearn : A::Learn};
            request.Function = function;
            Send(request);
        });
        auto* forget = new QPushButton("Forget");
        connect(forget, &QPushButton::clicked, this, [this, function] {
            desktop::RemoteRequest request{A::Forget};
            request.Function = function;
            Send(request);
        });
        const int row = static_cast<int>(shown_.size());
        lines_->addWidget(new QLabel(QString::fromStdString(binding.Name)), row, 0);
        lines_->addWidget(line.Bound, row, 1);
        lines_->addWidget(line.Learn, row, 2);
        lines_->addWidget(forget, row, 3);
        shown_.push_back(line);
    }
    lines_->setColumnStretch(1, 1);
}

void MidiControlsWindow::Show(const desktop::RemoteView& view) {
    for (std::size_t code = 0; code < indicators_.size(); ++code)
        indicators_[code]->setCheckState(view.Indicators[code] ? Qt::PartiallyChecked : Qt::Unchecked);
    if (shown_.empty()) BuildLines(view);
    learning_ = view.Learning;
    for (std::size_t i = 0; i < shown_.size() && i < view.Bindings.size(); ++i) {
        const Line& line = shown_[i];
        const bool learning = line.Function == view.Learning;
        line.Bound->setText(learning ? "Waiting for a note, controller or program change ..."
                                     : QString::fromStdString(view.Bindings[i].Messages));
        line.Learn->setText(learning ? "Cancel" : "Learn");
    }
    if (!view.Message.empty()) ShowRemoteMessage(this, view.Message);
}

}  // namespace chordella::ui
