#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "app/LiveArranger.h"
#include "core/Session.h"
#include "data/WorkFile.h"
#include "desktop/StyleCreatorDesk.h"
#include "platform/Files.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

using testing::CreatorFixture;

TEST(StyleCreatorDesk, WorkFilesAskBeforeReplacingAndNoKeepsTheWork) {
    CreatorFixture f;
    data::DataOnlyImportLink imports;
    StyleCreatorDesk desk(*f.t.session, f.t.state, imports);
    const std::string work = f.t.home.Path() + "/groove.vxw";

    // No material yet: saving does nothing, loading a file that is not there says why.
    CreatorRequest save;
    save.What = CreatorRequest::SaveWork;
    save.Path = work;
    desk.Handle(save);
    EXPECT_FALSE(platform::FileExists(work));

    f.WriteMaterial(4);
    desk.Handle(save);
    ASSERT_TRUE(platform::FileExists(work));

    // With a work present, loading asks first; No leaves the material and shows no dialog.
    const std::vector<std::uint8_t> before(f.host.Material().begin(), f.host.Material().end());
    CreatorRequest load;
    load.What = CreatorRequest::LoadWork;
    f.Prompter().AnswerNo();
    desk.Handle(load);
    EXPECT_TRUE(f.Prompter().WasShown(ReplaceChordsSongOrStyle));
    EXPECT_FALSE(f.Prompter().WasShown(data::WorkLoadTitle));
    EXPECT_EQ(std::vector<std::uint8_t>(f.host.Material().begin(), f.host.Material().end()), before);

    // Yes, then the open dialog titled "Load Work-File ..." picks the file.
    f.Prompter().AnswerYes();
    f.Prompter().AnswerText(work);
    const CreatorView view = desk.Handle(load);
    EXPECT_TRUE(f.Prompter().WasShown(data::WorkLoadTitle));
    EXPECT_EQ(view.Caption, std::string(data::CreatorTitle) + "  -  GROOVE.VXW");
    EXPECT_EQ(view.MeasuresAvailable, 4);

    // A damaged work file is refused with a message; the work stays.
    const std::string damaged = f.t.home.Path() + "/damaged.vxw";
    std::string error;
    const std::vector<std::uint8_t> junk = {1, 2, 3};
    ASSERT_TRUE(platform::WriteFileAtomically(damaged, std::span<const std::uint8_t>(junk), error));
    f.Prompter().AnswerYes();
    load.Path = damaged;
    desk.Handle(load);
    EXPECT_EQ(std::vector<std::uint8_t>(f.host.Material().begin(), f.host.Material().end()), before);
    EXPECT_EQ(f.Prompter().PendingAnswers(), 0U);
}

TEST(StyleCreatorDesk, SettingAPartTakesTheMuteBoxesAndTestingNeedsASavedStyleAndAsks) {
    CreatorFixture f;
    data::DataOnlyImportLink imports;
    StyleCreatorDesk desk(*f.t.session, f.t.state, imports);
    f.WriteMaterial(4);
    f.t.state.engine.ChannelMute[3] = 1;
    CreatorRequest set;
    set.What = CreatorRequest::SetPart;
    set.Part = data::Index(data::StylePart::Basic);
    set.StartMeasure = 1;
    set.EndMeasure = 2;
    f.Prompter().AnswerYes();
    const CreatorView view = desk.Handle(set);
    EXPECT_TRUE(view.Parts[1].Present);
    EXPECT_EQ(f.t.session->Style().style.Parts[1].PartMute[3], 1);

    CreatorRequest test;
    test.What = CreatorRequest::TestStyle;
    desk.Handle(test);                       // nothing saved yet
    EXPECT_TRUE(f.Prompter().WasShown("Style not found !"));

    CreatorRequest saveStyle;
    saveStyle.What = CreatorRequest::SaveStyle;
    saveStyle.Path = f.t.home.Path() + "/groove.vxs";
    desk.Handle(saveStyle);
    ASSERT_TRUE(platform::FileExists(saveStyle.Path));
    f.Prompter().AnswerNo();
    desk.Handle(test);
    EXPECT_TRUE(f.Prompter().WasShown(ReplaceWorkAndTest));
    EXPECT_TRUE(desk.View().HasWork);
    EXPECT_TRUE(desk.View().Parts[1].Present);

    // Yes: the saved style plays; the player's own channel keeps the set-up it had, the
    // other channels get the style's.
    constexpr int program = data::SetupProgramIndex;
    data::StyleHeader& header = f.Style().Header;
    const std::uint8_t savedProgram = header.ChannelSetup[5][program];
    f.t.state.engine.VoiceChannel = 4;
    header.ChannelSetup[4][program] = 40;
    header.ChannelSetup[5][program] = static_cast<std::uint8_t>(savedProgram == 41 ? 42 : 41);
    f.Prompter().AnswerYes();
    desk.Handle(test);
    EXPECT_FALSE(desk.View().HasWork);
    EXPECT_TRUE(f.Style().Parts[1].Present());
    EXPECT_EQ(header.ChannelSetup[4][program], 40);
    EXPECT_EQ(header.ChannelSetup[5][program], savedProgram);
}

TEST(StyleCreatorDesk, RecordingFromTheSecondInputTurnsItsClockIntoWaitsAndItsStartOnTransmitControllers) {
    CreatorFixture f;
    core::Session& session = *f.t.session;
    LiveArranger arranger(session, f.t.state);
    data::DataOnlyImportLink imports;
    StyleCreatorDesk desk(session, f.t.state, imports);
    arranger.SetCreatorRecorder(&desk.Recorder());
    f.t.state.options.UnchangedMidiIn = true;
    midi::TMidiInput* input = session.MidiInput2();
    ASSERT_NE(input, nullptr);
    input->SetDeviceID(1);
    input->Open();
    input->Start();

    CreatorRequest record;
    record.What = CreatorRequest::RecordStart;
    EXPECT_TRUE(desk.Handle(record).Recording);
    ASSERT_FALSE(f.t.state.options.TransmitControllers);
    // The sequencer's Start is not recorded; it turns "Transmit Controllers" on.
    ASSERT_TRUE(f.t.midi->Feed(1, 0, {0xFA, 0xF8, 0xF8, 0xB1, 91, 100, 0xF8}));
    session.Loop().RunPending();
    EXPECT_TRUE(f.t.state.options.TransmitControllers);
    CreatorRequest stop;
    stop.What = CreatorRequest::RecordStop;
    EXPECT_FALSE(desk.Handle(stop).Recording);
    arranger.SetCreatorRecorder(nullptr);

    const std::vector<std::uint8_t> expected = {0xF9, 0xB1, 91, 100, 0xF8};
    EXPECT_EQ(std::vector<std::uint8_t>(f.host.Material().begin(), f.host.Material().end()), expected);
}

}  // namespace
}  // namespace chordella::app
