// The style manager behind the desktop window: Play loads the chosen style and plays its
// Basic on the real transport, Stop stops it, "Add or Edit" takes the loaded style with the
// main window's metrum, and the manager is the random style choice's list.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "desktop/DesktopStyleManager.h"
#include "library/StyleManager.h"
#include "support/DesktopRig.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

// The desktop with the bundled styles, after the first start's demo song.
struct ManagerDesktop : testing::DesktopRig {
    ManagerDesktop() : DesktopRig(true) {
        core.Start();
        core.Stop();
    }
    int FileIndex(const std::string& name) {
        const StyleManagerView view = core.ReadStyleManager();
        for (std::size_t i = 0; i < view.Files.size(); ++i)
            if (view.Files[i] == name) return static_cast<int>(i);
        return -1;
    }
    void Request(StyleManagerAction action, int index = -1, std::string text = {}) {
        StyleManagerRequest request{action};
        request.Index = index;
        request.Text = std::move(text);
        core.StyleManager(request);
    }
};

TEST(DesktopStyleManager, PlayLoadsTheChosenStyleAndPlaysItsBasicUntilStop) {
    ManagerDesktop d;
    const int waltz = d.FileIndex("waltz.vxs");
    ASSERT_GE(waltz, 0) << "the start folder is the data home's STYLES folder with the bundled styles";
    d.Request(StyleManagerAction::SelectFile, waltz);
    const int before = d.NoteOnsSent();
    d.Request(StyleManagerAction::Play);
    EXPECT_EQ(d.t.session->Style().style.StylePath, d.t.session->Paths().Styles() + "/waltz.vxs");
    ASSERT_TRUE(d.RunUntil([&] { return d.Snapshot().Playing && d.NoteOnsSent() > before; }));
    EXPECT_EQ(d.Snapshot().Part, 1);
    d.Request(StyleManagerAction::Stop);
    EXPECT_FALSE(d.Snapshot().Playing);

    // The loaded style goes into the group with the metrum the main window shows for it.
    d.t.prompter->AnswerYes();
    d.Request(StyleManagerAction::AddOrEdit, -1, "a slow one");
    const StyleManagerView view = d.core.ReadStyleManager();
    ASSERT_EQ(view.Entries.size(), 1u);
    EXPECT_EQ(view.Entries[0].rfind("waltz.vxs                Met: 3/4  Beat: ", 0), 0u) << view.Entries[0];
    EXPECT_EQ(view.Description, "a slow one");
    EXPECT_EQ(view.EntryPaths[0], d.t.session->Paths().Styles() + "/waltz.vxs");
    // A window that shows this copy already is told so, with nothing copied.
    const StyleManagerView again = d.core.ReadStyleManager(view.Serial);
    EXPECT_TRUE(again.Unchanged);
    EXPECT_TRUE(again.Files.empty());

    // A group entry whose file is gone: Play says so and the loaded style stays.
    d.t.prompter->AnswerYes();
    d.Request(StyleManagerAction::DropFile, 0, d.t.session->Paths().Styles() + "/bossa.vxs");
    ASSERT_EQ(d.core.ReadStyleManager().Entries.size(), 2u);
    std::filesystem::remove(d.t.session->Paths().Styles() + "/bossa.vxs");
    d.Request(StyleManagerAction::SelectEntry, 0);
    d.Request(StyleManagerAction::Play);
    EXPECT_TRUE(d.t.prompter->WasShown("Style not found !"));
    EXPECT_FALSE(d.Snapshot().Playing);
}

TEST(DesktopStyleManager, TheRandomStyleChoiceDrawsFromTheGroupOrTheListedFiles) {
    ManagerDesktop d;
    DesktopStyleManager& panel = d.core.StyleManagerPanel();
    // An empty group leaves the listed files to draw from.
    EXPECT_EQ(panel.Kind(), composer::StyleListKind::StyleManagerFiles);
    EXPECT_EQ(panel.Entries().size(), d.core.ReadStyleManager().Files.size());

    d.Request(StyleManagerAction::SelectFile, d.FileIndex("swing.vxs"));
    d.Request(StyleManagerAction::LoadFile);
    d.t.prompter->AnswerYes();
    d.Request(StyleManagerAction::AddOrEdit);
    EXPECT_EQ(panel.Kind(), composer::StyleListKind::StyleManagerGroup);
    EXPECT_EQ(panel.Entries(), (std::vector<std::string>{d.t.session->Paths().Styles() + "/swing.vxs"}));

    StyleManagerRequest random{StyleManagerAction::SetRandom};
    random.On = true;
    d.core.StyleManager(random);
    EXPECT_EQ(panel.Kind(), composer::StyleListKind::StyleManagerFiles);
    EXPECT_GT(panel.Entries().size(), 1u);
}

}  // namespace
}  // namespace chordella::app
