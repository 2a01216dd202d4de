// "Chordprogression / Song Creator" over the real host and core: a click in the
// progression list makes the song, the sheet shows it, the chord view opens and it plays;
// an edited song is offered for saving before the chord view makes the next (the question
// never stops the control thread); the "PLAY ..." window makes a new song, opens the editor
// and chooses where styles come from.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <filesystem>

#include "desktop/DesktopPlaylist.h"
#include "desktop/DesktopStyleManager.h"
#include "library/StyleManager.h"
#include "library/StylePlaylist.h"
#include "ui/ChordViewWindow.h"
#include "ui/EditorWindow.h"
#include "ui/PlayWindow.h"
#include "ui/SongCreatorWindow.h"
#include "ui/WindowRig.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

// The options of a song whose key is not drawn: 16 or `measures` measures, a chord each.
void FixedKeyOptions(ui::SongCreatorWindow& creator, int measures) {
    creator.findChild<QSpinBox*>("SongMeasures")->setValue(measures);
    creator.findChild<QCheckBox*>("RandomKey")->setChecked(false);
    creator.findChild<QCheckBox*>("BaseChord")->setChecked(false);
    creator.findChild<QCheckBox*>("TempoVariations")->setChecked(false);
    for (auto* radio : creator.findChildren<QRadioButton*>())
        if (radio->text() == "Change chord always every measure") radio->setChecked(true);
}

void Pick(QComboBox* list, const char* entry) {
    ASSERT_NE(list, nullptr);
    const int index = list->findText(entry);
    ASSERT_GE(index, 0) << entry;
    list->setCurrentIndex(index);
}

// The song creator window, shown, with the bundled Bossa loaded when `bossa`.
ui::SongCreatorWindow* ShownCreator(WindowRig& rig, bool bossa = true) {
    if (bossa && !rig.OpenBundledStyle("bossa.vxs")) return nullptr;
    auto* creator = TopLevel<ui::SongCreatorWindow>("SongCreator");
    if (creator != nullptr) creator->show();
    return creator;
}

// The 50's progression made in the key and mode the main window's lists name: E Dorian lies
// in the D major scale, Bb Mixolydian in Eb major; the window's own options never reset the key.
TEST(SongCreatorWindow, AChosenProgressionBecomesTheSongInTheListsKeyAndPlaysAtOnceInTheChordView) {
    WindowRig rig;
    auto* creator = ShownCreator(rig);
    auto* chordView = TopLevel<ui::ChordViewWindow>("ChordView");
    ASSERT_NE(creator, nullptr);
    ASSERT_NE(chordView, nullptr);
    FixedKeyOptions(*creator, 16);
    auto* list = creator->findChild<QListWidget*>("ProgressionList");
    ASSERT_EQ(list->count(), 110);
    struct KeyCase {
        const char* Key;
        const char* Mode;
        const char* FirstChord;
    };
    for (const KeyCase& song : {KeyCase{nullptr, nullptr, "C maj"}, KeyCase{"E", "2. Dorian", "D maj"},
                                KeyCase{"Bb", "5. Mixolydian", "Eb maj"}}) {
        SCOPED_TRACE(song.FirstChord);
        if (song.Key != nullptr) {
            Pick(rig.Window().findChild<QComboBox*>("SongKeyList"), song.Key);
            Pick(rig.Window().findChild<QComboBox*>("SongModeList"), song.Mode);
        }
        const QString before = creator->SheetText();
        ClickRow(list, 10);  // "000. 50's Progression --- SECTION 1"
        ASSERT_TRUE(QTest::qWaitFor([&] { return creator->SheetText() != before; }, 30000));
        EXPECT_TRUE(creator->SheetText().startsWith(QString("   1  I              ") + song.FirstChord))
            << creator->SheetText().toStdString();
        EXPECT_EQ(creator->ProgressionText(), "Progr. 0-0-0-0");
    }
    EXPECT_TRUE(chordView->isVisible());
    EXPECT_EQ(chordView->SongInfoText(), "Progr. 0-0-0-0   Bars: 4-4-4-4");
    // It plays (the song's layout is composer/SongGeneratorTest's).
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Host().Snapshot().Measure > 0; }, 30000));
}

// The program change commands (code 223) of the song in the chord memory, by position.
std::vector<int> ProgramChangePositions(const data::ChordMemory& memory) {
    std::vector<int> positions;
    for (int position = 4; position < memory.ChordMemoryLength; position += 4)
        if (memory.RecordAt(position).CommandCode == 223) positions.push_back(position);
    return positions;
}

data::ChordMemory SongNow(WindowRig& rig) {
    return rig.Read([](desktop::DesktopCore& core) { return core.State().arrangement.Chords; });
}

TEST(SongCreatorWindow, WithAutochangeProgramOnABluesSongGetsItsProgramChangesEveryTwelveMeasures) {
    WindowRig rig;
    auto* creator = ShownCreator(rig);
    auto* editor = TopLevel<ui::EditorWindow>("EditorWindow");
    ASSERT_NE(creator, nullptr);
    ASSERT_NE(editor, nullptr);
    FixedKeyOptions(*creator, 24);
    auto* list = creator->findChild<QListWidget*>("ProgressionList");
    ClickRow(list, 10 + 90);  // "Blues Progression 12-01"
    ASSERT_TRUE(QTest::qWaitFor([&] { return !creator->SheetText().isEmpty(); }, 30000));
    EXPECT_TRUE(ProgramChangePositions(SongNow(rig)).empty());

    // The editor's button puts program changes into this song (every 16 measures) and stays on.
    editor->show();
    editor->findChild<QPushButton*>("AutochangeProgram")->click();
    rig.Settle();
    EXPECT_EQ(ProgramChangePositions(SongNow(rig)), (std::vector<int>{16, 16 * 16}));

    // The next blues song (in G) gets them at the form's twelve measures: the last beat of
    // measures 1, 12 and 24.
    Pick(rig.Window().findChild<QComboBox*>("SongKeyList"), "G");
    const QString before = creator->SheetText();
    ClickRow(list, 10 + 90);
    ASSERT_TRUE(QTest::qWaitFor([&] { return creator->SheetText() != before; }, 30000));
    EXPECT_EQ(ProgramChangePositions(SongNow(rig)), (std::vector<int>{16, 12 * 16, 24 * 16}));
}

TEST(SongCreatorWindow, RangeLimitsAreAskedAWrongNumberIsRefusedAndSimpleSongsSetTheirOptions) {
    WindowRig rig;
    auto* creator = ShownCreator(rig, false);
    ASSERT_NE(creator, nullptr);
    rig.Prompter().AnswerText("120");
    ClickRow(creator->findChild<QListWidget*>("ProgressionList"), 7);
    rig.Settle();
    EXPECT_TRUE(rig.Prompter().WasShown("Set range of progressions ...: Specify the lower range limit number ..."));
    EXPECT_TRUE(rig.Prompter().WasShown("Wrong lower range limit number !"));
    // Setting a limit makes no song.
    EXPECT_TRUE(creator->SheetText().isEmpty());

    creator->findChild<QPushButton*>("SimpleSongs")->click();
    const composer::SongCreatorOptions options = creator->ShownOptions();
    EXPECT_FALSE(options.SeventhChords);
    EXPECT_FALSE(options.SusChords);
    EXPECT_TRUE(options.RandomKey);
    EXPECT_EQ(options.Keys, composer::KeyChoice::MajorAndParallelMinor);
    EXPECT_TRUE(options.SimpleSongs);
    EXPECT_EQ(ui::ParseMeasureList("3, 5-7, x, 9-8"), (std::vector<int>{3, 5, 6, 7}));
}

// The editor's "Edit Beat ...": measure 1, beat 2 becomes D min.
void EditSecondBeat(WindowRig& rig) {
    app::SongEditRequest edit;
    edit.Edit = app::SongEdit::SetChord;
    edit.Measure = 1;
    edit.Beat = 2;
    edit.Root = 2;
    edit.Type = 2;
    rig.Host().EditSong(edit, [](const app::SongEditReply&) {});
    rig.Settle();
}

TEST(SongCreatorWindow, TheChordViewMakesSongsAndOffersAnEditedOneForSavingBeforeTheNext) {
    WindowRig rig;
    TempFolder folder;
    auto* creator = TopLevel<ui::SongCreatorWindow>("SongCreator");
    auto* chordView = TopLevel<ui::ChordViewWindow>("ChordView");
    ASSERT_NE(chordView, nullptr);
    chordView->show();
    chordView->findChild<QPushButton*>("GenerateMixed")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !creator->SheetText().isEmpty(); }, 30000));
    EXPECT_TRUE(chordView->SongInfoText().startsWith("Progr. ")) << chordView->SongInfoText().toStdString();
    // A song just made is not asked about.
    const QString first = creator->SheetText();
    chordView->findChild<QPushButton*>("GenerateMixed")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return creator->SheetText() != first; }, 30000));
    EXPECT_FALSE(rig.Prompter().WasShown(app::SaveArrangementQuestion));

    // Edited, it is: the question stays open while the control thread runs on.
    EditSecondBeat(rig);
    const data::ChordMemory edited = SongNow(rig);
    rig.Prompter().HoldQuestions(true);
    chordView->findChild<QPushButton*>("GenerateRandom")->click();
    rig.Settle();
    EXPECT_TRUE(rig.Prompter().WasShown(app::SaveArrangementQuestion));
    EXPECT_EQ(rig.Prompter().HeldQuestions(), 1u);
    EXPECT_EQ(SongNow(rig).Bytes, edited.Bytes);
    // "Yes" saves the song and makes none.
    const std::string path = folder.Path() + "/edited.vxa";
    rig.Prompter().AnswerYes();
    rig.Prompter().AnswerText(path);
    rig.Prompter().HoldQuestions(false);
    rig.Host().Barrier([&rig](desktop::DesktopCore&) { rig.Prompter().AnswerHeld(); });
    rig.Settle();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(SongNow(rig).Bytes, edited.Bytes);

    // Edited again and answered "No": the new song replaces it.
    EditSecondBeat(rig);
    const QString before = creator->SheetText();
    rig.Prompter().AnswerNo();
    chordView->findChild<QPushButton*>("GenerateRandom")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return creator->SheetText() != before; }, 30000));
    EXPECT_NE(SongNow(rig).Bytes, edited.Bytes);
    EXPECT_TRUE(creator->ProgressionText().isEmpty()) << "a random song follows no progression";
}

TEST(SongCreatorWindow, ThePlayWindowMakesANewSongOpensTheEditorAndChoosesWhereStylesComeFrom) {
    WindowRig rig;
    auto* creator = ShownCreator(rig, false);
    ASSERT_NE(creator, nullptr);
    creator->findChild<QPushButton*>("CreateChords")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !creator->SheetText().isEmpty(); }, 30000));
    auto* play = creator->findChild<ui::PlayWindow*>("PlayWindow");
    ASSERT_NE(play, nullptr);
    EXPECT_TRUE(play->isVisible());

    // "Create a new song !": mixed common progressions.
    const QString random = creator->SheetText();
    play->findChild<QPushButton*>("CreateNewSong")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return creator->SheetText() != random; }, 30000));
    EXPECT_TRUE(creator->ProgressionText().startsWith("Progr. ")) << creator->ProgressionText().toStdString();
    EXPECT_EQ(play->findChild<QPushButton*>("PlayPanel")->text(), creator->PlayLabelText());

    // The panel opens and closes the editor.
    auto* editor = TopLevel<ui::EditorWindow>("EditorWindow");
    ASSERT_NE(editor, nullptr);
    const bool shown = editor->isVisible();
    play->findChild<QPushButton*>("PlayPanel")->click();
    EXPECT_NE(editor->isVisible(), shown);

    // The pop-up: the style manager's files, then an empty playlist refused, then in order.
    auto item = [play](const QString& text) { return ActionIn(&play->Popup(), text); };
    item("Use styles from styles manager")->trigger();
    item("Use styles from the styles playlist")->trigger();
    item("Use random order")->trigger();  // unticked: the playlist's "Next"
    rig.Settle(2);
    bool managerRandom = false, playlistRandom = true, next = false;
    rig.Host().Barrier([&](desktop::DesktopCore& core) {
        managerRandom = core.StyleManagerPanel().Manager().RandomTicked();
        playlistRandom = core.Playlist().Lists().RandomTicked;
        next = core.Playlist().Lists().NextTicked;
    });
    EXPECT_TRUE(managerRandom);
    EXPECT_FALSE(playlistRandom);  // the playlist is empty
    EXPECT_TRUE(next);
    EXPECT_TRUE(item("Use styles from styles manager")->isChecked());
    EXPECT_FALSE(item("Use styles from the styles playlist")->isChecked());
    EXPECT_FALSE(item("Use random order")->isChecked());
}

}  // namespace
}  // namespace chordella::testing
