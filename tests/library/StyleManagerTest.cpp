// The style manager: entries of real styles, its questions and what Yes and No do, the
// list Play takes its style from, the file masks, and the playlist seam.

#include <filesystem>

#include <gtest/gtest.h>

#include "AbsentPlaylist.h"
#include "core/StyleStore.h"
#include "data/StyleFile.h"
#include "data/StyleState.h"
#include "library/StyleManager.h"
#include "platform/Files.h"
#include "platform/TextCase.h"
#include "support/KeyboardStyleWriter.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"
#include "support/TestSession.h"
#include "support/TextFiles.h"
#include "support/TestPaths.h"

namespace chordella::library {
namespace {

namespace fs = std::filesystem;
using testing::ReadTextFile;
using testing::TempFolder;
using testing::WriteTextFile;

std::string Bundled(const std::string& name) { return chordella::testing::AssetsFolder() + "/styles/" + name; }

std::string Padded(std::string name) {
    name.resize(25, ' ');
    return name;
}

TEST(StyleEntries, ABundledStyleGivesItsMetrumTempoAndTheChannelsTheLoaderFinds) {
    testing::TestSession t;
    for (const char* name : {"waltz.vxs", "ballad.vxs", "swing.vxs"}) {
        SCOPED_TRACE(name);
        StyleInfo info;
        std::string error;
        ASSERT_TRUE(ReadStyleInfo(Bundled(name), info, error)) << error;

        // The same numbers as the loaded style: tempo from the header, channels from the loader.
        data::StyleStore store(*t.session);
        ASSERT_EQ(store.Load(Bundled(name), false), data::StyleLoadResult::Loaded);
        const StyleInfo loaded = StyleInfoOf(store.Style().Header, info.MetrumText);
        EXPECT_EQ(info.Tempo, loaded.Tempo);
        EXPECT_EQ(info.Tracks, loaded.Tracks);
        EXPECT_GT(info.Tracks, 0);

        const std::string entry = FormatStyleEntry(Bundled(name), info, "for tonight");
        EXPECT_EQ(entry, Padded(name) + "Met: " + info.MetrumText + "  Beat: " + std::to_string(info.Tempo) +
                             "  Tracks: " + std::to_string(info.Tracks) + "{1}for tonight{2}" + Bundled(name));
        const StyleEntryParts parts = SplitStyleEntry(entry);
        EXPECT_EQ(parts.Description, "for tonight");
        EXPECT_EQ(parts.Path, Bundled(name));
        EXPECT_EQ(parts.Info.rfind("Met: ", 0), 0u);
    }
    StyleInfo waltz;
    std::string error;
    ASSERT_TRUE(ReadStyleInfo(Bundled("waltz.vxs"), waltz, error));
    EXPECT_EQ(waltz.MetrumText, "3/4");
}

TEST(StyleEntries, KeyboardStylesOfOtherMakersGiveTheirOwnMeterTempoAndChannels) {
    TempFolder folder;
    const struct {
        const char* Name;
        testing::SampleStyleShape Shape;
        const char* Metrum;
        int Tracks;
    } written[] = {
        {"Four.sty", {}, "4/4", 6},
        {"JazzWaltz.prs", {.Numerator = 3, .ChordVariants = true}, "3/4", 8},
        {"Jig.bcs", {.Numerator = 6, .Denominator = 8, .Division = 480}, "6/8", 6},
    };
    for (const auto& w : written) {
        SCOPED_TRACE(w.Name);
        ASSERT_TRUE(testing::SampleKeyboardStyle(w.Shape).Write(folder.File(w.Name)));
        StyleInfo info;
        std::string error;
        ASSERT_TRUE(ReadStyleInfo(folder.File(w.Name), info, error)) << error;
        EXPECT_EQ(info.Tempo, 110);
        EXPECT_EQ(info.MetrumText, w.Metrum);
        EXPECT_EQ(info.Tracks, w.Tracks);
    }
    // The corpus's real styles, where it is present: their values in reason.
    for (const std::string& path : testing::CorpusFiles("styles")) {
        SCOPED_TRACE(path);
        StyleInfo info;
        std::string error;
        ASSERT_TRUE(ReadStyleInfo(path, info, error)) << error;
        EXPECT_GE(info.Tempo, 20);
        EXPECT_LE(info.Tempo, 400);
        EXPECT_GT(info.Tracks, 0);
        EXPECT_LE(info.Tracks, 16);
        if (platform::LowerCase(fs::path(path).filename().string()).find("waltz") != std::string::npos) {
            EXPECT_EQ(info.MetrumText, "3/4");
        }
    }
}

TEST(StyleEntries, NamesAreCutOrPaddedAndDescriptionsCannotBreakTheLine) {
    const std::string longName = "/s/A_Very_Long_Style_File_Name_Indeed.VXS";
    const std::string entry = FormatStyleEntry(longName, StyleInfo{"6/8", 96, 3}, "two\r\nlines {2} and {{1}1}");
    EXPECT_EQ(entry.substr(0, 30), "a_very_long_style_file_naMet: ");
    const StyleEntryParts parts = SplitStyleEntry(entry);
    EXPECT_EQ(parts.Description, "two  lines  and ");
    EXPECT_EQ(parts.Path, longName);
    EXPECT_EQ(SplitStyleEntry("short").Path, "");
    // Marks in the file name are only the name.
    const StyleEntryParts odd = SplitStyleEntry(FormatStyleEntry("/s/{2}x{1}.vxs", StyleInfo{"4/4", 1, 1}, "d"));
    EXPECT_EQ(odd.Path, "/s/{2}x{1}.vxs");
    EXPECT_EQ(odd.Description, "d");

    // A file that is no style gives a reason, not an entry.
    TempFolder folder;
    WriteTextFile(folder.File("fake.vxs"), "not a style at all");
    StyleInfo info;
    std::string error;
    EXPECT_FALSE(ReadStyleInfo(folder.File("fake.vxs"), info, error));
    EXPECT_FALSE(error.empty());
}

struct ManagerRig {
    TempFolder home;
    platform::Paths paths = platform::Paths::InFolder(home.Path());
    chordella::testing::ScriptedPrompter prompter;
    testing::AbsentPlaylist noPlaylist;
    std::unique_ptr<StyleManager> manager;

    ManagerRig() : ManagerRig(noPlaylist) {}
    explicit ManagerRig(core::StylePlaylistLink& playlist) {
        fs::create_directories(paths.Styles());
        manager = std::make_unique<StyleManager>(prompter, paths, playlist);
        manager->Open();
    }
    void Add(const std::string& path, const std::string& description = "") {
        prompter.AnswerYes();
        manager->AddOrEdit(LoadedStyle{true, path, StyleInfo{"4/4", 110, 6}}, description);
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const auto& entry : manager->Entries()) paths.push_back(SplitStyleEntry(entry).Path);
        return paths;
    }
    std::string GroupFileText() const { return ReadTextFile(GroupFile::PathIn(paths)); }
};

TEST(StyleManagerGroups, AddAsksEditAsksAndTheSamePathDecidesWhatIsTheSameStyle) {
    ManagerRig r;
    r.manager->AddOrEdit(LoadedStyle{}, "");
    EXPECT_TRUE(r.prompter.WasShown("No style loaded !"));
    r.manager->AddOrEdit(LoadedStyle{true, "/s/two\nlines.vxs", StyleInfo{}}, "");
    EXPECT_TRUE(r.prompter.WasShown("The style \"two\nlines.vxs\" cannot be listed: its path holds a line break !"));
    EXPECT_TRUE(r.manager->Entries().empty());

    r.manager->ShowGroup(2);  // Pop / Ballad
    r.Add("/a/pop.vxs");
    EXPECT_TRUE(r.prompter.WasShown("Add \"pop.vxs\" to group \"Ballad\" ?"));
    r.Add("/b/pop.vxs");  // the same name in another folder is another style; it goes in at the selection
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/b/pop.vxs", "/a/pop.vxs"}));

    r.manager->SelectEntry(1);
    r.Add("/b/pop.vxs", "new words");
    EXPECT_TRUE(r.prompter.WasShown("Edit the description of \"pop.vxs\" (loaded style)?"));
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/b/pop.vxs", "/a/pop.vxs"}));
    EXPECT_EQ(r.manager->SelectedEntry(), 1);  // the previous selection comes back
    EXPECT_EQ(SplitStyleEntry(r.manager->Entries()[0]).Description, "new words");

    // A "No" changes nothing, and the group is on disk as shown.
    r.prompter.AnswerNo();
    r.manager->AddOrEdit(LoadedStyle{true, "/c/rock.vxs", StyleInfo{}}, "");
    EXPECT_EQ(r.manager->Entries().size(), 2u);
    GroupFile file(GroupFile::PathIn(r.paths));
    std::string error;
    ASSERT_TRUE(file.Load(error));
    EXPECT_EQ(file.Entries(2), r.manager->Entries());
    EXPECT_TRUE(file.Entries(1).empty());
}

TEST(StyleManagerGroups, RemovingAsksAndSelectsTheEntryBefore) {
    ManagerRig r;
    for (const char* path : {"/s/c.vxs", "/s/b.vxs", "/s/a.vxs"}) r.Add(path);  // each goes in at the top
    ASSERT_EQ(r.Paths(), (std::vector<std::string>{"/s/a.vxs", "/s/b.vxs", "/s/c.vxs"}));

    r.prompter.AnswerYes();
    r.manager->RemoveSelected();  // the first: the new first is selected
    EXPECT_TRUE(r.prompter.WasShown("Remove a.vxs       ... ?"));
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/s/b.vxs", "/s/c.vxs"}));
    EXPECT_EQ(r.manager->SelectedEntry(), 0);

    r.manager->SelectEntry(1);
    r.prompter.AnswerYes();
    r.manager->RemoveSelected();
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/s/b.vxs"}));
    EXPECT_EQ(r.manager->SelectedEntry(), 0);

    // An entry dragged to another place is saved in its new order.
    r.Add("/s/z.vxs");
    ASSERT_TRUE(r.manager->MoveEntry(0, 1));
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/s/b.vxs", "/s/z.vxs"}));
    EXPECT_FALSE(r.manager->MoveEntry(0, 5));
    r.manager->ShowGroup(2);
    r.manager->ShowGroup(1);
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/s/b.vxs", "/s/z.vxs"}));

    // Removing from an empty group asks nothing.
    r.manager->ShowGroup(3);
    r.prompter.ClearShown();
    r.manager->RemoveSelected();
    EXPECT_TRUE(r.prompter.Shown().empty());
}

TEST(StyleManagerGroups, RemoveAllNoLeavesTheGroupAndItsFileUntouched) {
    ManagerRig r;
    r.Add("/s/one.vxs");
    r.Add("/s/two.vxs");
    const std::string before = r.GroupFileText();

    r.prompter.AnswerNo();
    r.manager->RemoveAll();
    EXPECT_TRUE(r.prompter.WasShown("Remove all styles ?"));
    EXPECT_EQ(r.manager->Entries().size(), 2u);
    EXPECT_EQ(r.GroupFileText(), before);

    r.prompter.AnswerYes();
    r.manager->RemoveAll();
    EXPECT_TRUE(r.manager->Entries().empty());
    EXPECT_EQ(r.GroupFileText().find("[Group1]"), std::string::npos);
}

TEST(StyleManagerGroups, AnAnswerArrivingLateActsOnTheGroupItWasAskedAbout) {
    ManagerRig r;
    r.prompter.HoldQuestions(true);  // the question stays open until the test answers it
    r.manager->ShowGroup(5);
    r.manager->AddOrEdit(LoadedStyle{true, "/s/late.vxs", StyleInfo{}}, "");
    r.manager->ShowGroup(7);  // the user moved on while the question was open
    r.prompter.AnswerYes();
    ASSERT_TRUE(r.prompter.AnswerHeld());
    EXPECT_TRUE(r.manager->Entries().empty());
    r.manager->ShowGroup(5);
    ASSERT_EQ(r.manager->Entries().size(), 1u);

    r.manager->RemoveAll();
    r.manager.reset();
    r.prompter.AnswerYes();
    EXPECT_TRUE(r.prompter.AnswerHeld());  // the manager is gone: nothing happens
}

TEST(StyleManagerFiles, MasksPlaySourceAndTheEleventhFile) {
    ManagerRig r;
    for (int i = 0; i < 12; ++i) WriteTextFile(r.paths.Styles() + "/style" + std::to_string(10 + i) + ".VXS", "x");
    WriteTextFile(r.paths.Styles() + "/Slow Ballad.sty", "x");
    WriteTextFile(r.paths.Styles() + "/notes.txt", "x");
    fs::create_directories(r.paths.Styles() + "/Latin");
    r.manager->SetFolder(r.paths.Styles());
    StyleFileBrowser& files = r.manager->Browser();
    EXPECT_EQ(files.Files().size(), 13u);
    EXPECT_EQ(files.SubFolders(), (std::vector<std::string>{"Latin"}));
    EXPECT_EQ(files.CountText(), "13 files");
    EXPECT_EQ(files.MaskHint(), "Currently listed: 13 files; Press \"Enter\" (you may use * and ?)");
    r.manager->SetMask("*BALLAD*");
    EXPECT_EQ(files.Files(), (std::vector<std::string>{"Slow Ballad.sty"}));
    r.manager->SetMask("style1?.vxs; *.txt");
    EXPECT_EQ(files.Files().size(), 11u);
    r.manager->SetMask("*.*");
    EXPECT_EQ(files.Files().size(), 14u);
    EXPECT_FALSE(MatchesMask("a.vxs", ""));

    r.manager->SetMask("*.vxs");
    EXPECT_EQ(r.manager->PlayPath(), r.paths.Styles() + "/style20.VXS");  // the eleventh
    EXPECT_EQ(r.manager->SelectedFile(), 10);

    // After a click on an entry, Play takes the entry, found on this machine.
    r.Add("C:\\Chordella\\STYLES\\STYLE12.vxs");
    r.manager->SelectEntry(0);
    EXPECT_EQ(r.manager->PlayPath(), r.paths.Styles() + "/style12.VXS");
    r.manager->SelectFile(2);
    EXPECT_EQ(r.manager->PlayPath(), r.paths.Styles() + "/style12.VXS");

    // The random choice: the group's entries, or the listed files with "Random" ticked (or
    // when the group is empty).
    r.manager->ShowGroup(9);
    EXPECT_EQ(r.manager->RandomSource().size(), 12u);
    r.manager->ShowGroup(1);
    EXPECT_EQ(r.manager->RandomSource(), (std::vector<std::string>{r.paths.Styles() + "/style12.VXS"}));
    r.manager->SetRandom(true);
    EXPECT_EQ(r.manager->RandomSource().size(), 12u);
}

TEST(StyleManagerFiles, ListedFilesGoToThePlaylistThroughItsLink) {
    struct RecordingPlaylist final : core::StylePlaylistLink {
        std::vector<std::string> added;
        std::string description;
        int AppendStyles(const std::vector<std::string>& paths, const std::string& text, std::string&) override {
            added = paths;
            description = text;
            return static_cast<int>(paths.size());
        }
        bool ShowPlaylist() override { return true; }
    } playlist;
    ManagerRig r(playlist);
    WriteTextFile(r.paths.Styles() + "/a.vxs", "x");
    WriteTextFile(r.paths.Styles() + "/b.sty", "x");
    r.manager->SetFolder(r.paths.Styles());
    r.prompter.AnswerNo();
    r.manager->AddListedToPlaylist();
    EXPECT_TRUE(r.prompter.WasShown("Would you like to add 2 to the current Style-playlist?"));
    EXPECT_TRUE(playlist.added.empty());
    r.prompter.AnswerYes();
    r.prompter.AnswerText("latin dance");
    r.manager->AddListedToPlaylist();
    EXPECT_TRUE(r.prompter.WasShown("Style-Playlist: Provide a short description for subsequent searches !"));
    EXPECT_EQ(playlist.added, (std::vector<std::string>{r.paths.Styles() + "/a.vxs", r.paths.Styles() + "/b.sty"}));
    EXPECT_EQ(playlist.description, "latin dance");

    // A playlist that cannot take them: the user is told why.
    ManagerRig alone;
    WriteTextFile(alone.paths.Styles() + "/a.vxs", "x");
    alone.manager->SetFolder(alone.paths.Styles());
    alone.prompter.AnswerYes();
    alone.prompter.AnswerText("");
    alone.manager->AddListedToPlaylist();
    EXPECT_TRUE(alone.prompter.WasShown(std::string(core::PlaylistNotShownMessage)));
}

}  // namespace
}  // namespace chordella::library
