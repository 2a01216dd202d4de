#pragma once
// Importing a Standard MIDI File (or a keyboard style file, which is one with section
// markers) into the style creator's work: the question, the file choice, the size check,
// the conversion (MidiImportRun) and what the import leaves behind in the creator, the
// controller table and the other modules (MidiImportLink).
//
// The whole file is read and converted once without writing anything; only a sound file
// then changes the work, so a damaged file leaves everything as it was.

#include <optional>
#include <string>

#include "data/MidiImportLink.h"
#include "data/MidiImportRun.h"

namespace chordella::core { class Session; }

namespace chordella::data {

enum class ImportOutcome {
    Imported,
    Cancelled,     // a question answered No or no file chosen
    Failed,        // a message was shown; nothing changed
};

inline constexpr const char* ImportDialogTitle = "Import MIDI ...";
inline constexpr const char* ImportDialogFilter =
    "MIDI-Files (*.mid)|*.mid;*.prs;*.sty;*.bcs;*.kar;*.sst|All files (*.*)|*.*";
inline constexpr const char* ImportDefaultName = "CHORDS.MID";

class MidiImporter {
public:
    // The hooks must outlive the importer; nullptr uses hooks that do nothing.
    explicit MidiImporter(core::Session& session, MidiImportLink* hooks = nullptr);

    // Control thread. Imports `path` (the open dialog when empty; with "*" the dialog only
    // picks the import directory). `keepLeadingSilence` turns the trimming of silence before
    // the first note off; `silent` asks nothing, shows no dialog and no progress.
    ImportOutcome Import(const std::string& path, bool keepLeadingSilence = false, bool silent = false);

    // The result of the last conversion (markers, tempo, meter, …).
    const ImportResult& LastResult() const { return last_; }
    const SmfLayout& LastLayout() const { return layout_; }

private:
    std::optional<std::string> ChooseFile(const std::string& path);
    ImportOutcome Fail(const std::string& message);
    ImportOutcome Convert(const std::string& path, std::span<const std::uint8_t> bytes, bool keepLeadingSilence,
                          bool silent);
    void Apply(const std::string& path, bool appending, const CreatorWorkWriter& writer);
    void PadAppendedMeasure(CreatorWorkWriter& writer);

    core::Session& session_;
    MidiImportLink noHooks_;
    MidiImportLink* hooks_;
    bool silent_ = false;
    SmfLayout layout_;
    ImportResult last_;
};

// True for files whose markers are collected: every extension other than .mid.
bool IsStyleFormat(const std::string& path);

}  // namespace chordella::data
