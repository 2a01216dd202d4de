// `chordella create`: a groove over C, Am, F and G7, written here as a MIDI file, becomes a
// style whose Basic plays the groove's material over C major; and what the command refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <tuple>

#include "app/RenderSession.h"
#include "cli/CreateCommand.h"
#include "cli/FileCommands.h"
#include "data/StyleModel.h"
#include "midi/MidiBackend.h"
#include "platform/Files.h"
#include "support/CapturedText.h"
#include "support/RunChordella.h"
#include "support/SmfBuilder.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

constexpr int Quarter = 96;  // the file's division
constexpr int Bar = 4 * Quarter;

struct GrooveChord {
    std::vector<int> Pad;     // held for the measure
    std::vector<int> Arpeggio;  // eight eighths
    int Bass1, Bass3;         // beats 1 and 3
};

// Four measures: C, A minor, F, G7. Every pitched note is a tone of its measure's chord; the
// drums play on channel 10.
Bytes GrooveFile() {
    const std::vector<GrooveChord> chords = {
        {{60, 64, 67}, {60, 64, 67, 72, 67, 64, 60, 64}, 36, 43},
        {{57, 60, 64}, {57, 60, 64, 69, 64, 60, 57, 60}, 45, 40},
        {{53, 57, 60}, {65, 69, 72, 77, 72, 69, 65, 69}, 41, 48},
        {{55, 59, 62, 65}, {67, 71, 74, 77, 74, 71, 77, 65}, 43, 41},
    };
    std::vector<std::tuple<int, int, std::vector<std::uint8_t>>> events;  // tick, order, bytes
    auto note = [&](int tick, int channel, int key, int length) {
        events.push_back({tick, 1, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key), 96}});
        events.push_back({tick + length, 0, {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(key), 64}});
    };
    for (int measure = 0; measure < 4; ++measure) {
        const GrooveChord& c = chords[static_cast<std::size_t>(measure)];
        const int start = measure * Bar;
        for (const int key : c.Pad) note(start, 1, key, Bar - 8);
        for (int i = 0; i < 8; ++i) note(start + i * Quarter / 2, 2, c.Arpeggio[static_cast<std::size_t>(i)], 40);
        note(start, 0, c.Bass1, Quarter);
        note(start + 2 * Quarter, 0, c.Bass3, Quarter);
        for (int beat = 0; beat < 4; ++beat) {
            note(start + beat * Quarter, 9, beat % 2 ? 38 : 36, 20);
            note(start + beat * Quarter + Quarter / 2, 9, 42, 20);
        }
    }
    std::stable_sort(events.begin(), events.end());
    SmfTrack track;
    track.Tempo(0, 500000).TimeSignature(0, 4, 2, 24, 8).Program(0, 0, 33).Program(0, 1, 89).Program(0, 2, 5);
    int now = 0;
    for (const auto& [tick, order, bytes] : events) {
        track.Event(static_cast<std::uint32_t>(tick - now), {bytes[0], bytes[1], bytes[2]});
        now = tick;
    }
    track.End(static_cast<std::uint32_t>(4 * Bar - now));
    return SmfFileBytes(0, Quarter, {track});
}

std::string Capture(const std::function<int(std::FILE*, std::FILE*)>& run, int& code) {
    CapturedText out;
    code = run(out.file, out.file);
    return out.Text();
}

class CreateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(platform::WriteFileAtomically(Midi(), GrooveFile(), error)) << error;
    }
    std::string Midi() const { return folder.Path() + "/Groove.mid"; }
    std::string Style() const { return folder.Path() + "/Groove.vxs"; }
    cli::CreateCommandFlags Flags() const {
        cli::CreateCommandFlags flags;
        flags.input = Midi();
        flags.output = Style();
        flags.home = folder.Path() + "/home";
        return flags;
    }
    std::string Create(const cli::CreateCommandFlags& flags, int& code) {
        return Capture([&](std::FILE* out, std::FILE* err) { return cli::RunCreateCommand(flags, out, err); }, code);
    }
    // The line of `chordella info` on a work file that starts with `what`.
    std::string InfoLine(const std::string& work, const std::string& what) {
        int code = -1;
        const std::string text =
            Capture([&](std::FILE* out, std::FILE* err) { return cli::RunInfoCommand(work, out, err); }, code);
        EXPECT_EQ(code, 0) << text;
        const auto at = text.find(what);
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    }
    // The pitch classes of the non-drum notes the style's Basic plays over C major.
    std::set<int> BasicPitchClassesUnderC(int& notes) {
        app::RenderSession render(platform::Paths::InFolder(folder.Path() + "/render"));
        std::string error;
        EXPECT_TRUE(render.LoadStyle(Style(), error)) << error;
        data::SmfContent content;
        EXPECT_TRUE(render.RenderPart(data::Index(data::StylePart::Basic), content, 48, 1));
        std::set<int> classes;
        notes = 0;
        for (const data::SmfChannelMessage& m : content.Messages) {
            if ((m.Status & 0xF0) != 0x90 || m.Data2 == 0 || (m.Status & 0x0F) == 9) continue;
            classes.insert(m.Data1 % 12);
            ++notes;
        }
        return classes;
    }

    TempFolder folder;
};

TEST_F(CreateCommandTest, AGrooveOverFourChordsBecomesABasicThatPlaysItsMaterialInCMajor) {
    cli::CreateCommandFlags flags = Flags();
    flags.parts = {"Basic=1-4"};
    flags.interval = "1/1";
    flags.mode = 2;  // chord types only: each chord tone lands on a tone of C major's triad
    flags.work = folder.Path() + "/Groove.vxw";
    int code = -1;
    const std::string report = Create(flags, code);
    ASSERT_EQ(code, 0) << report;
    EXPECT_NE(report.find("4 chord changes found"), std::string::npos) << report;
    EXPECT_NE(report.find("Basic 1-4"), std::string::npos) << report;
    int notes = 0;
    EXPECT_EQ(BasicPitchClassesUnderC(notes), (std::set<int>{0, 4, 7}));
    EXPECT_EQ(notes, 4 * (3 + 8 + 2) + 1);  // pads (G7's has four notes), arpeggios, bass

    // The default: quick style, all notes to C major's triad, every part set.
    flags = Flags();
    flags.force = true;
    const std::string quick = Create(flags, code);
    ASSERT_EQ(code, 0) << quick;
    const std::set<int> classes = BasicPitchClassesUnderC(notes);
    EXPECT_GT(notes, 0);
    for (const int pc : classes) EXPECT_TRUE(pc == 0 || pc == 4 || pc == 7) << pc;
    EXPECT_NE(quick.find("6 parts set"), std::string::npos) << quick;

    // The work file shows its chords and parts.
    const std::string work = folder.Path() + "/Groove.vxw";
    EXPECT_EQ(InfoLine(work, "chords ("), "chords (4): 1:1 C, 2:1 Am, 3:1 F, 4:1 G7");
    EXPECT_EQ(InfoLine(work, "parts: ").rfind("parts: Basic 1-4", 0), 0u);

    // The work file as material keeps its chords (the default interval 1/4 is not asked for);
    // asking for another interval generates them again.
    flags = Flags();
    flags.input = work;
    flags.force = true;
    flags.work = folder.Path() + "/Kept.vxw";
    const std::string kept = Create(flags, code);
    ASSERT_EQ(code, 0) << kept;
    EXPECT_NE(kept.find("4 chord changes kept"), std::string::npos) << kept;
    EXPECT_EQ(InfoLine(flags.work, "chords ("), "chords (4): 1:1 C, 2:1 Am, 3:1 F, 4:1 G7");
    flags.interval = "2/1";
    flags.newChords = true;
    flags.work = folder.Path() + "/New.vxw";
    const std::string regenerated = Create(flags, code);
    ASSERT_EQ(code, 0) << regenerated;
    EXPECT_NE(regenerated.find("found"), std::string::npos) << regenerated;
    const std::string newChords = InfoLine(flags.work, "chords (");
    EXPECT_NE(newChords.find("1:1"), std::string::npos) << newChords;
    EXPECT_EQ(newChords.find("2:1"), std::string::npos) << newChords;
}

TEST_F(CreateCommandTest, WrongValuesAndUselessMaterialAreRefusedWithoutWritingAStyle) {
    int code = -1;
    cli::CreateCommandFlags flags = Flags();
    flags.interval = "3/8";
    EXPECT_NE(Create(flags, code).find("--interval"), std::string::npos);
    EXPECT_EQ(code, 2);
    flags = Flags();
    flags.parts = {"Chorus=1-4"};
    EXPECT_NE(Create(flags, code).find("no part is named"), std::string::npos);
    EXPECT_EQ(code, 2);
    flags = Flags();
    flags.parts = {"Basic=7-8"};
    EXPECT_NE(Create(flags, code).find("Measures 1 - 4 available for stylecreating !"), std::string::npos);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(platform::FileExists(Style()));

    // Drums alone make a drum style: nothing to name or convert.
    SmfTrack drums;
    drums.Tempo(0, 500000);
    for (int beat = 0; beat < 16; ++beat) drums.NoteOn(beat ? Quarter - 10 : 0, 9, 36, 100).NoteOff(10, 9, 36);
    drums.End(0);
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(Midi(), SmfFileBytes(0, Quarter, {drums}), error));
    flags = Flags();
    const std::string drumStyle = Create(flags, code);
    EXPECT_EQ(code, 0) << drumStyle;
    EXPECT_NE(drumStyle.find("0 chord changes found, 0 notes converted"), std::string::npos) << drumStyle;
    std::filesystem::remove(Style());

    // A file with no notes at all, and bytes that are no MIDI file.
    SmfTrack empty;
    empty.Tempo(0, 500000).End(4 * Bar);
    ASSERT_TRUE(platform::WriteFileAtomically(Midi(), SmfFileBytes(0, Quarter, {empty}), error));
    const std::string none = Create(Flags(), code);
    EXPECT_EQ(code, 1) << none;
    ASSERT_TRUE(platform::WriteFileAtomically(Midi(), std::string_view("MThd junk"), error));
    const std::string junk = Create(Flags(), code);
    EXPECT_EQ(code, 1) << junk;
    EXPECT_FALSE(platform::FileExists(Style()));
}

TEST_F(CreateCommandTest, TheStructureFileLaysOutTheParts) {
    const std::string home = folder.Path() + "/home";
    ASSERT_TRUE(platform::MakeFolders(home));
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(home + "/Style.src",
                                              std::string_view("[Basic_2]\nStart=1\nEnd=2\n[Extended_2]\nStart=3\nEnd=4\n"
                                                               "[Ending_2]\nStart=4\nEnd=x\n"),
                                              error))
        << error;
    cli::CreateCommandFlags flags = Flags();
    flags.structure = "B";
    int code = -1;
    const std::string report = Create(flags, code);
    ASSERT_EQ(code, 0) << report;
    EXPECT_NE(report.find("Basic 1-2"), std::string::npos) << report;
    EXPECT_NE(report.find("Extended 3-4"), std::string::npos) << report;
    EXPECT_EQ(report.find("Ending"), std::string::npos) << report;  // its end is no number

    flags.structure = "A";  // nothing laid out for style A
    flags.force = true;
    EXPECT_NE(Create(flags, code).find("no part could be set"), std::string::npos);
    EXPECT_EQ(code, 1);
}

TEST_F(CreateCommandTest, TheExecutableRunsTheCommand) {
    const CommandResult result = RunChordella("--home " + folder.Path() + "/home create " + Midi() + " -o " + Style() +
                                              " --part Basic=1-2 --part Extended=3-4 --chord-set 2");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(LineCount(result.output), 1) << result.output;
    EXPECT_NE(result.output.find("Extended 3-4"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace chordella::testing
