#include "chords/ChordNames.h"

#include "chords/ChordTypes.h"

namespace chordella::chords {

NameText ChordName(const ChordState& state, int root, int type) {
    const int pitchClass = PitchClass(PitchClass(root) - PitchClass(state.CapoPosition));
    NameText name;
    name += state.NoteNames[static_cast<std::size_t>(pitchClass)];
    name += " ";
    name += TypeName(type);
    return name;
}

NameText KeyName(ChordState& state, int keyNote, bool minor, int transposition, bool suppressSignChange) {
    const int pitchClass = PitchClass(transposition + PitchClass(keyNote));
    if (!suppressSignChange) {
        const auto& sharps = minor ? MinorKeySharps : MajorKeySharps;
        state.NoteNames = NoteNamesFor(sharps[static_cast<std::size_t>(pitchClass)]);
    }
    NameText name;
    name += "Key: ";
    name += state.NoteNames[static_cast<std::size_t>(pitchClass)];
    name += minor ? " min" : " maj";
    return name;
}

}  // namespace chordella::chords
