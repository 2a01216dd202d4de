#pragma once
// The real desktop window over the real host and core, on a session with in-memory MIDI
// devices (see support/TestSession.h): a test clicks and types on the window and then
// looks at the core. Waiting for the control thread (Barrier) is for tests only.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/SnapshotView.h"
#include "core/Session.h"
#include "desktop/DesktopCore.h"
#include "midi/MemoryBackend.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"
#include "ui/ControlHost.h"
#include "ui/MainWindow.h"
#include "ui/QtTestApp.h"

namespace chordella::testing {

inline constexpr int SynthOutput = -1;

// The next file dialog that opens (modal, from a button or a menu item) is answered as a
// player would: `answer` gets the dialog (to look at where it starts) and returns the file
// to choose, or an empty text to cancel. A dialog still reading its folder may ignore an OK:
// the answer is given again until that dialog is gone.
inline void AnswerNextFileDialog(std::function<QString(QFileDialog&)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, answer = std::move(answer), target = QPointer<QFileDialog>(), file = QString()]() mutable {
                         auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                         if (target.isNull() && !file.isNull()) dialog = nullptr;  // the answered one is gone
                         if (file.isNull()) {
                             if (dialog == nullptr) return;
                             target = dialog;
                             file = answer(*dialog);
                             if (file.isNull()) file = "";
                         } else if (dialog == nullptr || dialog != target) {
                             poll->stop();
                             poll->deleteLater();
                             return;
                         }
                         if (file.isEmpty()) {
                             dialog->reject();
                         } else {
                             dialog->selectFile(file);
                             // A dialog whose folder is not read yet keeps the name field empty
                             // while it has the focus: the name is typed there, as a player would.
                             auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                             if (dialog->selectedFiles().isEmpty() && name != nullptr) name->setText(file);
                             static_cast<QDialog*>(dialog)->accept();  // the dialog's own check of the file runs
                         }
                     });
    poll->start();
}

// A menu caption as read, without its mnemonic marks and shortcut.
inline QString PlainCaption(QString caption) { return caption.remove('&').section('\t', 0, 0); }

// The item `caption` of a menu, a menu bar or a pop-up (mnemonics aside), or null.
inline QAction* ActionIn(const QWidget* menu, const QString& caption) {
    if (menu == nullptr) return nullptr;
    for (QAction* action : menu->actions())
        if (PlainCaption(action->text()) == PlainCaption(caption)) return action;
    return nullptr;
}

// The item `caption` of the menu named `menuName` inside `window` (mnemonics aside), or null.
inline QAction* MenuItem(QWidget& window, const char* menuName, const QString& caption) {
    return ActionIn(window.findChild<QMenu*>(menuName), caption);
}

// The top-level window named `name`, or null.
template <typename T = QWidget>
T* TopLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name) return dynamic_cast<T*>(widget);
    return nullptr;
}

// A click on row `row` of a list, scrolled into view first, as the user clicks it.
inline void ClickRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The shown top-level window named `name`, or null.
inline QWidget* ShownTopLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible()) return widget;
    return nullptr;
}

class WindowRig {
public:
    // `prepare` fills the data home before the program starts in it (lists, styles, settings).
    explicit WindowRig(const std::function<void(const std::string& home)>& prepare = {}) {
        QtTestApp();
        if (prepare) prepare(home_.Path());
        auto scripted = std::make_unique<chordella::testing::ScriptedPrompter>();
        prompter_ = scripted.get();
        core::SessionParts parts;
        parts.prompter = std::move(scripted);
        parts.paths = platform::Paths::InFolder(home_.Path());
        parts.seed = 1;
        parts.view = std::make_unique<app::SnapshotView>();
        auto backend = std::make_unique<midi::MemoryBackend>();
        midi_ = backend.get();
        midi_->AddInput("Memory In 1");
        midi_->AddInput("Memory In 2");
        for (const char* name : {"Memory Out 1", "Memory Out 2", "Memory Out 3"}) midi_->AddOutput(name);
        parts.midiBackend = std::move(backend);
        ui::HostSetup setup;
        setup.Lifecycle.ReadOnlyMedia = [] { return false; };
        host_ = std::make_unique<ui::ControlHost>(std::make_unique<core::Session>(std::move(parts)), setup);
        window_ = std::make_unique<ui::MainWindow>(*host_);
        window_->resize(1000, 640);
        window_->show();
        Settle();
    }

    ~WindowRig() {
        window_.reset();
        host_.reset();
    }

    ui::MainWindow& Window() { return *window_; }
    ui::ControlHost& Host() { return *host_; }

    // Lets the window deliver what is queued, then waits until the control thread has run
    // every request made so far. A request whose answer makes the window ask again (a view
    // read back) needs a second round.
    void Settle(int rounds = 1) {
        for (int round = 0; round < rounds; ++round) {
            QCoreApplication::processEvents();
            host_->Barrier([](desktop::DesktopCore&) {});
        }
    }

    // Settles until `done` holds, for a generous minute at most.
    bool WaitFor(const std::function<bool()>& done, int milliseconds = 60000) {
        return QTest::qWaitFor(
            [&] {
                Settle();
                return done();
            },
            milliseconds);
    }

    // What `read` answers from the core, run on the control thread once the window's
    // requests are through.
    template <typename Reader>
    auto Read(Reader&& read) {
        Settle();
        std::invoke_result_t<Reader, desktop::DesktopCore&> value{};
        host_->Barrier([&](desktop::DesktopCore& core) { value = read(core); });
        return value;
    }

    core::Options Options() {
        return Read([](desktop::DesktopCore& core) { return core.CurrentOptions(); });
    }

    // Opens one of the bundled styles ("bossa.vxs") on the control thread.
    bool OpenBundledStyle(const std::string& name) {
        return Read([&](desktop::DesktopCore& core) { return core.OpenStyle(AssetsFolder() + "/styles/" + name); });
    }

    // Triggers the item `caption` of any of the window's menus (mnemonics aside).
    void TriggerMenu(const QString& caption) {
        for (QMenu* menu : window_->menuBar()->findChildren<QMenu*>())
            if (QAction* action = ActionIn(menu, caption)) return action->trigger();
        ADD_FAILURE() << "no menu item " << caption.toStdString();
    }

    // What the core would show now (filled on the control thread).
    app::DisplaySnapshot Shown() {
        Settle();
        app::DisplaySnapshot snapshot;
        host_->Barrier([&](desktop::DesktopCore& core) { core.FillSnapshot(snapshot); });
        return snapshot;
    }

    // The messages sent on an output so far, read on the control thread.
    std::vector<midi::SentMessage> Sent(int output) {
        Settle();
        std::vector<midi::SentMessage> sent;
        host_->Barrier([&](desktop::DesktopCore&) { sent = midi_->Sent(output); });
        return sent;
    }

    void ClearSent(int output) {
        Settle();
        host_->Barrier([&](desktop::DesktopCore&) { midi_->ClearSent(output); });
    }

    // Note-ons (velocity > 0) sent on an output: (note, velocity) pairs.
    std::vector<std::pair<int, int>> NoteOns(int output) {
        std::vector<std::pair<int, int>> notes;
        for (const auto& m : Sent(output))
            if ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) != 0)
                notes.emplace_back(static_cast<int>((m.Packed >> 8) & 0x7F), static_cast<int>((m.Packed >> 16) & 0x7F));
        return notes;
    }

    chordella::testing::ScriptedPrompter& Prompter() { return *prompter_; }

private:
    TempFolder home_;
    chordella::testing::ScriptedPrompter* prompter_ = nullptr;
    midi::MemoryBackend* midi_ = nullptr;
    std::unique_ptr<ui::ControlHost> host_;
    std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace chordella::testing
