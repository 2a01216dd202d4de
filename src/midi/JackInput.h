#pragma once
// Our own JACK MIDI input port. JACK's process thread hands every event of the period
// straight to the stream parser (and so to the device layer's callback): no allocation,
// no lock, no system call per message. Closing deactivates the client first, so no period
// can still be reading the port while it goes away.

#include <jack/types.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "midi/StreamInput.h"

namespace chordella::midi {

class JackInput final : public StreamInput {
public:
    JackInput(DriverCallback callback, void* instance) : StreamInput(callback, instance) {}
    ~JackInput() override;
    JackInput(const JackInput&) = delete;
    JackInput& operator=(const JackInput&) = delete;

    // Control thread. Opens a client named `clientName` (JACK makes the name unique) with an
    // input port `portName`, and connects the port `source` to it unless that is empty.
    // Answers NoError, or DriverError with `error` set.
    int Open(const std::string& clientName, const std::string& portName, const std::string& source,
             std::string& error);

    // Control thread.
    int Start() override;
    int Close() override;

private:
    static int Process(jack_nframes_t frames, void* self) noexcept;
    void Shut();

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::int64_t clockOffset_ = 0;  // JACK's clock minus CLOCK_MONOTONIC
    std::atomic<std::int64_t> startMillis_{0};
};

}  // namespace chordella::midi
