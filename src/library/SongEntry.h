#pragma once
// One line of a songlist (.vxl): a song's title and file with a snapshot of the performance
// settings it is played with. The line has fixed columns (1-based):
//
//     1 –  50  title, left-aligned, blank-padded          51  blank
//    52 – 131  path of the arrangement or MIDI file       132  blank
//   133 – 148  mute flag of channels 1 … 16 ("0"/"1")
//   149        play-mode choice   150 " Chords"   151 " Instruments ..."
//   152 " Harmonic PAD, transposed"   153 " Melody Ad Lib"   154 " Send Chord Codes …"
//   155 " Keyboard Split ..." (the box above " Instruments ...")
//   156 – 158  channel list index, 159 – 161 the same again (the copy that is read)
//   162 – 164  octave (−3 … 4)   165 – 167  transposition (−11 … 11)
//   168 – 170  instrument list index   171 – 194  the eight mixer bars
//   195 –      the melody instrument set (its stored text form)
//
// Numbers take three columns: 0 … 999 as three digits ("004"), −99 … −1 as a minus sign and
// the digits, left-aligned ("-3 ", "-11"). Lists written with four columns for a negative
// number ("-003") are recognised by the "-0" that this layout never writes, and read with
// the columns after it shifted by one.
//
// Reading never fails: a column that is missing (short line) or unreadable (not a number)
// comes back empty, and playing the entry leaves that setting as it is.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chordella::library {

inline constexpr std::size_t TitleWidth = 50;
inline constexpr std::size_t PathWidth = 80;
inline constexpr std::size_t PathColumn = 51;       // 0-based start of the path
inline constexpr std::size_t SettingsColumn = 132;  // 0-based start of the mute flags
inline constexpr std::size_t InstrumentSetColumn = 194;
inline constexpr int MixerBarCount = 8;
inline constexpr int NumberFieldMin = -99;
inline constexpr int NumberFieldMax = 999;

struct SongEntry {
    std::string Title;
    std::string Path;
    std::array<std::optional<bool>, 16> Mutes{};
    std::optional<int> PlayMode;
    std::optional<bool> ChordsBox;
    std::optional<bool> InstrumentsBox;
    std::optional<bool> HarmonicPad;
    std::optional<bool> MelodyAdLib;
    std::optional<bool> SendChordCodes;
    std::optional<bool> KeyboardSplitBox;
    std::optional<int> ChannelIndex;
    std::optional<int> Octave;
    std::optional<int> Transposition;
    std::optional<int> InstrumentIndex;
    std::array<std::optional<int>, MixerBarCount> MixerBars{};
    std::string InstrumentSet;  // empty: none stored
};

// The line of an entry. The title is cut to 50 characters; the path must fit (see
// PathFits); numbers are kept within −99 … 999; an empty setting is written as 0.
std::string FormatSongEntry(const SongEntry& entry);
// The entry of a line (any length, any bytes).
SongEntry ParseSongEntry(std::string_view line);

// True when the path fits its 80 columns; a longer path is refused, never cut.
bool PathFits(std::string_view path);
// The path of a line: the path column without its padding.
std::string SongEntryPath(std::string_view line);
// The title of a line without its padding.
std::string SongEntryTitle(std::string_view line);

// What an entry changes, in words: "mutes 1,10  octave -1  transpose 2" (empty: nothing
// beyond the defaults).
std::string SongEntrySummary(const SongEntry& entry);

// A three-column number field: how `value` is written, and what `text` reads as
// (`width` is set to the columns it took: 3, or 4 for the old "-003" form).
std::string FormatNumberField(int value);
std::optional<int> ParseNumberField(std::string_view text, std::size_t& width);

}  // namespace chordella::library
