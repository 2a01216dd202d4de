// Each bundled style performed as a song uses it — intro, a verse on Basic with its fill, To
// Ext., a chorus on Extended with its fill, To Basic, a verse again, the ending — over
// C Am Dm7 G7 C Am F G7, and listened to as a session player listens, after the engine's
// default compressor: no note outside the key that fails to move on by step, no note that
// a chord change re-voices only to end it on the same tick, accents that survive the
// compressor, open hi-hats that ring, a chorus whose drums build, and a bass that lands on
// the root when the measure begins. The figures are recorded as test properties
// (--gtest_output=json) so that a change of a style can be weighed before and after.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "audition/StyleAudition.h"
#include "data/StyleFile.h"
#include "BundledStyles.h"

namespace chordella::tools {
namespace {

constexpr int DrumChannel = 9;
constexpr int OpenHat = 46, ClosedHat = 42, PedalHat = 44;
constexpr int SixteenthTicks = 6;
constexpr int ChordSpreadTicks = 2;   // notes starting this close together sound as one chord
constexpr int Intro = 0, Basic = 1, Extended = 2, Ending = 3;

data::StyleImage ReadStyle(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    data::StyleImage image;
    std::string error;
    EXPECT_TRUE(data::ReadStyleFile(bytes, image, error)) << path << ": " << error;
    return image;
}

// The song: the intro over C, then the progression four times round the parts.
AuditionPlan SongThroughEveryPart(int introMeasures) {
    using K = AuditionKey;
    const AuditionMeasure C{48, 1}, Am{57, 2}, Dm7{50, 4}, G7{55, 3}, F{53, 1};
    const auto with = [](AuditionMeasure m, K key) { return m.Key = key, m; };
    AuditionPlan plan;
    plan.Measures.assign(static_cast<std::size_t>(std::max(introMeasures, 1)), C);
    for (K last : {K::FillIn, K::ToExtended, K::FillIn, K::ToBasic})
        plan.Measures.insert(plan.Measures.end(), {C, Am, Dm7, G7, C, Am, F, with(G7, last)});
    plan.Measures.insert(plan.Measures.end(), {C, Am, Dm7, G7, with(C, K::Ending)});
    plan.MeasuresToEnd = 6;
    return plan;
}

struct Note {
    std::int64_t Tick;
    int Key;
    int Velocity;
};

struct Performance {
    AuditionPlan Plan;
    AuditionReport Report;
    int MeasureTicks = 0;
    int BassChannel = -1;
    std::map<int, std::vector<Note>> Channels;   // note starts by channel, in time order
    std::vector<std::string> Ghosts;             // notes ended on the tick they started (channel:key@tick)

    int PartOf(std::size_t measure) const {
        return measure < Report.MeasureParts.size() ? Report.MeasureParts[measure] : -1;
    }
};

Performance Perform(const std::string& name) {
    Performance song;
    std::vector<std::uint8_t> bytes;
    const data::StyleImage style = ReadStyle(BundledStylePath(name), bytes);
    song.MeasureTicks = std::abs(style.Header.StyleMeter) / 4 * 24;
    for (int c = 0; c < data::StyleChannels; ++c) {
        const int program = style.Header.ChannelSetup[static_cast<std::size_t>(c)][data::SetupProgramIndex];
        if (c != DrumChannel && program >= 32 && program <= 39 && song.BassChannel < 0) song.BassChannel = c;
    }
    song.Plan = SongThroughEveryPart(style.Parts[Intro].LengthMeasures);
    std::map<int, std::int64_t> started;   // channel × 128 + key → tick of its note-on
    const AuditionListener listen = [&](const AuditionMessage& m) {
        const int kind = m.Status & 0xF0, channel = m.Status & 0x0F, id = channel * 128 + m.Data1;
        if (kind == 0x90 && m.Data2 > 0) {
            song.Channels[channel].push_back({m.Tick, m.Data1, m.Data2});
            started[id] = m.Tick;
        } else if (const auto on = started.find(id);
                   (kind == 0x80 || kind == 0x90) && channel != DrumChannel && on != started.end() && on->second == m.Tick) {
            song.Ghosts.push_back(std::to_string(channel + 1) + ":" + std::to_string(m.Data1) + "@" + std::to_string(m.Tick));
        }
    };
    std::string error;
    EXPECT_TRUE(PerformAudition(BundledStylePath(name), song.Plan, listen, song.Report, error)) << error;
    return song;
}

bool InKeyOfC(int key) {
    static const std::set<int> major = {0, 2, 4, 5, 7, 9, 11};
    return major.count(key % 12) > 0;
}

// A note outside the key resolves when the channel's next chord (or note) holds a note a half
// or whole step away from it, as a leading tone or a passing note goes on.
std::vector<std::string> UnresolvedChromatics(const std::vector<Note>& notes) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (InKeyOfC(notes[i].Key)) continue;
        std::size_t chordEnd = i;
        while (chordEnd < notes.size() && notes[chordEnd].Tick <= notes[i].Tick + ChordSpreadTicks) ++chordEnd;
        bool resolved = false;
        for (std::size_t j = chordEnd; j < notes.size() && notes[j].Tick <= notes[chordEnd].Tick + ChordSpreadTicks; ++j) {
            const int step = std::abs(notes[j].Key - notes[i].Key);
            resolved = resolved || step == 1 || step == 2;
        }
        if (!resolved) found.push_back(std::to_string(notes[i].Key) + "@" + std::to_string(notes[i].Tick));
    }
    return found;
}

std::set<int> Velocities(const std::vector<Note>& notes) {
    std::set<int> velocities;
    for (const Note& n : notes) velocities.insert(n.Velocity);
    return velocities;
}

// Open hats followed by a closed or pedal hat within a sixteenth: on a General MIDI kit the
// closed hat silences the open one before it is heard.
int ChokedOpenHats(const std::vector<Note>& drums) {
    int choked = 0;
    for (std::size_t i = 0; i < drums.size(); ++i) {
        if (drums[i].Key != OpenHat) continue;
        for (const Note& later : drums) {
            if (later.Tick < drums[i].Tick || later.Tick > drums[i].Tick + SixteenthTicks) continue;
            if (later.Key == ClosedHat || later.Key == PedalHat) {
                ++choked;
                break;
            }
        }
    }
    return choked;
}

// The drums' onsets per measure of a part: the moments a stroke starts, strokes together (a
// crash on the kick, a flam) counted once, so that a chorus builds by playing more of the
// bar, not by doubling what the verse plays.
double DrumOnsetsPerMeasure(const Performance& song, int part) {
    std::map<std::size_t, std::vector<std::int64_t>> onsets;   // measure → onset ticks
    for (std::size_t m = 0; m < song.Report.MeasureParts.size(); ++m)
        if (song.PartOf(m) == part) onsets[m];
    const auto drums = song.Channels.find(DrumChannel);
    if (onsets.empty() || drums == song.Channels.end()) return 0;
    for (const Note& n : drums->second) {
        const auto m = onsets.find(static_cast<std::size_t>(n.Tick / song.MeasureTicks));
        if (m != onsets.end() && (m->second.empty() || n.Tick > m->second.back() + ChordSpreadTicks)) m->second.push_back(n.Tick);
    }
    std::size_t total = 0;
    for (const auto& [m, ticks] : onsets) total += ticks.size();
    return static_cast<double>(total) / static_cast<double>(onsets.size());
}

// Of the measures that follow the player's chords (all but the intro and the ending, which
// play their own cadence over the held chord), the share whose first beat has the bass on
// the chord's root.
double BassRootsOnTheOne(const Performance& song, std::vector<std::size_t>& missed) {
    const auto bass = song.Channels.find(song.BassChannel);
    int measures = 0, rooted = 0;
    for (std::size_t m = 0; m < song.Plan.Measures.size(); ++m) {
        const int part = song.PartOf(m);
        if (part < 0 || part == Intro || part == Ending) continue;
        ++measures;
        const std::int64_t one = static_cast<std::int64_t>(m) * song.MeasureTicks;
        const bool root = bass != song.Channels.end() &&
                          std::any_of(bass->second.begin(), bass->second.end(), [&](const Note& n) {
                              return n.Tick >= one && n.Tick <= one + 3 && n.Key % 12 == song.Plan.Measures[m].Root % 12;
                          });
        rooted += root ? 1 : 0;
        if (!root) missed.push_back(m + 1);
    }
    return measures == 0 ? 0 : static_cast<double>(rooted) / measures;
}

std::string Join(const std::vector<std::string>& items) {
    std::ostringstream text;
    for (const auto& item : items) text << item << ' ';
    return text.str();
}

class BundledBandTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BundledBandTest, PlaysLikeABandThroughASongOverAMinorChord) {
    const Performance song = Perform(GetParam());
    ASSERT_TRUE(song.Report.EndedByItself) << "the ending stops the song";
    ASSERT_GE(song.BassChannel, 0) << "no channel plays a bass program";

    int unresolved = 0, fewestVelocities = 128;
    for (const auto& [channel, notes] : song.Channels) {
        if (channel == DrumChannel) continue;
        const auto wrong = UnresolvedChromatics(notes);
        unresolved += static_cast<int>(wrong.size());
        EXPECT_TRUE(wrong.empty()) << "channel " << channel + 1 << ": notes outside the key that go nowhere (key@tick): " << Join(wrong);
        const std::set<int> velocities = Velocities(notes);
        fewestVelocities = std::min(fewestVelocities, static_cast<int>(velocities.size()));
        std::vector<std::string> heard;
        for (int v : velocities) heard.push_back(std::to_string(v));
        EXPECT_GE(velocities.size(), 8u) << "channel " << channel + 1 << " is flattened by the compressor to " << Join(heard);
    }
    EXPECT_TRUE(song.Ghosts.empty()) << "notes re-voiced by a chord change as they end (channel:key@tick): " << Join(song.Ghosts);
    const auto drums = song.Channels.find(DrumChannel);
    ASSERT_NE(drums, song.Channels.end());
    const int choked = ChokedOpenHats(drums->second);
    EXPECT_EQ(choked, 0) << "open hi-hats cut by a closed or pedal hat within a sixteenth";

    const double basic = DrumOnsetsPerMeasure(song, Basic), extended = DrumOnsetsPerMeasure(song, Extended);
    ASSERT_GT(basic, 0);
    const double lift = extended / basic;
    EXPECT_GE(lift, 1.1) << "the chorus's drums start " << extended << " times a measure, the verse's " << basic;

    std::vector<std::size_t> missed;
    const double roots = BassRootsOnTheOne(song, missed);
    std::vector<std::string> measures;
    for (std::size_t m : missed) measures.push_back(std::to_string(m));
    EXPECT_GE(roots, 0.9) << "bass off the root on beat one in measures " << Join(measures);

    RecordProperty("unresolved", unresolved);
    RecordProperty("ghost_notes", static_cast<int>(song.Ghosts.size()));
    RecordProperty("fewest_velocities", fewestVelocities);
    RecordProperty("choked_open_hats", choked);
    RecordProperty("extended_over_basic_x100", static_cast<int>(lift * 100 + 0.5));
    RecordProperty("bass_root_on_one_percent", static_cast<int>(roots * 100 + 0.5));
}

INSTANTIATE_TEST_SUITE_P(Styles, BundledBandTest, ::testing::ValuesIn(BundledStyleNames()),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

}  // namespace
}  // namespace chordella::tools
