// The bass of a keyboard style is where its channel table says, else where its own voices say
// (a maker's bank whose General MIDI name is an organ included), else where the program names
// say. Converted, it plays on channel 11 with its own voice, and `batch delete-bassless`
// deletes only the styles that have none.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/StateParts.h"
#include "cli/BatchCommand.h"
#include "cli/ConvertCommand.h"
#include "data/StyleFile.h"
#include "data/StyleStream.h"
#include "data/VoiceMap.h"
#include "platform/Files.h"
#include "stylecreator/StyleConversion.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;
using stylecreator::BassEvidence;

struct BassCase {
    const char* Name;
    int Source;          // the channel the bass is written on; −1: no bass at all
    int Msb, Program;    // its voice
    bool TableSendsItToTheBassPart;
    bool SwitchedInTheStream;   // set up as a drum kit, switched to its voice in the first bar
    // What the conversion must find.
    BassEvidence Evidence;
};

// A small style: drums on 10, a piano on 12, an organ set up on 11 (a voice channel 11 has in
// the file whatever the bass part is), the bass on `Source`.
KeyboardStyleWriter StyleOf(const BassCase& c) {
    KeyboardStyleWriter w;
    w.Meter(4).SetupBeats(4).Voice(9, 127, 0, 0).Voice(11, 0, 0, 0);
    if (c.Source != 10) w.Voice(10, 0, 0, 16);
    if (c.Source >= 0) {
        if (c.SwitchedInTheStream) w.Voice(c.Source, 127, 0, 0);
        else w.Voice(c.Source, c.Msb, 0, c.Program);
    }
    for (const char* name : {"Main A", "Main B", "Fill In AA", "Fill In BB", "Intro A", "Ending A"}) {
        SectionWriter& s = w.Section(name, 4);
        if (c.Source >= 0 && c.SwitchedInTheStream) s.Voice(c.Source, c.Msb, 0, c.Program, 0);
        for (int beat = 0; beat < 4; ++beat) s.Note(9, 36, 100, beat * 24, 6);
        s.Note(11, 64, 80, 0, 90).Note(11, 67, 80, 0, 90);
        if (c.Source >= 0) s.Note(c.Source, 36, 100, 0, 40).Note(c.Source, 43, 100, 48, 40);
    }
    CasmGroupWriter& g = w.Group({"Main A", "Main B", "Fill In AA", "Fill In BB", "Intro A", "Ending A"});
    g.Entry({.Source = 9, .Voice = "Drums", .Ntr = casm::RootFixed, .Table = casm::Bypass});
    g.Entry({.Source = 11, .Voice = "Piano", .Ntr = casm::RootFixed, .Table = casm::Chord});
    if (c.Source >= 0)
        g.Entry({.Source = c.Source, .Voice = "Aco.Bass", .Destination = c.TableSendsItToTheBassPart ? 10 : 13,
                 .Table = c.TableSendsItToTheBassPart ? casm::Bass : casm::Melody});
    return w;
}

// Channels that sound a note inside Basic.
std::set<int> ChannelsInBasic(const data::StyleImage& image) {
    std::set<int> channels;
    const data::PartRecord& basic = image.Parts[1];
    for (std::int32_t at = 0; at < basic.RangeEnd;) {
        const std::uint8_t b = image.Stream[static_cast<std::size_t>(at)];
        if (at >= basic.RangeStart && (b & 0xF0) == 0x90 && image.Stream[static_cast<std::size_t>(at) + 2] > 0)
            channels.insert(b & 0x0F);
        at += data::stream::IsChannelMessage(b) ? data::stream::MessageLength : 1;
    }
    return channels;
}

TEST(BassFinding, TheTableThenTheStylesVoicesThenTheNamesFindTheBassAndItPlaysOnChannel11WithItsVoice) {
    const BassCase cases[] = {
        {"the table sends channel 13 to the bass part", 12, 0, 33, true, false, BassEvidence::ChannelTable},
        {"the table sends channel 8 to the bass part", 7, 0, 34, true, false, BassEvidence::ChannelTable},
        {"the table's bass part plays a maker's voice", 10, 8, 17, true, false, BassEvidence::ChannelTable},
        {"a maker's bass the table sends elsewhere", 12, 8, 16, false, false, BassEvidence::StreamVoice},
        {"a drum kit switched to a bass in the stream", 7, 0, 33, false, true, BassEvidence::StreamVoice},
        {"no bass at all", -1, 0, 0, false, false, BassEvidence::None},
    };
    TempFolder folder;
    for (const BassCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(StyleOf(c).Write(folder.File("Case.sty")));
        TestSession t;
        stylecreator::CreatorState state;
        stylecreator::StyleCreator creator(*t.session, state, app::CreatorLiveStateOf(t.state));
        stylecreator::StyleConversion conversion(*t.session, creator);
        std::string error;
        ASSERT_TRUE(conversion.Import(folder.File("Case.sty"), error)) << error;
        platform::Random random(1);
        const stylecreator::SetReport report = conversion.ConvertSet(0, random);
        EXPECT_EQ(report.Bass.Evidence, c.Evidence) << report.Bass.Why;
        if (c.Source < 0) {
            EXPECT_EQ(report.Bass.Channel, -1);
            continue;
        }
        EXPECT_EQ(report.Bass.Channel, 10) << report.Bass.Why;
        const data::StyleState& style = t.session->Style().style;
        EXPECT_EQ(style.Header.ChannelSetup[10][data::SetupProgramIndex], c.Program);
        EXPECT_EQ(style.Header.ChannelSetup[10][0], c.Msb);
        const auto material = data::FirstChunkMaterial(t.session->Style().Work);
        data::StyleImage image;
        image.Parts = style.Parts;
        image.Stream = material;
        const std::set<int> basic = ChannelsInBasic(image);
        EXPECT_TRUE(basic.contains(10));
        if (c.Source != 10) {
            EXPECT_FALSE(basic.contains(c.Source)) << "the bass stays on its own channel too";
        }
    }
}

TEST(BassFinding, DeleteBasslessDeletesOnlyConvertedStylesWithoutABass) {
    TempFolder in, out, home;
    const BassCase withBass = {"maker bass", 10, 8, 17, true, false, BassEvidence::ChannelTable};
    const BassCase makerNoTable = {"maker bass elsewhere", 12, 8, 16, false, false, BassEvidence::StreamVoice};
    const BassCase without = {"none", -1, 0, 0, false, false, BassEvidence::None};
    ASSERT_TRUE(StyleOf(withBass).Write(in.File("Maker.sty")));
    ASSERT_TRUE(StyleOf(makerNoTable).Write(in.File("Elsewhere.sty")));
    ASSERT_TRUE(StyleOf(without).Write(in.File("Bassless.sty")));
    cli::ConvertCommandFlags convert;
    convert.inputs = {in.File("Maker.sty"), in.File("Elsewhere.sty"), in.File("Bassless.sty")};
    convert.outputFolder = out.Path();
    convert.sets = "1-2";
    std::FILE* sink = std::tmpfile();
    ASSERT_EQ(cli::RunConvertCommand(convert, sink, sink), 0);
    cli::BatchCommandFlags batch;
    batch.mode = "delete-bassless";
    batch.folder = out.Path();
    batch.yes = true;
    batch.home = home.Path();
    EXPECT_EQ(cli::RunBatchCommand(batch, nullptr, sink, sink), 0);
    std::fclose(sink);
    for (const char* kept : {"Maker-1.vxs", "Maker-2.vxs", "Elsewhere-1.vxs", "Elsewhere-2.vxs"})
        EXPECT_TRUE(fs::exists(out.File(kept))) << kept;
    for (const char* deleted : {"Bassless-1.vxs", "Bassless-2.vxs"}) EXPECT_FALSE(fs::exists(out.File(deleted))) << deleted;
}

}  // namespace
}  // namespace chordella::testing

namespace chordella::testing {
namespace {

TEST(VoiceMap, TheTableInTheRepositoryReadsCleanlyAndAFaultyLineIsNamedAndLeftOut) {
    std::vector<std::string> problems;
    const data::VoiceMap map = data::VoiceMap::Parse(data::BuiltInVoiceMapText(), &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(map.Size(), data::BuiltInVoiceMap().Size());
    struct Sound {
        data::Voice Voice;
        int Gm;
    };
    for (const Sound& s : {Sound{{8, 0, 17}, 33}, Sound{{8, 2, 16}, 32}, Sound{{0, 112, 48}, 48},
                           Sound{{127, 0, 0}, -1}, Sound{{-1, -1, 33}, 33}})
        EXPECT_EQ(map.NearestGm(s.Voice), s.Gm) << data::VoiceText(s.Voice);

    const data::VoiceMap odd = data::VoiceMap::Parse("8 * 17 33\n8 1 17 34  # the exact LSB wins\n8 * 300 1\n9 x 1 1\n8 1\n",
                                                     &problems);
    EXPECT_EQ(odd.Size(), 2U);
    EXPECT_EQ(odd.NearestGm({8, 1, 17}), 34);
    EXPECT_EQ(odd.NearestGm({8, 5, 17}), 33);
    EXPECT_EQ(problems, (std::vector<std::string>{"line 3: program \"300\" is not 0 … 127",
                                                  "line 4: bank LSB \"x\" is not 0 … 127 or *",
                                                  "line 5: 2 columns, 4 expected (bank MSB, bank LSB, program, GM program)"}));
}

}  // namespace
}  // namespace chordella::testing
