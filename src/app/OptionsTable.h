#pragma once
// The keys of section Options of the settings file, in the order in which they are
// written, each bound to its field of `Options`. Loading and saving walk this one table,
// so the order, the spelling of each key and the written-only keys live in one place.

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/Options.h"

namespace chordella::app {

// The key "Root" has no field: it is written from the data home.
struct ProgramFolderKey {};

struct OptionKey {
    std::string_view Key;
    // "Options", or "options" for the five keys written in lower case: the same section,
    // since section names are case-insensitive.
    std::string_view Section;
    std::variant<bool core::Options::*, int core::Options::*, std::string core::Options::*, ProgramFolderKey> Field;
    bool WrittenOnly = false;  // saved at exit, never read back
};

std::span<const OptionKey> OptionKeys();

}  // namespace chordella::app
