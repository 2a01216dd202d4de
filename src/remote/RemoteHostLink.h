#pragma once
// What the remote control asks of the program around it that neither the transport nor the
// session offers: the functions of windows (a new song, the chord progression generator,
// another style, the editor's program changes, melody playback), the songlist's next song
// and the main window's instrument list. The desktop window implements it; without a window
// (the headless arranger) the remote control has no host, and these functions are not there.
//
// Control thread only.

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

}  // namespace chordella::remote
