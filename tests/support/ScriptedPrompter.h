#pragma once
// A prompter for tests: answers from a queue the test fills, and records every text shown.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace chordella::testing {

class ScriptedPrompter final : public platform::Prompter {
public:
    // Queue the answers in the order the program will ask. When the queue is empty a
    // question is answered No / Cancel and a dialog is cancelled.
    void AnswerYes() { answers_.push_back("\x01Y"); }
    void AnswerNo() { answers_.push_back("\x01N"); }
    void AnswerCancel() { answers_.push_back("\x01C"); }
    void AnswerText(std::string text) { answers_.push_back(std::move(text)); }

    // Every text the program showed or asked, in order (dialog titles for file dialogs).
    const std::vector<std::string>& Shown() const { return shown_; }
    bool WasShown(const std::string& text) const;
    void ClearShown() { shown_.clear(); }
    std::size_t PendingAnswers() const { return answers_.size(); }

    // A user who takes their time: while holding, the non-waiting forms (ConfirmThen, …)
    // show their text at once but keep the question open until the test calls AnswerHeld();
    // the waiting forms still answer at once.
    void HoldQuestions(bool hold) { hold_ = hold; }
    std::size_t HeldQuestions() const { return held_.size(); }
    // Answers the oldest open question from the queue (its callback runs now); false when
    // no question is open.
    bool AnswerHeld();

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
    // Shows `text`, then answers through `answer` now or, while holding, at AnswerHeld().
    void Hold(const std::string& text, std::function<void()> answer);

    std::optional<std::string> NextText();
    platform::Answer NextAnswer();

    std::deque<std::string> answers_;
    std::vector<std::string> shown_;
    std::deque<std::function<void()>> held_;
    bool hold_ = false;
};

}  // namespace chordella::testing
