#include "midi/RtMidiBackend.h"

#include <RtMidi.h>
#include <jack/jack.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <sstream>

#include "midi/DriverMessages.h"
#include "midi/JackInput.h"
#include "midi/JackOutput.h"
#include "midi/StreamInput.h"
#include "platform/Clock.h"

namespace chordella::midi {

namespace {

const std::vector<std::string> VirtualInputs = {"Chordella In", "Chordella In 2"};
const std::vector<std::string> VirtualOutputs = {"Chordella Out", "Chordella Out 2", "Chordella Out 3"};

void OnRtMidiError(RtMidiError::Type type, const std::string& text, void* user) {
    auto* state = static_cast<RtMidiBackend::ErrorState*>(user);
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING) state->Failed = true;
    state->Text = text;
    NoteDriverMessage("RtMidi", text);
}

const char* ApiName(int api) {
    switch (api) {
        case RtMidi::LINUX_ALSA: return "ALSA";
        case RtMidi::UNIX_JACK: return "JACK";
        default: return "none";
    }
}

// RtMidi's constructors report warnings on std::cerr before an error callback can be set;
// catch those lines and keep them as driver messages instead.
template <typename Port>
std::unique_ptr<Port> MakePort(int api, const std::string& clientName) {
    std::ostringstream caught;
    std::streambuf* previous = std::cerr.rdbuf(caught.rdbuf());
    std::unique_ptr<Port> port;
    try {
        port = std::make_unique<Port>(static_cast<RtMidi::Api>(api), clientName);
    } catch (...) {
        std::cerr.rdbuf(previous);
        throw;
    }
    std::cerr.rdbuf(previous);
    std::string text = caught.str();
    while (!text.empty() && (text.front() == '\n' || text.front() == ' ')) text.erase(text.begin());
    if (!text.empty()) NoteDriverMessage("RtMidi", text);
    return port;
}

// Asked before RtMidi is: RtMidi's JACK output allocates a buffer on every failed attempt
// to reach a server and loses it.
// A busy server may refuse a client for a moment: it counts as gone only after three tries.
bool JackServerRuns() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        jack_client_t* client = jack_client_open("Chordella probe", JackNoStartServer, nullptr);
        if (!client) continue;
        jack_client_close(client);
        return true;
    }
    return false;
}

int FindPort(RtMidi& rt, const std::string& name) {
    const unsigned count = rt.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        if (rt.getPortName(i) == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

// An open input: RtMidi's thread calls OnMessage for every message.
class RtMidiBackend::Input final : public StreamInput {
public:
    Input(DriverCallback callback, void* instance) : StreamInput(callback, instance) {}
    ~Input() override {
        Reset();
        rt.reset();  // stops RtMidi's thread before the parser goes
    }

    int Start() override {
        startMillis_.store(platform::NowMillis());
        return StreamInput::Start();
    }
    int Close() override {
        const int code = CheckClose();
        if (code != result::NoError) return code;
        if (rt) {
            rt->cancelCallback();
            rt->closePort();
        }
        return result::NoError;
    }

    static void OnMessage(double, std::vector<unsigned char>* message, void* user) {
        auto* self = static_cast<Input*>(user);
        if (!message || message->empty()) return;
        const auto millis = static_cast<std::uint32_t>(platform::NowMillis() - self->startMillis_.load(std::memory_order_relaxed));
        self->Deliver(message->data(), message->size(), millis);
    }

    std::unique_ptr<RtMidiIn> rt;
    ErrorState errors;

private:
    std::atomic<std::int64_t> startMillis_{0};
};

class RtMidiBackend::Output final : public OutputDevice {
public:
    Output(DriverCallback callback, void* instance) : callback_(callback), instance_(instance) {}

    int ShortMsg(std::uint32_t packed) override {
        const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
                                       static_cast<std::uint8_t>(packed >> 16)};
        const int length = ShortMessageLength(bytes[0]);
        if (length == 0 || (length > 1 && bytes[1] > 0x7F) || (length > 2 && bytes[2] > 0x7F))
            return result::InvalidParameter;
        return Send(bytes, static_cast<std::size_t>(length));
    }
    int LongMsg(MidiHeader& header) override {
        if (!(header.Flags.load() & HeaderPrepared)) return result::Unprepared;
        const int code = Send(header.Data, header.BufferLength);
        if (code != result::NoError) return code;
        header.Flags.fetch_or(HeaderDone);
        callback_(DriverMessage::OutputDone, instance_, reinterpret_cast<std::uintptr_t>(&header), 0);
        return result::NoError;
    }
    int Close() override {
        if (rt) rt->closePort();
        return result::NoError;
    }

    std::unique_ptr<RtMidiOut> rt;
    ErrorState errors;

private:
    int Send(const std::uint8_t* bytes, std::size_t count) {
        if (!rt) return result::InvalidHandle;
        errors.Failed = false;
        rt->sendMessage(bytes, count);
        return errors.Failed ? result::DriverError : result::NoError;
    }

    DriverCallback callback_;
    void* instance_;
};

RtMidiBackend::RtMidiBackend(Api api, std::string clientName) : clientName_(std::move(clientName)) {
    CaptureDriverMessages();
    // Without /dev/snd the ALSA API cannot open (and RtMidi does not fall back by itself).
    const bool alsaPossible = access("/dev/snd/seq", R_OK | W_OK) == 0;
    std::vector<RtMidi::Api> order;
    if (api != Api::Jack && alsaPossible) order.push_back(RtMidi::LINUX_ALSA);
    if (api != Api::Alsa) order.push_back(RtMidi::UNIX_JACK);
    for (RtMidi::Api candidate : order) {
        try {
            auto in = MakePort<RtMidiIn>(candidate, clientName_);
            auto out = MakePort<RtMidiOut>(candidate, clientName_);
            in->setErrorCallback(&OnRtMidiError, &probeError_);
            out->setErrorCallback(&OnRtMidiError, &probeError_);
            probeIn_ = std::move(in);
            probeOut_ = std::move(out);
            api_ = candidate;
            probesConnected_ = candidate == RtMidi::LINUX_ALSA;
            break;
        } catch (const RtMidiError& error) {
            NoteDriverMessage("RtMidi", error.getMessage());
        }
    }
    Refresh();
}

RtMidiBackend::~RtMidiBackend() = default;

std::string RtMidiBackend::Name() const { return ApiName(api_); }

bool RtMidiBackend::Usable() {
    Refresh();
    return usable_;
}

// Reads the system's port names; a JACK API without a server counts as unusable.
void RtMidiBackend::Refresh() {
    inputNames_.clear();
    outputNames_.clear();
    usable_ = false;
    if (!probeIn_ || !probeOut_) return;
    if (api_ == RtMidi::UNIX_JACK) {
        if (!JackServerRuns()) {
            probesConnected_ = false;
            return;
        }
        if (!probesConnected_) {
            // Made while no server ran: new ones connect at once.
            try {
                probeIn_ = MakePort<RtMidiIn>(api_, clientName_);
                probeOut_ = MakePort<RtMidiOut>(api_, clientName_);
            } catch (const RtMidiError& error) {
                NoteDriverMessage("RtMidi", error.getMessage());
                probeIn_.reset();
                probeOut_.reset();
                return;
            }
            probeIn_->setErrorCallback(&OnRtMidiError, &probeError_);
            probeOut_->setErrorCallback(&OnRtMidiError, &probeError_);
            probesConnected_ = true;
        }
    }
    probeError_ = {};
    const unsigned inputs = probeIn_->getPortCount();
    const unsigned outputs = probeOut_->getPortCount();
    usable_ = true;
    for (unsigned i = 0; i < inputs; ++i) inputNames_.push_back(probeIn_->getPortName(i));
    for (unsigned i = 0; i < outputs; ++i) outputNames_.push_back(probeOut_->getPortName(i));
}

int RtMidiBackend::InputCount() {
    Refresh();
    return usable_ ? static_cast<int>(VirtualInputs.size() + inputNames_.size()) : 0;
}

int RtMidiBackend::OutputCount() {
    Refresh();
    return usable_ ? static_cast<int>(VirtualOutputs.size() + outputNames_.size()) : 0;
}

namespace {

int Caps(bool usable, const std::vector<std::string>& virtuals, const std::vector<std::string>& system, int id,
         const char* api, DeviceCaps& caps) {
    const int count = static_cast<int>(virtuals.size() + system.size());
    if (!usable || id < 0 || id >= count) return result::BadDeviceId;
    caps = DeviceCaps{};
    const auto index = static_cast<std::size_t>(id);
    caps.ProductName = index < virtuals.size() ? virtuals[index] : system[index - virtuals.size()];
    caps.Api = api;
    return result::NoError;
}

}  // namespace

int RtMidiBackend::InputCaps(int id, DeviceCaps& caps) {
    return Caps(usable_, VirtualInputs, inputNames_, id, ApiName(api_), caps);
}

int RtMidiBackend::OutputCaps(int id, DeviceCaps& caps) {
    return Caps(usable_, VirtualOutputs, outputNames_, id, ApiName(api_), caps);
}

int RtMidiBackend::Fail(const ErrorState& state) {
    lastError_ = state.Text;
    return result::DriverError;
}

int RtMidiBackend::OpenInput(int id, DriverCallback callback, void* instance, std::unique_ptr<InputDevice>& device) {
    DeviceCaps caps;
    if (InputCaps(id, caps) != result::NoError) return result::BadDeviceId;
    if (api_ == RtMidi::UNIX_JACK) {
        // RtMidi's JACK input unregisters its port while a period may still be reading it.
        const bool isVirtual = static_cast<std::size_t>(id) < VirtualInputs.size();
        auto input = std::make_unique<JackInput>(callback, instance);
        const int code = input->Open(clientName_, isVirtual ? caps.ProductName : VirtualInputs[0],
                                     isVirtual ? std::string() : caps.ProductName, lastError_);
        if (code != result::NoError) return code;
        device = std::move(input);
        return result::NoError;
    }
    auto input = std::make_unique<Input>(callback, instance);
    try {
        input->rt = MakePort<RtMidiIn>(api_, clientName_);
    } catch (const RtMidiError& error) {
        lastError_ = error.getMessage();
        return result::DriverError;
    }
    input->rt->setErrorCallback(&OnRtMidiError, &input->errors);
    input->rt->ignoreTypes(false, false, false);  // the device layer decides what it drops
    input->rt->setCallback(&Input::OnMessage, input.get());
    if (static_cast<std::size_t>(id) < VirtualInputs.size()) {
        input->rt->openVirtualPort(caps.ProductName);
    } else {
        const int port = FindPort(*input->rt, caps.ProductName);
        if (port < 0) return result::NoDevice;
        input->rt->openPort(static_cast<unsigned>(port), VirtualInputs[0]);
    }
    if (input->errors.Failed) return Fail(input->errors);
    device = std::move(input);
    return result::NoError;
}

int RtMidiBackend::OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) {
    DeviceCaps caps;
    if (OutputCaps(id, caps) != result::NoError) return result::BadDeviceId;
    const bool isVirtual = static_cast<std::size_t>(id) < VirtualOutputs.size();
    if (api_ == RtMidi::UNIX_JACK) {
        // RtMidi's JACK output drops what one period's buffer cannot take; ours keeps it
        // for the next periods.
        auto output = std::make_unique<JackOutput>(callback, instance);
        const int code = output->Open(clientName_, isVirtual ? caps.ProductName : VirtualOutputs[0],
                                      isVirtual ? std::string() : caps.ProductName, lastError_);
        if (code != result::NoError) return code;
        device = std::move(output);
        return result::NoError;
    }
    auto output = std::make_unique<Output>(callback, instance);
    try {
        output->rt = MakePort<RtMidiOut>(api_, clientName_);
    } catch (const RtMidiError& error) {
        lastError_ = error.getMessage();
        return result::DriverError;
    }
    output->rt->setErrorCallback(&OnRtMidiError, &output->errors);
    if (isVirtual) {
        output->rt->openVirtualPort(caps.ProductName);
    } else {
        const int port = FindPort(*output->rt, caps.ProductName);
        if (port < 0) return result::NoDevice;
        output->rt->openPort(static_cast<unsigned>(port), VirtualOutputs[0]);
    }
    if (output->errors.Failed) return Fail(output->errors);
    device = std::move(output);
    return result::NoError;
}

int RtMidiBackend::SetOutputVolume(int id, std::uint32_t) {
    DeviceCaps caps;
    return OutputCaps(id, caps);
}

std::optional<std::string> RtMidiBackend::ErrorText(int code) {
    if (code == result::DriverError && !lastError_.empty()) return lastError_;
    return StandardErrorText(code);
}

}  // namespace chordella::midi
