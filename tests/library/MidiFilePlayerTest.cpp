// The song player's media player: a MIDI file read into timed messages (tracks merged, tempo
// changes applied) and sent on its port at those times, with nothing left sounding after it.
#include "library/MidiFilePlayer.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/Session.h"
#include "support/SmfBuilder.h"
#include "support/TestSession.h"
#include "support/TextFiles.h"

namespace chordella::library {
namespace {

using testing::Bytes;
using testing::SmfFileBytes;
using testing::SmfTrack;

// Format 1, 96 ticks a quarter. Track 1: 120 bpm, then 60 bpm from tick 192 (one second in).
// Track 2: C4 from tick 0 to 96, E4 from 288 to 384 (running status, one two-byte delta).
Bytes TwoTrackFile() {
    return SmfFileBytes(1, 96, {SmfTrack().Tempo(0, 500'000).Tempo(192, 1'000'000).End(),
                                SmfTrack().NoteOn(0, 0, 60, 100).Event(96, {60, 0}).Event(192, {64, 90}).Event(96, {64, 0}).End()});
}

std::string Write(testing::TestSession& t, const std::string& name, const Bytes& bytes) {
    const std::string path = t.home.File(name);
    testing::WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

TEST(MidiFilePlayer, TheFileIsReadInTimeOrderWithItsTempoChanges) {
    testing::TestSession t;
    std::vector<TimedMidiMessage> read;
    std::string error;
    ASSERT_TRUE(ReadTimedMidiFile(Write(t, "two.mid", TwoTrackFile()), read, error)) << error;
    ASSERT_EQ(read.size(), 4u);
    const std::vector<std::int64_t> micros = {read[0].Micros, read[1].Micros, read[2].Micros, read[3].Micros};
    EXPECT_EQ(micros, (std::vector<std::int64_t>{0, 500'000, 2'000'000, 3'000'000}));
    EXPECT_EQ(read[2].Packed, 0x5A4090u) << "running status resolved";

    struct Bad {
        Bytes file;
        std::string message;
    };
    const std::vector<Bad> bad = {
        {{'M', 'T', 'h', 'd'}, "This is not a Standard MIDI-File !"},
        {SmfFileBytes(0, 0xE728, {SmfTrack().End()}), "This File is not MTC-decoded !"},
        {SmfFileBytes(0, 96, {SmfTrack().Event(0, {0xF4, 0x01})}), "Error - Unknown Code !"},
    };
    for (const Bad& b : bad) {
        error.clear();
        EXPECT_FALSE(ReadTimedMidiFile(Write(t, "bad.mid", b.file), read, error));
        EXPECT_EQ(error.rfind(b.message, 0), 0u) << error;
    }
    EXPECT_FALSE(ReadTimedMidiFile(t.home.File("missing.mid"), read, error));
    EXPECT_FALSE(error.empty());
}

TEST(MidiFilePlayer, MessagesGoOutWhenDueAndTheEndLeavesNothingSounding) {
    testing::TestSession t;
    constexpr int Port = 1;  // "Memory Out 2"
    MidiFilePlayer player(t.session->Loop(), t.session->MidiBackend());
    std::string error;
    EXPECT_FALSE(player.Play(Write(t, "two.mid", TwoTrackFile()), "No Such Port", 0, error));
    EXPECT_EQ(error, "Can't open No Such Port, please check MIDI config.");
    EXPECT_FALSE(player.Playing());

    const std::int64_t start = 5'000'000;
    ASSERT_TRUE(player.Play(t.home.File("two.mid"), "Memory Out 2", start, error)) << error;
    EXPECT_TRUE(t.midi->IsOutputOpen(Port));
    const auto notesSent = [&] {
        std::vector<std::uint32_t> notes;
        for (const auto& m : t.midi->Sent(Port))
            if ((m.Packed & 0xE0) == 0x80) notes.push_back(m.Packed);
        return notes;
    };
    EXPECT_EQ(notesSent(), (std::vector<std::uint32_t>{0x643C90})) << "what is due at the start goes at once";
    player.Poll(start + 1'999'999);
    EXPECT_EQ(notesSent().size(), 2u);
    player.Poll(start + 3'000'000);
    EXPECT_EQ(notesSent().size(), 4u);
    EXPECT_FALSE(player.Playing()) << "the last message ends the file";
    EXPECT_FALSE(t.midi->IsOutputOpen(Port));

    // Stopped halfway: every channel's sustain pedal and notes are let go.
    ASSERT_TRUE(player.Play(t.home.File("two.mid"), "Memory Out 2", start, error));
    t.midi->ClearSent(Port);
    player.Stop();
    int allNotesOff = 0;
    for (const auto& m : t.midi->Sent(Port)) allNotesOff += (m.Packed & 0xFFF0) == (0xB0 | 123 << 8) ? 1 : 0;
    EXPECT_EQ(allNotesOff, 16);
    EXPECT_FALSE(player.Playing());
}

}  // namespace
}  // namespace chordella::library
