#pragma once
// The style creator: turns MIDI material into a style that follows chords. A small facade
// over the session (the material in the style container's work, the style, the chord memory)
// and the creator's settings; the work itself is done by free functions in focused files
// (ChordGeneration, Conversion, NoteShifts, CreatorPositions, WorkFiles).
//
// Every member runs on the control thread. Questions use the prompter's non-waiting forms:
// each command checks, asks and goes on in the answer's callback; "No" changes nothing.

#include <functional>
#include <string>

#include "core/Session.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/CreatorState.h"

namespace chordella::stylecreator {

// Chord-memory units from the start position to (not including) the stop position.
struct UnitRange {
    int Start = data::FirstPosition;
    int Stop = data::FirstPosition;
};

class StyleCreator {
public:
    using Done = std::function<void(bool changed)>;

    StyleCreator(core::Session& session, CreatorState& state);

    core::Session& Session() { return session_; }
    CreatorState& State() { return state_; }
    const CreatorState& State() const { return state_; }

    // True when there is material (the style length is not 0).
    bool HasWork() const;
    // The chord memory's meter: units per measure (16 in 4/4).
    int MeasureUnits() const;
    // The range the commands work on: the Song-mode fields in Song mode, the selected part's
    // measures in Style mode.
    UnitRange CurrentRange() const;

    // Clears the work (before an import, a recording, a load). In Style mode with a modified
    // style it first asks "Save Style first ?"; "Yes" saves through the save dialog.
    void ClearWork(Done done = {});

    // "Generate Chords": asks "Replace current chords ?" when the chord memory holds chords.
    void GenerateChords(Done done = {});
    // "Convert all to Style" / "Convert measures to Style".
    void ConvertAll(Done done = {});
    void ConvertMeasures(Done done = {});
    // "Restore Original": asks "Undo all conversions ?" when `pressed`; with Ctrl the last
    // imported file is imported again instead.
    void RestoreOriginal(bool pressed, bool ctrlHeld, Done done = {});

    // "Oct. up" (+12), "Oct. down" (−12), "Tone up" (+1), "Tone down" (−1) over the current range.
    void ShiftNotes(int semitones);
    // The channel pair and arrow button: every message of `from` moves to `to` (0-based).
    void MoveChannel(int from, int to);

    // Work files (.vxw) and style files (.vxs). False with `error` set; nothing changes then.
    bool LoadWork(const std::string& path, std::string& error);
    bool SaveWork(const std::string& path, std::string& error);
    bool SaveStyle(const std::string& path, std::string& error);

    // The beat index of the material, rebuilt after the material changed.
    void RebuildBeatIndex();
    const BeatIndex& Index() const { return beatIndex_; }

private:
    void ClearWorkNow();
    void GenerateNow();
    void ConvertNow(UnitRange range);

    core::Session& session_;
    CreatorState& state_;
    BeatIndex beatIndex_;
};

}  // namespace chordella::stylecreator
