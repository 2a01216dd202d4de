// Compiling song sources: chords and section commands land on their beats with the codes
// the chord memory uses, the melody becomes note events, and the file written reads back.

#include <gtest/gtest.h>

#include "data/ChordMemory.h"
#include "data/SongCommands.h"
#include "data/SongFile.h"
#include "make_assets/SongSource.h"

namespace chordella::tools {
namespace {

CompiledSong Compile(const std::string& source) {
    CompiledSong song;
    std::string error;
    EXPECT_TRUE(CompileSong(source, song, error)) << error;
    return song;
}

data::BeatRecord At(const CompiledSong& song, int measure, int beat, int units = 16) {
    const auto& memory = song.Content.ChordMemory;
    const auto at = static_cast<std::size_t>(data::PositionOf(measure, beat, units));
    if (at + 4 > memory.size()) return {};
    return {memory[at], memory[at + 1], memory[at + 2], memory[at + 3]};
}

constexpr const char* Song =
    "song s.vxa\nstyle cont1.vxs\ntempo 100\nmelody-program 73\ntitle \"A Song\"\n"
    "bar 1 C !intro\nbar 2 Am@3 !fill@3\nbar 3 F !loop:2\nbar 4 G7 !loopend@4\nbar 5 C !tempo:112\n"
    "bar 6 C !ending\nend 8\nmelody 1.1 E5 q, 1.2 G5 e 80\n";

TEST(SongSourceTest, ChordsAndCommandsLandOnTheirBeatsWithTheChordMemorysCodes) {
    const CompiledSong song = Compile(Song);
    const auto keys = data::SectionKeyNotes::Defaults().Notes;  // Fill In, To Basic, Ending, To Ext., Intro …
    EXPECT_EQ(At(song, 1, 1), (data::BeatRecord{48, 1, static_cast<std::uint8_t>(keys[4]), data::ParamSectionKey}));
    EXPECT_EQ(At(song, 2, 1), data::BeatRecord{});
    EXPECT_EQ(At(song, 2, 3), (data::BeatRecord{57, 2, static_cast<std::uint8_t>(keys[0]), data::ParamSectionKey}));
    EXPECT_EQ(At(song, 3, 1), (data::BeatRecord{53, 1, data::CommandLoop, 102}));
    EXPECT_EQ(At(song, 4, 4), (data::BeatRecord{0, 0, data::CommandLoop, 0}));
    EXPECT_EQ(At(song, 4, 1).ChordType, 3);
    EXPECT_EQ(At(song, 5, 1), (data::BeatRecord{48, 1, data::CommandTempo, 112}));
    EXPECT_EQ(At(song, 6, 1).CommandCode, keys[2]);
    EXPECT_EQ(At(song, 8, 1).CommandCode, data::CommandStop);
}

TEST(SongSourceTest, TheChordMemoryEndsWithTheMeasureThatHoldsTheStop) {
    const CompiledSong song = Compile(Song);
    const auto& memory = song.Content.ChordMemory;
    ASSERT_EQ(memory.size(), static_cast<std::size_t>(data::PositionOf(9, 1, 16)));
    EXPECT_EQ(memory[data::SongTempoOffset], 100);
    EXPECT_EQ(memory[data::SongMeterOffset], 16);
    EXPECT_EQ(memory[data::MelodyProgramOffset], 73);
    EXPECT_EQ(memory[data::SongStartMeasureOffset], 1);
}

TEST(SongSourceTest, TheMelodyIsNoteOnsAndOffsOnChannelOneInTimeOrder) {
    const CompiledSong song = Compile(Song);
    const auto& melody = song.Content.Melody;
    ASSERT_EQ(melody.size(), 4u);
    EXPECT_EQ(song.Content.Form, data::SongFileForm::FullWithMelody);
    EXPECT_EQ(melody[0], (data::MelodyEvent{0, 0x90, 76, 96, 1}));
    for (std::size_t i = 1; i < melody.size(); ++i) EXPECT_LE(melody[i - 1].Time, melody[i].Time);
    int offs = 0;
    for (const auto& e : melody) offs += e.Data2 == 0 ? 1 : 0;
    EXPECT_EQ(offs, 2);
    EXPECT_LT(melody.back().Time, 24 + 12) << "the G5 ends within its eighth";
}

TEST(SongSourceTest, TheWrittenFileReadsBackWithItsTextAndStyle) {
    const CompiledSong song = Compile(Song);
    const auto read = data::ReadSongFile(data::WriteSongFile(song.Content));
    ASSERT_TRUE(read.Ok) << read.Error;
    EXPECT_EQ(read.Content.StyleReference, "cont1.vxs");
    EXPECT_EQ(read.Content.Text.SongTitle, "A Song");
    EXPECT_EQ(read.Content.ChordMemory, song.Content.ChordMemory);
    EXPECT_EQ(read.Content.Melody, song.Content.Melody);
}

TEST(SongSourceTest, MistakesAreRefusedWithTheirLine) {
    const auto refusal = [](const std::string& source) {
        CompiledSong song;
        std::string error;
        EXPECT_FALSE(CompileSong(source, song, error));
        return error;
    };
    EXPECT_NE(refusal("song s.vxa\nbar 1 C !jump\nend 2\n").find("line 2"), std::string::npos);
    EXPECT_NE(refusal("song s.vxa\nbar 1 Cq\nend 2\n").find("Cq"), std::string::npos);
    EXPECT_NE(refusal("song s.vxa\nbar 1 C@5\nend 2\n").find("C@5"), std::string::npos);
    EXPECT_NE(refusal("song s.vxa\nbar 1 C !fill !ending\nend 2\n").find("two commands"), std::string::npos);
    EXPECT_NE(refusal("song s.vxa\nbar 1 C\n").find("end"), std::string::npos) << "a song without its end";
}

}  // namespace
}  // namespace chordella::tools
