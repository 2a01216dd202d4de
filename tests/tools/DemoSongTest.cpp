// The demo song as music: its melody stays in its key, lands on a chord tone wherever a new
// chord starts, ends on the tonic, and sits in a singable range; the progression starts and
// ends at home.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "data/ChordMemory.h"
#include "data/SongFile.h"
#include "platform/Files.h"

namespace chordella::tools {
namespace {

struct Chord {
    int Beat = 0;   // from the song's first beat
    int Root = 0;   // pitch class
    int Type = 0;
};

struct DemoSong {
    DemoSong() {
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(platform::ReadFileBytes(std::string(CHORDELLA_ASSETS_DIR) + "/songs/demo2.vxa", 1 << 20, bytes, error))
            << error;
        const auto read = data::ReadSongFile(bytes);
        EXPECT_TRUE(read.Ok) << read.Error;
        content = read.Content;
        const auto& memory = content.ChordMemory;
        for (std::size_t at = data::ChordMemoryHeaderSize; at + 3 < memory.size(); at += data::BeatRecordSize) {
            if (memory[at] > 0 && memory[at + 1] < 128)
                chords.push_back({static_cast<int>((at - data::ChordMemoryHeaderSize) / data::BeatRecordSize), memory[at] % 12,
                                  memory[at + 1]});
        }
    }
    // The chord sounding on a beat (the last one that started at or before it).
    const Chord* ChordAt(int beat) const {
        const Chord* found = nullptr;
        for (const Chord& chord : chords)
            if (chord.Beat <= beat) found = &chord;
        return found;
    }

    data::SongFileContent content;
    std::vector<Chord> chords;
};

std::set<int> ChordTones(const Chord& chord) {
    switch (chord.Type) {
    case 1: return {0, 4, 7};
    case 2: return {0, 3, 7};
    case 3: return {0, 4, 7, 10};
    case 4: return {0, 3, 7, 10};
    default: return {0};
    }
}

TEST(DemoSongTest, TheMelodyStaysInCMajorAndInASingableRange) {
    const DemoSong song;
    const std::set<int> cMajor = {0, 2, 4, 5, 7, 9, 11};
    int lowest = 127, highest = 0, notes = 0;
    for (const auto& e : song.content.Melody) {
        if (e.Data2 == 0) continue;
        ++notes;
        EXPECT_TRUE(cMajor.count(e.Data1 % 12)) << "note " << int(e.Data1) << " at tick " << e.Time;
        lowest = std::min(lowest, int(e.Data1));
        highest = std::max(highest, int(e.Data1));
    }
    EXPECT_GT(notes, 60) << "a tune, not a few notes";
    EXPECT_LE(highest - lowest, 19) << "more than an octave and a fifth";
}

TEST(DemoSongTest, WhereANewChordStartsTheMelodyLandsOnOneOfItsTones) {
    const DemoSong song;
    int checked = 0;
    for (const auto& e : song.content.Melody) {
        if (e.Data2 == 0 || e.Time % 24 != 0) continue;
        const int beat = e.Time / 24;
        const Chord* chord = song.ChordAt(beat);
        ASSERT_NE(chord, nullptr) << "a melody note before the first chord";
        if (chord->Beat != beat) continue;
        ++checked;
        const int degree = ((e.Data1 - chord->Root) % 12 + 12) % 12;
        EXPECT_TRUE(ChordTones(*chord).count(degree)) << "note " << int(e.Data1) << " on beat " << beat + 1;
    }
    EXPECT_GT(checked, 20);
}

TEST(DemoSongTest, TheProgressionStartsAndEndsOnTheTonicAndTheTuneEndsThere) {
    const DemoSong song;
    ASSERT_FALSE(song.chords.empty());
    EXPECT_EQ(song.chords.front().Root, 0);
    EXPECT_EQ(song.chords.front().Type, 1);
    EXPECT_EQ(song.chords.back().Root, 0);
    EXPECT_EQ(song.chords.back().Type, 1);
    const auto last = std::find_if(song.content.Melody.rbegin(), song.content.Melody.rend(),
                                   [](const data::MelodyEvent& e) { return e.Data2 > 0; });
    ASSERT_NE(last, song.content.Melody.rend());
    EXPECT_EQ(last->Data1 % 12, 0) << "the tune ends on C";
}

}  // namespace
}  // namespace chordella::tools
