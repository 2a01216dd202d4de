#include "platform/Random.h"

#include <gtest/gtest.h>

#include <set>

namespace chordella::platform {
namespace {

TEST(Random, TheSameSeedRepeatsTheSameChoicesWhichStayInRangeAndReachBothEnds) {
    Random a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const int x = a.Below(1000);
        EXPECT_EQ(x, b.Below(1000));
        differs = differs || x != c.Below(1000);
    }
    EXPECT_TRUE(differs);
    a.Seed(7);
    b.Seed(7);
    EXPECT_EQ(a.Next(), b.Next());

    // Choices stay in range and reach both ends.
    Random random(1);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int x = random.Between(5, -3);
        ASSERT_GE(x, -3);
        ASSERT_LE(x, 5);
        seen.insert(x);
    }
    EXPECT_EQ(seen.size(), 9u);
    EXPECT_EQ(random.Below(0), 0);
    EXPECT_EQ(random.Below(-4), 0);
    EXPECT_EQ(random.Below(1), 0);
}

}  // namespace
}  // namespace chordella::platform
