// The bundled styles played by the real engine on the virtual clock, every part under a
// chord progression and then under all seventeen chord types: every note ends inside its
// part, every pitched note fits the chord it sounds over, and rendered through the built-in
// synth the start-up style is heard.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "audition/StyleAudition.h"
#include "engine/EngineRig.h"
#include "engine/TransportRig.h"
#include "support/StuckNotes.h"
#include "BundledStyles.h"
#include "midi/SynthRenderer.h"

namespace chordella::tools {
namespace {

using testing::EngineRig;
using testing::SentMessage;

struct ChordSymbol {
    const char* Name;
    int Root;
    int Type;
    std::set<int> Scale;   // pitch classes from the root a player accepts over the chord
};

const std::vector<ChordSymbol> Progression = {
    {"C", 48, 1, {0, 2, 4, 5, 7, 9, 11}},      {"Am", 57, 2, {0, 2, 3, 5, 7, 8, 9, 10, 11}},
    {"F", 53, 1, {0, 2, 4, 5, 7, 9, 11}},      {"G7", 55, 3, {0, 2, 4, 5, 7, 9, 10}},
    {"Dm7", 50, 4, {0, 2, 3, 5, 7, 9, 10}},    {"Bb", 58, 1, {0, 2, 4, 5, 7, 9, 11}},
    {"E", 52, 1, {0, 2, 4, 5, 7, 9, 11}},      {"F#m", 54, 2, {0, 2, 3, 5, 7, 8, 9, 10, 11}},
};

std::string StylePath(const std::string& name) { return BundledStylePath(name); }

// Plays one part twice, one chord of the progression per measure, then under every chord
// type, and checks it.
void PlayPartUnderChords(const std::string& style, int part) {
    EngineRig rig;
    data::StyleStore store(rig.Session());
    ASSERT_EQ(store.Load(StylePath(style)), data::StyleLoadResult::Loaded);
    const auto& loaded = rig.Session().Style().style;
    const int measureTicks = (loaded.Header.StyleMeter / 4) * 24;
    const int measures = loaded.Parts[static_cast<std::size_t>(part)].LengthMeasures;
    rig.Clock.StartVirtual(loaded.Header.StyleTempo);
    ASSERT_TRUE(rig.Accompaniment.Sections().PlayPart(part));

    int pitchedNotes = 0, drumNotes = 0;
    for (int m = 0; m < measures * 2; ++m) {   // two passes: the loop back must be clean too
        const ChordSymbol& chord = Progression[static_cast<std::size_t>(m) % Progression.size()];
        const std::size_t first = rig.Out.Messages.size();
        rig.Chord(chord.Root, chord.Type);
        rig.Run(measureTicks);
        for (std::size_t i = first; i < rig.Out.Messages.size(); ++i) {
            const SentMessage& msg = rig.Out.Messages[i];
            if (!msg.IsNoteOn()) continue;
            if (msg.Channel() == 9) {
                ++drumNotes;
                continue;
            }
            ++pitchedNotes;
            const int degree = ((msg.Data1 - chord.Root) % 12 + 12) % 12;
            EXPECT_TRUE(chord.Scale.count(degree)) << "note " << int(msg.Data1) << " on channel " << msg.Channel() + 1
                                                   << " over " << chord.Name << " in measure " << m + 1;
        }
        if ((m + 1) % measures == 0) {
            EXPECT_TRUE(testing::NoStuckNotes(rig.Out.Messages)) << "at the end of the part, measure " << m + 1;
        }
    }
    EXPECT_GT(drumNotes, 0);
    EXPECT_GT(pitchedNotes, 0);

    // Then the types 1 … 17 in turn on roots round the circle, a chord every half measure,
    // until every type has sounded and the part has ended again.
    const int pass = 2 * measures;
    const int halves = (17 + pass - 1) / pass * pass;
    for (int h = 0; h < halves; ++h) {
        rig.Chord(48 + (h * 7) % 12, 1 + h % 17);
        rig.Run(measureTicks / 2);
        if ((h + 1) % pass == 0) {
            EXPECT_TRUE(testing::NoStuckNotes(rig.Out.Messages)) << "at the end of a pass, half measure " << h + 1;
        }
    }
}

class BundledStylePlayTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BundledStylePlayTest, EveryPartEndsItsNotesUnderEveryChordTypeAndFitsTheChordsPlayed) {
    for (int part = 0; part < data::PartCount; ++part) {
        SCOPED_TRACE("part " + std::to_string(part));
        PlayPartUnderChords(GetParam(), part);
    }
}

// A performance through the transport: the intro flows into Basic, To Ext. leads into
// Extended, a fill returns to it, and the Ending ends the song by itself, every note ended.
TEST_P(BundledStylePlayTest, ThroughTheTransportTheIntroLeadsInAndTheEndingEndsTheSong) {
    testing::TransportRig rig;
    rig.Options().PlayIntro = true;
    data::StyleStore store(rig.Session());
    ASSERT_EQ(store.Load(StylePath(GetParam())), data::StyleLoadResult::Loaded);
    const auto& style = rig.Session().Style().style;
    const int measure = (style.Header.StyleMeter / 4) * 24;
    const auto measuresOf = [&](data::StylePart part) { return style.Parts[static_cast<std::size_t>(data::Index(part))].LengthMeasures; };
    const data::ControlKeys& keys = rig.State().config.Keys;
    auto& player = rig.Player();

    // Control keys take effect at the next measure, as a player sets the quantize for the style.
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf(style.Header.StyleMeter == 12 ? "3/4" : "4/4"));
    rig.Clock.StartVirtual(style.Header.StyleTempo);
    rig.Transport.StartStyle();
    rig.Chord(48, 1);
    ASSERT_EQ(player.StyleActive, 1);
    EXPECT_EQ(player.CurrentSection, data::Index(data::StylePart::Intro));
    rig.Run(measuresOf(data::StylePart::Intro) * measure + 2);
    EXPECT_EQ(player.CurrentSection, data::Index(data::StylePart::Basic)) << "the intro flows into Basic";

    rig.Chord(57, 2);
    rig.Press(keys.ToExtended);
    rig.Run((measuresOf(data::StylePart::ToExtended) + 1) * measure);
    EXPECT_EQ(player.CurrentSection, data::Index(data::StylePart::Extended)) << "To Ext. leads into Extended";
    rig.Chord(55, 3);
    rig.Press(keys.FillIn);
    rig.Run(2 * measure);
    EXPECT_EQ(player.CurrentSection, data::Index(data::StylePart::Extended)) << "the fill returns to Extended";

    rig.Chord(48, 1);
    rig.Press(keys.Ending);
    rig.Run((measuresOf(data::StylePart::Ending) + 2) * measure);
    EXPECT_EQ(player.StyleActive, 0) << "the ending stops the style by itself";
    EXPECT_TRUE(testing::NoStuckNotes(rig.Out.Messages));
}

INSTANTIATE_TEST_SUITE_P(Styles, BundledStylePlayTest,
                         ::testing::ValuesIn(BundledStyleNames()),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

TEST(BundledStyleRenderTest, TheStartUpStylePerformedThroughTheSynthIsHeardFromIntroToEnding) {
    std::string error;
    auto renderer = midi::SynthRenderer::Create(error);
    if (!renderer) GTEST_SKIP() << "no built-in synth here: " << error;
    AuditionReport report;
    const AuditionPlan plan = DefaultAudition(4);
    ASSERT_TRUE(RenderAudition(StylePath("cont1.vxs"), plan, *renderer, report, error)) << error;
    EXPECT_EQ(report.Tempo, 108);
    EXPECT_TRUE(report.EndedByItself) << "the Ending stops the style";
    EXPECT_EQ(report.PartsPlayed, (std::vector<int>{0, 1, 4, 1, 6, 2, 5, 2, 7, 1, 3})) << "every part in its place";
    EXPECT_GT(report.NotesStarted, 500);
    const double rms = RootMeanSquare(renderer->Samples());
    EXPECT_GT(rms, 0.01) << "the render is (nearly) silent";
    EXPECT_LT(rms, 0.5) << "the render is distorted";
    // Sound from the very start (the intro) to the ending: no silent stretch of a measure.
    const auto& samples = renderer->Samples();
    const std::size_t window = static_cast<std::size_t>(renderer->SampleRate() * 2 * 60 / 108 * 4);
    for (std::size_t start = 0; start + window < samples.size() - renderer->SampleRate() * 2 * 3; start += window) {
        std::vector<std::int16_t> piece(samples.begin() + static_cast<std::ptrdiff_t>(start),
                                        samples.begin() + static_cast<std::ptrdiff_t>(start + window));
        EXPECT_GT(RootMeanSquare(piece), 0.003) << "silent measure at " << start / 2 / renderer->SampleRate() << " s";
    }
}

}  // namespace
}  // namespace chordella::tools
