#pragma once
// Message boxes, questions, input boxes and file dialogs, as an interface: the desktop
// window answers with real dialogs, the command line from its flags, tests from a script.

#include <functional>
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

    // The same questions without waiting. The answer arrives later through `then`, on the
    // thread that asked, and the caller's event loop keeps running meanwhile: a question the
    // desktop window shows never stops the ticks. The command line and the scripted prompter
    // answer at once; these defaults call the waiting forms above.
    using ConfirmAnswer = std::function<void(bool yes)>;
    using AskAnswer = std::function<void(Answer)>;
    using TextAnswer = std::function<void(std::optional<std::string>)>;
    virtual void ConfirmThen(const std::string& text, ConfirmAnswer then) { then(Confirm(text)); }
    virtual void AskThen(const std::string& text, AskAnswer then) { then(Ask(text)); }
    virtual void InputThen(const std::string& caption, const std::string& prompt, const std::string& initial,
                           TextAnswer then) {
        then(Input(caption, prompt, initial));
    }
    virtual void OpenFileThen(const std::string& title, const std::string& filter, const std::string& initialPath,
                              TextAnswer then) {
        then(OpenFile(title, filter, initialPath));
    }
    virtual void SaveFileThen(const std::string& title, const std::string& filter, const std::string& initialPath,
                              TextAnswer then) {
        then(SaveFile(title, filter, initialPath));
    }
    virtual void ChooseFolderThen(const std::string& title, const std::string& initialPath, TextAnswer then) {
        then(ChooseFolder(title, initialPath));
    }
};

}  // namespace chordella::platform
