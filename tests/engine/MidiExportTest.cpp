// The three callers of the MIDI export: "&Export MIDI ...", "Save style as MIDI file" and the
// arrangement into style material.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "core/Session.h"
#include "core/StyleStore.h"
#include "app/MidiExport.h"
#include "app/RenderSession.h"
#include "platform/Files.h"
#include "support/MidoReader.h"
#include "support/SongBuilder.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

using data::StylePart;

StyleBuilder FourParts() {
    StyleBuilder b;
    b.Meter(4).Tempo(120);
    b.Part(StylePart::Intro).Measures(1).Note(9, 37, 90, 0, 12);
    b.Part(StylePart::Basic).Measures(2).Note(0, 36, 100, 0, 24);
    b.Part(StylePart::FillInBasic).Measures(1).FollowUp(data::followup::Variation).Note(0, 40, 100, 0, 24);
    b.Part(StylePart::Ending).Measures(1).Note(0, 36, 100, 0, 48);
    return b;
}

class MidiExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = t.home.Path() + "/Four.vxs";
        ASSERT_TRUE(FourParts().Write(path));
        ASSERT_EQ(data::StyleStore(*t.session).Load(path, false), data::StyleLoadResult::Loaded);
    }
    TestSession t;
};

TEST_F(MidiExportTest, SaveStyleAsMidiWritesOneFilePerPresentPartWithItsSuffixAndListsThePartsMeasures) {
    app::StyleMidiFiles result;
    ASSERT_TRUE(app::SaveStyleAsMidi(*t.session, t.state, t.home.Path(), result));
    std::vector<std::string> names;
    for (const std::string& file : result.Files) names.emplace_back(platform::FileNamePart(file));
    EXPECT_EQ(names, (std::vector<std::string>{"sty1_i11.mid", "sty1_v11.mid", "sty1_e11.mid", "sty1_v31.mid"}));
    for (const char* absent : {"sty1_v21.mid", "sty1_f12.mid", "sty1_f22.mid", "sty1_f11.mid", "sty1_f21.mid"})
        EXPECT_FALSE(platform::FileExists(t.home.Path() + "/" + absent)) << absent;

    // The Basic part's file: one pass (two measures) over C major, every note ended.
    MidoFile basic;
    ASSERT_TRUE(ReadWithMido(t.home.Path() + "/sty1_v11.mid", basic)) << basic.Error;
    const auto notes = basic.Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Int("note"), 36);
    for (const MidoEvent& e : basic.OfType("end_of_track")) EXPECT_EQ(e.Tick, 2 * 96 * basic.Division / 24);
    EXPECT_EQ(basic.OfType("marker").at(0).Fields.at("text"), "Basic");
    // The style measures list: one aligned line per part.
    EXPECT_EQ(result.MeasuresList,
              "Intro              : 01 - 01\r\n"
              "Basic              : 02 - 03\r\n"
              "Ending             : 05 - 05\r\n"
              "Fill in Basic      : 04 - 04\r\n");
}

TEST_F(MidiExportTest, ExportMidiAsksForTheFileAndLeavesTheLiveStyleAlone) {
    const std::string path = t.home.Path() + "/Export.mid";
    const std::int32_t before = t.session->Style().player.StylePos;
    t.prompter->AnswerText(path);
    ASSERT_TRUE(app::ExportMidi(*t.session, t.state));
    EXPECT_TRUE(t.prompter->WasShown(app::ExportDialogTitle));
    MidoFile file;
    ASSERT_TRUE(ReadWithMido(path, file)) << file.Error;
    EXPECT_EQ(file.Notes().size(), static_cast<std::size_t>(app::DefaultStyleMeasures / 2));
    EXPECT_EQ(t.session->Style().player.StylePos, before);
    EXPECT_EQ(t.session->Style().player.StyleActive, 0);
    EXPECT_EQ(t.session->AccompanimentOutput(), t.session->CurrentOutput());

    t.prompter->AnswerCancel();
    EXPECT_FALSE(app::ExportMidi(*t.session, t.state));
}

TEST_F(MidiExportTest, AFolderChosenLaterGetsThePartFilesAndTheCallerTheirList) {
    t.prompter->HoldQuestions(true);
    app::StyleMidiFiles now;
    std::optional<std::vector<std::string>> written;
    EXPECT_FALSE(app::SaveStyleAsMidi(*t.session, t.state, {}, now, [&](bool ok, const app::StyleMidiFiles& files) {
        EXPECT_TRUE(ok);
        written = files.Files;
    }));
    EXPECT_TRUE(now.Files.empty());
    EXPECT_FALSE(platform::FileExists(t.home.Path() + "/sty1_v11.mid")) << "nothing before the folder is chosen";
    t.prompter->AnswerText(t.home.Path());
    ASSERT_TRUE(t.prompter->AnswerHeld());
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->size(), 4u);
    EXPECT_TRUE(platform::FileExists(t.home.Path() + "/sty1_v11.mid"));
}

TEST(MidiExportWithoutStyle, SaysThereIsNothingToExport) {
    TestSession t;
    EXPECT_FALSE(app::ExportMidi(*t.session, t.state, t.home.Path() + "/x.mid"));
    EXPECT_TRUE(t.prompter->WasShown(app::NothingToExportText));
    EXPECT_FALSE(platform::FileExists(t.home.Path() + "/x.mid"));
    app::StyleMidiFiles files;
    EXPECT_FALSE(app::SaveStyleAsMidi(*t.session, t.state, t.home.Path(), files));
}

TEST_F(MidiExportTest, AnArrangementBecomesStyleMaterialAndItsTemporaryFileIsRemoved) {
    EXPECT_FALSE(app::ArrangementToStyleMaterial(*t.session, t.state));
    EXPECT_TRUE(t.prompter->WasShown(app::ChordMemoryEmptyText));

    SongBuilder().At(1).Chord("C").At(2).Chord("G").End().ApplyTo(t.state.arrangement);
    const bool converted = app::ArrangementToStyleMaterial(*t.session, t.state);
    EXPECT_FALSE(platform::FileExists(t.session->Paths().ProgramFile(app::ArrangementMaterialFile)));
    if (!app::RenderSession::CanPlaySongs()) {
        EXPECT_FALSE(converted);
        GTEST_SKIP() << "chord-memory playback is not part of this build yet: songs cannot be rendered";
    }
    EXPECT_TRUE(converted);
    EXPECT_GT(t.session->Style().Work.WorkLength, 0);
}

}  // namespace
}  // namespace chordella::testing
