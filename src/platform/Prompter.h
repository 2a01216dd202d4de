#pragma once
// Message boxes, questions, input boxes and file dialogs, as an interface: the desktop
// window answers with real dialogs, the command line from its flags, tests from a script.

#include <optional>
#include <string>

namespace chordella::platform {

enum class Answer { Yes, No, Cancel };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Information box with the application title ("... !" texts).
    virtual void Inform(const std::string& text) = 0;
    // Yes/No question ("... ?" texts); true on Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // Yes/No/Cancel question.
    virtual Answer Ask(const std::string& text) = 0;
    // Input box; nullopt when cancelled.
    virtual std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) = 0;
    // File dialogs; `filter` is "Description|*.ext;*.ext2|Other|*.x". nullopt when cancelled.
    virtual std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                                const std::string& initialPath) = 0;
    virtual std::optional<std::string> SaveFile(const std::string& title, const std::string& filter,
                                                const std::string& initialPath) = 0;
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initialPath) = 0;
};

}  // namespace chordella::platform
