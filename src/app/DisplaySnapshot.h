#pragma once
// What the desktop window shows, as one plain copy. The control thread fills it between
// ticks (never inside one) and publishes it; the window's thread reads the published copy
// and repaints from it. Nothing here points into the core's state, so the two threads share
// no live data. Fixed-size texts keep filling it free of allocation.

#include <array>
#include <cstdint>

#include "app/PlayBoxes.h"

namespace chordella::app {

// A short text that copies without allocating.
template <std::size_t N>
struct FixedText {
    std::array<char, N> Chars{};
    void Set(const char* text, std::size_t length) {
        const std::size_t n = length < N - 1 ? length : N - 1;
        for (std::size_t i = 0; i < n; ++i) Chars[i] = text[i];
        Chars[n] = '\0';
    }
    const char* c_str() const { return Chars.data(); }
};

inline constexpr int MixerChannels = 16;

// The state of the output the music goes to.
enum class OutputStatus : std::uint8_t {
    None,           // no output is open
    Ready,          // open: what plays is heard
    NoAudioDevice,  // the built-in synth found no audio device
    PortLost,       // open, but the last message could not be sent (the device went away)
};

// The real-time priority of the timer and control threads.
enum class PriorityStatus : std::uint8_t {
    Normal,    // nothing plays: normal priority
    Realtime,  // playing at real-time priority
    Denied,    // playing, but the system refused real-time priority
};

struct MixerChannelView {
    FixedText<32> Instrument;   // the instrument's name in the active instrument set
    int Program = -1;           // 0 … 127, -1 = unknown
    int Volume = -1;            // controller 7, -1 = unknown
    int Pan = -1;               // controller 10
    int Reverb = -1;            // controller 91
    int Chorus = -1;            // controller 93
    bool Muted = false;
    bool Soloed = false;
    // Counts every note-on sent on the channel; the lamp lights while it moves.
    std::uint32_t NoteOns = 0;
};

struct DisplaySnapshot {
    // Bumped at every publication; a window repaints only when it changed.
    std::uint64_t Serial = 0;

    FixedText<160> Title;        // the whole window title ("Chordella  -  Chord : C maj")
    FixedText<32> ChordName;     // the chord panels' text (a chord, or a word like "ENDING")
    FixedText<32> KeyText;       // the chord view's key line ("Key: Eb maj")
    FixedText<32> StyleName;     // the style name label, "%-.10s ..." already applied
    FixedText<64> SongName;      // the song's file name without folder, empty = none
    FixedText<64> SongTitle;     // the song's title (its file name without extension when it has none), empty = no song
    FixedText<96> Status;        // the status line

    FixedText<64> StyleFullName; // the loaded style's whole name ("Rock&roll"), empty = none

    // The song's measure and beat: the chord memory's while a song plays or records, else
    // counted from the style's start (a fill or an intro does not restart the count).
    int Measure = 0;             // 1-based while the clock runs, 0 when stopped
    int Beat = 0;                // 1-based
    int BeatsPerMeasure = 4;
    int ClockPanel = 0;          // 0 stopped, 1 running, 2 waiting for an external start
    int Tempo = 120;             // the tempo field (25 … 250)
    int Part = -1;               // the style part that plays (0 Intro … 7 To Basic), -1 none
    std::array<bool, 8> PartPresent{};  // the loaded style has this part
    int QueuedPart = -1;         // the part that follows at the next switch, -1 none (or the same)
    bool Fading = false;         // the style fades out (an ending without an ending part)
    FixedText<32> NextChord;     // the song's next chord after the one that sounds, empty = none

    FixedText<64> OutputName;    // the output in use ("Built-in synth" or the port's name)
    OutputStatus Output = OutputStatus::None;
    PriorityStatus Priority = PriorityStatus::Normal;
    bool SyncStartAvailable = false;  // "Sync Start" can be armed (a chord can start the style)

    bool Accompaniment = true;   // the accompaniment switch
    FixedText<8> AccompanimentCaption;   // "K" / "A"
    bool Playing = false;        // the style player or the song runs
    bool Recording = false;      // chords are recorded into the chord memory
    bool SongLoaded = false;     // the chord memory holds a song
    bool SyncStart = false;      // "Sync Start" is armed: the style waits for the first chord (or the external start)

    // The type name each pad row A … K plays (the slot map's types 1 … 11: "maj", "min" …).
    std::array<FixedText<12>, 11> PadRowTypes{};

    std::array<MixerChannelView, MixerChannels> Channels{};

    // The chord zone: its lowest key and its highest (the split: melody above it), MIDI notes.
    int FirstChordKey = 40;
    int SplitKey = 59;
    // The transposition spinners: octaves (−3 … 3) and semitones (−11 … 11).
    int TransposeOctave = 0;
    int TransposeSemitones = 0;
    // The computer keyboard's layout (chords::LayoutNames): how the window reads its keys.
    int KeyboardLayout = 1;
    // The play boxes, by app::PlayBox, and the channel of the chord codes (0-based).
    std::array<bool, PlayBoxCount> PlayBoxes{};
    int ChordCodeChannel = 0;
    // The "&Melody" menu's switches.
    bool MelodyRecording = false;
    bool MelodyPlayback = true;
    bool MelodyHumanize = true;
    // The first start's guide text; empty after other starts.
    FixedText<512> GuideText;
    // The songlist: moves whenever the list, its queue or its player changed; the song that
    // comes next (empty when none).
    std::uint64_t SonglistSerial = 0;
    FixedText<64> NextSong;
    // The chord-memory editor's live entry: the chords entered so far and the beat the next
    // one goes to.
    std::uint32_t EditorEntries = 0;
    int EditorMeasure = 1;
    int EditorBeat = 1;
};

}  // namespace chordella::app
