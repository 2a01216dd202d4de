#pragma once
// The song creator's progression list and the choice of progressions it drives: the
// shuffle and section entries, the range limits, one chosen row, and which row plays next
// (sequential or random within the range).
//
// The list's first ten entries are commands; the 100 rows follow from entry 10 on.

#include <string>
#include <string_view>
#include <vector>

namespace chordella::platform { class Random; }

namespace chordella::composer {

enum ListEntry : int {
    HeadingEntry = 0,
    ShuffleAllEntry = 2,
    ShuffleSection1Entry = 3,
    ShuffleSection2Entry = 4,
    ShuffleBlues816Entry = 5,
    ShuffleBlues12Entry = 6,
    LowerLimitEntry = 7,
    UpperLimitEntry = 8,
    FirstRowEntry = 10,
};

// The list's texts, heading and commands first, then "000. " + name for every row.
std::vector<std::string> ProgressionListEntries();

inline constexpr const char* RangeBoxTitle = "Set range of progressions ...";
inline constexpr const char* LowerLimitPrompt = "Specify the lower range limit number ...";
inline constexpr const char* UpperLimitPrompt = "Specify the upper range limit number ...";
inline constexpr const char* WrongLowerLimit = "Wrong lower range limit number !";
inline constexpr const char* WrongUpperLimit = "Wrong upper range limit number !";

inline constexpr const char* PlayLabelDefault = "PLAY ...";
inline constexpr const char* PlayLabelSection1 = "PLAY song from section 1 ...";
inline constexpr const char* PlayLabelSection2 = "PLAY song from section 2 ...";
inline constexpr const char* PlayLabelBlues816 = "PLAY 8/16 bar Blues";
inline constexpr const char* PlayLabelBlues12 = "PLAY 12 bar Blues";

// The state of the choice; it lives as long as the song creator.
class ProgressionChoice {
public:
    // The section bounds from the names (a missing label gives the row count).
    ProgressionChoice();

    // A click on a list entry. True when the click starts a generation (every entry but the
    // two limits, the heading and the empty ones).
    bool ChooseEntry(int entry);
    // "Use mixed common chord progressions": the shuffle-all entry.
    void UseMixed() { ChooseEntry(ShuffleAllEntry); }
    // The range limits as typed into the input box; an empty text is returned on success,
    // otherwise the message to show (the limits stay as they were).
    std::string SetLowerLimit(std::string_view text);
    std::string SetUpperLimit(std::string_view text);

    // At the start of a song: with shuffle-all active a section is drawn (never the 8/16 bar
    // blues; only section 1 right after a blues draw), and the previous song's row is forgotten.
    void StartSong(platform::Random& random);
    // The row the next progression of the song uses.
    int NextRow(platform::Random& random, bool sequential);
    // True when the song keeps one row from start to end (a chosen row, or a blues range).
    bool SingleRow() const { return chosenRow_ >= 0; }
    bool BluesRange() const { return lower_ >= blues8Start_; }

    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    int ChosenRow() const { return chosenRow_; }
    std::string_view PlayLabel() const { return playLabel_; }
    bool ShuffleAll() const { return shuffleAll_; }

private:
    void SetRange(int lower, int upper, const char* label);
    void ShuffleAllSections(platform::Random& random);

    int section2Start_, blues8Start_, blues12Start_, end_;
    int lower_ = 0, upper_ = 43;
    int pointer_ = -1;           // the sequential pointer; −1 = none
    int previousDraw_ = -1;      // the last shuffle-all draw
    int previousRow_ = -1;       // the row last played
    int chosenRow_ = -1;         // one row chosen for the whole song
    bool shuffleAll_ = true;
    const char* playLabel_ = PlayLabelDefault;
};

}  // namespace chordella::composer
