#pragma once
// Importing and exporting sets of style parts as separate MIDI files (names and fallbacks in
// StylePartSets), and converting the set parts with the popup's options.

#include <string>
#include <vector>

#include "core/Session.h"
#include "stylecreator/StyleCreator.h"
#include "stylecreator/StylePartSets.h"

namespace chordella::stylecreator {

// The popup menu's conversion options.
struct PopupConvertOptions {
    bool DontConvertIntroAndEnding = false;   // "Don't convert intro && ending"
    bool DontConvertFills = false;            // "Don't convert fills"
    bool DontConvertBasicAndExtended = false; // "Don't convert basic && extended"
    bool MovePercussionToTrack10 = false;     // "Move percussion sounds to track 10"
    bool OnlyStandardPercussion = false;      // "Use only standard percussion sounds"
};

// "Convert style with options below": the set parts from To Basic down to Intro, each
// converted with "Convert measures to Style" without questions, except those the options keep.
// Answers the parts converted.
std::vector<int> ConvertWithOptions(StyleCreator& creator, const PopupConvertOptions& options);

struct SetImportResult {
    std::vector<int> PartsSet;
    std::string Message;       // "This file cannot be processed !" and the like; empty when silent
};
// Control thread. "Import set of style parts": clears the work, reads the set's files behind
// each other, sets each file's part, then runs the popup's channel options, "Convert style
// with options below" and the channel defaults. A missing first file imports nothing.
SetImportResult ImportPartSet(core::Session& session, StyleCreator& creator, const std::string& folder,
                              const SetImportItem& item, const PopupConvertOptions& options);

// Control thread. "Import style part ...": the MIDI file is read behind the material and
// becomes `part`. False with the reason; the material before it stays.
bool ImportPartFile(core::Session& session, StyleCreator& creator, const std::string& path, int part,
                    std::string& error);

// Control thread. One set part as a MIDI file (its channels' set-up first, then its events).
// False with the reason (a part that is not set, a file that cannot be written).
bool WritePartFile(core::Session& session, int part, const std::string& path, std::string& error);

// Control thread. "Export set of style parts": every set part as its own MIDI file under the
// set's names. False with the reason; files written before a failure stay.

bool ExportPartSet(core::Session& session, const std::string& folder, int setDigit, std::vector<std::string>& written,
                   std::string& error);

}  // namespace chordella::stylecreator
