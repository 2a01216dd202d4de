// midi_thru_latency [--count N] [--backend memory|jack|both]
//
// MIDI thru through the device layer: a message enters the driver callback of an input,
// the control thread's handler drains the ring and sends it on an output. Reports, in µs,
// the time from the driver callback to the output call having returned (p50, p99, max).
// The JACK run starts a private server with the dummy driver (our output → our input →
// thru to a second output); it is skipped, and says so, when jackd cannot start.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "midi/MemoryBackend.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/RtMidiBackend.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Random.h"
#include "support/JackServer.h"

using namespace chordella;

namespace {

// Stamps the time of every driver callback, by the message's 14-bit sequence number in its
// data bytes, then calls the device layer's callback. Wraps any backend's inputs.
struct Stamps {
    std::vector<std::atomic<std::int64_t>> at;
    explicit Stamps(std::size_t count) : at(count) {}
};

class StampingBackend final : public midi::MidiBackend {
public:
    StampingBackend(midi::MidiBackend& inner, Stamps& stamps) : inner_(inner), stamps_(stamps) {}
    std::string Name() const override { return inner_.Name(); }
    int InputCount() override { return inner_.InputCount(); }
    int OutputCount() override { return inner_.OutputCount(); }
    int InputCaps(int id, midi::DeviceCaps& caps) override { return inner_.InputCaps(id, caps); }
    int OutputCaps(int id, midi::DeviceCaps& caps) override { return inner_.OutputCaps(id, caps); }
    int OpenInput(int id, midi::DriverCallback callback, void* instance,
                  std::unique_ptr<midi::InputDevice>& device) override {
        callback_ = callback;
        instance_ = instance;
        return inner_.OpenInput(id, &Trampoline, this, device);
    }
    int OpenOutput(int id, midi::DriverCallback callback, void* instance,
                   std::unique_ptr<midi::OutputDevice>& device) override {
        return inner_.OpenOutput(id, callback, instance, device);
    }
    int SetOutputVolume(int id, std::uint32_t volume) override { return inner_.SetOutputVolume(id, volume); }

private:
    static void Trampoline(midi::DriverMessage kind, void* self, std::uintptr_t p1, std::uint32_t p2) noexcept {
        auto* me = static_cast<StampingBackend*>(self);
        if (kind == midi::DriverMessage::Data) {
            const std::size_t index = ((p1 >> 8) & 0x7F) | ((p1 >> 16) & 0x7F) << 7;
            if (index < me->stamps_.at.size()) me->stamps_.at[index].store(platform::NowMicros());
        }
        me->callback_(kind, me->instance_, p1, p2);
    }

    midi::MidiBackend& inner_;
    Stamps& stamps_;
    midi::DriverCallback callback_ = nullptr;
    void* instance_ = nullptr;
};

std::int64_t Percentile(std::vector<std::int64_t> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void Report(const char* name, const std::vector<std::int64_t>& values, std::size_t sent) {
    if (values.empty()) {
        std::printf("%-7s nothing arrived\n", name);
        return;
    }
    std::printf("%-7s callback -> thru output call: p50 %5lld us  p99 %5lld us  max %6lld us  (%zu of %zu)\n", name,
                static_cast<long long>(Percentile(values, 0.50)), static_cast<long long>(Percentile(values, 0.99)),
                static_cast<long long>(*std::max_element(values.begin(), values.end())), values.size(), sent);
}

// Runs the thru path on this thread (the control thread) while `send(i)` is called from a
// sender thread with gaps of 200-700 µs, like a player's notes and controllers.
std::vector<std::int64_t> RunThru(midi::MidiBackend& backend, int inputId, midi::MidiBackend& thruBackend,
                                  int thruId, std::size_t count, const std::function<void(std::size_t)>& send) {
    Stamps stamps(count);
    StampingBackend stamping(backend, stamps);
    platform::EventLoop loop;
    midi::ControllerTable table;
    midi::CallbackSettings settings{table};
    midi::TMidiInput input(stamping, loop, settings);
    input.SetDeviceID(inputId);
    midi::TMidiOutput thru(thruBackend, loop);
    thru.SetDeviceID(thruId);
    if (!thru.Open()) return {};
    std::vector<std::int64_t> latencies;
    latencies.reserve(count);
    std::atomic<std::size_t> handled{0};
    input.OnMidiInput = [&](midi::TMidiInput& in) {
        while (auto event = in.GetMidiEvent()) {
            thru.PutShort(event->MidiMessage, event->Data1, event->Data2);
            const std::int64_t done = platform::NowMicros();
            const std::size_t index = event->Data1 | event->Data2 << 7;
            if (index < count) latencies.push_back(done - stamps.at[index].load());
            handled.fetch_add(1);
        }
    };
    input.Open();
    if (input.Error() != 0) return {};
    input.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::thread sender([&] {
        platform::Random random(3);
        for (std::size_t i = 0; i < count; ++i) {
            send(i);
            std::this_thread::sleep_for(std::chrono::microseconds(200 + random.Next() % 500));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        loop.Quit();
    });
    loop.Run();
    sender.join();
    input.Close();
    return latencies;
}

std::uint8_t Low(std::size_t i) { return static_cast<std::uint8_t>(i & 0x7F); }
std::uint8_t High(std::size_t i) { return static_cast<std::uint8_t>((i >> 7) & 0x7F); }

void RunMemory(std::size_t count) {
    midi::MemoryBackend backend;
    backend.AddInput("Keyboard");
    backend.AddOutput("Module");
    auto latencies = RunThru(backend, 0, backend, 0, count, [&](std::size_t i) {
        const std::uint8_t bytes[3] = {0x90, Low(i), High(i)};
        backend.Feed(0, 0, bytes, 3);
    });
    Report("memory", latencies, count);
}

void RunJack(std::size_t count) {
    testing::JackServer server;
    std::string why;
    if (!server.Start(why)) {
        std::printf("jack    skipped: %s\n", why.c_str());
        return;
    }
    midi::RtMidiBackend backend(midi::RtMidiBackend::Api::Jack);
    platform::EventLoop senderLoop;
    midi::TMidiOutput source(backend, senderLoop);  // "Chordella Out", driven by the sender thread only
    if (!source.Open()) {
        std::printf("jack    skipped: cannot open Chordella Out\n");
        return;
    }
    int inputId = -1;
    for (int id = 0; id < backend.InputCount(); ++id) {
        midi::DeviceCaps caps;
        if (backend.InputCaps(id, caps) == 0 && caps.ProductName.find(":Chordella Out") != std::string::npos)
            inputId = id;
    }
    auto latencies = RunThru(backend, inputId, backend, 1, count, [&](std::size_t i) {
        source.PutShort(0x90, Low(i), High(i));
    });
    Report("jack", latencies, count);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 5000;
    std::string which = "both";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--count" && i + 1 < argc) count = std::min<std::size_t>(16384, std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--backend" && i + 1 < argc) which = argv[++i];
    }
    if (which == "memory" || which == "both") RunMemory(count);
    if (which == "jack" || which == "both") RunJack(count);
    return 0;
}
