#include "midi/MidiInput.h"

namespace chordella::midi {

TMidiInput::TMidiInput(MidiBackend& backend, platform::EventLoop& loop, CallbackSettings& settings)
    : backend_(backend), settings_(settings) {
    numDevs_ = backend_.InputCount();
    SetDeviceID(0);
    window_ = std::make_unique<MessageWindow>(
        loop, [this](std::uint32_t count) { HandleData(count); }, [this] { HandleOverflow(); });
    state_ = State::Closed;
}

TMidiInput::~TMidiInput() {
    if (device_) {
        try {
            Close();
        } catch (const EMidiInputError&) {
            // Going away regardless: the device is dropped below.
        }
    }
    device_.reset();
    buffers_.clear();
}

void TMidiInput::Check(int code) {
    error_ = static_cast<std::uint16_t>(code);
    if (code != result::NoError) throw EMidiInputError(MidiErrorText(backend_, code));
}

void TMidiInput::SetDeviceID(int id) {
    if (state_ == State::Open) throw EMidiInputError("Change to DeviceID while device was open");
    if (id < 0 || id >= numDevs_) throw EMidiInputError("Invalid device ID");
    deviceId_ = static_cast<std::uint16_t>(id);
    DeviceCaps caps;
    Check(backend_.InputCaps(id, caps));
    caps_ = caps;
    productName_ = caps_.ProductName;
}

void TMidiInput::SetProductName(const std::string& name) {
    if (state_ == State::Open) throw EMidiInputError("Change to ProductName while device was open");
    for (int id = 0; id < numDevs_; ++id) {
        DeviceCaps caps;
        if (backend_.InputCaps(id, caps) == result::NoError && caps.ProductName == name) {
            SetDeviceID(id);
            return;
        }
    }
    throw EMidiInputError("MIDI Input Device " + name + " not installed ");
}

void TMidiInput::SetSysexBufferSize(std::uint16_t size) {
    if (state_ == State::Open) throw EMidiInputError("Change to SysexBufferSize while device was open");
    sysexBufferSize_ = size;
}

void TMidiInput::SetSysexBufferCount(std::uint16_t count) {
    if (state_ == State::Open) throw EMidiInputError("Change to SysexBuffercount while device was open");
    sysexBufferCount_ = count;
}

void TMidiInput::SetSysexOnly(bool flag) {
    sysexOnly_ = flag;
    if (info_) info_->SysexOnly.store(flag);
}

void TMidiInput::Open() {
    if (state_ == State::Open) return;
    try {
        if (!ring_) ring_ = std::make_unique<CircularBuffer>(capacity_);
        if (!info_) info_ = std::make_unique<MidiCtlInfo>();
        info_->Ring = ring_.get();
        info_->Window = window_.get();
        info_->Settings = &settings_;
        info_->SysexOnly.store(sysexOnly_);
        Check(backend_.OpenInput(deviceId_, &MidiCallback, info_.get(), device_));
        if (sysexBufferCount_ > 0 && sysexBufferSize_ > 0 && device_) CreateBuffers();
        state_ = State::Open;
    } catch (const std::exception&) {
        const std::uint16_t failure = error_ ? error_ : static_cast<std::uint16_t>(result::NoMemory);
        FreeOpenState();
        error_ = failure;
    }
}

void TMidiInput::CreateBuffers() {
    buffers_.reserve(sysexBufferCount_);
    for (int i = 0; i < sysexBufferCount_; ++i) {
        buffers_.push_back(std::make_unique<TMyMidiHdr>(sysexBufferSize_));
        Check(PrepareHeader(*buffers_.back()->Header()));
    }
    for (auto& buffer : buffers_) Check(device_->AddBuffer(*buffer->Header()));
}

// After a failed Open: the device is closed again and the ring and record released.
void TMidiInput::FreeOpenState() {
    if (device_) {
        device_->Reset();
        device_->Close();
        device_.reset();
    }
    buffers_.clear();
    info_.reset();
    ring_.reset();
}

void TMidiInput::Start() {
    if (state_ != State::Open || !device_) return;
    Check(device_->Start());
}

void TMidiInput::Close() {
    if (state_ != State::Open) return;
    state_ = State::Closed;
    if (device_) {
        Check(device_->Reset());
        for (auto& buffer : buffers_) Check(UnprepareHeader(*buffer->Header()));
        buffers_.clear();
        Check(device_->Close());
        device_.reset();
    }
    if (info_) info_->Ring = nullptr;
    if (ring_) lostBefore_ += ring_->Lost();
    ring_.reset();
}

std::uint32_t TMidiInput::LostEvents() const { return lostBefore_ + (ring_ ? ring_->Lost() : 0); }

std::uint16_t TMidiInput::MessageCount() const {
    return state_ == State::Open && ring_ ? ring_->EventCount() : 0;
}

std::unique_ptr<TMyMidiEvent> TMidiInput::GetMidiEvent() {
    MidiBufferItem item;
    if (state_ != State::Open || !ring_ || !ring_->Peek(item)) return nullptr;
    auto event = std::make_unique<TMyMidiEvent>();
    event->Time = item.Timestamp;
    event->Micros = item.Micros;
    // What the handler sends from now on was caused by this message.
    backend_.SetSourceTime(item.Micros);
    if (item.Sysex) {
        MidiHeader& header = *item.Sysex;
        event->MidiMessage = 0xF0;
        const std::uint32_t recorded = std::min(header.BytesRecorded.load(), header.BufferLength);
        event->SysexLength = static_cast<std::uint16_t>(recorded);
        if (recorded > 0) event->Sysex.assign(header.Data, header.Data + recorded);
        ring_->Remove();
        Check(PrepareHeader(header));
        Check(device_->AddBuffer(header));
    } else {
        event->MidiMessage = static_cast<std::uint8_t>(item.Data & 0xFF);
        event->Data1 = static_cast<std::uint8_t>((item.Data >> 8) & 0xFF);
        event->Data2 = static_cast<std::uint8_t>((item.Data >> 16) & 0xFF);
        ring_->Remove();
    }
    return event;
}

int TMidiInput::BuffersAtDriver() const {
    int count = 0;
    for (const auto& buffer : buffers_) count += (buffer->Header()->Flags.load() & HeaderInQueue) != 0;
    return count;
}

// A buffer the callback could not queue would be lost to the driver for good. Runs from a
// notification, so a refusal is only recorded in Error (the buffer stays out).
void TMidiInput::GiveBackDropped() {
    if (state_ != State::Open || !device_) return;
    for (auto& buffer : buffers_) {
        MidiHeader& header = *buffer->Header();
        if (!(header.Flags.load() & HeaderDropped)) continue;
        header.Flags.fetch_and(~HeaderDropped);
        int code = PrepareHeader(header);
        if (code == result::NoError) code = device_->AddBuffer(header);
        error_ = static_cast<std::uint16_t>(code);
    }
}

void TMidiInput::HandleData(std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!OnMidiInput || state_ != State::Open || MessageCount() == 0) break;
        OnMidiInput(*this);
    }
    // Whatever is sent after the handler (a tick, a click) is not caused by a received message.
    backend_.SetSourceTime(0);
}

void TMidiInput::HandleOverflow() {
    GiveBackDropped();
    if (OnOverflow && state_ == State::Open) OnOverflow(*this);
}

}  // namespace chordella::midi
