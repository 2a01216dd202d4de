// A search expression is whatever the user types. Parsing never fails without a message,
// a valid query never has more than 15 terms, and matching it against lines (and against
// its own text) never crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "library/StyleQuery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::library;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const StyleQuery query = ParseStyleQuery(text);
    if (query.Valid() == query.Error.size() > 0) std::abort();
    if (query.Valid() && (query.Terms.empty() || query.Terms.size() > MaxQueryTerms)) std::abort();
    const FileSizeOf sizeOf = [](std::string_view path) -> std::optional<std::uintmax_t> { return path.size() * 1000; };
    (void)query.Matches("C:\\STYLES\\Pop 8 Beat.vxs|bpm120|4/4|pop ballad||BASS|PIANOS", sizeOf);
    (void)query.Matches("/s/w.sty|bpm???|3/4", sizeOf);
    (void)query.Matches(text, sizeOf);
    return 0;
}
