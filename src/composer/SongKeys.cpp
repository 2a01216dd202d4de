#include "composer/SongKeys.h"


#include "platform/Random.h"
#include "platform/TextCase.h"

namespace chordella::composer {

const std::array<GroupChord, ChordGroupSize> MajorChordGroup = {{
    {0, Maj}, {2, Min}, {4, Min}, {5, Maj}, {7, Maj}, {9, Min}, {0, Seventh},
    {0, Maj}, {5, Seventh}, {7, Seventh}, {2, Seventh}, {4, Seventh}, {9, Seventh}, {11, Seventh},
    {11, Dim}, {0, Sus4}, {7, Maj}, {5, Add9}, {2, Min7}, {4, Sus7}, {9, Min7},
}};

const std::array<GroupChord, ChordGroupSize> MinorChordGroup = {{
    {0, Min}, {3, Maj}, {5, Min}, {7, Min}, {8, Maj}, {10, Maj}, {0, Min7},
    {0, Min}, {5, Min7}, {7, Min7}, {5, Min7}, {3, Sus4}, {8, Sus4}, {10, Seventh},
    {2, Dim}, {0, Min}, {5, Add9}, {7, Sus7}, {3, Maj}, {7, Min}, {10, Maj},
}};

int SongKeyOf(int keyPitchClass, int modeIndex) {
    const int offset = modeIndex >= 0 && modeIndex < static_cast<int>(ModeOffsets.size())
                           ? ModeOffsets[static_cast<std::size_t>(modeIndex)]
                           : 0;
    return ((keyPitchClass + offset) % 12 + 12) % 12;
}

int RandomKey(platform::Random& random, bool onlyWhiteKeys) {
    if (onlyWhiteKeys) return WhiteKeyDraw[static_cast<std::size_t>(random.Below(static_cast<int>(WhiteKeyDraw.size())))];
    return KeyListPitchClasses[static_cast<std::size_t>(random.Below(12))];
}

int KeyListIndexOf(std::string_view name) {
    static constexpr std::array<std::string_view, 12> Enharmonic = {"", "", "", "", "", "Cb",
                                                                   "Gb", "C#", "G#", "D#", "A#", ""};
    auto same = [](std::string_view a, std::string_view b) { return !a.empty() && platform::SameNoCase(a, b); };
    for (std::size_t i = 0; i < KeyListNames.size(); ++i) {
        if (same(name, KeyListNames[i]) || same(name, Enharmonic[i])) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace chordella::composer
