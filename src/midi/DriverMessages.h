#pragma once
// What the MIDI and audio libraries say (RtMidi, JACK, ALSA, FluidSynth). Their error
// hooks are process-wide C callbacks, so their messages are collected here instead of
// being printed on stderr; the program shows them where it reports a failure.

#include <string>
#include <string_view>
#include <vector>

namespace chordella::midi {

// Any thread, but not a real-time callback (it allocates and locks).
void NoteDriverMessage(std::string_view source, std::string_view text);
// Control thread: the messages noted since the last call, oldest first (at most 64 kept).
std::vector<std::string> TakeDriverMessages();
// The most recent message, or "".
std::string LastDriverMessage();

// Control thread, before any JACK or ALSA client starts: routes their messages here and
// keeps libjack from starting a server (JACK_NO_START_SERVER). Safe to call again.
void CaptureDriverMessages();

}  // namespace chordella::midi
