#pragma once
// What the keyboard input and the second input do alike as handlers of a MIDI input: they
// become the input's OnMidiInput and OnOverflow handlers, drain its ring one event at a
// time, put system-exclusive pieces together, and, when messages were lost, report the loss
// once and release what the lost messages may have left sounding.
//
// Control thread only.

#include <cstdint>
#include <span>
#include <string>

#include "midi/SysexAssembly.h"

namespace chordella::core { class Session; }
namespace chordella::midi {
class TMidiInput;
class TMidiOutput;
struct TMyMidiEvent;
}  // namespace chordella::midi

namespace chordella::chords {

// The status line after an input overflow: "MIDI input overflow: 12 messages lost".
std::string OverflowStatus(std::uint32_t lost);

class InputHandler {
public:
    InputHandler(const InputHandler&) = delete;
    InputHandler& operator=(const InputHandler&) = delete;

    // Control thread. Becomes (stops being) the input's OnMidiInput and OnOverflow handler.
    virtual void Attach();
    void Detach();

    // Control thread. Drains the input's ring completely, one event at a time.
    void Drain(midi::TMidiInput& input);
    // Control thread. Messages were lost (a full ring while the control thread stalled, or
    // no buffer left for a system-exclusive message): what did arrive is handled, then
    // nothing held before is trusted any longer. The chord zone's held-note list is emptied
    // (the next notes form the next chord), what this input left sounding is released, and
    // the loss is shown once in the status line.
    void Overflowed(midi::TMidiInput& input);

protected:
    using PortOf = midi::TMidiInput* (core::Session::*)();
    InputHandler(core::Session& session, PortOf port) : session_(session), port_(port) {}
    ~InputHandler();

    // A drain begins (its events follow through Handle).
    virtual void BeginDrain() {}
    virtual void Handle(const midi::TMyMidiEvent& event) = 0;
    // Releases the notes and pedals whose releases may be among the lost messages.
    virtual void ReleaseAfterLoss() = 0;

    // The whole system-exclusive message a piece completes (empty while unfinished or
    // broken); a message of another kind ends an unfinished one.
    std::span<const std::uint8_t> SysexPiece(std::span<const std::uint8_t> piece) { return sysex_.Add(piece); }
    void OtherMessage(std::uint8_t status);
    // Sends a whole system-exclusive message on `out` (nothing when it is closed or refuses).
    static void SendSysex(midi::TMidiOutput* out, std::span<const std::uint8_t> message);

    core::Session& session_;

private:
    PortOf port_;
    bool attached_ = false;
    std::uint32_t lostShown_ = 0;  // the input's loss count last shown
    midi::SysexAssembly sysex_;
};

}  // namespace chordella::chords
