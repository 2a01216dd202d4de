#include <gtest/gtest.h>

#include <Qt>

#include "ui/VirtualKeys.h"

namespace chordella::ui {
namespace {

TEST(VirtualKeys, LettersAndDigitsAreTheirAsciiCapitals) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_A), 'A');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Z), 'Z');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_0), '0');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_9), '9');
}

TEST(VirtualKeys, ShiftedKeysGiveTheCodeOfTheirUnshiftedKey) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Exclam), '1');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_ParenRight), '0');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Colon), VirtualKeyOf(Qt::Key_Semicolon));
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Plus), VirtualKeyOf(Qt::Key_Equal));
    EXPECT_EQ(VirtualKeyOf(Qt::Key_QuoteDbl), VirtualKeyOf(Qt::Key_Apostrophe));
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Bar), VirtualKeyOf(Qt::Key_Backslash));
}

TEST(VirtualKeys, PunctuationAndControlKeysUseTheWindowsCodes) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Semicolon), 0xBA);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Comma), 0xBC);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus), 0xBD);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Period), 0xBE);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Slash), 0xBF);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_QuoteLeft), 0xC0);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_BracketLeft), 0xDB);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_BracketRight), 0xDD);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Shift), 0x10);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Control), 0x11);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Backspace), 0x08);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F1), 0x70);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown), NoVirtualKey);
}

}  // namespace
}  // namespace chordella::ui
