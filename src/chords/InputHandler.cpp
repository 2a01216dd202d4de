#include "chords/InputHandler.h"

#include <exception>
#include <memory>

#include "core/Session.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"

namespace chordella::chords {

namespace {
constexpr std::uint8_t TimingClock = 0xF8;
}  // namespace

std::string OverflowStatus(std::uint32_t lost) {
    return "MIDI input overflow: " + std::to_string(lost) + (lost == 1 ? " message lost" : " messages lost");
}

InputHandler::~InputHandler() { Detach(); }

void InputHandler::Attach() {
    midi::TMidiInput* input = (session_.*port_)();
    if (!input) return;
    input->OnMidiInput = [this](midi::TMidiInput& in) { Drain(in); };
    input->OnOverflow = [this](midi::TMidiInput& in) { Overflowed(in); };
    attached_ = true;
}

void InputHandler::Detach() {
    if (!attached_) return;
    if (midi::TMidiInput* input = (session_.*port_)()) {
        input->OnMidiInput = nullptr;
        input->OnOverflow = nullptr;
    }
    attached_ = false;
}

void InputHandler::Drain(midi::TMidiInput& input) {
    BeginDrain();
    while (input.MessageCount() > 0) {
        std::unique_ptr<midi::TMyMidiEvent> event;
        try {
            event = input.GetMidiEvent();
        } catch (const std::exception&) {
            return;  // the driver refused a buffer back; what is left waits for the next call
        }
        if (!event) return;
        Handle(*event);
    }
}

void InputHandler::Overflowed(midi::TMidiInput& input) {
    Drain(input);
    const std::uint32_t lost = input.LostEvents();
    if (lost == lostShown_) return;
    lostShown_ = lost;
    session_.Style().heldNotes.Clear();
    ReleaseAfterLoss();
    session_.Display().ShowStatus(OverflowStatus(lost));
}

void InputHandler::OtherMessage(std::uint8_t status) {
    if (status < TimingClock) sysex_.Interrupt();
}

void InputHandler::SendSysex(midi::TMidiOutput* out, std::span<const std::uint8_t> message) {
    if (!out || !out->IsOpen() || message.empty() || message.size() > midi::SysexAssembly::MaxLength) return;
    try {
        out->PutLong(message.data(), static_cast<std::uint16_t>(message.size()));
    } catch (const std::exception&) {
        // A refused long message is lost like one sent to a closed port.
    }
}

}  // namespace chordella::chords
