// The song player on the engine's real song playback (virtual clock, recorded output):
// a set of songs plays in order with each entry's settings, session mode repeats every
// song at its ending mark, and a missing song is skipped.

#include <algorithm>
#include <gtest/gtest.h>

#include "engine/SongRig.h"
#include "library/SongPlayer.h"
#include "library/Songlist.h"
#include "support/ScriptedPrompter.h"
#include "support/SmfBuilder.h"
#include "support/TextFiles.h"

namespace chordella::testing {
namespace {

constexpr int MelodyChannel = 2;
constexpr int MelodyNote = 72;
constexpr std::int64_t MillisPerTick = 21;  // 120 bpm, 24 ticks a beat

struct Played {
    int Entry;
    int Measure;
};

struct PlayerRig : SongRig {
    PlayerRig() {
        EXPECT_TRUE(Load(BeatStyle()));
        Clock.StartVirtual(120);
        list.LoadInstruments = true;
        player.SongStarted = [this](const library::SongStart& start) {
            starts.push_back(start);
            startTicks.push_back(ClockFields().TickCount);
        };
    }

    chordella::testing::ScriptedPrompter& Prompter() { return *Test.prompter; }

    // A song of three measures in `chord` with an ending mark at measure 3 and one melody
    // note at its start; its entry carries the given settings.
    void AddSong(const std::string& name, const std::string& chord, library::SongEntry settings, bool write = true) {
        const int ending = State().config.Keys.Ending;
        const std::string path = Test.home.Path() + "/SONGS/" + name + ".vxa";
        if (write) {
            SongBuilder song;
            song.At(1).Chord(chord).At(3).Section(ending).Measures(3).End();
            song.NoteAt(1, 1, MelodyNote, 1, 100, MelodyChannel);
            std::filesystem::create_directories(Test.home.Path() + "/SONGS");
            song.WriteTo(path);
        }
        settings.Title = name;
        settings.Path = path;
        ASSERT_TRUE(list.Append(settings));
    }

    // Runs the set to its end; the measure of every beat record that starts a measure.
    std::vector<Played> RunSet(int maxTicks = 20000) {
        std::vector<Played> played;
        std::int64_t now = 0;
        player.Start(std::nullopt, now);
        for (int i = 0; i < maxTicks && player.Running(); ++i) {
            const int before = Position();
            Run(1);
            now += MillisPerTick;
            player.Poll(now);
            if (!Playing() || Position() == before) continue;
            const int at = Position() - 4;
            if (at >= 4 && (at - 4) % 16 == 0) played.push_back({player.CurrentEntry(), data::MeasureOf(at, 16)});
        }
        return played;
    }

    // Note-ons on `channel` from tick `from` up to tick `to`.
    std::vector<int> NotesOn(int channel, std::int64_t from, std::int64_t to) const {
        std::vector<int> notes;
        for (const SentMessage& m : Out.Messages)
            if (m.IsNoteOn() && m.Channel() == channel && m.Tick >= from && m.Tick < to) notes.push_back(m.Data1);
        return notes;
    }

    library::Songlist list{*Test.prompter};
    app::AppState& app = Test.state;
    library::SongPlayer player{*Test.session,
                               {app.options, app.arrangement, app.engine, app.keyboard, app.melody, app.songPlay,
                                app.transport},
                               list};
    std::vector<library::SongStart> starts;
    std::vector<std::int64_t> startTicks;
};

library::SongEntry Settings(int octave, int transposition, int mutedChannel = -1) {
    library::SongEntry entry;
    for (std::size_t c = 0; c < entry.Mutes.size(); ++c) entry.Mutes[c] = static_cast<int>(c) == mutedChannel;
    entry.ChannelIndex = 0;
    entry.Octave = octave;
    entry.Transposition = transposition;
    return entry;
}

std::vector<int> MeasuresOf(const std::vector<Played>& played, int entry) {
    std::vector<int> measures;
    for (const Played& p : played)
        if (p.Entry == entry) measures.push_back(p.Measure);
    return measures;
}

std::vector<int> FirstOf(const std::vector<int>& measures, std::size_t count) {
    return {measures.begin(), measures.begin() + static_cast<std::ptrdiff_t>(std::min(count, measures.size()))};
}

TEST(SongPlayer, ASessionPlaysEverySongTwiceInOrderWithItsOwnMutesAndTransposition) {
    PlayerRig rig;
    rig.AddSong("One", "C", Settings(0, 0));
    rig.AddSong("Two", "F", Settings(0, 0, /*mutedChannel=*/0));
    library::SongEntry three = Settings(1, 2);
    three.MixerBars[0] = 90;
    rig.AddSong("Three", "G", three);
    for (int entry = 0; entry < 3; ++entry) rig.list.Enqueue(entry);
    rig.player.SetSessionRepeats(2);

    const std::vector<Played> played = rig.RunSet();
    EXPECT_FALSE(rig.player.Running());
    ASSERT_EQ(rig.starts.size(), 3u);
    for (int entry = 0; entry < 3; ++entry) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(rig.starts[static_cast<std::size_t>(entry)].Entry, entry);
        EXPECT_EQ(rig.starts[static_cast<std::size_t>(entry)].Repeats, 2);
        // The ending mark at measure 3 sends the song back once: 1 2 1 2 3, then the ending.
        EXPECT_EQ(FirstOf(MeasuresOf(played, entry), 5), (std::vector<int>{1, 2, 1, 2, 3}));
    }
    EXPECT_GE(rig.starts[1].GapMillis, library::NextSongDelayMillis);

    const auto& t = rig.startTicks;
    const std::int64_t end = rig.ClockFields().TickCount;
    // The melody note: as written, then an octave and two semitones up for song three.
    EXPECT_EQ(rig.NotesOn(MelodyChannel, t[0], t[1]), (std::vector<int>{MelodyNote, MelodyNote}));
    EXPECT_EQ(rig.NotesOn(MelodyChannel, t[2], end), (std::vector<int>{MelodyNote + 14, MelodyNote + 14}));
    // Channel 1 (the bass) is muted for song two only; the drums play throughout.
    EXPECT_FALSE(rig.NotesOn(0, t[0], t[1]).empty());
    EXPECT_TRUE(rig.NotesOn(0, t[1], t[2]).empty());
    EXPECT_FALSE(rig.NotesOn(9, t[1], t[2]).empty());
    EXPECT_FALSE(rig.NotesOn(0, t[2], end).empty());
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
    EXPECT_EQ(
        rig.Out.Where([&](const SentMessage& m) { return m.Status == 0xB0 && m.Data1 == 7 && m.Data2 == 90; }).size(),
        1u)
        << "song three's volume bar of channel 1";
    EXPECT_FALSE(rig.Options().MixerMuteLock) << "the lock that kept song two's mutes is given back";
}

TEST(SongPlayer, AMissingSongIsSkippedWithAMessageAndTheSetGoesOn) {
    PlayerRig rig;
    rig.AddSong("One", "C", Settings(0, 0));
    rig.AddSong("Gone", "F", Settings(0, 0), /*write=*/false);
    rig.AddSong("Three", "G", Settings(0, 0));
    // A MIDI file the song host cannot import is skipped the same way.
    rig.State().options.UseMci = false;
    WriteTextFile(rig.Test.home.Path() + "/SONGS/Tune.mid", "MThd");
    library::SongEntry midi = Settings(0, 0);
    midi.Path = rig.Test.home.Path() + "/SONGS/Tune.mid";
    ASSERT_TRUE(rig.list.Append(midi));
    for (int entry = 0; entry < 4; ++entry) rig.list.Enqueue(entry);

    const std::vector<Played> played = rig.RunSet();
    EXPECT_TRUE(rig.Prompter().WasShown("The song \"" + midi.Path + "\" could not be opened !"));
    ASSERT_EQ(rig.starts.size(), 2u);
    EXPECT_EQ(rig.starts[0].Entry, 0);
    EXPECT_EQ(rig.starts[1].Entry, 2);
    const auto& shown = rig.Prompter().Shown();
    EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                            [](const std::string& text) {
                                return text.ends_with(": " + std::string(library::SongNotFoundMessage));
                            }),
              1)
        << "the missing song is named once";
    EXPECT_EQ(FirstOf(MeasuresOf(played, 2), 4), (std::vector<int>{1, 2, 3, 4})) << "session mode off: once";
}

// "Use MCI" (on by default): a MIDI file between two songs plays as it is on the main output
// instead of being imported, and the set goes on after it.
TEST(SongPlayer, WithUseMciAMidiFilePlaysAsItIsAndTheSetGoesOn) {
    PlayerRig rig;
    rig.AddSong("One", "C", Settings(0, 0));
    const std::string tune = rig.Test.home.Path() + "/SONGS/Tune.mid";
    const Bytes bytes = SmfFileBytes(0, 96, {SmfTrack().NoteOn(0, 0, 60, 100).Event(0, {60, 0}).End()});
    WriteTextFile(tune, std::string(bytes.begin(), bytes.end()));
    library::SongEntry midi = Settings(0, 0);
    midi.Path = tune;
    ASSERT_TRUE(rig.list.Append(midi));
    rig.AddSong("Three", "G", Settings(0, 0));
    for (int entry = 0; entry < 3; ++entry) rig.list.Enqueue(entry);

    rig.RunSet();
    ASSERT_EQ(rig.starts.size(), 3u);
    EXPECT_EQ(rig.starts[1].Path, tune);
    std::vector<std::uint32_t> played;
    for (const auto& m : rig.Test.midi->Sent(-1))
        if ((m.Packed & 0xF0) == 0x90) played.push_back(m.Packed);
    EXPECT_EQ(played, (std::vector<std::uint32_t>{0x643C90, 0x003C90})) << "the file's notes on the built-in synth";
    EXPECT_TRUE(rig.Prompter().Shown().empty());
    EXPECT_EQ(rig.starts[2].Entry, 2);
}

TEST(SongPlayer, TheSessionButtonAsksForRepeatsAndClearsTheLoopBox) {
    PlayerRig rig;
    rig.Options().Loop = true;
    rig.Prompter().AnswerText("35");
    rig.player.AskSessionMode();
    EXPECT_TRUE(
        rig.Prompter().WasShown(std::string(library::SessionCaption) + ": " + std::string(library::SessionQuestion)));
    EXPECT_EQ(rig.player.SessionRepeats(), library::MaxSessionRepeats);
    EXPECT_FALSE(rig.Options().Loop);
    rig.Prompter().AnswerText("");
    rig.player.AskSessionMode();
    EXPECT_EQ(rig.player.SessionRepeats(), 0) << "an empty answer switches session mode off";
}

TEST(SongPlayer, NextSkipsAtOnceAndTheNextTitleIsTheFirstQueued) {
    PlayerRig rig;
    rig.AddSong("One", "C", Settings(0, 0));
    rig.AddSong("Two", "F", Settings(0, 0));
    rig.list.Enqueue(0);
    rig.list.Enqueue(1);
    rig.player.Start(std::nullopt, 0);
    EXPECT_EQ(rig.player.CurrentEntry(), 0);
    EXPECT_EQ(rig.player.NextTitle(), "Two");
    rig.Run(30);
    rig.player.Next(700);
    EXPECT_EQ(rig.player.CurrentEntry(), 1);
    EXPECT_TRUE(rig.Playing());
    rig.player.Previous(800);
    EXPECT_EQ(rig.player.CurrentEntry(), 0);
    EXPECT_EQ(rig.player.NextTitle(), "Two");
}

}  // namespace
}  // namespace chordella::testing
