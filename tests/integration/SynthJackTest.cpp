// The built-in synth on a real JACK server: its own client plays into the server's period,
// its ports reach the speakers, and what it uses is what the server runs at.
#include <gtest/gtest.h>

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "midi/MidiErrors.h"
#include "midi/MidiOutput.h"
#include "midi/SynthBackend.h"
#include "platform/EventLoop.h"
#include "platform/Files.h"
#include "support/JackServer.h"

namespace chordella::midi {
namespace {

constexpr const char* SmallFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// A client that listens to the synth's left port and notes the first loud period.
class Listener {
public:
    bool Open() {
        client_ = jack_client_open("listener", JackNoStartServer, nullptr);
        if (!client_) return false;
        port_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &Listener::Process, this);
        return port_ && jack_activate(client_) == 0 &&
               jack_connect(client_, "Chordella Synth:left", jack_port_name(port_)) == 0;
    }
    ~Listener() {
        if (client_) jack_client_close(client_);
    }
    bool Heard() const { return heard_.load(); }
    bool Connected(const char* to) const {
        const char** ports = jack_port_get_all_connections(client_, jack_port_by_name(client_, "Chordella Synth:left"));
        bool found = false;
        for (int i = 0; ports && ports[i]; ++i) found = found || std::string(ports[i]) == to;
        jack_free(ports);
        return found;
    }

private:
    static int Process(jack_nframes_t frames, void* self) {
        auto* me = static_cast<Listener*>(self);
        const auto* in = static_cast<const float*>(jack_port_get_buffer(me->port_, frames));
        for (jack_nframes_t i = 0; i < frames; ++i)
            if (std::fabs(in[i]) > 1e-4f) me->heard_.store(true);
        return 0;
    }
    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::atomic<bool> heard_{false};
};

TEST(SynthJack, TheSynthPlaysIntoTheServersPeriodAndReachesTheSpeakers) {
    if (!platform::FileExists(SmallFont)) GTEST_SKIP() << SmallFont << " is not installed";
    testing::JackServer server;
    std::string why;
    if (!server.Start(why)) GTEST_SKIP() << why;
    AudioSettings settings;
    settings.Driver = AudioDriver::Jack;
    settings.SoundFont = SmallFont;
    SynthBackend backend(settings);
    platform::EventLoop loop;
    TMidiOutput output(backend, loop);
    output.SetDeviceID(-1);
    ASSERT_TRUE(output.Open()) << MidiErrorText(backend, output.Error());

    const auto status = backend.SynthInUse();
    ASSERT_TRUE(status && status->Playing);
    EXPECT_EQ(status->Driver, AudioDriver::Jack);
    EXPECT_EQ(status->SampleRate, 48000) << "the server's rate, not the setting's";
    EXPECT_EQ(status->BufferFrames, 256) << "the server's period";
    EXPECT_EQ(status->SoundFont, SmallFont);

    Listener listener;
    ASSERT_TRUE(listener.Open());
    EXPECT_TRUE(listener.Connected("system:playback_1"));
    output.PutShort(0x90, 60, 100);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!listener.Heard() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(listener.Heard());
    output.PutShort(0x80, 60, 0);
    EXPECT_TRUE(output.Close());
    EXPECT_FALSE(backend.SynthInUse()->Playing) << "closing the last output stops the audio";
}

}  // namespace
}  // namespace chordella::midi
