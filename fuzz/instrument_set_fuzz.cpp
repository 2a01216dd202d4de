// The instrument-set reader takes whatever is in a .vxi file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/InstrumentSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto set = chordella::data::ParseInstrumentSet(text, "fuzz.vxi");
    if (!set) return 0;
    for (int program = -1; program <= static_cast<int>(set->ProgramCount()) + 1; ++program) {
        const auto mapped = set->MappedProgram(program);
        if (mapped && *mapped > 127) __builtin_trap();
    }
    return 0;
}
