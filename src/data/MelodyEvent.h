#pragma once
// The melody track of a song: what was played on the melody channel, one 8-byte event per
// message, in recording order. Both buffers are allocated once, when the state is made,
// and reused; recording and playback never allocate.

#include <cstdint>
#include <vector>

namespace chordella::data {

struct MelodyEvent {
    std::int32_t Time = 0;     // melody tick (24 per quarter note) at which the event is due
    std::uint8_t Status = 0;   // MIDI status byte as played
    std::uint8_t Data1 = 0;    // note number for notes
    std::uint8_t Data2 = 0;    // velocity for notes; 0 = note-off
    std::uint8_t IsNote = 0;   // 1 for 0x8n and 0x9n

    bool operator==(const MelodyEvent&) const = default;
};

inline constexpr int MelodyEventSize = 8;
// Events each buffer holds: as many as a signed 16-bit count can address.
inline constexpr std::int16_t DefaultMelodyCapacity = 32000;

// IsNote for a status byte: 1 when it is a note-on or note-off.
inline std::uint8_t IsNoteStatus(std::uint8_t status) {
    const int kind = status & 0xF0;
    return kind == 0x80 || kind == 0x90 ? 1 : 0;
}

struct MelodyTrack {
    explicit MelodyTrack(std::int16_t capacity = DefaultMelodyCapacity)
        : MelodyCapacity(capacity),
          MelodyBuffer(static_cast<std::size_t>(capacity)),
          MelodyBackup(static_cast<std::size_t>(capacity)) {}

    std::int16_t MelodyCapacity;
    std::vector<MelodyEvent> MelodyBuffer;  // the track; MelodyCount events are in use
    std::vector<MelodyEvent> MelodyBackup;  // the track as last recorded or loaded
    std::int16_t MelodyCount = 0;
};

// Empties both buffers (every slot zeroed, no reallocation).
void ClearMelody(MelodyTrack& track);

}  // namespace chordella::data
