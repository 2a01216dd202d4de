#pragma once
// Where the file of a songlist entry is. Lists often come from another machine and hold
// Windows paths ("C:\Chordella\SONGS\Ballad.VXA"). Tried in order:
//   1. the stored path as it is, and with '\' turned into '/';
//   2. the part after "SONGS" (any case, either separator) below the data home's SONGS
//      folder, each folder and the file name matched without regard to case;
//   3. the file name alone in the data home's SONGS folder, matched without regard to case.
// A list copied to another folder with its songs finds them beside it: with the list's
// folder given, the file name alone there (without regard to case) comes before 2 and 3.
//
// Control thread.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace chordella::library {

// The file that exists for `storedPath`; nullopt when none does (or the path is empty).
std::optional<std::string> FindSongFile(std::string_view storedPath, const platform::Paths& paths,
                                        const std::string& listFolder = {});
// The same search for any folder of the data home: `folder` is where it is on this machine,
// `folderName` the name to look for in the stored path ("SONGS", "STYLES").
std::optional<std::string> FindStoredFile(std::string_view storedPath, const std::string& folder,
                                          std::string_view folderName);

// Steps 2 and 3 above for any folder of the data home: the part of `storedPath` after its
// last folder named `folderName` (any case) below `folder`, else the file name alone in
// `folder`, each part matched without regard to case. Never leaves `folder` ("..").
std::optional<std::string> FindBelowFolder(std::string_view storedPath, std::string_view folderName,
                                           const std::string& folder);

// Whether the file is a song the player opens: an arrangement (.vxa) or a MIDI file (.mid),
// in any case.
bool IsSongFileName(std::string_view path);
bool IsArrangementFileName(std::string_view path);

}  // namespace chordella::library
