#include <gtest/gtest.h>

#include <Qt>

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "chords/ComputerKeys.h"
#include "ui/KeyboardMap.h"
#include "ui/VirtualKeys.h"

namespace chordella::ui {
namespace {

// Shifted keys give the code of their unshifted key, control keys the Windows codes. The
// unshifted letters, digits and punctuation are checked through the help's keyboard map below.
TEST(VirtualKeys, EachQtKeyGivesTheWindowsCodeOfItsKey) {
    const std::pair<int, int> cases[] = {
        {Qt::Key_Exclam, '1'}, {Qt::Key_ParenRight, '0'}, {Qt::Key_Colon, 0xBA},     {Qt::Key_Plus, 0xBB},
        {Qt::Key_QuoteDbl, 0xDE}, {Qt::Key_Bar, 0xDC},    {Qt::Key_Shift, 0x10},     {Qt::Key_Control, 0x11},
        {Qt::Key_Backspace, 0x08}, {Qt::Key_F1, 0x70},    {Qt::Key_unknown, NoVirtualKey},
    };
    for (const auto& [key, code] : cases) EXPECT_EQ(VirtualKeyOf(key), code) << "Qt key 0x" << std::hex << key;
}

// What a key typed on `layout` plays: its value and zone in the chord entry's tables.
std::vector<int> Played(const std::vector<int>& qtKeys, int layout) {
    std::vector<int> played;
    for (const int key : qtKeys) {
        const int code = chords::KeyLayoutMap(VirtualKeyOf(key, layout), layout);
        played.push_back(chords::KeyValue(code) * 16 + static_cast<int>(chords::KeyZone(code)));
    }
    return played;
}

// The same keys, by place, on the four layouts: each row as its characters are printed on
// it. Whatever is printed on a key, it plays what that key plays on the German keyboard.
TEST(VirtualKeys, EachLayoutPlaysTheSameNoteFromTheKeyInTheSamePlace) {
    using chords::FrenchLayout, chords::GermanLayout, chords::SwappedLayout, chords::UkLayout;
    struct Row {
        const char* Name;
        std::vector<int> German, Us, French, Uk;
    };
    const std::vector<Row> rows{
        {"digits",
         {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0,
          Qt::Key_ssharp, Qt::Key_Dead_Acute},
         {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0,
          Qt::Key_Minus, Qt::Key_Equal},
         {Qt::Key_Ampersand, Qt::Key_Eacute, Qt::Key_QuoteDbl, Qt::Key_Apostrophe, Qt::Key_ParenLeft, Qt::Key_Minus,
          Qt::Key_Egrave, Qt::Key_Underscore, Qt::Key_Ccedilla, Qt::Key_Agrave, Qt::Key_ParenRight, Qt::Key_Equal},
         {Qt::Key_Exclam, Qt::Key_QuoteDbl, Qt::Key_sterling, Qt::Key_Dollar, Qt::Key_Percent, Qt::Key_AsciiCircum,
          Qt::Key_Ampersand, Qt::Key_Asterisk, Qt::Key_ParenLeft, Qt::Key_ParenRight, Qt::Key_Underscore, Qt::Key_Plus}},
        {"upper letters",
         {Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_T, Qt::Key_Z, Qt::Key_P, Qt::Key_Udiaeresis, Qt::Key_Plus},
         {Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_T, Qt::Key_Y, Qt::Key_P, Qt::Key_BracketLeft, Qt::Key_BracketRight},
         {Qt::Key_A, Qt::Key_Z, Qt::Key_E, Qt::Key_T, Qt::Key_Y, Qt::Key_P, Qt::Key_Dead_Circumflex, Qt::Key_Dollar},
         {Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_T, Qt::Key_Y, Qt::Key_P, Qt::Key_BraceLeft, Qt::Key_BracketRight}},
        {"middle letters",
         {Qt::Key_A, Qt::Key_S, Qt::Key_L, Qt::Key_Odiaeresis, Qt::Key_Adiaeresis, Qt::Key_NumberSign},
         {Qt::Key_A, Qt::Key_S, Qt::Key_L, Qt::Key_Semicolon, Qt::Key_Apostrophe, Qt::Key_Backslash},
         {Qt::Key_Q, Qt::Key_S, Qt::Key_L, Qt::Key_M, Qt::Key_Ugrave, Qt::Key_Asterisk},
         {Qt::Key_A, Qt::Key_S, Qt::Key_L, Qt::Key_Colon, Qt::Key_At, Qt::Key_NumberSign}},
        {"lower letters",
         {Qt::Key_Y, Qt::Key_X, Qt::Key_C, Qt::Key_N, Qt::Key_M, Qt::Key_Comma, Qt::Key_Period, Qt::Key_Minus},
         {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_N, Qt::Key_M, Qt::Key_Comma, Qt::Key_Period, Qt::Key_Slash},
         {Qt::Key_W, Qt::Key_X, Qt::Key_C, Qt::Key_N, Qt::Key_Comma, Qt::Key_Semicolon, Qt::Key_Colon, Qt::Key_Exclam},
         {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_N, Qt::Key_M, Qt::Key_Less, Qt::Key_Period, Qt::Key_Question}},
    };
    for (const Row& row : rows) {
        const std::vector<int> german = Played(row.German, GermanLayout);
        EXPECT_EQ(Played(row.Us, SwappedLayout), german) << row.Name << " (USA)";
        EXPECT_EQ(Played(row.French, FrenchLayout), german) << row.Name << " (French)";
        EXPECT_EQ(Played(row.Uk, UkLayout), german) << row.Name << " (UK)";
    }
    // The German keyboard's own keys: the umlauts and the key left of Y play.
    EXPECT_EQ(chords::KeyValue(chords::KeyLayoutMap(VirtualKeyOf(Qt::Key_Adiaeresis, GermanLayout), GermanLayout)), 61);
    EXPECT_EQ(chords::KeyValue(VirtualKeyOf(Qt::Key_Less, GermanLayout)), 43);
    EXPECT_EQ(chords::KeyValue(chords::KeyLayoutMap(VirtualKeyOf(Qt::Key_Backslash, UkLayout), UkLayout)), 43);
}

// The help's keyboard map prints each layout's keys where they lie: typed, each printed
// key reaches the place the map puts it, so the map tells what the key plays.
TEST(VirtualKeys, TheHelpsKeyboardMapNamesEveryKeyByWhatItPlays) {
    for (int layout = 0; layout < static_cast<int>(chords::LayoutNames.size()); ++layout) {
        SCOPED_TRACE(std::string(chords::LayoutNames[static_cast<std::size_t>(layout)]));
        int keys = 0;
        for (const std::vector<MapKey>& row : RowsOf(layout)) {
            for (const MapKey& key : row) {
                if (key.Printed == ' ') continue;
                const int qtKey = key.Printed.toUpper().unicode();  // Qt's key codes are the capitals' code points
                EXPECT_EQ(chords::KeyLayoutMap(VirtualKeyOf(qtKey, layout), layout), key.Code)
                    << "\"" << QString(key.Printed).toStdString() << "\"";
                ++keys;
            }
        }
        EXPECT_GE(keys, 46) << "the four rows";
    }
    std::array<QString, 11> types{"maj", "min", "7th", "min7", "dim", "sus4", "add9", "5b", "M7", "aug", "6th"};
    EXPECT_EQ(KeyRole('V', types), "chord D");
    EXPECT_EQ(KeyRole('T', types), "melody C4");  // middle C
    EXPECT_EQ(KeyRole('2', types), "type: 7th");
    EXPECT_EQ(KeyRole(0x10, types), "type: min");
    EXPECT_EQ(KeyRole(0xDB, types), "");
}

}  // namespace
}  // namespace chordella::ui
