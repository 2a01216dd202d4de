// Key to sound through the built-in synth, measured in the JACK graph.
//
//   build/bench/key_to_sound [--notes N] [--periods 64,128,256] [--soundfont FILE] [--sync] [path/to/chordella]
//
// For each period size a private JACK server with the dummy driver runs at 48 kHz (as a
// real server runs: asynchronously; with --sync it waits for every client in each period,
// which keeps a heavily loaded machine from losing periods) and `chordella arranger` plays
// through the built-in synth on it. A client of ours sends a melody note (C5, above the chord zone, so it goes
// straight through) to the arranger's keyboard input from its process callback, at a
// random frame of the period, and counts the frames until the synth's audio port carries
// sound (|x| > 1e-4). Then it releases the note and waits for silence before the next one.
//
// Reported per period size: p50, p99, max, min and spread (max − min) of event to sound in
// ms, beside the playback latency the server reports for its output ports, so that key to
// speaker is the sum. Numbers, never pass/fail.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/JackServer.h"
#include "support/TempFolder.h"

extern char** environ;

namespace {

constexpr float Threshold = 1e-4f;
constexpr std::uint8_t Note = 72;
constexpr double SampleRate = 48000.0;

// The measuring client. Everything its process callback touches is made before activation.
class Probe {
public:
    explicit Probe(int notes) : latencies_(static_cast<std::size_t>(notes)) {}
    ~Probe() {
        if (client_) jack_client_close(client_);
    }

    bool Open(std::string& why) {
        client_ = jack_client_open("key-to-sound", JackNoStartServer, nullptr);
        if (!client_) {
            why = "cannot reach the JACK server";
            return false;
        }
        keys_ = jack_port_register(client_, "keys", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        sound_ = jack_port_register(client_, "sound", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &Probe::Process, this);
        jack_set_xrun_callback(client_, &Probe::Xrun, this);
        if (!keys_ || !sound_ || jack_activate(client_) != 0) {
            why = "the probe client cannot be activated";
            return false;
        }
        return true;
    }

    // Connects the keys to the arranger's keyboard input and the synth's first audio output
    // to the probe, once both have appeared (the SoundFont may take a while to load).
    bool Connect(std::chrono::seconds patience, std::string& why) {
        const auto until = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < until) {
            const std::string input = FindPort("Chordella In", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
            const std::string synth = FindPort("Chordella Synth", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
            if (!input.empty() && !synth.empty()) {
                if (jack_connect(client_, jack_port_name(keys_), input.c_str()) != 0 ||
                    jack_connect(client_, synth.c_str(), jack_port_name(sound_)) != 0) {
                    why = "cannot connect to " + input + " and " + synth;
                    return false;
                }
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        why = "the arranger's keyboard input or the synth's audio port did not appear";
        return false;
    }

    void Begin() { running_.store(true); }
    bool Done() const { return done_.load() >= latencies_.size(); }
    std::size_t Missed() const { return missed_.load(); }
    int Xruns() const { return xruns_.load(); }
    std::vector<double> LatenciesMs() const {
        std::vector<double> ms;
        for (std::size_t i = 0; i < std::min(done_.load(), latencies_.size()); ++i)
            ms.push_back(static_cast<double>(latencies_[i]) * 1000.0 / SampleRate);
        return ms;
    }
    jack_nframes_t Period() const { return jack_get_buffer_size(client_); }
    double PlaybackLatencyMs() const {
        const char** ports = jack_get_ports(client_, "system:playback", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput);
        double ms = 0;
        if (ports && ports[0]) {
            jack_latency_range_t range{};
            jack_port_get_latency_range(jack_port_by_name(client_, ports[0]), JackPlaybackLatency, &range);
            ms = range.max * 1000.0 / SampleRate;
        }
        jack_free(ports);
        return ms;
    }

private:
    enum class Phase { Quiet, Waiting, Released };

    std::string FindPort(const char* pattern, const char* type, unsigned long flags) const {
        const char** ports = jack_get_ports(client_, pattern, type, flags);
        std::string name = ports && ports[0] ? ports[0] : "";
        jack_free(ports);
        return name;
    }

    static int Xrun(void* self) {
        static_cast<Probe*>(self)->xruns_.fetch_add(1);
        return 0;
    }

    static int Process(jack_nframes_t frames, void* self) {
        static_cast<Probe*>(self)->Run(frames);
        return 0;
    }

    void Run(jack_nframes_t frames) {
        void* keys = jack_port_get_buffer(keys_, frames);
        jack_midi_clear_buffer(keys);
        const auto* sound = static_cast<const float*>(jack_port_get_buffer(sound_, frames));
        const jack_nframes_t start = jack_last_frame_time(client_);
        int loud = -1;
        for (jack_nframes_t i = 0; i < frames; ++i)
            if (std::fabs(sound[i]) > Threshold) {
                loud = static_cast<int>(i);
                break;
            }
        if (!running_.load(std::memory_order_relaxed) || Done()) return;
        switch (phase_) {
            case Phase::Quiet:
                quietFrames_ = loud < 0 ? quietFrames_ + frames : 0;
                if (quietFrames_ >= SampleRate / 4) {
                    random_ = random_ * 1103515245u + 12345u;
                    const jack_nframes_t offset = (random_ >> 8) % frames;
                    const std::uint8_t on[3] = {0x90, Note, 100};
                    if (jack_midi_event_write(keys, offset, on, 3) == 0) {
                        sentAt_ = start + offset;
                        phase_ = Phase::Waiting;
                    }
                }
                break;
            case Phase::Waiting:
                if (loud >= 0 && start + static_cast<jack_nframes_t>(loud) >= sentAt_) {
                    latencies_[done_.load()] = start + static_cast<jack_nframes_t>(loud) - sentAt_;
                    Release(keys);
                } else if (start - sentAt_ > SampleRate) {  // a second without sound
                    missed_.fetch_add(1);
                    latencies_[done_.load()] = static_cast<std::uint32_t>(SampleRate);
                    Release(keys);
                }
                break;
            case Phase::Released:
                phase_ = Phase::Quiet;
                quietFrames_ = 0;
                break;
        }
    }

    void Release(void* keys) {
        const std::uint8_t off[3] = {0x80, Note, 0};
        jack_midi_event_write(keys, 0, off, 3);
        done_.fetch_add(1);
        phase_ = Phase::Released;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* keys_ = nullptr;
    jack_port_t* sound_ = nullptr;
    std::vector<std::uint32_t> latencies_;
    std::atomic<bool> running_{false};
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> missed_{0};
    std::atomic<int> xruns_{0};
    Phase phase_ = Phase::Quiet;
    double quietFrames_ = 0;
    jack_nframes_t sentAt_ = 0;
    std::uint32_t random_ = 2024;
};

pid_t SpawnArranger(const std::string& exe, const std::string& home) {
    std::vector<std::string> arguments = {exe, "--home", home, "--reset", "arranger", "--in", "Chordella In"};
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

void StopArranger(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 250; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// One period size: false with `why` set when the run could not be made.
bool Measure(const std::string& exe, int period, int notes, bool sync, std::string& why) {
    chordella::testing::JackServer server;
    if (!server.Start(why, period, sync)) return false;
    chordella::testing::TempFolder home;
    const pid_t arranger = SpawnArranger(exe, home.Path());
    if (arranger <= 0) {
        why = "cannot run " + exe;
        return false;
    }
    Probe probe(notes);
    bool ok = probe.Open(why) && probe.Connect(std::chrono::seconds(120), why);
    if (ok) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let the connections settle
        probe.Begin();
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(notes + 30);
        while (!probe.Done() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::vector<double> ms = probe.LatenciesMs();
        if (ms.empty()) {
            why = "no note was measured";
            ok = false;
        } else {
            const double low = *std::min_element(ms.begin(), ms.end());
            const double high = *std::max_element(ms.begin(), ms.end());
            std::printf("%6u %7.2f %7.2f %7.2f %7.2f %9.2f %13.2f %6zu %6zu %6d\n", probe.Period(),
                        Percentile(ms, 0.5), Percentile(ms, 0.99), high, low, high - low, probe.PlaybackLatencyMs(),
                        ms.size(), probe.Missed(), probe.Xruns());
            std::fflush(stdout);
        }
    }
    StopArranger(arranger);
    return ok;
}

std::vector<int> ParsePeriods(const char* text) {
    std::vector<int> periods;
    for (const char* at = text; *at;) {
        char* end = nullptr;
        const long value = std::strtol(at, &end, 10);
        if (end == at) break;
        if (value >= 16 && value <= 4096) periods.push_back(static_cast<int>(value));
        at = *end == ',' ? end + 1 : end;
    }
    return periods;
}

}  // namespace

int main(int argc, char** argv) {
    std::string exe = CHORDELLA_EXE;
    int notes = 100;
    std::vector<int> periods = {64, 128, 256};
    bool sync = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--notes" && i + 1 < argc) {
            notes = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--periods" && i + 1 < argc) {
            periods = ParsePeriods(argv[++i]);
        } else if (arg == "--sync") {
            sync = true;
        } else if (arg == "--soundfont" && i + 1 < argc) {
            setenv("CHORDELLA_SOUNDFONT", argv[++i], 1);
        } else {
            exe = arg;
        }
    }
    const char* font = std::getenv("CHORDELLA_SOUNDFONT");
    std::printf("Key to sound through the built-in synth: %d notes per period size, JACK dummy driver at 48 kHz%s%s%s\n",
                notes, sync ? " (synchronous)" : "", font ? ", SoundFont " : "", font ? font : "");
    std::printf("frames  p50 ms  p99 ms  max ms  min ms  spread ms  playback ms  notes missed  xruns\n");
    for (int period : periods) {
        std::string why;
        if (!Measure(exe, period, notes, sync, why)) std::printf("%6d  skipped: %s\n", period, why.c_str());
    }
    return 0;
}
