#include "chords/RecogniseChord.h"

#include <algorithm>
#include <array>

#include "chords/ChordTypes.h"

namespace chordella::chords {

namespace {

// What each pitch class scores as a chord tone, repeated over two octaves so that root +
// tone (at most 11 + 14) needs no modulo: live play scores a held pitch class once, the
// analysis every occurrence. Entries that are no pitch class are ignored.
using ToneWeights = std::array<int, 26>;

ToneWeights WeighPitchClasses(const HeldNoteList& list, int count, RecogniseMode mode) {
    std::array<int, 12> occurrences{};
    for (int i = 0; i < count; ++i) {
        const int pitchClass = list.Notes[static_cast<std::size_t>(i)];
        if (pitchClass < 12) ++occurrences[static_cast<std::size_t>(pitchClass)];
    }
    ToneWeights weights{};
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const int found = occurrences[i % 12];
        weights[i] = mode == RecogniseMode::Live ? (found > 0 ? 1 : 0) : found;
    }
    return weights;
}

int Score(const ToneWeights& weights, int root, int type) {
    int score = 0;
    for (const int tone : ChordTones(type)) score += weights[static_cast<std::size_t>(root + tone)];
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

core::ChordPair RecogniseChord(HeldNoteList& list, const ChordState& state, int highestIndex, RecogniseMode mode,
                               int divisor) {
    const int count = std::clamp<int>(list.Count, 0, HeldNoteList::Capacity);
    int bestScore = 0;
    if (mode == RecogniseMode::Live) {
        list.BestType = 0;
        list.BestRoot = 0;
    } else {
        bestScore = count / std::max(divisor, 1);
    }
    if (count == 0) return {};
    if (count == 1) {
        if (mode == RecogniseMode::Live) {
            list.BestRoot = static_cast<std::int16_t>(PitchClass(list.Notes[0]));
            list.BestType = 1;
        }
        return {};
    }

    const auto weights = WeighPitchClasses(list, count, mode);
    const int highest = std::min(highestIndex, AllTypesIndex);
    for (int root = 0; root < 12; ++root) {
        for (int index = highest; index >= 0; --index) {
            const int score = Score(weights, root, index + 1);
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

    // An analysis that has found no chord yet names none rather than a root without a type.
    core::ChordPair found;
    if (list.BestType != 0) {
        found.Root = static_cast<std::int16_t>(PlaceInChordZone(state, list.BestRoot));
        found.Type = list.BestType;
    }
    if (mode == RecogniseMode::Analysis) list.Clear();
    return found;
}

}  // namespace chordella::chords
