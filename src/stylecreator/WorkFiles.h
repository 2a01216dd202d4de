#pragma once
// The creator's work files (.vxw) and style files (.vxs) from the creator's side: which parts
// of the session's style and the program's state go into them and how they come back. A file
// is checked whole before anything changes; saving writes a temporary file and renames it.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ChordMemory.h"
#include "data/CreatorWork.h"
#include "data/StyleState.h"
#include "data/WorkFile.h"

namespace chordella::stylecreator {

inline constexpr const char* StyleSaveTitle = "Save Style as ...";
inline constexpr const char* StyleFileFilter = "Styles (*.vxs)|*.vxs";

// The style's stream as chunk 0 holds it: its events up to the first 0x00, 0xF0 or damaged
// byte, closed by 0x00.
std::vector<std::uint8_t> StyleStreamOf(const data::CreatorWork& work);

// The work file of the current state.
data::WorkFile MakeWorkFile(const data::CreatorWork& work, const data::ChordMemory& chords,
                            const data::StyleHeader& header, const data::PartTable& parts);

// The header and part table of a work file, checked against its stream as a style's are.
// False with the reason; nothing is written then.
bool ReadWorkBlocks(const data::WorkFile& file, data::StyleHeader& header, data::PartTable& parts,
                    std::string& error);
// The chord memory of a work file (its length is checked by the parser).
void PutWorkChords(const data::WorkFile& file, data::ChordMemory& chords);

}  // namespace chordella::stylecreator
