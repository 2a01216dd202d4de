#pragma once
// What the core shows a person. The core calls these on the control thread; the desktop
// window queues them over to its own thread, the command line prints some of them, and
// tests record them. Every method has an empty default so a view shows only what it needs.

#include <string>
#include <string_view>

namespace chordella::core {

class View {
public:
    virtual ~View() = default;
    // The window title's variable part (style and song names).
    virtual void ShowTitle(const std::string& /*title*/) {}
    // A one-line status text ("Loading style ...", "Recording").
    virtual void ShowStatus(const std::string& /*text*/) {}
    // A chord was set or received: the main window's whole title ("Chordella  -  Chord : C maj")
    // and the chord's name, which the chord panel and the chord view show too when inPanels
    // is set and they are visible.
    virtual void ShowChord(std::string_view /*title*/, std::string_view /*name*/, bool /*inPanels*/) {}
    // A key mark's name for the chord view ("Key: Eb maj").
    virtual void ShowKey(std::string_view /*text*/) {}
    // The chord-type pad that chose a one-time type override is painted white again.
    virtual void ReleaseChordTypePad() {}
    // " Melody Ad Lib" changed other than by its own check box: boxes and menu item follow.
    virtual void ShowMelodyAdLib(bool /*on*/) {}

    // Transport and sections. These are called from inside the tick: they must only queue
    // what they show, and the texts passed are constants.
    // The chord display shows a word instead of a chord ("ENDING"); empty clears the displays.
    virtual void ShowChordText(std::string_view /*text*/) {}
    // The style creator's part selector: the part that plays, or greyed when it is absent.
    virtual void ShowPartSelector(int /*part*/, bool /*greyed*/) {}
    // The creator's beat display: the running beat counter, accented on a measure's first beat.
    virtual void ShowPartBeat(int /*counter*/, bool /*measureStart*/) {}
    // The clock panel's colour: 0 stopped, 1 running, 2 waiting for an external start.
    virtual void ShowClockPanel(int /*state*/) {}
    // The tempo field.
    virtual void ShowTempo(int /*bpm*/) {}
    // The accompaniment button ("K" / "A"), its hint, and the keyboard mode selector's entry.
    virtual void ShowAccompanimentSwitch(std::string_view /*caption*/, std::string_view /*hint*/,
                                         int /*keyboardModeEntry*/) {}
};

// A view that shows nothing (headless commands that print their own output).
class NullView final : public View {};

}  // namespace chordella::core
