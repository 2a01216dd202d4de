// The batch processor as the window drives it: its start questions, and a run that works on
// one file per slice of the control loop, so what else is queued runs in between, and that
// Cancel stops after the file in hand.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/BatchSongs.h"
#include "app/SongCreator.h"
#include "core/Session.h"
#include "desktop/BatchDesk.h"
#include "library/SongEntry.h"
#include "library/Songlist.h"
#include "library/StylePlaylist.h"
#include "platform/Files.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella {
namespace {

using app::BatchMode;
using desktop::BatchRequest;
namespace text = app::batch_text;

struct DeskRig {
    DeskRig() {
        std::filesystem::create_directories(t.home.File("STYLES"));
        testing::StyleBuilder style;
        style.Meter(4).Tempo(120).Program(1, 33);
        style.Part(data::StylePart::Basic).Measures(2).Note(1, 36, 100, 0, 24);
        style.Write(t.home.File("STYLES/Pop.vxs"));
    }
    desktop::BatchView Start(BatchMode mode) {
        BatchRequest request;
        request.What = BatchRequest::Start;
        request.Mode = mode;
        return desk.Handle(request);
    }
    desktop::BatchView Read() { return desk.Handle({BatchRequest::Read}); }
    std::size_t Songs() const {
        std::error_code ignored;
        if (!std::filesystem::exists(t.home.File("SONGS"))) return 0;
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(t.home.File("SONGS"), ignored))
            if (entry.path().extension() == ".vxa") ++count;
        return count;
    }

    testing::TestSession t;
    app::SongCreator creator{*t.session, t.state, nullptr};
    library::Songlist songlist{t.session->Prompter()};
    library::StylePlaylist playlist{t.session->Paths()};
    desktop::BatchDesk desk{*t.session, {t.state, creator, songlist, playlist}};
};

TEST(BatchDesk, ASongsRunMakesOneSongPerRoundOfTheLoopAndWorkQueuedMeanwhileRunsBetweenThem) {
    DeskRig rig;
    rig.t.prompter->AnswerText("4");
    rig.t.prompter->AnswerYes();
    desktop::BatchView view = rig.Start(BatchMode::Songs);
    EXPECT_TRUE(view.Running);
    EXPECT_EQ(view.FileCount, 4);
    EXPECT_EQ(view.ModeItem, "Create random chord progressions");
    EXPECT_EQ(rig.Songs(), 0u);  // nothing yet: the first song waits for the loop

    std::vector<std::size_t> songsSeenByOtherWork;
    for (int round = 1; round <= 4; ++round) {
        // The window's request (or a tick) that arrives during the run goes in between.
        rig.t.session->Loop().Post([&] { songsSeenByOtherWork.push_back(rig.Songs()); });
        rig.t.session->Loop().RunPending();
        EXPECT_EQ(rig.Songs(), static_cast<std::size_t>(round));
        EXPECT_EQ(rig.Read().Done, round);
    }
    EXPECT_EQ(songsSeenByOtherWork, (std::vector<std::size_t>{1, 2, 3, 4}));
    view = rig.Read();
    EXPECT_FALSE(view.Running);
    EXPECT_EQ(view.Errors, 0);
    EXPECT_EQ(view.Summary, "4 of 4 songs added to the songlist, 0 errors");
    EXPECT_EQ(rig.songlist.Entries().size(), 4u);
    EXPECT_FALSE(rig.t.session->Loop().RunPending());  // no slice left queued
}

TEST(BatchDesk, CancelStopsAfterTheSongInHandAndLeavesOnlyWholeSongsListed) {
    DeskRig rig;
    rig.t.prompter->AnswerText("6");
    rig.t.prompter->AnswerYes();
    rig.Start(BatchMode::Songs);
    rig.t.session->Loop().RunPending();
    rig.t.session->Loop().RunPending();
    desktop::BatchView view = rig.desk.Handle({BatchRequest::Cancel});
    EXPECT_FALSE(view.Running);
    EXPECT_TRUE(view.Cancelled);
    EXPECT_EQ(view.Done, 2);
    while (rig.t.session->Loop().RunPending()) {
    }
    EXPECT_EQ(rig.Songs(), 2u);
    ASSERT_EQ(rig.songlist.Entries().size(), 2u);
    for (const std::string& line : rig.songlist.Entries()) {
        const library::SongEntry entry = library::ParseSongEntry(line);
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(platform::ReadFileBytes(entry.Path, 1 << 20, bytes, error)) << entry.Path;
    }
}

TEST(BatchDesk, StartQuestionsNoToTheBackUpOrAWrongSetCountStartNothing) {
    DeskRig rig;
    std::filesystem::create_directories(rig.t.home.File("in"));
    // No to "You should have previously backed up your data!…"
    EXPECT_FALSE(rig.Start(BatchMode::Normalize).Running);
    EXPECT_TRUE(rig.t.prompter->WasShown(std::string(text::BackUpFirst)));
    EXPECT_FALSE(rig.t.prompter->WasShown("Set path"));

    // Convert: Yes, then a number of sets outside 1 … 6.
    for (const char* wrong : {"7", "0"}) {
        rig.t.prompter->ClearShown();
        rig.t.prompter->AnswerYes();
        rig.t.prompter->AnswerText(wrong);
        const desktop::BatchView view = rig.Start(BatchMode::Convert);
        EXPECT_FALSE(view.Running || view.Asking) << wrong;
        EXPECT_TRUE(rig.t.prompter->WasShown(std::string(text::Title) + ": " + std::string(text::AskSets))) << wrong;
        EXPECT_TRUE(rig.t.prompter->WasShown(std::string(text::WrongEntry))) << wrong;
        EXPECT_FALSE(rig.t.prompter->WasShown("Set path")) << wrong;
    }
}

TEST(BatchDesk, WithAnEmptyPlaylistTheFilesComeFromTheFolderOfSetPath) {
    DeskRig rig;
    const std::string folder = rig.t.home.File("in");
    std::filesystem::create_directories(folder + "/sub");
    testing::StyleBuilder style;
    style.Part(data::StylePart::Basic).Measures(1).Note(1, 36, 100, 0, 24);
    for (const char* name : {"/a.vxs", "/sub/b.vxs", "/c.vxs"}) style.Write(folder + name);
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(folder + "/notes.txt", "not a style", error));

    rig.t.prompter->AnswerText(folder);  // the folder dialog of "Set path"
    const desktop::BatchView view = rig.Start(BatchMode::Check);
    EXPECT_FALSE(rig.t.prompter->WasShown(std::string(text::BackUpFirst)));  // checking changes no file
    EXPECT_FALSE(rig.t.prompter->WasShown(std::string(text::UsePlaylist)));
    EXPECT_EQ(view.SourceFolder, folder);
    EXPECT_EQ(view.FileCount, 3);
    while (rig.t.session->Loop().RunPending()) {
    }
    EXPECT_EQ(rig.Read().Done, 3);
    EXPECT_FALSE(rig.Read().Running);
    EXPECT_TRUE(rig.t.prompter->WasShown(rig.Read().Summary));
}

}  // namespace
}  // namespace chordella
