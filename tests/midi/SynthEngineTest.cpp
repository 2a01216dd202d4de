// The live synth's render path: every message starts at its own frame a fixed delay after
// it was played, and the output stage keeps the sound inside its ceiling and free of DC.
#include "midi/SynthEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "midi/OutputStage.h"
#include "midi/Synth.h"
#include "platform/Files.h"

namespace chordella::midi {
namespace {

constexpr int Rate = 48000;
constexpr std::uint32_t Frames = 256;
constexpr std::int64_t PeriodMicros = 5333;  // 256 frames at 48 kHz
constexpr const char* SmallFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

PeriodTime Period(int index) { return {true, index * PeriodMicros, PeriodMicros}; }

// The first frame of `left` louder than -80 dBFS, or -1.
int FirstSound(const std::vector<float>& left) {
    for (std::size_t i = 0; i < left.size(); ++i)
        if (std::fabs(left[i]) > 1e-4f) return static_cast<int>(i);
    return -1;
}

struct LiveSynth {
    std::unique_ptr<Synth> synth;
    std::unique_ptr<SynthEngine> engine;
    std::vector<float> left = std::vector<float>(Frames), right = std::vector<float>(Frames);
    int period = 0;

    // Loaded and ready unless `loaded` is false.
    bool Make(std::string& error, bool loaded = true) {
        synth = Synth::Create(Rate, error);
        if (!synth || (loaded && !synth->LoadSoundFont(SmallFont, error))) return false;
        engine = std::make_unique<SynthEngine>(*synth, Rate);
        engine->SetEffects({false, 0, false, 0});  // a dry sound ends when its notes end
        if (loaded) Ready();
        return true;
    }
    // The very first note of a synthesizer starts a little softer: one is played and
    // silenced before anything is measured.
    void Ready() {
        engine->Ready();
        Send({0x90, 60, 100}, 0);
        for (int i = 0; i < 4; ++i) Render();
        Send({0x80, 60, 0}, 0);
        Silence();
    }
    void Render() { engine->Render(Frames, left.data(), right.data(), Period(period++)); }
    void Send(std::vector<std::uint8_t> bytes, std::int64_t micros) {
        ASSERT_TRUE(engine->Queue(bytes.data(), bytes.size(), micros));
    }
    // Renders until a period sounds: its index after `from` and the first loud frame in it.
    std::pair<int, int> RenderUntilSound(int from) {
        for (int i = 0; i < 8; ++i) {
            Render();
            if (const int frame = FirstSound(left); frame >= 0) return {period - 1 - from, frame};
        }
        return {-1, -1};
    }
    void Silence() {
        Send({0xB0, 120, 0}, 0);  // all sound off
        for (int i = 0; i < 40; ++i) Render();
    }
};

TEST(SynthEngine, AKeyPlayedAnywhereInAPeriodSoundsOnePeriodLaterWhereItsBlockBegins) {
    if (!platform::FileExists(SmallFont)) GTEST_SKIP() << SmallFont << " is not installed";
    LiveSynth live;
    std::string error;
    ASSERT_TRUE(live.Make(error)) << error;
    int onset = -1;
    // FluidSynth starts voices on 64-frame blocks: keys on a block's first frame show the
    // delay exactly, the same wherever in the period they fall.
    for (const int offset : {0, 64, 128, 192}) {
        SCOPED_TRACE(offset);
        const int played = live.period;
        live.Send({0x90, 60, 100}, played * PeriodMicros + offset * PeriodMicros / Frames + 1);
        const auto [periodsLater, frame] = live.RenderUntilSound(played);
        ASSERT_EQ(periodsLater, 1) << "the key sounds in the next period";
        if (onset < 0) onset = frame - offset;
        EXPECT_EQ(frame - offset, onset) << "the same delay from key to sound";
        live.Send({0x80, 60, 0}, 0);
        live.Silence();
    }
    EXPECT_LT(onset, 64) << "the piano's attack is under a block";
    // Inside a block a key starts where its block begins: early, never late.
    const int played = live.period;
    live.Send({0x90, 60, 100}, played * PeriodMicros + 100 * PeriodMicros / Frames);
    const auto [periodsLater, frame] = live.RenderUntilSound(played);
    EXPECT_EQ(periodsLater, 1);
    EXPECT_EQ(frame, 64 + onset);
}

TEST(SynthEngine, MessagesWaitForReadinessAndTheirTimeAndALateOneStartsAtOnce) {
    if (!platform::FileExists(SmallFont)) GTEST_SKIP() << SmallFont << " is not installed";
    LiveSynth live;
    std::string error;
    ASSERT_TRUE(live.Make(error, false)) << error;
    live.Send({0x90, 60, 100}, 0);
    live.Render();
    live.Render();
    EXPECT_EQ(FirstSound(live.left), -1) << "silence while the SoundFont loads";
    ASSERT_TRUE(live.synth->LoadSoundFont(SmallFont, error)) << error;
    live.engine->Ready();
    live.Render();
    EXPECT_GE(FirstSound(live.left), 0) << "the note waited in the ring";
    EXPECT_EQ(live.engine->LateMessages(), 1u);

    live.Send({0x80, 60, 0}, 0);
    live.Silence();
    // Played at the start of the third period from now: heard a period later.
    live.Send({0x90, 64, 100}, (live.period + 3) * PeriodMicros);
    for (int i = 0; i < 4; ++i) {
        live.Render();
        EXPECT_EQ(FirstSound(live.left), -1) << "a message never sounds before its time";
    }
    live.Render();
    EXPECT_GE(FirstSound(live.left), 0);
}

TEST(SynthEngine, MalformedMessagesAreRefusedBeforeTheyReachTheAudioThread) {
    std::string error;
    auto synth = Synth::Create(Rate, error);
    if (!synth) GTEST_SKIP() << error;
    SynthEngine engine(*synth, Rate);
    const std::vector<std::vector<std::uint8_t>> bad = {
        {}, {0x40}, {0x90, 60}, {0x90, 0x80, 1}, {0xF0, 0x7E}, {0xF7}, {0xC0, 1, 2}};
    for (const auto& bytes : bad) EXPECT_FALSE(engine.Queue(bytes.data(), bytes.size(), 0)) << bytes.size();
    const std::vector<std::uint8_t> reset = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_TRUE(engine.Queue(reset.data(), reset.size(), 0));
}

// A loud square wave with a DC offset: what a dense band through a loud SoundFont can do.
struct StageCase { const char* Name; float Amplitude; float Offset; float Volume; };

class OutputStageCases : public ::testing::TestWithParam<StageCase> {};

TEST_P(OutputStageCases, NoSampleLeavesAboveTheCeilingAndTheOffsetIsGone) {
    const StageCase c = GetParam();
    OutputStage stage(Rate);
    stage.SetVolume(c.Volume);
    std::vector<float> left(Rate), right(Rate);
    for (std::size_t i = 0; i < left.size(); ++i) {
        const float wave = (i / 48) % 2 ? c.Amplitude : -c.Amplitude;  // 500 Hz
        left[i] = wave + c.Offset;
        right[i] = -wave + c.Offset;
    }
    for (std::size_t at = 0; at < left.size(); at += Frames)
        stage.Process(&left[at], &right[at], std::min<std::size_t>(Frames, left.size() - at));
    float peak = 0;
    double sum = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
        if (i >= left.size() / 2) sum += left[i];
    }
    EXPECT_LE(peak, OutputStage::Ceiling + 1e-6f);
    EXPECT_LT(std::fabs(sum / (left.size() / 2)), 0.001) << "DC left after half a second";
    const float expected = std::min(c.Amplitude * c.Volume, OutputStage::Ceiling);
    EXPECT_NEAR(std::fabs(left.back()), expected, expected * 0.1f) << "the wave itself passes";
}

INSTANTIATE_TEST_SUITE_P(Levels, OutputStageCases,
                         ::testing::Values(StageCase{"quiet", 0.2f, 0.0f, 1.0f}, StageCase{"offset", 0.2f, 0.3f, 1.0f},
                                           StageCase{"twice_full_scale", 2.0f, 0.1f, 1.0f},
                                           StageCase{"turned_down", 2.0f, 0.0f, 0.25f}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace chordella::midi
