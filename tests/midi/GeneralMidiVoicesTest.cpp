// Makers' voices on a General MIDI device: what the device gets for a channel's bank selects
// and program change, and which outputs rewrite at all.
#include "midi/GeneralMidiVoices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MidiRig.h"

namespace chordella::midi {
namespace {

constexpr int BassChannel = 10;

GeneralMidiVoiceTable Table() {
    GeneralMidiVoiceTable table;
    // A maker's bass in two variations, a maker's strings, and a maker's organ.
    table.Voices = {{8, 1, 17, 34}, {8, -1, 17, 33}, {8, -1, 48, 49}, {16, -1, 16, 16}};
    table.BassChannels = 1U << BassChannel;
    return table;
}

std::vector<std::uint32_t> Through(GeneralMidiVoices& voices, const std::vector<std::uint32_t>& messages) {
    std::vector<std::uint32_t> sent;
    for (std::uint32_t packed : messages) {
        const GeneralMidiVoices::Rewritten out = voices.Rewrite(packed);
        for (int i = 0; i < out.Count; ++i) sent.push_back(out.Messages[static_cast<std::size_t>(i)]);
    }
    return sent;
}

std::uint32_t Control(int channel, int number, int value) {
    return static_cast<std::uint32_t>(0xB0 | channel | number << 8 | value << 16);
}
std::uint32_t Program(int channel, int program) { return static_cast<std::uint32_t>(0xC0 | channel | program << 8); }

TEST(GeneralMidiVoices, AProgramChangeIsRewrittenByTheBankKeptForItsChannelAndTheChannelsRole) {
    struct Case {
        std::string what;
        int channel, msb, lsb, program;
        int expected;  // −1: the program change goes as it is
    };
    const std::vector<Case> cases = {
        {"listed for this LSB", 2, 8, 1, 17, 34},
        {"listed for any LSB", 2, 8, 5, 17, 33},
        {"listed, not a bass, on a melody channel", 3, 8, 0, 48, 49},
        {"unlisted maker voice on a melody channel", 3, 9, 0, 20, -1},
        {"General MIDI bank: left as the style chose it", 3, 0, 0, 17, -1},
        {"unlisted maker voice on the bass part", BassChannel, 9, 0, 20, GmFingerBass},
        {"listed organ on the bass part", BassChannel, 16, 0, 16, GmFingerBass},
        {"listed bass on the bass part keeps its bass", BassChannel, 8, 1, 17, 34},
        {"unlisted maker bass number on the bass part", BassChannel, 9, 0, 38, -1},
        {"General MIDI organ on the bass part: the style's choice", BassChannel, 0, 0, 17, -1},
        {"a drum kit bank", BassChannel, 127, 0, 0, -1},
        {"the drum channel", 9, 8, 0, 17, -1},
    };
    const GeneralMidiVoiceTable table = Table();
    for (const Case& c : cases) {
        GeneralMidiVoices voices(table);
        const std::vector<std::uint32_t> banks = {Control(c.channel, 0, c.msb), Control(c.channel, 32, c.lsb)};
        std::vector<std::uint32_t> expected = banks;
        if (c.expected < 0) {
            expected.push_back(Program(c.channel, c.program));
        } else {
            for (std::uint32_t m : {Control(c.channel, 0, 0), Control(c.channel, 32, 0), Program(c.channel, c.expected)})
                expected.push_back(m);
        }
        std::vector<std::uint32_t> messages = banks;
        messages.push_back(Program(c.channel, c.program));
        EXPECT_EQ(Through(voices, messages), expected) << c.what;
    }

    GeneralMidiVoices voices(table);
    Through(voices, {Control(2, 0, 8), Program(2, 40)});
    // A later program change on the same channel without new bank selects is still bank 8;
    // another channel never saw them; a bank select back to 0 ends it.
    EXPECT_EQ(voices.Substitute(2, 17), 33);
    EXPECT_EQ(voices.Substitute(4, 17), -1);
    Through(voices, {Control(2, 0, 0)});
    EXPECT_EQ(voices.Substitute(2, 17), -1);
    EXPECT_EQ(Through(voices, {0x643C92, 0x7F0AB2}), (std::vector<std::uint32_t>{0x643C92, 0x7F0AB2}))
        << "notes and other controllers pass";
}

TEST(GeneralMidiVoices, OnlyTheBuiltInSynthAndOutputsMarkedGeneralMidiRewrite) {
    const GeneralMidiVoiceTable table = Table();
    const std::vector<std::uint32_t> style = {Control(2, 0, 8), Control(2, 32, 0), Program(2, 17), 0x643C92};
    const std::vector<std::uint32_t> asGeneralMidi = {Control(2, 0, 8), Control(2, 32, 0), Control(2, 0, 0),
                                                      Control(2, 32, 0), Program(2, 33), 0x643C92};
    struct Case { int device; bool marked; bool rewrites; };
    for (const Case c : {Case{0, false, false}, Case{0, true, true}, Case{-1, false, true}}) {
        testing::MidiRig rig;
        rig.output->SetGeneralMidiVoices(&table);
        rig.output->SetDeviceID(c.device);
        rig.output->SetMarkedGeneralMidi(c.marked);
        ASSERT_TRUE(rig.output->Open());
        EXPECT_EQ(rig.output->SendsGeneralMidiVoices(), c.rewrites);
        for (std::uint32_t packed : style) rig.output->PutShortMsg(packed);
        std::vector<std::uint32_t> sent;
        for (const SentMessage& m : rig.backend.Sent(c.device)) sent.push_back(m.Packed);
        EXPECT_EQ(sent, c.rewrites ? asGeneralMidi : style) << "device " << c.device << " marked " << c.marked;
    }
}

}  // namespace
}  // namespace chordella::midi
