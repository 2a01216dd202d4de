#pragma once
// A JACK client that speaks raw JACK MIDI events, for tests that must send what no MIDI
// library would (a system-exclusive message without its end, undefined status bytes):
// every event handed to Send goes out as one JACK event of its own, one per period, and
// every event arriving on its input is kept.

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace chordella::testing {

class RawJackClient {
public:
    using Event = std::vector<std::uint8_t>;

    RawJackClient() = default;
    RawJackClient(const RawJackClient&) = delete;
    RawJackClient& operator=(const RawJackClient&) = delete;
    ~RawJackClient() {
        if (client_) jack_client_close(client_);
    }

    // Opens the client; false when no server answers.
    bool Open() {
        client_ = jack_client_open("raw", JackNoStartServer, nullptr);
        if (!client_) return false;
        out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &RawJackClient::Process, this);
        return out_ && in_ && jack_activate(client_) == 0;
    }

    // Connects our output to the input port whose name ends in `target`, and the output
    // port whose name ends in `source` to our input. False while either is not there yet.
    bool Connect(const std::string& target, const std::string& source) {
        const std::string to = PortEndingIn(target, JackPortIsInput);
        const std::string from = PortEndingIn(source, JackPortIsOutput);
        if (to.empty() || from.empty()) return false;
        return jack_connect(client_, jack_port_name(out_), to.c_str()) == 0 &&
               jack_connect(client_, from.c_str(), jack_port_name(in_)) == 0;
    }

    void Send(Event event) {
        std::lock_guard lock(mutex_);
        toSend_.push_back(std::move(event));
    }

    std::vector<Event> Received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    std::string PortEndingIn(const std::string& suffix, unsigned long flags) const {
        const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
        std::string found;
        for (const char** port = ports; port && *port; ++port) {
            const std::string name = *port;
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                found = name;
        }
        jack_free(ports);
        return found;
    }

    // JACK's process thread. A test's client may lock: it only has to keep up with a test.
    static int Process(jack_nframes_t frames, void* self) {
        auto* raw = static_cast<RawJackClient*>(self);
        std::lock_guard lock(raw->mutex_);
        void* out = jack_port_get_buffer(raw->out_, frames);
        jack_midi_clear_buffer(out);
        if (!raw->toSend_.empty()) {
            const Event& event = raw->toSend_.front();
            jack_midi_event_write(out, 0, event.data(), event.size());
            raw->toSend_.pop_front();
        }
        void* in = jack_port_get_buffer(raw->in_, frames);
        const std::uint32_t count = jack_midi_get_event_count(in);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) == 0) raw->received_.emplace_back(event.buffer, event.buffer + event.size);
        }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_port_t* in_ = nullptr;
    mutable std::mutex mutex_;
    std::deque<Event> toSend_;
    std::vector<Event> received_;
};

}  // namespace chordella::testing
