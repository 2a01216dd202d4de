#pragma once
// What the channel rules and the volume tools change outside the style itself: the main
// window's mute boxes, the mixer's copies of volume and reverb, the accompaniment output and
// the chord view's status line. The main window implements it; tests record through it.

#include <string>

namespace chordella::stylecreator {

class ChannelRulesLink {
public:
    virtual ~ChannelRulesLink() = default;
    // Control thread. `channel` is 0-based everywhere.
    virtual void SendController(int channel, int controller, int value) = 0;
    virtual bool IsMuted(int channel) const = 0;
    virtual void SetMuted(int channel, bool muted) = 0;
    virtual void SetMixerVolume(int channel, int value) = 0;
    virtual void SetMixerReverb(int channel, int value) = 0;
    // The status line of the chord view window.
    virtual void ShowStatus(const std::string& text) = 0;
    // The MIDI channels window: the instrument group "Basses" goes to `channel`.
    virtual void RedirectBasses(int channel) = 0;
};

// Channel rules applied to a style file alone, as conversions and batch runs do: the style
// is not the one that plays and no window shows it, so there is nothing outside it to change
// (no mute box, mixer bar or output belongs to it).
class OfflineChannelRules final : public ChannelRulesLink {
public:
    void SendController(int, int, int) override {}
    bool IsMuted(int) const override { return false; }
    void SetMuted(int, bool) override {}
    void SetMixerVolume(int, int) override {}
    void SetMixerReverb(int, int) override {}
    void ShowStatus(const std::string&) override {}
    void RedirectBasses(int) override {}
};

}  // namespace chordella::stylecreator
