#include "app/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/OptionsTable.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::app {
namespace {

using testing::ReadTextFile;
using testing::WriteTextFile;

// A home in a temporary folder, and the settings loaded from it.
struct Home {
    testing::TempFolder folder;
    platform::Paths paths = platform::Paths::InFolder(folder.Path());
    Settings settings{paths};
    core::Options options;
    data::ConfigState config;

    void WriteIni(const std::string& text) const { WriteTextFile(paths.IniPath(), text); }
    void Load(bool forceDefaults = false) {
        options = {};
        config = {};
        settings = Settings(paths);
        settings.Load(options, config, forceDefaults);
    }
    platform::IniFile Saved() const {
        platform::IniFile ini;
        ini.Load(paths.IniPath());
        return ini;
    }
};

TEST(Settings, StoredNotesAndOctavesBecomeTheKeys) {
    Home home;
    home.WriteIni("[Options]\nFillIn=7\nOct_Fillin=2\nFirstKey=0\nOct_FirstKey=4\nLastKey=0\nOct_LastKey=6\n");
    home.Load();
    EXPECT_EQ(home.config.Keys.FillIn, 31);
    EXPECT_EQ(home.config.Keys.Basic, 26);  // the Fill in key is now the lowest
    EXPECT_EQ(home.config.Keys.FirstChordKey, 48);
    EXPECT_EQ(home.config.Keys.LastChordKey, 72);
}

TEST(Settings, ResetInTheFileGivesDefaultsAndIsWrittenBackAsZero) {
    Home home;
    home.WriteIni("[Options]\nUpdateFlag=1\nReset=1\nTempo1=75\nFillIn=5\nCompLim=0\n");
    home.Load();
    EXPECT_FALSE(home.config.FirstStart);
    EXPECT_EQ(home.options.TempoPreset1, 60);
    EXPECT_TRUE(home.options.CompLimit);
    EXPECT_EQ(home.config.Keys.FillIn, 36);
    EXPECT_FALSE(home.options.ResetSettings);

    home.options.TempoPreset2 = 99;  // what the user changed during the session
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    const platform::IniFile saved = home.Saved();
    EXPECT_EQ(saved.GetInt("Options", "Reset", -1), 0);
    EXPECT_EQ(saved.GetInt("Options", "UpdateFlag", -1), 0);
    EXPECT_EQ(saved.GetInt("Options", "Tempo1", -1), 60);
    EXPECT_EQ(saved.GetInt("Options", "Tempo2", -1), 99);
}

TEST(Settings, OptionsAndLowerCaseOptionsAreOneSection) {
    Home home;
    home.WriteIni("[options]\nTempo1=70\nCompLim=0\n[Options]\nTempo2=80\nKeyTranspose=1\n");
    home.Load();
    EXPECT_EQ(home.options.TempoPreset1, 70);
    EXPECT_EQ(home.options.TempoPreset2, 80);
    EXPECT_FALSE(home.options.CompLimit);
    EXPECT_TRUE(home.options.KeyAdjustment);

    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    const std::string text = ReadTextFile(home.paths.IniPath());
    const platform::IniFile saved = home.Saved();
    EXPECT_EQ(saved.GetInt("OPTIONS", "CompLim", -1), 0);
    // Each key once, however the sections were spelled.
    for (const char* key : {"Tempo1=", "CompLim=", "KeyTranspose="}) {
        const std::size_t first = text.find(std::string("\n") + key);
        ASSERT_NE(first, std::string::npos) << key;
        EXPECT_EQ(text.find(std::string("\n") + key, first + 1), std::string::npos) << key;
    }
}

TEST(Settings, EveryKeyIsWrittenInTheTablesOrderAndTheDefaultsReadBack) {
    Home home;
    home.Load();
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    const std::vector<std::string> written = home.Saved().Keys("Options");
    ASSERT_EQ(written.size(), OptionKeys().size());
    for (std::size_t i = 0; i < written.size(); ++i) EXPECT_EQ(written[i], OptionKeys()[i].Key);
    EXPECT_EQ(home.Saved().GetString("Options", "Root", ""), home.folder.Path());
    EXPECT_FALSE(home.Saved().GetString("Options", "OS", "").empty());
    home.Load();
    EXPECT_EQ(static_cast<std::uint32_t>(home.options.BackgroundColour), 0x80000001u) << "above the signed range";
}

TEST(Settings, ChangedOptionsSurviveASaveAndALoad) {
    Home home;
    home.Load();
    core::Options& o = home.options;
    o.MidiOut = "Synth Out 1";
    o.MidiSubOutGeneralMidi = true;
    o.FillInKeyNote = 9;
    o.LastAccKeyOctave = 5;
    o.Quantize = 3;
    o.TwoFingerChords = true;
    o.CompLimit = false;
    o.PadChannel = 3;
    o.BackgroundColour = 255;
    o.ChordTypes = "1,2,5,7";
    o.StyleSearchText = "!jazz; <100";
    o.Lvi = 12;
    o.AutoSaveSettings = true;
    const core::Options before = o;
    ASSERT_EQ(home.settings.Save(o, false), SaveOutcome::Saved);

    home.Load();
    EXPECT_FALSE(home.config.FirstStart);
    EXPECT_EQ(home.options.MidiOut, before.MidiOut);
    EXPECT_TRUE(home.options.MidiSubOutGeneralMidi);
    EXPECT_EQ(home.options.FillInKeyNote, 9);
    EXPECT_EQ(home.options.LastAccKeyOctave, 5);
    EXPECT_EQ(home.options.Quantize, 3);
    EXPECT_TRUE(home.options.TwoFingerChords);
    EXPECT_FALSE(home.options.CompLimit);
    EXPECT_EQ(home.options.PadChannel, 3);
    EXPECT_EQ(home.options.BackgroundColour, 255);
    EXPECT_EQ(home.options.ChordTypes, "1,2,5,7");
    EXPECT_EQ(home.options.StyleSearchText, "!jazz; <100");
    EXPECT_EQ(home.options.Lvi, 12);
    EXPECT_EQ(home.options.DLvi, -1);
    EXPECT_EQ(home.config.Keys.FillIn, 45);
}

TEST(Settings, WrittenOnlyKeysAreNeverReadBack) {
    Home home;
    home.WriteIni("[Options]\nHBass=1\nSView=1\nOS=Other\nStylePL=/x/list.gen\n");
    home.Load();
    EXPECT_FALSE(home.options.SongCreatorBass);
    EXPECT_FALSE(home.options.AssistantView);
    EXPECT_EQ(home.options.StylePlaylistFile, "");
}

// A file too large to read, wide text without its mark, a read-only file, or auto-save off:
// the save changes nothing, and a failure says why.
TEST(Settings, FilesThatCannotOrMustNotBeSavedOverAreLeftAsTheyWere) {
    std::string big = "[Ins-Set]\n1=130000\n";
    big.resize(platform::IniFile::MaxFileBytes + 1, ';');
    struct Case {
        const char* Name;
        std::string Text;
        bool ReadOnlyFile;
        int Tempo;   // as loaded: an unreadable file gives the default
        SaveOutcome Outcome;
        const char* Error;
    };
    const Case cases[] = {
        {"too large", big, false, 60, SaveOutcome::Failed, "left as it was"},
        {"wide text without a mark", platform::Utf8ToUtf16("[Options]\nTempo1=77\n", false), false, 60,
         SaveOutcome::Failed, "UTF-16 without a byte-order mark"},
        {"read-only", "[Options]\nTempo1=70\n", true, 70, SaveOutcome::Failed, "is read-only"},
        {"auto-save off", "[Options]\nAutoload=0\nTempo1=70\n", false, 70, SaveOutcome::AutoSaveOff, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Home home;
        home.WriteIni(c.Text);
        if (c.ReadOnlyFile) std::filesystem::permissions(home.paths.IniPath(), std::filesystem::perms::owner_read);
        home.Load();
        EXPECT_FALSE(home.config.FirstStart);
        EXPECT_EQ(home.options.TempoPreset1, c.Tempo);
        home.options.TempoPreset1 = 90;
        std::string error;
        EXPECT_EQ(home.settings.Save(home.options, false, &error), c.Outcome);
        EXPECT_NE(error.find(c.Error), std::string::npos) << error;
        EXPECT_TRUE(ReadTextFile(home.paths.IniPath()) == c.Text) << "the file was changed";
        if (c.ReadOnlyFile) {
            EXPECT_EQ(std::filesystem::status(home.paths.IniPath()).permissions(), std::filesystem::perms::owner_read);
        }
    }
}

TEST(Settings, ADamagedFileGivesDefaultsWhereItCannotBeRead) {
    Home home;
    std::string garbage = std::string("\x00\xff[Opt\n", 7) + "[Options]\nFillIn=abc\nOct_FirstKey=99999999999\nFirstKey=-3\n"
                          "Tempo1=\nPADChannel=44\nPreView=5\n=7\n[MIDICOM]\nData1=1000\nChannel=-9\n";
    garbage += std::string(3000, '\x01') + "\n[Options]\nTempo2=91\n";
    home.WriteIni(garbage);
    home.Load();
    EXPECT_FALSE(home.config.FirstStart);
    EXPECT_EQ(home.config.Keys.FillIn, 36);
    EXPECT_EQ(home.config.Keys.FirstChordKey, 40);
    EXPECT_EQ(home.options.TempoPreset1, 60);
    EXPECT_EQ(home.options.TempoPreset2, 91);
    EXPECT_EQ(home.options.PadChannel, 15);
    EXPECT_EQ(home.options.ChordPreview, 0);
    EXPECT_EQ(home.config.Daw.Messages[0].OnData, 127);
    EXPECT_EQ(home.config.Daw.Messages[0].Channel, 0);
}

TEST(Settings, WhatCouldNotBeReadIsWrittenBackAsItWas) {
    Home home;
    const std::string nul("Bad\0Key=1", 9);
    const std::string huge = "Long=" + std::string(70 * 1024, 'z');
    const std::string kept[] = {"stray line before any section", nul, "[Broken header", huge, "no equals sign", "=7"};
    std::string text = kept[0] + "\n[Options]\nTempo1=75\n";
    for (std::size_t i = 1; i < std::size(kept); ++i) text += kept[i] + "\n";
    home.WriteIni(text);
    home.Load();
    EXPECT_EQ(home.options.TempoPreset1, 75);
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    const std::string saved = ReadTextFile(home.paths.IniPath());
    for (const std::string& line : kept) EXPECT_NE(saved.find(line + "\n"), std::string::npos) << line.substr(0, 40);
    EXPECT_EQ(home.Saved().GetInt("Options", "Tempo1", 0), 75);
}

TEST(Settings, UnicodeFilesWithAByteOrderMarkAreReadAndWrittenBackInTheirEncoding) {
    Home home;
    const std::string text = "[Options]\r\nTempo1=77\r\nP-Name=Caf\xC3\xA9 \xF0\x9D\x84\x9E\r\n";
    home.WriteIni("\xFF\xFE" + platform::Utf8ToUtf16(text, false));
    home.Load();
    EXPECT_EQ(home.options.TempoPreset1, 77);
    EXPECT_EQ(home.options.ProgramName, "Caf\xC3\xA9 \xF0\x9D\x84\x9E");
    home.options.TempoPreset2 = 93;
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    const std::string saved = ReadTextFile(home.paths.IniPath());
    ASSERT_TRUE(saved.starts_with("\xFF\xFE"));
    const std::string decoded = platform::Utf16ToUtf8(std::string_view(saved).substr(2), false);
    EXPECT_NE(decoded.find("Tempo2=93"), std::string::npos);
    EXPECT_NE(decoded.find("P-Name=Caf\xC3\xA9 \xF0\x9D\x84\x9E"), std::string::npos);

    // UTF-8 with its mark: the first section is found, and the mark stays.
    home.WriteIni("\xEF\xBB\xBF[Options]\nTempo1=71\n");
    home.Load();
    EXPECT_EQ(home.options.TempoPreset1, 71);
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    EXPECT_TRUE(ReadTextFile(home.paths.IniPath()).starts_with("\xEF\xBB\xBF[Options]\n"));
}

TEST(Settings, ALineBreakInAValueCannotAddAKey) {
    Home home;
    home.Load();
    home.options.MidiOut = "Port\nReset=1";
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    home.Load();
    EXPECT_EQ(home.options.MidiOut, "Port Reset=1");
    EXPECT_FALSE(home.Saved().GetBool("Options", "Reset", true));
}

TEST(Settings, SectionsThisProgramOnlyReadsSurviveTheSave) {
    Home home;
    home.WriteIni("; my notes\n[MIDICOM]\nActive=1\n[DAWC]\nDAW=Recorder\n[Ins-Set]\n1=130000\n"
                  "[Options]\nUnknownKey=kept\nTempo1=70\n");
    home.Load();
    EXPECT_EQ(home.config.SetTexts.Get(1), "130000");
    EXPECT_EQ(home.config.Daw.Program, "Recorder");
    ASSERT_EQ(home.settings.Save(home.options, false), SaveOutcome::Saved);
    const platform::IniFile saved = home.Saved();
    EXPECT_TRUE(saved.GetBool("MIDICOM", "Active", false));
    EXPECT_EQ(saved.GetString("DAWC", "DAW", ""), "Recorder");
    EXPECT_EQ(saved.GetString("Ins-Set", "1", ""), "130000");
    EXPECT_EQ(saved.GetString("Options", "UnknownKey", ""), "kept");
    EXPECT_EQ(ReadTextFile(home.paths.IniPath()).rfind("; my notes", 0), 0u);
}

TEST(Settings, AStoredInstrumentSetTextIsWrittenAtOnce) {
    Home home;
    home.Load();
    ASSERT_TRUE(home.settings.StoreInstrumentSetText(home.config, 3, "204000006022", false));
    EXPECT_EQ(home.Saved().GetString("Ins-Set", "3", ""), "204000006022");
    EXPECT_EQ(home.config.SetTexts.Get(3), "204000006022");
    EXPECT_FALSE(home.settings.StoreInstrumentSetText(home.config, 12, "x", false));
}

TEST(Settings, TheFirstPictureMayBeReplacedTheSecondIsShownWithoutIt) {
    Home home;
    home.WriteIni("[Options]\nPicture=/photos/mine.bmp\n");
    home.Load();
    EXPECT_EQ(home.options.BackgroundPicture, home.folder.File("Tessel.bmp"));

    WriteTextFile(home.folder.File("chordella_pic06.bmp"), "BM");
    home.Load();
    EXPECT_EQ(home.options.BackgroundPicture, "/photos/mine.bmp");
    home.WriteIni("[Options]\nTempo1=60\n");
    home.Load();
    EXPECT_EQ(home.options.BackgroundPicture, home.folder.File("chordella_pic06.bmp"));
}

TEST(Settings, InPortableModeMissingFoldersAndFilesFallBackToTheHome) {
    Home home;
    std::filesystem::create_directories(home.folder.File("MySongs"));
    home.WriteIni("[Options]\nPortable=1\nDir=" + home.folder.File("MySongs") +
                  "\nStyleDir=D:\\Old\\STYLES\nSongL=C:\\Old\\SONGS\\Gig.vxl\nPatch=C:\\Old\\gs.vxi\n");
    home.Load();
    EXPECT_EQ(home.options.SongDirectory, home.folder.File("MySongs"));  // exists: kept
    EXPECT_EQ(home.options.StyleDirectory, home.paths.Styles());
    EXPECT_EQ(home.options.SonglistFile, home.paths.Songs() + "/DEMO.VXL");
    EXPECT_EQ(home.options.InstrumentSetFile, "");
    EXPECT_EQ(home.config.Instruments.Name, "GM.VXI");
}

TEST(Settings, TheActiveInstrumentSetDecidesThePatchMode) {
    Home home;
    WriteTextFile(home.folder.File("sc-55.vxi"), "Piano 1\nPiano 2\n[4] SC-55\n");
    home.WriteIni("[Options]\nPatchMode=2\nPatch=" + home.folder.File("sc-55.vxi") + "\n");
    home.Load();
    EXPECT_EQ(home.config.Instruments.Name, "SC-55.VXI");
    EXPECT_TRUE(home.config.Instruments.ProgramMapping);
    EXPECT_EQ(home.options.PatchMode, 1);

    home.WriteIni("[Options]\nPatchMode=2\nPatch=" + home.folder.File("gone.vxi") + "\n");
    home.Load();
    EXPECT_EQ(home.config.Instruments.Name, "GM.VXI");
    EXPECT_EQ(home.options.PatchMode, 0);
}

}  // namespace
}  // namespace chordella::app
