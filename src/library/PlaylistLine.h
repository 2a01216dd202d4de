#pragma once
// One line of a style playlist:
//
//   C:\STYLES\Pop.vxs|bpm120|4/4|slow pop ballad||BASS|PIANOS|PADS
//
// the style's path, "|bpm" and its tempo ("|bpm???" when it has none), "|" and the metrum,
// optionally "|" and a description, then optionally "|" and the instrument tags, each
// "|" + its group word. Terms the user adds later follow as further "|" fields. The list
// keeps its lines as text, so a field this program does not know survives a save.
//
// Any thread; no state.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace chordella::library {

// The instrument groups a style plays, as bits.
enum InstrumentTag : std::uint8_t {
    TagBass = 1,
    TagGuitars = 2,
    TagPianos = 4,
    TagOrgans = 8,
    TagLeads = 16,
    TagPads = 32,
    TagFxs = 64,
};
using InstrumentTags = std::uint8_t;

// "BASS", "GUITARS", "PIANOS", "ORGANS", "LEADS", "PADS", "FXS" for one tag bit.
std::string_view TagWord(InstrumentTag tag);
// "|BASS|PIANOS" for a set of tags ("" for none), in the order of the bits.
std::string TagText(InstrumentTags tags);

// Tempos below this are no tempo: the line says "|bpm???".
inline constexpr int LowestTempo = 26;

struct PlaylistEntry {
    std::string Path;          // as stored: may be a Windows path
    int Tempo = 0;             // below LowestTempo: none
    std::string Metrum;        // "4/4", "3/4", "6/8"
    std::string Description;   // may be empty
    InstrumentTags Tags = 0;
    bool Tagged = false;       // the style was analysed (an empty tag field follows)
};

std::string FormatPlaylistLine(const PlaylistEntry& entry);
// The fields of a line; tolerant of every kind of text (a line without "|bpm", a lone
// path, Windows separators, bytes that are not UTF-8). Unknown fields after the metrum
// become part of the description.
PlaylistEntry ParsePlaylistLine(std::string_view line);

// True when the line names a style file: it contains one of the style extensions
// (".sty", ".prs", ".bcs", ".sst", ".vxs", ".pcs", ".pst", ".fps", ".scp") in any case.
bool IsStyleLine(std::string_view line);
bool IsStyleFileName(std::string_view path);
// True for the program's own style files (.vxs, any case).
bool IsOwnStyleFileName(std::string_view path);

// The stored path of a line: everything before its first '|'.
std::string_view LinePath(std::string_view line);
// The number after "bpm" up to the next '|'; nullopt when there is none or it is not a
// number (the "???" of a style without tempo).
std::optional<int> LineTempo(std::string_view line);
// True when the line carries the bass tag (any case).
bool LineHasBassTag(std::string_view line);


}  // namespace chordella::library
