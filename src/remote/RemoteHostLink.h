#pragma once
// What the remote control asks of the program around it that neither the transport nor the
// session offers: the functions of windows (a new song, the chord progression generator,
// another style, the editor's program changes, melody playback), the songlist's next song
// and the main window's instrument list. The desktop window and the headless arranger
// implement it; NoRemoteHost is the visible stand-in when nothing is connected.
//
// Control thread only.

#include <cstdint>

namespace chordella::remote {

class RemoteHostLink {
public:
    virtual ~RemoteHostLink() = default;
    // Program-control functions 3, 12, 13, 14, 22 and NextSongFunction. False when this
    // host does not offer the function.
    virtual bool RunHostFunction(int number) = 0;
    // Entry `entry` of the instrument list is chosen, as if the user had chosen it.
    virtual bool SelectInstrument(int entry) = 0;
    // The chord-memory editor is busy (program changes are then not switched).
    virtual bool EditorBusy() = 0;
};

// No host: nothing is run, and what was asked is counted so that a test (or the status
// line) can see that the seam is not connected.
class NoRemoteHost final : public RemoteHostLink {
public:
    bool RunHostFunction(int /*number*/) override {
        ++Unanswered;
        return false;
    }
    bool SelectInstrument(int /*entry*/) override {
        ++Unanswered;
        return false;
    }
    bool EditorBusy() override { return false; }
    std::uint64_t Unanswered = 0;
};

}  // namespace chordella::remote
