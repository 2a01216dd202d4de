// `chordella import` and `chordella info`, run as a user would run them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "data/WorkFile.h"
#include "platform/Files.h"
#include "support/RunChordella.h"
#include "support/SmfBuilder.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

using Result = CommandResult;

class FileCommands : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string error;
        EXPECT_TRUE(platform::WriteFileAtomically(folder.File(name), bytes, error)) << error;
        return folder.File(name);
    }
    TempFolder folder;
};

TEST_F(FileCommands, ImportWritesAWorkFileThatInfoDescribes) {
    SmfTrack track;
    track.TimeSignature(0, 3, 2, 24, 8).Tempo(0, 600000).Marker(0, "Main A").NoteOn(0, 9, 36, 100);
    track.NoteOn(3 * 96, 2, 48, 100).Marker(0, "Ending A").End(3 * 96);
    const std::string style = Write("Waltz.sty", SmfFileBytes(0, 96, {track}));
    const std::string work = folder.File("waltz.vxw");

    const Result imported = RunChordella("import " + Quoted(style) + " -o " + Quoted(work));
    ASSERT_EQ(imported.exitCode, 0) << imported.output;
    data::WorkFile file;
    std::string error;
    ASSERT_TRUE(data::ReadWorkFile(work, file, error)) << error;
    EXPECT_EQ(file.StyleTempo(), 100);
    EXPECT_EQ(file.StyleMeter(), 12);
    EXPECT_TRUE(file.ChannelUsed(9));
    EXPECT_TRUE(file.ChannelUsed(2));
    EXPECT_EQ(file.WorkLengthUnits, 6 * 4);

    const Result workInfo = RunChordella("info " + Quoted(work));
    EXPECT_EQ(workInfo.exitCode, 0);
    EXPECT_NE(workInfo.output.find("channels used (2): 3 10"), std::string::npos) << workInfo.output;

    const Result styleInfo = RunChordella("info " + Quoted(style));
    EXPECT_EQ(styleInfo.exitCode, 0);
    EXPECT_NE(styleInfo.output.find("division 96"), std::string::npos) << styleInfo.output;
    EXPECT_NE(styleInfo.output.find("meters (1): 3/4@0"), std::string::npos) << styleInfo.output;
    EXPECT_NE(styleInfo.output.find("Main A : 1 - 1"), std::string::npos) << styleInfo.output;
    EXPECT_NE(styleInfo.output.find("Ending A : 2 - 2"), std::string::npos) << styleInfo.output;
}

TEST_F(FileCommands, FailuresAreOneLineNamingTheFileWithExitCodeOne) {
    const std::string text = Write("notes.mid", Bytes{'h', 'e', 'l', 'l', 'o'});
    const std::string unknown = Write("data.bin", Bytes{1, 2, 3});
    const std::string odd = Write("odd.mid", SmfFileBytes(0, 96, {SmfTrack().Event(0, {0xF4}).End()}));
    const std::pair<std::string, std::string> cases[] = {
        {"import " + Quoted(text) + " -o " + Quoted(folder.File("x.vxw")), text + ": This is not a Standard MIDI-File !"},
        {"import " + Quoted(odd) + " -o " + Quoted(folder.File("x.vxw")), odd + ": Error - Unknown Code !"},
        {"info " + Quoted(text), text + ": This is not a Standard MIDI-File !"},
        {"info " + Quoted(folder.File("missing.mid")), folder.File("missing.mid") + ": "},
        {"info " + Quoted(unknown), unknown + ": not a file kind info knows"},
    };
    for (const auto& [arguments, start] : cases) {
        const Result result = RunChordella(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments;
        EXPECT_EQ(result.output.rfind(start, 0), 0u) << result.output;
        EXPECT_EQ(result.output.find('\n'), result.output.size() - 1) << result.output;
    }
    EXPECT_FALSE(platform::FileExists(folder.File("x.vxw")));
}

TEST_F(FileCommands, ImportNeverWritesOverItsInputOrAFileThatIsNotAWorkFile) {
    SmfTrack track;
    track.Marker(0, "Main A").NoteOn(0, 9, 36, 100).End(96);
    const Bytes midi = SmfFileBytes(0, 96, {track});
    const std::string song = Write("song.mid", midi);
    const std::string style = Write("mystyle.vxs", Bytes{0xFF, 1, 2, 3, 4});
    const std::string work = folder.File("song.vxw");

    const Result self = RunChordella("import " + Quoted(song) + " -o " + Quoted(song));
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_EQ(self.output, song + ": is the input file; write to another file\n");
    const Result other = RunChordella("import " + Quoted(song) + " -o " + Quoted(style));
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_EQ(other.output, style + ": is an existing file that is not a work file; give --force to replace it\n");
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(platform::ReadFileBytes(song, 1 << 20, bytes, error));
    EXPECT_EQ(bytes, midi);
    ASSERT_TRUE(platform::ReadFileBytes(style, 1 << 20, bytes, error));
    EXPECT_EQ(bytes, (Bytes{0xFF, 1, 2, 3, 4}));

    // A work file is replaced by the next import; --force replaces anything.
    ASSERT_EQ(RunChordella("import " + Quoted(song) + " -o " + Quoted(work)).exitCode, 0);
    EXPECT_EQ(RunChordella("import " + Quoted(song) + " -o " + Quoted(work)).exitCode, 0);
    EXPECT_EQ(RunChordella("import " + Quoted(song) + " -o " + Quoted(style) + " --force").exitCode, 0);
}

TEST_F(FileCommands, InfoAndImportRefuseAFifoAtOnce) {
    const std::string pipe = folder.File("pipe.mid");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    for (const std::string& arguments : {"info " + Quoted(pipe), "import " + Quoted(pipe) + " -o " + Quoted(folder.File("p.vxw"))}) {
        const Result result = RunChordella(arguments, "timeout 60");
        EXPECT_EQ(result.exitCode, 1) << arguments;
        EXPECT_EQ(result.output, pipe + ": is a FIFO, not a file\n");
    }
}

}  // namespace
}  // namespace chordella::testing
