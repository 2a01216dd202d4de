#pragma once
// The song creator on the control thread: its options, the progression list's choice and
// the random style choice, and the commands of its window — a click in the progression list,
// "Create chords", "Generate completely random song", "Random Style", the export of the list
// and the regeneration that keeps chosen measures. Each stops playback, makes the song, puts
// it into the chord memory and plays it.
//
// Control thread. Questions (the range limits, saving the list) use the prompter's
// non-waiting forms: the operation continues in their callback.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "composer/GeneratedSong.h"
#include "composer/ProgressionList.h"
#include "composer/RandomStyleChoice.h"
#include "composer/SongCreatorOptions.h"
#include "composer/SongGenerator.h"

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

inline constexpr const char* SaveArrangementQuestion = "Current arrangement was not saved - save it now ?";

// What the window shows of the song just made.
struct SongCreatorResult {
    bool Generated = false;
    std::string PlayLabel;     // "PLAY ...", "PLAY 12 bar Blues" …
    std::string Progressions;  // "Progr. 3-17" (empty for random chords)
    std::string Bars;          // "Bars: 8-8"
    std::string Sheet;         // measure by measure: numerals, names, commands
    std::string Numerals;      // the chord changes' numerals joined by " - "
    std::string StyleName;     // the style loaded (after a random choice)
};

class SongCreator {
public:
    // `play` starts playback of the chord memory (the transport's Play).
    SongCreator(core::Session& session, AppState& app, std::function<void()> play);
    ~SongCreator();

    composer::SongCreatorOptions& Options() { return options_; }
    composer::ProgressionChoice& Choice() { return choice_; }
    // The random style choice draws from this list; nullptr returns to the default list.
    void SetStyleList(composer::StyleListLink* list);
    // The default list (the style manager's); nullptr makes it the styles folder again.
    void SetDefaultStyleList(composer::StyleListLink* list);
    // The main window's key list (fifths order) and mode list: the song's key when
    // "Randomly choose key" is off. The window's options never carry them.
    void SetKeyAndMode(int keyIndex, int modeIndex);
    // Runs after every song made, before it plays: the editor's automatic program changes
    // when "Autochange program and more ( 4 )" is on (none: no program changes).
    void SetAfterGeneration(std::function<void(const composer::GeneratedSong&)> afterGeneration);

    // A click in the progression list; the two limits ask for their number first.
    SongCreatorResult ChooseEntry(int entry);
    void AskLowerLimit(std::function<void()> done = {});
    void AskUpperLimit(std::function<void()> done = {});
    // "Create chords": from the progressions when one was chosen in the list, else random
    // chords of the options' chord groups.
    SongCreatorResult CreateChords();
    // "Generate completely random song": a random style first (with "Randomly choose style").
    SongCreatorResult CompletelyRandomSong();
    // The chord view's commands ("mixed": randomly mixed common progressions, else a completely
    // random song): playback stops; a song with unsaved changes is offered for saving first
    // ("Yes" saves it and ends the command). `done` gets the song made (none after a save).
    void FromChordView(bool mixed, std::function<void(const SongCreatorResult&)> done);
    // "Random Style": the loaded style's name, empty when none was loaded.
    std::string RandomStyle();
    // "Use another style !": a random style; the song plays on with it when it had passed its
    // third beat. Answers the style's name.
    std::string AnotherStyle();
    // The song made last again, with the measures `locked` (1-based) kept as they are.
    SongCreatorResult Regenerate(const std::vector<int>& locked);
    // The progression list as text; asks whether to save it as "CCPList.csv".
    void ExportList();
    // A song of the batch processor: a random style first (with "Randomly choose style"),
    // then the song of the mode button pressed last ("Generate simple songs": random chords
    // of the options' chord groups, else completely random). The song is not played.
    SongCreatorResult BatchSong();

private:
    SongCreatorResult Generate(composer::GenerationMode mode, const std::vector<int>& locked = {}, bool play = true);

    core::Session& session_;
    AppState& app_;
    std::function<void()> play_;
    composer::SongCreatorOptions options_;
    composer::ProgressionChoice choice_;
    composer::RandomStyleChoice styleChoice_;
    composer::StyleListLink* DefaultStyleList() const;

    std::unique_ptr<composer::StylesFolderList> folderList_;
    composer::StyleListLink* defaultList_ = nullptr;
    composer::StyleListLink* styleList_ = nullptr;
    bool listChosen_ = false;
    composer::GenerationMode lastMode_ = composer::GenerationMode::RandomChords;
    composer::GeneratedSong lastSong_;
    int keyIndex_ = 0;
    int modeIndex_ = 0;
    std::function<void(const composer::GeneratedSong&)> afterGeneration_;
};

}  // namespace chordella::app
