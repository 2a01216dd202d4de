// Sets of style parts written as MIDI files and read back as a style, from a converted
// keyboard style of another maker.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/StateParts.h"
#include "stylecreator/PartSetFiles.h"
#include "stylecreator/StyleConversion.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;
using namespace stylecreator;

TEST(PartSetFiles, AnExportedSetReadsBackPartByPartAndShortFilesAreSkipped) {
    TempFolder folder;
    const std::string file = folder.File("Eight.sty");
    ASSERT_TRUE(SampleKeyboardStyle().Controller(13, 10, 47).Write(file));   // the strings' pan
    TestSession t;
    CreatorState state;
    StyleCreator creator(*t.session, state, app::CreatorLiveStateOf(t.state));
    StyleConversion conversion(*t.session, creator);
    std::string error;
    ASSERT_TRUE(conversion.Import(file, error)) << error;
    platform::Random random(1);
    ASSERT_EQ(conversion.ConvertSet(0, random).Parts.size(), 8U);

    std::vector<std::string> written;
    ASSERT_TRUE(ExportPartSet(*t.session, folder.Path() + "/", 2, written, error)) << error;
    EXPECT_EQ(written.size(), 8U);
    EXPECT_TRUE(fs::exists(folder.File("sty2_v11.mid")));
    EXPECT_TRUE(fs::exists(folder.File("sty2_f21.mid")));
    int usable = 0;
    for (const std::string& path : written) usable += fs::file_size(path) >= MinimumPartFileBytes ? 1 : 0;

    TestSession other;
    CreatorState otherState;
    StyleCreator otherCreator(*other.session, otherState, app::CreatorLiveStateOf(other.state));
    const SetImportResult imported =
        ImportPartSet(*other.session, otherCreator, folder.Path() + "/", {2, 11}, PopupConvertOptions{});
    EXPECT_TRUE(imported.Message.empty()) << imported.Message;
    // Basic and the others whose files are long enough; Extended comes from "v21" ("v31" is missing).
    EXPECT_EQ(static_cast<int>(imported.PartsSet.size()), usable);
    const data::PartTable& parts = other.session->Style().style.Parts;
    EXPECT_TRUE(parts[1].Present());
    EXPECT_TRUE(parts[2].Present());
    EXPECT_EQ(parts[1].StartMeasure, parts[0].Present() ? parts[0].EndMeasure + 1 : 1);
    EXPECT_EQ(other.session->Style().style.Header.ChannelSetup[13][10], 47);

    EXPECT_EQ(ImportPartSet(*other.session, otherCreator, folder.Path() + "/", {3, 11}, {}).PartsSet.size(), 0U);
}

}  // namespace
}  // namespace chordella::testing
