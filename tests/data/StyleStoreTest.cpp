// Opening, saving, deleting, resetting and restoring the loaded style through the session.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "core/Session.h"
#include "data/StyleFile.h"
#include "data/StyleState.h"
#include "core/StyleStore.h"
#include "platform/Files.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella::data {
namespace {

using testing::StyleBuilder;

StyleBuilder RockStyle() {
    StyleBuilder b;
    b.Meter(4).Tempo(126).Program(0, 33).Controller(0, 0, 8).Program(4, 81).Controller(4, 0, 16);
    b.Part(StylePart::Intro).Measures(1).Note(9, 49, 110, 0, 12);
    b.Part(StylePart::Basic).Measures(2).Note(0, 36, 100, 0, 20).NoteOn(4, 72, 90, b.Beat(3)).Mute(9);
    b.Part(StylePart::FillInBasic).Note(9, 38, 100, 0, 6);
    return b;
}

StyleBuilder WaltzStyle() {
    StyleBuilder b;
    b.Meter(3).Tempo(90);
    b.Part(StylePart::Basic).Note(1, 48, 80, 0, 60);
    return b;
}

// Records what the load asked of the other modules.
struct RecordingHooks : StyleLoadLink {
    bool recording = false;
    bool replace = true;
    bool hold = false;
    std::function<void(bool)> held;
    bool intro = false;
    bool sc55 = false;
    int mapFrom = -1, mapTo = -1;
    std::vector<std::string> calls;
    StyleMeterChoice meter;
    std::int16_t tempo = 0;

    bool RecordingRuns() override { return recording; }
    void ConfirmReplace(bool, std::function<void(bool)> then) override {
        calls.push_back("confirm");
        if (hold) {
            held = std::move(then);  // a module whose question the user has not answered yet
        } else {
            then(replace);
        }
    }
    void BeforeLoad() override { calls.push_back("before"); }
    void ApplyHeader(const StyleHeader& header, const StyleMeterChoice& choice) override {
        calls.push_back("header");
        meter = choice;
        tempo = header.StyleTempo;
    }
    int MapProgram(int program) override { return program == mapFrom ? mapTo : program; }
    bool Sc55InstrumentSet() override { return sc55; }
    bool IntroEnabled() override { return intro; }
    void AfterLoad() override { calls.push_back("after"); }
    void AfterReset() override { calls.push_back("reset"); }
    bool ConvertForeignStyle(const std::string& path) override { return calls.push_back("convert " + path), true; }
};

class StyleStoreTest : public ::testing::Test {
protected:
    testing::TestSession t;
    RecordingHooks hooks;
    StyleStore store{*t.session, &hooks};
    StyleState& style = t.session->Style().style;

    std::string Write(const StyleBuilder& builder, const std::string& name) {
        const std::string path = t.home.File(name);
        EXPECT_TRUE(builder.Write(path));
        return path;
    }
    std::string WriteBytes(const std::vector<std::uint8_t>& bytes, const std::string& name) {
        const std::string path = t.home.File(name);
        std::string error;
        EXPECT_TRUE(platform::WriteFileAtomically(path, bytes, error)) << error;
        return path;
    }
    std::vector<std::uint8_t> FileBytes(const std::string& path) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(platform::ReadFileBytes(path, 1 << 20, bytes, error)) << error;
        return bytes;
    }
    std::vector<std::uint8_t> LoadedStream() {
        return {style.StreamBytes(), style.StreamBytes() + style.StyleLength};
    }
};

TEST_F(StyleStoreTest, LoadingFillsTheStyleAndItsCompanions) {
    const auto builder = RockStyle();
    const std::string path = Write(builder, "ROCK&ROLL.vxs");
    ASSERT_EQ(store.Load(path), StyleLoadResult::Loaded);

    EXPECT_EQ(LoadedStream(), builder.Stream());
    EXPECT_EQ(style.StyleLength, static_cast<std::int32_t>(builder.Stream().size()));
    EXPECT_EQ(style.StylePath, path);
    EXPECT_EQ(style.StyleDirectory, t.home.Path());
    EXPECT_EQ(style.StyleLoaded, 1);
    EXPECT_EQ(style.StyleModified, 0);
    EXPECT_EQ(style.StyleDisplayName, "Rock&roll");
    EXPECT_EQ(style.StyleCaptionName, "Rock&&roll");
    EXPECT_EQ(style.PartBounds[Index(StylePart::Basic)].StartMeasure, 2);
    EXPECT_EQ(style.PartBounds[Index(StylePart::Basic)].EndMeasure, 3);
    EXPECT_EQ(style.SelectedPart, Index(StylePart::Basic));
    EXPECT_TRUE(std::equal(style.StreamBytes(), style.StreamBytes() + StreamCapacity, style.StyleBackup.get()));
    EXPECT_EQ(style.Header.ChannelUsed[9], 1);
    EXPECT_EQ(style.Header.ChannelUsed[0], 1);
    EXPECT_EQ(style.Header.ChannelUsed[1], 0);
    EXPECT_EQ(style.NotesEndInPart[Index(StylePart::Basic)][4], 0);
    EXPECT_EQ(style.NotesEndInPart[Index(StylePart::Basic)][0], 1);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"confirm", "before", "header", "after"}));
    EXPECT_EQ(hooks.tempo, 126);
    EXPECT_TRUE(t.prompter->Shown().empty());
}

TEST_F(StyleStoreTest, NothingIsLoadedWhileRecordingOrWhenTheCreatorsWorkIsKeptAndADamagedOrMissingFileLeavesTheEarlierStyle) {
    hooks.recording = true;
    EXPECT_EQ(store.Load(Write(WaltzStyle(), "Waltz.vxs")), StyleLoadResult::Cancelled);
    hooks.recording = false;
    hooks.replace = false;
    EXPECT_EQ(store.Load(t.home.File("Waltz.vxs")), StyleLoadResult::Cancelled);
    EXPECT_EQ(style.StyleLoaded, 0);
    EXPECT_EQ(style.StyleLength, 0);

    hooks.replace = true;
    ASSERT_EQ(store.Load(Write(WaltzStyle(), "Waltz.vxs")), StyleLoadResult::Loaded);
    const auto stream = LoadedStream();
    auto damaged = RockStyle();
    damaged.Part(StylePart::Basic).Raw({0xF4}, 7);
    std::filesystem::create_directories(t.home.File("Folder.vxs"));
    const std::vector<std::string> paths = {Write(damaged, "Broken.vxs"), t.home.File("Missing.vxs"),
                                            t.home.File("Folder.vxs")};
    std::vector<std::string> messages;
    for (const auto& path : paths) {
        hooks.calls.clear();
        t.prompter->ClearShown();
        EXPECT_EQ(store.Load(path), StyleLoadResult::Failed);
        ASSERT_EQ(t.prompter->Shown().size(), 1u);
        EXPECT_EQ(t.prompter->Shown()[0].rfind("Cannot load the style \"" + std::string(path.substr(path.rfind('/') + 1)) + "\": ", 0), 0u)
            << t.prompter->Shown()[0];
        EXPECT_EQ(LoadedStream(), stream);
        EXPECT_EQ(style.StyleDisplayName, "Waltz");
        EXPECT_EQ(style.Header.StyleTempo, 90);
        EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "before"), 0);
        messages.push_back(t.prompter->Shown()[0]);
    }
    EXPECT_NE(messages[0].find("status byte 0xF4"), std::string::npos) << messages[0];
    EXPECT_NE(messages[1].find("No such file"), std::string::npos) << messages[1];
    EXPECT_NE(messages[2].find("it is a folder"), std::string::npos) << messages[2];
}

TEST_F(StyleStoreTest, TheHeaderIsAppliedAsTheLoadRequiresAndHighProgramsClearTheBank) {
    auto builder = RockStyle();
    builder.EighthMeter(6).SuppressControllers().ClearSuppressOnLoad();
    ASSERT_EQ(store.Load(Write(builder, "Six.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(hooks.meter.MeasureUnits, 12);
    EXPECT_TRUE(hooks.meter.EighthNotes);
    EXPECT_EQ(style.Header.StyleMeter, -12);  // kept, so saving keeps the eighth-note meter
    EXPECT_EQ(style.Header.SuppressControllers, 0);
    EXPECT_EQ(style.Header.ClearSuppressOnLoad, 0);

    builder.RawMeter(0).ClearSuppressOnLoad(false);
    ASSERT_EQ(store.Load(Write(builder, "Zero.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(hooks.meter.MeasureUnits, 16);
    EXPECT_FALSE(hooks.meter.EighthNotes);
    EXPECT_EQ(style.Header.SuppressControllers, 1);

    // High programs clear the bank, and the instrument set may map them.
    hooks.mapFrom = 33;
    hooks.mapTo = 34;
    ASSERT_EQ(store.Load(Write(RockStyle(), "Rock.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.Header.ChannelSetup[0][SetupProgramIndex], 34);
    EXPECT_EQ(style.Header.ChannelSetup[0][0], 8);   // program 33: bank kept
    EXPECT_EQ(style.Header.ChannelSetup[4][0], 0);   // program 81: bank cleared
    EXPECT_EQ(style.Header.ChannelSetup[4][SetupProgramIndex], 81);
    EXPECT_EQ(style.Header.ChannelSetup[2][0], SetupNotSet);
}

TEST_F(StyleStoreTest, TheFirstPresentPartIsSelectedAndABasicStartingOnTheStreamEndIsEmpty) {
    hooks.intro = true;
    ASSERT_EQ(store.Load(Write(RockStyle(), "Rock.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.SelectedPart, Index(StylePart::Intro));

    StyleBuilder endingOnly;
    endingOnly.Part(StylePart::Ending).Note(0, 40, 90, 0, 5);
    hooks.intro = false;
    ASSERT_EQ(store.Load(Write(endingOnly, "End.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.SelectedPart, Index(StylePart::Ending));

    StyleBuilder toBasicOnly;
    toBasicOnly.Part(StylePart::ToBasic).Note(0, 40, 90, 0, 5);
    ASSERT_EQ(store.Load(Write(toBasicOnly, "ToBasic.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.SelectedPart, Index(StylePart::Basic));

    // A style whose Basic part starts on the stream's end is empty, and is not saved.
    StyleBuilder b;
    b.Part(StylePart::Basic).Note(0, 40, 90, 0, 5);
    b.AdjustParts([](PartTable& p) { p[Index(StylePart::Basic)].RangeStart = p[Index(StylePart::Basic)].RangeEnd; });
    ASSERT_EQ(store.Load(Write(b, "Empty.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.StyleLength, 255);
    EXPECT_FALSE(style.Parts[Index(StylePart::Basic)].Present());
    EXPECT_FALSE(store.Save(t.home.File("Again.vxs")));
    EXPECT_FALSE(platform::FileExists(t.home.File("Again.vxs")));
}

TEST_F(StyleStoreTest, ASavedStyleLoadsAndSavesAgainByteForByte) {
    auto builder = RockStyle();
    builder.Program(4, 50);  // a program above 62 would clear the bank on load
    ASSERT_EQ(store.Load(Write(builder.WithoutTag(), "Rock.vxs")), StyleLoadResult::Loaded);
    const std::string first = t.home.File("First.vxs");
    const std::string second = t.home.File("Second.vxs");
    ASSERT_TRUE(store.Save(first));
    EXPECT_EQ(style.StylePath, first);
    EXPECT_EQ(style.StyleDisplayName, "First");
    ASSERT_EQ(store.Load(first), StyleLoadResult::Loaded);
    ASSERT_TRUE(store.Save(second));
    EXPECT_EQ(FileBytes(first), FileBytes(second));
    // Apart from the recomputed ChannelUsed bytes the first save is the file as built (with its tag).
    auto built = builder.Tag(StyleFileTagWritten).Bytes();
    auto saved = FileBytes(first);
    ASSERT_EQ(built.size(), saved.size());
    const std::size_t used = 4 + 16 * 98;
    std::fill(saved.begin() + used, saved.begin() + used + 16, 0);
    EXPECT_EQ(built, saved);
}

TEST_F(StyleStoreTest, SavingNeedsAStreamAFailedSaveSaysWhyAndKeepsTheStyleModifiedAndDeletingAsksFirst) {
    EXPECT_FALSE(store.Save(t.home.File("Nothing.vxs")));
    EXPECT_FALSE(platform::FileExists(t.home.File("Nothing.vxs")));
    EXPECT_TRUE(t.prompter->Shown().empty());
    ASSERT_EQ(store.Load(Write(RockStyle(), "Rock.vxs")), StyleLoadResult::Loaded);
    style.StyleModified = 1;
    EXPECT_FALSE(store.Save(t.home.File("no/such/folder/Rock.vxs")));
    ASSERT_EQ(t.prompter->Shown().size(), 1u);
    EXPECT_EQ(t.prompter->Shown()[0].rfind("Cannot save the style \"Rock.vxs\": ", 0), 0u);
    EXPECT_EQ(style.StyleModified, 1);
    EXPECT_EQ(style.StylePath, t.home.File("Rock.vxs"));

    const std::string path = Write(RockStyle(), "Rock.vxs");
    ASSERT_EQ(store.Load(path), StyleLoadResult::Loaded);
    t.prompter->AnswerNo();
    EXPECT_FALSE(store.Delete());
    EXPECT_TRUE(t.prompter->WasShown("Are you sure you want to delete the style \"Rock.vxs\"?"));
    EXPECT_TRUE(platform::FileExists(path));
    t.prompter->AnswerYes();
    EXPECT_TRUE(store.Delete());
    EXPECT_FALSE(platform::FileExists(path));
}

TEST_F(StyleStoreTest, ResettingEmptiesTheStyleAndOffersToSaveAModifiedOne) {
    const std::string path = Write(RockStyle(), "Rock.vxs");
    ASSERT_EQ(store.Load(path), StyleLoadResult::Loaded);
    style.Header.StyleTempo = 140;
    style.StyleModified = 1;
    t.prompter->AnswerYes();
    store.Reset();
    EXPECT_TRUE(t.prompter->WasShown("Save Style first ?"));
    EXPECT_EQ(style.StyleLength, 0);
    EXPECT_EQ(style.StyleLoaded, 0);
    EXPECT_EQ(style.StyleModified, 0);
    EXPECT_EQ(style.Header.ChannelSetup[0][SetupProgramIndex], SetupNotSet);
    EXPECT_EQ(style.Header.ChannelUsed[0], 0);
    EXPECT_FALSE(style.Parts[Index(StylePart::Basic)].Present());
    EXPECT_EQ(hooks.calls.back(), "reset");

    ASSERT_EQ(store.Load(path), StyleLoadResult::Loaded);
    EXPECT_EQ(style.Header.StyleTempo, 140);  // the answer Yes saved the change
}

TEST_F(StyleStoreTest, RestoreBringsBackTheStreamAndThePartBoundsAsLoadedAndTheBuffersAreReused) {
    ASSERT_EQ(store.Load(Write(RockStyle(), "Rock.vxs")), StyleLoadResult::Loaded);
    const auto stream = LoadedStream();
    std::fill(style.StreamBytes(), style.StreamBytes() + style.StyleLength, std::uint8_t{0xF8});
    style.Parts[Index(StylePart::Basic)].EndMeasure = 9;
    style.Parts[Index(StylePart::Ending)].StartMeasure = 4;  // not in the loaded style: stays
    store.RestoreOriginal();
    store.RestorePartBounds();
    EXPECT_EQ(LoadedStream(), stream);
    EXPECT_EQ(style.Parts[Index(StylePart::Basic)].EndMeasure, 3);
    EXPECT_EQ(style.Parts[Index(StylePart::Basic)].LengthMeasures, 2);
    EXPECT_EQ(style.Parts[Index(StylePart::Ending)].StartMeasure, 4);

    // The buffers are made once and reused; a shorter style leaves no bytes of the longer one
    // behind its end.
    const auto* buffer = style.StreamBytes();
    const auto* backup = style.StyleBackup.get();
    ASSERT_EQ(store.Load(Write(WaltzStyle(), "Waltz.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.StreamBytes(), buffer);
    EXPECT_EQ(style.StyleBackup.get(), backup);
    EXPECT_TRUE(std::all_of(buffer + style.StyleLength, buffer + StreamCapacity, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(StyleStoreTest, AStreamThatFillsTheBufferLoadsWholeAndWhatFollowsIsIgnored) {
    // Basic: one note, then waits of 8 ticks up to the last byte, which ends the stream.
    std::vector<std::uint8_t> stream(StreamCapacity, 0xFF);
    stream[0] = 0x90;
    stream[1] = 60;
    stream[2] = 100;
    stream.back() = 0x00;
    PartTable parts{};
    auto& basic = parts[Index(StylePart::Basic)];
    basic.StartMeasure = basic.EndMeasure = basic.StartBeat = basic.LengthMeasures = 1;
    basic.RangeEnd = StreamCapacity - 1;
    auto file = StyleFileBytes(StyleHeader{}, parts, stream);
    file.insert(file.end(), 5000, 0xF4);
    ASSERT_EQ(store.Load(WriteBytes(file, "Long.vxs")), StyleLoadResult::Loaded);
    EXPECT_EQ(style.StyleLength, StreamCapacity);
    EXPECT_EQ(LoadedStream(), stream);
    EXPECT_EQ(style.NotesEndInPart[Index(StylePart::Basic)][0], 0);
    EXPECT_EQ(style.Header.ChannelUsed[0], 1);
}

TEST_F(StyleStoreTest, AStoredPathIsFoundInTheDataHomeAndAStyleNotFoundIsSaidUnlessSilenced) {
    std::filesystem::create_directories(t.session->Paths().Styles());
    const std::string styles = t.session->Paths().Styles();
    ASSERT_TRUE(RockStyle().Write(styles + "/Pop.vxs"));
    ASSERT_TRUE(WaltzStyle().Write(styles + "/Waltz.vxs"));

    EXPECT_EQ(store.OpenByPath("C:\\Old\\Chordella\\STYLES\\Pop.vxs"), StyleLoadResult::Loaded);
    EXPECT_EQ(style.StylePath, styles + "/Pop.vxs");
    EXPECT_EQ(store.OpenByPath("C:\\Old\\STYLES\\Waltz.vxs"), StyleLoadResult::Loaded);
    EXPECT_EQ(style.StyleDisplayName, "Waltz");
    EXPECT_EQ(store.OpenByPath("D:\\Music\\pop.VXS"), StyleLoadResult::Loaded);
    EXPECT_EQ(style.StylePath, styles + "/Pop.vxs");
    EXPECT_EQ(store.OpenByPath(styles + "/Waltz.vxs"), StyleLoadResult::Loaded);
    EXPECT_TRUE(t.prompter->Shown().empty());
    EXPECT_EQ(style.StyleDirectory, styles);

    EXPECT_EQ(store.OpenByPath(""), StyleLoadResult::Cancelled);
    EXPECT_TRUE(t.prompter->Shown().empty());
    EXPECT_EQ(store.OpenByPath("C:\\Old\\STYLES\\Gone.vxs", MissingStyle::Silent), StyleLoadResult::Failed);
    EXPECT_TRUE(t.prompter->Shown().empty());
    EXPECT_EQ(store.OpenByPath("C:\\Old\\STYLES\\Gone.vxs"), StyleLoadResult::Failed);
    EXPECT_TRUE(t.prompter->WasShown("Style not found !"));
}

TEST_F(StyleStoreTest, TheOpenDialogLoadsStylesAndHandsOtherFormatsToTheConverter) {
    const std::string path = Write(RockStyle(), "Rock.vxs");
    t.prompter->AnswerText(path);
    EXPECT_EQ(store.OpenWithDialog(), StyleLoadResult::Loaded);
    EXPECT_TRUE(t.prompter->WasShown("Open style ..."));
    EXPECT_EQ(style.StyleDisplayName, "Rock");

    t.prompter->AnswerText(t.home.File("Disco.STY"));
    EXPECT_EQ(store.OpenWithDialog(), StyleLoadResult::Loaded);
    EXPECT_EQ(hooks.calls.back(), "convert " + t.home.File("Disco.STY"));

    EXPECT_EQ(store.OpenWithDialog(), StyleLoadResult::Cancelled);  // the dialog is cancelled
}

TEST(StyleLoadLinkList, AsksEveryModuleAndStopsAtTheFirstRefusal) {
    RecordingHooks first;
    RecordingHooks second;
    StyleLoadLinkList list;
    list.Add(&first);
    list.Add(&second);
    list.Add(&first);  // once only
    first.mapFrom = 10;
    first.mapTo = 11;
    second.mapFrom = 10;
    second.mapTo = 12;
    EXPECT_EQ(list.MapProgram(10), 11);
    EXPECT_EQ(list.MapProgram(20), 20);
    first.replace = false;
    std::optional<bool> replace;
    list.ConfirmReplace(true, [&](bool yes) { replace = yes; });
    EXPECT_EQ(replace, std::optional<bool>(false));
    EXPECT_TRUE(second.calls.empty());  // not asked after the first No
    second.sc55 = true;
    EXPECT_TRUE(list.Sc55InstrumentSet());
    list.Remove(&second);
    EXPECT_FALSE(list.Sc55InstrumentSet());
}

TEST(StyleLoadLinkList, AsksTheModulesInTurnAsEachAnswersAndSkipsOneThatWentAway) {
    RecordingHooks first;
    RecordingHooks second;
    RecordingHooks third;
    StyleLoadLinkList list;
    for (RecordingHooks* hooks : {&first, &second, &third}) list.Add(hooks);
    first.hold = true;
    std::optional<bool> replace;
    list.ConfirmReplace(true, [&](bool yes) { replace = yes; });
    EXPECT_FALSE(replace.has_value());
    EXPECT_TRUE(second.calls.empty()) << "the next module waits for the first one's answer";
    list.Remove(&second);
    std::exchange(first.held, {})(true);
    EXPECT_TRUE(second.calls.empty()) << "gone before its turn";
    EXPECT_EQ(third.calls, std::vector<std::string>{"confirm"});
    EXPECT_EQ(replace, std::optional<bool>(true));
}

TEST_F(StyleStoreTest, ALoadGoesOnWithTheAnswerThoughTheStoreThatAskedIsGone) {
    const std::string waltz = Write(WaltzStyle(), "Waltz.vxs");
    hooks.hold = true;
    std::optional<StyleLoadResult> result;
    const auto done = [&](StyleLoadResult r) { result = r; };
    EXPECT_EQ(StyleStore(*t.session, &hooks).Load(waltz, true, false, done), StyleLoadResult::Asking);
    EXPECT_EQ(style.StyleLoaded, 0) << "nothing is loaded before the answer";
    std::exchange(hooks.held, {})(true);
    EXPECT_EQ(result, std::optional<StyleLoadResult>(StyleLoadResult::Loaded));
    EXPECT_EQ(style.StylePath, waltz);

    // A recording that started while the question was open keeps the loaded style.
    const std::string rock = Write(RockStyle(), "Rock.vxs");
    EXPECT_EQ(StyleStore(*t.session, &hooks).Load(rock, true, false, done), StyleLoadResult::Asking);
    hooks.recording = true;
    std::exchange(hooks.held, {})(true);
    EXPECT_EQ(result, std::optional<StyleLoadResult>(StyleLoadResult::Cancelled));
    EXPECT_EQ(style.StylePath, waltz);
}

TEST(StyleNames, NamesAreShownAsTheProgramShowsThem) {
    EXPECT_EQ(StyleDisplayNameOf("C:\\Styles\\bossa nova.VXS"), "Bossa nova");
    PartTable parts{};
    parts[Index(StylePart::FillInBasic)].FollowUpCode = followup::Variation;
    EXPECT_EQ(StyleCaptionNameOf("Pop", parts), "Pop / Var.Basic");
    parts[Index(StylePart::FillInExtended)].FollowUpCode = followup::Variation;
    EXPECT_EQ(StyleCaptionNameOf("Pop", parts), "Pop / Var.Basic / Var.Extended");
    EXPECT_EQ(StyleShortLabelOf("Rock&roll forever"), "Rock&roll  ...");
    EXPECT_EQ(StyleShortLabelOf("Pop"), "Pop ...");
}

}  // namespace
}  // namespace chordella::data
