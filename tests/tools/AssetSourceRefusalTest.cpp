// The asset sources are hand-written text: a slip in one must be refused with a message that
// names the text or line it slipped on, never turned into a broken style or song. What the
// sources make when they are right is pinned by the bundled-assets and bundled-style tests.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "make_assets/Notation.h"
#include "make_assets/SongSource.h"
#include "make_assets/StyleSource.h"
#include "support/StreamMessages.h"

namespace chordella::tools {
namespace {

// All eight parts, one measure each, with `basic` as the Basic part.
std::string Style(const std::string& basic) {
    std::string text = "style test.vxs\ntempo 100\nmeter 4\nchannel 10 program 0 volume 100\nchannel 2 program 33 volume 90 pan 40\n";
    text += basic;
    for (const char* name : {"Intro", "Extended", "Ending", "FillBasic", "FillExtended", "ToExtended", "ToBasic"})
        text += std::string("part ") + name + " 1\n  drum snare ..x.\n";
    return text;
}

bool CompilesStyle(const std::string& source, std::string& error) {
    CompiledStyle style;
    return CompileStyle(source, style, error);
}

bool CompilesSong(const std::string& source, std::string& error) {
    CompiledSong song;
    return CompileSong(source, song, error);
}

TEST(AssetSourceRefusalTest, ASlipInASourceIsRefusedNamingWhereItIs) {
    int value = 0, type = 0;
    std::vector<int> notes;
    const struct {
        const char* What;
        std::function<bool(std::string&)> Parse;
        std::string Names;  // empty: refused, wording free
    } cases[] = {
        {"position past a 3/4 measure", [&](std::string& e) { return ParsePosition("1.4", 3, value, e); }, "1.4"},
        {"position without a beat", [&](std::string& e) { return ParsePosition("3", 4, value, e); }, ""},
        {"measure zero", [&](std::string& e) { return ParsePosition("0.1", 4, value, e); }, ""},
        {"length as a word", [&](std::string& e) { return ParseLength("quarter", value, e); }, ""},
        {"length zero", [&](std::string& e) { return ParseLength("0", value, e); }, ""},
        {"note H", [&](std::string& e) { return ParsePitch("H2", value, e); }, ""},
        {"note above MIDI", [&](std::string& e) { return ParsePitch("A9", value, e); }, ""},
        {"note without octave", [&](std::string& e) { return ParsePitch("C", value, e); }, ""},
        {"note in a stack", [&](std::string& e) { return ParsePitches("E3+H3", notes, e); }, ""},
        {"chord type", [&](std::string& e) { return ParseChord("Cxyz", value, type, e); }, "Cxyz"},
        {"note restarted while sounding",
         [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  notes 3 1.1 C4 h 90, 1.2 C4 q 80\n"), e); }, "key 60"},
        {"note restarted names channel",
         [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  notes 3 1.1 C4 h 90, 1.2 C4 q 80\n"), e); }, "channel 3"},
        {"grid letter", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  drum kick X..Q\n"), e); }, "line 7"},
        {"notes on drums", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  notes 10 1.1 C2 q\n"), e); }, "drum"},
        {"grid length", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  drum kick X.X.X\n"), e); }, "5 steps"},
        {"part using itself", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  use Basic\n"), e); }, "circle"},
        {"missing part", [](std::string& e) { return CompilesStyle("style a.vxs\npart Basic 1\n", e); }, "Intro is missing"},
        {"channel word", [](std::string& e) { return CompilesStyle("style a.vxs\nchannel 2 programme 3\n", e); }, "programme"},
        {"style tempo", [](std::string& e) { return CompilesStyle("tempo 300\n", e); }, "tempo"},
        {"swing past a triplet's feel", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  swing 80\n"), e); }, "swing"},
        {"swing step", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  swing 60 q\n"), e); }, "line 7"},
        {"offset past half a beat", [&](std::string& e) { return ParsePlacement("1.2+13", 4, value, type, e); }, "1.2+13"},
        {"offset without ticks", [&](std::string& e) { return ParsePlacement("1.2&-", 4, value, type, e); }, "1.2&-"},
        {"note pushed before the start",
         [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  notes 2 1.1-1 C2 q\n"), e); }, "before"},
        {"note laid back past the end",
         [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  notes 2 1.4a+6 C2 s\n"), e); }, "past the part's end"},
        {"drum offset", [](std::string& e) { return CompilesStyle(Style("part Basic 1\n  drum snare@+x ..x.\n"), e); }, "line 7"},
        {"song command", [](std::string& e) { return CompilesSong("song s.vxa\nbar 1 C !jump\nend 2\n", e); }, "line 2"},
        {"song chord", [](std::string& e) { return CompilesSong("song s.vxa\nbar 1 Cq\nend 2\n", e); }, "Cq"},
        {"song beat", [](std::string& e) { return CompilesSong("song s.vxa\nbar 1 C@5\nend 2\n", e); }, "C@5"},
        {"two commands on a beat", [](std::string& e) { return CompilesSong("song s.vxa\nbar 1 C !fill !ending\nend 2\n", e); }, "two commands"},
        {"song without its end", [](std::string& e) { return CompilesSong("song s.vxa\nbar 1 C\n", e); }, "end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::string error;
        EXPECT_FALSE(c.Parse(error));
        EXPECT_FALSE(error.empty());
        if (!c.Names.empty()) {
            EXPECT_NE(error.find(c.Names), std::string::npos) << error;
        }
    }
}

// The feel written into the source lands in the stream as ticks: eighths swung at 66 % fall
// on the triplet's last third, sixteenths at 58 % a tick late, a laid-back snare a tick
// behind its grid and a pushed bass note ahead of its beat, and every repeat alike.
TEST(AssetSourceFeelTest, SwingAndPlacementsMoveTheNotesToTheirTicks) {
    const std::string source = Style(
        "swing 66\n"
        "part Basic 2\n"
        "  drum hhc x.x.x.x.\n"
        "  drum snare@+1 ..X...X.\n"
        "  swing 58 s\n"
        "  drum shaker xxxx............\n"
        "  swing 50\n"
        "  notes 2 1.1 C2 e 90, 1.2& G1 e 70, 1.4-2 E2 q 80\n");
    CompiledStyle style;
    std::string error;
    ASSERT_TRUE(CompileStyle(source, style, error)) << error;
    const auto& basic = style.Parts[1];
    const auto messages = testing::StreamMessagesOf(std::span(style.Stream).subspan(
        static_cast<std::size_t>(basic.RangeStart), static_cast<std::size_t>(basic.RangeEnd - basic.RangeStart)));
    const auto startsOf = [&](int channel, int key) {
        std::vector<std::int64_t> ticks;
        for (const auto& m : messages)
            if (m.Status == 0x90 + channel && m.Data1 == key && m.Data2 > 0) ticks.push_back(m.Tick);
        return ticks;
    };
    EXPECT_EQ(startsOf(9, 42), (std::vector<std::int64_t>{0, 24, 48, 72, 96, 120, 144, 168})) << "hats on the beats stay";
    EXPECT_EQ(startsOf(9, 38), (std::vector<std::int64_t>{25, 73, 121, 169})) << "the snare lies back a tick";
    EXPECT_EQ(startsOf(9, 70), (std::vector<std::int64_t>{0, 7, 12, 19, 96, 103, 108, 115}));
    EXPECT_EQ(startsOf(1, 36), (std::vector<std::int64_t>{0, 96})) << "the part's own swing 50 keeps the bass straight";
    EXPECT_EQ(startsOf(1, 31), (std::vector<std::int64_t>{36, 132}));
    EXPECT_EQ(startsOf(1, 40), (std::vector<std::int64_t>{70, 166})) << "pushed two ticks ahead of beat 4";

    // The style-wide swing reaches the part's eighths.
    ASSERT_TRUE(CompileStyle(Style("swing 66\npart Basic 1\n  notes 2 1.1 C2 e 90, 1.1& G1 e 70\n"), style, error)) << error;
    const auto swung = testing::StreamMessagesOf(std::span(style.Stream).subspan(
        static_cast<std::size_t>(style.Parts[1].RangeStart), static_cast<std::size_t>(style.Parts[1].RangeEnd - style.Parts[1].RangeStart)));
    std::vector<std::int64_t> starts;
    for (const auto& m : swung)
        if ((m.Status & 0xF0) == 0x90 && m.Data2 > 0) starts.push_back(m.Tick);
    EXPECT_EQ(starts, (std::vector<std::int64_t>{0, 16}));
}

}  // namespace
}  // namespace chordella::tools
