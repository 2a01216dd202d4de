#pragma once
// The small musical notation of the asset sources: note names, positions counted the way a
// musician counts ("2.3&" = measure 2, the eighth after beat 3), note lengths, drum names
// and chord names. Every parser answers false with a reason naming the text it refused.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::tools {

inline constexpr int TicksPerBeat = 24;

// "C4" = 60 (middle C), "F#2" = 42, "Bb1" = 34.
bool ParsePitch(std::string_view text, int& note, std::string& error);
// "E3+G3+C4": one or more pitches joined by '+'.
bool ParsePitches(std::string_view text, std::vector<int>& notes, std::string& error);

// A position inside a pattern, in ticks from its start: "M.B" and an optional subdivision of
// the beat: "e" (a sixteenth after), "&" (an eighth after), "a" (three sixteenths after),
// "t" (a triplet eighth after), "T" (two triplet eighths after: the swung eighth).
bool ParsePosition(std::string_view text, int beatsPerMeasure, int& tick, std::string& error);

// A position with an optional tick offset that places the note ahead of or behind it, as a
// player pushes or lays back: "1.3-1" (a tick early), "2.2&+2" (two ticks late).
inline constexpr int MaxPlacementOffset = 12;
// The offset alone: "+2", "-1".
bool ParseOffset(std::string_view text, int& offset, std::string& error);
bool ParsePlacement(std::string_view text, int beatsPerMeasure, int& tick, int& offset, std::string& error);

// Swing: a tick on the straight grid moved to its swung place. Every pair of steps of
// `stepTicks` (12 for eighths, 6 for sixteenths) is split at `swing` percent instead of at
// 50: with 12 and 66 the off-beat eighth (tick 12) comes at tick 16, the triplet's last third.
int SwingTick(int tick, int swing, int stepTicks);

// A length: w h q e s (whole … sixteenth), t (triplet eighth), each optionally dotted ("q."),
// several joined by '+' ("h+e"), or a plain number of ticks.
bool ParseLength(std::string_view text, int& ticks, std::string& error);

// A drum by its name ("kick", "snare", "hhc" …) or its General MIDI key number.
bool ParseDrum(std::string_view text, int& note, std::string& error);
// The velocity of one step of a drum grid: X 100, x 80, o 60, g 35, digits 1 … 9 give
// 12 × d + 10; '.' and '-' are rests (0).
bool GridVelocity(char step, int& velocity);

// A chord name as a musician writes it: root (C, F#, Bb …) and suffix ("", m, 7, m7, maj7,
// sus4, 6, m6, dim, aug, add9, m7b5 …). The root is placed in octave 3 (C = 48).
bool ParseChord(std::string_view text, int& root, int& type, std::string& error);

// The line without its comment: a '#' at the start or after a blank begins one (so the '#'
// of a sharp, "C#5", stays).
std::string_view WithoutComment(std::string_view line);
// Splits at blanks (runs of blanks and tabs); a part in double quotes stays whole.
std::vector<std::string> SplitWords(std::string_view line);
// Splits at `separator`, trimming blanks around each piece; empty pieces are dropped.
std::vector<std::string> SplitTrimmed(std::string_view text, char separator);
bool ParseNumber(std::string_view text, int low, int high, int& value, std::string& error);

}  // namespace chordella::tools
