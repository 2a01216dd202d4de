#pragma once
// The lead sheet (a plain-text chart of the song, written beside it as
// "LeadSheet-<song>.txt") and the channel-value text of the controller table. Control thread.

#include <string>
#include <vector>

#include "composer/EditorGrid.h"
#include "data/ChordMemory.h"
#include "midi/ControllerTable.h"

namespace chordella::composer {

enum class LeadSheetVariant {
    ChordsAndCommands,  // every cell as the grid shows it, the style named in the header
    ChordsOnly,         // only the chords, " ENDING" on the last line
};

struct LeadSheetInput {
    std::string Meter = "4/4";  // as the editor shows it
    int Tempo = 120;
    std::string StyleReference;
    std::vector<std::string> Instruments;   // the melody instrument list (at most 10 are listed)
    std::vector<std::string> FunctionSet;   // the set of melody instruments and functions
};

std::string LeadSheetText(const data::ChordMemory& memory, const GridContext& grid, const LeadSheetInput& input,
                          LeadSheetVariant variant);

// "LeadSheet-" + the song's file name without its folder, extension and a "-T<tempo>"
// suffix + ".txt"; "LeadSheet-Untitled.txt" for a song without a file.
std::string LeadSheetFileName(const std::string& songPath);

// "Controller-Values": the current values of each channel whose program is known.
// `instrumentName` names a program of a channel.
std::string ChannelValuesText(const midi::ControllerTable& table,
                              const std::vector<std::string>& instrumentNames);

}  // namespace chordella::composer
