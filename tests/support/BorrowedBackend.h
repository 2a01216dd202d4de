#pragma once
// A MIDI backend that lends out another one the test keeps: a command that takes ownership
// of its backend (and destroys it at its end) still leaves the test the in-memory devices
// to read afterwards.
//
//   midi::MemoryBackend memory;   // devices added as usual
//   RunArranger(std::make_unique<BorrowedBackend>(memory), flags, out, err);
//   memory.Sent(-1);              // what the command sent

#include <memory>
#include <string>

#include "midi/MidiBackend.h"

namespace chordella::testing {

class BorrowedBackend final : public midi::MidiBackend {
public:
    explicit BorrowedBackend(midi::MidiBackend& lent) : lent_(lent) {}
    std::string Name() const override { return lent_.Name(); }
    int InputCount() override { return lent_.InputCount(); }
    int OutputCount() override { return lent_.OutputCount(); }
    int InputCaps(int id, midi::DeviceCaps& caps) override { return lent_.InputCaps(id, caps); }
    int OutputCaps(int id, midi::DeviceCaps& caps) override { return lent_.OutputCaps(id, caps); }
    int OpenInput(int id, midi::DriverCallback callback, void* instance,
                  std::unique_ptr<midi::InputDevice>& device) override {
        return lent_.OpenInput(id, callback, instance, device);
    }
    int OpenOutput(int id, midi::DriverCallback callback, void* instance,
                   std::unique_ptr<midi::OutputDevice>& device) override {
        return lent_.OpenOutput(id, callback, instance, device);
    }
    int SetOutputVolume(int id, std::uint32_t volume) override { return lent_.SetOutputVolume(id, volume); }
    std::optional<std::string> ErrorText(int code) override { return lent_.ErrorText(code); }

private:
    midi::MidiBackend& lent_;
};

}  // namespace chordella::testing
