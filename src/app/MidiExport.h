#pragma once
// The three ways the program writes MIDI files of what it plays:
//   - "&Export MIDI ..." of the main window: the current song with its style, or the style
//     alone when there is no song;
//   - "Save style as MIDI file" of the style creator: each present part over C major, one
//     file per part ("sty1_v11.mid" …) and the "Style measures" list;
//   - an arrangement into style material: the song exported to a temporary file, then
//     imported silently into the style creator's work.
// Rendering happens in a session of its own (RenderSession), so a style playing live is
// not disturbed. Messages go through the session's prompter. Control thread.
//
// The save and folder dialogs never wait: the export asks, returns false, and writes when
// the answer arrives (the control loop keeps playing meanwhile); `done` gets the outcome.
// When the dialog was answered before the call returned (scripted tests), the outcome is
// answered at once.

#include <functional>
#include <string>
#include <vector>

#include "data/SmfWriter.h"
#include "data/StyleModel.h"

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

class RenderSession;

inline constexpr const char* ExportDialogTitle = "Export MIDI ...";
inline constexpr const char* ExportDialogFilter = "MIDI-Files (*.mid)|*.mid|All files (*.*)|*.*";
inline constexpr const char* SaveStyleAsMidiTitle = "Save style as MIDI file";
inline constexpr const char* StyleMeasuresTitle = "Style measures";
// The temporary file of an arrangement on its way into the style creator, in the data home.
inline constexpr const char* ArrangementMaterialFile = "Chordella.VX$";
// The name older versions left behind; removed when found.
inline constexpr const char* OldArrangementMaterialFile = "CHORDS.VX$";

inline constexpr const char* NothingToExportText = "Nothing to export: load a style first !";
inline constexpr const char* ChordMemoryEmptyText = "Chordmemory is empty !";
inline constexpr const char* SongsNeedPlaybackText = "Songs cannot be played in this build !";

// What a render session holds, rendered for a file: the song (to its end, at most
// `maxMeasures` when above 0) when there is one, else the style alone for `styleMeasures`.
// False with `error` set when nothing can be rendered.
bool RenderForExport(RenderSession& render, int styleMeasures, int maxMeasures, data::SmfContent& content,
                     std::string& error);

// "&Export MIDI ...": to `path`, or to the file chosen in the save dialog when empty.
// True when the file was written.
bool ExportMidi(core::Session& session, const AppState& app, const std::string& path = {},
                std::function<void(bool written)> done = {});

// The file of one part: "sty1" + suffix + ".mid" ("sty1_v11.mid" for Basic; a fill slot
// holding a variation is "_v31" / "_v41").
std::string PartFileName(const data::PartTable& parts, int part);
// The "Style measures" list: one line per present part, "%-18.18s : %2.2d - %2.2d" (part
// name, first measure, last measure), lines ended by CR LF.
std::string StyleMeasuresList(const data::PartTable& parts);

struct StyleMidiFiles {
    std::vector<std::string> Files;   // the paths written, in part order
    std::string MeasuresList;         // the "Style measures" list
};
// "Save style as MIDI file": one file per present part of the loaded style in `folder`
// (the folder dialog when empty). False (with a message) when no style is loaded or a file
// cannot be written; the files written before stay. `result` is filled when the folder was
// known before the call returned; `done` always gets the files written.
bool SaveStyleAsMidi(core::Session& session, const AppState& app, const std::string& folder, StyleMidiFiles& result,
                     std::function<void(bool written, const StyleMidiFiles&)> done = {});

// The song into style material: exported to the temporary file, imported silently into the
// creator's work, the temporary file removed. True when the import took it.
bool ArrangementToStyleMaterial(core::Session& session, const AppState& app);

}  // namespace chordella::app
