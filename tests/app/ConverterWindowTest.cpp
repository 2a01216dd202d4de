// The converter window's state around a conversion: the arrangement saved aside and put back,
// the option it clears while open, the remembered selections.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "stylecreator/ConverterWindow.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;

TEST(ConverterWindow, TheArrangementIsSavedAsideWhileOpenAndTheRunConvertsTheChosenSections) {
    const char* corpus = std::getenv("CHORDELLA_CORPUS");
    const std::string file = std::string(corpus && *corpus ? corpus : CHORDELLA_DEFAULT_CORPUS) + "/styles/SoulBeat.STY";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no corpus";
    TestSession t;
    CreatorState state;
    StyleCreator creator(*t.session, state);
    StyleConversion conversion(*t.session, creator);
    std::string error;
    ASSERT_TRUE(conversion.Import(file, error)) << error;
    conversion.UseChannelTable(false);   // chords are detected, into the chord memory

    data::ArrangementState& arrangement = t.session->App().arrangement;
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

#include "app/StyleConverterDesk.h"

namespace chordella::testing {
namespace {

TEST(StyleConverterDesk, ImportChooseAndSetVariationsMakeThePlayingStyle) {
    const char* corpus = std::getenv("CHORDELLA_CORPUS");
    const std::string folder = std::string(corpus && *corpus ? corpus : CHORDELLA_DEFAULT_CORPUS) + "/styles/";
    if (!std::filesystem::exists(folder + "Samba_X1.S841.STY")) GTEST_SKIP() << "no corpus";
    TestSession t;
    app::StyleConverterDesk desk(*t.session);

    app::ConverterRequest request;
    request.What = app::ConverterRequest::ImportFile;
    request.Path = folder + "no-such-file.sty";
    EXPECT_FALSE(desk.Handle(request).Error.empty());

    request.Path = folder + "Samba_X1.S841.STY";
    app::ConverterView view = desk.Handle(request);
    ASSERT_TRUE(view.Imported) << view.Error;
    ASSERT_FALSE(view.Lists[0].empty());
    EXPECT_NE(view.Lists[0][0].find("Main A : "), std::string::npos) << view.Lists[0][0];

    request.What = app::ConverterRequest::ChooseItem;
    request.Item = 1;
    view = desk.Handle(request);
    request = app::ConverterRequest{};
    request.What = app::ConverterRequest::SetVariations;
    request.Selected = view.Selected;
    request.Options = view.Options;
    view = desk.Handle(request);
    EXPECT_NE(view.Report.find("Basic : Main A"), std::string::npos) << view.Report;
    EXPECT_NE(view.Report.find(", CASM"), std::string::npos) << view.Report;
    const data::StyleState& style = t.session->Style().style;
    EXPECT_GT(style.StyleLength, 0);
    EXPECT_TRUE(style.Parts[1].Present());
}

}  // namespace
}  // namespace chordella::testing
