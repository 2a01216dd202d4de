// The voice map reader takes any text. Every entry it keeps is four values 0 … 127 (the LSB
// may be "any"), every line it leaves out is said, and every voice maps to a program 0 … 127
// or to none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/VoiceMap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::data;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const VoiceMap map = VoiceMap::Parse(text, &problems);
    for (const std::string& problem : problems)
        if (problem.rfind("line ", 0) != 0) std::abort();
    for (int msb : {0, 8, 104, 127}) {
        for (int program = 0; program < 128; program += 7) {
            const int gm = map.NearestGm({msb, 0, program});
            if (gm < -1 || gm > 127 || (msb == 127 && gm != -1)) std::abort();
        }
    }
    return 0;
}
