#pragma once
// The song file (.vxa): reading any file into a decoded form, and writing one from it.
//
// Three forms, told apart by the first byte: 0xFE is the short form (the chord memory
// follows at once); 0xFF starts the full form with a melody block; anything else is the
// full form without melody. The full form continues with the text section (marker 0xFD,
// or 0xFB which also marks a song of the song creator, a 32-bit length and CR LF separated
// lines; without a marker, a fixed 1380-byte block of zero-terminated comments), 120
// reserved bytes, optionally 0xFC and a 160-byte zero-terminated style path, and then the
// chord memory as the rest of the file (at most 12010 bytes). Integers are little-endian.
//
// Reading is pure: it never touches the song in memory, so a refused file changes
// nothing. Control thread (or any thread: no shared state).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/ArrangementState.h"
#include "data/MelodyEvent.h"

namespace chordella::data {

enum class SongFileForm { Short, Full, FullWithMelody };

inline constexpr std::uint8_t ShortFormMarker = 0xFE;
inline constexpr std::uint8_t MelodyBlockMarker = 0xFF;
inline constexpr std::uint8_t TextMarker = 0xFD;
inline constexpr std::uint8_t CreatorTextMarker = 0xFB;
inline constexpr std::uint8_t StyleReferenceMarker = 0xFC;
inline constexpr std::size_t FixedCommentBlockSize = 1380;
inline constexpr std::size_t ReservedBlockSize = 120;
// Longest single-line field kept; longer ones are cut so the text buffer always has room.
inline constexpr std::size_t SongFieldCapacity = 255;

struct SongFileContent {
    SongFileForm Form = SongFileForm::Full;
    std::vector<MelodyEvent> Melody;
    SongText Text;
    bool HasText = false;            // a text section or comment block was read
    bool CreatorRepeatFlag = false;  // the text marker was 0xFB
    bool HasStyleReference = false;
    std::string StyleReference;      // as stored: possibly a Windows path
    std::vector<std::uint8_t> ChordMemory;  // header and records, at most 12010 bytes
    // What the reader left out: bytes of chord memory beyond 12010, and of a melody block
    // whose length is not a multiple of 8.
    std::size_t ChordMemoryBytesCut = 0;
    std::size_t MelodyBytesIgnored = 0;
};

struct SongReadResult {
    bool Ok = false;
    // Why a file was refused: "expected 4000 bytes (melody events) at offset 5, found 12".
    std::string Error;
    SongFileContent Content;
};

// Reads a whole file. A file whose blocks run past its end is refused (Ok false, Error
// says where); a short chord memory is an empty song, not an error.
SongReadResult ReadSongFile(std::span<const std::uint8_t> bytes);

// Writes the full form: the melody block when there are events, the text section (marker
// 0xFB when the creator flag is set, else 0xFD), 120 zero bytes, the style reference when
// there is one, then the chord memory. Every file written reads back to the same content.
std::vector<std::uint8_t> WriteSongFile(const SongFileContent& content);

// The lines of the text section: with more than three lines the last four are title,
// subtitle, author and rights line, the lines before them the comments; with three or
// fewer all are comments and the fields keep their reset values. A final CR LF ends the
// last line and does not start another. The text is fitted as FitSongText says.
SongText SplitSongText(std::string_view raw);
// The text section's bytes: the comments (when any), then the four fields, each line
// ended by CR LF. Fitted first.
std::string JoinSongText(const SongText& text);
// Keeps the text within the 1500-byte buffer: no zero bytes, fields without line breaks
// and at most 255 bytes each, comments cut at the end to what room remains.
SongText FitSongText(SongText text);

// The stored form of a style path: at most 159 bytes; a path too long for that is stored
// as its file name, which the style lookup finds in the style folder.
std::string StoredStyleReference(std::string_view stylePath);

// The decoded file as the song in memory: everything reset first (the chord memory
// zeroed, length 4, the melody emptied, the text at its reset values, the creator flag
// cleared), then filled. Melody events beyond the track's capacity are left out; the
// number left out is returned.
std::size_t ApplySongFile(const SongFileContent& content, ArrangementState& song);

// The song in memory as file content, with the style reference given (empty: none).
SongFileContent SongFileContentOf(const ArrangementState& song, std::string_view styleReference);

}  // namespace chordella::data
