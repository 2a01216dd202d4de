// The playlist reads the tempo, metrum and instruments of any file a user adds. Bytes that
// begin like a MIDI file are read as a MIDI-based keyboard style, others as the program's
// own style; the reader never crashes, and says why when it cannot read a file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "library/StyleFacts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::library;
    const std::span<const std::uint8_t> bytes(data, size);
    const bool midi = size >= 4 && std::memcmp(data, "MThd", 4) == 0;
    const StyleFacts facts = ReadStyleFacts(bytes, midi ? "fuzz.sty" : "fuzz.vxs");
    if (facts.Readable && facts.Metrum.empty()) std::abort();
    if (!facts.Readable && facts.Problem.empty()) std::abort();
    return 0;
}
