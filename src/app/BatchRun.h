#pragma once
// The batch processor: one style operation over many files, without questions, one file
// per `Step()`. The window runs the steps in slices on the control thread between events
// (Cancel stops after the current file); the headless `chordella batch` runs them in a loop.
//
// Every file is worked on in a private session of its own (its own style, no prompter
// that waits), so a run never touches the style that is playing. A style file is replaced
// only through a temporary file that was written and read back before it is renamed over
// the old one; a run that is killed leaves every style either old or new, never half.
//
// The questions before a run ("You should have previously backed up …", the number of
// sets, the description, clearing the playlist) are the caller's: their texts are below,
// their answers go into the `BatchJob`.
//
// Control thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"

namespace chordella::data { struct InstrumentSet; }
namespace chordella::library { class StylePlaylist; }

namespace chordella::app {

enum class BatchMode {
    Convert,         // foreign styles → styles of ours, sets 1 … N, normalised
    DeleteBassless,  // styles of ours without a bass (or with damaged parts) deleted
    Check,           // parts pointing at the end of the stream reported; the check report written
    Normalize,       // styles of ours normalised in place
    Refresh,         // styles of ours normalised and rebuilt by the converter, in place
    Add,             // a playlist line per style
    Tag,             // instrument tags added to the playlist lines that have none
    Songs,           // random chord progressions saved as songs: done through a BatchItemLink
};

// The program's texts of the batch processor.
namespace batch_text {
inline constexpr std::string_view MenuItem = "4.  Batch processor";
inline constexpr std::string_view Title = "BATCH PROCESSOR ...";
inline constexpr std::string_view StayOnTop = "Sorry, StayOnTop-mode must first be terminated !";
inline constexpr std::string_view BackUpFirst =
    "You should have previously backed up your data!\r\n\r\nDo you really want to start the process now?";
inline constexpr std::string_view UsePlaylist = "You work with the files, listed in the Style-Playlist; is this OK?";
inline constexpr std::string_view AskSets = "How many files per *sty-file are to be created (1-6) ?";
inline constexpr std::string_view DefaultSets = "6";
inline constexpr std::string_view WrongEntry = "Wrong entry !";
inline constexpr std::string_view AskSongs = "How many songs are to be created (1-50) ?";
inline constexpr std::string_view DefaultSongs = "1";
inline constexpr std::string_view WrongSongs = "Wrong entry or too many songs !";
inline constexpr std::string_view SongsToSonglist =
    "- Add/Insert songs to the current songlist (Yes)\r\n\r\n- Clear songlist first and then add songs to it (No)?";
inline constexpr std::string_view EnhanceNames = "ENHANCE STYLE NAMES ...";
inline constexpr std::string_view AddToPlaylist = "Check & add styles to playlist ...";
// The answer that takes each style's description from its folder.
inline constexpr std::string_view FromFolder = "???";
}  // namespace batch_text

// One mode: its headless name ("convert" …), its menu item, and what it does to files.
struct BatchModeInfo {
    BatchMode Mode;
    std::string_view Name;
    std::string_view MenuItem;
    bool ChangesFiles;   // asks "You should have previously backed up …" first
    bool Deletes;        // lists what it would delete and asks
    bool ForeignInput;   // takes the keyboard style files of other makers, not ours
};

// The modes in the order of the menu.
const std::vector<BatchModeInfo>& BatchModes();
const BatchModeInfo& InfoOf(BatchMode mode);
std::optional<BatchMode> BatchModeNamed(std::string_view name);

// "The current playlist contains " + N + " entries. \n\r\n\r" + "Should it be cleared before styles are added ?"
std::string ClearPlaylistQuestion(int entries);
// The number of sets typed into the input box: 1 … 6, nullopt for anything else ("Wrong entry !").
std::optional<int> ParseSetCount(std::string_view typed);
// The number of songs typed: above 50 counts as 50; nullopt for 0 or no number.
std::optional<int> ParseSongCount(std::string_view typed);

enum class DescriptionPolicy {
    None,        // no description
    Given,       // `BatchJob::Description` for every file
    FromFolder,  // the "???" answer: each file's folder name
};

// The description the "???" answer gives a style at `path`: the lower-cased folder path,
// cut before "/vxs/" ("\vxs\") when it contains it, its last folder name, at most 14
// characters, first letter upper-cased. Empty for a path without a folder.
std::string DescriptionFromFolder(std::string_view path);
// The name a converted style gets: "Pop.sty", set 2, "Ballad" → "Pop-2-Ballad.vxs".
std::string ConvertedName(std::string_view foreignFile, int set, std::string_view description);

// The style creator's normalisation target (its field's default).
inline constexpr int CreatorNormaliseTarget = 100;

struct BatchJob {
    BatchMode Mode = BatchMode::Check;
    std::vector<std::string> Inputs;       // the files in the order they are taken (Songs: one label per song)
    std::string OutputFolder;              // Convert: where the styles are written
    int Sets = 6;                          // Convert: variations sets 1 … Sets
    DescriptionPolicy Descriptions = DescriptionPolicy::None;  // Convert, Add
    std::string Description;               // with DescriptionPolicy::Given
    bool ClearPlaylistFirst = false;       // Add: the playlist is cleared (its .bak written) first
    bool DryRun = false;                   // DeleteBassless: nothing deleted; `Deleted()` lists what would be
    int NormaliseTarget = CreatorNormaliseTarget;  // Convert, Normalize, Refresh
};

// The input files of a mode: the files of `folder` and its subfolders (ours or foreign as
// the mode takes them), sorted by path; or the files of the playlist's style lines (of the
// mode's kind) that are found on this machine, each once. `missing` (when given) gets the
// stored paths of the lines whose file is not found.
std::vector<std::string> BatchInputsFromFolder(const std::string& folder, BatchMode mode, std::string* error = nullptr);
std::vector<std::string> BatchInputsFromPlaylist(const library::StylePlaylist& playlist, BatchMode mode,
                                                 std::vector<std::string>* missing = nullptr);

// The work of one item in a mode this run does not do itself (Songs: the song creator of
// the window side, which owns the songlist and the chord view).
class BatchItemLink {
public:
    virtual ~BatchItemLink() = default;
    // Item `index` of the job's inputs. Empty when done, else why it failed.
    virtual std::string Process(int index, const std::string& item) = 0;
    // Paths of the files the last `Process` wrote (counted in the summary).
    virtual std::vector<std::string> LastWritten() const { return {}; }
};

struct BatchContext {
    platform::Paths Paths;                        // LISTS (check report), the private sessions' home
    library::StylePlaylist* Playlist = nullptr;   // Add, Tag: the list changed (and saved at the end)
    BatchItemLink* Items = nullptr;               // Songs
    const data::InstrumentSet* Instruments = nullptr;  // the channels' instrument names; none: General MIDI
};

struct BatchError {
    std::string File;
    std::string Reason;
};

struct BatchProgress {
    int FileCount = 0;        // inputs of the job
    int Done = 0;             // files taken so far (with or without error)
    std::string CurrentFile;  // the file the last step worked on
    int Errors = 0;
    bool Finished = false;    // every file taken, or cancelled, or stopped
    bool Cancelled = false;
    bool Stopped = false;     // a fault that ends the run (a full disk): `StopReason()`
};

class BatchRun {
public:
    BatchRun(BatchJob job, BatchContext context);
    ~BatchRun();
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // Works on the next file; after the last one the run finishes (the check report and
    // the playlist are written). True while files remain.
    bool Step();
    // Stops before the next file and finishes at once; the files done stay done, the rest
    // untouched.
    void Cancel();

    const BatchJob& Job() const { return job_; }
    BatchProgress Progress() const;
    const std::vector<BatchError>& Errors() const { return errors_; }
    // Style files written (Convert, Normalize, Refresh), deleted (DeleteBassless; with a dry
    // run: that would be deleted), playlist lines added or tagged (Add, Tag).
    const std::vector<std::string>& Written() const { return written_; }
    const std::vector<std::string>& Deleted() const { return deleted_; }
    int LinesChanged() const { return linesChanged_; }
    // The information texts of the run in order ("0-Byte at 1 found in X", "Checked styles saved as …").
    const std::vector<std::string>& Messages() const { return messages_; }
    // Check: the report written when the run finished; empty before, or when none could be.
    const std::string& ReportFile() const { return reportFile_; }
    const std::string& StopReason() const { return stopReason_; }
    // "Done with " + errors + " errors ! - It is recommended to restart \r\nChordella before the created styles are used !"
    std::string Summary() const;
    // One line for a terminal: "12 of 14 files done, 2 errors (…)".
    std::string CountLine() const;

private:
    struct Work;
    void DoFile(const std::string& file);
    void ConvertFile(const std::string& file);
    std::string DescriptionFor(const std::string& file) const;
    void WriteCheckReport();
    // Writes a style for the input file; a full disk stops the run. False when not written.
    bool WriteStyle(const std::string& input, const std::string& path, const std::vector<std::uint8_t>& bytes);
    void Finish();
    void Fail(const std::string& file, const std::string& reason);

    BatchJob job_;
    BatchContext context_;
    std::unique_ptr<Work> work_;
    std::size_t next_ = 0;
    std::string current_;
    bool finished_ = false;
    bool cancelled_ = false;
    bool stopped_ = false;
    std::vector<BatchError> errors_;
    std::vector<std::string> written_;
    std::vector<std::string> deleted_;
    int linesChanged_ = 0;
    std::vector<std::string> messages_;
    std::vector<std::string> checked_;
    std::string reportFile_;
    std::string stopReason_;
};

}  // namespace chordella::app
