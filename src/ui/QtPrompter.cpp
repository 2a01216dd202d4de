#include "ui/QtPrompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <condition_variable>
#include <mutex>

namespace chordella::ui {

struct QtPrompter::Shared {
    QPointer<QWidget> Parent;  // GUI thread only
    std::mutex Mutex;
    std::condition_variable Answered;
    bool Closed = false;
};

namespace {

enum FileMode { OpenMode, SaveMode };

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::function<bool(QWidget*)> ConfirmDialog(const std::string& text) {
    return [text](QWidget* parent) {
        QMessageBox box(QMessageBox::Question, QtPrompter::Title, Text(text), QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
}

std::function<platform::Answer(QWidget*)> AskDialog(const std::string& text) {
    return [text](QWidget* parent) {
        QMessageBox box(QMessageBox::Question, QtPrompter::Title, Text(text),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
            case QMessageBox::Yes: return platform::Answer::Yes;
            case QMessageBox::No: return platform::Answer::No;
            default: return platform::Answer::Cancel;
        }
    };
}

using TextDialog = std::function<std::optional<std::string>(QWidget*)>;

TextDialog InputDialog(const std::string& caption, const std::string& prompt, const std::string& initial) {
    return [caption, prompt, initial](QWidget* parent) -> std::optional<std::string> {
        QInputDialog box(parent);
        box.setWindowTitle(Text(caption));
        box.setLabelText(Text(prompt));
        box.setTextValue(Text(initial));
        if (box.exec() != QDialog::Accepted) return std::nullopt;
        return box.textValue().toStdString();
    };
}

TextDialog FileDialogOf(FileMode mode, const std::string& title, const std::string& filter,
                        const std::string& initialPath) {
    return [mode, title, filter, initialPath](QWidget* parent) -> std::optional<std::string> {
        QFileDialog box(parent, Text(title), Text(initialPath), QtFileFilter(filter));
        if (mode == SaveMode) {
            box.setAcceptMode(QFileDialog::AcceptSave);
            box.setFileMode(QFileDialog::AnyFile);
        } else {
            box.setAcceptMode(QFileDialog::AcceptOpen);
            box.setFileMode(QFileDialog::ExistingFile);
        }
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::nullopt;
        return box.selectedFiles().front().toStdString();
    };
}

TextDialog FolderDialog(const std::string& title, const std::string& initialPath) {
    return [title, initialPath](QWidget* parent) -> std::optional<std::string> {
        QFileDialog box(parent, Text(title), Text(initialPath));
        box.setFileMode(QFileDialog::Directory);
        box.setOption(QFileDialog::ShowDirsOnly, true);
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::nullopt;
        return box.selectedFiles().front().toStdString();
    };
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = Text(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) pattern = pattern.trimmed();
        entries << QString("%1 (%2)").arg(parts[i].trimmed(), patterns.join(' '));
    }
    // A lone description without patterns still names something the user can pick.
    if (parts.size() % 2 == 1 && !parts.back().trimmed().isEmpty() && entries.isEmpty())
        entries << parts.back().trimmed();
    return entries.join(";;");
}

QtPrompter::QtPrompter(QWidget* parent) : home_(std::make_unique<QObject>()), shared_(std::make_shared<Shared>()) {
    shared_->Parent = parent;
}

void QtPrompter::SetParentWindow(QWidget* parent) { shared_->Parent = parent; }

QtPrompter::~QtPrompter() {
    Close();
    // A question still queued dies with `home_`; away from its thread it is deleted there.
    if (QThread::currentThread() != home_->thread()) home_.release()->deleteLater();
}

void QtPrompter::Close() {
    {
        const std::lock_guard<std::mutex> lock(shared_->Mutex);
        shared_->Closed = true;
    }
    shared_->Answered.notify_all();
}

template <typename T>
T QtPrompter::OnGuiThread(std::function<T(QWidget*)> dialog, T cancelled) {
    if (QThread::currentThread() == home_->thread()) return dialog(shared_->Parent);

    struct Reply {
        bool Done = false;
        bool Abandoned = false;
        T Value{};
    };
    auto reply = std::make_shared<Reply>();
    auto shared = shared_;
    {
        const std::lock_guard<std::mutex> lock(shared->Mutex);
        if (shared->Closed) return cancelled;
    }
    QMetaObject::invokeMethod(
        home_.get(),
        [reply, shared, dialog = std::move(dialog)] {
            {
                const std::lock_guard<std::mutex> lock(shared->Mutex);
                if (reply->Abandoned || shared->Closed) return;  // nobody waits: show nothing
            }
            T value = dialog(shared->Parent);
            {
                const std::lock_guard<std::mutex> lock(shared->Mutex);
                reply->Value = std::move(value);
                reply->Done = true;
            }
            shared->Answered.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock<std::mutex> lock(shared->Mutex);
    shared->Answered.wait(lock, [&] { return reply->Done || shared->Closed; });
    if (reply->Done) return std::move(reply->Value);
    reply->Abandoned = true;
    return cancelled;
}

void QtPrompter::SetAnswerLoop(platform::EventLoop* loop) { answerLoop_.store(loop); }

template <typename T>
void QtPrompter::OnGuiThreadThen(std::function<T(QWidget*)> dialog, T cancelled, std::function<void(T)> then) {
    platform::EventLoop* loop = answerLoop_.load();
    if (loop == nullptr || QThread::currentThread() == home_->thread()) {
        then(OnGuiThread<T>(std::move(dialog), std::move(cancelled)));
        return;
    }
    auto shared = shared_;
    QMetaObject::invokeMethod(
        home_.get(),
        [shared, loop, dialog = std::move(dialog), cancelled = std::move(cancelled), then = std::move(then)] {
            bool closed = false;
            {
                const std::lock_guard<std::mutex> lock(shared->Mutex);
                closed = shared->Closed;
            }
            T value = closed ? cancelled : dialog(shared->Parent);
            loop->Post([then, value = std::move(value)] { then(value); });
        },
        Qt::QueuedConnection);
}

void QtPrompter::Inform(const std::string& text) {
    OnGuiThread<bool>(
        [text](QWidget* parent) {
            QMessageBox box(QMessageBox::Information, Title, Text(text), QMessageBox::Ok, parent);
            box.exec();
            return true;
        },
        false);
}

bool QtPrompter::Confirm(const std::string& text) { return OnGuiThread<bool>(ConfirmDialog(text), false); }

platform::Answer QtPrompter::Ask(const std::string& text) {
    return OnGuiThread<platform::Answer>(AskDialog(text), platform::Answer::Cancel);
}

std::optional<std::string> QtPrompter::Input(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) {
    return OnGuiThread<std::optional<std::string>>(InputDialog(caption, prompt, initial), std::nullopt);
}

std::optional<std::string> QtPrompter::OpenFile(const std::string& title, const std::string& filter,
                                                const std::string& initialPath) {
    return OnGuiThread<std::optional<std::string>>(FileDialogOf(OpenMode, title, filter, initialPath), std::nullopt);
}

std::optional<std::string> QtPrompter::SaveFile(const std::string& title, const std::string& filter,
                                                const std::string& initialPath) {
    return OnGuiThread<std::optional<std::string>>(FileDialogOf(SaveMode, title, filter, initialPath), std::nullopt);
}

std::optional<std::string> QtPrompter::ChooseFolder(const std::string& title, const std::string& initialPath) {
    return OnGuiThread<std::optional<std::string>>(FolderDialog(title, initialPath), std::nullopt);
}

void QtPrompter::ConfirmThen(const std::string& text, ConfirmAnswer then) {
    OnGuiThreadThen<bool>(ConfirmDialog(text), false, std::move(then));
}

void QtPrompter::AskThen(const std::string& text, AskAnswer then) {
    OnGuiThreadThen<platform::Answer>(AskDialog(text), platform::Answer::Cancel, std::move(then));
}

void QtPrompter::InputThen(const std::string& caption, const std::string& prompt, const std::string& initial,
                           TextAnswer then) {
    OnGuiThreadThen<std::optional<std::string>>(InputDialog(caption, prompt, initial), std::nullopt, std::move(then));
}

void QtPrompter::OpenFileThen(const std::string& title, const std::string& filter, const std::string& initialPath,
                              TextAnswer then) {
    OnGuiThreadThen<std::optional<std::string>>(FileDialogOf(OpenMode, title, filter, initialPath), std::nullopt,
                                                std::move(then));
}

void QtPrompter::SaveFileThen(const std::string& title, const std::string& filter, const std::string& initialPath,
                              TextAnswer then) {
    OnGuiThreadThen<std::optional<std::string>>(FileDialogOf(SaveMode, title, filter, initialPath), std::nullopt,
                                                std::move(then));
}

void QtPrompter::ChooseFolderThen(const std::string& title, const std::string& initialPath, TextAnswer then) {
    OnGuiThreadThen<std::optional<std::string>>(FolderDialog(title, initialPath), std::nullopt, std::move(then));
}

}  // namespace chordella::ui
