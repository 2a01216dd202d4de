#include "ui/TKeys.h"

#include <gtest/gtest.h>

#include <QTest>
#include <optional>

#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

class TKeysTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget
    TKeysTest() {
        keys.SetNoteWidth(30);
        keys.resize(30 * 14, 120);
        keys.OnNoteOn = [this](int note, int velocity) { link.ScreenNoteOn(note, velocity); };
        keys.OnNoteOff = [this](int note, int velocity) { link.ScreenNoteOff(note, velocity); };
        keys.show();
    }

    // The drawn rectangle of `note`, as the geometry lays it out.
    chords::KeyRect KeyOf(int note) const {
        for (const chords::KeyRect& key : keys.Geometry().Keys())
            if (key.Note == note) return key;
        ADD_FAILURE() << "note " << note << " is not drawn";
        return {};
    }
    // A point on the white key well below the black keys, half way to the tip.
    QPoint LowOnWhiteKey(int note) const {
        const chords::KeyRect key = KeyOf(note);
        return {key.X + key.W / 2, key.Y + key.H - 5};
    }
    // The velocity of the last note-on sent for `note`.
    std::optional<int> VelocityOf(int note) const {
        for (auto call = link.Calls.rbegin(); call != link.Calls.rend(); ++call) {
            int n = 0, v = 0;
            if (std::sscanf(call->c_str(), "NoteOn %d %d", &n, &v) == 2 && n == note) return v;
        }
        return std::nullopt;
    }

    testing::RecordingCoreLink link;
    TKeys keys;
};

TEST_F(TKeysTest, APressSoundsTheKeyUntilTheReleaseEvenOutsideTheKeyboardOrUntilTheKeyboardHides) {
    QTest::mousePress(&keys, Qt::LeftButton, {}, LowOnWhiteKey(48));
    EXPECT_TRUE(keys.IsSounding(48));
    QTest::mouseRelease(&keys, Qt::LeftButton, {}, QPoint(-40, -40));
    EXPECT_FALSE(keys.IsSounding(48));
    ASSERT_EQ(link.Calls.size(), 2u);
    EXPECT_EQ(link.Calls[1], "NoteOff 48 0");

    QTest::mousePress(&keys, Qt::LeftButton, {}, LowOnWhiteKey(50));
    keys.hide();
    EXPECT_EQ(link.CallsStartingWith("NoteOff"), (std::vector<std::string>{"NoteOff 48 0", "NoteOff 50 0"}));
    EXPECT_FALSE(keys.IsSounding(50));
}

TEST_F(TKeysTest, GlidingWithTheButtonHeldReleasesTheOldNoteBeforeTheNewOne) {
    QTest::mousePress(&keys, Qt::LeftButton, {}, LowOnWhiteKey(48));
    QTest::mouseMove(&keys, LowOnWhiteKey(48) + QPoint(2, 0));  // the same key: nothing new
    QTest::mouseMove(&keys, LowOnWhiteKey(50));
    QTest::mouseMove(&keys, LowOnWhiteKey(52));
    QTest::mouseRelease(&keys, Qt::LeftButton, {}, LowOnWhiteKey(52));
    const auto ons = link.CallsStartingWith("NoteOn");
    ASSERT_EQ(ons.size(), 3u);
    EXPECT_EQ(link.CallsStartingWith("NoteOff"),
              (std::vector<std::string>{"NoteOff 48 0", "NoteOff 50 0", "NoteOff 52 0"}));
    EXPECT_EQ(link.Calls[1], "NoteOff 48 0");
    EXPECT_EQ(link.Calls[2].rfind("NoteOn 50 ", 0), 0u);
    EXPECT_FALSE(keys.IsSounding(48) || keys.IsSounding(50) || keys.IsSounding(52));
}

// Which points hit no key is the geometry's (chords/ScreenKeyboardTest); a point on none sends nothing.
TEST_F(TKeysTest, ANoteAlreadySoundingIsNotPressedAgainAndAKeyAbove127SendsNothing) {
    keys.SetSounding(48, true);
    QTest::mouseClick(&keys, Qt::LeftButton, {}, LowOnWhiteKey(48));
    EXPECT_TRUE(keys.IsSounding(48));
    keys.SetBaseOctave(10);  // C 120 … G 127, then A 129
    QTest::mouseClick(&keys, Qt::LeftButton, {}, QPoint(5 * 30 + 15, keys.Geometry().KeyLength() - 5));
    EXPECT_TRUE(link.Calls.empty());
}

TEST_F(TKeysTest, TheSplitIsPickedOnTheKeysWithoutSoundingThem) {
    std::vector<int> picked;
    keys.OnSplitPicked = [&](int note) { picked.push_back(note); };
    // A right click on a key picks it.
    QTest::mouseClick(&keys, Qt::RightButton, {}, LowOnWhiteKey(43));
    // Armed, the next left click picks; the one after sounds again.
    keys.ArmSplitPicking(true);
    QTest::mouseClick(&keys, Qt::LeftButton, {}, LowOnWhiteKey(47));
    EXPECT_FALSE(keys.SplitPickingArmed());
    EXPECT_EQ(picked, (std::vector<int>{43, 47}));
    EXPECT_TRUE(link.Calls.empty()) << "picking sounds nothing";
    QTest::mouseClick(&keys, Qt::LeftButton, {}, LowOnWhiteKey(47));
    EXPECT_TRUE(VelocityOf(47).has_value()) << "disarmed, a click sounds again";
    EXPECT_EQ(picked.size(), 2u);
}

}  // namespace
}  // namespace chordella::ui
