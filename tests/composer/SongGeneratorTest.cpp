// Songs made by the generator: chords, section commands, key marks, loops and the ending
// at the places a player expects them, and the same song again from the same seed.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "composer/GeneratedSong.h"
#include "composer/ProgressionList.h"
#include "composer/SongGenerator.h"
#include "data/ChordMemory.h"
#include "platform/Random.h"

namespace chordella::composer {
namespace {

using data::BeatRecord;

// C, the default section keys (Basic 31, Extended 32, Fill In 36, To Ext. 37, Ending 38,
// To Basic 39) and the chord zone from 40: roots 48 … 59.
SongCreatorOptions FixedOptions(int measures) {
    SongCreatorOptions options;
    options.SongMeasures = measures;
    options.Rate = ChordRate::EveryMeasure;
    options.StartWithBaseChord = false;
    options.TempoVariations = false;
    options.RandomKey = false;
    options.KeyIndex = 0;
    return options;
}

GeneratedSong FromRow(int row, const SongCreatorOptions& options, std::uint64_t seed = 1, GeneratorInputs inputs = {}) {
    ProgressionChoice choice;
    choice.ChooseEntry(FirstRowEntry + row);
    platform::Random random(seed);
    return GenerateSong(options, GenerationMode::Progressions, &choice, inputs, random);
}

BeatRecord At(const GeneratedSong& song, int measure, int beat) {
    return song.RecordAt(data::PositionOf(measure, beat, song.MeasureUnits));
}

// The command code on the first beat of each of `measures`.
std::vector<int> CommandsAt(const GeneratedSong& song, const std::vector<int>& measures) {
    std::vector<int> codes;
    for (int m : measures) codes.push_back(At(song, m, 1).CommandCode);
    return codes;
}

std::vector<int> ChordRootsPerMeasure(const GeneratedSong& song) {
    std::vector<int> roots;
    for (int m = 1; m <= song.ChordMeasures; ++m) roots.push_back(At(song, m, 1).ChordRoot);
    return roots;
}

std::vector<std::uint8_t> MemoryBytes(const GeneratedSong& song) {
    data::ChordMemory memory;
    WriteGeneratedSong(song, memory);
    return {memory.Bytes.begin(), memory.Bytes.begin() + memory.ChordMemoryLength};
}

TEST(SongGenerator, Row0InCPlaysCAmFGWithItsCommandsLoopsKeyMarkAndEnding) {
    const GeneratedSong song = FromRow(0, FixedOptions(16));
    ASSERT_EQ(song.ChordMeasures, 16);
    ASSERT_EQ(song.Measures.size(), 18u);  // the ending measure and the STOP measure follow
    for (int m = 1; m <= 16; ++m) {
        SCOPED_TRACE(m);
        const int roots[4] = {48, 57, 53, 55};
        const int types[4] = {1, 2, 1, 1};
        EXPECT_EQ(At(song, m, 1).ChordRoot, roots[(m - 1) % 4]);
        EXPECT_EQ(At(song, m, 1).ChordType, types[(m - 1) % 4]);
        for (int beat = 2; beat <= 4; ++beat) EXPECT_EQ(At(song, m, beat).ChordRoot, 0);
    }
    EXPECT_EQ(At(song, 1, 1), (BeatRecord{48, 1, 31, 12}));       // Basic
    EXPECT_EQ(At(song, 1, 2), (BeatRecord{0, 0, 253, 102}));      // loop start, 2 repeats
    EXPECT_EQ(At(song, 1, 3), (BeatRecord{0, 0, 12, 13}));        // key mark: C major
    EXPECT_EQ(CommandsAt(song, {4, 8, 12, 16}), (std::vector<int>{36, 37, 36, 39}));  // Fill In, To Ext., To Basic
    EXPECT_EQ(At(song, 16, 3), (BeatRecord{0, 0, 253, 0}));       // loop end
    EXPECT_EQ(At(song, 17, 1), (BeatRecord{48, 1, 38, 12}));      // the first chord with the Ending
    EXPECT_EQ(At(song, 18, 1), (BeatRecord{0, 0, 255, 0}));       // STOP
    EXPECT_EQ(song.Rows, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(song.ProgressionText(), "Progr. 0-0-0-0");
    EXPECT_EQ(song.BarsText(), "Bars: 4-4-4-4");

    data::ChordMemory memory;
    WriteGeneratedSong(song, memory);
    EXPECT_EQ(memory.ChordMemoryLength, 4 + 18 * 16);
    EXPECT_EQ(memory.SongTempo(), 120);
    EXPECT_EQ(memory.SongMeter(), 16);
    EXPECT_EQ(memory.RecordAt(4), (BeatRecord{48, 1, 31, 12}));
    EXPECT_EQ(memory.RecordAt(4 + 17 * 16), (BeatRecord{0, 0, 255, 0}));
}

TEST(SongGenerator, TwelveBarBluesPlaysItsFormChorusAfterChorusWithSixMeasurePhrases) {
    const GeneratedSong song = FromRow(90, FixedOptions(30));
    ASSERT_EQ(song.ChordMeasures, 24);  // whole choruses
    // I - I - I - I7 - IV - IV7 - I - I - V7 - IV7 - I - V7 in C.
    const std::vector<int> chorus = {48, 48, 48, 48, 53, 53, 48, 48, 55, 53, 48, 55};
    std::vector<int> expected = chorus;
    expected.insert(expected.end(), chorus.begin(), chorus.end());
    EXPECT_EQ(ChordRootsPerMeasure(song), expected);
    EXPECT_EQ(At(song, 4, 1).ChordType, 1);  // sevenths are off with "I, ii ,iii, IV, V, vi"
    EXPECT_EQ(CommandsAt(song, {4, 6, 12}), (std::vector<int>{0, 36, 37}));
    EXPECT_EQ(At(song, 1, 2).CommandParam, 103);  // one more repeat for the 12 bar blues
    EXPECT_EQ(song.PlayLabel, "PLAY 12 bar Blues");
    EXPECT_EQ(song.FormMeasures, 12);

    SongCreatorOptions sevenths = FixedOptions(12);
    sevenths.OnlyPrincipalChords = false;
    const GeneratedSong withSevenths = FromRow(90, sevenths);
    EXPECT_EQ(At(withSevenths, 4, 1).ChordType, 3);
    EXPECT_EQ(At(withSevenths, 9, 1), (BeatRecord{55, 3, 0, 0}));
}

TEST(SongGenerator, EightBarBluesKeepsItsRowAndChangesChordEveryMeasureBelowTempo170) {
    SongCreatorOptions options = FixedOptions(16);
    options.Rate = ChordRate::EveryTwoMeasures;
    options.OnlyPrincipalChords = false;
    const GeneratedSong song = FromRow(76, options);
    // I7 - I7 - IV7 - IV7 - I - V7 - IV - I, twice.
    EXPECT_EQ(ChordRootsPerMeasure(song),
              (std::vector<int>{48, 48, 53, 53, 48, 55, 53, 48, 48, 48, 53, 53, 48, 55, 53, 48}));
    EXPECT_EQ(song.FormMeasures, 16);
    EXPECT_EQ(song.PlayLabel, "PLAY 8/16 bar Blues");
}

TEST(SongGenerator, ThreeFourMeterPutsBasicAndExtendedOnTheFirstBeatAfterEachPhraseAndALongBasicHasNoFills) {
    GeneratorInputs inputs;
    inputs.MeasureUnits = 12;
    const GeneratedSong song = FromRow(0, FixedOptions(16), 1, inputs);
    ASSERT_EQ(song.Measures[0].size(), 3u);
    // The ending wins over the fourth phrase's Basic.
    EXPECT_EQ(CommandsAt(song, {4, 5, 9, 13, 17}), (std::vector<int>{0, 31, 32, 32, 38}));

    GeneratorInputs longBasic;  // no fills for a long Basic part
    longBasic.BasicPartMeasures = 8;
    const GeneratedSong noFills = FromRow(0, FixedOptions(16), 1, longBasic);
    EXPECT_EQ(CommandsAt(noFills, {4, 8, 12, 16}), (std::vector<int>{0, 37, 0, 39}));
}

TEST(SongGenerator, TwoKeySongsAlternateMajorAndMinorSectionsWithKeyMarksAndOneKeyIsMarkedOnce) {
    SongCreatorOptions options = FixedOptions(32);
    options.Keys = KeyChoice::MajorAndParallelMinor;
    options.StartWithBaseChord = true;
    options.BaseChordOnlyFirstKey = false;
    ProgressionChoice choice;
    choice.ChooseEntry(FirstRowEntry + 0);
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        platform::Random random(seed);
        const GeneratedSong song = GenerateSong(options, GenerationMode::Progressions, &choice, {}, random);
        // Sections start at measures 1, 9, 17, 25; each opens on its tonic with its key mark.
        for (int first : {1, 9, 17, 25}) {
            SCOPED_TRACE(first);
            const bool minor = (first == 9 || first == 25) != song.FirstSectionMinor;
            EXPECT_EQ(At(song, first, 1).ChordRoot, 48);
            EXPECT_EQ(At(song, first, 1).ChordType, minor ? 2 : 1);
            bool marked = false;
            for (int beat = 1; beat <= 4; ++beat) {
                const BeatRecord r = At(song, first, beat);
                if (r.CommandParam == 13 || r.CommandParam == 14) {
                    EXPECT_EQ(r.CommandCode, 12);
                    EXPECT_EQ(r.CommandParam, minor ? 14 : 13);
                    marked = true;
                }
            }
            EXPECT_TRUE(marked);
        }
    }

    // Only one major key marks the key once.
    platform::Random random(4);
    const GeneratedSong song = GenerateSong(FixedOptions(32), GenerationMode::RandomChords, nullptr, {}, random);
    int marks = 0;
    for (const auto& measure : song.Measures) {
        for (const auto& r : measure) marks += r.CommandParam == 13 || r.CommandParam == 14 ? 1 : 0;
    }
    EXPECT_EQ(marks, 1);
}

TEST(SongGenerator, TheSameSeedGivesTheSameBytesAndOtherSeedsOtherSongs) {
    for (auto mode : {GenerationMode::Progressions, GenerationMode::RandomChords, GenerationMode::CompletelyRandom}) {
        SongCreatorOptions options;
        auto make = [&](std::uint64_t seed) {
            ProgressionChoice choice;
            choice.UseMixed();
            platform::Random random(seed);
            return MemoryBytes(GenerateSong(options, mode, &choice, {}, random));
        };
        EXPECT_EQ(make(42), make(42));
        std::set<std::vector<std::uint8_t>> songs;
        for (std::uint64_t seed = 1; seed <= 10; ++seed) songs.insert(make(seed));
        EXPECT_GE(songs.size(), 9u);
    }
}

TEST(SongGenerator, ChordsStayWithinTheTypesAndTheChordZoneWhateverIsDrawn) {
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        SongCreatorOptions options;
        options.OnlyMajorMinorChords = seed % 3 != 0;
        options.OnlyPrincipalChords = seed % 2 == 0;
        options.Rate = static_cast<ChordRate>(seed % 4);
        options.Keys = static_cast<KeyChoice>(seed % 6);
        options.RandomKeyWhiteOnly = seed % 5 != 0;
        options.SongMeasures = 8 + static_cast<int>(seed % 40);
        const auto mode = static_cast<GenerationMode>(seed % 3);
        ProgressionChoice choice;
        choice.ChooseEntry(seed % 7 == 0 ? ShuffleBlues12Entry : ShuffleAllEntry);
        platform::Random random(seed);
        GeneratorInputs inputs;
        inputs.Tempo = 60 + static_cast<int>(seed % 140);
        const GeneratedSong song = GenerateSong(options, mode, &choice, inputs, random);
        int chords = 0;
        for (const auto& measure : song.Measures) {
            for (const auto& r : measure) {
                if (r.ChordRoot == 0) continue;
                ++chords;
                ASSERT_GE(r.ChordType, 1) << "seed " << seed;
                ASSERT_LE(r.ChordType, 17) << "seed " << seed;
                ASSERT_GE(r.ChordRoot, 48) << "seed " << seed;
                ASSERT_LE(r.ChordRoot, 59) << "seed " << seed;
                if (options.OnlyMajorMinorChords && options.OnlyPrincipalChords && mode != GenerationMode::CompletelyRandom) {
                    ASSERT_LE(r.ChordType, 2) << "seed " << seed;
                }
            }
        }
        EXPECT_GE(chords, song.ChordMeasures / 2);
        EXPECT_EQ(song.RecordAt(song.Length() - song.MeasureUnits).CommandCode, 255);
    }
}

TEST(SongGenerator, SimpleSongsDrawFromThirteenChordsAndOtherwiseAllTwentyOne) {
    auto types = [](bool simple) {
        std::set<int> seen;
        for (std::uint64_t seed = 1; seed <= 30; ++seed) {
            SongCreatorOptions options = FixedOptions(64);
            options.OnlyMajorMinorChords = false;
            if (simple) ApplySimpleSongs(options);
            platform::Random random(seed);
            const GeneratedSong song = GenerateSong(options, GenerationMode::RandomChords, nullptr, {}, random);
            for (const auto& measure : song.Measures) {
                for (const auto& r : measure) {
                    if (r.ChordRoot != 0) seen.insert(r.ChordType);
                }
            }
        }
        return seen;
    };
    EXPECT_EQ(types(true), (std::set<int>{1, 2}));   // sevenths and sus off, no dim among the 13
    EXPECT_TRUE(types(false).count(5));             // the diminished chord of entry 15
}

TEST(SongGenerator, SusChordsResolveToMajorHalfAMeasureLater) {
    SongCreatorOptions options = FixedOptions(64);
    options.OnlyMajorMinorChords = false;
    options.OnlyPrincipalChords = false;
    int resolved = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        platform::Random random(seed);
        const GeneratedSong song = GenerateSong(options, GenerationMode::RandomChords, nullptr, {}, random);
        for (int m = 1; m <= song.ChordMeasures; ++m) {
            const BeatRecord r = At(song, m, 1);
            if (r.ChordType == 6 || r.ChordType == 7 || r.ChordType == 17) {
                EXPECT_EQ(At(song, m, 3), (BeatRecord{r.ChordRoot, 1, At(song, m, 3).CommandCode, At(song, m, 3).CommandParam}));
                ++resolved;
            }
        }
    }
    EXPECT_GT(resolved, 0);
}

TEST(SongGenerator, InnerLoopsFollowEverySecondPhraseWhenTheSongAllowsThem) {
    int withLoops = 0;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        const GeneratedSong song = FromRow(0, FixedOptions(32), seed);
        if (!song.CreatorRepeatFlag) {
            EXPECT_EQ(At(song, 8, 3).CommandCode, 0);
            continue;
        }
        ++withLoops;
        for (const int phrase : {8, 16}) {
            EXPECT_EQ(At(song, phrase, 3), (BeatRecord{0, 0, 253, 0})) << "measure " << phrase;
            EXPECT_EQ(At(song, phrase + 1, 2), (BeatRecord{0, 0, 253, 102})) << "measure " << phrase + 1;
        }
    }
    EXPECT_GT(withLoops, 0);
    SongCreatorOptions noLoops = FixedOptions(32);
    noLoops.LoopsInSong = false;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) EXPECT_FALSE(FromRow(0, noLoops, seed).CreatorRepeatFlag);
}

TEST(SongGenerator, TempoDecidesTheFirstLoopsRepeatsAndTheVariationStaysWithinTwo) {
    GeneratorInputs fast;
    fast.Tempo = 180;
    EXPECT_EQ(At(FromRow(0, FixedOptions(8), 1, fast), 1, 2).CommandParam, 103);
    GeneratorInputs slow;
    slow.Tempo = 70;
    EXPECT_EQ(At(FromRow(0, FixedOptions(8), 1, slow), 1, 2).CommandParam, 101);
    SongCreatorOptions varied = FixedOptions(8);
    varied.TempoVariations = true;
    std::set<int> tempos;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) tempos.insert(FromRow(0, varied, seed).Tempo);
    EXPECT_EQ(tempos, (std::set<int>{118, 119, 120, 121}));
}

TEST(SongGenerator, KeptMeasuresSurviveARegeneration) {
    SongCreatorOptions options;
    platform::Random random(9);
    const GeneratedSong first = GenerateSong(options, GenerationMode::CompletelyRandom, nullptr, {}, random);
    GeneratedSong second = GenerateSong(options, GenerationMode::CompletelyRandom, nullptr, {}, random);
    const auto before = second.Measures;
    KeepMeasures(first, {2, 3, 500}, second);
    EXPECT_EQ(second.Measures[1], first.Measures[1]);
    EXPECT_EQ(second.Measures[2], first.Measures[2]);
    EXPECT_EQ(second.Measures[4], before[4]);
}

TEST(SongGenerator, LongSongsAreCutToWhatTheChordMemoryHolds) {
    SongCreatorOptions options;
    options.SongMeasures = 5000;
    platform::Random random(2);
    const GeneratedSong song = GenerateSong(options, GenerationMode::RandomChords, nullptr, {}, random);
    EXPECT_EQ(song.ChordMeasures, MaxGeneratedMeasures(16));
    data::ChordMemory memory;
    WriteGeneratedSong(song, memory);
    EXPECT_LE(memory.ChordMemoryLength, data::ChordMemoryPositionLimit);
    EXPECT_EQ(memory.RecordAt(memory.ChordMemoryLength - 16).CommandCode, 255);
}

}  // namespace
}  // namespace chordella::composer
