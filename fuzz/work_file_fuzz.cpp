// The work-file reader takes whatever a .vxw file holds; what it accepts must write back
// to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <span>

#include "data/CreatorWork.h"
#include "data/WorkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::data;
    WorkFile work;
    std::string error;
    if (!ParseWorkFile(std::span(data, size), work, error)) return 0;
    const auto written = SerializeWorkFile(work);
    WorkFile again;
    if (!ParseWorkFile(written, again, error) || SerializeWorkFile(again) != written) __builtin_trap();
    static CreatorWork creator;
    if (PutWorkMaterial(work, creator)) MaterialTicks(creator);
    return 0;
}
