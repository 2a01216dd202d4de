#include "midi/JackOutput.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <thread>

namespace chordella::midi {

namespace {

using Size = std::uint32_t;  // the length that leads every message in the ring
constexpr std::chrono::milliseconds Pause{1};
constexpr std::chrono::milliseconds WaitForDrainAtClose{2000};

}  // namespace

JackOutput::JackOutput(DriverCallback callback, void* instance) : callback_(callback), instance_(instance) {}

JackOutput::~JackOutput() { Close(); }

int JackOutput::Open(const std::string& clientName, const std::string& portName, const std::string& destination,
                     std::string& error) {
    jack_status_t status{};
    client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client_) {
        error = "JACK server not running or cannot be reached";
        return result::DriverError;
    }
    ring_ = jack_ringbuffer_create(RingBytes);
    port_ = jack_port_register(client_, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!ring_ || !port_) {
        error = "JACK refused the MIDI output port " + portName;
        Close();
        return result::DriverError;
    }
    portBufferBytes_ = jack_port_type_get_buffer_size(client_, JACK_DEFAULT_MIDI_TYPE);
    jack_set_process_callback(client_, &JackOutput::Process, this);
    jack_on_shutdown(client_, &JackOutput::Shutdown, this);
    if (jack_activate(client_) != 0) {
        error = "JACK did not activate the client " + clientName;
        Close();
        return result::DriverError;
    }
    if (!destination.empty()) {
        const int code = jack_connect(client_, jack_port_name(port_), destination.c_str());
        if (code != 0 && code != EEXIST) {
            error = "JACK could not connect " + std::string(jack_port_name(port_)) + " to " + destination;
            Close();
            return result::DriverError;
        }
    }
    return result::NoError;
}

int JackOutput::Process(jack_nframes_t frames, void* self) noexcept {
    static_cast<JackOutput*>(self)->Pass(frames);
    return 0;
}

void JackOutput::Shutdown(void* self) noexcept { static_cast<JackOutput*>(self)->serverGone_.store(true); }

// JACK's process thread: as many whole messages as the period's buffer takes, oldest
// first; the rest stays in the ring for the next period.
void JackOutput::Pass(jack_nframes_t frames) noexcept {
    void* buffer = jack_port_get_buffer(port_, frames);
    jack_midi_clear_buffer(buffer);
    for (;;) {
        const std::size_t waiting = jack_ringbuffer_read_space(ring_);
        Size size = 0;
        if (waiting < sizeof size) break;
        jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(&size), sizeof size);
        if (waiting < sizeof size + size) break;  // still being written
        if (size > jack_midi_max_event_size(buffer)) {
            if (jack_midi_get_event_count(buffer) > 0) {
                deferred_.fetch_add(1, std::memory_order_relaxed);
                break;
            }
            // Even an empty period cannot take it: it can never go out.
            jack_ringbuffer_read_advance(ring_, sizeof size + size);
            lost_.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        jack_midi_data_t* data = jack_midi_event_reserve(buffer, 0, size);
        if (!data) {
            deferred_.fetch_add(1, std::memory_order_relaxed);
            break;
        }
        jack_ringbuffer_read_advance(ring_, sizeof size);
        jack_ringbuffer_read(ring_, reinterpret_cast<char*>(data), size);
    }
    cycles_.fetch_add(1, std::memory_order_release);
}

bool JackOutput::WaitForSpace(std::size_t needed) {
    if (jack_ringbuffer_write_space(ring_) >= needed) return true;
    // Gave up before and the server has not run a period since: it will not make room now.
    if (cycles_.load(std::memory_order_acquire) == stuckAtCycle_) return false;
    const auto giveUp = std::chrono::steady_clock::now() + WaitForRoom;
    while (jack_ringbuffer_write_space(ring_) < needed) {
        if (serverGone_.load() || std::chrono::steady_clock::now() > giveUp) {
            stuckAtCycle_ = cycles_.load(std::memory_order_acquire);
            return false;
        }
        std::this_thread::sleep_for(Pause);
    }
    return true;
}

int JackOutput::Write(const std::uint8_t* bytes, std::uint32_t count) {
    if (!client_) return result::InvalidHandle;
    const std::size_t needed = sizeof(Size) + count;
    if (count == 0 || needed > RingBytes / 2 || count > portBufferBytes_) return result::InvalidParameter;
    if (serverGone_.load() || !WaitForSpace(needed)) {
        lost_.fetch_add(1, std::memory_order_relaxed);
        return result::NotReady;
    }
    const Size size = count;
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(&size), sizeof size);
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(bytes), count);
    return result::NoError;
}

int JackOutput::ShortMsg(std::uint32_t packed) {
    const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
                                   static_cast<std::uint8_t>(packed >> 16)};
    const int length = ShortMessageLength(bytes[0]);
    if (length == 0 || (length > 1 && bytes[1] > 0x7F) || (length > 2 && bytes[2] > 0x7F))
        return result::InvalidParameter;
    return Write(bytes, static_cast<std::uint32_t>(length));
}

int JackOutput::LongMsg(MidiHeader& header) {
    if (!(header.Flags.load() & HeaderPrepared)) return result::Unprepared;
    const int code = Write(header.Data, header.BufferLength);
    if (code != result::NoError) return code;
    // The bytes are copied into the ring: the header is free again.
    header.Flags.fetch_or(HeaderDone);
    callback_(DriverMessage::OutputDone, instance_, reinterpret_cast<std::uintptr_t>(&header), 0);
    return result::NoError;
}

// What was handed over still goes out (the last notes-off before an exit among it): waits
// until the ring is empty and one more period has passed, unless the server has stopped.
int JackOutput::Close() {
    if (client_ && ring_ && port_) {
        const auto giveUp = std::chrono::steady_clock::now() + WaitForDrainAtClose;
        std::uint64_t emptyAt = 0;
        bool empty = false;
        while (!serverGone_.load() && std::chrono::steady_clock::now() < giveUp) {
            const std::uint64_t cycle = cycles_.load(std::memory_order_acquire);
            if (!empty && jack_ringbuffer_read_space(ring_) == 0) {
                empty = true;
                emptyAt = cycle;
            }
            if (empty && cycle > emptyAt + 1) break;
            std::this_thread::sleep_for(Pause);
        }
    }
    if (client_) {
        jack_deactivate(client_);
        jack_client_close(client_);
        client_ = nullptr;
        port_ = nullptr;
    }
    if (ring_) {
        // Left over only when the server stopped: those messages are lost.
        Size size = 0;
        while (jack_ringbuffer_read_space(ring_) >= sizeof size + size) {
            jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(&size), sizeof size);
            if (jack_ringbuffer_read_space(ring_) < sizeof size + size) break;
            jack_ringbuffer_read_advance(ring_, sizeof size + size);
            lost_.fetch_add(1, std::memory_order_relaxed);
            size = 0;
        }
        jack_ringbuffer_free(ring_);
        ring_ = nullptr;
    }
    return result::NoError;
}

}  // namespace chordella::midi
