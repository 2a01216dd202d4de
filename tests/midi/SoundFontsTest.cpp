// Which files are General MIDI SoundFonts, what they are called, and which one plays when
// the player chose none: read from SoundFont files written here, whole and damaged.
#include "midi/SoundFonts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Bytes.h"
#include "support/TempFolder.h"

namespace chordella::midi {
namespace {

std::vector<std::uint8_t> Chunk(const char* id, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out(id, id + 4);
    platform::ByteWriter(out).U32(static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
    return out;
}

std::vector<std::uint8_t> List(const char* kind, std::vector<std::uint8_t> body) {
    body.insert(body.begin(), kind, kind + 4);
    return Chunk("LIST", body);
}

// A SoundFont with presets for bank 0 programs 0 … programs-1 and, when asked, a drum kit.
std::vector<std::uint8_t> SoundFont(const std::string& name, int programs, bool drums) {
    std::vector<std::uint8_t> headers;
    platform::ByteWriter w(headers);
    const auto preset = [&](int program, int bank) {
        w.Zeros(20);
        w.U16(static_cast<std::uint16_t>(program));
        w.U16(static_cast<std::uint16_t>(bank));
        w.U16(0);
        w.Zeros(12);
    };
    for (int program = 0; program < programs; ++program) preset(program, 0);
    if (drums) preset(0, 128);
    preset(0, 0);  // the closing header
    std::vector<std::uint8_t> title(name.begin(), name.end());
    title.push_back(0);
    std::vector<std::uint8_t> body = {'s', 'f', 'b', 'k'};
    for (const auto& part : {List("INFO", Chunk("INAM", title)), List("sdta", Chunk("smpl", std::vector<std::uint8_t>(64))),
                             List("pdta", Chunk("phdr", headers))})
        body.insert(body.end(), part.begin(), part.end());
    return Chunk("RIFF", body);
}

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

TEST(SoundFonts, AGeneralMidiSetHasNearlyEveryProgramAndADrumKitAndWhatIsNotASoundFontIsRefused) {
    SoundFontInfo info;
    std::string error;
    ASSERT_TRUE(ReadSoundFontInfo(SoundFont("Band in a Box", 128, true), info, error)) << error;
    EXPECT_EQ(info.Name, "Band in a Box");
    EXPECT_EQ(info.MelodicPrograms, 128);
    EXPECT_TRUE(info.GeneralMidi());
    ASSERT_TRUE(ReadSoundFontInfo(SoundFont("Grand Piano", 4, false), info, error)) << error;
    EXPECT_FALSE(info.GeneralMidi());
    ASSERT_TRUE(ReadSoundFontInfo(SoundFont("No Drums", 128, false), info, error)) << error;
    EXPECT_FALSE(info.GeneralMidi());

    // What is not a SoundFont is refused with what was expected.
    std::vector<std::uint8_t> good = SoundFont("Good", 128, true);
    std::vector<std::uint8_t> wave = good;
    wave[8] = 'W', wave[9] = 'A', wave[10] = 'V', wave[11] = 'E';
    std::vector<std::uint8_t> lying = good;  // the preset headers claim more than there is
    const std::size_t phdr = std::string(lying.begin(), lying.end()).find("phdr");
    lying[phdr + 7] = 0x7F;
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        const char* Expected;
    } cases[] = {
        {"empty", {}, "expected a RIFF file of kind sfbk"},
        {"a WAV file", wave, "of kind \"WAVE\""},
        {"cut after the INFO list", std::vector<std::uint8_t>(good.begin(), good.begin() + 40), "expected a pdta list"},
        {"preset headers beyond the end", lying, "more than the file holds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        SoundFontInfo refused;
        std::string why;
        EXPECT_FALSE(ReadSoundFontInfo(c.Bytes, refused, why));
        EXPECT_NE(why.find(c.Expected), std::string::npos) << why;
    }
}

TEST(SoundFonts, TheListHoldsEachGeneralMidiFontOnceThePreferredFirst) {
    testing::TempFolder system, user;
    Write(system.File("TimGM6mb.sf2"), SoundFont("TimGM6mb", 128, true));
    Write(system.File("Piano.sf2"), SoundFont("Piano", 1, false));
    Write(system.File("readme.sf2"), {'n', 'o', 't', 'e'});
    Write(user.File("MuseScore_General_Lite.sf3"), SoundFont("MuseScore General Lite", 128, true));
    Write(user.File("Arachno.SF2"), SoundFont("Arachno", 128, true));
    std::filesystem::create_symlink(system.File("TimGM6mb.sf2"), system.File("default-GM.sf2"));

    const std::vector<InstalledSoundFont> fonts = ListSoundFonts({system.Path(), user.Path(), "/no/such/folder"});
    std::vector<std::string> names;
    for (const auto& font : fonts) names.push_back(font.Info.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"MuseScore General Lite", "TimGM6mb", "Arachno"}));
}

TEST(SoundFonts, TheChosenFileComesFirstThenTheVariableThenTheBestInstalled) {
    testing::TempFolder folder;
    const std::string chosen = folder.File("chosen.sf2"), variable = folder.File("variable.sf2");
    Write(chosen, SoundFont("Chosen", 128, true));
    Write(variable, SoundFont("Variable", 128, true));
    const char* before = std::getenv("CHORDELLA_SOUNDFONT");
    const std::string saved = before ? before : "";
    ::setenv("CHORDELLA_SOUNDFONT", variable.c_str(), 1);
    EXPECT_EQ(FindSoundFont(chosen), chosen);
    EXPECT_EQ(FindSoundFont(folder.File("deleted.sf2")), variable) << "a chosen file that went away";
    ::unsetenv("CHORDELLA_SOUNDFONT");
    const std::vector<InstalledSoundFont> installed = ListSoundFonts();
    EXPECT_EQ(FindSoundFont(""), installed.empty() ? std::string() : installed.front().Path);
    if (before) ::setenv("CHORDELLA_SOUNDFONT", saved.c_str(), 1);
}

}  // namespace
}  // namespace chordella::midi
