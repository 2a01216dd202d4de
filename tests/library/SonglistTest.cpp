// The songlist: its file, loading with and without the insert question, adding with the
// path check, editing, deleting, reordering, and the play queue's limit.

#include <gtest/gtest.h>

#include "library/SongPaths.h"
#include "library/Songlist.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::library {
namespace {

using testing::ReadTextFile;
using testing::TempFolder;
using testing::WriteTextFile;

SongEntry Song(const std::string& title, const std::string& path) {
    SongEntry entry;
    entry.Title = title;
    entry.Path = path;
    return entry;
}

std::string Line(const std::string& title) { return FormatSongEntry(Song(title, title + ".vxa")); }

struct ListRig {
    chordella::testing::ScriptedPrompter prompter;
    Songlist list{prompter};
    TempFolder folder;

    std::string WriteList(const std::string& name, const std::vector<std::string>& titles) {
        std::string text;
        for (const auto& title : titles) text += Line(title) + "\r\n";
        WriteTextFile(folder.File(name), text);
        return folder.File(name);
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const auto& line : list.Entries()) titles.push_back(SongEntryTitle(line));
        return titles;
    }
};

TEST(Songlist, LoadingIntoAnEmptyListReplacesItAndSayingYesLaterInsertsAboveTheOldSongs) {
    ListRig rig;
    rig.list.LoadFrom(rig.WriteList("First.vxl", {"A", "B"}));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(rig.list.Caption(), "Songlist - FIRST.VXL");
    EXPECT_TRUE(rig.prompter.WasShown(std::string(SpaceBarMessage)));

    rig.prompter.AnswerYes();
    rig.list.LoadFrom(rig.WriteList("Second.vxl", {"C"}));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_EQ(rig.list.SonglistPath(), rig.folder.File("First.vxl")) << "Yes keeps the list's file";

    rig.prompter.AnswerCancel();
    rig.list.LoadFrom(rig.folder.File("Second.vxl"));
    EXPECT_EQ(rig.list.Entries().size(), 3u);

    rig.prompter.AnswerNo();
    rig.list.LoadFrom(rig.folder.File("Second.vxl"));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"C"}));
    EXPECT_EQ(rig.list.SonglistPath(), rig.folder.File("Second.vxl"));
}

TEST(Songlist, AnUnreadableFileChangesNothing) {
    ListRig rig;
    rig.list.LoadFrom(rig.WriteList("Set.vxl", {"A"}));
    rig.list.LoadFrom(rig.folder.File("Missing.vxl"));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(rig.list.SonglistPath(), rig.folder.File("Set.vxl"));
    EXPECT_NE(rig.prompter.Shown().back().find("Missing.vxl"), std::string::npos);
}

TEST(Songlist, SavingWritesEveryLineAsReadAndLeavesNoTemporaryFile) {
    ListRig rig;
    const std::string path = rig.folder.File("Set.vxl");
    // An old line with a damaged field and a Unix line end is kept byte for byte.
    const std::string odd = Line("Odd").substr(0, 170) + "xyz";
    WriteTextFile(path, Line("A") + "\r\n" + odd + "\n\r\n");
    rig.list.LoadFrom(path);
    rig.prompter.AnswerYes();
    rig.list.TitleField = "New";
    rig.list.Add(Song("ignored", "/x/New.vxa"), std::nullopt);
    ASSERT_TRUE(rig.list.Save());
    EXPECT_EQ(ReadTextFile(path),
              FormatSongEntry(Song("New", "/x/New.vxa")) + "\r\n" + Line("A") + "\r\n" + odd + "\r\n");
    int files = 0;
    for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator(rig.folder.Path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(Songlist, AddingAsksAndInsertsAtTheSelectionButRefusesALongPath) {
    ListRig rig;
    rig.list.LoadFrom(rig.WriteList("Set.vxl", {"A", "B"}));
    rig.list.TitleField = "Ballad";
    rig.prompter.AnswerYes();
    rig.list.Add(Song("", "/songs/Ballad.vxa"), 1);
    EXPECT_TRUE(rig.prompter.WasShown("Add \"Ballad\" & Controller-Values to Songlist?"));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"A", "Ballad", "B"}));

    rig.list.Add(Song("", "/songs/Other.vxa"), std::nullopt);  // answered No
    EXPECT_EQ(rig.list.Entries().size(), 3u);

    rig.prompter.ClearShown();
    rig.prompter.AnswerYes();
    rig.list.Add(Song("", "/" + std::string(80, 'p') + ".vxa"), std::nullopt);
    EXPECT_EQ(rig.list.Entries().size(), 3u) << "never cut into another path";
    ASSERT_EQ(rig.prompter.Shown().size(), 1u);
    EXPECT_NE(rig.prompter.Shown()[0].find("longer than 80 characters"), std::string::npos);
    EXPECT_EQ(rig.prompter.PendingAnswers(), 1u) << "refused before the question";
}

TEST(Songlist, EditReplacesAfterTwoQuestionsAndCanKeepTheOldTitle) {
    ListRig rig;
    rig.list.LoadFrom(rig.WriteList("Set.vxl", {"Autumn Leaves in G minor", "B"}));
    rig.list.TitleField = "Take Five";
    rig.prompter.AnswerYes();
    rig.prompter.AnswerYes();
    SongEntry current = Song("", "/songs/Five.vxa");
    current.Octave = -2;
    rig.list.Edit(0, current);
    EXPECT_TRUE(rig.prompter.WasShown("Replace \"Autumn Leaves i...\" with \"Take Five...\" ?"));
    EXPECT_TRUE(rig.prompter.WasShown(std::string(KeepTitleQuestion)));
    const SongEntry edited = ParseSongEntry(rig.list.Entries()[0]);
    EXPECT_EQ(edited.Title, "Autumn Leaves in G minor");
    EXPECT_EQ(edited.Path, "/songs/Five.vxa");
    EXPECT_EQ(edited.Octave, -2);
    EXPECT_EQ(rig.list.TitleField, "Autumn Leaves in G minor");

    rig.prompter.ClearShown();
    rig.list.Edit(std::nullopt, current);
    rig.list.Delete(7);
    EXPECT_TRUE(rig.prompter.Shown().empty()) << "nothing selected: nothing asked";
}

TEST(Songlist, DeleteMoveAndNewClearEmptyTheQueue) {
    ListRig rig;
    rig.list.LoadFrom(rig.WriteList("Set.vxl", {"A", "B", "C"}));
    rig.list.Enqueue(2);
    EXPECT_EQ(rig.list.PlayCaption(), "Play 1");
    EXPECT_TRUE(rig.list.Move(0, 2));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(rig.list.PlayCaption(), "Play 0");

    rig.prompter.AnswerYes();
    rig.list.Delete(1);
    EXPECT_TRUE(rig.prompter.WasShown("Delete \"" + Line("C").substr(0, 15) + "...\" ?"));
    EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"B", "A"}));

    rig.prompter.AnswerNo();
    rig.list.NewClear();
    EXPECT_TRUE(rig.list.CreateChordsToggle);
    EXPECT_EQ(rig.list.Entries().size(), 2u);
    rig.prompter.AnswerYes();
    rig.list.NewClear();
    EXPECT_TRUE(rig.list.Entries().empty());
    EXPECT_EQ(rig.list.SonglistPath(), "");
}

TEST(Songlist, AChangedListIsSavedWithABackupOfTheOldFileAndAnUnchangedOneIsLeftAlone) {
    ListRig rig;
    const std::string path = rig.WriteList("Set.vxl", {"A", "B"});
    const std::string old = ReadTextFile(path);
    rig.list.LoadFrom(path);
    EXPECT_FALSE(rig.list.Modified());
    EXPECT_TRUE(rig.list.SaveIfModified());
    EXPECT_FALSE(std::filesystem::exists(rig.folder.File("Set.bak")));

    rig.list.Move(1, 0);
    EXPECT_TRUE(rig.list.Modified());
    EXPECT_TRUE(rig.list.SaveIfModified());
    EXPECT_EQ(ReadTextFile(rig.folder.File("Set.bak")), old);
    EXPECT_EQ(ReadTextFile(path), Line("B") + "\r\n" + Line("A") + "\r\n");
    EXPECT_FALSE(rig.list.Modified());
}

TEST(Songlist, TheQueueHoldsAHundredEntries) {
    ListRig rig;
    rig.list.LoadFrom(rig.WriteList("Set.vxl", {"A", "B"}));
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(rig.list.Enqueue(i % 2));
    EXPECT_FALSE(rig.list.Enqueue(0));
    EXPECT_EQ(rig.list.PlayCaption(), "Play 100");
    EXPECT_FALSE(rig.list.Enqueue(5)) << "not an entry";

    rig.list.QueueSelection({1, 0, 1});
    EXPECT_EQ(rig.list.PlayQueue(), (std::vector<int>{0, 1}));
}

TEST(SongPaths, WindowsPathsFindTheSongBelowTheDataHomeInAnyCase) {
    TempFolder home;
    const platform::Paths paths = platform::Paths::InFolder(home.Path());
    WriteTextFile(home.File("SONGS/Live/Ballad.vxa"), "x");
    WriteTextFile(home.File("SONGS/Blues.VXA"), "x");
    EXPECT_EQ(FindSongFile("C:\\Chordella\\songs\\LIVE\\ballad.VXA", paths), home.File("SONGS/Live/Ballad.vxa"));
    EXPECT_EQ(FindSongFile("D:/Elsewhere/blues.vxa", paths), home.File("SONGS/Blues.VXA"));
    EXPECT_EQ(FindSongFile(home.File("SONGS/Blues.VXA"), paths), home.File("SONGS/Blues.VXA"));
    EXPECT_EQ(FindSongFile("C:\\SONGS\\..\\..\\etc\\passwd", paths), std::nullopt);
    EXPECT_EQ(FindSongFile("C:\\Chordella\\SONGS\\Missing.vxa", paths), std::nullopt);
    EXPECT_EQ(FindSongFile("", paths), std::nullopt);
}

}  // namespace
}  // namespace chordella::library
