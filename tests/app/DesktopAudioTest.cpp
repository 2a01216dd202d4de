// The built-in synth's settings in the desktop core: they reach the synth at start-up and
// when the options change, survive the settings file and a restart, wait for the music to
// stop when they reopen the audio; and Start without any audio says why nothing plays.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AudioOptions.h"
#include "desktop/DesktopAudio.h"
#include "support/DesktopRig.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

constexpr int SynthOutput = testing::DesktopRig::SynthOutput;

// The desktop with the bundled files, and its options as the window would show them.
struct Desktop : testing::DesktopRig {
    Desktop() : DesktopRig(true) {}
    core::Options Options() { return core.CurrentOptions(); }
};

// Every setting of the "Audio" page away from its default.
midi::AudioSettings Changed() {
    midi::AudioSettings audio;
    audio.Driver = midi::AudioDriver::Alsa;
    audio.Device = "hw:1,0";
    audio.SampleRate = 44100;
    audio.BufferFrames = 256;
    audio.SoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    audio.Volume = 70;
    audio.Reverb = false;
    audio.ReverbLevel = 25;
    audio.Chorus = true;
    audio.ChorusLevel = 90;
    return audio;
}

TEST(DesktopAudio, EverySettingSurvivesTheSettingsFileAndARestartAndReachesTheSynth) {
    std::filesystem::path ini;
    {
        Desktop first;
        first.core.Start();
        ASSERT_TRUE(first.t.midi->AudioApplied()) << "the synth gets its settings before its port opens";
        EXPECT_EQ(*first.t.midi->AudioApplied(), midi::AudioSettings{}) << "a first start: the defaults";
        first.core.Stop();  // a first start plays the demo song
        core::Options options = first.Options();
        StoreAudioSettings(Changed(), options);
        first.core.ApplyOptions(options);
        EXPECT_EQ(*first.t.midi->AudioApplied(), Changed()) << "nothing plays: applied at once";
        ASSERT_EQ(first.core.Exit(), SaveOutcome::Saved);
        ini = first.t.session->Paths().IniPath();
        Desktop second;
        std::filesystem::copy_file(ini, second.t.session->Paths().IniPath());
        second.core.Start();
        EXPECT_EQ(AudioSettingsOf(second.Options()), Changed());
        EXPECT_EQ(*second.t.midi->AudioApplied(), Changed());
    }
}

TEST(DesktopAudio, WhatReopensTheAudioWaitsForTheMusicToStopAndTheLevelsDoNot) {
    Desktop desktop;
    desktop.core.Start();
    if (desktop.Snapshot().Playing) desktop.core.StartStop();  // the first start's demo song
    desktop.core.StartStop();
    ASSERT_TRUE(desktop.Snapshot().Playing);
    core::Options options = desktop.Options();
    midi::AudioSettings wanted = AudioSettingsOf(options);
    wanted.BufferFrames = 512;
    wanted.Volume = 40;
    StoreAudioSettings(wanted, options);
    desktop.core.ApplyOptions(options);
    EXPECT_EQ(desktop.t.midi->AudioApplied()->BufferFrames, midi::AudioSettings::DefaultBufferFrames);
    EXPECT_EQ(desktop.t.midi->AudioApplied()->Volume, 40) << "the volume at once";
    EXPECT_STREQ(desktop.Snapshot().Status.c_str(), std::string(AudioAfterStopText).c_str());
    desktop.core.StartStop();
    desktop.RunFor(std::chrono::milliseconds(600));
    EXPECT_EQ(*desktop.t.midi->AudioApplied(), wanted) << "applied once the music stopped";
}

// The first start's demo song cannot play: the start says so once and the guide tells why
// instead of promising sound; Start says it again, and nothing shows as playing.
TEST(DesktopAudio, WithoutAnAudioDeviceTheStartAndStartSayWhyAndNothingShowsAsPlaying) {
    Desktop desktop;
    desktop.t.midi->FailOpen(false, SynthOutput, midi::result::NoAudioDevice);
    desktop.core.Start();
    EXPECT_EQ(desktop.t.prompter->Shown(), std::vector<std::string>{std::string(NoAudioOutputText)});
    const std::string guide = desktop.Snapshot().GuideText.c_str();
    EXPECT_EQ(guide.find("You should hear"), std::string::npos) << guide;
    EXPECT_NE(guide.find(NoSoundGuideText), std::string::npos) << guide;
    EXPECT_TRUE(desktop.Snapshot().SongLoaded);
    desktop.RunFor(std::chrono::milliseconds(300));
    EXPECT_FALSE(desktop.Snapshot().Playing) << "the demo stays at its start";

    desktop.core.StartStop();
    ASSERT_EQ(desktop.t.prompter->Shown().size(), 2u);
    EXPECT_EQ(desktop.t.prompter->Shown().back(), std::string(NoAudioOutputText));
    desktop.RunFor(std::chrono::milliseconds(300));
    const DisplaySnapshot shown = desktop.Snapshot();
    EXPECT_FALSE(shown.Playing);
    EXPECT_EQ(shown.ClockPanel, 0);
    EXPECT_EQ(shown.Priority, PriorityStatus::Normal);
    EXPECT_EQ(shown.Output, OutputStatus::NoAudioDevice);
}

}  // namespace
}  // namespace chordella::app
