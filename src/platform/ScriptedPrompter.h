#pragma once
// A prompter for tests: answers from a queue the test fills, and records every text shown.

#include <deque>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace chordella::platform {

class ScriptedPrompter final : public Prompter {
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

    void Inform(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    Answer Ask(const std::string& text) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                        const std::string& initialPath) override;
    std::optional<std::string> SaveFile(const std::string& title, const std::string& filter,
                                        const std::string& initialPath) override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initialPath) override;

private:
    std::optional<std::string> NextText();
    Answer NextAnswer();

    std::deque<std::string> answers_;
    std::vector<std::string> shown_;
};

}  // namespace chordella::platform
