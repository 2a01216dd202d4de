#pragma once
// The chord-memory editor on the control thread: the edits of the editor window applied to
// the session's song, the grid as the window shows it, the lead sheet written beside the
// song and the channel values. The window sends requests and gets a reply with the grid
// refilled; it never touches the song itself. Control thread.

#include <cstdint>
#include <string>
#include <vector>

#include "composer/ChordMemoryEditor.h"
#include "composer/EditorGrid.h"
#include "composer/LeadSheet.h"
#include "composer/ProgramChanges.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::data {
struct ArrangementState;
struct InstrumentSet;
}  // namespace chordella::data
namespace chordella::engine { struct ClockState; }
namespace chordella::remote { class InstrumentKeyTable; }

namespace chordella::app {

using core::Session;

// The instrument keys the lead sheet lists under "Instruments ..." (the instrument set's
// assigned keys) and "Set of melodyinstruments and functions ..." (the function set's twelve).
struct LeadSheetKeys {
    std::vector<std::string> Instruments;
    std::vector<std::string> FunctionSet;
};
LeadSheetKeys LeadSheetKeysOf(const remote::InstrumentKeyTable& keys, const data::InstrumentSet& instruments);

struct SongGridView {
    std::vector<std::string> Headers;       // "1/4" …
    std::vector<composer::GridRow> Rows;
    int MeasureUnits = 16;
    bool Empty = true;
    bool CanUndo = false;
    bool TwelveBarMode = false;
    bool IgnoreProgramChanges = false;  // "Ignore all program change commands"
    // The program-change settings.
    int ProgramCount = 128;
    int Bank = -1;                      // −1: none
    int StartNumber = 0;
    int ProgramListEntries = 0;         // 0: no list
    bool EveryEightMeasures = false;
    bool Randomly = false;
    bool OnlyAtBeginning = false;
    bool UsingCommandKeys = false;
    bool EveryLoading = false;          // "... with every loading of a STORED song"
};

enum class SongEdit {
    InsertMeasure,   // the empty song: create measures from Entry instead
    CreateMeasures,  // Entry: the answer to "How many measures ?"
    DeleteMeasure,
    InsertBeat,
    DeleteBeat,
    CopyMeasures,    // First … Last before Destination
    Undo,
    SetChord,        // Root (pitch class) and Type (0: no chord) on the selected beat; the command stays
    SetCommand,      // CommandCode and CommandParam (SectionKey ≥ 0: that section key); the chord stays
    ClearCell,
    SetTwelveBarMode,
    InsertProgramChanges,  // "Autochange program and more ( 4 )", with the editor's settings
    RemoveProgramChanges,  // "Delete all program change commands ( 5 )"
    IgnoreProgramChanges,  // "Ignore all program change commands" (On)
    // The settings of the automatic program changes.
    ProgramCount,          // "Number of MIDI programs": Entry the count, Entry2 the bank ("none" or 0 … 127)
    StartNumber,           // "Start number of MIDI programs": Entry
    ImportProgramList,     // "Import list of MIDI programs": the file Entry
    CreateProgramList,     // "Create list of MIDI programs": the file Entry
    ProgramOption,         // Option (ProgramOption) On
};

// The check items of the program-change settings.
enum class ProgramOption { EveryEightMeasures, Randomly, OnlyAtBeginning, UsingCommandKeys, EveryLoading };

struct SongEditRequest {
    SongEdit Edit = SongEdit::InsertMeasure;
    int Measure = 1;  // the selected row
    int Beat = 1;     // the selected column
    int First = 1, Last = 1, Destination = 1;
    std::string Entry;
    std::string Entry2;
    ProgramOption Option = ProgramOption::EveryEightMeasures;
    int Root = 0, Type = 1;
    int CommandCode = 0, CommandParam = 0;
    int SectionKey = -1;  // 0 … 8 in the order "Fill In", "To Basic", "Ending", "To Ext.", "Intro", "PAD on", "PAD off", "Ext.", "Basic"
    bool On = false;
};

// What the editor window tells the core about entering chords as they are played.
struct EditorLiveInput {
    bool Open = false;       // the editor window is shown
    bool Active = false;     // it is the active window
    bool InputLive = false;  // "Input chord live ": played chords go into the selected beat
    bool Acoustic = false;   // "Acoustic chord control": while active, chords sound an octave up
    int Measure = 1;         // the selected beat
    int Beat = 1;
    // How many live entries the window had seen when the beat was selected: a selection
    // older than the latest entry does not move the entry point back.
    std::uint32_t SeenEntries = 0;
};

struct SongEditReply {
    std::string Message;  // a refusal, or empty
    int SelectedRow = 1;
    SongGridView Grid;
};

struct LeadSheetOutcome {
    bool Ok = false;
    std::string Path;
    std::string Text;
    std::string Error;
};

class SongEditing {
public:
    // Edits the song in `arrangement`; keeps the program-change and playback switches in
    // `options`; reads the tempo for a lead sheet from `clockState`.
    SongEditing(Session& session, data::ArrangementState& arrangement, core::Options& options,
                const engine::ClockState& clockState);

    SongEditReply Apply(const SongEditRequest& request);
    SongGridView Grid();
    // Writes "LeadSheet-<song>.txt" into the song's folder (SONGS for a new song).
    LeadSheetOutcome WriteLeadSheet(composer::LeadSheetVariant variant, const LeadSheetKeys& keys = {});
    std::string ChannelValues();
    // The song's chords as a chart file; an empty text when written, else why not.
    std::string ExportChart(const std::string& path, const std::string& format, int transpose);
    // Replaces the song by the chords of a ChordPro chart or an iReal Pro link (not while
    // the style plays or chords are recorded); the reply's message lists the chart's warnings.
    SongEditReply ImportChart(const std::string& path);

    // A song the song creator just made: with "Autochange program and more ( 4 )" on, it
    // gets the automatic program changes at the intervals of its form (`formMeasures`: 12,
    // 16 or 24 for blues songs, 0 for others). The song is not saved.
    void ProgramChangesAfterGeneration(int formMeasures, int songMeasures);

    // Chords entered as they are played: the chord (root the note played, 1 … 127) or a
    // section command (its control key) goes into the beat, and the other half of the beat
    // stays. False when the beat lies outside the song; nothing changes then. Allocates
    // nothing, so the tick may call it.
    bool EnterChord(int measure, int beat, int root, int type);
    bool EnterSectionKey(int measure, int beat, int key);
    int BeatsPerMeasure() { return MeasureUnits() / 4; }

    composer::ChordMemoryEditor& Editor() { return editor_; }

private:
    composer::GridContext Context();
    // The program-change settings' edits; the message to show, or empty.
    std::string ProgramSettings(const SongEditRequest& request);
    composer::ProgramChangeOutcome InsertProgramChanges();
    composer::ProgramChangeSettings ProgramSettingsNow() const;
    int MeasureUnits();

    Session& session_;
    data::ArrangementState& arrangement_;
    core::Options& options_;
    const engine::ClockState& clockState_;
    composer::ChordMemoryEditor editor_;
    // Program-change settings the settings file does not keep (they last the program run).
    int bank_ = -1;
    int startNumber_ = 0;
    std::vector<int> programList_;
    bool everyLoading_ = false;
};

}  // namespace chordella::app
