#pragma once
// The style creator: turns MIDI material into a style that follows chords. A small facade
// over the session (the material in the style container's work, the style, the chord memory)
// and the creator's settings; the work itself is done by free functions in focused files
// (ChordGeneration, Conversion, NoteShifts, CreatorPositions, MaterialBackup, WorkFiles).
//
// Every member runs on the control thread. Questions use the prompter's non-waiting forms:
// each command checks, asks and goes on in the answer's callback; "No" changes nothing.

#include <functional>
#include <string>

#include "core/Options.h"
#include "core/Session.h"
#include "data/ArrangementState.h"
#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "engine/SongPlayState.h"
#include "engine/TransportState.h"
#include "stylecreator/ChordGeneration.h"
#include "stylecreator/Conversion.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/CreatorState.h"

namespace chordella::data { class MidiImportLink; }

namespace chordella::stylecreator {

// The live modules' state the creator reads and sets. It owns none of it: it writes the chords
// it generates or converts into the arrangement and a style's meter and a recording's tempo
// into the clock, as loading a song does, and holds the song transposition at 0 while a set
// converts. It reads the mixer's mutes and solo filter (and resets the channels after an
// edit), where the chord zone lies, and whether the chord memory is locked.
struct LiveState {
    const core::Options& options;
    const chords::ChordState& chords;
    data::ArrangementState& arrangement;
    engine::ClockState& clock;
    engine::SongPlayState& songPlay;
    engine::EngineState& engine;
    const engine::TransportState& transport;
};

// Chord-memory units from the start position to (not including) the stop position.
struct UnitRange {
    int Start = data::FirstPosition;
    int Stop = data::FirstPosition;
};

class StyleCreator {
public:
    // Called when a command has finished: true when it changed something.
    using Done = std::function<void(bool changed)>;

    StyleCreator(core::Session& session, CreatorState& state, const LiveState& live);

    core::Session& Session() { return session_; }
    const LiveState& Live() const { return live_; }
    CreatorState& State() { return state_; }
    const CreatorState& State() const { return state_; }

    // True when there is material (the work length is not 0).
    bool HasWork() const;
    // The chord memory's meter: units per measure (16 in 4/4).
    int MeasureUnits() const;
    // True while a song plays from the chord memory (generation and conversion then refuse).
    bool ChordMemoryLocked() const;
    // Measure fields as chord-memory units: the stop measure is the last one inside; 0 is the end.
    UnitRange RangeOf(const MeasureRange& fields) const;
    // The range the commands work on: the Song-mode fields in Song mode, the Style-mode fields
    // (the selected part's "Start with ..." / "Stop at ...") in Style mode.
    UnitRange CurrentRange() const;
    // The main window's channel mutes and solo filter.
    ChannelFilter Filter() const;
    // Quick style, batch runs and the command line: chords are generated again without asking
    // and "Convert measures to Style" does not ask before it modifies.
    void SetUnattended(bool unattended) { unattended_ = unattended; }

    // Clears the work (before an import, a recording, a load). In Style mode with a modified
    // style it first asks "Save Style first ?"; "Yes" saves through the save dialog (cancelling
    // that dialog, or a failed save, clears nothing).
    void ClearWork(Done done = {});

    // "Generate Chords": asks "Replace current chords ?" when the chord memory holds chords.
    void GenerateChords(Done done = {});
    // "Convert all to Style" / "Convert measures to Style".
    void ConvertAll(Done done = {});
    void ConvertMeasures(Done done = {});
    // "Restore Original": asks "Undo all conversions ?" when `pressed`; with Ctrl the last
    // imported file is imported again instead, with the import's steps in the modules around
    // the creator (SetImportHooks) as the first import had them.
    void RestoreOriginal(bool pressed, bool ctrlHeld, Done done = {});
    // The import's steps outside the creator (the window's tempo, meter, style reset …); they
    // must outlive the creator. nullptr (the default): the creator's material alone.
    void SetImportHooks(data::MidiImportLink* hooks) { importHooks_ = hooks; }

    // "Oct. up" (+12), "Oct. down" (−12), "Tone up" (+1), "Tone down" (−1) over the current
    // range. Returns the notes shifted.
    int ShiftNotes(int semitones);
    // The channel pair and arrow button: the messages of `from` in the current range move to
    // `to` (0-based), with the channel's set-up when `to` was unused. Returns the messages moved.
    int MoveChannel(int from, int to);

    // Work files (.vxw) and style files (.vxs). False with `error` set; nothing changes then.
    bool LoadWork(const std::string& path, std::string& error);
    bool SaveWork(const std::string& path, std::string& error);
    bool SaveStyle(const std::string& path, std::string& error);
    // The same, with the channel rules `native` in the file's rules block (a native conversion).
    bool SaveStyle(const std::string& path, const data::NativeRules& native, std::string& error);

    // The beat index of the material, rebuilt after the material changed.
    void RebuildBeatIndex();
    const BeatIndex& Index() const { return beatIndex_; }

    // What the last generation and conversion did (for reports).
    const GenerationResult& LastGeneration() const { return lastGeneration_; }
    int LastConvertedNotes() const { return lastConverted_; }

private:
    void ClearWorkNow();
    bool GenerateNow();
    void ConvertNow(UnitRange range);
    bool SettingsChanged() const;
    void MarkModified();

    core::Session& session_;
    CreatorState& state_;
    LiveState live_;
    data::MidiImportLink* importHooks_ = nullptr;
    BeatIndex beatIndex_;
    bool unattended_ = false;
    GenerationResult lastGeneration_;
    int lastConverted_ = 0;
};

}  // namespace chordella::stylecreator
