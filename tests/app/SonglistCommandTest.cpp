// `chordella songlist`: listing, adding (and refusing what a list cannot hold), and playing
// a set in real time on an in-memory output, one status line per song.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/SonglistCommand.h"
#include "library/SongEntry.h"
#include "midi/MemoryBackend.h"
#include "support/BorrowedBackend.h"
#include "support/CapturedText.h"
#include "support/RunChordella.h"
#include "support/SongBuilder.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::testing {
namespace {

StyleBuilder OneNote() {
    StyleBuilder style;
    style.Part(data::StylePart::Basic).Note(0, 48, 100, 0, 20);
    return style;
}

struct SonglistFolder {
    TempFolder home;
    std::string list = home.File("Gig.vxl");

    std::string Song(const std::string& name) {
        const std::string path = home.File("SONGS/" + name + ".vxa");
        std::filesystem::create_directories(home.File("SONGS"));
        SongBuilder().Tempo(250).At(1).Chord("C").Measures(1).End().WriteTo(path);
        return path;
    }
    std::string Entry(const std::string& title, const std::string& path) {
        library::SongEntry entry;
        entry.Title = title;
        entry.Path = path;
        return library::FormatSongEntry(entry) + "\r\n";
    }
    // STYLES/Beat.vxs, by default one note on channel 1.
    void Style(const StyleBuilder& builder = OneNote()) {
        std::filesystem::create_directories(home.File("STYLES"));
        EXPECT_TRUE(builder.Write(home.File("STYLES/Beat.vxs")));
    }
    // Plays `songs` on "Memory Out 1" of `memory` with the style Beat.vxs; answers the exit code.
    int Play(const std::string& songs, midi::MemoryBackend& memory, std::string& printed, std::string& said) {
        memory.AddOutput("Memory Out 1");
        cli::SonglistCommandFlags flags;
        flags.list = songs;
        flags.play = true;
        flags.port = "Memory Out 1";
        flags.style = home.File("STYLES/Beat.vxs");
        flags.home = home.Path();
        CapturedText out, err;
        const int code = cli::RunSonglistCommand(flags, out.file, err.file, std::make_unique<BorrowedBackend>(memory));
        printed = out.Text();
        said = err.Text();
        return code;
    }
};

TEST(SonglistCommand, AddAppendsTheSongAndListPrintsTheEntries) {
    SonglistFolder f;
    const std::string song = f.Song("Ballad");
    const CommandResult added =
        RunChordella("--home " + Quoted(f.home.Path()) + " songlist " + Quoted(f.list) + " --add " + Quoted(song) +
                     " --title 'Slow one'");
    ASSERT_EQ(added.exitCode, 0) << added.output;
    const CommandResult listed = RunChordella("songlist " + Quoted(f.list));
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_NE(listed.output.find("  1  Slow one"), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find(song), std::string::npos);
    EXPECT_NE(listed.output.find("1 songs"), std::string::npos);
    EXPECT_EQ(RunChordella("songlist " + Quoted(f.home.File("None.vxl"))).exitCode, 1);
}

TEST(SonglistCommand, PlayGoesThroughTheSetSkippingAMissingSongWithOneLinePerSong) {
    SonglistFolder f;
    WriteTextFile(f.list, f.Entry("One", f.Song("One")) + f.Entry("Gone", f.home.File("SONGS/Gone.vxa")) +
                              f.Entry("Three", "C:\\Chordella\\SONGS\\THREE.VXA"));
    f.Song("Three");
    f.Style();
    midi::MemoryBackend memory;
    std::string printed, said;
    ASSERT_EQ(f.Play(f.list, memory, printed, said), 0) << said;
    EXPECT_EQ(printed.find("[1/3] One - "), 0u) << printed;
    EXPECT_NE(printed.find("skipped " + f.home.File("SONGS/Gone.vxa") + ": Song not found !"), std::string::npos);
    const std::size_t three = printed.find("[3/3] Three - " + f.home.File("SONGS/Three.vxa") + ", first note ");
    ASSERT_NE(three, std::string::npos) << printed;
    EXPECT_NE(printed.find(" ms after the song before ended\n", three), std::string::npos);
}

// Random bytes, a text file and a line of binary in a list are no songlist: refused with
// the reason, and an --add leaves the file as it was.
TEST(SonglistCommand, WhatIsNotASonglistIsRefusedWithTheReasonAndLeftAlone) {
    SonglistFolder f;
    std::string random(600, '\0');
    for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 7919 + 13) % 256);
    const std::string entry = f.Entry("One", f.Song("One"));
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    };
    for (const Case& c : {Case{"random bytes", random, "not a songlist: line 1"},
                          Case{"a text", "Shopping\r\nmilk, eggs, bread\r\n", "not a songlist: line 1 is not a song entry"},
                          Case{"a bell in an entry", entry + entry.substr(0, 60) + "\a\r\n", "not a songlist: line 2 holds control bytes"}}) {
        SCOPED_TRACE(c.name);
        WriteTextFile(f.list, c.text);
        for (const bool add : {false, true}) {
            cli::SonglistCommandFlags flags;
            flags.list = f.list;
            if (add) flags.add = f.Song("Two");
            CapturedText out, err;
            EXPECT_EQ(cli::RunSonglistCommand(flags, out.file, err.file), 1);
            const std::string said = err.Text();
            EXPECT_NE(said.find(f.list + ": " + c.reason), std::string::npos) << said;
            EXPECT_EQ(out.Text(), "");
            EXPECT_EQ(ReadTextFile(f.list), c.text);
        }
    }
}

// A list copied with its songs into another folder plays them from there; a song that is
// nowhere is named once; a list whose songs are all missing ends with exit 1.
TEST(SonglistCommand, AListFindsItsSongsBesideItAndNamesEachMissingSongOnce) {
    SonglistFolder f;
    TempFolder elsewhere;
    const std::string moved = elsewhere.File("Gig.vxl");
    SongBuilder().Tempo(250).At(1).Chord("C").Measures(1).End().WriteTo(elsewhere.File("Opener.vxa"));
    WriteTextFile(moved, f.Entry("Opener", "/home/band/Gigs/OPENER.VXA") + f.Entry("Gone", "/home/band/Gigs/Gone.vxa"));
    f.Style();
    midi::MemoryBackend memory;
    std::string printed, said;
    EXPECT_EQ(f.Play(moved, memory, printed, said), 0) << said;
    EXPECT_EQ(printed.find("[1/2] Opener - " + elsewhere.File("Opener.vxa")), 0u) << printed;
    const std::string missing = "/home/band/Gigs/Gone.vxa: Song not found !";
    const std::string both = printed + said;
    EXPECT_NE(both.find(missing), std::string::npos) << both;
    EXPECT_EQ(both.find("Song not found !"), both.rfind("Song not found !")) << "named once: " << both;

    WriteTextFile(f.list, f.Entry("Gone", "/home/band/Gigs/Gone.vxa"));
    midi::MemoryBackend again;
    EXPECT_EQ(f.Play(f.list, again, printed, said), 1);
    EXPECT_NE(said.find(f.list + ": none of its songs could be played"), std::string::npos) << said;
}

// As the session-mode question takes it: 0 turns session mode off, more than 20 plays 20 (a
// negative count is a usage error: CommandLine.AnUnknownCommandOrFlagIsOneLineAndExitCodeTwo).
TEST(SonglistCommand, RepeatsOfZeroAndAboveTwentyAreTakenAsTheListsRulesSay) {
    SonglistFolder f;
    WriteTextFile(f.list, f.Entry("One", f.Song("One")));
    for (const auto& [repeats, code] : std::vector<std::pair<std::string, int>>{{"0", 0}, {"21", 0}}) {
        const CommandResult result = RunChordella("--home " + Quoted(f.home.Path()) + " songlist " + Quoted(f.list) +
                                                  " --session --repeats " + repeats);
        EXPECT_EQ(result.exitCode, code) << repeats << ": " << result.output;
    }
}

// The entry's mixer bars are the song's balance: the style's own volume events, which play
// when the song starts and at every part, must not sound over them.
TEST(SonglistCommand, TheMixerVolumesAnEntryStoresStayOnTheOutputWhileTheSongPlays) {
    SonglistFolder f;
    library::SongEntry entry;
    entry.Title = "Quiet bass";
    entry.Path = f.Song("Quiet");
    entry.MixerBars.fill(255);  // what a list stores for a bar never moved
    entry.MixerBars[1] = 0x32;  // channel 2
    WriteTextFile(f.list, library::FormatSongEntry(entry) + "\r\n");
    StyleBuilder style;
    style.Controller(1, 7, 0x7F);  // the style's own set-up: full volume
    style.Part(data::StylePart::Basic).Controller(1, 7, 0x7F, 0).Note(1, 48, 100, 0, 20).Controller(2, 7, 0x64, 0);
    f.Style(style);
    midi::MemoryBackend memory;
    std::string printed, said;
    ASSERT_EQ(f.Play(f.list, memory, printed, said), 0) << said;
    std::vector<int> channel2, channel3;
    for (const midi::SentMessage& m : memory.Sent(0)) {
        if ((m.Packed & 0xFFFF) == 0x07B1) channel2.push_back(static_cast<int>(m.Packed >> 16));
        if ((m.Packed & 0xFFFF) == 0x07B2) channel3.push_back(static_cast<int>(m.Packed >> 16));
    }
    ASSERT_FALSE(channel2.empty());
    EXPECT_EQ(channel2.front(), 0x32);
    EXPECT_EQ(std::count(channel2.begin(), channel2.end(), 0x7F), 0) << "the style's volume never covers the bar's";
    EXPECT_EQ(channel3, std::vector<int>{0x64}) << "a channel the entry leaves alone keeps the style's volume";
}

}  // namespace
}  // namespace chordella::testing
