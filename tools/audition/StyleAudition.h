#pragma once
// Performs a style through the real engine and transport on the virtual clock, as a player
// would: the intro starts it, a chord every measure, the control keys pressed before the
// measures they change (fills, To Ext., To Basic, Ending), until the ending stops it. What it
// sends is rendered through the built-in synth: the way to hear a style (and to check it)
// without a sound card or a song.
//
//   AuditionPlan plan = DefaultAudition(4);          // intro, verse, fill, chorus … ending
//   AuditionReport report;
//   RenderAudition("STYLES/cont1.vxs", plan, &renderer, report, error);
//
// Control thread (it owns its own session).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace chordella::midi { class SynthRenderer; }

namespace chordella::tools {

// The control key pressed just before a measure, so that it acts from the measure's start.
enum class AuditionKey { None, FillIn, ToExtended, ToBasic, Ending };

struct AuditionMeasure {
    int Root = 48;   // the chord held through the measure: MIDI note (octave 3)
    int Type = 1;    // chord type 1 … 17
    AuditionKey Key = AuditionKey::None;
};

struct AuditionPlan {
    std::vector<AuditionMeasure> Measures;   // the first one starts the style (with its intro)
    int MeasuresToEnd = 4;                   // after the plan, at most this many for the ending
    double TailSeconds = 2.5;                // the sound left to ring after the stop
};

struct AuditionReport {
    int Tempo = 0;
    int BeatsPerMeasure = 0;
    int Measures = 0;                        // measures played, the ending included
    double Seconds = 0;                      // rendered length, tail included
    int NotesStarted = 0;
    std::vector<int> PartsPlayed;            // each part as it came, in order (0 Intro … 7 To Basic)
    std::vector<int> MeasureParts;           // the part playing in the middle of each measure
    std::int64_t Ticks = 0;                  // ticks played, up to the stop
    double TickMicros = 0;                   // the length of one tick at the style's tempo
    bool EndedByItself = false;              // the ending stopped the style before the audition did
    std::vector<std::string> Messages;       // what the program showed while loading
};

// A performance through all eight parts in a pleasant progression in C: intro, a verse on
// Basic with its fill, To Ext., a chorus on Extended with its fill, To Basic, and the ending.
AuditionPlan DefaultAudition(int beatsPerMeasure);

// One message of the performance, at its tick on the virtual clock (0 = the intro's first).
struct AuditionMessage {
    std::int64_t Tick = 0;
    std::int64_t Micros = 0;   // the tick's time at the style's tempo
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
};
using AuditionListener = std::function<void(const AuditionMessage&)>;

// Loads the style and performs the plan at the style's tempo, handing every message sent on
// the accompaniment output to `listen` as it goes. False with `error` when the style cannot
// be loaded.
bool PerformAudition(const std::string& stylePath, const AuditionPlan& plan, const AuditionListener& listen,
                     AuditionReport& report, std::string& error);

// The same performance sent to `renderer` (time taken from the virtual clock).
bool RenderAudition(const std::string& stylePath, const AuditionPlan& plan, midi::SynthRenderer& renderer,
                    AuditionReport& report, std::string& error);

// The beats per measure of a style file, 0 when it cannot be loaded.
int StyleBeatsPerMeasure(const std::string& stylePath);

// Root mean square of 16-bit samples, 0 … 1.
double RootMeanSquare(const std::vector<std::int16_t>& samples);

}  // namespace chordella::tools
