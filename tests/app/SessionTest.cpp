#include "core/Session.h"

#include <gtest/gtest.h>

#include "app/ConsolePrompter.h"
#include "support/TestSession.h"

namespace chordella::app {
namespace {

TEST(Session, ATestSessionIsOneLineAndRecordsWhatItShows) {
    testing::TestSession t;
    t.prompter->AnswerYes();
    EXPECT_TRUE(t.session->Prompter().Confirm("Save changes ?"));
    t.session->Prompter().Inform("Chordmemory is empty !");
    EXPECT_TRUE(t.prompter->WasShown("Chordmemory is empty !"));
    EXPECT_FALSE(t.session->Prompter().Confirm("Delete ?"));  // no answer queued: No
    EXPECT_EQ(t.session->Paths().DataDir(), t.home.Path());
}

TEST(ConsolePrompter, AnswersYesOnlyWhenToldAndRefusesDialogs) {
    std::FILE* sink = std::tmpfile();
    ConsolePrompter cautious(false, sink), willing(true, sink);
    EXPECT_FALSE(cautious.Confirm("Overwrite ?"));
    EXPECT_TRUE(willing.Confirm("Overwrite ?"));
    EXPECT_FALSE(cautious.OpenFile("Open style", "Styles|*.vxs", ""));
    EXPECT_EQ(willing.Input("Tempo", "New tempo", "120"), "120");
    std::fclose(sink);
}

}  // namespace
}  // namespace chordella::app
