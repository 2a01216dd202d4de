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
int Played(int qtKey, int layout) {
    const int code = chords::KeyLayoutMap(VirtualKeyOf(qtKey, layout), layout);
    return chords::KeyValue(code) * 16 + static_cast<int>(chords::KeyZone(code));
}

// Every key printed on each layout is checked through the help's map below. What the map does
// not print: the characters the UK keyboard's keys give with Shift, and the dead keys. Each
// plays what the key in its place plays on the German keyboard.
TEST(VirtualKeys, ShiftedAndDeadKeysPlayWhatTheKeyInTheirPlacePlays) {
    using chords::FrenchLayout, chords::GermanLayout, chords::SwappedLayout, chords::UkLayout;
    const std::vector<std::pair<int, int>> ukOverGerman{
        {Qt::Key_Exclam, Qt::Key_1},          {Qt::Key_QuoteDbl, Qt::Key_2},      {Qt::Key_sterling, Qt::Key_3},
        {Qt::Key_Dollar, Qt::Key_4},          {Qt::Key_Percent, Qt::Key_5},       {Qt::Key_AsciiCircum, Qt::Key_6},
        {Qt::Key_Ampersand, Qt::Key_7},       {Qt::Key_Asterisk, Qt::Key_8},      {Qt::Key_ParenLeft, Qt::Key_9},
        {Qt::Key_ParenRight, Qt::Key_0},      {Qt::Key_Underscore, Qt::Key_ssharp}, {Qt::Key_Plus, Qt::Key_Dead_Acute},
        {Qt::Key_BraceLeft, Qt::Key_Udiaeresis}, {Qt::Key_Colon, Qt::Key_Odiaeresis}, {Qt::Key_At, Qt::Key_Adiaeresis},
        {Qt::Key_Less, Qt::Key_Comma},        {Qt::Key_Question, Qt::Key_Minus}};
    for (const auto& [uk, german] : ukOverGerman)
        EXPECT_EQ(Played(uk, UkLayout), Played(german, GermanLayout)) << "UK key 0x" << std::hex << uk;
    EXPECT_EQ(Played(Qt::Key_Dead_Acute, GermanLayout), Played(Qt::Key_Equal, SwappedLayout));
    EXPECT_EQ(Played(Qt::Key_Dead_Circumflex, FrenchLayout), Played(Qt::Key_Udiaeresis, GermanLayout));
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
