#include "app/ConsolePrompter.h"

namespace chordella::app {

void ConsolePrompter::Inform(const std::string& text) { std::fprintf(out_, "%s\n", text.c_str()); }

bool ConsolePrompter::Confirm(const std::string& text) {
    std::fprintf(out_, "%s %s\n", text.c_str(), assumeYes_ ? "Yes (--yes)" : "No (pass --yes to answer Yes)");
    return assumeYes_;
}

platform::Answer ConsolePrompter::Ask(const std::string& text) {
    return Confirm(text) ? platform::Answer::Yes : platform::Answer::No;
}

std::optional<std::string> ConsolePrompter::Refuse(const std::string& what) {
    std::fprintf(out_, "%s: not available on the command line\n", what.c_str());
    return std::nullopt;
}

std::optional<std::string> ConsolePrompter::Input(const std::string& caption, const std::string&,
                                                  const std::string& initial) {
    if (assumeYes_) return initial;  // the default entry, as pressing OK would give
    return Refuse(caption);
}

std::optional<std::string> ConsolePrompter::OpenFile(const std::string& title, const std::string&,
                                                     const std::string&) {
    return Refuse(title);
}

std::optional<std::string> ConsolePrompter::SaveFile(const std::string& title, const std::string&,
                                                     const std::string&) {
    return Refuse(title);
}

std::optional<std::string> ConsolePrompter::ChooseFolder(const std::string& title, const std::string&) {
    return Refuse(title);
}

}  // namespace chordella::app
