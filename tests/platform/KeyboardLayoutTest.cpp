#include "platform/KeyboardLayout.h"

#include <gtest/gtest.h>

namespace chordella::platform {
namespace {

TEST(KeyboardLayout, TheVariableThenTheSystemFileThenTheLocaleSaysWhichLayoutIsUsed) {
    const char* file = "# KEYBOARD CONFIGURATION FILE\nXKBMODEL=\"pc105\"\n  XKBLAYOUT=\"de,us\"\nXKBVARIANT=\",\"\n";
    EXPECT_EQ(KeyboardLayoutFrom("fr", file, "en_GB.UTF-8"), "fr");
    EXPECT_EQ(KeyboardLayoutFrom("", file, "en_GB.UTF-8"), "de") << "the first of the layouts listed";
    EXPECT_EQ(KeyboardLayoutFrom("", "", "de_AT.UTF-8@euro"), "at") << "the territory";
    EXPECT_EQ(KeyboardLayoutFrom("", "", "fr"), "fr") << "a language without territory";
    EXPECT_EQ(KeyboardLayoutFrom("", "XKBMODEL=pc105\n", "C.UTF-8"), "") << "nothing says";
    EXPECT_EQ(KeyboardLayoutFrom("", "XKBLAYOUT=\n", "POSIX"), "");
    EXPECT_EQ(KeyboardLayoutFrom("US(intl)", "", ""), "us") << "a variant in brackets is not part of the name";
}

}  // namespace
}  // namespace chordella::platform
