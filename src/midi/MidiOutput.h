#pragma once
// A MIDI output port: opens a backend's output device, re-channelizes and sends short
// messages, sends system-exclusive messages and frees their buffers when the driver has
// finished with them. On the built-in synth (device −1) and on a device marked General MIDI,
// makers' own voices are sent as their General MIDI voices (GeneralMidiVoices).
//
// Every member is for the control thread. PutShort and PutShortMsg allocate nothing,
// lock nothing and never throw.

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include "midi/ChordCB.h"
#include "midi/GeneralMidiVoices.h"
#include "midi/MidiBackend.h"
#include "midi/MidiErrors.h"
#include "midi/MidiEvent.h"
#include "midi/MidiOut.h"

namespace chordella::midi {

class TMidiOutput : public MidiOut {
public:
    using Notify = std::function<void(TMidiOutput&)>;

    // Closed, device 0 (not checked here), identity channel tables.
    TMidiOutput(MidiBackend& backend, platform::EventLoop& loop);
    ~TMidiOutput() override;
    TMidiOutput(const TMidiOutput&) = delete;
    TMidiOutput& operator=(const TMidiOutput&) = delete;

    const std::string& ProductName() const { return productName_; }
    // Refused while open; selects the device (ids -1 … NumDevs-1) with exactly this name.
    void SetProductName(const std::string& name);
    int DeviceID() const { return deviceId_; }
    // Refused while open; accepts -1 (the mapper: the built-in synth) and 0 … NumDevs-1.
    void SetDeviceID(int id);
    std::uint16_t Error() const { return error_; }
    int NumDevs() const { return numDevs_; }
    const DeviceCaps& Caps() const { return caps_; }
    // "Ignore Re-channelizing": channel messages keep their channel.
    bool BypassRechannelize() const { return bypass_; }
    void SetBypassRechannelize(bool flag) { bypass_ = flag; }

    Notify Onmidioutput;  // a system-exclusive send has completed

    // Never throws: false with the code in Error when the device cannot be opened.
    virtual bool Open();
    // True when an open device was closed; false when none was open. Throws
    // EmidioutputError when the driver refuses, and stays open then.
    virtual bool Close();
    // Throws "MIDI Output device not open" when closed.
    virtual void PutMidiEvent(const TMyMidiEvent& event);
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void PutShortMsg(std::uint32_t packed) override;
    // Sends a system-exclusive message; throws with the driver's text on failure.
    virtual void PutLong(const std::uint8_t* bytes, std::uint16_t length);
    // first: right channel (high 16 bits), second: left. By device id; throws on failure.
    void SetVolume(std::uint16_t first, std::uint16_t second);

    // The voices a General MIDI device plays instead of makers' own (outlives the output;
    // nullptr: none). Takes effect at the next Open.
    void SetGeneralMidiVoices(const GeneralMidiVoiceTable* table) { gmTable_ = table; }
    // The device is a General MIDI one (the built-in synth always is). At the next Open.
    void SetMarkedGeneralMidi(bool marked) { markedGeneralMidi_ = marked; }
    // The open device gets makers' voices as General MIDI voices.
    bool SendsGeneralMidiVoices() const { return gmVoices_ != nullptr; }

    bool IsOpen() const override { return open_; }
    // Long messages the driver has not finished yet.
    std::size_t PendingLongMessages() const { return pending_.size(); }

private:
    void Check(int code);
    void HandleDone();
    int Send(std::uint32_t packed);

    MidiBackend& backend_;
    std::string productName_;
    int deviceId_ = 0;
    std::uint16_t error_ = 0;
    int numDevs_ = 0;
    DeviceCaps caps_;
    bool open_ = false;
    bool bypass_ = false;
    std::array<std::uint8_t, 16> channelTableA_{};
    std::array<std::uint8_t, 16> channelTableB_{};

    const GeneralMidiVoiceTable* gmTable_ = nullptr;
    bool markedGeneralMidi_ = false;
    std::unique_ptr<GeneralMidiVoices> gmVoices_;  // while open on a General MIDI device

    std::unique_ptr<OutputDevice> device_;
    std::unique_ptr<MidiCtlInfo> info_;
    std::unique_ptr<MessageWindow> window_;
    std::list<std::unique_ptr<TMyMidiHdr>> pending_;
};

}  // namespace chordella::midi
