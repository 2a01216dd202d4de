// A damaged keyboard style file never converts in silence: a file cut short says where it
// ends and how many parts it still gave, an unknown status byte says which byte and where,
// and both fail the command and count as errors of a batch run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/BatchCommand.h"
#include "cli/ConvertCommand.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;

std::string Captured(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(file);
    return text;
}

struct CommandRun {
    int Result = 0;
    std::string Out, Err;
};

CommandRun Convert(const std::string& input, const std::string& folder) {
    cli::ConvertCommandFlags flags;
    flags.inputs = {input};
    flags.outputFolder = folder;
    flags.sets = "1";
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CommandRun run;
    run.Result = cli::RunConvertCommand(flags, out, err);
    run.Out = Captured(out);
    run.Err = Captured(err);
    return run;
}

TEST(DamagedStyle, ACutOrAnUnknownByteIsSaidWithItsPlaceAndFailsTheConversion) {
    const KeyboardStyleWriter whole = SampleKeyboardStyle();
    KeyboardStyleWriter unknown = SampleKeyboardStyle();
    // A status byte the format does not define, in a section after the others.
    unknown.Section("Main Z", 4).Raw({0xF4}, 24);
    const auto unknownBytes = unknown.Bytes();
    const std::size_t at = static_cast<std::size_t>(
        std::find(unknownBytes.begin() + static_cast<long>(unknown.MarkerOffset("Main Z")), unknownBytes.end(), 0xF4) -
        unknownBytes.begin());
    struct Case {
        const char* Name;
        KeyboardStyleWriter Writer;
        std::string Said;       // in the command's error output
        bool Written;           // the parts before the damage are written all the same
    };
    const std::size_t cutInMainB = whole.MarkerOffset("Main B") + 40;
    const std::size_t cutInTable = whole.CasmOffset() + 30;
    const Case cases[] = {
        {"cut inside Main B", KeyboardStyleWriter(whole).CutAt(cutInMainB),
         "damaged: ends at byte " + std::to_string(cutInMainB) + " inside Main B: ", true},
        {"cut inside the channel table", KeyboardStyleWriter(whole).CutAt(cutInTable),
         "damaged: ends at byte " + std::to_string(cutInTable) + " inside the channel table: 8 of 8 parts written", true},
        {"an unknown status byte", unknown, "Error - Unknown Code ! (byte 0xF4 at offset " + std::to_string(at) + ")", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder in, out;
        ASSERT_TRUE(c.Writer.Write(in.File("Damaged.sty")));
        const CommandRun run = Convert(in.File("Damaged.sty"), out.Path());
        EXPECT_EQ(run.Result, 1);
        EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
        EXPECT_EQ(fs::exists(out.File("Damaged-1.vxs")), c.Written);
    }
    // Cut in Main B, the sections after it are missing: fewer parts than a whole file gives.
    TempFolder in, out;
    ASSERT_TRUE(KeyboardStyleWriter(whole).CutAt(cutInMainB).Write(in.File("Cut.sty")));
    const CommandRun cut = Convert(in.File("Cut.sty"), out.Path());
    const std::size_t said = cut.Err.find(" of 8 parts written");
    ASSERT_NE(said, std::string::npos) << cut.Err;
    EXPECT_LT(std::stoi(cut.Err.substr(cut.Err.rfind(' ', said - 1) + 1)), 8) << cut.Err;
}

TEST(DamagedStyle, ABatchConversionCountsACutFileAsAnError) {
    TempFolder in, out, home;
    const KeyboardStyleWriter whole = SampleKeyboardStyle();
    ASSERT_TRUE(whole.Write(in.File("Whole.sty")));
    ASSERT_TRUE(KeyboardStyleWriter(whole).CutAt(whole.MarkerOffset("Main C") + 12).Write(in.File("Cut.sty")));
    cli::BatchCommandFlags flags;
    flags.mode = "convert";
    flags.folder = in.Path();
    flags.outputFolder = out.Path();
    flags.sets = 1;
    flags.yes = true;
    flags.home = home.Path();
    std::FILE* output = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(cli::RunBatchCommand(flags, nullptr, output, err), 1);
    const std::string text = Captured(output) + Captured(err);
    EXPECT_NE(text.find("Cut.sty: damaged: ends at byte"), std::string::npos) << text;
    EXPECT_NE(text.find("Done with 1 errors !"), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(out.File("Whole-1.vxs")));
}

}  // namespace
}  // namespace chordella::testing
