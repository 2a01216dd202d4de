// A converted part is its source section, no more and no less: it starts where the section's
// marker stands (on a bar line or not) and is as long as the section (a fill or transition:
// at most one bar), in every meter. The sections are read from the files by an independent
// parser (mido); the parts are measured in the converted material.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/StateParts.h"
#include "core/Session.h"
#include "data/StyleStream.h"
#include "stylecreator/StyleConversion.h"
#include "support/KeyboardStyleWriter.h"
#include "support/MidoReader.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

struct Section {
    std::int64_t Start = 0;    // ticks of 24 to the quarter note from the file's start
    std::int64_t Length = 0;
};

struct SourceFile {
    std::map<std::string, Section> Sections;
    std::int64_t Bar = 0;      // ticks of one bar
};

bool ReadSections(const std::string& path, SourceFile& source, std::string& error) {
    MidoFile file;
    if (!ReadWithMido(path, file)) {
        error = file.Error;
        return false;
    }
    const auto scaled = [&](std::int64_t tick) { return tick * 24 / file.Division; };
    std::int64_t end = 0;
    for (const MidoEvent& e : file.Events) end = std::max(end, e.Tick);
    const auto markers = file.OfType("marker");
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const std::int64_t next = i + 1 < markers.size() ? markers[i + 1].Tick : end;
        source.Sections[markers[i].Fields.at("text")] = {scaled(markers[i].Tick), scaled(next) - scaled(markers[i].Tick)};
    }
    const auto meters = file.OfType("time_signature");
    const int numerator = meters.empty() ? 4 : meters.front().Int("numerator");
    const int denominator = meters.empty() ? 4 : meters.front().Int("denominator");
    source.Bar = numerator * 24 * 4 / denominator;
    return true;
}

// Ticks of the waits in [begin, end) of the material.
std::int64_t TicksIn(std::span<const std::uint8_t> material, std::int32_t begin, std::int32_t end) {
    std::int64_t ticks = 0;
    for (std::int32_t at = 0; at < end && at < static_cast<std::int32_t>(material.size());) {
        const std::uint8_t b = material[static_cast<std::size_t>(at)];
        if (at >= begin && data::stream::IsWait(b)) ticks += data::stream::WaitTicks(b);
        at += data::stream::IsChannelMessage(b) ? data::stream::MessageLength : 1;
    }
    return ticks;
}

// Converts the variations sets 1, 2 and 5, which between them take every main section, intro,
// ending and fill of a style, and compares each part with its section; answers the parts checked.
int ExpectPartsAreTheirSections(const std::string& path) {
    SourceFile source;
    std::string error;
    EXPECT_TRUE(ReadSections(path, source, error)) << error;
    TestSession t;
    stylecreator::CreatorState state;
    stylecreator::StyleCreator creator(*t.session, state, app::CreatorLiveStateOf(t.state));
    stylecreator::StyleConversion conversion(*t.session, creator);
    EXPECT_TRUE(conversion.Import(path, error)) << error;
    platform::Random random(5);
    int checked = 0;
    for (int set : {0, 1, 4}) {
        const stylecreator::SetReport report = conversion.ConvertSet(set, random);
        const auto material = data::FirstChunkMaterial(t.session->Style().Work);
        for (const stylecreator::ConvertedPart& part : report.Parts) {
            SCOPED_TRACE("set " + std::to_string(set + 1) + ", part " + std::to_string(part.Part) + " from \"" +
                         part.Section + "\"");
            const auto found = source.Sections.find(part.Section);
            if (found == source.Sections.end()) {
                ADD_FAILURE() << "no such section in the file";
                continue;
            }
            const data::PartRecord& record = t.session->Style().style.Parts[static_cast<std::size_t>(part.Part)];
            const bool fill = part.Part >= 4;
            const std::int64_t wanted = fill ? std::min(found->second.Length, source.Bar) : found->second.Length;
            EXPECT_EQ(TicksIn(material, 0, record.RangeStart), found->second.Start);
            EXPECT_EQ(TicksIn(material, record.RangeStart, record.RangeEnd), wanted);
            ++checked;
        }
    }
    return checked;
}

TEST(ConvertedPartLengths, EveryPartIsItsSectionInEveryMeterWhereverTheSectionsBegin) {
    struct Case {
        const char* Name;
        int Numerator, Denominator, SetupQuarters;
    };
    const Case cases[] = {
        {"4/4, one bar of set-up", 4, 4, 4},
        {"4/4, six beats of set-up", 4, 4, 6},
        {"3/4, four beats of set-up", 3, 4, 4},
        {"3/4, one bar of set-up", 3, 4, 3},
        {"5/4, four beats of set-up", 5, 4, 4},
        {"2/4, three beats of set-up", 2, 4, 3},
        {"6/8, four beats of set-up", 6, 8, 4},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = folder.File("Shape.sty");
        ASSERT_TRUE(SampleKeyboardStyle({.Numerator = c.Numerator, .Denominator = c.Denominator,
                                         .SetupQuarters = c.SetupQuarters})
                        .Write(path));
        EXPECT_EQ(ExpectPartsAreTheirSections(path), 3 * 8);
    }
    // The corpus's real styles, where it is present.
    for (const std::string& path : CorpusFiles("styles")) {
        SCOPED_TRACE(path);
        EXPECT_GT(ExpectPartsAreTheirSections(path), 0);
    }
}

}  // namespace
}  // namespace chordella::testing
