#pragma once
// The prompter of the command line: information goes to stderr, a question is answered
// Yes only when the user said so beforehand (--yes), dialogs are refused with a message.

#include <cstdio>

#include "platform/Prompter.h"

namespace chordella::app {

class ConsolePrompter final : public platform::Prompter {
public:
    explicit ConsolePrompter(bool assumeYes, std::FILE* out = stderr) : assumeYes_(assumeYes), out_(out) {}

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

private:
    std::optional<std::string> Refuse(const std::string& what);

    bool assumeYes_;
    std::FILE* out_;
};

}  // namespace chordella::app
