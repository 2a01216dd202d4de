// Runs the real executable, as a user would.
#include <gtest/gtest.h>

#include <string>

#include "support/RunChordella.h"

namespace {

using chordella::testing::LineCount;
using chordella::testing::RunChordella;
using Result = chordella::testing::CommandResult;

TEST(CommandLine, VersionAndHelpSucceed) {
    const Result version = RunChordella("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("chordella ", 0), 0u) << version.output;

    const Result help = RunChordella("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--home"), std::string::npos);
}

TEST(CommandLine, AnUnknownCommandOrFlagIsOneLineAndExitCodeTwo) {
    for (const char* wrong : {"dance", "--loud", "--home"}) {
        const Result result = RunChordella(wrong);
        EXPECT_EQ(result.exitCode, 2) << wrong;
        EXPECT_EQ(LineCount(result.output), 1) << result.output;
        EXPECT_EQ(result.output.rfind("chordella: ", 0), 0u) << result.output;
    }
}

}  // namespace
