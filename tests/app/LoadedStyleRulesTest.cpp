// The Style menu's channel rules on a style file loaded from disk: the checked rules run at
// every load in their order, and the menu's commands act on the loaded style at once.
#include <gtest/gtest.h>

#include <set>

#include "app/LoadedStyleRules.h"
#include "core/StyleStore.h"
#include "support/StreamMessages.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

using Request = app::StyleRulesRequest;

struct StatusLine final : core::View {
    std::vector<std::string>* shown;
    explicit StatusLine(std::vector<std::string>* into) : shown(into) {}
    void ShowStatus(const std::string& text) override { shown->push_back(text); }
};

// Piano on channel 1, a finger bass on 4, a nylon guitar on 6, drums on 10, strings on 11.
std::string WriteBandStyle(const TempFolder& folder) {
    StyleBuilder b;
    b.Program(0, 0).Volume(0, 100).Program(3, 33).Volume(3, 90).Program(5, 24).Volume(5, 100);
    b.Program(10, 48).Volume(10, 80).Volume(9, 100);
    PartBuilder& basic = b.Part(data::StylePart::Basic).Measures(1);
    for (int channel : {0, 3, 5, 9, 10}) basic.Note(channel, 60, 100, 0, 24);
    const std::string path = folder.Path() + "/Band.vxs";
    EXPECT_TRUE(b.Write(path));
    return path;
}

// The channels (0-based) that sound in the loaded style.
std::set<int> SoundingChannels(data::StyleState& style) {
    std::set<int> channels;
    for (const StreamMessage& m : StreamMessagesOf({style.StreamBytes(), static_cast<std::size_t>(style.StyleLength)}))
        if ((m.Status & 0xF0) == 0x90 && m.Data2 > 0) channels.insert(m.Status & 0x0F);
    return channels;
}

TEST(LoadedStyleRules, LoadingMovesTheBassToElevenFreesChannelOneAndMutesTheCheckedRoles) {
    std::vector<std::string> status;
    TestSession t(1, std::make_unique<StatusLine>(&status));
    app::LoadedStyleRules rules(*t.session, t.state);
    core::Options& options = t.state.options;
    options.BassOutputOnChannel11 = true;
    options.SoloOnChannel1 = true;
    options.NormalizeVolume = false;
    options.ReverbOff = true;
    rules.Handle({Request::MuteGuitars, true});   // no style yet: only the check mark changes
    const std::string path = WriteBandStyle(t.home);

    ASSERT_EQ(data::StyleStore(*t.session).Load(path), data::StyleLoadResult::Loaded);
    data::StyleState& style = t.session->Style().style;
    // Bass 4 → 11; the strings of 11 → 2 (muted); the piano of 1 → 3, past the strings.
    EXPECT_EQ(SoundingChannels(style), (std::set<int>{1, 2, 5, 9, 10}));
    EXPECT_EQ(status, (std::vector<std::string>{"BASS: Redirected to ch. 11 - ch. 11 moved to ch. 2",
                                                "BASS: Redirected to ch. 11 - ch. 11 moved to ch. 2"}));
    EXPECT_EQ(rules.BassesRedirectedTo(), 10);
    const auto& mutes = t.state.engine.ChannelMute;
    EXPECT_TRUE(mutes[1]);
    EXPECT_TRUE(mutes[5]);    // the guitar: "Mute GUITARS" is checked
    EXPECT_FALSE(mutes[10]);
    EXPECT_EQ(style.Header.ChannelSetup[10][7], 90);   // the bass keeps its volume on its new channel
    EXPECT_EQ(style.Header.ChannelSetup[2][91], 0);    // "Reverb off"
    EXPECT_EQ(t.session->Controllers().Value(2, 91), 0);
    EXPECT_EQ(style.StyleModified, 0);

    // Loading again with the boxes set as the last style left them: the guitar stays muted.
    ASSERT_EQ(data::StyleStore(*t.session).Load(path), data::StyleLoadResult::Loaded);
    EXPECT_TRUE(mutes[5]);
    // The menu item toggles: unchecking unmutes the guitar.
    EXPECT_FALSE(rules.Handle({Request::MuteGuitars, false}).MuteGuitars);
    EXPECT_FALSE(mutes[5]);
}

TEST(LoadedStyleRules, NormalisingOnLoadAndFromTheMenuStartsFromTheLoadedVolumesAndRestores) {
    TestSession t;
    app::LoadedStyleRules rules(*t.session, t.state);
    core::Options& options = t.state.options;
    options.SoloOnChannel1 = false;
    options.NormalizeVolume = true;
    const std::string path = WriteBandStyle(t.home);
    ASSERT_EQ(data::StyleStore(*t.session).Load(path), data::StyleLoadResult::Loaded);
    data::StyleState& style = t.session->Style().style;
    EXPECT_TRUE(rules.View().Normalised);
    const auto normalised = style.Header.ChannelSetup;
    EXPECT_NE(normalised[0][7], 100);
    EXPECT_EQ(normalised[9][7], 92);   // the drums: target + 2

    // "Normalize volume" twice: the second run starts from the loaded volumes too.
    rules.Handle({Request::NormalizeNow});
    rules.Handle({Request::NormalizeNow});
    for (int c : {0, 3, 5, 9, 10}) EXPECT_EQ(style.Header.ChannelSetup[static_cast<std::size_t>(c)][7],
                                             normalised[static_cast<std::size_t>(c)][7]) << c;

    const app::StyleRulesView restored = rules.Handle({Request::RestoreVolume});
    EXPECT_FALSE(restored.Normalised);
    EXPECT_EQ(style.Header.ChannelSetup[0][7], 100);
    EXPECT_EQ(style.Header.ChannelSetup[10][7], 80);
    EXPECT_EQ(t.session->Controllers().Value(3, 7), 90);

    // "Reverb off" and "Reverb defined" exclude each other.
    rules.Handle({Request::ReverbOff, true});
    const app::StyleRulesView view = rules.Handle({Request::ReverbDefined, true});
    EXPECT_TRUE(view.ReverbDefined);
    EXPECT_FALSE(view.ReverbOff);
}

}  // namespace
}  // namespace chordella::testing
