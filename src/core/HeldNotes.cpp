#include "core/HeldNotes.h"

#include <algorithm>

#include "midi/PitchClass.h"

namespace chordella::chords {

namespace {

int ValidCount(std::int16_t count) { return std::clamp<int>(count, 0, HeldNoteList::Capacity); }

}  // namespace

void HeldNoteList::Add(int note) {
    const int count = ValidCount(Count);
    if (count >= Capacity) return;
    Notes[static_cast<std::size_t>(count)] = static_cast<std::uint8_t>(midi::PitchClass(note));
    Count = static_cast<std::int16_t>(count + 1);
}

void HeldNoteList::Remove(int note) {
    const auto pitchClass = static_cast<std::uint8_t>(midi::PitchClass(note));
    const auto begin = Notes.begin();
    const auto end = std::remove(begin, begin + ValidCount(Count), pitchClass);
    std::fill(end, begin + ValidCount(Count), std::uint8_t{0});
    Count = static_cast<std::int16_t>(end - begin);
}

void HeldNoteList::Clear() {
    std::fill_n(Notes.begin(), ValidCount(Count) + 1, std::uint8_t{0});
    Count = 0;
}

}  // namespace chordella::chords
