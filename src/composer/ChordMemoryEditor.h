#pragma once
// The chord-memory editor's edits: inserting, creating, deleting and copying measures,
// inserting and deleting beats, and the one-level undo. They work on a song's chord memory
// in place; every refused edit leaves the memory exactly as it was and says why.
//
// The song ends with a measure holding a STOP record on its first beat (a new song of n
// measures has length n × MeasureUnits + 4 + MeasureUnits). The grid shows the measures up
// to and including that one.
//
// Control thread. Nothing here allocates except the messages.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "data/ChordMemory.h"

namespace chordella::composer {

// The editor's refusal messages.
inline constexpr const char* CantInsertMeasure = "Can't insert Measure(s) !";
inline constexpr const char* WrongMeasureValue = "Wrong measure value !";
inline constexpr const char* CantClearMeasure = "Can't clear Measure !";
inline constexpr const char* CantInsertBeat = "Can't insert Beat !";
inline constexpr const char* CantClearBeat = "Can't clear Beat !";
inline constexpr const char* CantCopyMeasures = "Can't copy Measures !";
inline constexpr const char* ChordMemoryIsEmpty = "Chordmemory is empty !";
// Not a refusal of the editor's own table: undo without a snapshot, an edit while the style plays.
inline constexpr const char* NothingToUndo = "Nothing to undo !";
inline constexpr const char* StopStyleFirst = "Stop the style before editing measures and beats !";

struct EditOutcome {
    bool Changed = false;
    std::string Message;  // empty when the edit was done
    explicit operator bool() const { return Changed; }
};

// Where an edit applies and what surrounds it.
struct EditPlace {
    int Measure = 1;          // the selected grid row (1-based)
    int Beat = 1;             // the selected beat column (1-based)
    int MeasureUnits = 16;    // 4 × beats per measure
    bool StylePlaying = false;
};

class ChordMemoryEditor {
public:
    // The default number of measures a new song asks for.
    static constexpr int DefaultNewMeasures = 32;

    explicit ChordMemoryEditor(data::ChordMemory& memory) : memory_(memory) {}

    // Inserts an empty measure before the selected one. An empty memory is refused: the
    // window asks "How many measures ?" and creates them instead.
    EditOutcome InsertMeasure(const EditPlace& place);
    // An empty memory gets `measures` empty measures and the STOP measure after them
    // (TwelveBarMode rounds down to a multiple of 12, at least 12). 0 changes nothing.
    EditOutcome CreateMeasures(int measures, int measureUnits);
    // The same with the entry of the "How many measures ?" box: not a number is refused.
    EditOutcome CreateMeasures(const std::string& entry, int measureUnits);
    // An empty memory gets measures filled with these records in order, one per beat (the
    // last measure padded with empty beats), then the STOP measure. The progression
    // generator and the chart import build songs through this.
    EditOutcome CreateMeasuresFrom(std::span<const data::BeatRecord> beats, int measureUnits);
    EditOutcome DeleteMeasure(const EditPlace& place);
    EditOutcome InsertBeat(const EditPlace& place);
    EditOutcome DeleteBeat(const EditPlace& place);
    // Copies measures first … last before the measure `destination`; the song grows by
    // the copied measures.
    EditOutcome CopyMeasures(int first, int last, int destination, const EditPlace& place);
    // Restores the memory, its length and the selected row of the snapshot; the snapshot is
    // then gone. `selectedRow` receives the row.
    EditOutcome Undo(int& selectedRow);

    // Writes one record (a chord, a command or both) at the selected beat. Positions past
    // the song's end are refused.
    EditOutcome SetRecord(const EditPlace& place, const data::BeatRecord& record);
    // The same without a message, for chords entered as they are played: false when the
    // record cannot go there (nothing changes). Allocates nothing.
    bool WriteRecord(const EditPlace& place, const data::BeatRecord& record) noexcept;

    bool CanUndo() const { return hasSnapshot_; }
    bool EditorModified() const { return editorModified_; }
    void SetEditorModified(bool modified) { editorModified_ = modified; }
    bool TwelveBarMode() const { return twelveBarMode_; }
    void SetTwelveBarMode(bool on) { twelveBarMode_ = on; }
    // A new song in memory: the snapshot belongs to the old one.
    void ForgetSnapshot() { hasSnapshot_ = false; }

    data::ChordMemory& Memory() { return memory_; }

private:
    // Why `record` cannot be written at `place`, or nullptr.
    const char* RecordRefusal(const EditPlace& place, const data::BeatRecord& record) const;
    void TakeSnapshot(int row);
    void Done() { editorModified_ = true; }

    data::ChordMemory& memory_;
    std::array<std::uint8_t, data::ChordMemorySize> undoMemory_{};
    std::int16_t undoLength_ = data::ChordMemoryHeaderSize;
    int undoRow_ = 1;
    bool hasSnapshot_ = false;
    bool editorModified_ = false;
    bool twelveBarMode_ = false;
};

// The position of the song's STOP record (the first one from position 4 before the
// length); 0 when the song has none.
int StopPosition(const data::ChordMemory& memory);

}  // namespace chordella::composer
