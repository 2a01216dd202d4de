// The second input: MIDI commands, detection controllers, the thru filter and the
// external sequencer's clock.

#include <gtest/gtest.h>

#include "DispatchRig.h"

namespace chordella::testing {
namespace {

// Opens the second input on "Memory In 2" and the first output on "Memory Out 1".
void OpenSecondInput(DispatchRig& rig) {
    midi::TMidiInput* input = rig.Session().MidiInput2();
    ASSERT_NE(input, nullptr);
    input->SetDeviceID(1);
    input->Open();
    ASSERT_EQ(input->Error(), 0);
    input->Start();
    midi::TMidiOutput* out = rig.Session().MidiOutput1();
    ASSERT_NE(out, nullptr);
    out->SetDeviceID(0);
    ASSERT_TRUE(out->Open());
    rig.SecondIn.Attach();
}

TEST(SecondInputCommands, OnlyTheFirstOfARunRunsAndLowKeysRunTheirProgramControlCodes) {
    DispatchRig rig;
    bool run = false;
    for (int i = 0; i < 200; ++i) rig.Second(0x90, 12, 100, run);
    EXPECT_EQ(rig.Peers.MidiCommands, (std::vector<int>{0}));
    rig.Second(0x90, 60, 100, run);  // any other message ends the run
    rig.Second(0xB0, 13, 1, run);
    EXPECT_EQ(rig.Peers.MidiCommands, (std::vector<int>{0, 1}));

    // Low keys run their program-control codes, and without "activated" so do the upper twelve.
    run = false;
    rig.Second(0x90, 3, 100, run);
    run = false;
    rig.Second(0x90, 4, 100, run);
    run = false;
    rig.Second(0x90, 5, 100, run);  // no code assigned
    EXPECT_EQ(rig.Peers.ProgramControls, (std::vector<int>{1, 27}));

    rig.Options().MidiCommandsActivated = false;
    run = false;
    rig.Second(0x90, 15, 100, run);
    EXPECT_EQ(rig.Peers.MidiCommands.size(), 2u);
    EXPECT_EQ(rig.Peers.ProgramControls, (std::vector<int>{1, 27, 1}));
}

TEST(SecondInputCommands, AFloodOfCommandsThroughTheDeviceRunsOneCommandPerDrain) {
    DispatchRig rig;
    OpenSecondInput(rig);
    std::vector<std::uint8_t> flood;
    for (int i = 0; i < 1000; ++i) flood.insert(flood.end(), {0xB0, static_cast<std::uint8_t>(12 + i % 12), 127});
    ASSERT_TRUE(rig.Test.midi->Feed(1, 0, flood));
    rig.Session().Loop().RunPending();
    EXPECT_EQ(rig.Peers.MidiCommands.size(), 1u);
    EXPECT_TRUE(rig.Test.midi->Sent(0).empty()) << "commands are consumed";
}

TEST(SecondInputDetection, TempoAndStartMeasureControllersActOnlyWhileNoStylePlaysAndWithoutAClockChangeNoTempo) {
    // Controllers 21 and 22 lie among the command numbers: while no style plays and their
    // detection is on they are detection controllers, otherwise commands.
    DispatchRig rig;
    rig.Options().IntroDetection = true;
    rig.Session().Style().player.StyleActive = 0;
    bool run = false;
    rig.Second(0xB0, 22, 70, run);
    EXPECT_EQ(rig.State().clock.Tempo, 140);
    rig.Second(0xB0, 22, 127, run);
    EXPECT_EQ(rig.State().clock.Tempo, 140) << "254 bpm is out of range";
    rig.Second(0xB0, 21, 2, run);
    EXPECT_EQ(rig.Peers.Measure, -2);
    EXPECT_TRUE(rig.Peers.MidiCommands.empty());

    rig.Session().Style().player.StyleActive = 1;
    run = false;
    rig.Second(0xB0, 22, 50, run);
    EXPECT_EQ(rig.State().clock.Tempo, 140);
    EXPECT_EQ(rig.Peers.MidiCommands, (std::vector<int>{10}));

    rig.Peers.MidiCommands.clear();
    chords::SecondInput alone{rig.Session(), rig.Keyboard(), rig.Options(), rig.Engine(), rig.Recogniser, nullptr,
                              rig.Peers};
    rig.Session().Style().player.StyleActive = 0;
    const int before = rig.State().clock.Tempo;
    run = false;
    alone.HandleEvent(DispatchRig::Event(0xB0, 22, 60), run);  // 120 bpm, had it a clock
    EXPECT_EQ(rig.State().clock.Tempo, before) << "without a clock the tempo controller changes no tempo";
    EXPECT_TRUE(rig.Peers.MidiCommands.empty()) << "still a detection controller, not a command";
}

TEST(SecondInputCreator, StartAndContinueWhileTheCreatorRecordsAreHandedToItsPeer) {
    DispatchRig rig;
    bool run = false;
    rig.Second(0xFA, 0, 0, run);
    EXPECT_EQ(rig.Peers.SequencerStarts, 0) << "the creator does not record";
    rig.Peers.CreatorRecords = true;
    for (const std::uint8_t status : {0xFA, 0xFB, 0xFC, 0xF8}) rig.Second(status, 0, 0, run);
    EXPECT_EQ(rig.Peers.SequencerStarts, 2) << "Stop and the timing clock start nothing";
}

TEST(ThruFilter, TransposesNotesButDrumsAndDropsTheReplacedVoiceSoloMutesThePadChannelAndSuppressedControllers) {
    DispatchRig rig;
    chords::ThruFilter& filter = rig.SecondIn.Filter();
    rig.Keyboard().ThruTranspose = 2;
    EXPECT_EQ(filter.Filter(0x90, 0, 100, 60), 62);
    EXPECT_EQ(filter.Filter(0x90, 9, 100, 36), 36);
    EXPECT_EQ(filter.Filter(0x90, 0, 100, 126), chords::DropMessage) << "no note above 127";
    rig.Options().ReplaceOne = true;
    rig.Engine().VoiceChannel = 0;
    EXPECT_EQ(filter.Filter(0x90, 0, 100, 60), chords::DropMessage);
    EXPECT_EQ(filter.Filter(0x90, 1, 100, 60), 62);

    rig.Options().ReplaceOne = false;
    rig.Keyboard().ThruTranspose = 0;
    rig.Engine().SoloFilter = 3;
    EXPECT_EQ(filter.Filter(0x90, 0, 100, 60), chords::DropMessage);
    EXPECT_EQ(filter.Filter(0x90, 2, 100, 60), 60);
    rig.Engine().SoloFilter = 0;
    rig.Engine().ChannelMute[4] = 1;
    EXPECT_EQ(filter.Filter(0xB0, 4, 100, 7), chords::DropMessage);
    rig.Options().InstrumentPad = true;
    rig.Options().PadChannel = 15;
    EXPECT_EQ(filter.Filter(0x90, 15, 100, 60), chords::DropMessage);
    rig.Keyboard().ChannelSuppress[1] = true;
    EXPECT_EQ(filter.Filter(0xB0, 1, 100, 7), chords::DropMessage);
    EXPECT_EQ(filter.Filter(0xC0, 1, 0, 7), chords::DropMessage);
    EXPECT_EQ(filter.Filter(0xB0, 1, 0, 121), 121);
}

TEST(SecondInputThru, MessagesReachTheFirstOutputFilteredAndControllers84Transposed) {
    DispatchRig rig;
    OpenSecondInput(rig);
    rig.Keyboard().ThruTranspose = -3;
    ASSERT_TRUE(rig.Test.midi->Feed(1, 0, {0x91, 60, 90, 0xB1, 84, 64, 0xB1, 84, 1}));
    rig.Session().Loop().RunPending();
    const auto sent = rig.Test.midi->Sent(0);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].Packed, 0x5A3991u);
    EXPECT_EQ(sent[1].Packed, 0x3D54B1u);
    EXPECT_EQ(sent[2].Packed, 0x0054B1u) << "the value stays a data byte";
}

TEST(SlaveClock, EveryTimingClockOfTheSecondInputButNotOfTheKeyboardRunsOneTickOnlyInSlaveMode) {
    DispatchRig rig;
    OpenSecondInput(rig);
    rig.State().clock.ClockState = -1;
    ASSERT_TRUE(rig.Test.midi->Feed(1, 0, {0xF8, 0xF8, 0xF8}));
    rig.Session().Loop().RunPending();
    EXPECT_EQ(rig.State().clock.TickCount, 0) << "not in slave mode";
    rig.Test.midi->ClearSent(0);

    rig.Options().SlaveMode = true;
    const std::int64_t before = rig.State().clock.TickCount;
    std::vector<std::uint8_t> bytes{0xFA};
    for (int i = 0; i < 96; ++i) bytes.push_back(0xF8);
    // Delivered in one burst while the control thread is busy: none may merge with another.
    ASSERT_TRUE(rig.Test.midi->Feed(1, 0, bytes));
    rig.Session().Loop().RunPending();
    EXPECT_EQ(rig.State().clock.TickCount - before, 96);
    EXPECT_TRUE(rig.Test.midi->Sent(0).size() <= 1u) << "timing clock is not echoed (Start may be)";

    const std::int64_t ticks = rig.State().clock.TickCount;
    rig.Send(0xF8, 0, 0);
    EXPECT_EQ(rig.State().clock.TickCount, ticks) << "timing clock from the keyboard does not tick";
    EXPECT_TRUE(rig.Out.Messages.empty()) << "nor is it echoed";
}

}  // namespace
}  // namespace chordella::testing
