// The built-in synth's flags of the commands that sound: a flag given replaces its setting,
// a wrong value is refused naming the flag and changes nothing.
#include "app/AudioOptions.h"

#include <gtest/gtest.h>

namespace chordella::app {
namespace {

TEST(AudioFlags, AWrongValueIsRefusedNamingTheFlagAndChangesNothing) {
    const struct {
        AudioFlags Flags;
        const char* Names;
    } cases[] = {
        {{.driver = "oss"}, "--audio-driver oss"},
        {{.sampleRate = 22050}, "--sample-rate 22050"},
        {{.buffer = 8}, "--buffer 8"},
        {{.buffer = 100000}, "--buffer 100000"},
        {{.soundFont = "/no/such.sf2"}, "/no/such.sf2: not a SoundFont"},
        {{.volume = 101}, "--volume 101"},
        {{.reverb = "loud"}, "--reverb loud"},
        {{.chorus = "-5"}, "--chorus -5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Names);
        midi::AudioSettings settings;
        settings.Volume = 55;
        const midi::AudioSettings before = settings;
        std::string error;
        EXPECT_FALSE(ApplyAudioFlags(c.Flags, settings, error));
        EXPECT_EQ(error.rfind(c.Names, 0), 0u) << error;
        EXPECT_EQ(settings, before);
    }
}

TEST(AudioFlags, EachFlagGivenReplacesOnlyItsSetting) {
    midi::AudioSettings settings;
    std::string error;
    ASSERT_TRUE(ApplyAudioFlags({.driver = "PipeWire", .buffer = 64, .reverb = "off", .chorus = "75"}, settings, error))
        << error;
    EXPECT_EQ(settings.Driver, midi::AudioDriver::PulseAudio);
    EXPECT_EQ(settings.BufferFrames, 64);
    EXPECT_FALSE(settings.Reverb);
    EXPECT_EQ(settings.ReverbLevel, midi::AudioSettings{}.ReverbLevel) << "off keeps the level for later";
    EXPECT_TRUE(settings.Chorus);
    EXPECT_EQ(settings.ChorusLevel, 75);
    EXPECT_EQ(settings.SampleRate, midi::AudioSettings::DefaultSampleRate);
    EXPECT_EQ(settings.Volume, 100);
}

}  // namespace
}  // namespace chordella::app
