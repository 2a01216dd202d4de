// Keyboard style files of the shared corpus (files nobody here wrote) converted by the
// convert command, read back as styles and played by the engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "app/RenderSession.h"
#include "cli/ConvertCommand.h"
#include "cli/FileCommands.h"
#include "core/Session.h"
#include "data/StyleFile.h"
#include "platform/Files.h"
#include "stylecreator/StyleConversion.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;

std::string CorpusStyles() {
    const char* folder = std::getenv("CHORDELLA_CORPUS");
    return std::string(folder && *folder ? folder : chordella::testing::DefaultCorpusFolder()) + "/styles";
}

std::vector<std::string> StyleFiles() {
    std::vector<std::string> files;
    if (!fs::exists(CorpusStyles())) return files;
    for (const auto& entry : fs::directory_iterator(CorpusStyles())) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".tsv" && ext != ".md") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Captured(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

struct CommandRun {
    int Result = 0;
    std::string Out, Err;
};

CommandRun Convert(const std::vector<std::string>& inputs, const std::string& folder, const std::string& sets) {
    cli::ConvertCommandFlags flags;
    flags.inputs = inputs;
    flags.outputFolder = folder;
    flags.sets = sets;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CommandRun run;
    run.Result = cli::RunConvertCommand(flags, out, err);
    run.Out = Captured(out);
    run.Err = Captured(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

TEST(ConvertCommand, EveryCorpusStyleConvertsToReadableStylesOrIsRefusedWithAReason) {
    const auto files = StyleFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << CorpusStyles();
    TempFolder folder;
    // A MIDI file without section markers, and a damaged one, among them.
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(folder.File("Plain.sty"),
                                              std::vector<std::uint8_t>{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                                                        'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0},
                                              error));
    ASSERT_TRUE(platform::WriteFileAtomically(folder.File("Broken.prs"), std::string_view("not a style"), error));
    std::vector<std::string> inputs = files;
    inputs.push_back(folder.File("Plain.sty"));
    inputs.push_back(folder.File("Broken.prs"));
    const CommandRun run = Convert(inputs, folder.Path(), "1-6");
    EXPECT_EQ(run.Result, 1);
    EXPECT_NE(run.Err.find("Plain.sty: cannot be converted: no section markers"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("Broken.prs: cannot be converted: "), std::string::npos) << run.Err;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        EXPECT_NE(run.Out.find(file + ": 8 parts"), std::string::npos) << run.Out;
        const std::string name = fs::path(file).stem().string();
        for (int set = 1; set <= 6; ++set) {
            std::vector<std::uint8_t> bytes;
            ASSERT_TRUE(platform::ReadFileBytes(folder.File(name + "-" + std::to_string(set) + ".vxs"), 1 << 20, bytes, error))
                << error;
            data::StyleImage image;
            ASSERT_TRUE(data::ReadStyleFile(bytes, image, error)) << error;
            EXPECT_TRUE(image.Parts[1].Present());
        }
    }
}

// Pitch classes of C major; A minor and G7 draw on the same seven.
bool InCMajorScale(int note) {
    static const std::set<int> scale = {0, 2, 4, 5, 7, 9, 11};
    return scale.contains(note % 12);
}

TEST(ConvertCommand, ConvertedStylesSoundInTheScaleOfTheChordTheyArePlayedOver) {
    const auto files = StyleFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << CorpusStyles();
    TempFolder folder;
    const std::vector<std::string> picked = {CorpusStyles() + "/JazzWaltz4.S001.sty", CorpusStyles() + "/8Beat.T160.STY",
                                             CorpusStyles() + "/BluesRock.S524.sst", CorpusStyles() + "/KoolFunk.STY"};
    const CommandRun run = Convert(picked, folder.Path(), "1");
    ASSERT_EQ(run.Result, 0) << run.Err;
    for (const std::string& file : picked) {
        SCOPED_TRACE(file);
        app::RenderSession render{platform::Paths::InFolder(folder.Path())};
        std::string error;
        ASSERT_TRUE(render.LoadStyle(folder.File(fs::path(file).stem().string() + "-1.vxs"), error)) << error;
        struct Chord {
            int Root, Type;
        };
        for (const Chord chord : {Chord{48, 1}, Chord{57, 2}, Chord{55, 3}}) {
            for (int part : {1, 2}) {
                data::SmfContent content;
                ASSERT_TRUE(render.RenderPart(part, content, chord.Root, chord.Type));
                int notes = 0, inScale = 0;
                for (const data::SmfChannelMessage& m : content.Messages) {
                    if ((m.Status & 0xF0) != 0x90 || m.Data2 == 0 || (m.Status & 0x0F) == 9) continue;
                    ++notes;
                    inScale += InCMajorScale(m.Data1) ? 1 : 0;
                }
                ASSERT_GT(notes, 0);
                EXPECT_GE(inScale * 10, notes * 9) << "chord " << chord.Root << "/" << chord.Type << " part " << part
                                                   << ": " << inScale << " of " << notes;
            }
        }
    }
}

TEST(StyleConversion, EachPartKeepsOnlyChannelsWrittenForMajorChords) {
    const std::string file = CorpusStyles() + "/JazzWaltz4.S001.sty";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus";
    TestSession t;
    stylecreator::CreatorState state;
    stylecreator::StyleCreator creator(*t.session, state);
    stylecreator::StyleConversion conversion(*t.session, creator);
    std::string error;
    ASSERT_TRUE(conversion.Import(file, error)) << error;
    platform::Random random(3);
    const stylecreator::SetReport report = conversion.ConvertSet(0, random);
    ASSERT_EQ(report.Parts.size(), 8U);
    // Basic is "Main A": the bass, the piano and the drums stay; the piano written for minor
    // and seventh chords (channel 4) goes.
    std::map<int, stylecreator::ChannelFate> basic;
    for (const auto& d : report.Channels)
        if (d.Part == 1) basic[d.Channel] = d.Fate;
    EXPECT_EQ(basic.at(3), stylecreator::ChannelFate::Dropped);
    EXPECT_EQ(basic.at(10), stylecreator::ChannelFate::Kept);
    EXPECT_EQ(basic.at(11), stylecreator::ChannelFate::Kept);
    const data::StyleState& style = t.session->Style().style;
    EXPECT_EQ(style.NotesEndInPart.size(), 8U);
    // Nothing of a dropped channel sounds in its part any more.
    const auto material = data::FirstChunkMaterial(t.session->Style().Work);
    const data::PartRecord& record = style.Parts[1];
    for (std::int32_t at = 0; at < record.RangeEnd;) {
        const std::uint8_t b = material[static_cast<std::size_t>(at)];
        if (b >= 0x80 && b <= 0xEF) {
            if (at >= record.RangeStart && b == 0x93) {
                EXPECT_EQ(material[static_cast<std::size_t>(at) + 2], 0);
            }
            at += 3;
        } else {
            ++at;
        }
    }
    EXPECT_EQ(conversion.Remembered(), conversion.Lists().Selected());

    // Without the table every channel stays and chords are detected.
    conversion.UseChannelTable(false);
    const stylecreator::SetReport plain = conversion.ConvertSet(0, random);
    EXPECT_TRUE(plain.Channels.empty());
    EXPECT_EQ(plain.Parts.size(), 8U);
    EXPECT_FALSE(plain.Parts[0].FromChannelTable);
}

CommandRun ConvertWith(const cli::ConvertCommandFlags& flags) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CommandRun run;
    run.Result = cli::RunConvertCommand(flags, out, err);
    run.Out = Captured(out);
    run.Err = Captured(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

data::PartTable PartsOfStyleFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    data::StyleImage image;
    EXPECT_TRUE(platform::ReadFileBytes(path, 1u << 20, bytes, error)) << error;
    EXPECT_TRUE(data::ReadStyleFile(bytes, image, error)) << path << ": " << error;
    return image.Parts;
}

// The converter window's options and the pop-up's part sets, given as flags.
TEST(ConvertCommand, TheWindowsOptionsAndPartSetsAsFlags) {
    const std::string file = CorpusStyles() + "/8Beat.T160.STY";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus";
    TempFolder plain, kept, parts, rebuilt;
    cli::ConvertCommandFlags flags;
    flags.inputs = {file};
    flags.sets = "1";
    flags.outputFolder = plain.Path();
    flags.exportParts = 2;
    CommandRun run = ConvertWith(flags);
    ASSERT_EQ(run.Result, 0) << run.Err;
    EXPECT_TRUE(fs::exists(plain.File("sty2_v11.mid"))) << run.Out;
    EXPECT_TRUE(fs::exists(plain.File("sty2_e11.mid")));

    // "Do not convert Intro and Ending": the same set, but its Intro and Ending keep their notes.
    flags.outputFolder = kept.Path();
    flags.exportParts = 0;
    flags.keepIntroEnding = true;
    ASSERT_EQ(ConvertWith(flags).Result, 0);
    std::string error;
    std::vector<std::uint8_t> converted, asImported;
    ASSERT_TRUE(platform::ReadFileBytes(plain.File("8Beat.T160-1.vxs"), 1u << 20, converted, error)) << error;
    ASSERT_TRUE(platform::ReadFileBytes(kept.File("8Beat.T160-1.vxs"), 1u << 20, asImported, error)) << error;
    EXPECT_NE(converted, asImported);

    // "Choose style parts randomly": one style of its own.
    flags.keepIntroEnding = false;
    flags.random = "parts";
    ASSERT_EQ(ConvertWith(flags).Result, 0);
    EXPECT_TRUE(PartsOfStyleFile(kept.File("8Beat.T160-8-random.vxs"))[1].Present());

    // The exported part files read back as a set make a style with Basic and Extended.
    cli::ConvertCommandFlags fromParts;
    fromParts.inputs = {plain.Path()};
    fromParts.outputFolder = rebuilt.Path();
    fromParts.importParts = "2 - 11";
    run = ConvertWith(fromParts);
    ASSERT_EQ(run.Result, 0) << run.Err;
    const std::string style = rebuilt.File(fs::path(plain.Path()).filename().string() + ".vxs");
    const data::PartTable table = PartsOfStyleFile(style);
    EXPECT_TRUE(table[1].Present());
    EXPECT_TRUE(table[2].Present());

    // Wrong flag values are usage errors; a folder without the set is refused with the reason.
    fromParts.importParts = "5 - 11";
    EXPECT_EQ(ConvertWith(fromParts).Result, 2);
    fromParts.importParts = "3 - 21";
    run = ConvertWith(fromParts);
    EXPECT_EQ(run.Result, 1);
    EXPECT_NE(run.Err.find("cannot be converted"), std::string::npos) << run.Err;
    flags.random = "all";
    EXPECT_EQ(ConvertWith(flags).Result, 2);
}

TEST(ConvertCommand, SetRanges) {
    EXPECT_EQ(cli::ParseSetRange("1-6"), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(cli::ParseSetRange("4"), (std::vector<int>{4}));
    EXPECT_TRUE(cli::ParseSetRange("0-3").empty());
    EXPECT_TRUE(cli::ParseSetRange("5-2").empty());
    EXPECT_TRUE(cli::ParseSetRange("2-7").empty());
    EXPECT_TRUE(cli::ParseSetRange("x").empty());
}

}  // namespace
}  // namespace chordella::testing

namespace chordella::testing {
namespace {

TEST(InfoCommand, AKeyboardStyleListsItsSectionsAndItsChannelTable) {
    const std::string file = CorpusStyles() + "/JazzWaltz4.S001.sty";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus";
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(cli::RunInfoCommand(file, out, err), 0);
    const std::string text = Captured(out);
    std::fclose(out);
    std::fclose(err);
    EXPECT_NE(text.find("  Main A : "), std::string::npos) << text;
    EXPECT_NE(text.find("channel table (CASM), 3 groups:"), std::string::npos) << text;
    EXPECT_NE(text.find("ch  3 -> 11  BassM     silent under major, 11 chord kinds"), std::string::npos) << text;
}

}  // namespace
}  // namespace chordella::testing
