#include "support/ScriptedPrompter.h"

#include <algorithm>

namespace chordella::testing {

bool ScriptedPrompter::WasShown(const std::string& text) const {
    return std::find(shown_.begin(), shown_.end(), text) != shown_.end();
}

std::optional<std::string> ScriptedPrompter::NextText() {
    if (answers_.empty()) return std::nullopt;
    std::string next = std::move(answers_.front());
    answers_.pop_front();
    if (next == "\x01C" || next == "\x01N") return std::nullopt;
    return next;
}

platform::Answer ScriptedPrompter::NextAnswer() {
    if (answers_.empty()) return platform::Answer::No;
    const std::string next = std::move(answers_.front());
    answers_.pop_front();
    if (next == "\x01Y") return platform::Answer::Yes;
    if (next == "\x01C") return platform::Answer::Cancel;
    return platform::Answer::No;
}

void ScriptedPrompter::Inform(const std::string& text) { shown_.push_back(text); }

bool ScriptedPrompter::Confirm(const std::string& text) {
    shown_.push_back(text);
    return NextAnswer() == platform::Answer::Yes;
}

platform::Answer ScriptedPrompter::Ask(const std::string& text) {
    shown_.push_back(text);
    return NextAnswer();
}

std::optional<std::string> ScriptedPrompter::Input(const std::string& caption, const std::string& prompt,
                                                   const std::string&) {
    shown_.push_back(caption + ": " + prompt);
    return NextText();
}

std::optional<std::string> ScriptedPrompter::OpenFile(const std::string& title, const std::string&,
                                                      const std::string&) {
    shown_.push_back(title);
    return NextText();
}

std::optional<std::string> ScriptedPrompter::SaveFile(const std::string& title, const std::string&,
                                                      const std::string&) {
    shown_.push_back(title);
    return NextText();
}

std::optional<std::string> ScriptedPrompter::ChooseFolder(const std::string& title, const std::string&) {
    shown_.push_back(title);
    return NextText();
}

void ScriptedPrompter::Hold(const std::string& text, std::function<void()> answer) {
    shown_.push_back(text);
    if (hold_) {
        held_.push_back(std::move(answer));
    } else {
        answer();
    }
}

bool ScriptedPrompter::AnswerHeld() {
    if (held_.empty()) return false;
    std::function<void()> answer = std::move(held_.front());
    held_.pop_front();
    answer();
    return true;
}

void ScriptedPrompter::ConfirmThen(const std::string& text, ConfirmAnswer then) {
    Hold(text, [this, then = std::move(then)] { then(NextAnswer() == platform::Answer::Yes); });
}

void ScriptedPrompter::AskThen(const std::string& text, AskAnswer then) {
    Hold(text, [this, then = std::move(then)] { then(NextAnswer()); });
}

void ScriptedPrompter::InputThen(const std::string& caption, const std::string& prompt, const std::string&,
                                 TextAnswer then) {
    Hold(caption + ": " + prompt, [this, then = std::move(then)] { then(NextText()); });
}

void ScriptedPrompter::OpenFileThen(const std::string& title, const std::string&, const std::string&,
                                    TextAnswer then) {
    Hold(title, [this, then = std::move(then)] { then(NextText()); });
}

void ScriptedPrompter::SaveFileThen(const std::string& title, const std::string&, const std::string&,
                                    TextAnswer then) {
    Hold(title, [this, then = std::move(then)] { then(NextText()); });
}

void ScriptedPrompter::ChooseFolderThen(const std::string& title, const std::string&, TextAnswer then) {
    Hold(title, [this, then = std::move(then)] { then(NextText()); });
}

}  // namespace chordella::testing
