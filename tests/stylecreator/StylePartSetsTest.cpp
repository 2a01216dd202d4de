// The file names of sets of style parts, their fallbacks and the 580-byte rule.
#include <gtest/gtest.h>

#include <map>

#include "stylecreator/StylePartSets.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;

struct Files {
    std::map<std::string, std::uintmax_t> sizes;
    FileSize Lookup() const {
        return [this](const std::string& path) -> std::optional<std::uintmax_t> {
            const auto it = sizes.find(path);
            return it == sizes.end() ? std::nullopt : std::optional(it->second);
        };
    }
};

std::vector<std::pair<int, std::string>> Plan(const SetImportPlan& plan) {
    std::vector<std::pair<int, std::string>> out;
    for (const PartFile& f : plan.Files) out.emplace_back(f.Part, f.Path);
    return out;
}

TEST(StylePartSets, MissingAndShortFilesFallBackOrAreSkipped) {
    Files files;
    for (const char* name : {"i21", "v21", "f11", "f12", "v31", "e21"}) files.sizes[std::string("/s/sty2_") + name + ".mid"] = 2000;
    files.sizes["/s/sty2_f21.mid"] = 100;    // too short, and "f21" is already the first variant
    const std::string first = FirstSetFile("/s/", {2, 21});
    EXPECT_EQ(first, "/s/sty2_v21.mid");
    const SetImportPlan plan = PlanSetImport(first, files.Lookup());
    EXPECT_TRUE(plan.Error.empty());
    EXPECT_EQ(Plan(plan), (std::vector<std::pair<int, std::string>>{
                              {0, "/s/sty2_i21.mid"},
                              {1, "/s/sty2_v21.mid"},
                              {4, "/s/sty2_f12.mid"},
                              {6, "/s/sty2_f11.mid"},
                              {2, "/s/sty2_v31.mid"},   // "v41" missing → "v31"
                              // Fill in Extended: "f22" missing → "f21", too short; To Basic: "f21" too short.
                              {3, "/s/sty2_e21.mid"},
                          }));
}

TEST(StylePartSets, AFirstFileWithoutAKnownSuffixCannotBeProcessedAMissingOneIsSilentAndExportsAreNamedBySet) {
    Files files;
    files.sizes["/s/sty1_v11.mid"] = 600;
    EXPECT_EQ(PlanSetImport("/s/sty1_v11.mid", files.Lookup()).Files.size(), 1U);
    files.sizes["/s/groove.mid"] = 600;
    EXPECT_EQ(PlanSetImport("/s/groove.mid", files.Lookup()).Error, "This file cannot be processed !");
    const SetImportPlan missing = PlanSetImport("/s/sty3_v11.mid", files.Lookup());
    EXPECT_TRUE(missing.Error.empty());
    EXPECT_TRUE(missing.Files.empty());

    EXPECT_EQ(ExportSetFile("/o/", 3, 2, false), "/o/sty3_v21.mid");
    EXPECT_EQ(ExportSetFile("/o/", 1, 4, true), "/o/sty1_v31.mid");
    EXPECT_EQ(ExportSetFile("/o/", 1, 5, false), "/o/sty1_f22.mid");
    EXPECT_EQ(SinglePartFile("/o/", 7, false), "/o/sty1_f21.mid");
}

}  // namespace
}  // namespace chordella::testing
