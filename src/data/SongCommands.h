#pragma once
// The song commands a beat record can carry and the text the chord-memory editor and the
// lead sheet show for each. Control thread; nothing here allocates except the texts.

#include <array>
#include <cstdint>
#include <string>

#include "data/ChordMemory.h"

namespace chordella::data {

// The notes of the nine section keys as currently assigned, in the order of their texts:
// "Fill In", "To Basic", "Ending", "To Ext.", "Intro", "PAD on", "PAD off", "Ext.", "Basic".
struct SectionKeyNotes {
    std::array<int, 9> Notes{};

    // The four configured keys; the other five lie just below the lowest of them
    // (Intro one below, then PAD on, PAD off, Ext., Basic).
    static SectionKeyNotes From(int fillIn, int toBasic, int ending, int toExt);
    // The keys of a fresh configuration: Fill In 36, To Ext. 37, Ending 38, To Basic 39.
    static SectionKeyNotes Defaults() { return From(36, 39, 38, 37); }
};

struct CommandTextContext {
    SectionKeyNotes SectionKeys = SectionKeyNotes::Defaults();
    int SongTranspose = 0;            // added to the pitch class of key signatures
    bool SuppressSignChange = false;  // "Suppress sign change": one spelling for every key
    bool SharpSpelling = false;       // the spelling used then (the "Flat <> Sharp" choice)
};

// The text of the record's command ("Fill In", "Key: Eb maj", "Solo C.10", "3 Down",
// "Loop 3x", "Tempo 120", "STOP" …); empty when the record has none or one no text names.
std::string CommandText(const BeatRecord& record, const CommandTextContext& context);

// The name of a key: spelled with sharps or flats as the key's signature has them.
std::string KeyName(int pitchClass, bool minor, const CommandTextContext& context);

// The command parameter of a transposition by `semitones` (−11 … 244) and back.
std::uint8_t TransposeParam(int semitones);
int TransposeSemitones(std::uint8_t param);

}  // namespace chordella::data
