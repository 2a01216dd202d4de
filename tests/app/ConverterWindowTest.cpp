// The converter window's state around a conversion: the arrangement saved aside and put back,
// the option it clears while open, the remembered selections.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/StateParts.h"
#include "stylecreator/ConverterWindow.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;

TEST(ConverterWindow, TheArrangementIsSavedAsideWhileOpenAndTheRunConvertsTheChosenSections) {
    TempFolder folder;
    const std::string file = folder.File("SoulBeat.sty");
    ASSERT_TRUE(SampleKeyboardStyle().Write(file));
    TestSession t;
    CreatorState state;
    StyleCreator creator(*t.session, state, app::CreatorLiveStateOf(t.state));
    StyleConversion conversion(*t.session, creator);
    std::string error;
    ASSERT_TRUE(conversion.Import(file, error)) << error;
    conversion.UseChannelTable(false);   // chords are detected, into the chord memory

    data::ArrangementState& arrangement = t.state.arrangement;
    arrangement.Chords.Bytes[8] = 60;
    arrangement.Chords.ChordMemoryLength = 12;
    arrangement.StartMeasure = 5;
    conversion.Options().ShowWhenLoading = true;

    ConverterWindow window(*t.session, conversion);
    EXPECT_TRUE(window.ShowAfterImport(false));
    EXPECT_FALSE(window.ShowAfterImport(true));
    window.Open();
    EXPECT_FALSE(conversion.Options().ShowWhenLoading);
    window.ChooseItem(3);   // set No. 4: Extended is the third main section
    const std::string extended = conversion.Lists().List(1)[2].Name;
    window.SetVariations();
    EXPECT_TRUE(window.Finished());
    EXPECT_FALSE(window.IsOpen());
    EXPECT_TRUE(conversion.Options().ShowWhenLoading);
    EXPECT_EQ(arrangement.Chords.Bytes[8], 60);
    EXPECT_EQ(arrangement.StartMeasure, 5);

    const SetReport report = window.Convert();
    ASSERT_EQ(report.Parts.size(), 8U);
    const auto part = std::find_if(report.Parts.begin(), report.Parts.end(), [](const ConvertedPart& p) { return p.Part == 2; });
    ASSERT_NE(part, report.Parts.end());
    EXPECT_EQ(part->Section, extended);
    EXPECT_FALSE(window.Finished());
    EXPECT_EQ(arrangement.Chords.Bytes[8], 60);
    EXPECT_EQ(arrangement.Chords.ChordMemoryLength, 12);

    // The remembered selections come back after the lists were changed.
    const Selections remembered = conversion.Remembered();
    window.Open();
    EXPECT_NE(arrangement.Chords.ChordMemoryLength, 12);   // the run's chords are back while open
    conversion.Lists().Select(1, 0);
    window.ShowPrevious();
    EXPECT_EQ(conversion.Lists().Selected(), remembered);
    window.Abort();
    EXPECT_FALSE(window.Finished());
    EXPECT_EQ(arrangement.Chords.ChordMemoryLength, 12);
    EXPECT_TRUE(window.Convert().Parts.empty());
}

}  // namespace
}  // namespace chordella::testing

#include "app/ForeignStyleSets.h"
#include "core/StyleStore.h"
#include "desktop/StyleConverterDesk.h"

namespace chordella::testing {
namespace {

TEST(StyleConverterDesk, ImportChooseAndSetVariationsMakeThePlayingStyle) {
    TempFolder styles;
    const std::string folder = styles.Path() + "/";
    ASSERT_TRUE(SampleKeyboardStyle({.Format = CasmFormat::Ctb2}).Write(folder + "Samba.S841.STY"));
    TestSession t;
    desktop::StyleConverterDesk desk(*t.session, t.state);

    desktop::ConverterRequest request;
    request.What = desktop::ConverterRequest::ImportFile;
    request.Path = folder + "no-such-file.sty";
    EXPECT_FALSE(desk.Handle(request).Error.empty());

    request.Path = folder + "Samba.S841.STY";
    desktop::ConverterView view = desk.Handle(request);
    ASSERT_TRUE(view.Imported) << view.Error;
    ASSERT_FALSE(view.Lists[0].empty());
    EXPECT_NE(view.Lists[0][0].find("Main A : "), std::string::npos) << view.Lists[0][0];

    request.What = desktop::ConverterRequest::ChooseItem;
    request.Item = 1;
    view = desk.Handle(request);
    request = desktop::ConverterRequest{};
    request.What = desktop::ConverterRequest::SetVariations;
    request.Selected = view.Selected;
    request.Options = view.Options;
    view = desk.Handle(request);
    EXPECT_NE(view.Report.find("Basic : Main A"), std::string::npos) << view.Report;
    EXPECT_NE(view.Report.find(", CASM"), std::string::npos) << view.Report;
    const data::StyleState& style = t.session->Style().style;
    EXPECT_GT(style.StyleLength, 0);
    EXPECT_TRUE(style.Parts[1].Present());
}

desktop::ConverterView Import(desktop::StyleConverterDesk& desk, const std::string& path) {
    desktop::ConverterRequest request;
    request.What = desktop::ConverterRequest::ImportFile;
    request.Path = path;
    return desk.Handle(request);
}

TEST(StyleConverterDesk, AnImportConvertsAtOnceUnlessTheWindowIsWantedWhichWritesOneStylePerSet) {
    TempFolder folder;
    const std::string file = folder.File("SoulBeat.STY");
    ASSERT_TRUE(SampleKeyboardStyle().Write(file));
    TestSession t;
    data::StyleState& style = t.session->Style().style;
    {
        desktop::StyleConverterDesk desk(*t.session, t.state);
        const desktop::ConverterView view = Import(desk, file);
        EXPECT_FALSE(view.ShowWindow);
        EXPECT_NE(view.Report.find("Basic : "), std::string::npos) << view.Report;
        EXPECT_TRUE(style.Parts[1].Present());
        EXPECT_EQ(style.StyleDisplayName, "Soulbeat");
    }

    t.state.options.ShowConverterWhenLoading = true;
    desktop::StyleConverterDesk desk(*t.session, t.state);
    desktop::ConverterView view = Import(desk, file);
    ASSERT_TRUE(view.ShowWindow) << view.Error;
    EXPECT_FALSE(view.Lists[0].empty());

    desktop::ConverterRequest request;
    request.What = desktop::ConverterRequest::CreateSets;
    request.Options = view.Options;
    request.Options.SetCount = 3;
    view = desk.Handle(request);
    EXPECT_TRUE(view.Error.empty()) << view.Error;
    const std::string styles = t.session->Paths().Styles();
    for (int set = 1; set <= 3; ++set) {
        const std::string written = styles + "/SoulBeat-" + std::to_string(set) + ".vxs";
        EXPECT_NE(view.Report.find(written), std::string::npos) << view.Report;
        ASSERT_EQ(data::StyleStore(*t.session).Load(written, false), data::StyleLoadResult::Loaded) << written;
        EXPECT_TRUE(style.Parts[1].Present());
    }
    EXPECT_FALSE(std::filesystem::exists(styles + "/SoulBeat-4.vxs"));
    // The box stays ticked in the settings.
    EXPECT_TRUE(t.state.options.ShowConverterWhenLoading);
    EXPECT_EQ(app::StyleSetFileName("/s", "/in/Kool.prs", 2, "Funk"), "/s/Kool-2-Funk.vxs");
}

// The file names of a set and the fall-backs for missing or short files are the part sets'
// (tests/stylecreator StylePartSetsTest); here a set written and read back through the pop-up.
TEST(StyleConverterDesk, ThePopupWritesASetAndASinglePartAndReadsTheSetBack) {
    TempFolder out;
    const std::string file = out.File("Eight.sty");
    ASSERT_TRUE(SampleKeyboardStyle().Controller(13, 10, 47).Write(file));   // the strings' pan
    TestSession t;
    desktop::StyleConverterDesk desk(*t.session, t.state);
    ASSERT_TRUE(Import(desk, file).Error.empty());

    desktop::ConverterRequest request;
    request.Path = out.Path();
    request.What = desktop::ConverterRequest::ExportPartSet;
    request.Item = 2;
    desktop::ConverterView view = desk.Handle(request);
    EXPECT_NE(view.Report.find("sty2_v11.mid"), std::string::npos) << view.Report << view.Error;
    request.What = desktop::ConverterRequest::ExportPart;
    request.Item = 2;   // Extended
    view = desk.Handle(request);
    EXPECT_TRUE(std::filesystem::exists(out.File("sty1_v21.mid"))) << view.Error;
    EXPECT_TRUE(std::filesystem::exists(out.File("sty2_f21.mid")));

    TestSession other;
    desktop::StyleConverterDesk reader(*other.session, other.state);
    request.What = desktop::ConverterRequest::ImportPartSet;
    request.Item = 2;   // "2 - 11"
    request.Popup.DontConvertFills = true;
    view = reader.Handle(request);
    EXPECT_TRUE(view.Error.empty()) << view.Error;
    EXPECT_NE(view.Report.find("Basic"), std::string::npos) << view.Report;
    EXPECT_TRUE(view.Popup.DontConvertFills);
    const data::StyleState& style = other.session->Style().style;
    EXPECT_TRUE(style.Parts[1].Present());
    EXPECT_TRUE(style.Parts[2].Present()) << "Extended from \"v21\" (\"v31\" is missing)";
    EXPECT_EQ(style.Parts[1].StartMeasure, style.Parts[0].Present() ? style.Parts[0].EndMeasure + 1 : 1);
    EXPECT_EQ(style.StyleLoaded, 1);
    EXPECT_EQ(style.Header.ChannelSetup[9][7], 100);   // the channel defaults of a set import
    EXPECT_EQ(style.Header.ChannelSetup[13][10], 47) << "the set's own controllers come along";

    // A single part read behind the set becomes the part chosen.
    int lastMeasure = 0;
    for (const data::PartRecord& part : style.Parts) lastMeasure = std::max<int>(lastMeasure, part.EndMeasure);
    request.What = desktop::ConverterRequest::ImportPart;
    request.Path = out.File("sty1_v21.mid");
    request.Item = 3;   // Ending
    view = reader.Handle(request);
    EXPECT_TRUE(view.Error.empty()) << view.Error;
    EXPECT_EQ(style.Parts[3].StartMeasure, lastMeasure + 1);
    request.Path = out.File("missing.mid");
    EXPECT_NE(reader.Handle(request).Error.find("missing.mid"), std::string::npos);
    EXPECT_EQ(style.Parts[3].StartMeasure, lastMeasure + 1);

    // A folder without the set imports nothing and says nothing; the style stays.
    request.What = desktop::ConverterRequest::ImportPartSet;
    request.Item = 6;
    request.Path = out.Path() + "/none";
    EXPECT_TRUE(reader.Handle(request).Error.empty());
    EXPECT_TRUE(style.Parts[1].Present());
}

}  // namespace
}  // namespace chordella::testing
