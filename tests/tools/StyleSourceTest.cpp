// Compiling style sources: grids and note lines lay out in the stream where they are
// written, repeat through longer parts, and a source that would make a broken style is
// refused with its line.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "data/StyleFile.h"
#include "data/StyleStream.h"
#include "make_assets/StyleSource.h"

namespace chordella::tools {
namespace {

struct Event {
    int Tick = 0;
    int Status = 0;
    int Data1 = 0;
    int Data2 = 0;
    bool NoteOn() const { return (Status & 0xF0) == 0x90 && Data2 > 0; }
    bool NoteOff() const { return (Status & 0xF0) == 0x90 && Data2 == 0; }
};

// The events of one part with their ticks from the part's start.
std::vector<Event> PartEvents(const CompiledStyle& style, data::StylePart part) {
    const auto& record = style.Parts[static_cast<std::size_t>(data::Index(part))];
    std::vector<Event> events;
    int tick = 0;
    for (int at = record.RangeStart; at < record.RangeEnd;) {
        const std::uint8_t b = style.Stream[static_cast<std::size_t>(at)];
        if (data::stream::IsWait(b)) {
            tick += data::stream::WaitTicks(b);
            ++at;
            continue;
        }
        events.push_back({tick, b, style.Stream[static_cast<std::size_t>(at + 1)], style.Stream[static_cast<std::size_t>(at + 2)]});
        at += 3;
    }
    return events;
}

int Count(const std::vector<Event>& events, int note, bool on = true) {
    int count = 0;
    for (const Event& e : events) count += (e.Data1 == note && (on ? e.NoteOn() : e.NoteOff())) ? 1 : 0;
    return count;
}

// All eight parts, one measure each unless the part is written in `parts`.
std::string Source(const std::string& parts, const std::string& basic = "part Basic 1\n  drum kick X...\n") {
    std::string text = "style test.vxs\ntempo 100\nmeter 4\nchannel 10 program 0 volume 100\nchannel 2 program 33 volume 90 pan 40\n";
    text += basic + parts;
    for (const char* name : {"Intro", "Extended", "Ending", "FillBasic", "FillExtended", "ToExtended", "ToBasic"}) {
        if (parts.find(std::string("part ") + name + " ") == std::string::npos) text += std::string("part ") + name + " 1\n  drum snare ..x.\n";
    }
    return text;
}

CompiledStyle Compile(const std::string& source) {
    CompiledStyle style;
    std::string error;
    EXPECT_TRUE(CompileStyle(source, style, error)) << error;
    return style;
}

std::string Refusal(const std::string& source) {
    CompiledStyle style;
    std::string error;
    EXPECT_FALSE(CompileStyle(source, style, error));
    return error;
}

TEST(StyleSourceTest, TheStyleHasAllEightPartsInOrderWithTheSourcesTempoAndMeter) {
    const CompiledStyle style = Compile(Source("part Intro 2\n  drum kick X.X.\n"));
    EXPECT_EQ(style.FileName, "test.vxs");
    EXPECT_EQ(style.Header.StyleTempo, 100);
    EXPECT_EQ(style.Header.StyleMeter, 16);
    int measure = 1;
    for (const auto& part : style.Parts) {
        ASSERT_TRUE(part.Present());
        EXPECT_EQ(part.StartMeasure, measure);
        measure = part.EndMeasure + 1;
    }
    EXPECT_EQ(style.Parts[0].LengthMeasures, 2);
    EXPECT_EQ(style.Stream.back(), data::stream::EndOfStream);
    std::string error;
    EXPECT_TRUE(data::CheckStyleStream(style.Parts, style.Stream, error)) << error;
}

TEST(StyleSourceTest, AGridRepeatsThroughALongerPartAtItsOwnResolution) {
    const CompiledStyle style = Compile(Source("", "part Basic 4\n  drum hhc x.x.x.x.x.x.x.x.|xxxxxxxx\n"));
    const auto events = PartEvents(style, data::StylePart::Basic);
    EXPECT_EQ(Count(events, 42), 2 * (8 + 8));  // two passes of a two-measure grid
    std::vector<int> ticks;
    for (const Event& e : events)
        if (e.NoteOn()) ticks.push_back(e.Tick);
    ASSERT_GE(ticks.size(), 10u);
    EXPECT_EQ(ticks[1] - ticks[0], 12);          // eighths in the first measure (16 steps, every other)
    EXPECT_EQ(ticks[9] - ticks[8], 12);          // eighths in the second (8 steps)
    EXPECT_EQ(ticks[16], 4 * 96 / 2);            // the third measure starts the grid again
}

TEST(StyleSourceTest, ANoteLineRepeatsEveryAsManyMeasuresAsItsLastNotesMeasure) {
    const CompiledStyle style =
        Compile(Source("", "part Basic 4\n  notes 2 1.1 C2 q 100, 2.3 G1 q 80\n"));
    const auto events = PartEvents(style, data::StylePart::Basic);
    EXPECT_EQ(Count(events, 36), 2);
    EXPECT_EQ(Count(events, 31), 2);
    for (const Event& e : events) {
        if (e.NoteOn() && e.Data1 == 31) {
            EXPECT_TRUE(e.Tick == 96 + 48 || e.Tick == 3 * 96 + 48) << e.Tick;
        }
    }
}

TEST(StyleSourceTest, TheBeatOffsetsLieRightAfterTheWaitThatEndsOnEachBeat) {
    // Off-beat sixteenths: a plain run of eight-tick waits would step over the beats.
    const CompiledStyle style = Compile(Source("", "part Basic 1\n  drum hhc ...x...x...x...x\n"));
    const auto& record = style.Parts[static_cast<std::size_t>(data::Index(data::StylePart::Basic))];
    const std::array<std::int32_t, 3> offsets = {record.Beat2Offset, record.Beat3Offset, record.Beat4Offset};
    for (std::size_t b = 0; b < offsets.size(); ++b) {
        int ticks = 0;
        for (int at = record.RangeStart; at < offsets[b];) {
            const std::uint8_t byte = style.Stream[static_cast<std::size_t>(at)];
            if (data::stream::IsWait(byte)) {
                ticks += data::stream::WaitTicks(byte);
                ++at;
            } else {
                at += 3;
            }
        }
        EXPECT_EQ(ticks, static_cast<int>(b + 1) * 24) << "beat " << b + 2;
        EXPECT_TRUE(data::stream::IsWait(style.Stream[static_cast<std::size_t>(offsets[b] - 1)]));
    }
}

TEST(StyleSourceTest, EveryPartStartsWithTheChannelsSetUpBeforeItsFirstNote) {
    const CompiledStyle style = Compile(Source(""));
    for (data::StylePart part : {data::StylePart::Intro, data::StylePart::Basic, data::StylePart::ToBasic}) {
        const auto events = PartEvents(style, part);
        ASSERT_FALSE(events.empty());
        bool program = false, pan = false;
        for (const Event& e : events) {
            if (e.NoteOn()) break;
            program |= e.Status == 0xC1 && e.Data1 == 33;
            pan |= e.Status == 0xB1 && e.Data1 == 10 && e.Data2 == 40;
        }
        EXPECT_TRUE(program && pan) << "part " << data::Index(part);
    }
    EXPECT_EQ(style.Header.ChannelSetup[1][data::SetupProgramIndex], 33);
    EXPECT_EQ(style.Header.ChannelSetup[1][0], 0) << "a program comes with its bank";
}

TEST(StyleSourceTest, NotesRingingPastThePartsEndStopOnItsLastTick) {
    const CompiledStyle style = Compile(Source("part Ending 1\n  notes 3 1.3 C4+E4 w 90\n"));
    const auto events = PartEvents(style, data::StylePart::Ending);
    EXPECT_EQ(Count(events, 60, false), 1);
    for (const Event& e : events) {
        if (e.NoteOff() && e.Data1 == 64) {
            EXPECT_EQ(e.Tick, 95);
        }
    }
}

TEST(StyleSourceTest, UseBorrowsAnotherPartsLinesOnlyForTheChannelsNamed) {
    const CompiledStyle style = Compile(Source("part FillBasic 1\n  drum snare ..xx\n  use Basic 2\n",
                                               "part Basic 1\n  drum kick X...\n  notes 2 1.1 C2 h 90\n"));
    const auto events = PartEvents(style, data::StylePart::FillInBasic);
    EXPECT_EQ(Count(events, 36), 1) << "the bass's C2 came along";
    int kicks = 0;
    for (const Event& e : events) kicks += e.NoteOn() && e.Status == 0x99 && e.Data1 == 36 ? 1 : 0;
    EXPECT_EQ(kicks, 0) << "the drums of Basic stayed behind";
}

TEST(StyleSourceTest, ANoteStartedAgainWhileItSoundsIsRefusedNamingKeyAndChannel) {
    const std::string error = Refusal(Source("", "part Basic 1\n  notes 3 1.1 C4 h 90, 1.2 C4 q 80\n"));
    EXPECT_NE(error.find("key 60"), std::string::npos) << error;
    EXPECT_NE(error.find("channel 3"), std::string::npos) << error;
}

TEST(StyleSourceTest, MistakesAreRefusedWithTheirLine) {
    EXPECT_NE(Refusal(Source("", "part Basic 1\n  drum kick X..Q\n")).find("line 7"), std::string::npos);
    EXPECT_NE(Refusal(Source("", "part Basic 1\n  notes 10 1.1 C2 q\n")).find("drum"), std::string::npos);
    EXPECT_NE(Refusal(Source("", "part Basic 1\n  drum kick X.X.X\n")).find("5 steps"), std::string::npos);
    EXPECT_NE(Refusal(Source("", "part Basic 1\n  use Basic\n")).find("circle"), std::string::npos);
    EXPECT_NE(Refusal("style a.vxs\npart Basic 1\n").find("Intro is missing"), std::string::npos);
    EXPECT_NE(Refusal("style a.vxs\nchannel 2 programme 3\n").find("programme"), std::string::npos);
    EXPECT_NE(Refusal("tempo 300\n").find("tempo"), std::string::npos);
}

}  // namespace
}  // namespace chordella::tools
