// Chords entered into the song as they are played, on the desktop core with its live modules:
// where the entry point goes when the song ends or the window's selection is out of date, and
// that a style that plays stops.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "app/LiveArranger.h"
#include "app/SongEditing.h"
#include "app/SongPlayback.h"
#include "chords/ChordEntry.h"
#include "desktop/DesktopCore.h"
#include "desktop/EditorChordInput.h"
#include "support/DesktopRig.h"
#include "support/TestPaths.h"

namespace chordella::desktop {
namespace {

using testing::DesktopRig;

constexpr int SomeSectionKey = 41;

struct EditorRig {
    EditorRig() {
        rig.core.Start();
        input.emplace(editing, rig.t.state.chords.SlotMap,
                      EditorChordInput::Transport{[this] { return rig.t.session->ArrangementLink().StylePlaying(); },
                                                  [this] { return rig.t.state.transport.ChordPlayMode != 0; },
                                                  [this] {
                                                      rig.t.session->Loop().Post([this] {
                                                          ++stopped;
                                                          rig.core.Stop();
                                                      });
                                                  }});
        rig.core.SetPadEditor(&*input);
        rig.core.Arranger().Songs().peers.SetEditorPath(input->Path());
    }
    ~EditorRig() {
        rig.core.Arranger().Songs().peers.SetEditorPath({});
        rig.core.SetPadEditor(nullptr);
    }

    // The computer keyboard's chord key for `key` ('C', 'V' …).
    void Play(int key) {
        ASSERT_TRUE(rig.core.KeyDown(key, false, {}));
        rig.core.KeyUp(key, {});
    }
    data::BeatRecord Record(int measure, int beat) {
        return rig.t.state.arrangement.Chords.RecordAt(data::PositionOf(measure, beat, 16));
    }

    DesktopRig rig;
    app::SongEditing editing{*rig.t.session, rig.t.state.arrangement, rig.t.state.options, rig.t.state.clock};
    std::optional<EditorChordInput> input;
    int stopped = 0;
};

TEST(EditorChordInput, EntriesMoveOnByABeatStopAtTheSongsEndAndIgnoreAnOutdatedSelection) {
    EditorRig r;
    ASSERT_TRUE(r.editing.Editor().CreateMeasures(1, 16));
    app::EditorLiveInput live;
    live.Open = true;
    live.InputLive = true;
    live.Measure = 1;
    live.Beat = 4;
    r.input->Set(live);
    r.rig.t.midi->ClearSent(DesktopRig::SynthOutput);

    r.Play('C');
    EXPECT_EQ(r.Record(1, 4).ChordType, 1);
    EXPECT_EQ(r.Record(1, 4).ChordRoot % 12, 0);
    EXPECT_EQ(r.input->Entries(), 1u);
    EXPECT_EQ(std::make_pair(r.input->Measure(), r.input->Beat()), std::make_pair(2, 1)) << "the next measure";

    // The window still shows the selection it made before that entry: it does not count.
    live.Beat = 2;
    r.input->Set(live);
    EXPECT_EQ(std::make_pair(r.input->Measure(), r.input->Beat()), std::make_pair(2, 1));

    // The STOP beat takes a chord and keeps its STOP; past it the chord is still the
    // editor's, but goes nowhere.
    r.Play('V');
    EXPECT_EQ(r.Record(2, 1).ChordRoot % 12, 2);
    EXPECT_EQ(r.Record(2, 1).CommandCode, data::CommandStop);
    r.Play('C');
    EXPECT_EQ(r.Record(2, 2), data::BeatRecord{});
    EXPECT_EQ(r.input->Entries(), 2u);
    EXPECT_EQ(std::make_pair(r.input->Measure(), r.input->Beat()), std::make_pair(2, 2));
    EXPECT_EQ(r.rig.NoteOnsSent(), 0) << "chords for the editor play nothing";

    // A selection made after the entry moves the entry point; entries keep what the beat held.
    live.SeenEntries = 2;
    live.Beat = 4;
    r.input->Set(live);
    ASSERT_TRUE(r.editing.EnterSectionKey(1, 4, SomeSectionKey));
    r.Play('V');
    EXPECT_EQ(r.Record(1, 4).ChordRoot % 12, 2);
    EXPECT_EQ(r.Record(1, 4).CommandCode, SomeSectionKey) << "the command stays";

    // Unticked, nothing is entered.
    live.InputLive = false;
    r.input->Set(live);
    r.Play('C');
    EXPECT_EQ(r.input->Entries(), 3u);
}

// A chord for the editor does not start the loaded style: not even its first notes sound.
TEST(EditorChordInput, AChordForTheEditorLeavesAnIdleStyleSilent) {
    EditorRig r;
    ASSERT_TRUE(r.rig.core.OpenStyle(testing::AssetsFolder() + "/styles/bossa.vxs"));
    ASSERT_TRUE(r.editing.Editor().CreateMeasures(4, 16));
    app::EditorLiveInput live;
    live.Open = true;
    live.InputLive = true;
    r.input->Set(live);
    r.rig.t.midi->ClearSent(DesktopRig::SynthOutput);
    r.Play('V');
    r.rig.RunFor(std::chrono::milliseconds(500));
    EXPECT_EQ(r.rig.NoteOnsSent(), 0);
    EXPECT_EQ(r.stopped, 0);
}

// The song that plays hands its chords to the engine as a player does; with the box ticked
// they must not be written into the song itself.
TEST(EditorChordInput, TheSongThatPlaysIsNotWrittenIntoItself) {
    EditorRig r;
    ASSERT_TRUE(r.rig.core.OpenStyle(testing::AssetsFolder() + "/styles/bossa.vxs"));
    ASSERT_TRUE(r.editing.Editor().CreateMeasures(2, 16));
    ASSERT_TRUE(r.editing.EnterChord(1, 1, 53, 2));  // F min on the first beat
    const auto before = r.rig.t.state.arrangement.Chords.Bytes;
    app::EditorLiveInput live;
    live.Open = true;
    live.InputLive = true;
    live.Beat = 3;
    r.input->Set(live);
    r.rig.core.StartStop();
    ASSERT_TRUE(r.rig.RunUntil([&] { return r.rig.t.state.clock.TickCount > 30; }));
    EXPECT_TRUE(r.rig.Snapshot().Playing);
    EXPECT_EQ(r.rig.t.state.arrangement.Chords.Bytes, before);
    EXPECT_EQ(r.input->Entries(), 0u);
    EXPECT_EQ(r.stopped, 0);
    r.rig.core.Stop();
}

TEST(EditorChordInput, AChordForTheEditorStopsAStyleThatPlays) {
    EditorRig r;
    ASSERT_TRUE(r.rig.core.OpenStyle(testing::AssetsFolder() + "/styles/bossa.vxs"));
    r.rig.core.StartStop();
    ASSERT_TRUE(r.rig.Snapshot().Playing) << r.rig.Snapshot().Status.c_str();
    ASSERT_TRUE(r.rig.RunUntil([&] { return r.rig.Snapshot().Playing; }));
    ASSERT_TRUE(r.editing.Editor().CreateMeasures(4, 16));

    app::EditorLiveInput live;
    live.Open = true;
    live.InputLive = true;
    r.input->Set(live);
    r.Play('V');
    ASSERT_TRUE(r.rig.RunUntil([&] { return !r.rig.Snapshot().Playing; }));
    EXPECT_EQ(r.stopped, 1);
    EXPECT_EQ(r.Record(1, 1).ChordRoot % 12, 2) << "D went into the first beat";
}

}  // namespace
}  // namespace chordella::desktop
