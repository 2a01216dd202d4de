// Keyboard style files of other makers (written here from a description, and the shared
// corpus's real ones where present) converted by the convert command, read back as styles and
// played by the engine; damaged ones refused with the place of the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "app/RenderSession.h"
#include "app/StateParts.h"
#include "cli/ConvertCommand.h"
#include "cli/FileCommands.h"
#include "core/Session.h"
#include "data/StyleFile.h"
#include "platform/Files.h"
#include "stylecreator/StyleConversion.h"
#include "support/CapturedText.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"
#include "support/TestSession.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;

struct CommandRun {
    int Result = 0;
    std::string Out, Err;
};

CommandRun ConvertWith(const cli::ConvertCommandFlags& flags) {
    CapturedText out, err;
    const int result = cli::RunConvertCommand(flags, out.file, err.file);
    return {result, out.Text(), err.Text()};
}

CommandRun Convert(const std::vector<std::string>& inputs, const std::string& folder, const std::string& sets) {
    cli::ConvertCommandFlags flags;
    flags.inputs = inputs;
    flags.outputFolder = folder;
    flags.sets = sets;
    return ConvertWith(flags);
}

data::PartTable PartsOfStyleFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    data::StyleImage image;
    EXPECT_TRUE(platform::ReadFileBytes(path, 1u << 20, bytes, error)) << error;
    EXPECT_TRUE(data::ReadStyleFile(bytes, image, error)) << path << ": " << error;
    return image.Parts;
}

// Styles as makers write them, in several meters, entry formats and file name extensions.
std::vector<std::string> WrittenStyles(const TempFolder& folder) {
    const std::pair<const char*, SampleStyleShape> shapes[] = {
        {"Four.sty", {}},
        {"Waltz.prs", {.Numerator = 3, .SetupQuarters = 4, .Format = CasmFormat::Ctb2}},
        {"Eight.bcs", {.Numerator = 6, .Denominator = 8, .Division = 480}},
        {"Chords.sst", {.ChordVariants = true}},
    };
    std::vector<std::string> files;
    for (const auto& [name, shape] : shapes) {
        files.push_back(folder.File(name));
        EXPECT_TRUE(SampleKeyboardStyle(shape).Write(files.back()));
    }
    return files;
}

TEST(ConvertCommand, EveryStyleConvertsToReadableStylesOrIsRefusedWithTheReasonAndThePlace) {
    TempFolder in, out;
    std::vector<std::string> good = WrittenStyles(in);
    for (const std::string& file : CorpusFiles("styles")) good.push_back(file);

    // A MIDI file without section markers, a text, files cut short, an undefined status byte.
    const KeyboardStyleWriter whole = SampleKeyboardStyle();
    KeyboardStyleWriter unknown = SampleKeyboardStyle();
    unknown.Section("Main Z", 4).Raw({0xF4}, 24);
    const auto unknownBytes = unknown.Bytes();
    const auto unknownAt = std::find(unknownBytes.begin() + static_cast<long>(unknown.MarkerOffset("Main Z")),
                                     unknownBytes.end(), 0xF4) - unknownBytes.begin();
    const std::size_t cutInMainB = whole.MarkerOffset("Main B") + 40;
    const std::size_t cutInTable = whole.CasmOffset() + 30;
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(in.File("Plain.sty"),
                                              std::vector<std::uint8_t>{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                                                        'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0},
                                              error));
    ASSERT_TRUE(platform::WriteFileAtomically(in.File("Broken.prs"), std::string_view("not a style"), error));
    ASSERT_TRUE(KeyboardStyleWriter(whole).CutAt(cutInMainB).Write(in.File("CutInMainB.sty")));
    ASSERT_TRUE(KeyboardStyleWriter(whole).CutAt(cutInTable).Write(in.File("CutInTable.sty")));
    ASSERT_TRUE(unknown.Write(in.File("Unknown.sty")));
    struct Refusal {
        const char* Name;
        std::string Said;    // in the command's error output
        bool Written;        // the parts before the damage are written all the same
    };
    const Refusal refusals[] = {
        {"Plain.sty", "Plain.sty: cannot be converted: no section markers", false},
        {"Broken.prs", "Broken.prs: cannot be converted: ", false},
        {"CutInMainB.sty", "damaged: ends at byte " + std::to_string(cutInMainB) + " inside Main B: ", true},
        {"CutInTable.sty",
         "damaged: ends at byte " + std::to_string(cutInTable) + " inside the channel table: 8 of 8 parts written", true},
        {"Unknown.sty", "Error - Unknown Code ! (byte 0xF4 at offset " + std::to_string(unknownAt) + ")", false},
    };
    std::vector<std::string> inputs = good;
    for (const Refusal& r : refusals) inputs.push_back(in.File(r.Name));
    const CommandRun run = Convert(inputs, out.Path(), "1-6");
    EXPECT_EQ(run.Result, 1);
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.Name);
        EXPECT_NE(run.Err.find(r.Said), std::string::npos) << run.Err;
        EXPECT_EQ(fs::exists(out.File(fs::path(r.Name).stem().string() + "-1.vxs")), r.Written);
    }
    // Cut in Main B, the sections after it are missing: fewer parts than a whole file gives.
    const std::size_t said = run.Err.find(" of 8 parts written", run.Err.find("inside Main B"));
    ASSERT_NE(said, std::string::npos) << run.Err;
    EXPECT_LT(std::stoi(run.Err.substr(run.Err.rfind(' ', said - 1) + 1)), 8) << run.Err;
    for (const std::string& file : good) {
        SCOPED_TRACE(file);
        EXPECT_NE(run.Out.find(file + ": 8 parts"), std::string::npos) << run.Out;
        for (int set = 1; set <= 6; ++set)
            EXPECT_TRUE(PartsOfStyleFile(out.File(fs::path(file).stem().string() + "-" + std::to_string(set) + ".vxs"))[1]
                            .Present());
    }
}

// Pitch classes of C major; A minor and G7 draw on the same seven.
bool InCMajorScale(int note) {
    static const std::set<int> scale = {0, 2, 4, 5, 7, 9, 11};
    return scale.contains(note % 12);
}

TEST(ConvertCommand, ConvertedStylesSoundInTheScaleOfTheChordTheyArePlayedOver) {
    TempFolder folder;
    std::vector<std::string> picked = WrittenStyles(folder);
    for (const char* name : {"JazzWaltz4.S001.sty", "8Beat.T160.STY", "BluesRock.S524.sst", "KoolFunk.STY"})
        if (fs::exists(DefaultCorpusFolder() + "/styles/" + name)) picked.push_back(DefaultCorpusFolder() + "/styles/" + name);
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
    TempFolder folder;
    ASSERT_TRUE(SampleKeyboardStyle({.ChordVariants = true}).Write(folder.File("Chords.sty")));
    TestSession t;
    stylecreator::CreatorState state;
    stylecreator::StyleCreator creator(*t.session, state, app::CreatorLiveStateOf(t.state));
    stylecreator::StyleConversion conversion(*t.session, creator);
    std::string error;
    ASSERT_TRUE(conversion.Import(folder.File("Chords.sty"), error)) << error;
    platform::Random random(3);
    const stylecreator::SetReport report = conversion.ConvertSet(0, random);
    ASSERT_EQ(report.Parts.size(), 8U);
    // Basic is "Main A": the bass, the piano and the drums stay; the piano written for minor
    // chords (channel 4) and the crash for no chord (channel 1) go.
    std::map<int, stylecreator::ChannelFate> basic;
    for (const auto& d : report.Channels)
        if (d.Part == 1) basic[d.Channel] = d.Fate;
    EXPECT_EQ(basic.at(0), stylecreator::ChannelFate::Dropped);
    EXPECT_EQ(basic.at(3), stylecreator::ChannelFate::Dropped);
    EXPECT_EQ(basic.at(9), stylecreator::ChannelFate::Kept);
    EXPECT_EQ(basic.at(10), stylecreator::ChannelFate::Kept);
    EXPECT_EQ(basic.at(11), stylecreator::ChannelFate::Kept);
    const data::StyleState& style = t.session->Style().style;
    EXPECT_EQ(style.NotesEndInPart.size(), 8U);
    // Nothing of a dropped channel sounds in its part any more.
    const auto material = data::FirstChunkMaterial(t.session->Style().Work);
    const data::PartRecord& record = style.Parts[1];
    int silenced = 0;
    for (std::int32_t at = 0; at < record.RangeEnd;) {
        const std::uint8_t b = material[static_cast<std::size_t>(at)];
        if (b >= 0x80 && b <= 0xEF) {
            if (at >= record.RangeStart && b == 0x93) {
                EXPECT_EQ(material[static_cast<std::size_t>(at) + 2], 0);
                ++silenced;
            }
            at += 3;
        } else {
            ++at;
        }
    }
    EXPECT_GT(silenced, 0);
    EXPECT_EQ(conversion.Remembered(), conversion.Lists().Selected());

    // Without the table every channel stays and chords are detected.
    conversion.UseChannelTable(false);
    const stylecreator::SetReport plain = conversion.ConvertSet(0, random);
    EXPECT_TRUE(plain.Channels.empty());
    EXPECT_EQ(plain.Parts.size(), 8U);
    EXPECT_FALSE(plain.Parts[0].FromChannelTable);
}

// The converter window's options and the pop-up's part sets, given as flags.
TEST(ConvertCommand, TheWindowsOptionsAndPartSetsAsFlags) {
    TempFolder in, plain, kept, parts, rebuilt;
    const std::string file = in.File("Eight.sty");
    ASSERT_TRUE(SampleKeyboardStyle().Write(file));
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
    ASSERT_TRUE(platform::ReadFileBytes(plain.File("Eight-1.vxs"), 1u << 20, converted, error)) << error;
    ASSERT_TRUE(platform::ReadFileBytes(kept.File("Eight-1.vxs"), 1u << 20, asImported, error)) << error;
    EXPECT_NE(converted, asImported);

    // "Choose style parts randomly": one style of its own.
    flags.keepIntroEnding = false;
    flags.random = "parts";
    ASSERT_EQ(ConvertWith(flags).Result, 0);
    EXPECT_TRUE(PartsOfStyleFile(kept.File("Eight-8-random.vxs"))[1].Present());

    // The exported part files read back as a set make a style with Basic and Extended.
    cli::ConvertCommandFlags fromParts;
    fromParts.inputs = {plain.Path()};
    fromParts.outputFolder = rebuilt.Path();
    fromParts.importParts = "2 - 11";
    run = ConvertWith(fromParts);
    ASSERT_EQ(run.Result, 0) << run.Err;
    const data::PartTable table = PartsOfStyleFile(rebuilt.File(fs::path(plain.Path()).filename().string() + ".vxs"));
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

TEST(InfoCommand, AKeyboardStyleListsItsSectionsAndItsChannelTable) {
    TempFolder folder;
    ASSERT_TRUE(SampleKeyboardStyle({.ChordVariants = true}).Write(folder.File("Chords.sty")));
    CapturedText out, err;
    EXPECT_EQ(cli::RunInfoCommand(folder.File("Chords.sty"), out.file, err.file), 0);
    const std::string text = out.Text();
    EXPECT_NE(text.find("  Main A : "), std::string::npos) << text;
    EXPECT_NE(text.find("channel table (CASM), 2 groups:"), std::string::npos) << text;
    EXPECT_NE(text.find("ch  4 ->  4  PianoMin  silent under major,  2 chord kinds"), std::string::npos) << text;
    EXPECT_NE(text.find("ch 11 -> 11  Bass      plays under major, 35 chord kinds"), std::string::npos) << text;
}

}  // namespace
}  // namespace chordella::testing
