// A keyboard style of another maker converted with "Channel table (native)": the .vxs keeps the
// maker's notes and each channel's rules, plays as the keyboard style played natively does, keeps
// its rules when saved again, and reads as a plain style where its rules block is not known.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "app/ForeignStylePlay.h"
#include "app/RenderSession.h"
#include "cli/ConvertCommand.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "data/NativeRulesBlock.h"
#include "data/StyleFile.h"
#include "platform/Files.h"
#include "platform/RecordingPrompter.h"
#include "support/CapturedText.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

struct Chord {
    const char* Name;
    int Root;
    int Type;
};
constexpr Chord Chords[] = {{"CMaj7", 48, 9}, {"C", 48, 1}, {"Am7", 57, 4}, {"F", 53, 1},
                            {"G7", 55, 3},    {"Dm7b5", 50, 15}, {"Bb", 58, 1}};
constexpr int Piano = 11;

using Message = std::tuple<int, int, int, long>;   // status, data 1, data 2, tick

std::vector<Message> Played(app::RenderSession& render, int part, const Chord& chord) {
    data::SmfContent content;
    EXPECT_TRUE(render.RenderPart(part, content, chord.Root, chord.Type)) << chord.Name;
    std::vector<Message> messages;
    for (const data::SmfChannelMessage& m : content.Messages)
        messages.emplace_back(m.Status, m.Data1, m.Data2, static_cast<long>(m.Tick));
    return messages;
}

bool Sounds(const std::vector<Message>& messages, int channel, int key) {
    for (const auto& [status, data1, data2, tick] : messages)
        if (status == 0x90 + channel && data1 == key && data2 > 0) return true;
    return false;
}

struct Conversion {
    int Result = 0;
    std::string Out, Err;
};

Conversion Convert(const std::string& input, const std::string& folder, bool native) {
    cli::ConvertCommandFlags flags;
    flags.inputs = {input};
    flags.outputFolder = folder;
    flags.sets = "1";
    flags.native = native;
    CapturedText out, err;
    const int result = cli::RunConvertCommand(flags, out.file, err.file);
    return {result, out.Text(), err.Text()};
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(platform::ReadFileBytes(path, 1u << 20, bytes, error)) << error;
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, bytes, error)) << error;
}

// The sample keyboard style and its native and plain conversions, set 1.
struct Converted {
    TempFolder folder;
    std::string Source = folder.File("Four.sty");
    std::string Native = folder.File("native/Four-1.vxs");
    std::string Plain = folder.File("plain/Four-1.vxs");
    Conversion NativeRun, PlainRun;

    Converted() {
        EXPECT_TRUE(SampleKeyboardStyle().Write(Source));
        std::filesystem::create_directories(folder.File("native"));
        std::filesystem::create_directories(folder.File("plain"));
        NativeRun = Convert(Source, folder.File("native"), true);
        PlainRun = Convert(Source, folder.File("plain"), false);
    }
};

struct Player {
    TempFolder home;
    app::RenderSession render{platform::Paths::InFolder(home.Path())};

    explicit Player(const std::string& style) {
        std::string error;
        EXPECT_TRUE(render.LoadStyle(style, error)) << style << ": " << error;
    }
    const data::StyleState& Style() { return render.Session().Style().style; }
};

TEST(NativeStyleFile, ConvertedNativelyItPlaysTheNotesOfTheKeyboardStylePlayedNatively) {
    Converted converted;
    ASSERT_EQ(converted.NativeRun.Result, 0) << converted.NativeRun.Err;
    EXPECT_NE(converted.NativeRun.Out.find("native (channel rules kept)"), std::string::npos) << converted.NativeRun.Out;
    Player vxs(converted.Native), keyboard(converted.Source), plain(converted.Plain);
    ASSERT_TRUE(vxs.Style().Native.Present);
    ASSERT_TRUE(keyboard.Style().Native.Present);
    EXPECT_FALSE(plain.Style().Native.Present);

    int parts = 0;
    for (int part = 0; part < data::PartCount; ++part) {
        if (!vxs.Style().Parts[static_cast<std::size_t>(part)].Present()) continue;
        ++parts;
        for (const Chord& chord : Chords)
            EXPECT_EQ(Played(vxs.render, part, chord), Played(keyboard.render, part, chord))
                << "part " << part << " over " << chord.Name;
    }
    EXPECT_EQ(parts, 8);
    // The maker's B over CMaj7 stays; the plain conversion moved it onto the triad (under C
    // major a plain style plays the notes it stores).
    constexpr int Basic = 1;
    EXPECT_TRUE(Sounds(Played(vxs.render, Basic, Chords[0]), Piano, 71));
    EXPECT_FALSE(Sounds(Played(plain.render, Basic, Chords[1]), Piano, 71));
}

// Which bytes are a rules block and which stream, and every kind of damage, are read in
// tests/data NativeRulesBlockTest; here what a user is told when a block is damaged.
TEST(NativeStyleFile, ADamagedBlockIsToldAndTheStyleLoadsPlain) {
    Converted converted;
    std::vector<std::uint8_t> file = FileBytes(converted.Native);
    ASSERT_GT(file.size(), data::RulesTrailerBytes + 10);
    file[file.size() - data::RulesTrailerBytes - 2] ^= 0x01;   // an entry byte: the checksum no longer agrees
    const std::string damaged = converted.folder.File("damaged.vxs");
    WriteBytes(damaged, file);

    Player player(damaged);
    EXPECT_TRUE(player.render.StyleLoaded());
    EXPECT_FALSE(player.Style().Native.Present);
    const std::string shown = player.render.Prompter().LastShown("");
    EXPECT_NE(shown.find("\"damaged.vxs\" plays without its channel rules: "), std::string::npos) << shown;
    EXPECT_NE(shown.find("checksum"), std::string::npos) << shown;
}

TEST(NativeStyleFile, SavingANativeStyleKeepsItsRulesWhetherLoadedFromTheFileOrTheKeyboardStyle) {
    Converted converted;
    const std::vector<std::uint8_t> original = FileBytes(converted.Native);
    const std::vector<std::uint8_t> block = [&] {
        data::StyleImage image;
        std::string error;
        EXPECT_TRUE(data::ReadStyleFile(original, image, error)) << error;
        return data::RulesBlockBytes(image.Native);
    }();
    ASSERT_FALSE(block.empty());
    for (const std::string& loaded : {converted.Native, converted.Source}) {
        Player player(loaded);
        const std::string saved = converted.folder.File("saved.vxs");
        data::StyleStore store(player.render.Session());
        ASSERT_TRUE(store.Save(saved)) << loaded;
        const std::vector<std::uint8_t> bytes = FileBytes(saved);
        ASSERT_GE(bytes.size(), block.size());
        EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.end() - static_cast<std::ptrdiff_t>(block.size())))
            << loaded << ": the saved file ends with the same rules";
        Player again(saved);
        EXPECT_TRUE(again.Style().Native.Present) << loaded;
        for (const Chord& chord : Chords)
            EXPECT_EQ(Played(again.render, 2, chord), Played(player.render, 2, chord)) << loaded << " " << chord.Name;
    }
}

TEST(NativeStyleFile, WithoutAUsableChannelTableTheNativeModeConvertsAndSaysWhy) {
    TempFolder folder;
    const std::string source = folder.File("Bare.sty");
    ASSERT_TRUE(SampleKeyboardStyle({.WithChannelTable = false}).Write(source));
    const Conversion run = Convert(source, folder.Path(), true);
    EXPECT_EQ(run.Result, 0) << run.Err;
    EXPECT_NE(run.Out.find("the file has no channel table: the styles are converted"), std::string::npos) << run.Out;
    Player player(folder.File("Bare-1.vxs"));
    EXPECT_FALSE(player.Style().Native.Present);

    cli::ConvertCommandFlags flags;
    flags.inputs = {source};
    flags.outputFolder = folder.Path();
    flags.native = true;
    flags.noCasm = true;
    CapturedText out, err;
    EXPECT_EQ(cli::RunConvertCommand(flags, out.file, err.file), 2);
    EXPECT_NE(err.Text().find("--native"), std::string::npos);
}

}  // namespace
}  // namespace chordella::testing
