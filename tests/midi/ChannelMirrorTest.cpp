// A synth made anew (another driver, another SoundFont) is set up as the old one was: what
// the channels were set to is replayed in an order a synthesizer takes it in.
#include "midi/ChannelMirror.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace chordella::midi {
namespace {

std::string Hex(std::span<const std::uint8_t> m) {
    std::string text;
    for (std::uint8_t b : m) {
        static constexpr char Digits[] = "0123456789ABCDEF";
        text += {Digits[b >> 4], Digits[b & 15]};
    }
    return text;
}

std::vector<std::string> Replayed(const ChannelMirror& mirror) {
    std::vector<std::string> sent;
    mirror.Replay([&](std::span<const std::uint8_t> m) { sent.push_back(Hex(m)); });
    return sent;
}

void Note(ChannelMirror& mirror, std::vector<std::uint8_t> m) { mirror.Note(m); }

TEST(ChannelMirror, TheBankComesBeforeTheProgramARangeAsAWholeParameterAndResetsForgetWhatTheyReset) {
    ChannelMirror mirror;
    Note(mirror, {0xC1, 48});       // strings, then a bank: the bank must still come first
    Note(mirror, {0xB1, 0, 8});
    Note(mirror, {0xB1, 7, 90});
    Note(mirror, {0xB1, 101, 0});   // pitch-bend range 12 semitones, then no parameter
    Note(mirror, {0xB1, 100, 0});
    Note(mirror, {0xB1, 6, 12});
    Note(mirror, {0xB1, 101, 127});
    Note(mirror, {0xB1, 100, 127});
    Note(mirror, {0x91, 60, 100});  // notes are not set-up
    Note(mirror, {0xE1, 0, 80});
    Note(mirror, {0xB1, 123, 0});   // a channel-mode message is no setting
    EXPECT_EQ(Replayed(mirror), (std::vector<std::string>{"B10008", "C130", "B1075A", "B16500", "B16400", "B1060C",
                                                           "B1657F", "B1647F", "E10050"}));

    // Resets forget what they reset.
    mirror = ChannelMirror();
    Note(mirror, {0xC0, 5});
    Note(mirror, {0xB0, 7, 100});
    Note(mirror, {0xB0, 1, 64});   // modulation: reset by "reset all controllers"
    Note(mirror, {0xE0, 0, 0});
    Note(mirror, {0xB0, 121, 0});
    EXPECT_EQ(Replayed(mirror), (std::vector<std::string>{"C005", "B00764"}));
    Note(mirror, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});  // General MIDI on
    EXPECT_TRUE(Replayed(mirror).empty());
    Note(mirror, {0xC2, 7});
    Note(mirror, {0xFF});
    EXPECT_TRUE(Replayed(mirror).empty());
}

}  // namespace
}  // namespace chordella::midi
