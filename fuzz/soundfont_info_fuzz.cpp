// The SoundFont reader of the options window's list with any bytes: a file that is not a
// SoundFont is refused with a reason, and nothing is read outside the bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "midi/SoundFonts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    chordella::midi::SoundFontInfo info;
    std::string error;
    const bool read = chordella::midi::ReadSoundFontInfo(std::span(data, size), info, error);
    if (!read && error.empty()) std::abort();  // a refusal always says why
    if (info.MelodicPrograms < 0 || info.MelodicPrograms > 128) std::abort();
    return 0;
}
