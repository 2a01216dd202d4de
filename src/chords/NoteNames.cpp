#include "chords/NoteNames.h"

#include <algorithm>

namespace chordella::chords {

const NoteNameTable FlatNoteNames = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
const NoteNameTable SharpNoteNames = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

const std::array<bool, 12> MajorKeySharps = {true, false, true, false, true, false,
                                             true, true, false, true, false, true};
const std::array<bool, 12> MinorKeySharps = {false, true, false, false, true, false,
                                             true, false, true, true, false, true};

NameText& NameText::operator+=(std::string_view text) {
    const std::size_t count = std::min(text.size(), Capacity - length_);
    std::copy_n(text.data(), count, chars_.data() + length_);
    length_ += count;
    return *this;
}

}  // namespace chordella::chords
