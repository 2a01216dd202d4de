#pragma once
// The converter's choice of sections for the eight style parts: the section list the import
// found, the eight part lists filled from it, the six predefined variations sets with their
// "pick" fallback, random choices, the selections remembered for the program run, and the
// measure ranges the choice gives.

#include <array>
#include <string>
#include <vector>

#include "data/CreatorWork.h"
#include "platform/Random.h"

namespace chordella::stylecreator {

// The eight lists in the order the window shows them.
enum class ConverterList : int {
    Basic = 0,
    Extended,
    Intro,
    Ending,
    FillInBasic,
    FillInExtended,
    ToExtended,
    ToBasic,
};
inline constexpr int ConverterListCount = 8;
// The style part index (0 Intro … 7 To Basic) each list sets.
int PartOfList(int list);
// The list whose choice must differ from this one's (Basic for Extended, …); −1 = none.
int PartnerOfList(int list);

inline constexpr int VariationSetCount = 6;
// "Style variations set No. 1" … "No. 6", "Choose variations set randomly", "Choose style parts randomly".
inline constexpr int RandomSetItem = 6;
inline constexpr int RandomPartsItem = 7;
std::string SetItemText(int item);

struct SectionEntry {
    std::string Name;          // the marker's text
    int FirstMeasure = 0;
    int LastMeasure = 0;
    int StartBeat = 1;         // the beat of FirstMeasure the section begins on
    // "Main A : 2 - 5"
    std::string Text() const;
};

struct SectionRange {
    int First = 0;             // 0 = the part gets no range
    int Last = 0;
    int StartBeat = 1;
};

using Selections = std::array<int, ConverterListCount>;   // −1 = nothing selected

class ConverterLists {
public:
    // Clears the lists and fills them from the importer's markers (the first two, the file's
    // leading markers, are never offered), then selects the defaults.
    void Fill(const std::vector<data::SectionMarker>& markers);

    const std::vector<SectionEntry>& List(int list) const { return lists_[static_cast<std::size_t>(list)]; }
    const Selections& Selected() const { return selected_; }
    void Select(int list, int index);

    // Set items 0 … 5 select the table's entries through pick; RandomSetItem uses one of the six.
    void ChooseSet(int item, platform::Random& random);
    // Every non-empty list a random entry; a part and its partner differ where the list allows.
    void ChooseRandomParts(platform::Random& random);
    // "Show previous variations set": each list its remembered index, or its first entry when
    // it is shorter than that.
    void ShowRemembered(const Selections& remembered);

    // The ranges in part-index order (Intro first). Fills and transitions are one measure.
    std::array<SectionRange, ConverterListCount> ChosenRanges() const;

    // The index of the table's wanted entry in `list`, with the fallback: the highest existing
    // index below it that differs from the partner's choice; −1 for none.
    int Pick(int list, int wanted) const;

private:
    std::array<std::vector<SectionEntry>, ConverterListCount> lists_;
    Selections selected_{-1, -1, -1, -1, -1, -1, -1, -1};
};

// The variations set table: set (0 … 5) by list.
extern const std::array<std::array<int, ConverterListCount>, VariationSetCount> VariationSets;

// The converter window's options.
struct ConverterOptions {
    bool DoNotConvertIntroAndEnding = false;
    // Shown and kept for the window; parts start where their sections' markers stand (beat 2
    // of a 3/4 style whose set-up is four beats long), so the conversion needs no such rule.
    bool StartWithBeat2At3_4 = true;
    bool ProcessChannels9And11 = true;
    bool ShowWhenLoading = false;
    bool FixVariationsSet = false;
    int SetCount = 6;                  // 1 … 6
    int SetItem = 0;                   // the set list's item
    // The conversion mode: false "4  Improper notes" (notes converted to our chords), true
    // "Channel table (native)" (the maker's notes kept, each channel playing by its rules).
    bool NativeMode = false;
};
inline constexpr const char* ConvertedModeText = "4  Improper notes";
inline constexpr const char* NativeModeText = "Channel table (native)";
// "Create vxs-styles for 6 sets"
std::string CreateButtonText(int setCount);

}  // namespace chordella::stylecreator
