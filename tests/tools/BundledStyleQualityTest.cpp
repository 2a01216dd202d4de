// What keeps the bundled styles sounding played rather than programmed: velocities are shaped
// (pitched parts over at least 20 values, drums over at least 30), the feel shows as notes
// off the straight sixteenth grid, every part fills its declared length, and the main parts
// are phrases of four or more measures whose measures are not copies of each other, with a
// bass that moves through the chord.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "core/StyleStore.h"
#include "engine/EngineRig.h"
#include "support/StreamMessages.h"
#include "BundledStyles.h"

namespace chordella::tools {
namespace {

using testing::EngineRig;
using testing::StreamMessage;

struct LoadedStyle {
    EngineRig Rig;
    int MeasureTicks = 0;
    std::array<std::vector<StreamMessage>, data::PartCount> Parts;   // ticks from the part's start
    std::array<std::int64_t, data::PartCount> PartTicks{};          // the waits of each part's range

    explicit LoadedStyle(const std::string& name) {
        data::StyleStore store(Rig.Session());
        EXPECT_EQ(store.Load(BundledStylePath(name)), data::StyleLoadResult::Loaded);
        const data::StyleState& style = Rig.Session().Style().style;
        MeasureTicks = style.Header.StyleMeter / 4 * 24;
        for (std::size_t p = 0; p < data::PartCount; ++p) {
            const auto& part = style.Parts[p];
            const std::span range(style.StreamBytes() + part.RangeStart,
                                  static_cast<std::size_t>(part.RangeEnd - part.RangeStart));
            Parts[p] = testing::StreamMessagesOf(range);
            for (std::uint8_t b : range) PartTicks[p] += data::stream::IsWait(b) ? data::stream::WaitTicks(b) : 0;
        }
    }
    int Measures(std::size_t part) { return Rig.Session().Style().style.Parts[part].LengthMeasures; }
};

bool IsNoteStart(const StreamMessage& m) { return (m.Status & 0xF0) == 0x90 && m.Data2 > 0; }

class BundledStyleQualityTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BundledStyleQualityTest, VelocitiesAreShapedAndTheFeelLeavesTheStraightGrid) {
    LoadedStyle style(GetParam());
    std::set<int> pitched, drums;
    int offGrid = 0;
    for (const auto& part : style.Parts) {
        for (const auto& m : part) {
            if (!IsNoteStart(m)) continue;
            ((m.Status & 0x0F) == 9 ? drums : pitched).insert(m.Data2);
            offGrid += m.Tick % 6 != 0 ? 1 : 0;
        }
    }
    ASSERT_FALSE(pitched.empty());
    ASSERT_FALSE(drums.empty());
    EXPECT_GE(*pitched.rbegin() - *pitched.begin(), 20) << "pitched velocities " << *pitched.begin() << " … " << *pitched.rbegin();
    EXPECT_GE(*drums.rbegin() - *drums.begin(), 30) << "drum velocities " << *drums.begin() << " … " << *drums.rbegin();
    EXPECT_GT(offGrid, 0) << "every note sits on the sixteenth grid: no swing, nothing laid back or pushed";
}

TEST_P(BundledStyleQualityTest, PartsFillTheirLengthAndMainPartsArePhrasesThatMove) {
    LoadedStyle style(GetParam());
    for (std::size_t p = 0; p < data::PartCount; ++p) {
        SCOPED_TRACE("part " + std::to_string(p));
        EXPECT_EQ(style.PartTicks[p], static_cast<std::int64_t>(style.Measures(p)) * style.MeasureTicks) << "shorter than declared";
        bool drums = false, pitched = false;
        for (const auto& m : style.Parts[p]) {
            if (!IsNoteStart(m)) continue;
            ((m.Status & 0x0F) == 9 ? drums : pitched) = true;
        }
        EXPECT_TRUE(drums && pitched) << "a part without drums or without pitched notes";
    }
    for (data::StylePart main : {data::StylePart::Basic, data::StylePart::Extended}) {
        const auto p = static_cast<std::size_t>(data::Index(main));
        SCOPED_TRACE("main part " + std::to_string(p));
        const int measures = style.Measures(p);
        EXPECT_GE(measures, 4) << "a main part is a phrase of four or eight measures";
        // Each measure's note starts (place in the measure, channel, key, velocity). A note held
        // a whole measure or longer (a pad) is left out: holding it is no variation.
        std::vector<std::vector<std::tuple<std::int64_t, int, int, int>>> bars(static_cast<std::size_t>(measures));
        const auto& events = style.Parts[p];
        for (std::size_t i = 0; i < events.size(); ++i) {
            const StreamMessage& m = events[i];
            if (!IsNoteStart(m)) continue;
            const auto end = std::find_if(events.begin() + static_cast<std::ptrdiff_t>(i) + 1, events.end(), [&](const StreamMessage& e) {
                return (e.Status & 0x0F) == (m.Status & 0x0F) && e.Data1 == m.Data1 &&
                       ((e.Status & 0xF0) == 0x80 || ((e.Status & 0xF0) == 0x90 && e.Data2 == 0));
            });
            if (end != events.end() && end->Tick - m.Tick >= style.MeasureTicks - 1) continue;
            const auto bar = static_cast<std::size_t>(std::min<std::int64_t>(m.Tick / style.MeasureTicks, measures - 1));
            bars[bar].emplace_back(m.Tick % style.MeasureTicks, m.Status, m.Data1, m.Data2);
        }
        for (std::size_t b = 1; b < bars.size(); ++b)
            EXPECT_NE(bars[b], bars[b - 1]) << "measure " << b + 1 << " repeats measure " << b;
        EXPECT_NE(bars.back(), bars.front()) << "the last measure does not lead into the next phrase";

        // The bass (a General MIDI bass program) moves through the chord, not only on its root.
        const auto& setup = style.Rig.Session().Style().style.Header.ChannelSetup;
        std::set<int> bassDegrees;
        for (const auto& m : events) {
            const auto program = setup[static_cast<std::size_t>(m.Status & 0x0F)][data::SetupProgramIndex];
            if (IsNoteStart(m) && (m.Status & 0x0F) != 9 && program >= 32 && program <= 39) bassDegrees.insert(m.Data1 % 12);
        }
        EXPECT_GE(bassDegrees.size(), 3u) << "the bass plays " << bassDegrees.size() << " pitch classes over C";
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, BundledStyleQualityTest, ::testing::ValuesIn(BundledStyleNames()),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

}  // namespace
}  // namespace chordella::tools
