#include "midi/MidiInput.h"

#include <gtest/gtest.h>

#include "MidiRig.h"

namespace chordella::midi {
namespace {

using testing::MidiRig;
using testing::Packed;

TEST(MidiInput, EventsWaitingWhileTheControlThreadIsBusyAreDrainedInOrderOnce) {
    MidiRig rig;
    rig.OpenAndStart();
    int calls = 0;
    std::vector<std::uint32_t> seen;
    rig.input->OnMidiInput = [&](TMidiInput& in) {
        ++calls;
        while (auto event = in.GetMidiEvent()) seen.push_back(Packed(*event));
    };
    rig.Feed(10, {0x90, 60, 100});
    rig.Feed(11, {0x90, 64, 100});
    rig.Feed(12, {0x80, 60, 0});
    EXPECT_EQ(rig.input->MessageCount(), 3);
    rig.loop.RunPending();
    EXPECT_EQ(calls, 1) << "later notifications find the ring empty and call nothing";
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{0x643C90, 0x644090, 0x003C80}));
    EXPECT_EQ(rig.input->MessageCount(), 0);
}

TEST(MidiInput, AHandlerThatTakesOneEventPerNotificationStillGetsEveryEvent) {
    MidiRig rig;
    rig.OpenAndStart();
    std::vector<std::uint32_t> times;
    rig.input->OnMidiInput = [&](TMidiInput& in) { times.push_back(in.GetMidiEvent()->Time); };
    for (std::uint32_t t = 0; t < 5; ++t) rig.Feed(t * 7, {0x90, 60, 1});
    rig.loop.RunPending();
    EXPECT_EQ(times, (std::vector<std::uint32_t>{0, 7, 14, 21, 28}));
}

// Timing clock and active sensing never reach a handler, unless the clock is routed to the
// queue and active sensing is passed.
TEST(MidiInput, TimingClockAndActiveSensingReachAHandlerOnlyWhenRoutedToTheQueueOrPassed) {
    MidiRig rig;
    rig.OpenAndStart();
    rig.Feed(1, {0xF8});
    rig.Feed(2, {0xFE, 0xF8, 0xFE});
    rig.Feed(3, {0x90, 0xF8, 60, 0xFE, 100});  // real-time bytes inside a message
    auto events = rig.DrainThroughHandler();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(Packed(*events[0]), 0x643C90u);

    MidiRig routed;
    routed.settings.SetClockRouting(nullptr, 1);
    routed.settings.SetPassActiveSensing(true);
    routed.OpenAndStart();
    routed.Feed(1, {0xF8, 0xFE});
    events = routed.Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]->MidiMessage, 0xF8);
    EXPECT_EQ(events[1]->MidiMessage, 0xFE);
}

TEST(MidiInput, RepeatedTrackedControllersArePassedOnceUntilTheValuesAreCleared) {
    MidiRig rig;
    rig.OpenAndStart();
    rig.Feed(0, {0xB0, 7, 100});
    rig.Feed(1, {0xB0, 7, 100});
    rig.Feed(2, {0xB0, 7, 90});
    rig.Feed(3, {0xB0, 1, 20});
    rig.Feed(4, {0xB0, 1, 20});
    std::vector<std::uint32_t> passed;
    for (auto& event : rig.Drain()) passed.push_back(Packed(*event));
    EXPECT_EQ(passed, (std::vector<std::uint32_t>{0x6407B0, 0x5A07B0, 0x1401B0, 0x1401B0}));
    EXPECT_EQ(rig.table.Value(0, 7), 90);

    rig.table.Clear();
    rig.Feed(5, {0xB0, 7, 100});
    EXPECT_EQ(rig.Drain().size(), 1u);
}

TEST(MidiInput, ARepeatedProgramChangeIsDroppedButOtherChannelsAndPressurePass) {
    MidiRig rig;
    rig.OpenAndStart();
    rig.Feed(0, {0xC0, 5, 0xC0, 5, 0xC1, 5, 0xD0, 40, 0xD0, 40, 0xD0, 41});
    std::vector<std::uint32_t> passed;
    for (auto& event : rig.Drain()) passed.push_back(Packed(*event));
    EXPECT_EQ(passed, (std::vector<std::uint32_t>{0x05C0, 0x05C1, 0x28D0, 0x29D0}));

    MidiRig unsuppressed;  // with suppression off, repeats pass
    unsuppressed.settings.SetSuppressRepeats(false);
    unsuppressed.OpenAndStart();
    unsuppressed.Feed(0, {0xB0, 7, 100, 0xB0, 7, 100});
    EXPECT_EQ(unsuppressed.Drain().size(), 2u);
}

TEST(MidiInput, SysexArrivesAsAnOwnedCopyItsBufferGoesBackToTheDriverAndSysexOnlyDropsShortMessages) {
    MidiRig rig;
    rig.OpenAndStart();
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);
    const std::vector<std::uint8_t> reset = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    rig.Feed(42, reset);
    EXPECT_EQ(rig.input->BuffersAtDriver(), 15);
    auto events = rig.Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->MidiMessage, 0xF0);
    EXPECT_EQ(events[0]->Data1, 0);
    EXPECT_EQ(events[0]->Time, 42u);
    EXPECT_EQ(events[0]->SysexLength, reset.size());
    EXPECT_EQ(events[0]->Sysex, reset);
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);

    // Many more messages than buffers: each buffer comes back and is used again.
    for (int i = 0; i < 100; ++i) {
        rig.Feed(static_cast<std::uint32_t>(i), {0xF0, 0x43, static_cast<std::uint8_t>(i), 0xF7});
        auto again = rig.Drain();
        ASSERT_EQ(again.size(), 1u);
        ASSERT_EQ(again[0]->Sysex[2], i);
    }
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);

    rig.input->SetSysexOnly(true);  // queues system exclusive but no short messages
    rig.Feed(0, {0x90, 60, 100, 0xF0, 0x01, 0xF7, 0x80, 60, 0});
    events = rig.Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->MidiMessage, 0xF0);
    rig.input->SetSysexOnly(false);
    rig.Feed(1, {0x90, 60, 100});
    EXPECT_EQ(rig.Drain().size(), 1u);
}

TEST(MidiInput, NothingArrivesBeforeStartAndAClosedInputAnswersNothingAndItsDeviceIsFreed) {
    MidiRig rig;
    EXPECT_EQ(rig.input->MessageCount(), 0);
    EXPECT_EQ(rig.input->GetMidiEvent(), nullptr);
    rig.input->Open();
    rig.Feed(5, {0x90, 60, 100});
    EXPECT_EQ(rig.input->MessageCount(), 0);
    rig.input->Start();
    rig.Feed(5, {0x90, 60, 100});
    EXPECT_EQ(rig.input->MessageCount(), 1);
    rig.input->Close();
    EXPECT_FALSE(rig.input->IsOpen());
    EXPECT_EQ(rig.input->MessageCount(), 0);
    EXPECT_EQ(rig.input->GetMidiEvent(), nullptr);
    EXPECT_FALSE(rig.backend.IsInputOpen(0));
    EXPECT_FALSE(rig.backend.Feed(0, 1, {0x90, 60, 100}));
    rig.input->OnMidiInput = [](TMidiInput&) { FAIL() << "a closed input notifies nobody"; };
    rig.loop.RunPending();
    rig.input->Close();  // closing twice is harmless
}

TEST(MidiInput, PropertiesAreRefusedWhileOpenAndKeepTheirValues) {
    MidiRig rig;
    rig.input->SetSysexBufferSize(128);
    rig.input->SetDeviceID(1);
    rig.OpenAndStart();
    const auto refused = [](auto change, const char* text) { testing::ExpectRefused<EMidiInputError>(change, text); };
    refused([&] { rig.input->SetDeviceID(0); }, "Change to DeviceID while device was open");
    refused([&] { rig.input->SetProductName("Keyboard"); }, "Change to ProductName while device was open");
    refused([&] { rig.input->SetSysexBufferSize(64); }, "Change to SysexBufferSize while device was open");
    refused([&] { rig.input->SetSysexBufferCount(2); }, "Change to SysexBuffercount while device was open");
    EXPECT_EQ(rig.input->DeviceID(), 1);
    EXPECT_EQ(rig.input->ProductName(), "Pads");
    EXPECT_EQ(rig.input->SysexBufferSize(), 128);
    EXPECT_EQ(rig.input->SysexBufferCount(), 16);
    rig.input->Close();
    refused([&] { rig.input->SetDeviceID(2); }, "Invalid device ID");
    refused([&] { rig.input->SetProductName("keyboard"); }, "MIDI Input Device keyboard not installed ");
    EXPECT_EQ(rig.input->DeviceID(), 1);
    rig.input->SetProductName("Keyboard");
    EXPECT_EQ(rig.input->DeviceID(), 0);
}

TEST(MidiInput, NoDevicesAFailedOpenOrADeviceInUseAreReportedAndLeaveTheInputClosed) {
    MidiRig rig;
    MemoryBackend empty;
    testing::ExpectRefused<EMidiInputError>([&] { TMidiInput input(empty, rig.loop, rig.settings); }, "Invalid device ID");
    rig.backend.FailOpen(true, 0, result::Allocated);
    rig.input->Open();
    EXPECT_EQ(rig.input->Error(), result::Allocated);
    EXPECT_FALSE(rig.input->IsOpen());
    EXPECT_EQ(rig.input->MessageCount(), 0);
    rig.input->Open();  // the device is free again
    EXPECT_EQ(rig.input->Error(), 0);
    EXPECT_TRUE(rig.input->IsOpen());

    TMidiInput second(rig.backend, rig.loop, rig.settings);
    second.Open();
    EXPECT_EQ(second.Error(), result::Allocated);
    EXPECT_EQ(MidiErrorText(rig.backend, second.Error()), "The device is already in use.");
    EXPECT_EQ(MidiErrorText(rig.backend, 9999), "Specified error number is out of range");
}

}  // namespace
}  // namespace chordella::midi
