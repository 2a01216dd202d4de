// The song operations: open, save, quick save and quick load, clear and new, with the
// questions and messages the player sees and the calls into the transport and the style.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/Session.h"
#include "data/SongFile.h"
#include "core/SongFiles.h"
#include "platform/Files.h"
#include "support/Fixtures.h"
#include "support/SongBuilder.h"
#include "support/TestSession.h"
#include "support/TextFiles.h"

namespace chordella::data {
namespace {

// A host that records what the song operations asked of it.
class RecordingHost final : public ArrangementLink {
public:
    bool ChordsRecording() override { return recording; }
    void StopRecording() override { calls.push_back("StopRecording"), recording = false; }
    bool StylePlaying() override { return playing; }
    void StopPlayback() override { calls.push_back("StopPlayback"), playing = false; }
    void StartPlayback() override { calls.push_back("StartPlayback"); }
    bool StyleLoaded() override { return !stylePath.empty(); }
    std::string LoadedStylePath() override { return stylePath; }
    bool OpenStyleByPath(const std::string& path, bool quiet) override {
        calls.push_back(std::string("OpenStyle ") + path + (quiet ? " quiet" : ""));
        return false;
    }
    int MeasureUnits() override { return meter; }
    void SetSongTempo(int bpm) override { calls.push_back("Tempo " + std::to_string(bpm)); }
    void SetSongMeter(int units) override { calls.push_back("Meter " + std::to_string(units)), meter = units; }
    void SendMelodyProgram(int program) override { calls.push_back("Program " + std::to_string(program)); }
    bool ImportMidiSong(const std::string& path) override { return calls.push_back("Import " + path), true; }
    bool CreateMeasures() override { return calls.push_back("CreateMeasures"), true; }
    void SongOpened() override { calls.push_back("SongOpened"); }
    void SongCleared() override { calls.push_back("SongCleared"); }
    void ShowEditor() override { calls.push_back("ShowEditor"); }

    bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

    bool recording = false;
    bool playing = false;
    std::string stylePath;
    int meter = 16;
    std::vector<std::string> calls;
};

class SongFilesTest : public ::testing::Test {
protected:
    SongFilesTest() {
        t.session->SetArrangementLink(&host);
        std::filesystem::create_directories(t.session->Paths().Songs());
    }
    ArrangementState& Song() { return t.state.arrangement; }
    // A song operation of its own, like the window's buttons make one per click.
    SongFiles NewFiles() { return SongFiles(*t.session, Song(), t.state.options); }
    std::string SongPath(const std::string& name) { return t.session->Paths().Songs() + "/" + name; }
    // A song in memory that an open must not lose.
    void HaveASong() {
        testing::SongBuilder().Title("Keep me").At(1).Chord("D").At(2).Chord("A7").End().ApplyTo(Song());
        Song().ArrangementPath = "/songs/keep.vxa";
    }

    testing::TestSession t;
    RecordingHost host;
    SongFiles files{*t.session, t.state.arrangement, t.state.options};
};

TEST_F(SongFilesTest, OpeningASongStopsARecordingFirstFillsTheStateAndAppliesItsTempoMeterAndProgram) {
    host.recording = true;
    testing::SongBuilder(3).Tempo(92).StartMeasure(2).MelodyProgram(41).Title("Waltz")
        .At(1).Chord("G").At(2).Chord("D7").NoteAt(1, 1, 67, 2).End().WriteTo(SongPath("waltz.vxa"));
    EXPECT_EQ(files.Open({OpenSource::Path, SongPath("waltz.vxa")}), OpenOutcome::Opened);
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls.front(), "StopRecording");
    EXPECT_EQ(Song().Text.SongTitle, "Waltz");
    EXPECT_EQ(Song().Chords.RecordAt(4), (BeatRecord{55, 1, 0, 0}));
    EXPECT_EQ(Song().Melody.MelodyCount, 2);
    EXPECT_EQ(Song().ArrangementPath, SongPath("waltz.vxa"));
    EXPECT_EQ(Song().StartMeasure, 2);
    EXPECT_EQ(Song().EndMeasure, 3) << "two measures and the STOP measure, in 3/4";
    EXPECT_TRUE(host.Called("Tempo 92"));
    EXPECT_TRUE(host.Called("Meter 12")) << "a song without a style brings its own meter";
    EXPECT_TRUE(host.Called("Program 41"));
    EXPECT_TRUE(host.Called("SongOpened"));
    EXPECT_TRUE(host.Called("ShowEditor"));
    EXPECT_FALSE(host.Called("StartPlayback")) << "no style is loaded";
}

// A file with more measures than the chord memory holds: what fits is opened and the cut
// is said, in 4/4 and in 3/4.
TEST_F(SongFilesTest, ASongLongerThanTheChordMemoryIsOpenedCutAndTheCutIsSaid) {
    for (const int beats : {4, 3}) {
        SCOPED_TRACE(std::to_string(beats) + " beats a measure");
        t.prompter->ClearShown();
        std::vector<std::uint8_t> bytes = testing::SongBuilder(beats).At(1).Chord("C").Measures(10).Bytes();
        // 2000 measures of G after the ten: the chord memory is the file's last block.
        for (int beat = 0; beat < 2000 * beats; ++beat) bytes.insert(bytes.end(), {55, 1, 0, 0});
        const std::string path = SongPath("long" + std::to_string(beats) + ".vxa");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        t.prompter->AnswerYes();  // the song opened before is replaced
        ASSERT_EQ(files.Open({OpenSource::Path, path}), OpenOutcome::Opened);
        const int held = beats == 4 ? 750 : 1000;
        EXPECT_EQ(Song().EndMeasure, held);
        const std::string said = "song cut at measure " + std::to_string(held) + ": the chord memory holds " +
                                 std::to_string(held) + " measures";
        ASSERT_FALSE(t.prompter->Shown().empty());
        EXPECT_EQ(t.prompter->Shown().back().rfind(said, 0), 0u) << t.prompter->Shown().back();
    }
    t.prompter->ClearShown();
    t.prompter->AnswerYes();
    testing::SongBuilder().At(1).Chord("C").Measures(750).WriteTo(SongPath("full.vxa"));
    ASSERT_EQ(files.Open({OpenSource::Path, SongPath("full.vxa")}), OpenOutcome::Opened);
    for (const std::string& shown : t.prompter->Shown())
        EXPECT_EQ(shown.find("song cut"), std::string::npos) << "a song that fits is not cut";
}

TEST_F(SongFilesTest, HeaderValuesOutsideTheirRangesAndTheShortFormsTempoAreNotPassedOnAndSavingKeepsTheSongsOwnStyle) {
    auto song = testing::SongBuilder().At(1).Chord("C").NoteAt(1, 1, 60, 1).End();
    song.StartMeasure(9).Tempo(0).MelodyProgram(200).WriteTo(SongPath("odd.vxa"));
    files.Open({OpenSource::Path, SongPath("odd.vxa")});
    EXPECT_EQ(Song().StartMeasure, 1) << "start measure 9 means measure 1";
    EXPECT_EQ(Song().Chords.SongStartMeasure(), 9) << "the byte itself is kept for saving";
    EXPECT_TRUE(host.Called("Meter 16"));
    for (const auto& call : host.calls) {
        EXPECT_NE(call.rfind("Tempo", 0), 0u) << call;
        EXPECT_NE(call.rfind("Program", 0), 0u) << call;
    }

    host.calls.clear();
    testing::SongBuilder().At(1).Chord("C").End().Meter(0).StartMeasure(0).WriteTo(SongPath("nometer.vxa"));
    files.Open({OpenSource::Path, SongPath("nometer.vxa")});
    EXPECT_EQ(Song().StartMeasure, 1);
    EXPECT_EQ(Song().Chords.ChordMemoryLength, 4 + 2 * 16);
    for (const auto& call : host.calls) EXPECT_NE(call.rfind("Meter", 0), 0u) << "a meter of 0 is not applied";

    host.calls.clear();
    testing::SongBuilder::WriteBytes(SongPath("short.vxa"),
                                     testing::SongBuilder().Tempo(77).At(1).Chord("C").End().ShortFormBytes());
    EXPECT_EQ(files.Open({OpenSource::SongPlayer, SongPath("short.vxa")}), OpenOutcome::Opened);
    EXPECT_EQ(Song().Chords.SongTempo(), 77);
    EXPECT_FALSE(host.Called("Tempo 77"));
    EXPECT_FALSE(host.Called("ShowEditor")) << "the song player drives this open";

    testing::SongBuilder().Style("D:\\STYLES\\Lost.vxs").At(1).Chord("C").End().WriteTo(SongPath("lost.vxa"));
    files.Open({OpenSource::SongPlayer, SongPath("lost.vxa")});
    ASSERT_TRUE(files.Save());
    const std::string saved = testing::ReadTextFile(SongPath("lost.vxa"));
    const auto read = ReadSongFile(std::vector<std::uint8_t>(saved.begin(), saved.end()));
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Content.StyleReference, "D:\\STYLES\\Lost.vxs");
}

TEST_F(SongFilesTest, AStyleReferenceIsAutoloadedAndKeepsTheStylesMeter) {
    testing::SongBuilder(3).Style("C:\\Chordella\\STYLES\\Waltz.vxs").At(1).Chord("C").End()
        .WriteTo(SongPath("styled.vxa"));
    host.stylePath = "/styles/Waltz.vxs";
    EXPECT_EQ(files.Open({OpenSource::Dialog, SongPath("styled.vxa")}), OpenOutcome::Opened);
    EXPECT_TRUE(host.Called("OpenStyle C:\\Chordella\\STYLES\\Waltz.vxs"));
    EXPECT_FALSE(host.Called("Meter 12"));
    EXPECT_TRUE(host.Called("StartPlayback")) << "opened from the main window with a style loaded";

    host.calls.clear();
    EXPECT_EQ(files.Open({OpenSource::Shuffle, SongPath("styled.vxa")}), OpenOutcome::Opened);
    EXPECT_TRUE(host.Called("OpenStyle C:\\Chordella\\STYLES\\Waltz.vxs quiet"));
    EXPECT_FALSE(host.Called("StartPlayback"));

    host.calls.clear();
    t.state.options.AutoloadStyle = false;
    files.Open({OpenSource::Shuffle, SongPath("styled.vxa")});
    EXPECT_FALSE(host.Called("OpenStyle C:\\Chordella\\STYLES\\Waltz.vxs quiet"));
}

TEST_F(SongFilesTest, OpeningOverASongAsksFirstAndNoKeepsIt) {
    HaveASong();
    testing::SongBuilder().Title("Other").At(1).Chord("E").End().WriteTo(SongPath("other.vxa"));
    t.prompter->AnswerNo();
    EXPECT_EQ(files.Open({OpenSource::Dialog, SongPath("other.vxa")}), OpenOutcome::Cancelled);
    EXPECT_TRUE(t.prompter->WasShown("Replace current chords & melody ?"));
    EXPECT_EQ(Song().Text.SongTitle, "Keep me");

    t.prompter->ClearShown();
    EXPECT_EQ(files.Open({OpenSource::StopButton, SongPath("other.vxa")}), OpenOutcome::Opened);
    EXPECT_FALSE(t.prompter->WasShown("Replace current chords & melody ?")) << "the stop button does not ask";
    EXPECT_EQ(Song().Text.SongTitle, "Other");
}

TEST_F(SongFilesTest, ARefusedFileLeavesTheSongAsItWas) {
    HaveASong();
    const ArrangementState before = Song();
    for (const auto& [name, reason] : std::vector<std::pair<std::string, std::string>>{
             {"melody-longer-than-file.vxa", "melody events"}, {"text-longer-than-file.vxa", "song text"},
             {"style-reference-cut.vxa", "style reference"}, {"empty.vxa", "empty"}, {"missing.vxa", ""}}) {
        t.prompter->ClearShown();
        EXPECT_EQ(files.Open({OpenSource::SongPlayer, testing::FixturePath("songs/" + name)}), OpenOutcome::Refused) << name;
        ASSERT_EQ(t.prompter->Shown().size(), 1u) << name;
        EXPECT_NE(t.prompter->Shown()[0].find(name), std::string::npos) << t.prompter->Shown()[0];
        EXPECT_NE(t.prompter->Shown()[0].find(reason), std::string::npos) << t.prompter->Shown()[0];
        EXPECT_EQ(Song().Chords.Bytes, before.Chords.Bytes) << name;
        EXPECT_EQ(Song().Chords.ChordMemoryLength, before.Chords.ChordMemoryLength);
        EXPECT_EQ(Song().Text, before.Text);
        EXPECT_EQ(Song().ArrangementPath, before.ArrangementPath);
    }
    EXPECT_FALSE(host.Called("SongOpened"));
}

TEST_F(SongFilesTest, OnlyVxaAndMidFilesAreOpenedAndTheOpenDialogIsUsedWhenNoPathIsGiven) {
    EXPECT_EQ(files.Open({OpenSource::Path, "/tmp/song.txt"}), OpenOutcome::Refused);
    EXPECT_EQ(t.prompter->Shown().size(), 1u);
    EXPECT_EQ(files.Open({OpenSource::Dialog, "/tmp/SONG.MID", true}), OpenOutcome::Imported);
    EXPECT_TRUE(host.Called("Import /tmp/SONG.MID"));
    EXPECT_TRUE(host.Called("StartPlayback")) << "a play button opened it";

    testing::SongBuilder().Title("Chosen").At(1).Chord("F").End().WriteTo(SongPath("chosen.vxa"));
    t.prompter->AnswerText(SongPath("chosen.vxa"));
    EXPECT_EQ(files.Open({}), OpenOutcome::Opened);
    EXPECT_TRUE(t.prompter->WasShown("Open arrangement ..."));
    EXPECT_EQ(Song().SongDirectory, t.session->Paths().Songs());
    EXPECT_EQ(files.Open({}), OpenOutcome::Cancelled) << "the dialog was cancelled";
}

TEST_F(SongFilesTest, AnOpenDialogAnsweredLaterOpensTheChosenSongThoughTheOperationThatAskedIsGone) {
    testing::SongBuilder().Title("Later").At(1).Chord("E").End().WriteTo(SongPath("later.vxa"));
    t.prompter->HoldQuestions(true);
    std::optional<OpenOutcome> outcome;
    EXPECT_EQ(NewFiles().Open({OpenSource::Dialog, ""}, [&](OpenOutcome o) { outcome = o; }),
              OpenOutcome::Asking);
    EXPECT_EQ(t.prompter->Shown(), std::vector<std::string>{"Open arrangement ..."});
    EXPECT_FALSE(outcome.has_value());
    t.prompter->AnswerText(SongPath("later.vxa"));
    ASSERT_TRUE(t.prompter->AnswerHeld());
    EXPECT_EQ(outcome, std::optional<OpenOutcome>(OpenOutcome::Opened));
    EXPECT_EQ(Song().Text.SongTitle, "Later");

    // Save as: the dialog's answer writes the song then.
    bool saved = false;
    EXPECT_FALSE(NewFiles().SaveAs([&](bool ok) { saved = ok; }));
    t.prompter->AnswerText(SongPath("copy"));
    ASSERT_TRUE(t.prompter->AnswerHeld());
    EXPECT_TRUE(saved);
    EXPECT_TRUE(std::filesystem::exists(SongPath("copy.vxa")));
    EXPECT_EQ(Song().ArrangementPath, SongPath("copy.vxa"));
}

TEST_F(SongFilesTest, SavingWritesAFileThatOpensAsTheSameSong) {
    testing::SongBuilder().Title("Saved").Comments("verse\r\nchorus").At(1).Chord("Bb").Section(36)
        .At(3, 2).Chord("F7").LoopStart(2).NoteAt(1, 2, 70, 1).End().ApplyTo(Song());
    host.stylePath = "/home/me/STYLES/Swing.vxs";
    const ArrangementState saved = Song();
    EXPECT_TRUE(files.SaveTo(SongPath("saved.vxa")));
    EXPECT_EQ(Song().ArrangementPath, SongPath("saved.vxa"));

    t.prompter->AnswerYes();
    ASSERT_TRUE(files.Clear());
    EXPECT_EQ(files.Open({OpenSource::SongPlayer, SongPath("saved.vxa")}), OpenOutcome::Opened);
    EXPECT_EQ(Song().Chords.Bytes, saved.Chords.Bytes);
    EXPECT_EQ(Song().Chords.ChordMemoryLength, saved.Chords.ChordMemoryLength);
    EXPECT_EQ(Song().Text, saved.Text);
    EXPECT_EQ(Song().Melody.MelodyCount, 2);
    EXPECT_EQ(Song().Melody.MelodyBuffer, saved.Melody.MelodyBuffer);
    EXPECT_EQ(Song().StyleReference, "/home/me/STYLES/Swing.vxs") << "the loaded style is the song's style";
}

TEST_F(SongFilesTest, AnEmptySongIsNotSavedARecordingBlocksSavingAFailedSaveSaysWhyAndSaveAsAddsTheExtension) {
    EXPECT_FALSE(files.SaveTo(SongPath("empty.vxa")));
    EXPECT_TRUE(t.prompter->WasShown("Chordmemory is empty !"));
    EXPECT_FALSE(platform::FileExists(SongPath("empty.vxa")));

    HaveASong();
    t.prompter->ClearShown();
    host.recording = true;
    EXPECT_FALSE(files.SaveTo(SongPath("rec.vxa")));
    EXPECT_TRUE(t.prompter->Shown().empty()) << "refused silently";
    EXPECT_FALSE(platform::FileExists(SongPath("rec.vxa")));

    // A failed save says why and leaves the song's file as it was.
    host.recording = false;
    EXPECT_FALSE(files.SaveTo(t.home.File("no/such/folder/x.vxa")));
    ASSERT_EQ(t.prompter->Shown().size(), 1u);
    EXPECT_NE(t.prompter->Shown()[0].find("x.vxa"), std::string::npos);
    EXPECT_EQ(Song().ArrangementPath, "/songs/keep.vxa");

    t.prompter->AnswerText(SongPath("named"));
    EXPECT_TRUE(files.SaveAs());
    EXPECT_TRUE(platform::FileExists(SongPath("named.vxa")));
    EXPECT_EQ(Song().ArrangementPath, SongPath("named.vxa"));
    EXPECT_EQ(Song().SongDirectory, t.session->Paths().Songs());
    EXPECT_TRUE(files.Save()) << "Save goes to the song's file now, without a dialog";
    EXPECT_EQ(t.prompter->PendingAnswers(), 0u);
}

TEST_F(SongFilesTest, QuickSaveAndQuickLoadBringTheSongBackAndQuickSaveMakesTheSongsFolder) {
    t.prompter->ClearShown();
    EXPECT_EQ(files.QuickLoad(), OpenOutcome::Refused);
    EXPECT_TRUE(t.prompter->WasShown("Button Quicksave has not been pressed previously"));

    std::filesystem::remove_all(t.session->Paths().Songs());
    HaveASong();
    const ArrangementState before = Song();
    host.playing = true;
    EXPECT_TRUE(files.QuickSave());
    EXPECT_TRUE(host.Called("StopPlayback"));
    EXPECT_TRUE(t.prompter->WasShown("Editor content has been saved as Chordellatemp.vxa !"));
    EXPECT_TRUE(platform::FileExists(t.session->Paths().Songs() + "/Chordellatemp.vxa"));
    EXPECT_TRUE(platform::FileExists(files.QuickSavePath()));
    EXPECT_EQ(Song().ArrangementPath, "/songs/keep.vxa") << "the quick-save copy is not the song's file";

    t.prompter->AnswerYes();
    ASSERT_TRUE(files.Clear());
    EXPECT_EQ(files.QuickLoad(), OpenOutcome::Opened);
    EXPECT_EQ(Song().Chords.Bytes, before.Chords.Bytes);
    EXPECT_EQ(Song().Text, before.Text);
}

TEST_F(SongFilesTest, ClearAndNewAskAndResetEverything) {
    HaveASong();
    testing::SongBuilder().Style("x.vxs").NoteAt(1, 1, 60, 1).At(1).Chord("C").End().ApplyTo(Song());
    Song().ChordMemoryPos = 40;
    t.prompter->AnswerNo();
    EXPECT_FALSE(files.Clear());
    EXPECT_TRUE(t.prompter->WasShown("Clear Chordmemory ?"));
    EXPECT_FALSE(Song().Chords.IsEmpty());

    t.prompter->AnswerYes();
    EXPECT_TRUE(files.Clear());
    EXPECT_TRUE(Song().Chords.IsEmpty());
    EXPECT_EQ(Song().Chords.RecordAt(4).CommandCode, CommandStop);
    EXPECT_EQ(Song().Melody.MelodyCount, 0);
    EXPECT_EQ(Song().Text, SongText{});
    EXPECT_EQ(Song().ChordMemoryPos, 4);
    EXPECT_EQ(Song().ArrangementPath, "");
    EXPECT_FALSE(Song().HasStyleReference);
    EXPECT_TRUE(host.Called("SongCleared"));

    t.prompter->ClearShown();
    EXPECT_TRUE(files.Clear()) << "an empty song is cleared without a question";
    EXPECT_TRUE(t.prompter->Shown().empty());

    EXPECT_TRUE(files.New()) << "New clears, then asks for measures";
    EXPECT_TRUE(host.Called("CreateMeasures"));
    HaveASong();
    host.calls.clear();
    t.prompter->AnswerNo();
    EXPECT_FALSE(files.New());
    EXPECT_FALSE(host.Called("CreateMeasures"));
}

}  // namespace
}  // namespace chordella::data
