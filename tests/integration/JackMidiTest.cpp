// RtMidi ports on a real JACK server: our output connected to our input.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "midi/DriverMessages.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/RtMidiBackend.h"
#include "LoopWait.h"
#include "support/JackServer.h"

namespace chordella::midi {
namespace {

using testing::RunUntil;

class JackMidi : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new testing::JackServer();
        if (!server_->Start(why_)) {
            delete server_;
            server_ = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        if (!server_) GTEST_SKIP() << "skipped: " << why_;
    }

    static int FindInput(MidiBackend& backend, const std::string& part) {
        const int count = backend.InputCount();
        for (int id = 0; id < count; ++id) {
            DeviceCaps caps;
            if (backend.InputCaps(id, caps) == 0 && caps.ProductName.find(part) != std::string::npos &&
                caps.ProductName != part)
                return id;
        }
        return -1;
    }

    // A connection made now carries messages from a later period on: sends a probe every
    // 20 ms until one has arrived (`arrived` turns true).
    static bool WaitUntilConnected(platform::EventLoop& loop, TMidiOutput& output, const std::function<bool()>& arrived) {
        auto nextProbe = std::chrono::steady_clock::now();
        return RunUntil(loop, [&] {
            if (arrived()) return true;
            if (std::chrono::steady_clock::now() >= nextProbe) {
                output.PutShort(ProbeStatus, ProbeController, 0);
                nextProbe += std::chrono::milliseconds(20);
            }
            return false;
        });
    }

    static constexpr std::uint8_t ProbeStatus = 0xBF;
    static constexpr std::uint8_t ProbeController = 0x77;

    static testing::JackServer* server_;
    static std::string why_;
};

testing::JackServer* JackMidi::server_ = nullptr;
std::string JackMidi::why_;

// Ten thousand messages in bursts of two thousand: more than one JACK period's buffer
// takes (about 2 700 events), so the output must carry the rest into the next periods; and
// in the middle the control thread stalls for 200 ms, so the input's ring must hold what
// arrives meanwhile.
TEST_F(JackMidi, TenThousandMessagesInBurstsArriveInOrderThoughTheControlThreadStalls) {
    RtMidiBackend backend(RtMidiBackend::Api::Jack);
    ASSERT_EQ(backend.Name(), "JACK");
    const testing::JackServer::XrunCount xruns;
    platform::EventLoop loop;
    // Just after the server came up it may still refuse a client for a moment.
    ASSERT_TRUE(RunUntil(loop, [&] { return backend.Usable(); })) << LastDriverMessage();
    ControllerTable table;
    CallbackSettings settings{table};
    TMidiOutput output(backend, loop);
    ASSERT_EQ(output.ProductName(), "Chordella Out");
    ASSERT_TRUE(output.Open()) << MidiErrorText(backend, output.Error());
    output.SetVolume(65535, 65535);  // RtMidi has no volume: accepted
    EXPECT_EQ(output.Error(), 0);

    TMidiInput input(backend, loop, settings);
    int source = -1;
    ASSERT_TRUE(RunUntil(loop, [&] { return (source = FindInput(backend, "Chordella Out")) >= 0; }))
        << "our output is listed among the inputs from the server's next period on";
    input.SetDeviceID(source);
    input.Open();
    ASSERT_EQ(input.Error(), 0) << MidiErrorText(backend, input.Error());
    input.Start();
    bool connected = false;
    std::vector<std::uint32_t> received;
    std::vector<std::vector<std::uint8_t>> sysex;
    input.OnMidiInput = [&](TMidiInput& in) {
        while (auto event = in.GetMidiEvent()) {
            if (event->MidiMessage == 0xF0) {
                sysex.push_back(event->Sysex);
            } else if (event->MidiMessage == ProbeStatus && event->Data1 == ProbeController) {
                connected = true;
            } else {
                received.push_back(event->MidiMessage | event->Data1 << 8 | event->Data2 << 16);
            }
        }
    };
    ASSERT_TRUE(WaitUntilConnected(loop, output, [&] { return connected; }));

    constexpr int Messages = 10000;
    constexpr int Burst = 2000;
    std::vector<std::uint32_t> sent;
    for (int i = 0; i < Messages; ++i) {
        // Short messages take as much room in a period's buffer as long ones: half are
        // one-byte tune requests, the rest notes and program changes that number them.
        std::uint8_t status = 0xF6, data1 = 0, data2 = 0;
        if (i % 2 == 1) {
            status = static_cast<std::uint8_t>((i % 4 == 1 ? 0x90 : 0xC0) | (i / 2 % 16));
            data1 = static_cast<std::uint8_t>(i / 2 % 128);
            data2 = status < 0xC0 ? static_cast<std::uint8_t>(1 + i / 256) : 0;
        }
        output.PutShort(status, data1, data2);
        ASSERT_EQ(output.Error(), 0) << MidiErrorText(backend, output.Error());
        sent.push_back(status | data1 << 8 | data2 << 16);
        if (i % Burst != Burst - 1) continue;
        if (i + 1 == 3 * Burst)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the control thread stalls
        else
            loop.RunPending();
    }
    const std::vector<std::uint8_t> identity = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    output.PutLong(identity.data(), static_cast<std::uint16_t>(identity.size()));
    EXPECT_TRUE(RunUntil(loop, [&] { return received.size() >= sent.size() && !sysex.empty(); }))
        << received.size() << " of " << sent.size() << " arrived; the server had " << xruns.Value() << " xruns";
    EXPECT_EQ(input.LostEvents(), 0u);
    ASSERT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent) << "in the order sent";
    ASSERT_EQ(sysex.size(), 1u);
    EXPECT_EQ(sysex[0], identity);
    EXPECT_EQ(input.BuffersAtDriver(), 16);
    input.Close();
    EXPECT_TRUE(output.Close());
}

TEST_F(JackMidi, OtherProgramsCanSendToOurVirtualInput) {
    RtMidiBackend backend(RtMidiBackend::Api::Jack);
    platform::EventLoop loop;
    ASSERT_TRUE(RunUntil(loop, [&] { return backend.Usable(); })) << LastDriverMessage();
    ControllerTable table;
    CallbackSettings settings{table};
    TMidiInput input(backend, loop, settings);
    EXPECT_EQ(input.ProductName(), "Chordella In");
    input.SetDeviceID(1);
    EXPECT_EQ(input.ProductName(), "Chordella In 2");
    input.Open();
    ASSERT_EQ(input.Error(), 0) << MidiErrorText(backend, input.Error());
    input.Start();

    // Another program sees the port among its outputs and sends to it.
    RtMidiBackend other(RtMidiBackend::Api::Jack, "Other");
    TMidiOutput sender(other, loop);
    // A new port shows in the lists from the server's next period on.
    int target = -1;
    ASSERT_TRUE(RunUntil(loop, [&] {
        for (int id = 0; id < other.OutputCount(); ++id) {
            DeviceCaps caps;
            if (other.OutputCaps(id, caps) == 0 && caps.ProductName.find(":Chordella In 2") != std::string::npos)
                target = id;
        }
        return target >= 0;
    }));
    sender.SetDeviceID(target);
    ASSERT_TRUE(sender.Open()) << MidiErrorText(other, sender.Error());
    // The connection carries messages from some period on: the sender repeats until one came.
    std::unique_ptr<TMyMidiEvent> event;
    auto nextSend = std::chrono::steady_clock::now();
    ASSERT_TRUE(RunUntil(loop, [&] {
        if (input.MessageCount() > 0) return true;
        if (std::chrono::steady_clock::now() >= nextSend) {
            sender.PutShort(0xB3, 7, 99);
            nextSend += std::chrono::milliseconds(20);
        }
        return false;
    }));
    event = input.GetMidiEvent();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->MidiMessage, 0xB3);
    EXPECT_EQ(event->Data1, 7);
    EXPECT_EQ(event->Data2, 99);
    sender.Close();
    input.Close();
}

}  // namespace
}  // namespace chordella::midi
