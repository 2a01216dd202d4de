// Typed and charted chord names read into the program's root and type.
#include <gtest/gtest.h>

#include "composer/ChordSymbols.h"

namespace chordella::composer {
namespace {

TEST(ChordSymbols, ReadsWhatMusiciansTypeWhatChartsStoreAndEveryTypeFromEachOfItsSpellings) {
    struct Case {
        const char* Text;
        int Root;
        int Type;
    };
    for (const Case& c : {Case{"F#m7", 6, 4}, Case{"Bb", 10, 1}, Case{"C7sus4", 0, 17}, Case{"Eb maj", 3, 1},
                          Case{"D min7", 2, 4}, Case{"C-7", 0, 4}, Case{"F^7", 5, 9}, Case{"Bh7", 11, 15},
                          Case{"Dbo", 1, 5}, Case{"G+", 7, 10}, Case{"A-^7", 9, 12}, Case{"E m6", 4, 13},
                          Case{"Cb", 11, 1}, Case{"B#", 0, 1}, Case{"gm", 7, 2}, Case{"Ab7#5", 8, 16},
                          Case{"E7sus", 4, 17}, Case{"C(b5)", 0, 8}, Case{"Bbb", 9, 1}}) {
        SCOPED_TRACE(c.Text);
        const SymbolReading reading = ReadChordSymbol(c.Text);
        ASSERT_TRUE(reading.Ok) << reading.Error;
        EXPECT_EQ(reading.Root, c.Root);
        EXPECT_EQ(reading.Type, c.Type);
        EXPECT_EQ(reading.Warning, "");
    }

    for (int type = 1; type <= 17; ++type) {
        for (SymbolStyle style : {SymbolStyle::Plain, SymbolStyle::IReal}) {
            const std::string symbol = ChordSymbol(3, type, false, style);
            SCOPED_TRACE(symbol);
            const SymbolReading reading = ReadChordSymbol(symbol);
            EXPECT_EQ(reading.Type, type);
            EXPECT_EQ(reading.Root, 3);
            EXPECT_EQ(reading.Warning, "");
        }
    }
}

TEST(ChordSymbols, UnknownQualitiesBecomeTheNearestTypeWithAWarningAndGermanNamesAreReadOnlyWhenChosen) {
    struct Case {
        const char* Text;
        int Type;
        const char* Warning;
    };
    for (const Case& c : {Case{"C13#11", 3, "unknown chord symbol \"C13#11\", kept as C 7th"},
                          Case{"Dm11", 4, "unknown chord symbol \"Dm11\", kept as D min7"},
                          Case{"Gmaj9", 9, "unknown chord symbol \"Gmaj9\", kept as G M7"},
                          Case{"Bdim7", 5, "unknown chord symbol \"Bdim7\", kept as B dim"},
                          Case{"C/E", 1, "bass note of \"C/E\" left out"}}) {
        SCOPED_TRACE(c.Text);
        const SymbolReading reading = ReadChordSymbol(c.Text);
        EXPECT_TRUE(reading.Ok);
        EXPECT_EQ(reading.Type, c.Type);
        EXPECT_EQ(reading.Warning, c.Warning);
    }

    const SymbolReading english = ReadChordSymbol("H7");
    EXPECT_FALSE(english.Ok);
    EXPECT_EQ(english.Error, "\"H7\" is not a chord name: H is the German name of B (write B, or choose German note names)");
    const SymbolReading german = ReadChordSymbol("H7", {.GermanNames = true});
    ASSERT_TRUE(german.Ok);
    EXPECT_EQ(german.Root, 11);
    EXPECT_EQ(german.Type, 3);
    EXPECT_EQ(ReadChordSymbol("B", {.GermanNames = true}).Root, 10);
    for (const char* wrong : {"", "  ", "X7", "7", "#m"}) EXPECT_FALSE(ReadChordSymbol(wrong).Ok) << wrong;
}

}  // namespace
}  // namespace chordella::composer
