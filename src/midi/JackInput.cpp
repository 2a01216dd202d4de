#include "midi/JackInput.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>

#include "platform/Clock.h"

namespace chordella::midi {

JackInput::~JackInput() {
    Reset();
    Shut();
}

int JackInput::Open(const std::string& clientName, const std::string& portName, const std::string& source,
                    std::string& error) {
    jack_status_t status{};
    client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client_) {
        error = "JACK server not running or cannot be reached";
        return result::DriverError;
    }
    port_ = jack_port_register(client_, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (!port_) {
        error = "JACK refused the MIDI input port " + portName;
        Shut();
        return result::DriverError;
    }
    jack_set_process_callback(client_, &JackInput::Process, this);
    clockOffset_ = static_cast<std::int64_t>(jack_get_time()) - platform::NowMicros();
    if (jack_activate(client_) != 0) {
        error = "JACK did not activate the client " + clientName;
        Shut();
        return result::DriverError;
    }
    if (!source.empty()) {
        const int code = jack_connect(client_, source.c_str(), jack_port_name(port_));
        if (code != 0 && code != EEXIST) {
            error = "JACK could not connect " + source + " to " + std::string(jack_port_name(port_));
            Shut();
            return result::DriverError;
        }
    }
    return result::NoError;
}

int JackInput::Start() {
    startMillis_.store(platform::NowMillis());
    return StreamInput::Start();
}

int JackInput::Close() {
    const int code = CheckClose();
    if (code != result::NoError) return code;
    Shut();
    return result::NoError;
}

// JACK's process thread: the period's events in their order, each with the time of its own
// frame, so that an output playing at exact times keeps where in the period it was played.
int JackInput::Process(jack_nframes_t frames, void* self) noexcept {
    auto* input = static_cast<JackInput*>(self);
    void* buffer = jack_port_get_buffer(input->port_, frames);
    const std::uint32_t count = jack_midi_get_event_count(buffer);
    if (count == 0) return 0;
    const auto millis =
        static_cast<std::uint32_t>(platform::NowMillis() - input->startMillis_.load(std::memory_order_relaxed));
    const jack_nframes_t first = jack_last_frame_time(input->client_);
    for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0) continue;
        const auto at = static_cast<std::int64_t>(jack_frames_to_time(input->client_, first + event.time));
        input->Stamp(at - input->clockOffset_);
        input->Deliver(event.buffer, event.size, millis);
    }
    return 0;
}

void JackInput::Shut() {
    if (!client_) return;
    jack_deactivate(client_);  // waits for a period in progress; none runs after it
    jack_client_close(client_);
    client_ = nullptr;
    port_ = nullptr;
}

}  // namespace chordella::midi
