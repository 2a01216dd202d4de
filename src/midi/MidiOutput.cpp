#include "midi/MidiOutput.h"

namespace chordella::midi {

TMidiOutput::TMidiOutput(MidiBackend& backend, platform::EventLoop& loop) : backend_(backend) {
    numDevs_ = backend_.OutputCount();
    for (std::uint8_t channel = 0; channel < 16; ++channel) channelTableA_[channel] = channelTableB_[channel] = channel;
    window_ = std::make_unique<MessageWindow>(loop, nullptr, [this] { HandleDone(); });
    DeviceCaps caps;
    if (backend_.OutputCaps(deviceId_, caps) == result::NoError) {
        caps_ = caps;
        productName_ = caps.ProductName;
    }
}

TMidiOutput::~TMidiOutput() {
    if (open_) {
        try {
            Close();
        } catch (const EmidioutputError&) {
            // Going away regardless.
        }
    }
    device_.reset();
}

void TMidiOutput::Check(int code) {
    error_ = static_cast<std::uint16_t>(code);
    if (code != result::NoError) throw EmidioutputError(MidiErrorText(backend_, code));
}

void TMidiOutput::SetDeviceID(int id) {
    if (open_) throw EmidioutputError("Change to DeviceID while device was open");
    if (id != -1 && (id < 0 || id >= numDevs_)) throw EmidioutputError("Invalid device ID");
    deviceId_ = id;
    DeviceCaps caps;
    Check(backend_.OutputCaps(id, caps));
    caps_ = caps;
    productName_ = caps_.ProductName;
}

void TMidiOutput::SetProductName(const std::string& name) {
    if (open_) throw EmidioutputError("Change to ProductName while device was open");
    for (int id = -1; id < numDevs_; ++id) {
        DeviceCaps caps;
        if (backend_.OutputCaps(id, caps) == result::NoError && caps.ProductName == name) {
            SetDeviceID(id);
            return;
        }
    }
    throw EmidioutputError("MIDI output Device " + name + " not installed");
}

bool TMidiOutput::Open() {
    if (open_) return true;
    if (!info_) info_ = std::make_unique<MidiCtlInfo>();
    info_->Window = window_.get();
    const int code = backend_.OpenOutput(deviceId_, &MidiCallback, info_.get(), device_);
    error_ = static_cast<std::uint16_t>(code);
    if (code != result::NoError) {
        device_.reset();
        info_.reset();
        return false;
    }
    open_ = true;
    const bool generalMidi = deviceId_ == -1 || markedGeneralMidi_;
    gmVoices_ = gmTable_ != nullptr && generalMidi ? std::make_unique<GeneralMidiVoices>(*gmTable_) : nullptr;
    return true;
}

bool TMidiOutput::Close() {
    bool closed = false;
    if (open_ && device_) {
        Check(device_->Close());
        closed = true;
    }
    device_.reset();
    gmVoices_.reset();
    open_ = false;
    pending_.clear();  // the closed device returned them
    return closed;
}

void TMidiOutput::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!bypass_ && status >= 0x80 && status < 0xF0) {
        const int channel = status & 0x0F;
        status = static_cast<std::uint8_t>((status & 0xF0) | channelTableB_[channelTableA_[channel] & 0x0F]);
    }
    const std::uint32_t packed = status | std::uint32_t{data1} << 8 | std::uint32_t{data2} << 16;
    error_ = static_cast<std::uint16_t>(device_ ? Send(packed) : result::InvalidHandle);
}

void TMidiOutput::PutShortMsg(std::uint32_t packed) {
    if (device_) error_ = static_cast<std::uint16_t>(Send(packed));
}

int TMidiOutput::Send(std::uint32_t packed) {
    if (!gmVoices_) return device_->ShortMsg(packed);
    const GeneralMidiVoices::Rewritten sent = gmVoices_->Rewrite(packed);
    int code = result::NoError;
    for (int i = 0; i < sent.Count && code == result::NoError; ++i)
        code = device_->ShortMsg(sent.Messages[static_cast<std::size_t>(i)]);
    return code;
}

void TMidiOutput::PutLong(const std::uint8_t* bytes, std::uint16_t length) {
    if (!device_) Check(result::InvalidHandle);
    auto buffer = std::make_unique<TMyMidiHdr>(length);
    if (!buffer->Header()) Check(result::InvalidParameter);
    std::copy(bytes, bytes + length, buffer->Data());
    Check(PrepareHeader(*buffer->Header()));
    MidiHeader& header = *buffer->Header();
    pending_.push_back(std::move(buffer));
    const int code = device_->LongMsg(header);
    if (code != result::NoError) {
        pending_.pop_back();
        Check(code);
    }
}

void TMidiOutput::PutMidiEvent(const TMyMidiEvent& event) {
    if (!open_) throw EmidioutputError("MIDI Output device not open");
    if (event.SysexLength > 0 && !event.Sysex.empty())
        PutLong(event.Sysex.data(), static_cast<std::uint16_t>(std::min<std::size_t>(event.SysexLength, event.Sysex.size())));
    else
        PutShort(event.MidiMessage, event.Data1, event.Data2);
}

void TMidiOutput::SetVolume(std::uint16_t first, std::uint16_t second) {
    Check(backend_.SetOutputVolume(deviceId_, std::uint32_t{first} << 16 | second));
}

// The driver has finished with one or more long messages: free them, then tell the owner.
void TMidiOutput::HandleDone() {
    int done = 0;
    for (auto it = pending_.begin(); it != pending_.end();) {
        MidiHeader& header = *(*it)->Header();
        if (header.Flags.load() & HeaderDone) {
            UnprepareHeader(header);
            it = pending_.erase(it);
            ++done;
        } else {
            ++it;
        }
    }
    for (int i = 0; i < done && Onmidioutput; ++i) Onmidioutput(*this);
}

}  // namespace chordella::midi
