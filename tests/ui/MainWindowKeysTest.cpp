// Typing on the real window: the keys travel through the window's key filter and the host
// to the chord entry on the control thread, and come out as chords and notes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSpinBox>
#include <QTest>
#include <string>
#include <vector>

#include "app/LiveArranger.h"
#include "chords/ComputerKeys.h"
#include "engine/Clock.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

void SendKey(QWidget& window, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(&window, &event);
}

// Holding a type key (2: "7th") then a chord key plays that type, and the keys are read with
// the chosen layout: on a French keyboard W lies where the German Y (A major) lies, and the
// digit 2 is on the key of "é".
TEST(MainWindowKeys, HoldingATypeKeyThenAChordKeyPlaysThatTypeWithTheChosenLayout) {
    WindowRig rig;
    QTest::keyPress(&rig.Window(), Qt::Key_2);
    QTest::keyClick(&rig.Window(), Qt::Key_C);
    QTest::keyRelease(&rig.Window(), Qt::Key_2);
    EXPECT_STREQ(rig.Shown().ChordName.c_str(), "C 7th");  // shown by the window as a pad's chord is (MainWindowPadsTest)

    rig.Host().Barrier([](desktop::DesktopCore& core) {
        core.State().options.ComputerKeyboardLayout = chords::FrenchLayout;
    });
    // The window reads keys with the layout of the snapshot it was last shown; wait until the
    // published one has the new layout, or a late older one would undo it.
    ASSERT_TRUE(rig.WaitFor([&] { return rig.Host().Snapshot().KeyboardLayout == chords::FrenchLayout; }));
    rig.Window().Refresh(rig.Host().Snapshot());
    QTest::keyClick(&rig.Window(), Qt::Key_W);
    EXPECT_STREQ(rig.Shown().ChordName.c_str(), "A maj");
    QTest::keyPress(&rig.Window(), Qt::Key_Eacute);
    QTest::keyClick(&rig.Window(), Qt::Key_C);
    QTest::keyRelease(&rig.Window(), Qt::Key_Eacute);
    EXPECT_STREQ(rig.Shown().ChordName.c_str(), "C 7th");
}

struct ModifiedChord {
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    const char* Chord;
};

// Shift makes the chord minor and Ctrl a seventh, with the clock standing and while the
// last chord still waits for its beat (where the Shift key's own stroke is not taken).
TEST(MainWindowKeys, ShiftMakesTheChordMinorAndCtrlASeventhAlsoWhileAChordWaitsForItsBeat) {
    const std::vector<ModifiedChord> cases{
        {Qt::Key_V, Qt::ShiftModifier, "D min"}, {Qt::Key_C, Qt::ControlModifier, "C 7th"}, {Qt::Key_B, Qt::NoModifier, "E maj"}};
    for (const bool waiting : {false, true}) {
        WindowRig rig;
        if (waiting) {
            // The clock runs (on the virtual clock, ticked by the test): chords wait for the grid.
            rig.Host().Barrier([](desktop::DesktopCore& core) { core.Arranger().Clock().StartVirtual(120); });
        }
        for (const ModifiedChord& chord : cases) {
            SCOPED_TRACE(std::string(chord.Chord) + (waiting ? ", a chord waiting" : ", clock standing"));
            if (waiting) QTest::keyClick(&rig.Window(), Qt::Key_N);  // F major waits for its beat
            // As typed: the modifier goes down first, the letter with it, then both up.
            const Qt::Key modifier = chord.Modifiers == Qt::ShiftModifier ? Qt::Key_Shift : Qt::Key_Control;
            if (chord.Modifiers != Qt::NoModifier) QTest::keyPress(&rig.Window(), modifier);
            QTest::keyClick(&rig.Window(), chord.Key, chord.Modifiers);
            if (chord.Modifiers != Qt::NoModifier) QTest::keyRelease(&rig.Window(), modifier, chord.Modifiers);
            if (waiting) rig.Host().Barrier([](desktop::DesktopCore& core) { core.Arranger().Clock().RunVirtualTicks(96); });
            EXPECT_STREQ(rig.Shown().ChordName.c_str(), chord.Chord);
        }
    }
}

TEST(MainWindowKeys, MelodyKeysPlayWithTheTranspositionAutoRepeatSendsNoSecondNoteOnAndOtherKeysPlayNothing) {
    WindowRig rig;
    rig.ClearSent(SynthOutput);
    QTest::keyClick(&rig.Window(), Qt::Key_T);
    auto notes = rig.NoteOns(SynthOutput);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].first, 60);

    // The transposition spinners of the window move the melody notes.
    auto* octave = rig.Window().findChild<QSpinBox*>("TransposeOctave");
    auto* semitones = rig.Window().findChild<QSpinBox*>("TransposeSemitones");
    ASSERT_NE(octave, nullptr);
    ASSERT_NE(semitones, nullptr);
    octave->setValue(1);
    semitones->setValue(-2);
    rig.ClearSent(SynthOutput);
    QTest::keyClick(&rig.Window(), Qt::Key_T);
    notes = rig.NoteOns(SynthOutput);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].first, 60 + 12 - 2);

    // Auto-repeat of a held melody key sends no second note-on; the real release ends the note.
    octave->setValue(0);
    semitones->setValue(0);
    rig.ClearSent(SynthOutput);
    SendKey(rig.Window(), QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, false);
    for (int i = 0; i < 3; ++i) {
        SendKey(rig.Window(), QEvent::KeyRelease, Qt::Key_T, Qt::NoModifier, true);
        SendKey(rig.Window(), QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, true);
    }
    EXPECT_EQ(rig.NoteOns(SynthOutput).size(), 1u);
    SendKey(rig.Window(), QEvent::KeyRelease, Qt::Key_T, Qt::NoModifier, false);
    int noteOffs = 0;
    for (const auto& m : rig.Sent(SynthOutput))
        if (((m.Packed & 0xF0) == 0x80 || ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) == 0)) &&
            ((m.Packed >> 8) & 0x7F) == 60)
            ++noteOffs;
    EXPECT_EQ(noteOffs, 1) << "the real release ends the note";

    // Keys that do something else play no note: the tempo field keeps the digits typed into
    // it, and F8 opens the tap tempo window without counting a tap (every tap clicks the metronome).
    rig.ClearSent(SynthOutput);
    auto* tempo = rig.Window().findChild<QSpinBox*>("TempoEdit1");
    ASSERT_NE(tempo, nullptr);
    tempo->setFocus();
    tempo->selectAll();
    QTest::keyClicks(tempo, "96");
    QTest::keyClick(tempo, Qt::Key_Return);
    EXPECT_EQ(rig.Shown().Tempo, 96);
    EXPECT_TRUE(rig.NoteOns(SynthOutput).empty()) << "digits typed into the field play nothing";

    QTest::keyClick(&rig.Window(), Qt::Key_F8);
    QWidget* tapWindow = ShownTopLevel("TapTempo");
    ASSERT_NE(tapWindow, nullptr);
    for (const auto& [note, velocity] : rig.NoteOns(SynthOutput))
        ADD_FAILURE() << "a tap was counted: note " << note << " velocity " << velocity;
    tapWindow->close();
    // The field still takes a typed tempo once the tap window is closed and the main window
    // is active again (as the window manager makes it, or a click into the field).
    rig.Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.Window()));
    tempo->setFocus();
    tempo->selectAll();
    QTest::keyClicks(tempo, "84");
    QTest::keyClick(tempo, Qt::Key_Return);
    EXPECT_EQ(rig.Shown().Tempo, 84);
}

}  // namespace
}  // namespace chordella::testing
