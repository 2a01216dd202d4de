// A generated song played by the engine on the virtual clock: its loop, its ending and its
// key marks do what the song creator meant.
#include <gtest/gtest.h>

#include "composer/ProgressionList.h"
#include "composer/SongGenerator.h"
#include "engine/SongRig.h"
#include "platform/Random.h"

namespace chordella::testing {
namespace {

composer::GeneratedSong Row0Song(int measures, composer::KeyChoice keys, std::uint64_t seed) {
    composer::SongCreatorOptions options;
    options.SongMeasures = measures;
    options.Rate = composer::ChordRate::EveryMeasure;
    options.StartWithBaseChord = false;
    options.TempoVariations = false;
    options.LoopsInSong = false;
    options.RandomKey = false;
    options.Keys = keys;
    composer::ProgressionChoice choice;
    choice.ChooseEntry(composer::FirstRowEntry);
    platform::Random random(seed);
    return composer::GenerateSong(options, composer::GenerationMode::Progressions, &choice, {}, random);
}

TEST(GeneratedSongPlayback, TheSongPlaysTwiceThenItsEndingAndStops) {
    SongRig rig;
    ASSERT_TRUE(rig.Load(BeatStyle()));
    composer::WriteGeneratedSong(Row0Song(8, composer::KeyChoice::OneMajorKey, 1), rig.Song().Chords);
    rig.Clock.StartVirtual(120);
    rig.Transport.Play();
    std::vector<int> expected = Repeated(1, 8, 2);
    expected.push_back(9);
    const std::vector<int> played = rig.PlayedMeasures();
    ASSERT_GE(played.size(), expected.size());
    EXPECT_EQ(std::vector<int>(played.begin(), played.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_FALSE(rig.Playing());
}

TEST(GeneratedSongPlayback, AMinorKeyMarkOfAProgressionSongHandsOverTheMinorKeyItself) {
    for (bool progressionMode : {true, false}) {
        SongRig rig;
        rig.Options().KeyAdjustment = true;
        ASSERT_TRUE(rig.Load(BeatStyle()));
        // Only minor: A minor, key mark 9 + 12 with 14.
        composer::WriteGeneratedSong(Row0Song(4, composer::KeyChoice::OneMinorKey, 1), rig.Song().Chords);
        rig.Song().CreatorProgressionMode = progressionMode;
        rig.Clock.StartVirtual(120);
        rig.Transport.Play();
        rig.RunTo(TickOf(2));
        EXPECT_EQ(rig.Play().AdjustmentKey, progressionMode ? 9 : 0);
    }
}

}  // namespace
}  // namespace chordella::testing
