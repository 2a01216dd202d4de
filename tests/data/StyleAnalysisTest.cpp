// Channel analysis and stream positions of a loaded style.

#include <gtest/gtest.h>

#include <algorithm>

#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "support/StyleBuilder.h"

namespace chordella::data {
namespace {

using testing::StyleBuilder;

// Puts a built style into a StyleState as a load would, without the rest of the load.
void Place(const StyleBuilder& builder, StyleState& style) {
    ASSERT_TRUE(style.Stream.Allocate());
    style.Header = builder.Header();
    style.Parts = builder.Parts();
    const auto stream = builder.Stream();
    std::copy(stream.begin(), stream.end(), style.StreamBytes());
    style.StyleLength = static_cast<std::int32_t>(stream.size());
}

constexpr auto Basic = Index(StylePart::Basic);
constexpr auto Ending = Index(StylePart::Ending);

TEST(ChannelAnalysis, MarksTheChannelsThatSoundANoteAnywhere) {
    StyleBuilder b;
    b.Part(StylePart::Basic).Note(0, 36, 100, 0, 12).Controller(4, 7, 90, 0).NoteOff(5, 60, 10);
    b.Part(StylePart::Ending).Note(9, 38, 100, 0, 12).Event(0xA2, 60, 30, 5);
    StyleState style;
    Place(b, style);
    AnalyseChannels(style, 0, 7, false);
    std::array<std::uint8_t, 16> expected{};
    expected[0] = expected[9] = expected[2] = 1;  // note-ons, and key pressure on channel 3
    EXPECT_EQ(style.Header.ChannelUsed, expected);
}

TEST(ChannelAnalysis, TellsPerPartWhetherEveryNoteEndsInsideIt) {
    StyleBuilder b;
    b.Part(StylePart::Basic)
        .Measures(2)
        .Note(0, 36, 100, 0, 12)         // ends inside
        .NoteOn(1, 60, 90, 24)           // never ends
        .NoteOn(2, 64, 90, 24)
        .Event(0x82, 64, 0, 48);         // ended by a note-off message
    b.Part(StylePart::Ending).NoteOn(3, 40, 90, 0);
    b.Part(StylePart::ToBasic).NoteOff(3, 40, 0);  // its note-off lies in a later part
    StyleState style;
    Place(b, style);
    AnalyseChannels(style, 0, 7, false);
    EXPECT_EQ(std::vector<int>(style.NotesEndInPart[Basic].begin(), style.NotesEndInPart[Basic].begin() + 4),
              (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(style.NotesEndInPart[Ending][3], 0);
    EXPECT_EQ(style.NotesEndInPart[Index(StylePart::Intro)][1], 1);  // absent parts count as ending
}

TEST(ChannelAnalysis, ANoteEndsOnlyByAnEndThatFollowsIt) {
    StyleBuilder b;
    b.Part(StylePart::Basic)
        .Measures(2)
        .Note(0, 60, 90, 0, 10).NoteOn(0, 60, 90, 20)           // struck again after its end
        .NoteOff(1, 62, 0).NoteOn(1, 62, 90, 10)                // the end comes before the note
        .NoteOn(2, 64, 90, 0).NoteOn(2, 64, 90, 5).NoteOff(2, 64, 30)  // two starts, one end after both
        .Event(0xA3, 65, 40, 0).Event(0xA3, 65, 0, 9)           // key pressure ended by pressure 0
        .Event(0xA4, 65, 40, 0).Event(0x84, 65, 0, 9)           // … but not by a note-off
        .NoteOn(5, 67, 90, 0).NoteOff(5, 68, 30);               // another note's end
    StyleState style;
    Place(b, style);
    AnalyseChannels(style, Basic, Basic, false);
    EXPECT_EQ(std::vector<int>(style.NotesEndInPart[Basic].begin(), style.NotesEndInPart[Basic].begin() + 6),
              (std::vector<int>{0, 0, 1, 1, 0, 0}));
}

TEST(ChannelAnalysis, LooksOnlyAtTheGivenParts) {
    StyleBuilder b;
    b.Part(StylePart::Basic).NoteOn(1, 60, 90, 0);
    b.Part(StylePart::Ending).NoteOn(2, 60, 90, 0);
    StyleState style;
    Place(b, style);
    style.NotesEndInPart[Basic][1] = 7;
    AnalyseChannels(style, Ending, Ending, false);
    EXPECT_EQ(style.NotesEndInPart[Basic][1], 7);
    EXPECT_EQ(style.NotesEndInPart[Ending][2], 0);
    EXPECT_EQ(style.Header.ChannelUsed[1], 0);
    EXPECT_EQ(style.Header.ChannelUsed[2], 1);
}

TEST(ChannelAnalysis, TheSc55SetClearsHighBanksAndDrumKitsAboveSixtyTwo) {
    StyleBuilder b;
    b.Part(StylePart::Basic)
        .Controller(0, 0, 70, 0)
        .Controller(1, 0, 62, 0)
        .Program(9, 100, 0)
        .Program(9, 40, 0)
        .Program(2, 100, 0)
        .Note(0, 60, 90, 0, 10);
    StyleState style;
    Place(b, style);
    auto without = style.Stream.First();
    const std::vector<std::uint8_t> before(without.begin(), without.begin() + style.StyleLength);
    AnalyseChannels(style, 0, 7, false);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), style.StreamBytes()));

    AnalyseChannels(style, 0, 7, true);
    const auto* s = style.StreamBytes();
    const auto start = style.Parts[Basic].RangeStart;
    EXPECT_EQ(s[start + 2], 0);    // bank 70 on channel 1
    EXPECT_EQ(s[start + 5], 62);   // bank 62 stays
    EXPECT_EQ(s[start + 7], 0);    // drum kit 100
    EXPECT_EQ(s[start + 10], 40);  // drum kit 40 stays
    EXPECT_EQ(s[start + 13], 100); // a program on another channel stays
}

TEST(StreamPosition, FindsTheWaitThatReachesTheBeatWithMeasuresOfTheStyleMeter) {
    // Waits of 8, 8, 6, 8 ticks: beat 2 (24 ticks) is reached inside the fourth wait.
    const std::vector<std::uint8_t> stream = {0x90, 60, 100, 0xFF, 0xFF, 0xFD, 0x80, 60, 0, 0xFF, 0xFF, 0};
    EXPECT_EQ(PositionToOffset(stream, 16, 1, 1), -1);
    EXPECT_EQ(PositionToOffset(stream, 16, 1, 2), 9);
    EXPECT_EQ(PositionToOffset(stream, 16, 2, 1), PositionNotReached);

    for (std::int16_t meter : {std::int16_t{16}, std::int16_t{12}, std::int16_t{0}, std::int16_t{-12}}) {
        StyleBuilder b;
        b.RawMeter(meter);
        b.Part(StylePart::Intro).Measures(2).Note(0, 60, 90, 5, 30);
        b.Part(StylePart::Basic).Measures(3).Note(0, 62, 90, 3, 50);
        const auto styleStream = b.Stream();
        const auto parts = b.Parts();
        const auto& basic = parts[Basic];
        EXPECT_EQ(PositionToOffset(styleStream, meter, basic.StartMeasure, 1) + 1, basic.RangeStart) << meter;
        EXPECT_EQ(PositionToOffset(styleStream, meter, basic.StartMeasure, 2) + 1, basic.Beat2Offset) << meter;
        EXPECT_EQ(PositionToOffset(styleStream, meter, basic.StartMeasure, 3) + 1, basic.Beat3Offset) << meter;
        EXPECT_EQ(PositionToOffset(styleStream, meter, basic.EndMeasure + 1, 1) + 1, basic.RangeEnd) << meter;
    }
}

TEST(StreamPosition, AnOffsetTellsWhenItsEventPlays) {
    StyleBuilder b;
    b.Meter(3);
    b.Part(StylePart::Intro).Measures(2).Note(0, 60, 90, 0, 10);
    b.Part(StylePart::Basic).Measures(2).Note(0, 62, 90, 30, 10).Note(1, 64, 80, b.Position(2, 3) + 5, 7);
    const auto stream = b.Stream();
    const auto basic = b.Parts()[Basic];
    auto at = [&](std::int32_t offset) {
        const auto p = OffsetToPosition(stream, 12, offset);
        return std::vector<int>{p.Measure, p.Beat, p.Tick};
    };
    EXPECT_EQ(at(0), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(at(basic.RangeStart), (std::vector<int>{3, 1, 0}));
    EXPECT_EQ(at(basic.Beat2Offset), (std::vector<int>{3, 2, 0}));
    // The first note of Basic lies 30 ticks in: after the waits up to it.
    const auto first = static_cast<std::int32_t>(
        std::find(stream.begin() + basic.RangeStart, stream.end(), std::uint8_t{0x90}) - stream.begin());
    EXPECT_EQ(at(first), (std::vector<int>{3, 2, 6}));
    const auto second = static_cast<std::int32_t>(
        std::find(stream.begin() + first + 3, stream.end(), std::uint8_t{0x91}) - stream.begin());
    EXPECT_EQ(at(second), (std::vector<int>{4, 3, 5}));
    EXPECT_EQ(at(1 << 30), (std::vector<int>{5, 1, 0}));  // the end of the stream
}

TEST(StreamChain, ChainsUpToSevenEmptyBuffersThatNeverMove) {
    StreamChain chain;
    EXPECT_FALSE(chain.AddBuffer());  // the first buffer comes from Allocate()
    EXPECT_EQ(chain.Buffer(0), nullptr);
    ASSERT_TRUE(chain.Allocate());
    std::uint8_t* first = chain.Buffer(0);
    first[7] = 0x90;
    ASSERT_TRUE(chain.Allocate());
    EXPECT_EQ(chain.Buffer(0), first);
    EXPECT_EQ(first[7], 0x90);
    for (int i = 1; i < MaxStreamBuffers; ++i) ASSERT_TRUE(chain.AddBuffer()) << i;
    EXPECT_FALSE(chain.AddBuffer());
    EXPECT_EQ(chain.BufferCount(), MaxStreamBuffers);
    EXPECT_EQ(chain.Buffer(0), first);
    EXPECT_EQ(chain.Buffer(MaxStreamBuffers), nullptr);
    EXPECT_EQ(chain.Buffer(-1), nullptr);
    const std::uint8_t* last = chain.Buffer(MaxStreamBuffers - 1);
    EXPECT_TRUE(std::all_of(last, last + StreamCapacity, [](std::uint8_t b) { return b == stream::EndOfStream; }));
}

}  // namespace
}  // namespace chordella::data
