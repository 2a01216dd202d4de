#include "platform/RecordingPrompter.h"

namespace chordella::platform {

bool RecordingPrompter::Confirm(const std::string& text) {
    shown_.push_back(text);
    return false;
}

Answer RecordingPrompter::Ask(const std::string& text) {
    shown_.push_back(text);
    return Answer::No;
}

std::optional<std::string> RecordingPrompter::Input(const std::string& caption, const std::string& prompt,
                                                    const std::string&) {
    shown_.push_back(caption + ": " + prompt);
    return std::nullopt;
}

std::optional<std::string> RecordingPrompter::OpenFile(const std::string& title, const std::string&,
                                                       const std::string&) {
    shown_.push_back(title);
    return std::nullopt;
}

std::optional<std::string> RecordingPrompter::SaveFile(const std::string& title, const std::string&,
                                                       const std::string&) {
    shown_.push_back(title);
    return std::nullopt;
}

std::optional<std::string> RecordingPrompter::ChooseFolder(const std::string& title, const std::string&) {
    shown_.push_back(title);
    return std::nullopt;
}

}  // namespace chordella::platform
