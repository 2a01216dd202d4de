// `chordella batch` as a musician runs it on a folder: exit codes, the lines it prints, the
// question before deleting, playlist input, and conversion of other makers' keyboard style files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "BatchTestFolder.h"
#include "cli/BatchCommand.h"
#include "data/StyleFile.h"
#include "library/PlaylistFiles.h"
#include "platform/Files.h"
#include "support/CapturedText.h"
#include "support/KeyboardStyleWriter.h"
#include "support/RunChordella.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int Result = 0;
    std::string Out, Err;
    std::string LastLine() const {
        const std::size_t end = Out.find_last_not_of('\n');
        if (end == std::string::npos) return {};
        const std::size_t start = Out.rfind('\n', end);
        return Out.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
    }
};

Outcome Batch(cli::BatchCommandFlags flags, const std::string& home, const std::string& typed = "") {
    flags.home = home;
    CapturedText in, out, err;
    std::fputs(typed.c_str(), in.file);
    std::rewind(in.file);
    const int result = cli::RunBatchCommand(flags, in.file, out.file, err.file);
    return {result, out.Text(), err.Text()};
}

cli::BatchCommandFlags Flags(const std::string& mode, const std::string& folder) {
    cli::BatchCommandFlags flags;
    flags.mode = mode;
    flags.folder = folder;
    return flags;
}

TEST(BatchCommand, CheckPrintsOneLinePerErrorAndTheCountLastExitingOneOnErrors) {
    MixedFolder mixed;
    TempFolder home;
    const Outcome run = Batch(Flags("check", mixed.folder.Path()), home.Path());
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(run.LastLine(), "6 of 6 files done, 2 errors");
    EXPECT_NE(run.Err.find(mixed.damaged + ": the file ends inside the style header"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(mixed.empty + ": the file is empty\n"), std::string::npos) << run.Err;
    EXPECT_NE(run.Out.find("0-Byte at 3 found in ZeroPart.vxs\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Done with 2 errors ! - It is recommended to restart \nChordella"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find('\x1b'), std::string::npos);   // no progress bar when the output is not a terminal

    fs::remove(mixed.damaged);
    fs::remove(mixed.empty);
    const Outcome clean = Batch(Flags("check", mixed.folder.Path()), home.Path());
    EXPECT_EQ(clean.Result, 0) << clean.Err;
    EXPECT_EQ(clean.LastLine(), "4 of 4 files done, 0 errors");
}

TEST(BatchCommand, TwoThousandStylesAreAllCheckedAndListedInTheReport) {
    TempFolder folder, home;
    const std::vector<std::uint8_t> bytes = StyleWithBass().Bytes();
    const std::string text(bytes.begin(), bytes.end());
    for (int i = 0; i < 2000; ++i)
        WriteTextFile(folder.File("set " + std::to_string(i / 100) + "/Stíl " + std::to_string(i) + ".vxs"), text);
    const Outcome run = Batch(Flags("check", folder.Path()), home.Path());
    EXPECT_EQ(run.Result, 0) << run.Err;
    EXPECT_EQ(run.LastLine(), "2000 of 2000 files done, 0 errors");
    const std::size_t quote = run.Out.find('"');
    ASSERT_NE(quote, std::string::npos);
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(library::ReadListFile(run.Out.substr(quote + 1, run.Out.find('"', quote + 1) - quote - 1), lines, error))
        << error;
    EXPECT_EQ(lines.size(), 2000u);
}

TEST(BatchCommand, DeletingListsTheStylesAndDeletesOnlyAfterYes) {
    MixedFolder mixed;
    TempFolder home;
    Outcome run = Batch(Flags("delete-bassless", mixed.folder.Path()), home.Path(), "n\n");
    EXPECT_NE(run.Out.find("  " + mixed.bassless + "\n  " + mixed.zeroPart + "\nDelete these 2 styles ? [y/N] "),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("Nothing was deleted."), std::string::npos);
    EXPECT_TRUE(fs::exists(mixed.bassless));
    EXPECT_EQ(run.Result, 1);   // the damaged and the empty file

    run = Batch(Flags("delete-bassless", mixed.folder.Path()), home.Path());   // no answer at all: No
    EXPECT_TRUE(fs::exists(mixed.bassless));

    run = Batch(Flags("delete-bassless", mixed.folder.Path()), home.Path(), "y\n");
    EXPECT_FALSE(fs::exists(mixed.bassless));
    EXPECT_FALSE(fs::exists(mixed.zeroPart));
    EXPECT_TRUE(fs::exists(mixed.good));
    EXPECT_EQ(run.LastLine(), "2 of 6 styles deleted, 2 errors");

    fs::remove(mixed.damaged);
    fs::remove(mixed.empty);
    StyleWithoutBass().Write(mixed.folder.File("Another.vxs"));
    cli::BatchCommandFlags flags = Flags("delete-bassless", mixed.folder.Path());
    flags.yes = true;
    run = Batch(flags, home.Path());
    EXPECT_EQ(run.Result, 0) << run.Err;
    EXPECT_EQ(run.Out.find("[y/N]"), std::string::npos);
    EXPECT_FALSE(fs::exists(mixed.folder.File("Another.vxs")));
}

TEST(BatchCommand, WrongCommandLinesEndWithTwoAndChangeNothing) {
    MixedFolder mixed;
    TempFolder home;
    EXPECT_EQ(Batch(Flags("shrink", mixed.folder.Path()), home.Path()).Result, 2);
    cli::BatchCommandFlags both = Flags("check", mixed.folder.Path());
    both.playlist = home.Path() + "/list.txt";
    EXPECT_EQ(Batch(both, home.Path()).Result, 2);
    EXPECT_EQ(Batch(Flags("convert", mixed.folder.Path()), home.Path()).Result, 2);   // no -o
    cli::BatchCommandFlags sets = Flags("convert", mixed.folder.Path());
    sets.outputFolder = home.Path();
    sets.sets = 7;
    const Outcome wrong = Batch(sets, home.Path());
    EXPECT_EQ(wrong.Result, 2);
    EXPECT_EQ(wrong.Err, "Wrong entry !\n");
    const Outcome songs = Batch(Flags("songs", "0"), home.Path());
    EXPECT_EQ(songs.Result, 2);
    EXPECT_EQ(songs.Err, "Wrong entry or too many songs !\n");
    EXPECT_EQ(Batch(Flags("check", home.Path() + "/nowhere"), home.Path()).Result, 1);
    EXPECT_FALSE(fs::exists(home.Path() + "/LISTS/StylePlayList.gen"));
}

TEST(BatchCommand, PlaylistInputCountsListedFilesThatAreGoneAsErrors) {
    MixedFolder mixed;
    TempFolder home;
    const std::string list = home.Path() + "/mine.txt";
    WriteTextFile(list, mixed.good + "|bpm112|4/4\r\n" + mixed.goodInSub + "|bpm112|4/4\r\n" + home.Path() +
                            "/gone/Lost.vxs|bpm90|4/4\r\n");
    cli::BatchCommandFlags flags;
    flags.mode = "normalize";
    flags.playlist = list;
    const Outcome run = Batch(flags, home.Path());
    EXPECT_EQ(run.Result, 1);
    EXPECT_NE(run.Err.find(home.Path() + "/gone/Lost.vxs: no such file"), std::string::npos) << run.Err;
    EXPECT_NE(run.Out.find("2 styles written."), std::string::npos) << run.Out;
    EXPECT_EQ(run.LastLine(), "2 of 2 files done, 0 errors, 1 listed files not found");

    // Tag writes its tags into the list it was given.
    flags.mode = "tag";
    EXPECT_EQ(Batch(flags, home.Path()).Result, 1);
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(library::ReadListFile(list, lines, error)) << error;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], mixed.good + "|bpm112|4/4||BASS|PIANOS");
}

TEST(BatchCommand, AddPutsTheFoldersStylesIntoTheHomePlaylist) {
    MixedFolder mixed;
    TempFolder home;
    cli::BatchCommandFlags flags = Flags("add", mixed.folder.Path());
    flags.description = "Download";
    const Outcome run = Batch(flags, home.Path());
    EXPECT_EQ(run.Result, 1);   // damaged, empty, a part on the stream's end
    EXPECT_NE(run.Out.find("3 playlist lines added; Style-Playlist: "), std::string::npos) << run.Out;
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(library::ReadListFile(home.Path() + "/LISTS/StylePlayList.gen", lines, error)) << error;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], mixed.bassless + "|bpm96|4/4|Download||PIANOS");
}

TEST(BatchCommand, ConvertWritesNamedStylesPerSetAndCountsFilesThatAreNoStylesOrCutShort) {
    TempFolder in, out, home;
    fs::create_directories(in.File("rock"));
    const KeyboardStyleWriter whole = SampleKeyboardStyle();
    ASSERT_TRUE(whole.Write(in.File("rock/Eight.STY")));
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 3, .Format = CasmFormat::Ctb2}).Write(in.File("rock/Blues.sst")));
    ASSERT_TRUE(KeyboardStyleWriter(whole).CutAt(whole.MarkerOffset("Main C") + 12).Write(in.File("rock/Cut.sty")));
    WriteTextFile(in.File("rock/Broken.prs"), "not a style at all");
    WriteTextFile(in.File("rock/Empty.sty"), "");
    cli::BatchCommandFlags flags = Flags("convert", in.Path());
    flags.outputFolder = out.Path();
    flags.sets = 2;
    flags.description = "???";
    const Outcome run = Batch(flags, home.Path());
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(run.LastLine(), "5 of 5 files done, 3 errors");
    EXPECT_NE(run.Err.find(in.File("rock/Broken.prs") + ": cannot be converted"), std::string::npos) << run.Err;
    EXPECT_NE((run.Out + run.Err).find("Cut.sty: damaged: ends at byte"), std::string::npos) << run.Out << run.Err;
    EXPECT_NE(run.Out.find("Done with 3 errors !"), std::string::npos) << run.Out;
    for (const char* name : {"Eight-1-Rock.vxs", "Eight-2-Rock.vxs", "Blues-1-Rock.vxs", "Blues-2-Rock.vxs"}) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(platform::ReadFileBytes(out.File(name), 1 << 20, bytes, error)) << error;
        data::StyleImage image;
        ASSERT_TRUE(data::ReadStyleFile(bytes, image, error)) << error;
        EXPECT_TRUE(image.Parts[data::Index(data::StylePart::Basic)].Present());
    }
}

TEST(BatchCommand, TheExecutableRunsTheBatchWithFlagsAfterTheMode) {
    MixedFolder mixed;
    TempFolder home;
    fs::remove(mixed.damaged);
    fs::remove(mixed.empty);
    const CommandResult result =
        RunChordella("--home '" + home.Path() + "' batch delete-bassless '" + mixed.folder.Path() + "' --yes");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("2 of 4 styles deleted, 0 errors\n"), std::string::npos) << result.output;
    EXPECT_FALSE(fs::exists(mixed.bassless));
}

TEST(BatchCommand, ARunKilledMidwayLeavesEveryStyleWholeOldOrNew) {
    TempFolder folder, home;
    const std::vector<std::uint8_t> original = StyleWithBass().Bytes();
    const std::string text(original.begin(), original.end());
    for (int i = 0; i < 400; ++i) WriteTextFile(folder.File("Style " + std::to_string(1000 + i) + ".vxs"), text);
    const std::string exe = chordella::testing::ChordellaExe();
    std::vector<std::string> arguments = {exe, "--home", home.Path(), "batch", "normalize", folder.Path()};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, exe.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Waits until the run has replaced its first style (or ended), then kills it hard.
    const auto changed = [&] { return ReadTextFile(folder.File("Style 1000.vxs")) != text; };
    int status = 0;
    for (int waited = 0; waited < 3000 && !changed() && waitpid(child, &status, WNOHANG) == 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    EXPECT_TRUE(changed());
    int renewed = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".vxs") {
            EXPECT_NE(path.find(".vxs.batch-"), std::string::npos) << path;   // a temporary file, no style
            continue;
        }
        std::vector<std::uint8_t> bytes;
        std::string error;
        data::StyleImage image;
        ASSERT_TRUE(platform::ReadFileBytes(path, 1 << 20, bytes, error)) << error;
        EXPECT_TRUE(data::ReadStyleFile(bytes, image, error)) << path << ": " << error;
        renewed += bytes != original ? 1 : 0;
    }
    EXPECT_GE(renewed, 1);
}

}  // namespace
}  // namespace chordella::testing
