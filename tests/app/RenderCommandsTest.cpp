// `chordella export`, `render`, `play` and `info` for styles and songs, run as a user runs
// them; the files they write read back by python3-mido.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "midi/Synth.h"
#include "platform/Files.h"
#include "support/MidoReader.h"
#include "support/RunChordella.h"
#include "support/SongBuilder.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

using data::StylePart;

using Result = CommandResult;

class RenderCommands : public ::testing::Test {
protected:
    void SetUp() override {
        StyleBuilder b;
        b.Meter(3).Tempo(90).Program(0, 33);
        b.Part(StylePart::Intro).Measures(1).Note(9, 37, 90, 0, 12);
        b.Part(StylePart::Basic).Measures(2).Note(0, 36, 100, 0, 24).Note(9, 42, 80, 0, 6).Note(9, 42, 80, 24, 6);
        b.Part(StylePart::Ending).Measures(1).Note(0, 36, 100, 0, 48);
        style = folder.File("Waltz.vxs");
        ASSERT_TRUE(b.Write(style));
    }

    // The global flag comes before the command.
    std::string Home() const { return "--home " + Quoted(folder.Path()) + " "; }

    TempFolder folder;
    std::string style;
};

TEST_F(RenderCommands, RenderWritesTheStyleFromTimeZeroForTheMeasuresAsked) {
    const std::string out = folder.File("waltz.mid");
    const Result result = RunChordella(Home() + "render " + Quoted(style) + " --measures 3 -o " + Quoted(out));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    MidoFile file;
    ASSERT_TRUE(ReadWithMido(out, file)) << file.Error;
    EXPECT_EQ(file.Type, 1);
    ASSERT_EQ(file.Division % 24, 0);
    const int scale = file.Division / 24;
    const auto notes = file.Notes();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.front().Tick, 0);
    // Three measures of 3/4 from a two-measure part: its bass note at the start of each pass.
    std::vector<std::int64_t> bass;
    for (const MidoEvent& e : notes)
        if (e.Int("channel") == 0) bass.push_back(e.Tick);
    EXPECT_EQ(bass, (std::vector<std::int64_t>{0, 2 * 72 * scale}));
    for (const MidoEvent& e : file.OfType("end_of_track")) EXPECT_EQ(e.Tick, 3 * 72 * scale);
    const auto signature = file.OfType("time_signature");
    ASSERT_EQ(signature.size(), 1u);
    EXPECT_EQ(signature[0].Int("numerator"), 3);
    EXPECT_EQ(file.OfType("set_tempo").at(0).Int("tempo"), 60'000'000 / 90);
}

// 2000 measures do not fit into the chord memory: every command that reads the song says
// where it was cut, and plays what fits.
TEST_F(RenderCommands, ASongLongerThanTheChordMemoryIsCutWithAWord) {
    std::vector<std::uint8_t> bytes = SongBuilder().At(1).Chord("C").Measures(4).Bytes();
    for (int beat = 0; beat < 2000 * 4; ++beat) bytes.insert(bytes.end(), {55, 1, 0, 0});
    const std::string song = folder.File("Long.vxa");
    std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    const std::string said = "song cut at measure 750: the chord memory holds 750 measures";
    const Result info = RunChordella(Home() + "info " + Quoted(song));
    EXPECT_EQ(info.exitCode, 0) << info.output;
    EXPECT_NE(info.output.find(said), std::string::npos) << info.output;
    const Result exported = RunChordella(Home() + "export " + Quoted(song) + " --style " + Quoted(style) + " -o " +
                                         Quoted(folder.File("long.mid")));
    EXPECT_EQ(exported.exitCode, 0) << exported.output;
    EXPECT_NE(exported.output.find(said), std::string::npos) << exported.output;
}

TEST_F(RenderCommands, ExportWritesTheStyleAloneForEightMeasures) {
    const std::string out = folder.File("export.mid");
    const Result result = RunChordella(Home() + "export " + Quoted(style) + " -o " + Quoted(out));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    MidoFile file;
    ASSERT_TRUE(ReadWithMido(out, file)) << file.Error;
    for (const MidoEvent& e : file.OfType("end_of_track")) EXPECT_EQ(e.Tick, 8 * 72 * file.Division / 24);
    EXPECT_EQ(file.TrackNames.at(0), "Waltz");
}

TEST_F(RenderCommands, RenderToWavWritesSound) {
    if (midi::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    const std::string out = folder.File("waltz.wav");
    const Result result = RunChordella(Home() + "render " + Quoted(style) + " --measures 2 -o " + Quoted(out));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(platform::ReadFileBytes(out, 64 << 20, bytes, error)) << error;
    // Two measures of 3/4 at 90 bpm (4 s) and a 2 s tail, 16-bit stereo at 44.1 kHz.
    EXPECT_NEAR(static_cast<double>(bytes.size() - 44) / (44100.0 * 4), 6.0, 0.01);
}

// A missing file, a file of no kind the commands read, a wrong output kind, damaged bytes, a
// song without a style to play it with (none named, or the one named is nowhere): one line
// naming the file, exit code 1, nothing written.
TEST_F(RenderCommands, WhatCannotBeReadOrPlayedIsRefusedWithOneLineSayingWhatItIs) {
    const std::string out = folder.File("out.mid");
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(folder.File("notes.txt"), std::string_view("hello"), error));
    SongBuilder().At(1).Chord("C").At(2).Chord("F").End().WriteTo(folder.File("Blues.vxa"));
    SongBuilder().Style("C:\\Chordella\\STYLES\\Nowhere.vxs").At(1).Chord("C").End().WriteTo(folder.File("Lost.vxa"));
    std::filesystem::create_directory(folder.File("Folder.vxa"));
    std::filesystem::create_symlink("Gone.vxa", folder.File("Dangling.vxa"));
    // 4096 bytes of noise, starting with no marker byte of the song file.
    std::mt19937 noise(15);
    std::string random(4096, '\0');
    for (char& c : random) c = static_cast<char>(noise() & 0xFF);
    random[0] = 'Q';
    ASSERT_TRUE(platform::WriteFileAtomically(folder.File("Noise.vxa"), random, error));
    const std::pair<std::string, std::string> cases[] = {
        {"render " + Quoted(folder.File("Gone.vxs")) + " -o " + Quoted(out), "Gone.vxs: no such file"},
        {"export " + Quoted(folder.File("notes.txt")) + " -o " + Quoted(out),
         "notes.txt: not a song (.vxa) or a style (.vxs, .sty, .prs, …)"},
        {"render " + Quoted(style) + " -o " + Quoted(folder.File("out.mp3")), "out.mp3: the output must be a .mid or a .wav file"},
        {"render " + Quoted(folder.File("Folder.vxa")) + " -o " + Quoted(out), "Folder.vxa: is a folder, not a file"},
        {"export " + Quoted(folder.File("Dangling.vxa")) + " -o " + Quoted(out), "Dangling.vxa: is a link to a missing file"},
        {"render " + Quoted(folder.File("Noise.vxa")) + " --style " + Quoted(style) + " -o " + Quoted(out),
         "Noise.vxa\" is damaged (not a song: expected comment text at offset"},
        {"render " + Quoted(style) + " --measures 0 -o " + Quoted(out), "--measures must be 1 or more"},
        {"play " + Quoted(style) + " --measures 0", "--measures must be 1 or more"},
        {"render " + Quoted(folder.File("Blues.vxa")) + " -o " + Quoted(out),
         "Blues.vxa: the song names no style; give one with --style"},
        {"export " + Quoted(folder.File("Lost.vxa")) + " -o " + Quoted(out), "was not found; give one with --style"},
    };
    for (const auto& [arguments, expected] : cases) {
        const Result result = RunChordella(Home() + arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments;
        EXPECT_EQ(LineCount(result.output), 1) << result.output;
        EXPECT_NE(result.output.find(expected), std::string::npos) << result.output;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(RunChordella(Home() + "render " + Quoted(style)).exitCode, 2) << "no output: a usage error";
}

TEST_F(RenderCommands, AnOutputIsNeverTheInputNorAnExistingFileOfAnotherKindWithoutForce) {
    const std::string styleBytes = testing::ReadTextFile(style);
    std::filesystem::create_symlink("Waltz.vxs", folder.File("same.mid"));
    const Result self = RunChordella(Home() + "export " + Quoted(style) + " -o " + Quoted(folder.File("same.mid")) + " --force");
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_NE(self.output.find("same.mid: is the input file"), std::string::npos) << self.output;
    EXPECT_EQ(testing::ReadTextFile(style), styleBytes);

    const std::string notes = folder.File("notes.mid"), sound = folder.File("take.wav");
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(notes, std::string_view("my own notes"), error));
    ASSERT_TRUE(platform::WriteFileAtomically(sound, std::string_view("MThd a MIDI file, not sound"), error));
    const Result export1 = RunChordella(Home() + "export " + Quoted(style) + " -o " + Quoted(notes));
    EXPECT_EQ(export1.exitCode, 1);
    EXPECT_NE(export1.output.find("notes.mid: is an existing file that is not a MIDI file; give --force"),
              std::string::npos) << export1.output;
    const Result render1 = RunChordella(Home() + "render " + Quoted(style) + " --measures 1 -o " + Quoted(sound));
    EXPECT_EQ(render1.exitCode, 1);
    EXPECT_NE(render1.output.find("take.wav: is an existing file that is not a WAV file"), std::string::npos);
    EXPECT_EQ(testing::ReadTextFile(notes), "my own notes");

    // A file of the kind is replaced, and --force replaces any file.
    ASSERT_EQ(RunChordella(Home() + "export " + Quoted(style) + " -o " + Quoted(notes) + " --force").exitCode, 0);
    const Result again = RunChordella(Home() + "render " + Quoted(style) + " --measures 1 -o " + Quoted(notes));
    EXPECT_EQ(again.exitCode, 0) << again.output;
}

TEST_F(RenderCommands, ABundledSongFindsItsBundledStyleOnAFreshHome) {
    const std::string demo = chordella::testing::TestsFolder() + "/../assets/songs/demo2.vxa";
    const Result result = RunChordella(Home() + "render " + Quoted(demo) + " --measures 1 -o " + Quoted(folder.File("d.mid")));
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST_F(RenderCommands, PlayWithoutAnAudioDeviceSuggestsRender) {
    if (platform::FolderExists("/dev/snd")) GTEST_SKIP() << "this machine has a sound card";
    const std::string noAudio = "JACK_NO_START_SERVER=1 PULSE_SERVER=unix:/nonexistent";
    const Result result = RunChordella(Home() + "play " + Quoted(style) + " --measures 1", noAudio);
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_EQ(LineCount(result.output), 1) << result.output;
    EXPECT_NE(result.output.find("chordella render"), std::string::npos) << result.output;

    // The demo song on a fresh home: the suggested command works as it is given.
    const Result demo = RunChordella(Home() + "play", noAudio);
    EXPECT_EQ(demo.exitCode, 1) << demo.output;
    const std::size_t at = demo.output.find("write a file: chordella render ");
    ASSERT_NE(at, std::string::npos) << demo.output;
    std::string suggested = demo.output.substr(at + std::strlen("write a file: chordella "));
    suggested = suggested.substr(0, suggested.find(" -o OUT.wav"));
    const Result rendered = RunChordella(Home() + suggested + " -o " + Quoted(folder.File("demo.mid")));
    EXPECT_EQ(rendered.exitCode, 0) << suggested << "\n" << rendered.output;

    const Result port = RunChordella(Home() + "play " + Quoted(style) + " --out 'No Such Port'");
    EXPECT_EQ(port.exitCode, 1);
    EXPECT_NE(port.output.find("No Such Port: no such MIDI output"), std::string::npos) << port.output;
}

TEST_F(RenderCommands, InfoDescribesStylesAndSongs) {
    const Result styleInfo = RunChordella("info " + Quoted(style));
    ASSERT_EQ(styleInfo.exitCode, 0) << styleInfo.output;
    EXPECT_NE(styleInfo.output.find("tempo 90, meter 3/4"), std::string::npos) << styleInfo.output;
    EXPECT_NE(styleInfo.output.find("Basic             measures   2 -   3, channels 1 10"), std::string::npos)
        << styleInfo.output;
    EXPECT_NE(styleInfo.output.find("Intro             measures   1 -   1, channels 10"), std::string::npos);

    const std::string song = folder.File("Blues.vxa");
    SongBuilder().Title("Blues").Tempo(100).Style("C:\\Chordella\\STYLES\\Waltz.vxs").At(1).Chord("C").LoopStart(2)
        .At(2).Chord("F").TempoChange(110).At(3).LoopEnd().End().WriteTo(song);
    const Result songInfo = RunChordella("info " + Quoted(song));
    ASSERT_EQ(songInfo.exitCode, 0) << songInfo.output;
    EXPECT_NE(songInfo.output.find("4 measures, tempo 100, meter 4/4"), std::string::npos) << songInfo.output;
    EXPECT_NE(songInfo.output.find("style: C:\\Chordella\\STYLES\\Waltz.vxs"), std::string::npos) << songInfo.output;
    EXPECT_NE(songInfo.output.find("2.1 Tempo 110"), std::string::npos) << songInfo.output;
    EXPECT_NE(songInfo.output.find("commands (4)"), std::string::npos) << songInfo.output;

    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(folder.File("Broken.vxs"), std::string_view("\x2A\x6F\x73\x02xx"), error));
    const Result broken = RunChordella("info " + Quoted(folder.File("Broken.vxs")));
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(LineCount(broken.output), 1) << broken.output;
}

}  // namespace
}  // namespace chordella::testing
