#include "midi/SynthAudio.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <atomic>
#include <cstring>

#include "midi/DriverMessages.h"
#include "midi/FluidLibrary.h"
#include "midi/SynthEngine.h"
#include "platform/Clock.h"

namespace chordella::midi {

namespace {

constexpr const char* ClientName = "Chordella Synth";

class JackAudio final : public SynthAudio {
public:
    ~JackAudio() override {
        if (client_) {
            jack_deactivate(client_);  // waits for a period in progress; none runs after it
            jack_client_close(client_);
        }
    }

    bool Open(std::string& error) {
        client_ = jack_client_open(ClientName, JackNoStartServer, nullptr);
        if (!client_) {
            error = "no JACK server answers";
            return false;
        }
        left_ = jack_port_register(client_, "left", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        right_ = jack_port_register(client_, "right", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        if (!left_ || !right_) {
            error = "JACK refused the synth's audio ports";
            return false;
        }
        jack_set_process_callback(client_, &JackAudio::Process, this);
        jack_on_shutdown(client_, &JackAudio::Shutdown, this);
        // JACK's clock runs on CLOCK_MONOTONIC too; the difference is kept in case it does not.
        clockOffset_ = static_cast<std::int64_t>(jack_get_time()) - platform::NowMicros();
        return true;
    }

    AudioDriver Driver() const override { return AudioDriver::Jack; }
    std::string Device() const override { return ""; }  // JACK connects ports, not devices
    int SampleRate() const override { return static_cast<int>(jack_get_sample_rate(client_)); }
    int BufferFrames() const override { return static_cast<int>(jack_get_buffer_size(client_)); }
    int Periods() const override { return 1; }
    int PlaybackLatencyFrames() const override {
        jack_latency_range_t range{};
        jack_port_get_latency_range(left_, JackPlaybackLatency, &range);
        return static_cast<int>(range.max);
    }
    bool Gone() const override { return gone_.load(); }

    bool Start(SynthEngine& engine, std::string& error) override {
        engine_.store(&engine);
        if (jack_activate(client_) != 0) {
            error = "JACK did not activate the synth's client";
            return false;
        }
        ConnectToSpeakers();
        return true;
    }

private:
    void ConnectToSpeakers() {
        const char** speakers =
            jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | JackPortIsInput);
        if (!speakers) return;
        if (speakers[0]) {
            jack_connect(client_, jack_port_name(left_), speakers[0]);
            jack_connect(client_, jack_port_name(right_), speakers[1] ? speakers[1] : speakers[0]);
        }
        jack_free(speakers);
    }

    // JACK's process thread.
    static int Process(jack_nframes_t frames, void* self) noexcept {
        auto* audio = static_cast<JackAudio*>(self);
        auto* left = static_cast<float*>(jack_port_get_buffer(audio->left_, frames));
        auto* right = static_cast<float*>(jack_port_get_buffer(audio->right_, frames));
        PeriodTime time;
        jack_nframes_t firstFrame = 0;
        jack_time_t start = 0, next = 0;
        float periodMicros = 0;
        if (jack_get_cycle_times(audio->client_, &firstFrame, &start, &next, &periodMicros) == 0 && next > start) {
            time.Timed = true;
            time.StartMicros = static_cast<std::int64_t>(start) - audio->clockOffset_;
            time.Micros = static_cast<std::int64_t>(next - start);
        }
        audio->engine_.load(std::memory_order_acquire)->Render(frames, left, right, time);
        return 0;
    }

    static void Shutdown(void* self) noexcept { static_cast<JackAudio*>(self)->gone_.store(true); }

    jack_client_t* client_ = nullptr;
    jack_port_t* left_ = nullptr;
    jack_port_t* right_ = nullptr;
    std::int64_t clockOffset_ = 0;
    std::atomic<SynthEngine*> engine_{nullptr};
    std::atomic<bool> gone_{false};
};

class FluidAudio final : public SynthAudio {
public:
    FluidAudio(const FluidLibrary& fluid, AudioDriver driver, const AudioSettings& settings)
        : fluid_(fluid), driver_(driver), settings_(settings) {}
    ~FluidAudio() override {
        if (audio_) fluid_.delete_fluid_audio_driver(audio_);
        if (fluidSettings_) fluid_.delete_fluid_settings(fluidSettings_);
    }

    AudioDriver Driver() const override { return driver_; }
    std::string Device() const override { return settings_.Device.empty() ? "default" : settings_.Device; }
    int SampleRate() const override { return settings_.SampleRate; }
    int BufferFrames() const override { return settings_.BufferFrames; }
    int Periods() const override { return AudioSettings::Periods; }

    bool Start(SynthEngine& engine, std::string& error) override {
        fluidSettings_ = fluid_.new_fluid_settings();
        if (!fluidSettings_) {
            error = "FluidSynth cannot create its settings";
            return false;
        }
        const bool alsa = driver_ == AudioDriver::Alsa;
        fluid_.fluid_settings_setstr(fluidSettings_, "audio.driver", alsa ? "alsa" : "pulseaudio");
        fluid_.fluid_settings_setnum(fluidSettings_, "synth.sample-rate", settings_.SampleRate);
        fluid_.fluid_settings_setint(fluidSettings_, "audio.period-size", settings_.BufferFrames);
        fluid_.fluid_settings_setint(fluidSettings_, "audio.periods", AudioSettings::Periods);
        fluid_.fluid_settings_setstr(fluidSettings_, alsa ? "audio.alsa.device" : "audio.pulseaudio.device",
                                     Device().c_str());
        if (!alsa) fluid_.fluid_settings_setstr(fluidSettings_, "audio.pulseaudio.media-role", "music");
        audio_ = fluid_.new_fluid_audio_driver2(fluidSettings_, &FluidAudio::Render, &engine);
        if (!audio_) {
            error = std::string(alsa ? "ALSA" : "PulseAudio") + " did not open: " + LastDriverMessage();
            return false;
        }
        return true;
    }

private:
    // The driver's audio thread.
    static int Render(void* engine, int frames, int, float**, int outputs, float** out) noexcept {
        if (outputs < 2 || frames <= 0) return 0;
        static_cast<SynthEngine*>(engine)->Render(static_cast<std::uint32_t>(frames), out[0], out[1], PeriodTime{});
        return 0;
    }

    const FluidLibrary& fluid_;
    AudioDriver driver_;
    AudioSettings settings_;
    fluid_settings_t* fluidSettings_ = nullptr;
    fluid_audio_driver_t* audio_ = nullptr;
};

}  // namespace

bool JackServerAnswers() {
    jack_client_t* client = jack_client_open("Chordella probe", JackNoStartServer, nullptr);
    if (!client) return false;
    jack_client_close(client);
    return true;
}

std::unique_ptr<SynthAudio> OpenJackAudio(std::string& error) {
    auto audio = std::make_unique<JackAudio>();
    if (!audio->Open(error)) return nullptr;
    return audio;
}

std::unique_ptr<SynthAudio> StartFluidAudio(AudioDriver driver, const AudioSettings& settings, SynthEngine& engine,
                                            std::string& error) {
    const FluidLibrary* fluid = LoadFluidLibrary(error);
    if (!fluid) return nullptr;
    auto audio = std::make_unique<FluidAudio>(*fluid, driver, settings);
    if (!audio->Start(engine, error)) return nullptr;
    return audio;
}

std::vector<std::string> AudioDevices(AudioDriver driver) {
    std::vector<std::string> devices;
    if (driver != AudioDriver::Alsa) return devices;
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) != 0 || !hints) return devices;
    for (void** hint = hints; *hint; ++hint) {
        char* name = snd_device_name_get_hint(*hint, "NAME");
        char* direction = snd_device_name_get_hint(*hint, "IOID");
        // No direction means both ways.
        if (name && std::strcmp(name, "null") != 0 && (!direction || std::strcmp(direction, "Output") == 0))
            devices.emplace_back(name);
        std::free(name);
        std::free(direction);
    }
    snd_device_name_free_hint(hints);
    return devices;
}

}  // namespace chordella::midi
