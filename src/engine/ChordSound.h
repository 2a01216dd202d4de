#pragma once
// The sounds a chord makes besides the style: the chord code for other instruments, the
// tap for an external arranger, the harmonic pad and the chord played on the voice channel.

#include <array>
#include <cstdint>

namespace chordella::core { class Session; }

namespace chordella::engine {

using ChordNoteArray = std::array<std::int16_t, 4>;

// Control thread. The chord code on the chord-code output when " Send Chord Codes
// (Controllers #19,  #20)  to Ch." is ticked: controller 20 for types 1 … 10, 19 for 11 … 20.
void SendChordCode(core::Session& session, int root, int type) noexcept;

// Control thread. Note-on and note-off of the four notes on the main output, so that an
// external arranger picks the chord up while no style plays.
void TapChord(core::Session& session, const ChordNoteArray& notes) noexcept;

// Control thread. The harmonic pad follows the chord: the old pad notes end, the new ones
// (chord notes + the pad's octave) start at the channel's mixer volume less the fade.
void PlayHarmonicPad(core::Session& session, const ChordNoteArray& notes, int fadeAmount) noexcept;

// Control thread. The chord sounds on the voice channel ("Play Chords", the editor's
// "Acoustic chord control"); notes ≤ 0 only end the chord that sounds.
void PlayChordSound(core::Session& session, const ChordNoteArray& notes) noexcept;

// Control thread. The chord PlayChordSound sounds ends (the octave spinner's shift
// included); while the clock runs the voice channel is reset too.
void StopChordSound(core::Session& session) noexcept;

}  // namespace chordella::engine
