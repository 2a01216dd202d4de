// The style playlist: the search language over a playlist file written here, the line
// format and the instrument tags read from real style files, delete duplicates, and the
// removal of entries with its backups and "Deleted_Entries.txt".

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "library/PlaylistFiles.h"
#include "library/SongEntry.h"
#include "library/SongStyles.h"
#include "library/StyleFacts.h"
#include "library/StylePlaylist.h"
#include "support/SongBuilder.h"
#include "support/StyleBuilder.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::library {
namespace {

using data::StylePart;
using testing::ReadTextFile;
using testing::StyleBuilder;
using testing::TempFolder;
using testing::WriteTextFile;

struct PlaylistRig {
    TempFolder home;
    platform::Paths paths = platform::Paths::InFolder(home.Path());
    StylePlaylist playlist{paths};

    PlaylistRig() { paths.EnsureFolders(); }
    std::string Lists(const std::string& name) const { return paths.Lists() + "/" + name; }
    // Opens a playlist file holding `text` as the current playlist.
    void Load(const std::string& text) {
        WriteTextFile(Lists("StylePlayList.gen"), text);
        std::string error;
        ASSERT_TRUE(playlist.OpenCurrent({}, error)) << error;
    }
    std::vector<std::string> Lines(StyleListKind kind = StyleListKind::Playlist) const {
        return playlist.List(kind).Lines;
    }
};

// A style whose Basic plays the given (channel, program) pairs.
StyleBuilder PlayingStyle(const std::vector<std::pair<int, int>>& channels) {
    StyleBuilder style;
    style.Tempo(96).Meter(4);
    auto& basic = style.Part(StylePart::Basic);
    for (auto [channel, program] : channels) {
        style.Program(channel, program);
        basic.Note(channel, 48, 100, 0, 12);
    }
    return style;
}

TEST(StyleQueryTable, EachQueryFindsExactlyItsLines) {
    PlaylistRig rig;
    // CRLF and LF mixed, a line without "|bpm", one whose tempo is "???", text that is no style.
    rig.Load("C:\\STYLES\\Pop\\SlowPop.vxs|bpm72|4/4|pop ballad||BASS|PIANOS\r\n"
             "/styles/rock/LiveRock.sty|bpm128|4/4|rock live||BASS|GUITARS\n"
             "/styles/rock/HardRock.PRS|bpm140|4/4|rock||BASS|GUITARS\r\n"
             "/styles/Waltz.vxs|bpm???|3/4|waltz\r\n"
             "/styles/Beat8.bcs|bpm100|4/4|8beat pop||PADS\n"
             "/styles/Organ.sst|bpm90|6/8|gospel||ORGANS\r\n"
             "a note about the list, no style\r\n"
             "/styles/NoTempo.vxs\r\n");
    const std::map<std::string, std::set<int>> table = {
        {"*;", {0, 1, 2, 3, 4, 5, 7}},
        {"", {0, 1, 2, 3, 4, 5, 7}},
        {"*.*", {0, 1, 2, 3, 4, 5, 7}},
        {"!pop !rock; -live", {0, 2, 4}},     // alternatives inside one OR term, then NOT
        {"!pop; !rock; -live", {0, 2, 4}},    // OR terms of their own
        {"ROCK", {1, 2}},                      // compared in lower case
        {"8 beat", {4}},                       // also without its first blank
        {">75", {1, 2, 4, 5}},                 // no tempo: fails every tempo term
        {"<100", {0, 5}},
        {"=128", {1}},
        {"+4/4; >70; <130", {0, 1, 4}},
        {"+bass; -piano !organ", {1, 2}},
        {"+bass; +guitar", {1, 2}},
        {"+3/4", {3}},
        {"-bpm", {7}},
        {"!jazz", {}},
    };
    for (const auto& [query, expected] : table) {
        const SearchOutcome outcome = rig.playlist.Search(query, false, false);
        ASSERT_TRUE(outcome.Ok) << query << ": " << outcome.Message;
        std::set<int> found;
        for (const std::string& hit : rig.Lines(StyleListKind::SearchResult)) {
            const auto& all = rig.Lines();
            found.insert(static_cast<int>(std::find(all.begin(), all.end(), hit) - all.begin()));
        }
        EXPECT_EQ(found, expected) << "query \"" << query << "\"";
        EXPECT_EQ(outcome.Found, static_cast<int>(expected.size())) << query;
    }
}

TEST(StyleQueryTable, AddKeepsEarlierHitsSortOrdersThemSizeLimitsUseTheFilesFoundAndBadQueriesAreRefused) {
    PlaylistRig rig;
    rig.Load("/s/b.sty|bpm90|4/4|rock\r\n/s/A.sty|bpm90|4/4|pop\r\n/s/c.sty|bpm90|4/4|rock\r\n");
    rig.playlist.Search("pop", false, false);
    rig.playlist.Search("rock", true, true);
    EXPECT_EQ(rig.Lines(StyleListKind::SearchResult),
              (std::vector<std::string>{"/s/A.sty|bpm90|4/4|pop", "/s/b.sty|bpm90|4/4|rock", "/s/c.sty|bpm90|4/4|rock"}));
    rig.playlist.Search("rock", false, false);
    EXPECT_EQ(rig.Lines(StyleListKind::SearchResult).size(), 2u);
    EXPECT_EQ(rig.playlist.FindNext("rock", 0), 1);
    EXPECT_EQ(rig.playlist.FindNext("rock", 1), -1);

    WriteTextFile(rig.paths.Styles() + "/Old/big.VXS", std::string(20000, 'x'));
    WriteTextFile(rig.paths.Styles() + "/small.vxs", std::string(500, 'x'));
    // Paths of another machine: either separator, other case, another drive.
    rig.Load("C:\\Chordella\\styles\\OLD\\Big.vxs|bpm90|4/4\r\nD:/x/STYLES/Small.vxs|bpm90|4/4\r\n"
             "C:\\STYLES\\Gone.vxs|bpm90|4/4\r\n");
    rig.playlist.Search(">12000", false, false);
    EXPECT_EQ(rig.Lines(StyleListKind::SearchResult), (std::vector<std::string>{rig.Lines()[0]}));
    rig.playlist.Search("<5000", false, false);
    EXPECT_EQ(rig.Lines(StyleListKind::SearchResult), (std::vector<std::string>{rig.Lines()[1]}));

    std::string fifteen, sixteen;
    for (int i = 0; i < 15; ++i) fifteen += "+w" + std::to_string(i) + "; ";
    sixteen = fifteen + "+w15";
    EXPECT_TRUE(ParseStyleQuery(fifteen).Valid());
    EXPECT_NE(ParseStyleQuery(sixteen).Error.find("at most 15"), std::string::npos);
    EXPECT_NE(ParseStyleQuery("+; -; ! !").Error.find("only signs"), std::string::npos);
    EXPECT_FALSE(ParseStyleQuery(">fast").Valid());
    EXPECT_FALSE(ParseStyleQuery(std::string(5000, 'a')).Valid());

    rig.Load("/s/a.sty|bpm90|4/4|rock\r\n");
    rig.playlist.Search("rock", false, false);
    const SearchOutcome refused = rig.playlist.Search(sixteen, false, false);
    EXPECT_FALSE(refused.Ok);
    EXPECT_EQ(rig.Lines(StyleListKind::SearchResult).size(), 1u) << "a refused query leaves the result alone";
}

TEST(PlaylistLines, StyleFilesAreTaggedFromWhatTheirChannelsPlay) {
    TempFolder folder;
    StyleBuilder style = PlayingStyle({{0, 1}, {1, 33}, {4, 90}, {9, 0}});
    style.Meter(3).Program(2, 25);  // a guitar set up but never played is no guitar
    ASSERT_TRUE(style.Write(folder.File("Waltz.vxs")));
    StyleBuilder slow = PlayingStyle({{0, 17}});
    slow.Tempo(20).EighthMeter(6);
    ASSERT_TRUE(slow.Write(folder.File("slow.vxs")));
    WriteTextFile(folder.File("broken.vxs"), "not a style");

    platform::Paths paths = platform::Paths::InFolder(folder.Path());
    StylePlaylist playlist(paths);
    std::vector<std::string> skipped;
    EXPECT_EQ(playlist.AddStyles({folder.File("Waltz.vxs"), folder.File("slow.vxs"), folder.File("broken.vxs")},
                                 "country waltz", &skipped),
              2);
    EXPECT_EQ(playlist.List(StyleListKind::Playlist).Lines,
              (std::vector<std::string>{folder.File("Waltz.vxs") + "|bpm96|3/4|country waltz||BASS|PIANOS|PADS",
                                        folder.File("slow.vxs") + "|bpm???|6/8|country waltz||ORGANS"}));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].rfind(folder.File("broken.vxs") + ": ", 0), 0u);

    const PlaylistEntry entry = ParsePlaylistLine(playlist.List(StyleListKind::Playlist).Lines[0] + "|live");
    EXPECT_EQ(entry.Tempo, 96);
    EXPECT_EQ(entry.Metrum, "3/4");
    EXPECT_EQ(entry.Tags, TagBass | TagPianos | TagPads);
    EXPECT_EQ(entry.Description, "country waltz|live");
    // A damaged line without a metrum writes no empty field, which would read back as tags.
    const PlaylistEntry damaged = ParsePlaylistLine("/s/p.sty|bpm724/4|pop|BASS");
    EXPECT_EQ(FormatPlaylistLine(damaged), "/s/p.sty|bpm???|pop|BASS");
    EXPECT_EQ(ParsePlaylistLine(FormatPlaylistLine(damaged)).Tags, 0);

    // Another maker's waltz: its bass on channel 11, its piano, its strings and trumpet untagged.
    ASSERT_TRUE(testing::SampleKeyboardStyle({.Numerator = 3}).Write(folder.File("Waltz.S001.sty")));
    const StyleFacts facts = ReadStyleFactsOfFile(folder.File("Waltz.S001.sty"));
    ASSERT_TRUE(facts.Readable) << facts.Problem;
    EXPECT_EQ(facts.Metrum, "3/4");
    EXPECT_EQ(facts.Tempo, 110);
    EXPECT_EQ(facts.Tags, TagBass | TagPianos);
}

TEST(PlaylistFiles, LongLinesAndForeignBytesSurviveAReadAndASave) {
    PlaylistRig rig;
    const std::string longLine = "/s/" + std::string(5000, 'a') + ".sty|bpm90|4/4";
    const std::string latin1 = "C:\\STYLES\\Caf\xE9 Bossa.vxs|bpm120|4/4|bossa";
    rig.Load(longLine + "\n" + latin1 + "\r\n\r\n");
    ASSERT_EQ(rig.Lines(), (std::vector<std::string>{longLine, latin1}));
    std::string error;
    ASSERT_TRUE(rig.playlist.SavePlaylist({}, error)) << error;
    EXPECT_EQ(ReadTextFile(rig.Lists("StylePlayList.gen")), longLine + "\r\n" + latin1 + "\r\n");
    EXPECT_EQ(rig.playlist.Caption(), "Style-Playlist: StylePlayList.gen - Styles: 2");
}

TEST(DeleteDuplicates, SameNameAndSizeIsOneStyleWhateverTheFolder) {
    PlaylistRig rig;
    WriteTextFile(rig.paths.Styles() + "/a/Pop.vxs", std::string(100, 'x'));
    WriteTextFile(rig.paths.Styles() + "/b/Pop.vxs", std::string(200, 'x'));  // other size: another style
    WriteTextFile(rig.paths.Styles() + "/c/POP.vxs", std::string(100, 'x'));  // same size: a duplicate
    const std::string text = "C:\\STYLES\\a\\Pop.vxs|bpm90|4/4\r\n"
                             "C:\\STYLES\\b\\Pop.vxs|bpm90|4/4\r\n"
                             "C:\\STYLES\\c\\POP.vxs|bpm90|4/4\r\n";
    rig.Load(text);
    const ListChange change = rig.playlist.DeleteDuplicates(StyleListKind::Playlist);
    ASSERT_TRUE(change.Ok) << change.Message;
    EXPECT_EQ(change.Message, "1 style(s) was/were deleted from the current playlist !");
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"C:\\STYLES\\a\\Pop.vxs|bpm90|4/4", "C:\\STYLES\\b\\Pop.vxs|bpm90|4/4"}));
    EXPECT_EQ(ReadTextFile(rig.Lists("StylePlayList.bak")), text);
    EXPECT_EQ(ReadTextFile(rig.Lists("StylePlayList.gen")),
              "C:\\STYLES\\a\\Pop.vxs|bpm90|4/4\r\nC:\\STYLES\\b\\Pop.vxs|bpm90|4/4\r\n");
}

TEST(RemoveEntries, NotFoundEntriesGoToDeletedEntriesAndTheBakHoldsTheListBefore) {
    PlaylistRig rig;
    WriteTextFile(rig.paths.Styles() + "/Here.vxs", "x");
    WriteTextFile(rig.Lists("Deleted_Entries.txt"), "C:\\STYLES\\Earlier.vxs|bpm90|4/4\r\n");
    const std::string text = "C:\\STYLES\\Gone1.vxs|bpm90|4/4\r\n"
                             "C:\\STYLES\\here.VXS|bpm90|4/4\r\n"
                             "C:\\STYLES\\Gone2.sty|bpm90|4/4\r\n";
    rig.Load(text);
    const ListChange change = rig.playlist.RemoveEntries(StyleListKind::Playlist, RemovalKind::NotFound);
    ASSERT_TRUE(change.Ok) << change.Message;
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"C:\\STYLES\\here.VXS|bpm90|4/4"}));
    EXPECT_EQ(ReadTextFile(rig.Lists("StylePlayList.bak")), text);
    EXPECT_EQ(ReadTextFile(rig.Lists("StylePlayList.gen")), "C:\\STYLES\\here.VXS|bpm90|4/4\r\n");
    EXPECT_EQ(ReadTextFile(rig.Lists("Deleted_Entries.txt")),
              "C:\\STYLES\\Earlier.vxs|bpm90|4/4\r\nC:\\STYLES\\Gone1.vxs|bpm90|4/4\r\nC:\\STYLES\\Gone2.sty|bpm90|4/4\r\n");
    EXPECT_EQ(change.Message, "2 style(s) was/were deleted from the current playlist !\r\n\r\nThese entries can be found in \"" +
                                  rig.Lists("Deleted_Entries.txt") + "\"");
}

TEST(RemoveEntries, CorruptedAndBasslessOwnStylesGoOthersStay) {
    PlaylistRig rig;
    const std::string styles = rig.paths.Styles();
    ASSERT_TRUE(PlayingStyle({{1, 33}}).Write(styles + "/bass.vxs"));
    ASSERT_TRUE(PlayingStyle({{0, 0}}).Write(styles + "/piano.vxs"));
    ASSERT_TRUE(PlayingStyle({{0, 0}}).Write(styles + "/tagged.vxs"));
    std::vector<std::uint8_t> cut = PlayingStyle({{1, 33}}).Bytes();
    cut.resize(cut.size() / 2);
    WriteTextFile(styles + "/cut.vxs", std::string(cut.begin(), cut.end()));
    WriteTextFile(styles + "/foreign.sty", "not even MIDI");  // only the program's own styles are checked
    rig.Load(styles + "/bass.vxs|bpm96|4/4\r\n" + styles + "/piano.vxs|bpm96|4/4\r\n" + styles +
             "/tagged.vxs|bpm96|4/4||BASS\r\n" + styles + "/cut.vxs|bpm96|4/4\r\n" + styles + "/foreign.sty|bpm96|4/4\r\n");

    ListChange corrupted = rig.playlist.RemoveEntries(StyleListKind::Playlist, RemovalKind::Corrupted);
    ASSERT_TRUE(corrupted.Ok) << corrupted.Message;
    EXPECT_EQ(corrupted.RemovedLines, (std::vector<std::string>{styles + "/cut.vxs|bpm96|4/4"}));
    ListChange bassless = rig.playlist.RemoveEntries(StyleListKind::Playlist, RemovalKind::WithoutBass);
    EXPECT_EQ(bassless.RemovedLines, (std::vector<std::string>{styles + "/piano.vxs|bpm96|4/4"}));
    EXPECT_EQ(rig.Lines().size(), 3u);
}

TEST(Favorites, AddingKeepsABackupAndExportWritesAPlaylist) {
    PlaylistRig rig;
    ASSERT_TRUE(PlayingStyle({{1, 33}}).Write(rig.paths.Styles() + "/fav.vxs"));
    ASSERT_TRUE(PlayingStyle({{1, 33}}).Write(rig.paths.Styles() + "/next.vxs"));
    std::string error;
    ASSERT_TRUE(rig.playlist.AddFavorite(rig.paths.Styles() + "/fav.vxs", error)) << error;
    ASSERT_TRUE(rig.playlist.AddFavorite(rig.paths.Styles() + "/fav.vxs", error)) << error;
    const std::string line = rig.paths.Styles() + "/fav.vxs|bpm96|4/4||BASS";
    EXPECT_EQ(ReadTextFile(rig.Lists("StyleFavorites.sea")), line + "\r\n") << "a favourite is kept once";
    ASSERT_TRUE(rig.playlist.AddFavorite(rig.paths.Styles() + "/next.vxs", error)) << error;
    const std::string next = rig.paths.Styles() + "/next.vxs|bpm96|4/4||BASS";
    EXPECT_EQ(ReadTextFile(rig.Lists("StyleFavorites.sea")), line + "\r\n" + next + "\r\n");
    EXPECT_EQ(ReadTextFile(rig.Lists("StyleFavorites.bak")), line + "\r\n");
    EXPECT_FALSE(rig.playlist.AddFavorite(rig.paths.Styles() + "/none.vxs", error));
    std::string message;
    ASSERT_TRUE(rig.playlist.ExportFavorites(message));
    EXPECT_EQ(message, "The favoriteslist has been exported to \"StyleFavorites.txt\" !");
    EXPECT_EQ(ReadTextFile(rig.Lists("StyleFavorites.txt")), line + "\r\n" + next + "\r\n");
}

TEST(CopyStyles, MovedStylesTakeTheirLinesAlongAndNothingIsReplaced) {
    PlaylistRig rig;
    WriteTextFile(rig.paths.Styles() + "/a.vxs", "a");
    WriteTextFile(rig.paths.Styles() + "/b.vxs", "b");
    WriteTextFile(rig.home.File("gig/b.vxs"), "someone else's b");
    rig.Load("C:\\STYLES\\a.vxs|bpm90|4/4|x\r\nC:\\STYLES\\b.vxs|bpm90|4/4\r\n");
    rig.playlist.Search("*", false, false);
    std::vector<std::string> failed;
    EXPECT_EQ(rig.playlist.CopyStyles(StyleListKind::SearchResult, rig.home.File("gig"), true, failed), 1);
    EXPECT_EQ(failed, (std::vector<std::string>{rig.home.File("gig/b.vxs") + ": exists already"}));
    EXPECT_EQ(ReadTextFile(rig.home.File("gig/b.vxs")), "someone else's b");
    EXPECT_FALSE(std::filesystem::exists(rig.paths.Styles() + "/a.vxs"));
    EXPECT_EQ(rig.Lines()[0], rig.home.File("gig/a.vxs") + "|bpm90|4/4|x");
    EXPECT_EQ(rig.Lines(StyleListKind::SearchResult)[0], rig.Lines()[0]);
}

TEST(SongStyles, TheSongsOfASonglistGiveTheirStylesOnceAndSayWhatWasNotFound) {
    PlaylistRig rig;
    WriteTextFile(rig.paths.Styles() + "/Pop/Ballad.vxs", "style");
    WriteTextFile(rig.paths.Styles() + "/waltz.vxs", "style");
    const std::string songs = rig.paths.Songs();
    testing::SongBuilder().Style("C:\\Chordella\\STYLES\\POP\\ballad.VXS").WriteTo(songs + "/one.vxa");
    testing::SongBuilder().Style(rig.paths.Styles() + "/Pop/Ballad.vxs").WriteTo(songs + "/two.vxa");
    testing::SongBuilder().Style(rig.paths.Styles() + "/waltz.vxs").WriteTo(songs + "/three.vxa");
    testing::SongBuilder().Style("C:\\STYLES\\gone.vxs").WriteTo(songs + "/four.vxa");
    testing::SongBuilder().WriteTo(songs + "/none.vxa");
    WriteTextFile(songs + "/broken.vxa", std::string("\xFF\x10", 2));
    std::vector<std::string> lines;
    for (const char* song : {"one.vxa", "two.vxa", "three.vxa", "four.vxa", "none.vxa", "broken.vxa", "missing.vxa"}) {
        SongEntry entry;
        entry.Title = song;
        entry.Path = songs + "/" + song;
        lines.push_back(FormatSongEntry(entry));
    }

    const SongStyles styles = StylesOfSongs(lines, rig.paths);
    EXPECT_EQ(styles.Files, (std::vector<std::string>{rig.paths.Styles() + "/Pop/Ballad.vxs", rig.paths.Styles() + "/waltz.vxs"}));
    EXPECT_EQ(styles.SongsRead, 5);
    ASSERT_EQ(styles.Problems.size(), 3u) << ::testing::PrintToString(styles.Problems);
    EXPECT_NE(styles.Problems[0].find("gone.vxs not found"), std::string::npos);
    EXPECT_NE(styles.Problems[1].find("broken.vxa: "), std::string::npos);
    EXPECT_EQ(styles.Problems[2], songs + "/missing.vxa: not found");
}

TEST(ExportForEditor, EachListIsWrittenToAFileOfItsOwn) {
    PlaylistRig rig;
    rig.Load("C:\\STYLES\\a.vxs|bpm90|4/4|x\r\nC:\\STYLES\\b.sty|bpm???|3/4\r\n");
    rig.playlist.Search("+3/4", false, false);
    std::string error;
    const std::string playlist = rig.playlist.ExportForEditor(StyleListKind::Playlist, error);
    const std::string result = rig.playlist.ExportForEditor(StyleListKind::SearchResult, error);
    EXPECT_EQ(playlist, rig.Lists("Export_Playlist.txt"));
    EXPECT_EQ(ReadTextFile(playlist), "C:\\STYLES\\a.vxs|bpm90|4/4|x\r\nC:\\STYLES\\b.sty|bpm???|3/4\r\n");
    EXPECT_EQ(ReadTextFile(result), "C:\\STYLES\\b.sty|bpm???|3/4\r\n");
    EXPECT_EQ(ReadTextFile(rig.Lists("StylePlayList.gen")), "C:\\STYLES\\a.vxs|bpm90|4/4|x\r\nC:\\STYLES\\b.sty|bpm???|3/4\r\n")
        << "the list's own file is left alone";
    std::filesystem::create_directories(rig.Lists("Export_Favorites.txt"));  // a folder in the way
    EXPECT_TRUE(rig.playlist.ExportForEditor(StyleListKind::Favorites, error).empty());
    EXPECT_NE(error.find("Export_Favorites.txt"), std::string::npos);
}

}  // namespace
}  // namespace chordella::library
