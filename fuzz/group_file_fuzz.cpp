// A style groups file is read from whatever it holds. Reading never fails; every entry
// splits into parts, and a group written and read again gives the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "library/GroupFile.h"
#include "library/StyleEntry.h"
#include "library/StyleGroups.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::library;
    GroupFile file("unused.vxg");
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int number = 1; number <= StyleGroupCount(); ++number) {
        const std::vector<std::string> entries = file.Entries(number);
        if (entries.size() > static_cast<std::size_t>(GroupFile::MaxEntries)) std::abort();
        for (const std::string& entry : entries) {
            const StyleEntryParts parts = SplitStyleEntry(entry);
            if (parts.Info.size() + parts.Description.size() + parts.Path.size() > entry.size()) std::abort();
            if (!parts.Path.empty() && !EntryNamesPath(entry, parts.Path)) std::abort();
        }
        // Entries are stored as the file gives them back.
        GroupFile copy("unused.vxg");
        copy.SetEntries(number, entries);
        const std::vector<std::string> back = copy.Entries(number);
        if (back.size() != entries.size()) std::abort();
    }
    return 0;
}
