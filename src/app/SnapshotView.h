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

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

inline constexpr std::string_view ProgramTitle = "Chordella";

// The song position of a style that plays without a song: measures and beats counted from
// its start, whatever part plays (a fill's pattern may lie in the style's ninth measure).
struct CountedPosition {
    int Measure = 0;  // 0 until the first beat
    int Beat = 0;
};

// Control thread. The measure and beat the clock display shows (0 when stopped or nothing
// plays, which `snapshot.Playing` says) and the beats per measure. A style without a song
// shows `counted` when given, else the position inside the part that plays.
void FillMeasureAndBeat(core::Session& session, const AppState& app, DisplaySnapshot& snapshot,
                        const CountedPosition* counted = nullptr);

class SnapshotView final : public core::View {
public:
    void ShowTitle(const std::string& title) override;
    void ShowStatus(const std::string& text) override;
    void ShowChord(std::string_view title, std::string_view name, bool inPanels) override;
    void ShowKey(std::string_view text) override;
    void ShowChordText(std::string_view text) override;
    void ShowClockPanel(int state) override;
    void ShowPartBeat(int counter, bool measureStart) override;
    void ShowTempo(int bpm) override;
    void ShowAccompanimentSwitch(std::string_view caption, std::string_view hint, int keyboardModeEntry) override;

    // Control thread. What the view was shown so far.
    const DisplaySnapshot& Shown() const { return shown_; }
    // The title's variable part (style and song names) as the core last gave it.
    const FixedText<160>& TitleSuffix() const { return titleSuffix_; }
    // Control thread. The style's beats counted since it started (Stop starts again).
    const CountedPosition& StylePosition() const { return stylePosition_; }

private:
    CountedPosition stylePosition_;
    DisplaySnapshot shown_;
    FixedText<160> titleSuffix_;
};

}  // namespace chordella::app
