// The chord-memory editor over the real host and core: the edits a user clicks reach the
// song, refusals are shown, and the grid follows the song that plays.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QMenu>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <functional>
#include <set>

#include "app/LiveArranger.h"
#include "composer/ChordChart.h"
#include "platform/Files.h"
#include "remote/RemoteControl.h"
#include "support/TextFiles.h"
#include "ui/ChordCellDialog.h"
#include "ui/EditorWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QAction* open = rig.Window().findChild<QAction*>("OpenEditor");
        ASSERT_NE(open, nullptr);
        open->trigger();
        editor = rig.Window().findChild<ui::EditorWindow*>("EditorWindow");
        if (editor == nullptr) editor = TopLevel<ui::EditorWindow>("EditorWindow");
        ASSERT_NE(editor, nullptr);
        grid = editor->findChild<QTableWidget*>("Grid");
        ASSERT_TRUE(rig.WaitFor([&] { return editor->isVisible(); }));
    }

    void Click(const char* button) {
        auto* found = editor->findChild<QPushButton*>(button);
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    QString Cell(int row, int column) {
        QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString("<none>");
    }

    QString Status() { return editor->findChild<QLabel*>("EditorStatus")->text(); }

    // An empty song: "Insert Measure " asks how many measures to create (32 offered).
    void CreateMeasures(int measures) {
        Click("InsertMeasure");
        QInputDialog* ask = nullptr;
        ASSERT_TRUE(rig.WaitFor([&] { return (ask = editor->findChild<QInputDialog*>("CreateMeasures")) != nullptr; }));
        EXPECT_EQ(ask->textValue(), "32");
        ask->setTextValue(QString::number(measures));
        ask->accept();
        ASSERT_TRUE(rig.WaitFor([&] { return grid->rowCount() == measures + 1; })) << grid->rowCount();
    }

    WindowRig rig;
    ui::EditorWindow* editor = nullptr;
    QTableWidget* grid = nullptr;
};

TEST_F(EditorWindowTest, CreatesASongEditsBeatsAndUndoesMeasureEdits) {
    ASSERT_NO_FATAL_FAILURE(CreateMeasures(4));
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), "001");
    EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), "4/4");
    EXPECT_EQ(Cell(4, 0), "STOP");

    // Measure 2, beat 1: a typed chord and a section key.
    grid->setCurrentCell(1, 0);
    editor->EditSelectedBeat();
    auto* dialog = editor->findChild<ui::ChordCellDialog*>("ChordCellDialog");
    ASSERT_NE(dialog, nullptr);
    auto* name = dialog->findChild<QLineEdit*>("ChordName");
    name->setText("H7");
    emit name->textEdited(name->text());
    EXPECT_TRUE(dialog->findChild<QLabel*>("ChordMessage")->text().startsWith("\"H7\" is not a chord name"));
    QString error;
    EXPECT_TRUE(dialog->Requests(error).empty());
    name->setText("F#m7");
    emit name->textEdited(name->text());
    EXPECT_EQ(dialog->findChild<QComboBox*>("ChordType")->currentText(), "min7");
    dialog->findChild<QComboBox*>("Command")->setCurrentText("Fill In");
    ASSERT_EQ(dialog->Requests(error).size(), 2u) << error.toStdString();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(1, 0) == "Gb min7, Fill In"; })) << Cell(1, 0).toStdString();

    // Delete measure 2 and undo the delete; which edits are refused and what undo keeps is
    // the editor's (composer/ChordMemoryEditorTest), a refusal shown is below.
    Click("DeleteMeasure");
    ASSERT_TRUE(rig.WaitFor([&] { return grid->rowCount() == 4; }));
    Click("Undo");
    ASSERT_TRUE(rig.WaitFor([&] { return grid->rowCount() == 5 && Cell(1, 0) == "Gb min7, Fill In"; }));
    EXPECT_FALSE(editor->findChild<QPushButton*>("Undo")->isEnabled());
    // The grid's own menu inserts a measure before the selected one, as the button does.
    grid->setCurrentCell(1, 0);
    QAction* insert = ActionIn(editor->findChild<QMenu*>("GridMenu"), "Insert Measure ");
    ASSERT_NE(insert, nullptr);
    insert->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return grid->rowCount() == 6 && Cell(2, 0) == "Gb min7, Fill In"; }));

    // Copy measure 3 before measure 1; a copy onto itself is refused, said, and keeps the panel.
    Click("CopyMeasures");
    auto* panel = editor->findChild<QGroupBox*>("CopyPanel");
    ASSERT_TRUE(panel->isVisible());
    editor->findChild<QSpinBox*>("CopyFirst")->setValue(1);
    editor->findChild<QSpinBox*>("CopyLast")->setValue(2);
    editor->findChild<QSpinBox*>("CopyTo")->setValue(2);
    Click("CopyNow");
    ASSERT_TRUE(rig.WaitFor([&] { return Status() == "Can't copy Measures !"; }));
    EXPECT_TRUE(panel->isVisible());
    editor->findChild<QSpinBox*>("CopyFirst")->setValue(3);
    editor->findChild<QSpinBox*>("CopyLast")->setValue(3);
    editor->findChild<QSpinBox*>("CopyTo")->setValue(1);
    Click("CopyNow");
    ASSERT_TRUE(rig.WaitFor([&] { return grid->rowCount() == 7; }));
    EXPECT_EQ(Cell(0, 0), "Gb min7, Fill In");
    EXPECT_EQ(Cell(3, 0), "Gb min7, Fill In");
    EXPECT_FALSE(panel->isVisible());

    // The lead sheet is written into SONGS and shown.
    Click("LeadSheet");
    ASSERT_TRUE(rig.WaitFor([&] { return Status().startsWith("Lead sheet written: "); }));
    const std::string path = Status().mid(QString("Lead sheet written: ").size()).toStdString();
    EXPECT_TRUE(path.ends_with("/SONGS/LeadSheet-Untitled.txt")) << path;
    EXPECT_TRUE(platform::FileExists(path));
    // Its sections are laid out by the composer (LeadSheetTest); the core gives them the
    // function set of the second input.
    EXPECT_NE(ReadTextFile(path).find("Set of melodyinstruments and functions ...\n01  Start/Stop\n"), std::string::npos);

    // "Ignore all program change commands" is the playback option the remote control switches too.
    editor->findChild<QCheckBox*>("IgnoreProgramChanges")->click();
    EXPECT_TRUE(rig.Read([](desktop::DesktopCore& core) { return core.Arranger().Remote().ProgramChangesIgnored(); }));
}

TEST_F(EditorWindowTest, ImportsAChartAndExportsTheSongAsAChart) {
    TempFolder charts;
    WriteTextFile(charts.File("blues.cho"),
                  "{title: Short Blues}\n{time: 3/4}\n{start_of_grid}\n| C . . | F . C7 | G7 . . |\n{end_of_grid}\n");
    bool answered = false;
    std::string message;
    rig.Host().ImportChart(charts.File("blues.cho"), [&](const app::SongEditReply& reply) {
        answered = true;
        message = reply.Message;
    });
    ASSERT_TRUE(rig.WaitFor([&] { return answered; }));
    EXPECT_EQ(message, "");
    editor->Reload();
    ASSERT_TRUE(rig.WaitFor([&] { return grid->rowCount() == 4 && grid->columnCount() == 3; })) << grid->rowCount();
    EXPECT_EQ(Cell(1, 2), "C 7th ");

    answered = false;
    std::string error = "unanswered";
    rig.Host().ExportChart(charts.File("blues.musicxml"), "musicxml", composer::TransposeForBb, [&](const std::string& e) {
        answered = true;
        error = e;
    });
    ASSERT_TRUE(rig.WaitFor([&] { return answered; }));
    EXPECT_EQ(error, "");
    // What the chart holds is checked in composer/ChartRoundTripTest; here the transposition asked for arrives.
    EXPECT_NE(ReadTextFile(charts.File("blues.musicxml")).find("<root-step>D</root-step>"), std::string::npos)
        << "C written for a B flat instrument";
}

// The beat that sounds is highlighted; automatic program changes go in and out again, and
// their settings choose five programs from 2, one every eight measures, and a program list
// created and read back.
TEST_F(EditorWindowTest, TheBeatThatSoundsIsHighlightedAndProgramChangeSettingsChooseTheProgramsAndWhereTheyGo) {
    ASSERT_NO_FATAL_FAILURE(CreateMeasures(24));
    app::DisplaySnapshot shown = rig.Shown();
    shown.Serial += 1000;
    shown.Playing = true;
    shown.Measure = 3;  // the beat about to come: measure 3, beat 1
    shown.Beat = 1;
    const int last = grid->columnCount() - 1;  // the session's meter
    shown.BeatsPerMeasure = last + 1;
    editor->Refresh(shown);
    EXPECT_NE(grid->item(1, last)->background(), QBrush()) << "the last beat of measure 2 sounds";
    shown.Serial += 1;
    shown.Playing = false;
    editor->Refresh(shown);
    EXPECT_EQ(grid->item(1, last)->background(), QBrush());

    // Automatic program changes: the last beat of measure 1 gets one, and it goes again.
    Click("AutochangeProgram");
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, last).startsWith("Prog."); })) << Cell(0, last).toStdString();
    Click("DeleteProgramChanges");
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, last) == "   "; })) << Cell(0, last).toStdString();

    QMenu* menu = editor->ProgramSettings();
    auto item = [menu](const QString& text) { return ActionIn(menu, text); };
    auto answer = [&](const char* name, const QString& text) {
        QInputDialog* box = nullptr;
        EXPECT_TRUE(rig.WaitFor([&] { return (box = editor->findChild<QInputDialog*>(name)) != nullptr; })) << name;
        if (box == nullptr) return;
        box->setTextValue(text);
        box->accept();
    };
    item("Number of MIDI programs")->trigger();
    answer("ProgramCount", "5");
    answer("ProgramBank", "none");
    item("Start number of MIDI programs")->trigger();
    answer("StartNumber", "2");
    item("    - every 8 measures")->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return item("    - every 8 measures")->isChecked(); }));

    Click("AutochangeProgram");
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, last).startsWith("Prog."); })) << Cell(0, last).toStdString();
    // Where the changes go is the composer's (ProgramChangesTest); here the settings reach it.
    const auto programs = rig.Read([](desktop::DesktopCore& core) {
        std::vector<std::pair<int, int>> found;  // (measure, program)
        const data::ChordMemory& memory = core.State().arrangement.Chords;
        for (int position = 4; position < memory.ChordMemoryLength; position += 4)
            if (memory.RecordAt(position).CommandCode == 223)
                found.emplace_back((position - 4) / 16 + 1, memory.RecordAt(position).CommandParam);
        return found;
    });
    ASSERT_GE(programs.size(), 3u);
    EXPECT_EQ(programs[1].first, 8);
    for (const auto& [measure, program] : programs) EXPECT_TRUE(program >= 2 && program <= 4) << measure << ": " << program;

    // "Create list of MIDI programs" writes 000 … 127; imported, the list is the programs' source.
    TempFolder folder;
    const QString list = QString::fromStdString(folder.File("programs.txt"));
    editor->ChooseProgramList = [list](bool) { return list; };
    item("Create list of MIDI programs")->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return platform::FileExists(list.toStdString()); }));
    EXPECT_EQ(ReadTextFile(list.toStdString()).substr(0, 8), "000\n001\n");
    WriteTextFile(list.toStdString(), "042 Organ\n");
    item("Import list of MIDI programs")->trigger();
    Click("DeleteProgramChanges");
    Click("AutochangeProgram");
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, last) == "Prog.42"; })) << Cell(0, last).toStdString();
}

// "Input chord live ": chords typed on the computer keyboard, a pad and a section button go
// into the selected beat one after another, and nothing sounds. "Acoustic chord control"
// sounds a played chord an octave up while the editor is the active window.
TEST_F(EditorWindowTest, PlayedChordsGoIntoTheSelectedBeatsAndSoundAnOctaveUpWithAcousticControl) {
    ASSERT_NO_FATAL_FAILURE(CreateMeasures(2));
    grid->setCurrentCell(0, 1);
    editor->findChild<QCheckBox*>("InputChordLive")->click();
    rig.ClearSent(SynthOutput);
    const auto current = [&] { return std::make_pair(grid->currentRow(), grid->currentColumn()); };

    QTest::keyClick(&rig.Window(), Qt::Key_C);
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, 1).trimmed() == "C maj" && current() == std::make_pair(0, 2); }))
        << Cell(0, 1).toStdString();
    auto* pad = rig.Window().findChild<QPushButton*>("D04");
    ASSERT_NE(pad, nullptr);
    QTest::mouseClick(pad, Qt::LeftButton);
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, 2).trimmed() == "Ab min7" && current() == std::make_pair(0, 3); }))
        << Cell(0, 2).toStdString();
    auto* fillIn = rig.Window().findChild<QPushButton*>("L00");
    ASSERT_NE(fillIn, nullptr);
    QTest::mouseClick(fillIn, Qt::LeftButton);
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, 3) == "Fill In" && current() == std::make_pair(1, 0); }))
        << Cell(0, 3).toStdString();
    // A beat chosen by the user is where the next chord goes.
    grid->setCurrentCell(0, 0);
    QTest::keyClick(&rig.Window(), Qt::Key_V);
    ASSERT_TRUE(rig.WaitFor([&] { return Cell(0, 0).trimmed() == "D maj"; })) << Cell(0, 0).toStdString();
    EXPECT_EQ(Cell(0, 1).trimmed(), "C maj");
    EXPECT_TRUE(rig.NoteOns(SynthOutput).empty()) << "chords for the editor play nothing";
    EXPECT_FALSE(rig.Shown().Playing);

    // Without live input the chord is tapped for an external arranger (note-on, then off at
    // once); with acoustic control it also sounds an octave up.
    editor->findChild<QCheckBox*>("InputChordLive")->click();
    editor->findChild<QCheckBox*>("AcousticChordControl")->click();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    rig.ClearSent(SynthOutput);
    QTest::keyClick(&rig.Window(), Qt::Key_C);
    const auto notes = rig.NoteOns(SynthOutput);
    std::set<int> pitches;
    for (const auto& [note, velocity] : notes) pitches.insert(note);
    ASSERT_GE(pitches.size(), 6u) << "the tapped chord and the same an octave up";
    const int lowest = *pitches.begin();
    EXPECT_TRUE(pitches.contains(lowest + 12)) << lowest;
    EXPECT_EQ(Cell(1, 0).trimmed(), "") << "nothing was entered";
}

}  // namespace
}  // namespace chordella::testing
