#include "midi/ControllerTable.h"

#include <gtest/gtest.h>

namespace chordella::midi {
namespace {

// Untracked controllers and other messages always pass; "keep known" stores only into
// unknown entries.
TEST(ControllerTable, UntrackedControllersAndOtherMessagesAlwaysPassAndKeepKnownStoresOnlyIntoUnknownEntries) {
    ControllerTable table;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ControllerChanged(table, 0xB0, 0, 1, 64, false));  // modulation
    EXPECT_EQ(table.Value(0, 1), ControllerTable::Unknown);
    EXPECT_TRUE(ControllerChanged(table, 0x90, 0, 60, 100, false));
    EXPECT_TRUE(ControllerChanged(table, 0xB0, 16, 7, 100, false));  // no such channel: nothing stored
    EXPECT_TRUE(ControllerChanged(table, 0xB0, 2, 10, 40, true));
    EXPECT_EQ(table.Value(2, 10), 40);
    EXPECT_TRUE(ControllerChanged(table, 0xB0, 2, 10, 80, true));
    EXPECT_EQ(table.Value(2, 10), 40);
}

TEST(ControllerTable, RowsCopyClearAndShowAsText) {
    ControllerTable table, snapshot;
    table.SetValue(0, 7, 100);
    table.CopyChannel(5, 0);
    EXPECT_EQ(table.ValueText(5, 7), "100");
    snapshot.CopyFrom(table);
    table.ClearChannel(5);
    EXPECT_EQ(table.ValueText(5, 7), "");
    EXPECT_EQ(snapshot.Value(5, 7), 100);
    EXPECT_EQ(table.Value(99, 7), ControllerTable::Unknown);
    table.SetValue(0, 98, 1);  // outside the row: ignored
}

}  // namespace
}  // namespace chordella::midi
