#pragma once
// The song in memory (an arrangement): the chord memory, the melody track, the song text
// and the reference to the style it is played with. A member of the application state;
// written by the song operations (open, save, clear), by chord recording and by the
// editors, read by chord-memory playback.

#include <cstdint>
#include <string>

#include "data/ChordMemory.h"
#include "data/MelodyEvent.h"

namespace chordella::data {

// What the rights line holds until the user writes one.
inline constexpr const char* SongRightsPlaceholder = "Copyright (c) ";
// The song text buffer: comments and the four single-line fields together.
inline constexpr std::size_t SongTextCapacity = 1500;
// The stored style path is 160 bytes, zero-terminated.
inline constexpr std::size_t StyleReferenceSize = 160;

struct SongText {
    std::string SongComments;  // multi-line, lines separated by CR LF
    std::string SongTitle;     // "Title"
    std::string SongSubtitle;  // "Subtitle"
    std::string SongAuthor;    // "Author"
    std::string SongRights = SongRightsPlaceholder;  // "Copyright"

    bool operator==(const SongText&) const = default;
};

struct ArrangementState {
    ChordMemory Chords;
    MelodyTrack Melody;
    SongText Text;

    std::string ArrangementPath;   // the file last opened or saved; empty for a new song
    std::string SongDirectory;     // folder of the last song chosen in a dialog
    std::string StyleReference;    // style path the song file named (at most 159 bytes)
    bool HasStyleReference = false;
    std::uint8_t CreatorRepeatFlag = 0;  // set by the song creator and by its text marker
    // Set while the song's chords come from the song creator's progression table: a minor
    // key mark then hands the minor key itself to the key adjustment, not its relative major.
    bool CreatorProgressionMode = false;
    std::int16_t ChordMemoryPos = ChordMemoryHeaderSize;  // the engine's running position

    // SongFingerprint() when the song was last opened, saved or made by the song creator.
    std::uint64_t SavedFingerprint = 0;

    // The start-measure and end-measure fields beside the transport.
    int StartMeasure = 1;
    int EndMeasure = 1;

    ArrangementState() { ClearChordMemory(Chords); }
};

// The song's beat records, length and melody in one number.
std::uint64_t SongFingerprint(const ArrangementState& song);
// Whether the song holds chords that changed since it was last opened, saved or made.
bool HasUnsavedChanges(const ArrangementState& song);
// The song as it is now counts as saved.
void MarkSongSaved(ArrangementState& song);

}  // namespace chordella::data
