#pragma once
// An input and an output on the in-memory backend, with the loop that plays the control
// thread. The test thread also plays the driver's thread when it feeds bytes.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "midi/ChordCB.h"
#include "midi/MemoryBackend.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "platform/EventLoop.h"

namespace chordella::midi::testing {

struct MidiRig {
    MidiRig() {
        backend.AddInput("Keyboard");
        backend.AddInput("Pads");
        backend.AddOutput("Sound Module");
        settings.SetSuppressRepeats(true);
        input = std::make_unique<TMidiInput>(backend, loop, settings);
        output = std::make_unique<TMidiOutput>(backend, loop);
    }

    void OpenAndStart() {
        input->Open();
        input->Start();
    }
    void Feed(std::uint32_t millis, const std::vector<std::uint8_t>& bytes) { backend.Feed(0, millis, bytes); }

    std::vector<std::unique_ptr<TMyMidiEvent>> Drain() {
        std::vector<std::unique_ptr<TMyMidiEvent>> events;
        while (auto event = input->GetMidiEvent()) events.push_back(std::move(event));
        return events;
    }

    // What a handler that drains on every notification receives.
    std::vector<std::unique_ptr<TMyMidiEvent>> DrainThroughHandler() {
        std::vector<std::unique_ptr<TMyMidiEvent>> events;
        input->OnMidiInput = [&](TMidiInput& in) {
            while (auto event = in.GetMidiEvent()) events.push_back(std::move(event));
        };
        loop.RunPending();
        input->OnMidiInput = nullptr;
        return events;
    }

    platform::EventLoop loop;
    ControllerTable table;
    CallbackSettings settings{table};
    MemoryBackend backend;
    std::unique_ptr<TMidiInput> input;
    std::unique_ptr<TMidiOutput> output;
};

// Expects `change` to throw an `Error` whose text is `text`.
template <typename Error, typename Change>
void ExpectRefused(Change change, const char* text) {
    try {
        change();
        ADD_FAILURE() << "not refused: " << text;
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), text);
    }
}

inline std::uint32_t Packed(const TMyMidiEvent& event) {
    return event.MidiMessage | std::uint32_t{event.Data1} << 8 | std::uint32_t{event.Data2} << 16;
}

}  // namespace chordella::midi::testing
