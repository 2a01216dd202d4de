#pragma once
// Plays a style through the real engine on the virtual clock, section by section under a
// chord progression, and renders what it sends through the built-in synth: the way to hear
// a style (and to check it) without a sound card or a song.
//
//   AuditionPlan plan = DefaultAudition(4);          // Intro, Basic, Fill, Extended, … Ending
//   AuditionReport report;
//   RenderAudition("STYLES/cont1.vxs", plan, &renderer, report, error);
//
// Control thread (it owns its own session).

#include <cstdint>
#include <string>
#include <vector>

namespace chordella::midi { class SynthRenderer; }

namespace chordella::tools {

struct AuditionChord {
    int Root = 48;   // MIDI note (octave 3)
    int Type = 1;    // chord type 1 … 17
};

// One section of the audition: a part played for some measures, one chord per measure.
struct AuditionSection {
    int Part = 1;
    std::vector<AuditionChord> Chords;   // one per measure
};

struct AuditionPlan {
    std::vector<AuditionSection> Sections;
    double TailSeconds = 2.5;             // the sound left to ring after the stop
};

struct AuditionReport {
    int Tempo = 0;
    int BeatsPerMeasure = 0;
    int Measures = 0;
    double Seconds = 0;                   // rendered length, tail included
    int NotesStarted = 0;
    // Notes still sounding at the end of a section: started and neither ended by their
    // note-off nor by an all-notes-off or all-sound-off of their channel.
    int NotesHeldOverSectionEnd = 0;
    std::vector<std::string> Messages;    // what the program showed while loading
};

// A tour through all eight parts in a pleasant progression in C: Intro, Basic, its fill, the
// transition, Extended, its fill, back to Basic, the Ending.
AuditionPlan DefaultAudition(int beatsPerMeasure);

// Loads the style, plays the plan at the style's tempo and sends everything to `renderer`
// (time taken from the virtual clock). False with `error` when the style cannot be loaded
// or a part is missing.
bool RenderAudition(const std::string& stylePath, const AuditionPlan& plan, midi::SynthRenderer& renderer,
                    AuditionReport& report, std::string& error);

// Root mean square of 16-bit samples, 0 … 1.
double RootMeanSquare(const std::vector<std::int16_t>& samples);

}  // namespace chordella::tools
