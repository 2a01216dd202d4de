#pragma once
// The engine's settings that the window, the songlist player and the loaded style's rules
// change: the mutes and the solo filter the style player obeys, the player's voice channel
// and keyboard octave, and the channel volumes a songlist entry holds for its song.
//
// Control thread. A value outside its range changes nothing.

#include "engine/EngineState.h"

namespace chordella::midi {
class ControllerTable;
class MidiOut;
}  // namespace chordella::midi

namespace chordella::engine {

// Channel 0 … 15.
void SetChannelMute(EngineState& engineState, int channel, bool muted) noexcept;
bool ChannelMuted(const EngineState& engineState, int channel) noexcept;

// 0 = every channel plays, 1 … 16 = only that channel.
void SetSoloFilter(EngineState& engineState, int filter) noexcept;

// The channel the player's own notes go to (0 … 15).
void SetVoiceChannel(EngineState& engineState, int channel) noexcept;

// The octave spinner of the keyboard transposition (−3 … 4).
void SetKeyboardOctave(EngineState& engineState, int octaves) noexcept;

// The style's own volume events on `channel` (0 … 15) play at `volume` (0 … 127) until the
// held volumes are released.
void HoldVolume(EngineState& engineState, int channel, int volume) noexcept;
void ReleaseHeldVolumes(EngineState& engineState) noexcept;

// Sends `channel`'s settings again as the controller table last saw them: bank select
// (controllers 0 and 32), the program, and the mixer's volume, pan, reverb and chorus
// (7, 10, 91, 93). What the table does not know is not sent. "Reset Controllers" uses it for
// the player's voice channel, whose sound should survive the reset.
void ResendChannelSettings(midi::MidiOut* out, const midi::ControllerTable& table, int channel) noexcept;

}  // namespace chordella::engine
