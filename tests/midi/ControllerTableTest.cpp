#include "midi/ControllerTable.h"

#include <gtest/gtest.h>

namespace chordella::midi {
namespace {

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

}  // namespace
}  // namespace chordella::midi
