// Whatever bytes a MIDI driver may deliver, fed through an input and drained.
#include <cstddef>
#include <cstdint>

#include "midi/ChordCB.h"
#include "midi/MemoryBackend.h"
#include "midi/MidiInput.h"
#include "platform/EventLoop.h"

using namespace chordella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the settings: repeats, sysex only, and small rings and buffers
    // so that the limits are reached.
    const std::uint8_t setup = data[0];
    platform::EventLoop loop;
    midi::ControllerTable table;
    midi::CallbackSettings settings{table};
    settings.SetSuppressRepeats(setup & 1);
    settings.SetPassActiveSensing(setup & 2);
    settings.SetClockRouting(nullptr, (setup & 4) ? 1 : 0);
    midi::MemoryBackend backend;
    backend.AddInput("Fuzz");
    midi::TMidiInput input(backend, loop, settings);
    input.SetSysexOnly(setup & 8);
    input.SetCapacity(static_cast<std::uint16_t>(1 + (setup >> 4) * 8));
    input.SetSysexBufferSize(static_cast<std::uint16_t>(1 + (setup >> 5) * 3));
    input.SetSysexBufferCount(static_cast<std::uint16_t>(setup >> 6));
    std::size_t drained = 0;
    input.OnMidiInput = [&](midi::TMidiInput& in) {
        while (auto event = in.GetMidiEvent()) {
            if (event->SysexLength != event->Sysex.size()) __builtin_trap();
            ++drained;
        }
    };
    input.Open();
    input.Start();
    // The rest arrives in chunks: a length byte, then that many bytes.
    std::size_t at = 1;
    std::uint32_t millis = 0;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        backend.Feed(0, millis++, data + at + 1, length);
        at += 1 + length;
        if (millis % 4 == 0) loop.RunPending();
    }
    loop.RunPending();
    input.Close();
    return 0;
}
