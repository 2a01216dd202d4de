#pragma once
// One keyboard style file of another maker made into several styles of ours, one per
// variations set: the file NAME.sty gives NAME-1.vxs … NAME-N.vxs (NAME-k-DESCRIPTION.vxs
// with a description). The command line, the converter window's "Create vxs-styles for N
// sets" and a batch run over a folder all write their styles through here.
//
//   StyleSetsRequest request{.Sets = {1, 2, 3}, .Folder = out};
//   const StyleSetsOutcome done = ConvertForeignFileToStyles(session, "Soul.sty", request);
//
// Control thread. The session's arrangement is kept: the conversion's detected chords do not
// replace the user's song.

#include <string>
#include <vector>

#include "stylecreator/StyleConversion.h"

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

struct StyleSetsRequest {
    std::vector<int> Sets;       // variations sets 1 … 6
    std::string Folder;          // where the styles are written
    std::string Description;     // inserted as "-" + description after the set number; empty: none
    int NormaliseTarget = 0;     // 1 … 120: the volumes normalised to it before saving; 0: as converted
    // "Channel table (native)": the maker's notes kept, each channel's rules in the file's rules
    // block. A file whose channel table cannot drive them is converted as usual (a warning says why).
    bool Native = false;
};

struct WrittenStyle {
    int Set = 0;
    std::string Path;
    stylecreator::SetReport Report;
    int ChannelsUsed = 0;        // channels that sound in the style written
};

struct StyleSetsOutcome {
    std::vector<WrittenStyle> Written;
    std::vector<std::string> Warnings;   // "set 4: no Basic part, no style written", …
    std::string Error;                   // why the file could not be converted or a style not saved
};

// FOLDER/NAME-k.vxs or FOLDER/NAME-k-DESCRIPTION.vxs, NAME the source file's name without
// its extension.
std::string StyleSetFileName(const std::string& folder, const std::string& sourcePath, int set,
                             const std::string& description = {});

// Writes one style per requested set from the file `conversion` has imported. A set whose
// result has no Basic part writes no file (a warning says so). Saving stops at the first
// style that cannot be written (Error). The last set converted stays in the creator.
StyleSetsOutcome WriteStyleSets(core::Session& session, AppState& app, stylecreator::StyleCreator& creator,
                                stylecreator::StyleConversion& conversion, const std::string& sourcePath,
                                const StyleSetsRequest& request);

// Imports `sourcePath` (channel table used when `useChannelTable`) and writes its styles.
StyleSetsOutcome ConvertForeignFileToStyles(core::Session& session, AppState& app, const std::string& sourcePath,
                                            const StyleSetsRequest& request, bool useChannelTable = true);

}  // namespace chordella::app
