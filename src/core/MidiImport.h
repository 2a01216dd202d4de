#pragma once
// Importing a Standard MIDI File (or a keyboard style file, which is one with section
// markers) into the style creator's work: the question, the file choice, the size check,
// the conversion (MidiImportRun) and what the import leaves behind in the creator, the
// controller table and the other modules (MidiImportLink).
//
// The whole file is read and converted once without writing anything; only a sound file
// then changes the work, so a damaged file leaves everything as it was.
//
// The question and the open dialog never wait for the answer: Import asks, returns Asking,
// and goes on when the answer arrives (the control loop keeps playing meanwhile); `done`
// gets the outcome. When every question was answered before Import returned (the command
// line, scripted tests, a silent import) the outcome is answered at once. The importer must
// live until then (the style creator keeps one).

#include <functional>
#include <optional>
#include <string>

#include "data/MidiImportLink.h"
#include "data/MidiImportRun.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core

namespace chordella::data {

enum class ImportOutcome {
    Imported,
    Cancelled,     // a question answered No or no file chosen
    Failed,        // a message was shown; nothing changed
    Asking,        // the question or the open dialog is open; the outcome goes to `done`
};

using ImportDone = std::function<void(ImportOutcome)>;

inline constexpr const char* ImportDialogTitle = "Import MIDI ...";
inline constexpr const char* ImportDialogFilter =
    "MIDI-Files (*.mid)|*.mid;*.prs;*.sty;*.bcs;*.kar;*.sst|All files (*.*)|*.*";
inline constexpr const char* ImportDefaultName = "CHORDS.MID";

class MidiImporter {
public:
    // The hooks must outlive the importer; nullptr uses DataOnlyImportLink (nothing else takes part).
    // Of the options, the style creator's timing and meter choices and "Progressbars" are read.
    MidiImporter(core::Session& session, const core::Options& options, MidiImportLink* hooks = nullptr);
    MidiImporter(const MidiImporter&) = delete;
    MidiImporter& operator=(const MidiImporter&) = delete;

    // False while the import runs without the other modules (DataOnlyImportLink).
    bool LinkWired() const { return hooks_ != &dataOnly_; }

    // Control thread. Imports `path` (the open dialog when empty; with "*" the dialog only
    // picks the import directory). `keepLeadingSilence` turns the trimming of silence before
    // the first note off; `silent` asks nothing, shows no dialog and no progress.
    ImportOutcome Import(const std::string& path, bool keepLeadingSilence = false, bool silent = false,
                         ImportDone done = {});

    // The result of the last conversion (markers, tempo, meter, …).
    const ImportResult& LastResult() const { return last_; }
    const SmfLayout& LastLayout() const { return layout_; }

private:
    // The file to import: `path`, or the open dialog's choice (nullopt when cancelled).
    void ChooseFile(const std::string& path, std::function<void(std::optional<std::string>)> then);
    ImportOutcome ImportChosen(const std::string& path, const std::string& chosen, bool keepLeadingSilence);
    ImportOutcome Fail(const std::string& message);
    ImportOutcome Convert(const std::string& path, std::span<const std::uint8_t> bytes, bool keepLeadingSilence,
                          bool silent);
    void Apply(const std::string& path, bool appending, const CreatorWorkWriter& writer);
    void PadAppendedMeasure(CreatorWorkWriter& writer);

    core::Session& session_;
    const core::Options& options_;
    DataOnlyImportLink dataOnly_;
    MidiImportLink* hooks_;
    bool silent_ = false;
    SmfLayout layout_;
    ImportResult last_;
};

// True for files whose markers are collected: every extension other than .mid.
bool IsStyleFormat(const std::string& path);

}  // namespace chordella::data
