#pragma once
// Writing and reading small text files in a test, making the folders on the way.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace chordella::testing {

inline void WriteTextFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The whole file, or "" when it cannot be read.
inline std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace chordella::testing
