// Wild bytes from a driver: nothing crashes, nothing overflows, and what is well formed
// still arrives.
#include <gtest/gtest.h>

#include <thread>

#include "MidiRig.h"
#include "platform/Random.h"

namespace chordella::midi {
namespace {

using testing::MidiRig;
using testing::Packed;

std::vector<std::uint32_t> PackedAll(const std::vector<std::unique_ptr<TMyMidiEvent>>& events) {
    std::vector<std::uint32_t> packed;
    for (const auto& event : events) packed.push_back(event->MidiMessage == 0xF0 ? 0xF0 : Packed(*event));
    return packed;
}

// Lone data bytes and undefined status bytes are dropped; running status carries channel
// messages but not system common.
TEST(BadInput, LoneDataBytesAndUndefinedStatusBytesAreDroppedAndRunningStatusCarriesOnlyChannelMessages) {
    MidiRig rig;
    rig.OpenAndStart();
    rig.Feed(0, {0x3C, 0x40});                   // data without a status
    rig.Feed(1, {0xF4, 0x10, 0xF5, 0x11});       // undefined system common and its "data"
    rig.Feed(2, {0xF9, 0xFD});                   // undefined real-time
    rig.Feed(3, {0xF7});                         // an end of exclusive without a start
    rig.Feed(4, {0x90, 0x3C, 0xF9, 0x64});       // undefined real-time inside a message
    EXPECT_EQ(PackedAll(rig.Drain()), (std::vector<std::uint32_t>{0x643C90}));
    rig.Feed(5, {0x90, 60, 100, 62, 100, 0xC3, 7, 8, 0xF3, 2, 3, 0xF2, 1, 2});
    EXPECT_EQ(PackedAll(rig.Drain()),
              (std::vector<std::uint32_t>{0x643C90, 0x643E90, 0x07C3, 0x08C3, 0x02F3, 0x0201F2}));
}

TEST(BadInput, ASysexCutShortByAStatusByteArrivesAsFarAsItWent) {
    MidiRig rig;
    rig.OpenAndStart();
    rig.Feed(0, {0xF0, 0x43, 0x10, 0x90, 60, 100});
    auto events = rig.Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]->Sysex, (std::vector<std::uint8_t>{0xF0, 0x43, 0x10}));
    EXPECT_EQ(Packed(*events[1]), 0x643C90u);
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);
}

// Each delivery is one event of the MIDI system, a message of its own: an open sysex can
// never swallow later events, a lone F7 never finishes an earlier one, and a message cut
// off by the end of its event is not completed by the next one.
TEST(BadInput, NothingCarriesOverFromOneEventToTheNext) {
    MidiRig rig;
    rig.OpenAndStart();
    rig.Feed(0, {0xF0, 0x01, 0x02});
    auto cut = rig.Drain();
    ASSERT_EQ(cut.size(), 1u) << "the sysex without its end arrives with its event";
    EXPECT_EQ(cut[0]->Sysex, (std::vector<std::uint8_t>{0xF0, 0x01, 0x02}));
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);
    rig.Feed(1, {0xF7});
    rig.Feed(2, {0x90, 60});
    rig.Feed(3, {100});
    rig.Feed(4, {62, 100});
    EXPECT_TRUE(rig.Drain().empty()) << "a lone F7, a cut note, and data without a status in its event";
    rig.Feed(5, {0xF5, 0x1A, 0x61, 0xF0});
    rig.Feed(6, {0x90, 60, 100});
    auto later = rig.Drain();
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(later[0]->Sysex, (std::vector<std::uint8_t>{0xF0}));
    EXPECT_EQ(Packed(*later[1]), 0x643C90u);
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);
}

TEST(BadInput, ASysexLongerThanABufferContinuesInTheNextBuffersAndWhatFindsNoneIsCountedAsLost) {
    MidiRig rig;
    rig.OpenAndStart();
    int overflows = 0;
    rig.input->OnOverflow = [&](TMidiInput&) { ++overflows; };
    std::vector<std::uint8_t> big(70000);  // more than 16 buffers of 4096 bytes hold
    big.front() = 0xF0;
    for (std::size_t i = 1; i + 1 < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i % 128);
    big.back() = 0xF7;
    rig.Feed(0, big);
    auto events = rig.Drain();
    ASSERT_EQ(events.size(), 16u);  // every buffer full; the rest had nowhere to go
    std::vector<std::uint8_t> joined;
    for (const auto& event : events) {
        ASSERT_EQ(event->SysexLength, 4096);
        joined.insert(joined.end(), event->Sysex.begin(), event->Sysex.end());
    }
    EXPECT_TRUE(std::equal(joined.begin(), joined.end(), big.begin()));
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);
    EXPECT_EQ(rig.input->LostEvents(), 1u) << "the message that found no buffer is lost, and counted";
    rig.loop.RunPending();
    EXPECT_EQ(overflows, 1) << "and the loss is notified";

    // Seventeen messages while the control thread hands no buffer back: the last is lost.
    for (std::uint32_t i = 0; i < 17; ++i) rig.Feed(2 + i, {0xF0, 0x01, static_cast<std::uint8_t>(i), 0xF7});
    EXPECT_EQ(rig.input->LostEvents(), 2u);
    EXPECT_EQ(rig.Drain().size(), 16u);

    // With buffers being handed back as it arrives, the whole message gets through.
    rig.Feed(1, {0xF0, 0x01, 0x02, 0xF7});
    ASSERT_EQ(rig.Drain().size(), 1u);
}

// A driver thread floods the input while the control thread stalls: the ring keeps the first
// messages in order, counts the rest as lost with one notification, and the loop stays free.
TEST(BadInput, AFloodIsCappedAtTheRingTheLossCountedAndNotifiedOnceAndTheLoopStaysResponsive) {
    MidiRig rig;
    rig.OpenAndStart();
    int overflows = 0;
    rig.input->OnOverflow = [&](TMidiInput&) { ++overflows; };
    std::thread driver([&] {
        for (int i = 0; i < 100000; ++i)
            rig.backend.Feed(0, static_cast<std::uint32_t>(i),
                             {0x90, static_cast<std::uint8_t>(i % 128), static_cast<std::uint8_t>(i / 128 % 128)});
    });
    driver.join();
    constexpr int Capacity = TMidiInput::DefaultCapacity;
    EXPECT_EQ(rig.input->MessageCount(), Capacity);
    EXPECT_EQ(rig.input->LostEvents(), 100000u - Capacity);
    bool posted = false;
    rig.loop.Post([&] { posted = true; });
    auto events = rig.DrainThroughHandler();
    EXPECT_TRUE(posted);
    EXPECT_EQ(overflows, 1);
    ASSERT_EQ(events.size(), std::size_t{Capacity});
    for (int i = 0; i < Capacity; ++i) {
        ASSERT_EQ(events[i]->Time, static_cast<std::uint32_t>(i));
        ASSERT_EQ(events[i]->Data1, i % 128);
        ASSERT_EQ(events[i]->Data2, i / 128 % 128);
    }
    rig.input->Close();
    rig.OpenAndStart();
    EXPECT_EQ(rig.input->LostEvents(), 100000u - Capacity) << "the count goes on over a close and a new open";
}

TEST(BadInput, ASysexLostToAFullRingIsStillHandedBackToTheDriver) {
    MidiRig rig;
    rig.input->SetCapacity(4);
    rig.OpenAndStart();
    for (int i = 0; i < 4; ++i) rig.Feed(0, {0x90, 60, 1});
    rig.Feed(1, {0xF0, 0x01, 0xF7});  // the ring is full: this one is lost
    EXPECT_EQ(rig.input->BuffersAtDriver(), 15);
    rig.loop.RunPending();  // the overflow notification gives it back
    EXPECT_EQ(rig.input->BuffersAtDriver(), 16);
    EXPECT_EQ(rig.Drain().size(), 4u);
}

TEST(BadInput, RandomStreamsFromTwoThreadsNeverBreakTheInput) {
    MidiRig rig;
    rig.input->SetSysexBufferSize(64);
    rig.OpenAndStart();
    platform::Random random(7);
    std::vector<std::uint8_t> noise(200000);
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random.Next());
    std::atomic<bool> done{false};
    std::thread driver([&] {
        for (std::size_t at = 0; at < noise.size(); at += 97)
            rig.backend.Feed(0, static_cast<std::uint32_t>(at), noise.data() + at, std::min<std::size_t>(97, noise.size() - at));
        done = true;
    });
    std::size_t received = 0;
    while (!done.load()) received += rig.Drain().size();
    driver.join();
    received += rig.Drain().size();
    EXPECT_GT(received, 0u);
    EXPECT_EQ(rig.input->MessageCount(), 0);
    rig.input->Close();
}

}  // namespace
}  // namespace chordella::midi
