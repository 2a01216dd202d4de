#pragma once
// The calls that cross between modules of the same layer (the chord sources and the
// engine call each other). Each side implements its interface; the session holds them,
// so neither module includes the other. Modules append the entries they need. Stand-ins
// that answer nothing are for tests only (tests/support/StandInLinks.h).

#include <array>
#include <cstdint>

namespace chordella::core {

// A chord as the chord sources hand it on: the root a MIDI note (≤ 0 = none), the type a row
// of the chord-type table.
struct ChordPair {
    std::int16_t Root = 0;
    std::int16_t Type = 0;
};

// Implemented by the accompaniment engine, which owns the pending chord.
class EngineLink {
public:
    virtual ~EngineLink() = default;
    // A chord from every chord source (through SetChord) with its four notes (first ≤ 0 =
    // none). It waits as the pending chord until the engine applies it: at once while the
    // clock is off, else at the next grid unit.
    virtual void SubmitChord(ChordPair chord, const std::array<std::int16_t, 4>& notes) = 0;
    // A control key (or chord-memory command) for the next grid unit. It empties the pending
    // chord's notes and, while the clock is off, is applied at once.
    virtual void SubmitControlKey(std::int16_t key, std::int16_t value) = 0;
    // The chord waiting to take effect ({0, 0} when none, for instance because the engine has
    // just applied it: the two-finger logic starts a new chord then).
    virtual ChordPair PendingChord() const = 0;
    // The waiting chord is forgotten without being applied.
    virtual void DropPendingChord() = 0;

    // The player's melody keys, so that the style does not double a note the player holds:
    // input key `key` now sounds as note `sentAs` (0 = released).
    virtual void MelodyKeyHeld(int key, int sentAs) = 0;
    // Every melody key is released.
    virtual void MelodyKeysReleased() = 0;
    // The player played a note on output channel `channel` (0-based). With "Minus One" on
    // and the voice channel played, the style leaves that channel to the player until the
    // measure ends.
    virtual void PlayerPlays(int channel) = 0;
    // The velocity the chord sound on the voice channel plays with.
    virtual void SetTriggerVelocity(int velocity) = 0;
    // The chord "Play Chords" sounds on the voice channel ends (the octave spinner's shift
    // included); while the clock runs the voice channel is reset too.
    virtual void StopChordSound() = 0;
    // SetChord asks this before submitting a chord while "Play Chords" is off: when the
    // style player has not been started and StyleMode is on, the chord starts the style
    // (in "Master Mode" after a MIDI Start on the clock output). The engine must override
    // it; the default starts nothing.
    virtual void StartStyleForChord() {}
    // True while the chord memory records or plays with chord preview on and its position
    // is past the first measure: the chord panels then show the coming chord, so a chord
    // shown now goes to the window title only.
    virtual bool ChordPreviewPastFirstMeasure() const { return false; }
    // True while the style player plays material the style creator imported: received
    // chord codes then do not change the current chord.
    virtual bool PlaysImportedMaterial() const { return false; }
};

// Implemented by chord recognition.
class ChordLink {
public:
    virtual ~ChordLink() = default;
    // A chord from any source: root (MIDI note, ≤ 0 = none), type 1 … 34, transposition
    // (129 = none).
    virtual void SetChord(std::int16_t root, std::int16_t type, std::int16_t transposition) = 0;
    // The chord the engine applies now is shown: the window title, and the chord panels unless
    // the chord preview shows the coming chord there.
    virtual void ShowChord(std::int16_t root, std::int16_t type) = 0;
    // The chord the chord memory plays next becomes the current chord ahead of time (the
    // chord preview): the type override and "Major <> Minor" apply as for a played chord,
    // the root is kept on the keyboard. Returns the chord made current.
    virtual ChordPair PreviewChord(int root, int type) = 0;
};

// Told at the first tick of every beat while a range started with TransportLink::PlayRange
// plays (before the part logic looks at the loop end). Tick: no allocation, lock or throw.
class RangeBeatLink {
public:
    virtual ~RangeBeatLink() = default;
    virtual void RangeBeat() = 0;
    // The range no longer plays (a stop, the stream's end, or another start).
    virtual void RangeEnded() = 0;
};

// Implemented by the transport.
class TransportLink {
public:
    virtual ~TransportLink() = default;
    // True while the style player runs.
    virtual bool StyleStarted() = 0;
    // The style starts playing (a chord played while it is idle in style mode).
    virtual void StartStyle() = 0;
    // Stop.
    virtual void Stop() = 0;
    // The style player plays the loaded stream from offset `from` to `to` (the style creator's
    // material, whatever the part table says): looping when `loop`, else stopping at `to`.
    // `beats` is told of every beat until the next stop or start. False when nothing can play.
    virtual bool PlayRange(std::int32_t from, std::int32_t to, bool loop, RangeBeatLink& beats) = 0;
};

// Implemented by the remote control: MIDI command 0 … 9 of the MIDI commands window, as
// chord-memory playback asks for it.
class MidiCommandLink {
public:
    virtual ~MidiCommandLink() = default;
    virtual void RunMidiCommand(int number) = 0;
};

// Implemented by the melody track (engine/MelodyPlayer.h). The input side hands over every
// message the player sends on the melody channel.
class MelodyLink {
public:
    virtual ~MelodyLink() = default;
    // True while "&Record" of the melody menu is on.
    virtual bool MelodyRecording() = 0;
    // One message played on the melody channel; stored while the song runs (see the player).
    virtual void RecordMelodyEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
};

}  // namespace chordella::core
