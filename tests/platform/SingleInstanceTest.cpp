#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace chordella::platform {
namespace {

TEST(SingleInstance, TheSecondInstanceIsRefusedUntilTheFirstEndsAndTheArgumentIsHandedOverOnce) {
    testing::TempFolder folder;
    const std::string lock = folder.File("chordella.lock");
    {
        SingleInstance first(lock);
        ASSERT_TRUE(first.Acquire());
        SingleInstance second(lock);
        EXPECT_FALSE(second.Acquire());
        EXPECT_FALSE(second.Held());
    }
    SingleInstance later(lock);
    EXPECT_TRUE(later.Acquire());

    // The argument is handed over once, through the file.
    const std::string file = folder.File(std::string(SingleInstance::HandOverFileName));
    EXPECT_FALSE(SingleInstance::TakeHandOver(file));
    ASSERT_TRUE(SingleInstance::HandOver(file, "/home/me/STYLES/Pop.vxs"));
    EXPECT_EQ(SingleInstance::TakeHandOver(file), "/home/me/STYLES/Pop.vxs");
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(SingleInstance::TakeHandOver(file));
}

}  // namespace
}  // namespace chordella::platform
