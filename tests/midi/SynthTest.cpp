// The built-in synth, rendered to a file and measured.
#include "midi/SynthRenderer.h"

#include <gtest/gtest.h>

#include "midi/MidiOutput.h"
#include "midi/SynthBackend.h"
#include "support/TempFolder.h"
#include "support/WavFile.h"

namespace chordella::midi {
namespace {

using testing::ReadWav;
using testing::Rms;
using testing::Wav;

TEST(Synth, ACMajorChordWithDrumsRendersToASoundingWavOfTheRightLength) {
    if (FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    std::vector<TimedMessage> song;
    song.push_back({0, {0xC0, 0}});  // piano
    for (std::uint8_t note : {60, 64, 67}) song.push_back({0, {0x90, note, 100}});
    for (int beat = 0; beat < 4; ++beat) {
        const std::int64_t at = beat * 500'000;
        song.push_back({at, {0x99, static_cast<std::uint8_t>(beat % 2 ? 38 : 36), 110}});  // kick, snare
        song.push_back({at, {0x99, 42, 90}});                                             // closed hi-hat
    }
    for (std::uint8_t note : {60, 64, 67}) song.push_back({2'000'000, {0x80, note, 0}});
    testing::TempFolder folder;
    const std::string path = folder.Path() + "/chord.wav";
    std::string error;
    ASSERT_TRUE(RenderToWav(song, 3'000'000, path, error)) << error;

    const Wav wav = ReadWav(path);
    EXPECT_EQ(wav.Channels, 2);
    EXPECT_EQ(wav.SampleRate, 44100u);
    EXPECT_EQ(wav.Samples.size(), 3u * 44100 * 2);
    const std::size_t second = 44100 * 2;
    EXPECT_GT(Rms(wav.Samples, 0, second), 300.0) << "the chord and the drums sound";
    EXPECT_LT(Rms(wav.Samples, 2 * second + second / 2, 3 * second), Rms(wav.Samples, 0, second) / 4)
        << "after the note-offs the sound dies away";
}

TEST(Synth, AMakersBassSoundsAsTheGeneralMidiBassTheTableNames) {
    // Bank 8 program 17 on a General MIDI synth is program 17, an organ; with the table it is
    // exactly General MIDI program 33.
    const auto render = [](const std::vector<std::vector<std::uint8_t>>& voice, bool table,
                           std::vector<std::int16_t>& out) {
        std::string error;
        auto renderer = SynthRenderer::Create(error);
        if (!renderer) return false;
        if (table) renderer->SetGeneralMidiVoices({{{8, -1, 17, 33}}, 0});
        for (const auto& m : voice) renderer->PutBytes(m);
        for (std::uint8_t note : {40, 47}) renderer->PutBytes(std::vector<std::uint8_t>{0x92, note, 100});
        renderer->RenderUntil(600'000);
        out = renderer->Samples();
        return true;
    };
    const std::vector<std::vector<std::uint8_t>> maker = {{0xB2, 0, 8}, {0xB2, 32, 0}, {0xC2, 17}};
    std::vector<std::int16_t> asOrgan, asMapped, gmBass;
    if (!render(maker, false, asOrgan)) GTEST_SKIP() << "no synth";
    ASSERT_TRUE(render(maker, true, asMapped));
    ASSERT_TRUE(render({{0xC2, 33}}, false, gmBass));
    EXPECT_EQ(asMapped, gmBass);
    EXPECT_NE(asOrgan, gmBass);
}

TEST(Synth, SilenceRendersAsSilenceAndMalformedMessagesAreRefused) {
    // Also with the voice table that renders to WAV files always use.
    for (const bool table : {false, true}) {
        std::string error;
        auto renderer = SynthRenderer::Create(error);
        if (!renderer) GTEST_SKIP() << error;
        if (table) renderer->SetGeneralMidiVoices({{{8, -1, 17, 33}}, 0});
        EXPECT_FALSE(renderer->PutBytes(std::vector<std::uint8_t>{0x40, 0x10}));
        EXPECT_FALSE(renderer->PutBytes(std::vector<std::uint8_t>{0x90, 0x80, 0x10}));
        EXPECT_FALSE(renderer->PutBytes(std::vector<std::uint8_t>{0x90, 0x40})) << "a note without its velocity";
        EXPECT_FALSE(renderer->PutBytes(std::vector<std::uint8_t>{0xB0, 0x00})) << "a controller without its value";
        EXPECT_FALSE(renderer->PutBytes(std::vector<std::uint8_t>{0xF0, 0x7E}));  // no end of exclusive
        EXPECT_TRUE(renderer->PutBytes(std::vector<std::uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
        renderer->RenderUntil(250'000);
        renderer->RenderUntil(100'000);  // time never runs backwards
        EXPECT_EQ(renderer->Samples().size(), 250u * 441 / 10 * 2);
        EXPECT_LT(Rms(renderer->Samples(), 0, renderer->Samples().size()), 2.0) << "only dither";
    }
}

TEST(Synth, TheSynthIsOutputMinusOneAndOpensOrSaysThereIsNoAudio) {
    SynthBackend backend;
    DeviceCaps caps;
    ASSERT_EQ(backend.OutputCaps(-1, caps), 0);
    EXPECT_EQ(caps.ProductName, "Chordella Synth");
    EXPECT_NE(backend.OutputCaps(0, caps), 0);
    EXPECT_EQ(backend.InputCount(), 0);

    platform::EventLoop loop;
    TMidiOutput output(backend, loop);
    output.SetDeviceID(-1);
    if (output.Open()) {
        output.PutShort(0x90, 60, 100);
        EXPECT_EQ(output.Error(), 0);
        output.SetVolume(65535, 65535);
        EXPECT_TRUE(output.Close());
    } else {
        EXPECT_EQ(output.Error(), result::NoAudioDevice);
        EXPECT_EQ(MidiErrorText(backend, output.Error()), "No audio output device");
        EXPECT_FALSE(output.IsOpen());
    }
}

}  // namespace
}  // namespace chordella::midi
