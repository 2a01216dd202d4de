#pragma once
// The desktop window's view: what the core shows is written into a plain display snapshot
// that belongs to the control thread. The window's host copies it out between ticks and
// publishes the copy to the window's thread (ui/ControlHost.h).
//
// The core calls every method on the control thread, several from inside the tick: each
// only copies into fixed-size fields — no allocation, no lock, no call into a toolkit.

#include <string>
#include <string_view>

#include "app/DisplaySnapshot.h"
#include "core/View.h"

namespace chordella::app {

inline constexpr std::string_view ProgramTitle = "Chordella";

class SnapshotView final : public core::View {
public:
    void ShowTitle(const std::string& title) override;
    void ShowStatus(const std::string& text) override;
    void ShowChord(std::string_view title, std::string_view name, bool inPanels) override;
    void ShowKey(std::string_view text) override;
    void ShowChordText(std::string_view text) override;
    void ShowClockPanel(int state) override;
    void ShowTempo(int bpm) override;
    void ShowAccompanimentSwitch(std::string_view caption, std::string_view hint, int keyboardModeEntry) override;

    // Control thread. What the view was shown so far.
    const DisplaySnapshot& Shown() const { return shown_; }
    // The title's variable part (style and song names) as the core last gave it.
    const FixedText<160>& TitleSuffix() const { return titleSuffix_; }

private:
    DisplaySnapshot shown_;
    FixedText<160> titleSuffix_;
};

}  // namespace chordella::app
