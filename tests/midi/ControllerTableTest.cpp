#include "midi/ControllerTable.h"

#include <gtest/gtest.h>

namespace chordella::midi {
namespace {

TEST(ControllerTable, UntrackedControllersAlwaysPassKeepKnownStoresOnlyIntoUnknownEntriesAndRowsCopyAndClear) {
    ControllerTable table;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ControllerChanged(table, 0xB0, 0, 1, 64, false));  // modulation
    EXPECT_EQ(table.Value(0, 1), ControllerTable::Unknown);
    EXPECT_TRUE(ControllerChanged(table, 0x90, 0, 60, 100, false));
    EXPECT_TRUE(ControllerChanged(table, 0xB0, 16, 7, 100, false));  // no such channel: nothing stored
    EXPECT_TRUE(ControllerChanged(table, 0xB0, 2, 10, 40, true));
    EXPECT_EQ(table.Value(2, 10), 40);
    EXPECT_TRUE(ControllerChanged(table, 0xB0, 2, 10, 80, true));
    EXPECT_EQ(table.Value(2, 10), 40);

    // Rows copy, clear and show as text; a snapshot keeps its values; outside the table nothing is stored.
    ControllerTable snapshot;
    table.CopyChannel(5, 2);
    EXPECT_EQ(table.ValueText(5, 10), "40");
    snapshot.CopyFrom(table);
    table.ClearChannel(5);
    EXPECT_EQ(table.ValueText(5, 10), "");
    EXPECT_EQ(snapshot.Value(5, 10), 40);
    table.SetValue(0, 98, 1);
    EXPECT_EQ(table.Value(99, 7), ControllerTable::Unknown);
}

}  // namespace
}  // namespace chordella::midi
