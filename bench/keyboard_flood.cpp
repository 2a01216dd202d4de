// keyboard_flood [--rate MSG_PER_S] [--count N] [--to PORT_SUFFIX] [--from PORT_SUFFIX]
//
// Floods a running `chordella arranger` with melody notes over JACK and counts what comes
// back: a JACK client of its own sends N messages (note-on and note-off in turn, above the
// chord zone, so every one passes through) spread evenly at the given rate, and listens to
// the arranger's output. Prints what JACK took from us (sent), what it refused in a period
// that was already full (refused; retried in the next period, so the rate actually reached
// is printed too) and what arrived. What the arranger reported is on its own output
// (`MIDI input overflow: … messages lost`). bench/keyboard_flood.sh runs the whole set-up.
#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr std::uint8_t FirstKey = 72;  // C5 and the eleven keys above it: melody
constexpr int Keys = 12;
constexpr std::uint8_t ProbeKey = 100;  // sent until one comes back: the connection carries

struct Flood {
    jack_client_t* client = nullptr;
    jack_port_t* out = nullptr;
    jack_port_t* in = nullptr;
    double rate = 2e6;
    std::uint64_t count = 100000;
    std::atomic<bool> flooding{false};
    std::atomic<bool> probing{true};
    jack_nframes_t startFrame = 0;
    std::atomic<std::uint64_t> sent{0};
    std::atomic<std::uint64_t> refused{0};
    std::atomic<std::uint64_t> arrived{0};
    std::atomic<std::uint64_t> probesBack{0};
    std::atomic<std::int64_t> lastArrivalFrame{0};
    jack_nframes_t lastSendFrame = 0;

    // The n-th message: note-on of key n/2 % 12 on even n, its note-off on odd n.
    static void Message(std::uint64_t n, std::uint8_t bytes[3]) {
        bytes[0] = n % 2 == 0 ? 0x90 : 0x80;
        bytes[1] = static_cast<std::uint8_t>(FirstKey + (n / 2) % Keys);
        bytes[2] = n % 2 == 0 ? 100 : 0;
    }

    void Send(void* buffer, jack_nframes_t frames) {
        const jack_nframes_t now = jack_last_frame_time(client);
        if (probing.load()) {
            const std::uint8_t press[3] = {0x90, ProbeKey, 1};
            const std::uint8_t release[3] = {0x80, ProbeKey, 0};
            if (now - lastSendFrame > 4800) {
                jack_midi_event_write(buffer, 0, press, 3);
                jack_midi_event_write(buffer, 1, release, 3);
                lastSendFrame = now;
            }
            return;
        }
        if (!flooding.load()) return;
        const double rateHz = static_cast<double>(jack_get_sample_rate(client));
        const double elapsed = static_cast<double>(now + frames - startFrame) / rateHz;
        auto due = static_cast<std::uint64_t>(elapsed * rate);
        if (due > count) due = count;
        std::uint64_t n = sent.load(std::memory_order_relaxed);
        const std::uint64_t waiting = due - n;
        for (std::uint64_t i = 0; n < due; ++i, ++n) {
            std::uint8_t bytes[3];
            Message(n, bytes);
            const auto at = static_cast<jack_nframes_t>(waiting > 0 ? i * frames / waiting : 0);
            if (jack_midi_event_write(buffer, at < frames ? at : frames - 1, bytes, 3) != 0) {
                refused.fetch_add(due - n, std::memory_order_relaxed);
                break;
            }
        }
        sent.store(n, std::memory_order_relaxed);
        if (n >= count) flooding.store(false);
    }

    void Receive(void* buffer) {
        const std::uint32_t events = jack_midi_get_event_count(buffer);
        for (std::uint32_t i = 0; i < events; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) != 0 || event.size != 3) continue;
            const std::uint8_t kind = event.buffer[0] & 0xF0;
            const std::uint8_t key = event.buffer[1];
            if (kind == 0x90 && key == ProbeKey) probesBack.fetch_add(1);
            const bool ours = key >= FirstKey && key < FirstKey + Keys;
            if (ours && (kind == 0x80 || kind == 0x90)) arrived.fetch_add(1, std::memory_order_relaxed);
        }
        if (events > 0) lastArrivalFrame.store(jack_last_frame_time(client));
    }

    static int Process(jack_nframes_t frames, void* self) {
        auto* flood = static_cast<Flood*>(self);
        void* out = jack_port_get_buffer(flood->out, frames);
        jack_midi_clear_buffer(out);
        flood->Send(out, frames);
        flood->Receive(jack_port_get_buffer(flood->in, frames));
        return 0;
    }
};

std::string PortEndingIn(jack_client_t* client, const std::string& suffix, unsigned long flags) {
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    std::string found;
    for (const char** port = ports; port && *port; ++port) {
        const std::string name = *port;
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            found = name;
    }
    jack_free(ports);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    // JACK says so on stderr for every event a full period refuses: counted below instead.
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    Flood flood;
    std::string to = ":Chordella In";
    std::string from = ":Chordella Out";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--rate") flood.rate = std::atof(argv[i + 1]);
        else if (option == "--count") flood.count = std::strtoull(argv[i + 1], nullptr, 10);
        else if (option == "--to") to = argv[i + 1];
        else if (option == "--from") from = argv[i + 1];
    }
    flood.client = jack_client_open("flood", JackNoStartServer, nullptr);
    if (!flood.client) {
        std::fprintf(stderr, "keyboard_flood: no JACK server\n");
        return 1;
    }
    flood.out = jack_port_register(flood.client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    flood.in = jack_port_register(flood.client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(flood.client, &Flood::Process, &flood);
    jack_activate(flood.client);
    // The arranger may still be starting: its ports are waited for up to 30 s.
    std::string target;
    std::string source;
    for (int tries = 0; tries < 300 && (target.empty() || source.empty()); ++tries) {
        if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        target = PortEndingIn(flood.client, to, JackPortIsInput);
        source = PortEndingIn(flood.client, from, JackPortIsOutput);
    }
    if (target.empty() || source.empty() || jack_connect(flood.client, jack_port_name(flood.out), target.c_str()) ||
        jack_connect(flood.client, source.c_str(), jack_port_name(flood.in))) {
        std::fprintf(stderr, "keyboard_flood: the ports *%s and *%s are not there\n", to.c_str(), from.c_str());
        return 1;
    }
    while (flood.probesBack.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    flood.probing.store(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    flood.startFrame = jack_frame_time(flood.client);
    const auto begin = std::chrono::steady_clock::now();
    flood.flooding.store(true);
    while (flood.flooding.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Done when nothing arrived for two seconds.
    const auto rateHz = static_cast<std::int64_t>(jack_get_sample_rate(flood.client));
    while (static_cast<std::int64_t>(jack_frame_time(flood.client)) - flood.lastArrivalFrame.load() < 2 * rateHz)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::printf("asked %.0f msg/s, reached %.0f msg/s: sent %llu, refused by a full period %llu, arrived %llu, missing %lld\n",
                flood.rate, static_cast<double>(flood.sent.load()) / seconds,
                static_cast<unsigned long long>(flood.sent.load()), static_cast<unsigned long long>(flood.refused.load()),
                static_cast<unsigned long long>(flood.arrived.load()),
                static_cast<long long>(flood.sent.load()) - static_cast<long long>(flood.arrived.load()));
    jack_client_close(flood.client);
    return 0;
}
