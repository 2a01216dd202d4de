#pragma once
// The sounds a chord makes besides the style: the chord code for other instruments, the
// tap for an external arranger, the harmonic pad and the chord played on the voice channel.

#include <array>
#include <cstdint>

#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "core/Options.h"

namespace chordella::midi { class MidiOut; }

namespace chordella::engine {

using ChordNoteArray = std::array<std::int16_t, 4>;

// Control thread. The chord code on the chord-code output when " Send Chord Codes
// (Controllers #19,  #20)  to Ch." is ticked: controller 20 for types 1 … 10, 19 for 11 … 20.
// `out` is the chord-code output.
void SendChordCode(midi::MidiOut* out, const core::Options& options, int root, int type) noexcept;

// Control thread. Note-on and note-off of the four notes on the main output, so that an
// external arranger picks the chord up while no style plays.
void TapChord(midi::MidiOut* out, const EngineState& engineState, const ChordNoteArray& notes) noexcept;

// Control thread. The harmonic pad follows the chord: the old pad notes end, the new ones
// (chord notes + the pad's octave) start at the channel's mixer volume less the fade.
void PlayHarmonicPad(midi::MidiOut* out, EngineState& engineState, const core::Options& options,
                     const ChordNoteArray& notes, int fadeAmount) noexcept;

// Control thread. The chord sounds on the voice channel ("Play Chords", the editor's
// "Acoustic chord control"); notes ≤ 0 only end the chord that sounds.
void PlayChordSound(midi::MidiOut* out, EngineState& engineState, const ClockState& clockState,
                    const ChordNoteArray& notes) noexcept;

// Control thread. The chord PlayChordSound sounds ends (the octave spinner's shift
// included); while the clock runs the voice channel is reset too.
void StopChordSound(midi::MidiOut* out, EngineState& engineState, const ClockState& clockState) noexcept;

}  // namespace chordella::engine
