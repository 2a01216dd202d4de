#include "midi/MidiOutput.h"

#include <gtest/gtest.h>

#include "MidiRig.h"

namespace chordella::midi {
namespace {

using testing::MidiRig;

std::vector<std::uint32_t> ShortSent(const MemoryBackend& backend, int output) {
    std::vector<std::uint32_t> packed;
    for (const auto& message : backend.Sent(output))
        if (!message.IsLong()) packed.push_back(message.Packed);
    return packed;
}

TEST(MidiOutput, OpenSendsShortMessagesUnchangedAndARefusedSendOnlySetsTheError) {
    MidiRig rig;
    rig.output->PutShort(0x90, 60, 100);
    EXPECT_NE(rig.output->Error(), 0) << "closed";
    rig.output->PutShortMsg(0x643C90);
    TMyMidiEvent event;
    event.MidiMessage = 0x90;
    testing::ExpectRefused<EmidioutputError>([&] { rig.output->PutMidiEvent(event); }, "MIDI Output device not open");
    EXPECT_FALSE(rig.output->Close()) << "nothing was open";
    EXPECT_TRUE(rig.backend.Sent(0).empty());

    ASSERT_TRUE(rig.output->Open());
    rig.output->PutShort(0x93, 60, 100);
    rig.output->PutShortMsg(0x004099);
    rig.output->PutShort(0xF8, 0, 0);
    EXPECT_EQ(rig.output->Error(), 0);
    rig.output->PutShort(0x40, 1, 2);  // not a status byte
    EXPECT_EQ(rig.output->Error(), result::InvalidParameter);
    rig.output->PutShort(0x90, 1, 2);
    EXPECT_EQ(rig.output->Error(), 0) << "the next good send clears it";
    EXPECT_THROW(rig.output->PutLong(nullptr, 0), EmidioutputError);
    EXPECT_EQ(ShortSent(rig.backend, 0), (std::vector<std::uint32_t>{0x643C93, 0x004099, 0xF8, 0x020190}));
}

TEST(MidiOutput, SysexIsSentAndItsBufferFreedWhenTheDriverIsDone) {
    MidiRig rig;
    ASSERT_TRUE(rig.output->Open());
    int done = 0;
    rig.output->Onmidioutput = [&](TMidiOutput&) { ++done; };
    const std::vector<std::uint8_t> gmOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    TMyMidiEvent event;
    event.MidiMessage = 0xF0;
    event.Sysex = gmOn;
    event.SysexLength = static_cast<std::uint16_t>(gmOn.size());
    rig.output->PutMidiEvent(event);
    rig.output->PutLong(gmOn.data(), 3);
    EXPECT_EQ(rig.output->PendingLongMessages(), 2u);
    rig.loop.RunPending();
    EXPECT_EQ(done, 2);
    EXPECT_EQ(rig.output->PendingLongMessages(), 0u);
    const auto sent = rig.backend.Sent(0);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].Bytes, gmOn);
    EXPECT_EQ(sent[1].Bytes, (std::vector<std::uint8_t>{0xF0, 0x7E, 0x7F}));
}

TEST(MidiOutput, TheMapperIsAcceptedAsMinusOneOtherIdsAreCheckedAndPropertiesAreRefusedWhileOpen) {
    MidiRig rig;
    rig.output->SetDeviceID(-1);
    EXPECT_EQ(rig.output->ProductName(), MemoryBackend::MapperName);
    EXPECT_THROW(rig.output->SetDeviceID(1), EmidioutputError);
    EXPECT_THROW(rig.output->SetDeviceID(-2), EmidioutputError);
    EXPECT_EQ(rig.output->DeviceID(), -1);
    ASSERT_TRUE(rig.output->Open());
    rig.output->PutShort(0x90, 60, 100);
    EXPECT_EQ(rig.backend.Sent(-1).size(), 1u);
    EXPECT_TRUE(rig.backend.Sent(0).empty());

    // Properties are refused while open, with their texts.
    const auto refused = [](auto change, const char* text) { testing::ExpectRefused<EmidioutputError>(change, text); };
    refused([&] { rig.output->SetDeviceID(-1); }, "Change to DeviceID while device was open");
    refused([&] { rig.output->SetProductName("Sound Module"); }, "Change to ProductName while device was open");
    EXPECT_TRUE(rig.output->Close());
    EXPECT_FALSE(rig.output->IsOpen());
    refused([&] { rig.output->SetDeviceID(5); }, "Invalid device ID");
    refused([&] { rig.output->SetProductName("Piano"); }, "MIDI output Device Piano not installed");
    rig.output->SetProductName(MemoryBackend::MapperName);
    EXPECT_EQ(rig.output->DeviceID(), -1);
}

TEST(MidiOutput, AFailedOpenAnswersFalseWithTheCodeAndDestroyingAnOpenOutputClosesTheDevice) {
    MidiRig rig;
    rig.backend.FailOpen(false, 0, result::NoAudioDevice);
    EXPECT_FALSE(rig.output->Open());
    EXPECT_EQ(rig.output->Error(), result::NoAudioDevice);
    EXPECT_FALSE(rig.output->IsOpen());
    EXPECT_EQ(MidiErrorText(rig.backend, rig.output->Error()), "No audio output device");
    ASSERT_TRUE(rig.output->Open()) << "the device is free again";
    EXPECT_TRUE(rig.backend.IsOutputOpen(0));
    rig.output.reset();
    EXPECT_FALSE(rig.backend.IsOutputOpen(0));
}

}  // namespace
}  // namespace chordella::midi
