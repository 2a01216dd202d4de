// Which part of the style plays when: control keys, fills, transitions, the intro and the
// ending, driven tick by tick on the virtual clock.

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/TransportRig.h"

namespace chordella::testing {
namespace {

using data::StylePart;

// The note every beat of a part plays on channel 1: 60 for the intro … 67 for To Basic.
int NoteOf(StylePart part) { return 60 + data::Index(part); }

// Adds `part` with `measures` measures of 4/4, one short note of its own on every beat.
PartBuilder& Beats(StyleBuilder& b, StylePart part, int measures = 1) {
    PartBuilder& p = b.Part(part).Measures(measures);
    for (int m = 1; m <= measures; ++m) {
        for (int beat = 1; beat <= 4; ++beat) p.Note(0, NoteOf(part), 100, b.Position(m, beat), 12);
    }
    return p;
}

// Which part sounded on each beat from tick 1 up to (not including) `endTick`: the part
// whose note started at that beat's first tick, or −1.
std::vector<int> PartsPerBeat(const TransportRig& rig, std::int64_t endTick) {
    std::vector<int> parts;
    for (std::int64_t tick = 1; tick < endTick; tick += 24) {
        int found = -1;
        for (const SentMessage& m : rig.Out.Messages) {
            if (m.IsNoteOn() && m.Channel() == 0 && m.Tick == tick) found = m.Data1 - 60;
        }
        parts.push_back(found);
    }
    return parts;
}

// A style of one-measure parts, each made by Beats.
StyleBuilder Parts(std::initializer_list<StylePart> parts) {
    StyleBuilder b;
    for (StylePart part : parts) Beats(b, part);
    return b;
}

std::vector<int> Repeat(int part, int beats) { return std::vector<int>(static_cast<std::size_t>(beats), part); }

std::vector<int> Join(std::initializer_list<std::vector<int>> pieces) {
    std::vector<int> all;
    for (const auto& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

constexpr int Basic = 1;
constexpr int Extended = 2;
constexpr int Ending = 3;
constexpr int FillBasic = 4;
constexpr int ToBasic = 7;

TEST(FillInKey, PressedOnBeatThreeStartsFillInBasicAtTheNextGridUnitAndBasicResumesAfterIt) {
    TransportRig rig;
    StyleBuilder b = Parts({StylePart::Basic, StylePart::FillInBasic});
    rig.Start(b);
    rig.RunTo(TickOf(2, 3) + 5);
    rig.Press(rig.State().config.Keys.FillIn);
    rig.RunTo(TickOf(5));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(5)), Join({Repeat(Basic, 8), Repeat(FillBasic, 4), Repeat(Basic, 4)}));
    EXPECT_EQ(rig.Session().Style().sections.SectionRequest, -1) << "the request is used up";
}

TEST(FillInKey, DuringExtendedWithoutFillInExtendedPlaysFillInBasicAndReturnsToExtended) {
    TransportRig rig;
    StyleBuilder b = Parts({StylePart::Basic, StylePart::Extended, StylePart::FillInBasic});
    rig.Start(b);
    rig.RunTo(TickOf(1, 2));
    rig.Press(rig.Lowest() - 4);  // the Extended key
    rig.RunTo(TickOf(2, 2));
    rig.Press(rig.State().config.Keys.FillIn);
    rig.RunTo(TickOf(5));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(5)),
              Join({Repeat(Basic, 4), Repeat(Extended, 4), Repeat(FillBasic, 4), Repeat(Extended, 4)}));
}

TEST(FillInKey, AFillMarkedAsAVariationLoopsUntilTheKeyLeadsBackToTheMainPart) {
    TransportRig rig;
    StyleBuilder b = Parts({StylePart::Basic});
    Beats(b, StylePart::FillInBasic).FollowUp(data::followup::Variation);
    rig.Start(b);
    rig.RunTo(TickOf(1, 3));
    rig.Press(rig.State().config.Keys.FillIn);
    rig.RunTo(TickOf(4, 2));
    rig.Press(rig.State().config.Keys.FillIn);
    rig.RunTo(TickOf(6));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(6)), Join({Repeat(Basic, 4), Repeat(FillBasic, 12), Repeat(Basic, 4)}));
}

TEST(FillInKey, StartedInsideAMeasurePlaysTheFillFromTheMatchingBeat) {
    TransportRig rig;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("1/4"));
    StyleBuilder b = Parts({StylePart::Basic});
    PartBuilder& fill = b.Part(StylePart::FillInBasic);
    for (int beat = 1; beat <= 4; ++beat) fill.Note(0, 70 + beat, 100, b.Beat(beat), 12);
    rig.Start(b);
    rig.RunTo(TickOf(1, 2) + 3);
    rig.Press(rig.State().config.Keys.FillIn);
    rig.RunTo(TickOf(2, 2));
    EXPECT_EQ(rig.StartsOf(0, 73), std::vector<std::int64_t>{TickOf(1, 3)}) << "beat 3 of the fill on beat 3";
    EXPECT_TRUE(rig.StartsOf(0, 71).empty());
    EXPECT_EQ(rig.StartsOf(0, 74), std::vector<std::int64_t>{TickOf(1, 4)});
    const auto basic = rig.StartsOf(0, NoteOf(StylePart::Basic));
    EXPECT_NE(std::find(basic.begin(), basic.end(), TickOf(2)), basic.end()) << "Basic again at the next measure";
}

// Without an Extended part the key acts as the To Basic key; without To Extended it goes
// straight to Extended.
TEST(ToExtKey, WithoutAnExtendedPartActsAsToBasicKeyAndWithoutToExtendedGoesStraightToExtended) {
    struct Case { std::initializer_list<StylePart> parts; bool toBasicKey; std::vector<int> heard; };
    const std::vector<int> toBasic = Join({Repeat(Basic, 4), Repeat(ToBasic, 4), Repeat(Basic, 4)});
    for (const Case& c : {Case{{StylePart::Basic, StylePart::ToBasic}, false, toBasic},
                          Case{{StylePart::Basic, StylePart::ToBasic}, true, toBasic},
                          Case{{StylePart::Basic, StylePart::Extended}, false,
                               Join({Repeat(Basic, 4), Repeat(Extended, 8)})}}) {
        TransportRig rig;
        rig.Start(Parts(c.parts));
        rig.RunTo(TickOf(1, 2));
        rig.Press(c.toBasicKey ? rig.State().config.Keys.ToBasic : rig.State().config.Keys.ToExtended);
        rig.RunTo(TickOf(4));
        EXPECT_EQ(PartsPerBeat(rig, TickOf(4)), c.heard) << "To Basic key " << c.toBasicKey;
    }
}

TEST(EndingKey, InTheMiddleOfAFourBarBasicStartsTheEndingAtTheNextMeasureAndStopsAfterIt) {
    TransportRig rig;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("1/4"));
    StyleBuilder b;
    Beats(b, StylePart::Basic, 4);
    Beats(b, StylePart::Ending).Note(1, 40, 90, 0, 200);  // a long note the ending cuts off
    rig.Start(b);
    rig.RunTo(TickOf(2, 2) + 7);
    rig.Press(rig.State().config.Keys.Ending);
    rig.RunTo(TickOf(6));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(4)), Join({Repeat(Basic, 8), Repeat(Ending, 4)}));
    EXPECT_EQ(rig.Player().StyleActive, 0) << "the transport stopped by itself";
    const auto after = rig.Out.Where([](const SentMessage& m) { return m.IsNoteOn() && m.Tick >= TickOf(4); });
    EXPECT_TRUE(after.empty()) << "nothing plays after the ending";
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
}

TEST(EndingKey, WithoutAnEndingPartOrWithPlayEndingOffFadesTheMainPartOutAndStops) {
    for (bool hasEnding : {false, true}) {
        TransportRig rig;
        rig.Options().PlayEnding = !hasEnding;  // the ending is there, but not to be played
        StyleBuilder b = Parts({StylePart::Basic});
        if (hasEnding) Beats(b, StylePart::Ending);
        rig.Start(b);
        rig.RunTo(TickOf(1, 2));
        rig.Press(rig.State().config.Keys.Ending);
        rig.RunTo(TickOf(12));
        EXPECT_TRUE(rig.StartsOf(0, NoteOf(StylePart::Ending)).empty()) << "ending part " << hasEnding;
        const auto basic = rig.Out.NoteOns(0);
        ASSERT_GE(basic.size(), 8u);
        EXPECT_LT(basic.back().Data2, basic[basic.size() - 2].Data2) << "the main part fades";
        EXPECT_EQ(rig.Player().StyleActive, 0) << "ending part " << hasEnding;
        EXPECT_GT(rig.Player().FadeAmount, 110);
        EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
    }
}

TEST(Intro, EndsIntoBasicWithoutAGapAndItsSoundingNotesAreReleasedAtTheSwitch) {
    TransportRig rig;
    rig.Options().PlayIntro = true;
    StyleBuilder b;
    Beats(b, StylePart::Intro).NoteOn(1, 50, 100, 0);  // still sounding when the intro ends
    Beats(b, StylePart::Basic);
    rig.Start(b);
    rig.RunTo(TickOf(3));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(3)), Join({Repeat(0, 4), Repeat(Basic, 4)}));
    const auto released = rig.Out.Where([](const SentMessage& m) {
        return m.Channel() == 1 && (m.IsController(123) || m.IsController(120) || (m.IsNoteOff() && m.Data1 == 50));
    });
    ASSERT_FALSE(released.empty());
    EXPECT_EQ(released.front().Tick, TickOf(2)) << "released as Basic starts";
}

TEST(SwitchSection, ToAnAbsentPartWithoutFallbackChangesNothingFillInExtendedFallsBackToExtendedAndToExtendedToBasic) {
    TransportRig rig;
    StyleBuilder b = Parts({StylePart::Basic, StylePart::Extended});
    rig.Start(b);
    rig.RunTo(TickOf(1, 3));
    const engine::StylePlayerState before = rig.Player();
    EXPECT_FALSE(rig.Transport.SwitchSection(data::Index(StylePart::ToBasic)));
    EXPECT_EQ(rig.Player().CurrentSection, before.CurrentSection);
    EXPECT_EQ(rig.Player().StylePos, before.StylePos);
    EXPECT_EQ(rig.Player().LoopEnd, before.LoopEnd);
    rig.RunTo(TickOf(3));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(3)), Repeat(Basic, 8));

    EXPECT_TRUE(rig.Transport.SwitchSection(data::Index(StylePart::FillInExtended)));
    EXPECT_EQ(rig.Player().CurrentSection, Extended);
    EXPECT_TRUE(rig.Transport.SwitchSection(data::Index(StylePart::ToExtended)));
    EXPECT_EQ(rig.Player().CurrentSection, Basic);
}

TEST(SwitchSection, AFillInsideItsRangeIgnoresBeatOffsetsThatPointOutsideIt) {
    TransportRig rig;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("1/4"));
    StyleBuilder b = Parts({StylePart::Basic, StylePart::FillInBasic});
    b.AdjustParts([](data::PartTable& parts) { parts[4].Beat3Offset = parts[1].RangeStart + 3; });
    rig.Start(b);
    rig.RunTo(TickOf(1, 2) + 3);
    rig.Press(rig.State().config.Keys.FillIn);
    rig.RunTo(TickOf(2));
    EXPECT_EQ(rig.StartsOf(0, NoteOf(StylePart::FillInBasic)).front(), TickOf(1, 3))
        << "the fill starts from its beginning";
}

TEST(PlayParts, PlaysTheChosenPartInALoopAndGreysTheSelectorForAnAbsentOne) {
    TransportRig rig;
    StyleBuilder b = Parts({StylePart::Basic, StylePart::FillInBasic});
    ASSERT_TRUE(rig.Load(b));
    rig.Clock.StartVirtual(120);
    rig.Transport.PlayPart(100 + data::Index(StylePart::Ending));
    EXPECT_EQ(rig.Player().StyleActive, 0);
    EXPECT_EQ(rig.Player().CurrentSection, Ending);
    rig.Transport.PlayPart(100 + FillBasic);
    rig.RunTo(TickOf(4));
    EXPECT_EQ(PartsPerBeat(rig, TickOf(4)), Repeat(FillBasic, 12)) << "the fill loops instead of returning";
}

}  // namespace
}  // namespace chordella::testing
