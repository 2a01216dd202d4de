// The style playlist in the desktop core: opened at start, worked through the window's
// requests, and saved at exit; its "Random" hands the search result to the song creator.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "desktop/DesktopPlaylist.h"
#include "core/Session.h"
#include "support/StyleBuilder.h"
#include "support/DesktopRig.h"
#include "support/TestPaths.h"
#include "support/TextFiles.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

using A = PlaylistAction;

struct PlaylistCoreRig : testing::DesktopRig {
    using DesktopRig::DesktopRig;
    std::string Lists(const std::string& name) const { return t.session->Paths().Lists() + "/" + name; }
    // A 3/4 style with a bass, in the STYLES folder as `name`.
    void WriteWaltz(const std::string& name) const {
        testing::StyleBuilder style;
        style.Meter(3).Program(1, 33).Part(data::StylePart::Basic).Note(1, 40, 100, 0, 12);
        std::filesystem::create_directories(std::filesystem::path(Styles(name)).parent_path());
        EXPECT_TRUE(style.Write(Styles(name)));
    }
};

TEST(DesktopPlaylist, TheListOpensAtStartIsWorkedByRequestsAndIsSavedAtExit) {
    PlaylistCoreRig rig;
    rig.WriteWaltz("waltz.vxs");
    testing::WriteTextFile(rig.Lists("StylePlayList.gen"), "C:\\STYLES\\old.sty|bpm90|4/4|rock\r\n");
    rig.t.state.options.StyleSearchText = "rock";
    rig.core.Start();

    PlaylistView view = rig.core.StylePlaylist({A::Read});
    EXPECT_EQ(view.Lines, (std::vector<std::string>{"C:\\STYLES\\old.sty|bpm90|4/4|rock"})) << "the kept search ran";

    PlaylistRequest add{A::AddStyles};
    add.Files = {rig.Styles("waltz.vxs")};
    add.Text = "folk";
    rig.core.StylePlaylist(add);
    PlaylistRequest search{A::Search};
    search.Text = "+3/4; +bass";
    view = rig.core.StylePlaylist(search);
    ASSERT_EQ(view.Lines.size(), 1u);
    EXPECT_EQ(view.Caption, "Style-Playlist: StylePlayList.gen - Styles: 2");

    PlaylistRequest random{A::SetOptions};
    random.Random = true;
    EXPECT_TRUE(rig.core.StylePlaylist(random).Random);

    rig.core.Exit();
    EXPECT_EQ(testing::ReadTextFile(rig.Lists("StylePlayList.gen")),
              "C:\\STYLES\\old.sty|bpm90|4/4|rock\r\n" + rig.Styles("waltz.vxs") + "|bpm120|3/4|folk||BASS\r\n");
}

// A first start has no playlist yet: the styles the start put into the data home make it, so
// the window offers them at once, and the exit keeps them as the playlist file.
TEST(DesktopPlaylist, AFirstStartOffersTheBundledStyles) {
    PlaylistCoreRig rig(true);
    rig.core.Start();
    std::vector<std::string> bundled;
    for (const auto& entry : std::filesystem::directory_iterator(testing::AssetsFolder() + "/styles"))
        if (entry.path().extension() == ".vxs") bundled.push_back(entry.path().filename().string());
    ASSERT_GE(bundled.size(), 10u);

    const PlaylistView view = rig.core.StylePlaylist({A::Read});
    ASSERT_EQ(view.Lines.size(), bundled.size()) << "every bundled style is found by the first search";
    for (const std::string& name : bundled) {
        const bool listed = std::ranges::any_of(view.Lines, [&](const std::string& line) {
            return line.rfind(rig.Styles(name) + "|bpm", 0) == 0;
        });
        EXPECT_TRUE(listed) << name;
    }
    EXPECT_EQ(view.Caption, "Style-Playlist: StylePlayList.gen - Styles: " + std::to_string(bundled.size()));
    rig.core.Exit();
    const std::string saved = testing::ReadTextFile(rig.Lists("StylePlayList.gen"));
    EXPECT_EQ(static_cast<std::size_t>(std::ranges::count(saved, '\n')), bundled.size());
    EXPECT_EQ(rig.t.state.options.StyleSearchText, "*;") << "the search box shows what found them";
}

TEST(DesktopPlaylist, ADamagedListIsReportedAndNotOverwrittenAtExit) {
    PlaylistCoreRig rig;
    const std::string list = rig.Lists("StylePlayList.gen");
    std::filesystem::create_directories(list);  // a folder where the list should be
    rig.core.Start();
    bool told = false;
    for (const std::string& text : rig.t.prompter->Shown()) told = told || text.rfind(list + ": ", 0) == 0;
    EXPECT_TRUE(told) << "the start says which list could not be read";
    rig.t.prompter->ClearShown();
    rig.core.Exit();
    EXPECT_TRUE(std::filesystem::is_directory(list));
    EXPECT_TRUE(rig.t.prompter->Shown().empty()) << "the exit does not try to write it";
}

TEST(DesktopPlaylist, TheBrowserGetsTheListsWithTheirFilesAndLoadedStylesBecomeRecent) {
    PlaylistCoreRig rig;
    rig.WriteWaltz("Folk/Waltz.vxs");
    rig.WriteWaltz("polka.vxs");
    testing::WriteTextFile(rig.Lists("StylePlayList.gen"),
                           "C:\\Chordella\\STYLES\\FOLK\\waltz.vxs|bpm120|3/4\r\nC:\\STYLES\\gone.vxs|bpm90|4/4\r\n" +
                               rig.Styles("polka.vxs") + "|bpm120|3/4\r\n");
    rig.core.Start();

    PlaylistRequest read{A::ReadList};
    PlaylistView view = rig.core.StylePlaylist(read);
    ASSERT_EQ(view.Listed.size(), 3u);
    EXPECT_EQ(view.ListedFiles, (std::vector<std::string>{rig.Styles("Folk/Waltz.vxs"), "", rig.Styles("polka.vxs")}));

    PlaylistRequest search{A::Search};
    search.Text = "+3/4";
    rig.core.StylePlaylist(search);
    PlaylistRequest load{A::Load};
    load.Index = 0;
    rig.core.StylePlaylist(load);
    PlaylistRequest number{A::SelectNumber};
    number.Index = 1;
    view = rig.core.StylePlaylist(number);
    EXPECT_EQ(view.Selected, 1);
    EXPECT_EQ(view.Recent, (std::vector<std::string>{rig.Styles("polka.vxs"), rig.Styles("Folk/Waltz.vxs")}));
    number.Index = 7;
    EXPECT_FALSE(rig.core.StylePlaylist(number).Message.empty()) << "no line 8";
    PlaylistRequest again{A::LoadFile};
    again.Text = rig.Styles("Folk/Waltz.vxs");
    EXPECT_EQ(rig.core.StylePlaylist(again).Recent.front(), rig.Styles("Folk/Waltz.vxs"));
    again.Text = rig.Styles("gone.vxs");
    EXPECT_EQ(rig.core.StylePlaylist(again).Message, rig.Styles("gone.vxs") + " not found !");

    PlaylistRequest exportList{A::ExportToEditor};
    exportList.List = PlaylistListChoice::SearchResult;
    view = rig.core.StylePlaylist(exportList);
    EXPECT_EQ(view.ExportedFile, rig.Lists("Export_SearchResult.txt"));
    EXPECT_EQ(testing::ReadTextFile(view.ExportedFile),
              "C:\\Chordella\\STYLES\\FOLK\\waltz.vxs|bpm120|3/4\r\n" + rig.Styles("polka.vxs") + "|bpm120|3/4\r\n");
    PlaylistRequest addListed{A::AddStyles};  // "Add styles": what the Style-Manager lists (STYLES)
    addListed.Text = "dance";
    rig.core.StylePlaylist(addListed);
    view = rig.core.StylePlaylist(read);
    ASSERT_EQ(view.Listed.size(), 4u);
    EXPECT_EQ(view.Listed.back().rfind(rig.Styles("polka.vxs") + "|bpm120|3/4|dance", 0), 0u) << view.Listed.back();
}

}  // namespace
}  // namespace chordella::app
