// The style playlist steering the song creator's random style choice: "Next" takes the
// line after the selected one, "Find" the next line matching its expression (from the top
// again at the end), and the choice loads the files found on this machine.

#include <gtest/gtest.h>

#include <vector>

#include "app/PlaylistStyleList.h"
#include "composer/RandomStyleChoice.h"
#include "library/StylePlaylist.h"
#include "platform/Random.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::app {
namespace {

struct RecordingLoader final : composer::StyleLoadLink {
    std::vector<std::string> Loaded;
    composer::StyleLoadOutcome LoadChosenStyle(const std::string& path) override {
        Loaded.push_back(path);
        return {true, true, true};
    }
    bool EscapePressed() override { return false; }
};

struct SteeringRig {
    testing::TempFolder home;
    platform::Paths paths = platform::Paths::InFolder(home.Path());
    library::StylePlaylist playlist{paths};
    PlaylistStyleList list{playlist};
    RecordingLoader loader;
    platform::Random random{7};
    composer::RandomStyleChoice choice;

    SteeringRig() {
        for (const char* name : {"pop.vxs", "rock.vxs", "jazz.vxs", "hardrock.vxs"})
            testing::WriteTextFile(paths.Styles() + "/" + name, "x");
        // Stored with the paths of another machine: the choice gets the files of this one.
        testing::WriteTextFile(paths.Lists() + "/StylePlayList.gen",
                               "C:\\STYLES\\pop.vxs|bpm90|4/4\r\nC:\\STYLES\\rock.vxs|bpm90|4/4\r\n"
                               "C:\\STYLES\\jazz.vxs|bpm90|4/4\r\nC:\\STYLES\\hardrock.vxs|bpm90|4/4\r\n");
        std::string error;
        EXPECT_TRUE(playlist.OpenCurrent({}, error)) << error;
        playlist.Search("*;", false, false);
    }
    std::string Choose() { return choice.Choose(list, loader, random, false); }
    std::string Style(const char* name) const { return paths.Styles() + "/" + name; }
};

// "Next" takes the line after the selected one, after the last line the first; "Find" the
// next line matching its expression, from the top again at the end. The list shows the style chosen.
TEST(PlaylistSteering, NextAndFindTakeTheFollowingLineAndStartAgainFromTheTop) {
    struct Case {
        const char* Name;
        bool Next;
        const char* Find;   // the expression; null: "Find" unticked
        std::vector<std::string> Chosen;
        std::vector<int> Selected;
    };
    const Case cases[] = {
        {"Next", true, nullptr, {"jazz.vxs", "hardrock.vxs", "pop.vxs"}, {2, 3, 0}},
        {"Find rock", false, "rock", {"hardrock.vxs", "rock.vxs"}, {3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SteeringRig rig;
        rig.playlist.NextTicked = c.Next;
        rig.playlist.FindTicked = c.Find != nullptr;
        if (c.Find) rig.playlist.FindExpression = c.Find;
        rig.playlist.Selected = 1;
        for (std::size_t i = 0; i < c.Chosen.size(); ++i) {
            EXPECT_EQ(rig.Choose(), rig.Style(c.Chosen[i].c_str())) << i;
            EXPECT_EQ(rig.playlist.Selected, c.Selected[i]) << i;
        }
    }
}

TEST(PlaylistSteering, WithoutNextOrFindTheChoiceStaysInsideTheSearchResult) {
    SteeringRig rig;
    rig.playlist.Search("rock", false, false);
    for (int i = 0; i < 10; ++i) {
        const std::string chosen = rig.Choose();
        EXPECT_TRUE(chosen == rig.Style("rock.vxs") || chosen == rig.Style("hardrock.vxs")) << chosen;
    }
    rig.playlist.FindTicked = true;  // "Find" without an expression changes nothing
    EXPECT_FALSE(rig.Choose().empty());
}

}  // namespace
}  // namespace chordella::app
