#pragma once
// The prompter of work nobody watches: commands that load, convert, render or batch files.
// Nobody is there to answer, so a question is answered No, a dialog is cancelled and nothing
// waits; every text shown is kept, so the caller can report what went wrong in its own words
// ("FILE: reason" on stderr, a batch log line, a window's status).

#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace chordella::platform {

class RecordingPrompter final : public Prompter {
public:
    // Every text shown or asked, in order (a file dialog's title for a dialog).
    const std::vector<std::string>& Shown() const { return shown_; }
    void ClearShown() { shown_.clear(); }
    // The last text shown, or `otherwise` when nothing was.
    std::string LastShown(const std::string& otherwise) const { return shown_.empty() ? otherwise : shown_.back(); }

    void Inform(const std::string& text) override { shown_.push_back(text); }
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
    std::vector<std::string> shown_;
};

}  // namespace chordella::platform
