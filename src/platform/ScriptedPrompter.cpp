#include "platform/ScriptedPrompter.h"

#include <algorithm>

namespace chordella::platform {

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

Answer ScriptedPrompter::NextAnswer() {
    if (answers_.empty()) return Answer::No;
    const std::string next = std::move(answers_.front());
    answers_.pop_front();
    if (next == "\x01Y") return Answer::Yes;
    if (next == "\x01C") return Answer::Cancel;
    return Answer::No;
}

void ScriptedPrompter::Inform(const std::string& text) { shown_.push_back(text); }

bool ScriptedPrompter::Confirm(const std::string& text) {
    shown_.push_back(text);
    return NextAnswer() == Answer::Yes;
}

Answer ScriptedPrompter::Ask(const std::string& text) {
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

}  // namespace chordella::platform
