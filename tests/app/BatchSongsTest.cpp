// "Create random chord progressions": the two questions, N songs written and listed in the
// songlist under their file names, the list cleared or added to, and the wrong entries.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/BatchRun.h"
#include "app/BatchSongs.h"
#include "app/SongCreator.h"
#include "core/Session.h"
#include "data/ArrangementState.h"
#include "data/SongFile.h"
#include "library/SongEntry.h"
#include "library/Songlist.h"
#include "platform/Files.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella {
namespace {

using data::StylePart;

struct SongsRig {
    SongsRig() {
        std::filesystem::create_directories(t.home.File("STYLES"));
        testing::StyleBuilder style;
        style.Meter(4).Tempo(120).Program(1, 33);
        style.Part(StylePart::Basic).Measures(2).Note(1, 36, 100, 0, 24).Note(9, 42, 80, 24, 12);
        style.Write(t.home.File("STYLES/Pop.vxs"));
    }
    std::string Folder() const { return t.home.File("OUT"); }

    testing::TestSession t;
    app::SongCreator creator{*t.session, t.state, nullptr};
    library::Songlist list{t.session->Prompter()};
    app::BatchSongs songs{*t.session, t.state, creator, list, Folder(), "2026.12.08-00.10.00"};
};

void OldEntries(library::Songlist& list) {
    for (const char* name : {"Old one", "Old two"}) {
        library::SongEntry entry;
        entry.Title = name;
        entry.Path = std::string("/songs/") + name + ".vxa";
        ASSERT_TRUE(list.Append(entry));
    }
}

// The songs as the batch run makes them, one per step; the run's error count.
int RunAll(app::BatchSongs& songs, const platform::Paths& paths) {
    app::BatchRun run(songs.Job(), {paths, nullptr, &songs});
    while (run.Step()) {
    }
    songs.Finish();
    EXPECT_TRUE(run.Progress().Finished);
    EXPECT_EQ(run.Progress().Done, songs.Count());
    return run.Progress().Errors;
}

data::ArrangementState ReadBack(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(platform::ReadFileBytes(path, 1 << 24, bytes, error)) << error;
    const data::SongReadResult read = data::ReadSongFile(bytes);
    EXPECT_TRUE(read.Ok) << path << ": " << read.Error;
    data::ArrangementState song;
    data::ApplySongFile(read.Content, song);
    return song;
}

TEST(BatchSongs, ThreeSongsAfterNoAreWrittenAndReplaceTheSonglistUnderTheirFileNames) {
    SongsRig rig;
    OldEntries(rig.list);
    rig.t.prompter->AnswerText("3");
    rig.t.prompter->AnswerNo();
    int ready = -1;
    rig.songs.Ask([&](int count) { ready = count; });
    EXPECT_EQ(ready, 3);
    EXPECT_TRUE(rig.t.prompter->WasShown(std::string(app::batch_text::Title) + ": " + std::string(app::batch_text::AskSongs)));
    EXPECT_TRUE(rig.t.prompter->WasShown(std::string(app::batch_text::SongsToSonglist)));
    EXPECT_TRUE(rig.list.Entries().empty());

    EXPECT_EQ(RunAll(rig.songs, rig.t.session->Paths()), 0);
    EXPECT_EQ(rig.songs.Made(), 3);
    ASSERT_EQ(rig.list.Entries().size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        const std::string name = "Random-2026.12.08-00.10.00-0" + std::to_string(n) + ".vxa";
        const library::SongEntry entry = library::ParseSongEntry(rig.list.Entries()[static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(entry.Title, name);
        EXPECT_EQ(entry.Path, rig.Folder() + "/" + name);
        const data::ArrangementState song = ReadBack(entry.Path);
        EXPECT_GT(song.Chords.ChordMemoryLength, 4 + 16 * 8) << name;  // at least 8 measures of 4/4
        // "Randomly choose style" is ticked: the styles folder's one style plays the song.
        EXPECT_NE(song.StyleReference.find("Pop.vxs"), std::string::npos) << song.StyleReference;
    }
    EXPECT_TRUE(rig.list.Modified());
}

TEST(BatchSongs, WrongCountsCancelAndTheThirdButtonChangeNothing) {
    for (const char* wrong : {"0", "abc"}) {
        SongsRig rig;
        OldEntries(rig.list);
        rig.t.prompter->AnswerText(wrong);
        int ready = -1;
        rig.songs.Ask([&](int count) { ready = count; });
        EXPECT_EQ(ready, 0) << wrong;
        EXPECT_TRUE(rig.t.prompter->WasShown(std::string(app::batch_text::WrongSongs))) << wrong;
        EXPECT_FALSE(rig.t.prompter->WasShown(std::string(app::batch_text::SongsToSonglist))) << wrong;
        EXPECT_TRUE(rig.songs.Done());
        EXPECT_EQ(rig.list.Entries().size(), 2u);
    }
    {
        SongsRig rig;  // Cancel on the songlist question
        OldEntries(rig.list);
        rig.t.prompter->AnswerText("5");
        rig.t.prompter->AnswerCancel();
        int ready = -1;
        rig.songs.Ask([&](int count) { ready = count; });
        EXPECT_EQ(ready, 0);
        EXPECT_TRUE(rig.songs.Done());
        EXPECT_EQ(rig.list.Entries().size(), 2u);
        EXPECT_FALSE(std::filesystem::exists(rig.Folder()));
    }
}

TEST(BatchSongs, AnOutputFolderThatCannotBeMadeEndsTheRunAtTheFirstSongWithItsReason) {
    testing::TestSession t;
    app::SongCreator creator{*t.session, t.state, nullptr};
    library::Songlist list{t.session->Prompter()};
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(t.home.File("taken"), "a file, not a folder", error));
    app::BatchSongs songs{*t.session, t.state, creator, list, t.home.File("taken/songs")};
    songs.Begin(4, false);
    ASSERT_EQ(songs.Job().Inputs.size(), 4u);
    const app::BatchSongStep step = songs.Step();
    EXPECT_FALSE(step.Made);
    EXPECT_TRUE(step.Fatal);
    EXPECT_NE(step.Error.find("taken/songs"), std::string::npos) << step.Error;
    EXPECT_TRUE(songs.Done());
    EXPECT_TRUE(songs.Stopped());
    EXPECT_EQ(songs.Taken(), 1);
    EXPECT_TRUE(list.Entries().empty());
}

}  // namespace
}  // namespace chordella
