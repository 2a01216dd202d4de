#include "chords/RecogniseChord.h"

#include <algorithm>
#include <array>

#include "chords/ChordTypes.h"

namespace chordella::chords {

namespace {

// How often each pitch class occurs in the list; entries that are no pitch class are ignored.
std::array<int, 12> CountPitchClasses(const HeldNoteList& list, int count) {
    std::array<int, 12> occurrences{};
    for (int i = 0; i < count; ++i) {
        const int pitchClass = list.Notes[static_cast<std::size_t>(i)];
        if (pitchClass < 12) ++occurrences[static_cast<std::size_t>(pitchClass)];
    }
    return occurrences;
}

int Score(const std::array<int, 12>& occurrences, int root, int type, RecogniseMode mode) {
    int score = 0;
    for (const int tone : ChordTones(type)) {
        const int found = occurrences[static_cast<std::size_t>((root + tone) % 12)];
        score += mode == RecogniseMode::Live ? (found > 0 ? 1 : 0) : found;
    }
    return score;
}

}  // namespace

int PlaceInChordZone(const ChordState& state, int pitchClass) {
    int key = state.FirstKey + (PitchClass(pitchClass) + ZoneOffset(state)) % 12;
    while (key > 127) key -= 12;
    // A zone starting at key 0 would place C on 0, which means "no chord".
    if (key <= 0) key += 12;
    return key;
}

void RecogniseChord(HeldNoteList& list, ChordState& state, int highestIndex, RecogniseMode mode, int divisor) {
    const int count = std::clamp<int>(list.Count, 0, HeldNoteList::Capacity);
    int bestScore = 0;
    if (mode == RecogniseMode::Live) {
        list.BestType = 0;
        list.BestRoot = 0;
    } else {
        bestScore = count / std::max(divisor, 1);
    }
    if (count == 0) return;
    if (count == 1) {
        if (mode == RecogniseMode::Live) {
            list.BestRoot = static_cast<std::int16_t>(PitchClass(list.Notes[0]));
            list.BestType = 1;
        }
        return;
    }

    const auto occurrences = CountPitchClasses(list, count);
    const int highest = std::min(highestIndex, AllTypesIndex);
    for (int root = 0; root < 12; ++root) {
        for (int index = highest; index >= 0; --index) {
            const int score = Score(occurrences, root, index + 1, mode);
            // A seventh matching as well as the triad it contains replaces that triad.
            if (score == bestScore && root == list.BestRoot &&
                ((index == 2 && list.BestType == 1) || (index == 3 && list.BestType == 2)))
                --bestScore;
            if (score > bestScore) {
                list.BestType = static_cast<std::int16_t>(index + 1);
                list.BestRoot = static_cast<std::int16_t>(root);
                bestScore = score;
            }
        }
    }

    // An analysis that has found no chord yet leaves the pending pair alone rather than
    // write a root without a type.
    if (list.BestType != 0) {
        state.PendingRoot = static_cast<std::int16_t>(PlaceInChordZone(state, list.BestRoot));
        state.PendingType = list.BestType;
    }
    if (mode == RecogniseMode::Analysis) list.Clear();
}

}  // namespace chordella::chords
