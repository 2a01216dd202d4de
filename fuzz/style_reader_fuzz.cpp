// The style reader takes whatever is in a .vxs file, its channel rules block included. A file it
// accepts must write back, rules and all, to a file that reads the same and writes the same
// bytes; rules it accepts are in range; everything that later walks the loaded stream must stay
// inside the buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "data/NativeRulesBlock.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "data/StyleState.h"

namespace {

chordella::data::StyleState& Style() {
    static chordella::data::StyleState style;  // the buffers are made once, as in the program
    static const bool ready = style.Stream.Allocate();
    if (!ready) std::abort();
    return style;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::data;
    StyleImage image;
    std::string error;
    if (!ReadStyleFile(std::span<const std::uint8_t>(data, size), image, error)) {
        if (error.empty()) std::abort();
        return 0;
    }

    if (image.Native.Present && !image.NativeProblem.empty()) std::abort();
    for (const auto& part : image.Native.Parts)
        for (const auto& channel : part)
            if (channel.Active && !CheckChannelRules(channel).empty()) std::abort();

    std::vector<std::uint8_t> written;
    if (!StyleFileBytes(image.Header, image.Parts, image.Stream, image.Native, written, error)) std::abort();
    StyleImage again;
    if (!ReadStyleFile(written, again, error)) std::abort();
    if (again.Native.Present != image.Native.Present || !again.NativeProblem.empty()) std::abort();
    if (RulesBlockBytes(again.Native) != RulesBlockBytes(image.Native)) std::abort();
    std::vector<std::uint8_t> writtenAgain;
    if (!StyleFileBytes(again.Header, again.Parts, again.Stream, again.Native, writtenAgain, error)) std::abort();
    if (writtenAgain != written) std::abort();

    StyleState& style = Style();
    style.Header = image.Header;
    style.Parts = image.Parts;
    auto buffer = style.Stream.First();
    std::fill(std::copy(image.Stream.begin(), image.Stream.end(), buffer.begin()), buffer.end(), std::uint8_t{0});
    style.StyleLength = static_cast<std::int32_t>(image.Stream.size());
    AnalyseChannels(style, 0, PartCount - 1, true);
    for (int measure = 1; measure <= 3; ++measure) {
        for (int beat = 1; beat <= 4; ++beat) {
            const auto offset = PositionToOffset(image.Stream, image.Header.StyleMeter, measure, beat);
            if (offset >= static_cast<std::int32_t>(image.Stream.size())) std::abort();
        }
    }
    return 0;
}
