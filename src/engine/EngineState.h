#pragma once
// The accompaniment engine's fields in the application state: the chord notes and the
// chord the style plays, the note maps that let a note-off find the note its note-on was sent as, and the
// per-channel filters. Control thread only.

#include <array>
#include <cstdint>

namespace chordella::engine {

constexpr int ChannelCount = 16;
constexpr int DrumChannel = 9;  // channel 10

// The C above the lowest chord key: chords played below it move the style an octave down
// (unless "Adjust Octave" is on). Any thread.
constexpr std::int16_t OctaveBaseFor(int lowestChordKey) {
    return static_cast<std::int16_t>((lowestChordKey < 0 ? 0 : lowestChordKey > 127 ? 127 : lowestChordKey) / 12 * 12 + 12);
}

struct EngineState {
    // The chord waiting to take effect (root ≤ 0 = none) and its four notes (first ≤ 0 =
    // none): handed over by SetChord, reset to 0 when the engine applies the chord.
    std::int16_t PendingRoot = 0;
    std::int16_t PendingType = 0;
    std::array<std::int16_t, 4> ChordNotes{};
    // A control key or chord-memory command waiting for the next grid unit.
    std::int16_t PendingCommandKey = 0;
    std::int16_t PendingCommandValue = 0;

    // The chord the style is transposed to (type 0 = untransposed).
    std::int16_t StyleRoot = 0;
    std::int16_t StyleType = 0;
    std::int16_t OctaveShift = 0;       // 0 or −12
    std::int16_t OctaveThreshold = 12;  // 7 with "Adjust Octave", else 12 (never)
    std::int16_t OctaveBase = 48;       // the C above the lowest chord key
    std::uint8_t LastChangeRoot = 0;
    std::uint8_t LastChangeType = 0;

    // The harmonic pad: notes now sounding on the pad channel.
    std::array<std::int16_t, 4> PadNotes{};
    // The chord sounding through PlayChordSound (first ≤ 0 = none).
    std::array<std::int16_t, 4> SoundingChord{};

    // Per channel (index 0 = channel 1) and source note: the note sent at the note-on,
    // and its velocity (0 = not sounding).
    std::array<std::array<std::uint8_t, 128>, ChannelCount> NoteMap{};
    std::array<std::array<std::uint8_t, 128>, ChannelCount> VelocityMap{};
    std::array<std::uint8_t, ChannelCount> ChannelSounding{};
    std::array<std::uint8_t, ChannelCount> ChannelMute{};
    // The volumes a songlist entry's mixer bars hold for its song (255 = none): the style's
    // own volume events on such a channel play at the held value, so the song keeps its
    // balance. Written by the song player.
    std::array<std::uint8_t, ChannelCount> HeldVolume = NoHeldVolumes();
    static constexpr std::array<std::uint8_t, ChannelCount> NoHeldVolumes() {
        std::array<std::uint8_t, ChannelCount> none{};
        none.fill(255);
        return none;
    }
    // 0 = all channels play; 1 … 16 = only that channel; anything else = none.
    std::int16_t SoloFilter = 0;
    // The player's own channel (0-based): left free by "Minus One", used by "Play Chords".
    std::int16_t VoiceChannel = 0;
    std::int16_t TriggerVelocity = 1;
    // For each key the player holds, the note it sounds (0 = none); kept by the input side.
    std::array<std::uint8_t, 128> HeldNotes{};
    std::array<std::uint8_t, ChannelCount> ChannelVolume{};
    std::uint8_t PlayerSoloing = 0;
    std::array<std::uint8_t, ChannelCount> VelocityLimit{};

    // Values the engine reads from the input side and the mixer.
    std::int16_t KeyboardOctave = 0;     // the octave spinner of the keyboard transposition
    std::int16_t GlobalTranspose = 0;    // the global transposition in semitones
    std::uint8_t VoiceVolume = 100;      // the voice volume slider
    std::uint8_t InstrumentPadOn = 0;    // the pad channel is reserved for the player
    std::uint8_t InstrumentPadVolume = 100;
    std::uint8_t SongStarting = 0;       // 1 while a song has not started yet (lead-in)

    EngineState() {
        VelocityLimit.fill(73);
        VelocityLimit[DrumChannel] = 100;
        ChannelVolume.fill(100);
    }
};

}  // namespace chordella::engine
