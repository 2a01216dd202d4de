// Playing inside the creator, on the real transport and a clock the test drives: Style mode
// loops its range, a range whose part is followed by a stop ends there, Song mode plays to
// the end, and a later start first replays the controllers of the material before it.
#include <gtest/gtest.h>

#include <algorithm>

#include "CreatorFixture.h"
#include "app/LiveArranger.h"
#include "core/Session.h"
#include "desktop/CreatorImportHooks.h"
#include "desktop/StyleCreatorDesk.h"
#include "engine/Clock.h"
#include "engine/ClockTables.h"
#include "platform/Files.h"
#include "support/CreatorMaterial.h"
#include "support/RecordingOutput.h"
#include "support/SmfBuilder.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

using stylecreator::CreatorMode;
constexpr int MeasureTicks = 96;

struct PlayerRig {
    PlayerRig() {
        session.SetAccompanimentOutput(&out);
        // Measure m (1 … 4): volume 100 + m, then key 60 + m on its first beat.
        testing::CreatorMaterial material;
        for (int m = 1; m <= 4; ++m)
            material.Message((m - 1) * MeasureTicks, 0xB0, 7, static_cast<std::uint8_t>(100 + m))
                .Note(0, 60 + m, (m - 1) * MeasureTicks, 12);
        material.Into(session.Style().Work, 4 * MeasureTicks);
        session.Style().style.Header.ChannelUsed[0] = 1;
        arranger.Clock().StartVirtual(120);
    }

    CreatorView Play(CreatorMode mode, stylecreator::MeasureRange range, int part = 1) {
        CreatorRequest play;
        play.What = CreatorRequest::Play;
        play.Mode = mode;
        (mode == CreatorMode::Style ? play.StyleRange : play.SongRange) = range;
        play.SelectedPart = part;
        return desk.Handle(play);
    }
    std::vector<int> KeysPlayed() const {
        std::vector<int> keys;
        for (const testing::SentMessage& m : out.NoteOns(0)) keys.push_back(m.Data1);
        return keys;
    }

    testing::CreatorFixture f;
    core::Session& session = *f.t.session;
    app::AppState& state = f.t.state;
    testing::RecordingOutput out{&state.clock.TickCount};
    LiveArranger arranger{session, state};
    CreatorImportHooks imports{session, state, arranger};
    StyleCreatorDesk desk{session, state, imports};
};

TEST(CreatorPlayer, StyleModeLoopsItsRangeAndALaterStartReplaysTheControllersFirst) {
    PlayerRig rig;
    EXPECT_TRUE(rig.Play(CreatorMode::Style, {2, 1, 3}).Playing);

    // Before anything plays (after the stop's own resets): controllers reset on every channel,
    // then the volume of measure 1.
    const auto& sent = rig.out.Messages;
    const auto replay = std::find_if(sent.begin(), sent.end(), [](const testing::SentMessage& m) { return m.IsController(121); });
    ASSERT_GE(sent.end() - replay, 17);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_TRUE(replay[channel].IsController(121) && replay[channel].Channel() == channel) << channel;
    EXPECT_TRUE(replay[16].IsController(7));
    EXPECT_EQ(replay[16].Data2, 101);
    EXPECT_TRUE(rig.out.NoteOns(0).empty());

    rig.arranger.Clock().RunVirtualTicks(MeasureTicks + 24 + 1);
    EXPECT_EQ(rig.desk.View().MeasureBeat, "3:2");
    rig.arranger.Clock().RunVirtualTicks(3 * MeasureTicks);
    EXPECT_EQ(rig.KeysPlayed(), (std::vector<int>{62, 63, 62, 63, 62}));
    EXPECT_EQ(rig.desk.View().MeasureBeat, "2:2");
    EXPECT_TRUE(rig.desk.View().Playing);

    // Stop ends it; a start from the first measure replays nothing.
    CreatorRequest stop;
    stop.What = CreatorRequest::Stop;
    EXPECT_FALSE(rig.desk.Handle(stop).Playing);
    rig.out.Clear();
    rig.Play(CreatorMode::Style, {1, 1, 1});
    EXPECT_TRUE(rig.out.Where([](const testing::SentMessage& m) { return m.IsController(121); }).empty());
}

TEST(CreatorPlayer, APartFollowedByAStopEndsAtItsEndAndSongModePlaysToTheEnd) {
    PlayerRig rig;
    const int ending = data::Index(data::StylePart::Ending);
    rig.session.Style().style.Parts[static_cast<std::size_t>(ending)].FollowUpCode = data::followup::Stop;
    rig.Play(CreatorMode::Style, {2, 1, 3}, ending);
    rig.arranger.Clock().RunVirtualTicks(4 * MeasureTicks);
    EXPECT_EQ(rig.KeysPlayed(), (std::vector<int>{62, 63}));
    EXPECT_FALSE(rig.desk.View().Playing);

    // Song mode from measure 3 with no stop measure: measures 3 and 4, then the end.
    rig.out.Clear();
    rig.Play(CreatorMode::Song, {3, 1, 0});
    rig.arranger.Clock().RunVirtualTicks(4 * MeasureTicks);
    EXPECT_EQ(rig.KeysPlayed(), (std::vector<int>{63, 64}));
    EXPECT_FALSE(rig.desk.View().Playing);

    // A start beyond the material plays nothing.
    EXPECT_FALSE(rig.Play(CreatorMode::Song, {9, 1, 0}).Playing);
}

TEST(CreatorPlayer, ImportMidiTakesTheFilesTempoAndMeterClearsTheOldPartsAndStartsPlaying) {
    PlayerRig rig;
    rig.session.Style().style.Parts[1].StartMeasure = 1;  // a part of the old material
    testing::SmfTrack track;
    track.Tempo(0, 600000).TimeSignature(0, 3, 2, 24, 8);  // 100 bpm, 3/4
    for (int beat = 0; beat < 6; ++beat) track.NoteOn(beat ? 86 : 0, 2, 60, 100).NoteOff(10, 2, 60);
    track.End(0);
    const std::string path = rig.f.t.home.Path() + "/Waltz.mid";
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, testing::SmfFileBytes(0, 96, {track}), error)) << error;

    CreatorRequest import;
    import.What = CreatorRequest::ImportMidi;
    import.Path = path;
    const CreatorView view = rig.desk.Handle(import);
    EXPECT_TRUE(view.HasWork);
    EXPECT_TRUE(view.Playing);
    EXPECT_FALSE(view.Parts[1].Present);
    EXPECT_EQ(rig.state.clock.Tempo, 100);
    EXPECT_EQ(rig.state.options.Metrum, engine::MetrumIndexOf("3/4"));
    EXPECT_EQ(rig.state.clock.MeasureUnits, 12);
    EXPECT_EQ(rig.session.Style().style.Header.ChannelUsed[2], 1);
    EXPECT_EQ(rig.session.Style().style.Header.ChannelUsed[0], 0);

    // "Restore Original" with Ctrl imports the file again, and the window takes its tempo and
    // meter again as the first import did.
    CreatorRequest stop;
    stop.What = CreatorRequest::Stop;
    rig.desk.Handle(stop);
    rig.state.clock.Tempo = 140;
    rig.state.options.Metrum = engine::MetrumIndexOf("4/4");
    CreatorRequest restore;
    restore.What = CreatorRequest::RestoreOriginal;
    restore.Keys.Ctrl = true;
    rig.desk.Handle(restore);
    EXPECT_EQ(rig.state.clock.Tempo, 100);
    EXPECT_EQ(rig.state.options.Metrum, engine::MetrumIndexOf("3/4"));
}

}  // namespace
}  // namespace chordella::app
