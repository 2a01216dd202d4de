#pragma once
// A folder of styles as a user's download might look: good styles with a bass, one without,
// one whose Ending starts on the stream's end byte, a damaged one, an empty one and a text
// file, with spaces and non-ASCII letters in the names and a style in a subfolder.

#include <string>
#include <vector>

#include "data/StyleModel.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::testing {

inline StyleBuilder StyleWithBass(int bassVolume = 40) {
    StyleBuilder b;
    b.Meter(4).Tempo(112).Program(0, 0).Program(10, 33).Volume(0, 70).Volume(10, bassVolume).Volume(9, 100);
    b.Part(data::StylePart::Basic).Measures(1).Note(0, 60, 90, 0, 24).Note(10, 36, 100, 0, 24).Note(9, 36, 100, 0, 12);
    b.Part(data::StylePart::Ending).Measures(1).Note(0, 64, 90, 0, 48).Note(10, 36, 100, 0, 48);
    return b;
}

inline StyleBuilder StyleWithoutBass() {
    StyleBuilder b;
    b.Meter(4).Tempo(96).Program(0, 0).Volume(0, 60).Volume(9, 100);
    b.Part(data::StylePart::Basic).Measures(1).Note(0, 60, 90, 0, 24).Note(9, 42, 80, 0, 12);
    return b;
}

struct MixedFolder {
    TempFolder folder;
    std::string good, goodInSub, bassless, zeroPart, damaged, empty, text;

    MixedFolder() {
        good = folder.File("Good Bass.vxs");
        goodInSub = folder.File("pop ballads/vxs/Ballade Nr 1.vxs");
        bassless = folder.File("Ohne Baß.vxs");
        zeroPart = folder.File("ZeroPart.vxs");
        damaged = folder.File("Damaged.vxs");
        empty = folder.File("Empty.vxs");
        text = folder.File("readme.txt");
        StyleWithBass().Write(good);
        WriteTextFile(goodInSub, "");
        StyleWithBass(30).Write(goodInSub);
        StyleWithoutBass().Write(bassless);
        StyleBuilder zero = StyleWithBass();
        const int end = static_cast<int>(zero.Stream().size()) - 1;
        zero.AdjustParts([end](data::PartTable& parts) {
            data::PartRecord& ending = parts[data::Index(data::StylePart::Ending)];
            ending.RangeStart = ending.RangeStart2 = ending.RangeEnd = end;
            ending.Beat2Offset = ending.Beat3Offset = ending.Beat4Offset = 0;
        });
        zero.Write(zeroPart);
        std::vector<std::uint8_t> bytes = StyleWithBass().Bytes();
        bytes.resize(900);   // ends inside the header
        WriteTextFile(damaged, std::string(bytes.begin(), bytes.end()));
        WriteTextFile(empty, "");
        WriteTextFile(text, "not a style");
    }

    // The styles of ours in the order a folder run takes them.
    std::vector<std::string> Styles() const { return {damaged, empty, good, bassless, zeroPart, goodInSub}; }
};

}  // namespace chordella::testing
