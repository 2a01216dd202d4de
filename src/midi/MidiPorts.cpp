#include "midi/MidiPorts.h"

#include <utility>

namespace chordella::midi {

namespace {

template <typename Make>
auto Guarded(Make make) -> decltype(make()) {
    try {
        return make();
    } catch (const std::exception&) {
        return nullptr;  // no such device: the slot stays empty
    }
}

}  // namespace

MidiPorts::MidiPorts(std::unique_ptr<MidiBackend> backend, platform::EventLoop& loop) : backend_(std::move(backend)) {
    MidiInput1 = Guarded([&] { return std::make_unique<TMidiInput>(*backend_, loop, settings_); });
    MidiInput2 = Guarded([&] { return std::make_unique<TMidiInput>(*backend_, loop, settings_); });
    MidiOutput1 = Guarded([&] { return std::make_unique<TMidiOutput>(*backend_, loop); });
    MidiOutput2 = Guarded([&] { return std::make_unique<TMidiOutput>(*backend_, loop); });
    MidiOutput3 = Guarded([&] { return std::make_unique<TMidiOutput>(*backend_, loop); });
    currentOutput_ = MidiOutput1.get();
    settings_.SetClockRouting(nullptr, 0);
    settings_.SetPassActiveSensing(false);
    ClearControllerValues();
    ClearControllerSnapshot();
    settings_.SetSuppressRepeats(true);
}

// Ports close before the backend they came from goes away.
MidiPorts::~MidiPorts() {
    MidiInput1.reset();
    MidiInput2.reset();
    MidiOutput1.reset();
    MidiOutput2.reset();
    MidiOutput3.reset();
}

void MidiPorts::SetGeneralMidiVoices(GeneralMidiVoiceTable table) {
    gmVoices_ = std::move(table);
    for (TMidiOutput* output : {MidiOutput1.get(), MidiOutput2.get()})
        if (output != nullptr) output->SetGeneralMidiVoices(&gmVoices_);
}

}  // namespace chordella::midi
