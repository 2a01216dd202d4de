#pragma once
// How notes and keys are spelled: the flat and the sharp note names, which keys are written
// with sharps, and a small fixed-size text for chord and key names, so that naming a chord
// on the tick path allocates nothing.

#include <array>
#include <cstdint>
#include <string_view>

namespace chordella::chords {

using NoteNameTable = std::array<std::string_view, 12>;

extern const NoteNameTable FlatNoteNames;   // "C", "Db", "D", "Eb", …
extern const NoteNameTable SharpNoteNames;  // "C", "C#", "D", "D#", …

// By key pitch class: true when the key is written with sharps.
extern const std::array<bool, 12> MajorKeySharps;
extern const std::array<bool, 12> MinorKeySharps;

inline const NoteNameTable& NoteNamesFor(bool sharps) { return sharps ? SharpNoteNames : FlatNoteNames; }

// A short text held in place (chord names, key names, the window title).
class NameText {
public:
    static constexpr std::size_t Capacity = 47;

    NameText() = default;
    // Appends as much of the text as fits.
    NameText& operator+=(std::string_view text);
    std::string_view View() const { return {chars_.data(), length_}; }
    bool operator==(std::string_view text) const { return View() == text; }

private:
    std::array<char, Capacity> chars_{};
    std::size_t length_ = 0;
};

}  // namespace chordella::chords
