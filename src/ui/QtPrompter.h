#pragma once
// The prompter of the desktop window: message boxes with the application title, Yes/No and
// Yes/No/Cancel questions, input boxes and file dialogs, all shown on the window's (GUI)
// thread. The core asks from its control thread and waits for the answer: the dialog is
// carried over to the GUI thread and the caller sleeps until it is answered. Asked on the
// GUI thread itself, the dialog runs at once.
//
// The non-waiting forms (ConfirmThen, AskThen, …) never stop the asking thread: the dialog
// is carried over to the GUI thread, and its answer is posted back to the control thread's
// event loop (SetAnswerLoop), where `then` runs. Until that loop is set they wait as above.
//
// Before the GUI thread waits for the control thread (at exit), Close() makes every question
// waiting or still to come answer as cancelled, so the two threads never wait for each other.
//
//   ui::QtPrompter prompter(&mainWindow);   // made on the GUI thread
//   session.SetPrompter(&prompter);         // asked on the control thread

#include <QString>
#include <functional>
#include <atomic>
#include <memory>

#include "platform/EventLoop.h"
#include "platform/Prompter.h"

class QObject;
class QWidget;

namespace chordella::ui {

// "Styles|*.vxs;*.VXS|All|*.*" → "Styles (*.vxs *.VXS);;All (*.*)".
QString QtFileFilter(const std::string& filter);

class QtPrompter : public platform::Prompter {
public:
    static constexpr const char* Title = "Chordella";

    // Made on the GUI thread; the dialogs are shown over `parent` (may be null).
    explicit QtPrompter(QWidget* parent = nullptr);
    ~QtPrompter() override;
    QtPrompter(const QtPrompter&) = delete;
    QtPrompter& operator=(const QtPrompter&) = delete;

    // GUI thread. The window the dialogs are shown over (may be null).
    void SetParentWindow(QWidget* parent);
    // Any thread. From now on questions from other threads are answered as cancelled.
    void Close();
    // Any thread. The control thread's loop, which receives the answers of the non-waiting
    // forms; it must outlive the prompter's use from that thread.
    void SetAnswerLoop(platform::EventLoop* loop);

    void Inform(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    platform::Answer Ask(const std::string& text) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                        const std::string& initialPath) override;
    std::optional<std::string> SaveFile(const std::string& title, const std::string& filter,
                                        const std::string& initialPath) override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initialPath) override;

    void ConfirmThen(const std::string& text, ConfirmAnswer then) override;
    void AskThen(const std::string& text, AskAnswer then) override;
    void InputThen(const std::string& caption, const std::string& prompt, const std::string& initial,
                   TextAnswer then) override;
    void OpenFileThen(const std::string& title, const std::string& filter, const std::string& initialPath,
                      TextAnswer then) override;
    void SaveFileThen(const std::string& title, const std::string& filter, const std::string& initialPath,
                      TextAnswer then) override;
    void ChooseFolderThen(const std::string& title, const std::string& initialPath, TextAnswer then) override;

private:
    struct Shared;
    // Runs `dialog` on the GUI thread and answers its result; `cancelled` after Close().
    template <typename T>
    T OnGuiThread(std::function<T(QWidget* parent)> dialog, T cancelled);
    // Runs `dialog` on the GUI thread and hands its result to `then` on the answer loop.
    template <typename T>
    void OnGuiThreadThen(std::function<T(QWidget* parent)> dialog, T cancelled, std::function<void(T)> then);

    // Lives in the GUI thread (the prompter is made there); the dialogs asked from other
    // threads run through it, and a question still queued dies with it.
    std::unique_ptr<QObject> home_;
    std::shared_ptr<Shared> shared_;
    std::atomic<platform::EventLoop*> answerLoop_{nullptr};
};

}  // namespace chordella::ui
