#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "stylecreator/EventEditor.h"
#include "support/RecordingOutput.h"

namespace chordella::stylecreator {
namespace {

// Material: a note on channel 1 (key 60, ended by velocity 0), one on channel 2 (key 64,
// ended by 0x81), and another key-60 note on channel 1 later.
struct EditorFixture : testing::CreatorFixture {
    EditorFixture() : editor(*t.session, t.state.engine, host) {
        data::EnsureWorkChunks(Work(), 1);
        data::CreatorWorkWriter w(&Work(), {});
        w.Message(0x90, 60, 100);
        w.Waits(12);
        w.Message(0x91, 64, 80);
        w.Waits(12);
        w.Message(0x90, 60, 0);
        w.Message(0x81, 64, 0);
        w.Waits(24);
        w.Message(0x90, 60, 90);
        w.Waits(24);
        w.Message(0x80, 60, 0);
        w.Finish();
        Work().WorkLength = Work().Chunks[0].Size;
        out.Open = true;
        t.session->SetAccompanimentOutput(&out);
        editor.Open(0, -1, std::nullopt);
    }
    std::uint8_t Byte(std::int32_t offset) { return host.Material()[static_cast<std::size_t>(offset)]; }

    testing::RecordingOutput out;
    EventEditor editor;
};

TEST(EventEditor, StepsThroughTheNotesTheChannelFilterLetsThrough) {
    EditorFixture f;
    EXPECT_EQ(f.editor.Current().Name, "C 5");
    EXPECT_TRUE(f.out.Messages.empty());  // opening shows without sounding
    f.editor.Next();
    EXPECT_EQ(f.editor.Current().Key, 64);
    EXPECT_EQ(f.editor.Current().Channel, 1);
    EXPECT_TRUE(f.out.Messages.back().IsNoteOn());
    f.editor.Next();
    EXPECT_EQ(f.editor.Current().Velocity, 90);
    f.editor.Next();                        // past the last note: the range end, no note
    EXPECT_FALSE(f.editor.Current().OnNote);

    f.t.state.engine.ChannelMute[1] = 1;
    f.editor.Open(0, -1, std::nullopt);
    f.editor.Next();
    EXPECT_EQ(f.editor.Current().Velocity, 90);  // channel 2 is muted: skipped
    f.editor.Previous();
    EXPECT_EQ(f.editor.Current().Offset, 0);
    f.t.state.engine.SoloFilter = 2;     // only channel 2, which is muted: none
    f.editor.Open(0, -1, std::nullopt);
    EXPECT_FALSE(f.editor.Current().OnNote);
}

TEST(EventEditor, ChangeMovesTheNoteAndItsEndAndUndoPutsBothBack) {
    EditorFixture f;
    EXPECT_FALSE(f.editor.Undo());           // nothing to undo yet
    ASSERT_TRUE(f.editor.Change(/*D*/ 2, 4));
    EXPECT_EQ(f.Byte(1), 50);
    EXPECT_EQ(f.editor.Current().Name, "D 4");
    EXPECT_EQ(f.Byte(11), 50);                // the velocity-0 end follows
    EXPECT_EQ(f.Byte(20), 60);               // the later note keeps its key
    EXPECT_EQ(f.Style().StyleModified, 1);
    ASSERT_TRUE(f.editor.Undo());
    EXPECT_EQ(f.Byte(1), 60);
    EXPECT_EQ(f.Byte(11), 60);
    EXPECT_FALSE(f.editor.Undo());           // one level only

    f.editor.Next();                         // channel 2: ended by a note-off
    ASSERT_TRUE(f.editor.Change(0, 5));
    EXPECT_EQ(f.Byte(6), 60);
    EXPECT_EQ(f.Byte(14), 60);
}

TEST(EventEditor, ClearSilencesTheNoteMovesOnAndUndoRestoresItsVelocity) {
    EditorFixture f;
    ASSERT_TRUE(f.editor.Clear());
    EXPECT_EQ(f.Byte(2), 0);
    EXPECT_EQ(f.editor.Current().Key, 64);   // on to the next note
    ASSERT_TRUE(f.editor.Undo());
    EXPECT_EQ(f.Byte(2), 100);

    ASSERT_TRUE(f.editor.SetVelocity(200));  // the bar ends at 127
    EXPECT_EQ(f.Byte(7), 127);
    EXPECT_EQ(f.editor.Current().Velocity, 127);
}

}  // namespace
}  // namespace chordella::stylecreator
