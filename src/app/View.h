#pragma once
// What the core shows a person. The core calls these on the control thread; the desktop
// window queues them over to its own thread, the command line prints some of them, and
// tests record them. Every method has an empty default so a view shows only what it needs.

#include <string>

namespace chordella::app {

class View {
public:
    virtual ~View() = default;
    // The window title's variable part (style and song names).
    virtual void ShowTitle(const std::string& /*title*/) {}
    // A one-line status text ("Loading style ...", "Recording").
    virtual void ShowStatus(const std::string& /*text*/) {}
};

// A view that shows nothing (headless commands that print their own output).
class NullView final : public View {};

}  // namespace chordella::app
