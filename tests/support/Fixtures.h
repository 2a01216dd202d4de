#pragma once
// The kept test files under tests/fixtures (CHORDELLA_TEST_DATA, set by every test target).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Files.h"

namespace chordella::testing {

// The path of `name` (for instance "songs/empty.vxa") in the fixtures folder.
inline std::string FixturePath(const std::string& name) {
    const char* root = std::getenv("CHORDELLA_TEST_DATA");
    return std::string(root ? root : "") + "/" + name;
}

inline std::vector<std::uint8_t> FixtureBytes(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(std::getenv("CHORDELLA_TEST_DATA") && platform::ReadFileBytes(FixturePath(name), 1 << 20, bytes, error))
        << name << ": " << error;
    return bytes;
}

}  // namespace chordella::testing
