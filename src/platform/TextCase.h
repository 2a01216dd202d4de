#pragma once
// ASCII letter case for file names and list words: lists from other machines spell paths,
// extensions and tags in any case. Bytes outside A–Z (UTF-8 or not) are left as they are.

#include <cstddef>
#include <string_view>

namespace chordella::library {

inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

}  // namespace chordella::library
