// Runs the real executable, as a user would.
#include <gtest/gtest.h>

#include <string>

#include "support/RunChordella.h"

namespace {

using chordella::testing::LineCount;
using chordella::testing::RunChordella;
using Result = chordella::testing::CommandResult;

TEST(CommandLine, VersionAndHelpSucceedAndHelpShowsFlagNamesAsTheyAreTyped) {
    const Result version = RunChordella("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("chordella ", 0), 0u) << version.output;

    const Result help = RunChordella("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--home"), std::string::npos);
    const Result generate = RunChordella("generate --help");
    EXPECT_EQ(generate.exitCode, 0);
    EXPECT_NE(generate.output.find("--no-base-chord "), std::string::npos) << generate.output;
    EXPECT_EQ(generate.output.find('{'), std::string::npos) << generate.output;
}

TEST(CommandLine, AnUnknownCommandOrFlagIsOneLineAndExitCodeTwo) {
    // Wrong values of flags and missing arguments are usage errors too, whichever command
    // they belong to.
    for (const char* wrong : {"dance", "--loud", "--home", "render x.vxa --measures -3 -o x.mid",
                              "play x.vxs --measures -1", "generate --measures -3", "generate --measures abc",
                              "songlist x.vxl --repeats -2", "import", "import song.mid", "info"}) {
        const Result result = RunChordella(wrong);
        EXPECT_EQ(result.exitCode, 2) << wrong;
        EXPECT_EQ(LineCount(result.output), 1) << result.output;
        EXPECT_EQ(result.output.rfind("chordella: ", 0), 0u) << result.output;
    }
    const Result mistyped = RunChordella("frobnicate");
    EXPECT_NE(mistyped.output.find("frobnicate is not a command; the commands are "), std::string::npos)
        << mistyped.output;
    EXPECT_NE(mistyped.output.find("render"), std::string::npos) << "the commands are listed: " << mistyped.output;
    EXPECT_EQ(RunChordella("missing.vxs").output.find("not a command"), std::string::npos) << "a file is a file";
}

}  // namespace
