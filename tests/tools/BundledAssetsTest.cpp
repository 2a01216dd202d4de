// The bundled files as a first start finds them: they are exactly what their sources make,
// every style loads with its eight parts and General MIDI set-up, the demo song opens
// through the song operations and names the start-up style, and the default songlist names
// the demo song in the songlist's columns.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DataHome.h"
#include "core/Session.h"
#include "data/SongCommands.h"
#include "core/SongFiles.h"
#include "core/StyleStore.h"
#include "make_assets/AssetAuthor.h"
#include "platform/Files.h"
#include "support/TestSession.h"
#include "BundledStyles.h"
#include "support/TestPaths.h"

namespace chordella::tools {
namespace {

namespace fs = std::filesystem;


std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name != "README.md" && name.front() != '.')
            files.push_back(fs::relative(entry.path(), folder).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A session whose data home holds the bundled files, copied as a first start copies them.
struct HomeWithAssets {
    HomeWithAssets() {
        const auto report = app::CopyBundledFiles(chordella::testing::AssetsFolder(), t.session->Paths());
        EXPECT_TRUE(report.Failed.empty());
    }
    testing::TestSession t;
};

TEST(BundledAssetsTest, TheCommittedAssetsAreExactlyWhatTheSourcesMake) {
    std::vector<AuthoredFile> files;
    std::string error;
    ASSERT_TRUE(AuthorAssets(chordella::testing::AssetSourcesFolder(), files, error)) << error;
    EXPECT_EQ(DifferingAssets(files, chordella::testing::AssetsFolder()), std::vector<std::string>{})
        << "rebuild them: cmake --build build --target assets";
    std::vector<std::string> authored;
    for (const auto& file : files) authored.push_back(file.RelativePath);
    std::sort(authored.begin(), authored.end());
    EXPECT_EQ(FilesBelow(chordella::testing::AssetsFolder()), authored) << "a bundled file that no source makes";
}

TEST(BundledAssetsTest, EveryStyleLoadsWithAllEightPartsAndAGeneralMidiSetUp) {
    for (const std::string& name : BundledStyleNames()) {
        SCOPED_TRACE(name);
        HomeWithAssets home;
        data::StyleStore store(*home.t.session);
        ASSERT_EQ(store.Load(home.t.session->Paths().Styles() + "/" + name), data::StyleLoadResult::Loaded);
        const auto& style = home.t.session->Style().style;
        for (int p = 0; p < data::PartCount; ++p) {
            const auto& part = style.Parts[static_cast<std::size_t>(p)];
            EXPECT_TRUE(part.Present()) << "part " << p;
            EXPECT_EQ(part.FollowUpCode, data::DefaultFollowUpCode(p));
            for (int c = 0; c < data::StyleChannels; ++c)
                EXPECT_EQ(style.NotesEndInPart[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)], 1)
                    << "a note of channel " << c + 1 << " outlives part " << p;
        }
        int pitched = 0;
        for (int c = 0; c < data::StyleChannels; ++c) {
            if (!style.Header.ChannelUsed[static_cast<std::size_t>(c)]) continue;
            const auto& setup = style.Header.ChannelSetup[static_cast<std::size_t>(c)];
            EXPECT_NE(setup[data::SetupProgramIndex], data::SetupNotSet) << "channel " << c + 1 << " has no instrument";
            EXPECT_NE(setup[7], data::SetupNotSet) << "channel " << c + 1 << " has no volume";
            pitched += c != 9 ? 1 : 0;
        }
        EXPECT_TRUE(style.Header.ChannelUsed[9]) << "drums on channel 10";
        EXPECT_GE(pitched, 3) << "bass, comping and a pad at least";
        EXPECT_FALSE(style.Header.ChannelUsed[0]) << "channel 1 stays free for the player's melody";
        EXPECT_FALSE(style.Header.ChannelUsed[15]) << "channel 16 stays free for the harmonic pad";
    }
}

TEST(BundledAssetsTest, TheDemoSongOpensAndPlaysTheStartUpStyleWithItsSections) {
    HomeWithAssets home;
    data::SongFiles songs(*home.t.session, home.t.state.arrangement, home.t.state.options);
    const std::string path = songs.DemoSongPath();
    ASSERT_TRUE(platform::FileExists(path)) << path;
    ASSERT_EQ(songs.Open({data::OpenSource::Path, path}), data::OpenOutcome::Opened);
    const auto& song = home.t.state.arrangement;
    ASSERT_TRUE(song.HasStyleReference);
    EXPECT_EQ(fs::path(song.StyleReference).filename().string(), "cont1.vxs");
    EXPECT_GT(song.Melody.MelodyCount, 100);
    EXPECT_EQ(song.Chords.MelodyProgram(), 73);

    const auto keys = data::SectionKeyNotes::Defaults().Notes;  // Fill In, To Basic, Ending, To Ext., Intro …
    std::vector<int> sectionKeys;
    bool loopStart = false, loopEnd = false, tempo = false, stop = false;
    for (int at = data::ChordMemoryHeaderSize; at < song.Chords.ChordMemoryLength; at += data::BeatRecordSize) {
        const auto record = song.Chords.RecordAt(at);
        if (record.CommandParam == data::ParamSectionKey) sectionKeys.push_back(record.CommandCode);
        loopStart |= record.CommandCode == data::CommandLoop && record.CommandParam > data::LoopStartBase;
        loopEnd |= record.CommandCode == data::CommandLoop && record.CommandParam == 0;
        tempo |= record.CommandCode == data::CommandTempo && record.CommandParam != song.Chords.SongTempo();
        stop |= record.CommandCode == data::CommandStop;
    }
    for (int key : {keys[4], keys[0], keys[3], keys[1], keys[2]})  // Intro, Fill In, To Ext., To Basic, Ending
        EXPECT_NE(std::find(sectionKeys.begin(), sectionKeys.end(), key), sectionKeys.end()) << "section key " << key;
    EXPECT_EQ(sectionKeys.front(), keys[4]) << "the song starts with the intro";
    EXPECT_TRUE(loopStart && loopEnd && tempo && stop);
    const int measures = data::MeasureCount(song.Chords.ChordMemoryLength, song.Chords.SongMeter());
    EXPECT_GE(measures, 28);
    EXPECT_LE(measures, 36);
}

TEST(BundledAssetsTest, TheDefaultSonglistNamesTheDemoSongInItsColumns) {
    HomeWithAssets home;
    std::string text, error;
    ASSERT_TRUE(platform::ReadTextFile(home.t.session->Paths().Songs() + "/DEMO.VXL", 1 << 16, text, error)) << error;
    const std::string line = text.substr(0, text.find("\r\n"));
    ASSERT_GE(line.size(), 194u);
    EXPECT_NE(line.substr(0, 50).find("Chordella demo"), std::string::npos);
    // The path is read from column 52 and cut after ".VXA " as the songlist reads it.
    std::string upper = line.substr(51, 85);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto cut = upper.find(".VXA ");
    ASSERT_NE(cut, std::string::npos);
    const std::string path = line.substr(51, cut + 4);
    EXPECT_EQ(fs::path(path).filename().string(), "demo2.vxa");
    EXPECT_TRUE(platform::FileExists(home.t.session->Paths().DataDir() + "/" + path)) << path;
    EXPECT_EQ(line.substr(132, 16), std::string(16, '0')) << "no channel muted";
}

}  // namespace
}  // namespace chordella::tools
