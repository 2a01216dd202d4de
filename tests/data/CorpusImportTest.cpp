// Every MIDI file and keyboard style file of the shared corpus (files nobody here wrote)
// goes through the import. Only the files the import's own rules refuse may show a message,
// and the style files must yield the section markers the corpus manifest lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "data/ImportFixture.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;
using data::ImportOutcome;

std::string CorpusFolder() {
    const char* folder = std::getenv("CHORDELLA_CORPUS");
    return folder && *folder ? folder : chordella::testing::DefaultCorpusFolder();
}

// Files the import refuses by its own rules, with the message and the reason.
const std::map<std::string, std::string>& ExpectedRefusals() {
    static const std::map<std::string, std::string> refusals = {
        // Zero bytes, and text: no "MThd".
        {"jazzsoft_test-empty-file.mid", "This is not a Standard MIDI-File !"},
        {"jazzsoft_test-not-a-midi-file.mid", "This is not a Standard MIDI-File !"},
        // An unknown chunk stands where the first "MTrk" must be.
        {"jazzsoft_test-non-midi-track.mid", "This is not a Standard MIDI-File !"},
        // The header declares two tracks, the file holds one "MTrk".
        {"nfroidure_MIDIBadHeaderTracksNum.mid", "This is not a Standard MIDI-File !"},
        // Status byte 0xFA (MIDI start) inside a track.
        {"jazzsoft_test-illegal-message-fa.mid", "Error - Unknown Code ! (byte 0xFA at offset 201)"},
        // A time-code (SMPTE) division.
        {"nfroidure_MIDIBadHeaderSMTPE.mid", "This File is not MTC-decoded !"},
    };
    return refusals;
}

// The manifest's markers column ("SFF1|SInt|Main A|…") by file name.
std::map<std::string, std::vector<std::string>> ManifestMarkers(const std::string& folder) {
    std::map<std::string, std::vector<std::string>> markers;
    std::ifstream manifest(folder + "/MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);
    std::vector<std::string> header;
    for (std::stringstream columns(line); std::getline(columns, line, '\t');) header.push_back(line);
    const auto column = std::find(header.begin(), header.end(), "markers") - header.begin();
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::stringstream columns(line);
        for (std::string field; std::getline(columns, field, '\t');) fields.push_back(field);
        if (static_cast<std::size_t>(column) >= fields.size()) continue;
        std::vector<std::string>& names = markers[fields[0]];
        std::stringstream list(fields[column]);
        for (std::string name; std::getline(list, name, '|');)
            if (!name.empty()) names.push_back(name);
    }
    return markers;
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class CorpusImport : public ImportTest {};

TEST_F(CorpusImport, EveryMidiFileImportsOrIsRefusedByTheImportsOwnRules) {
    const std::string folder = CorpusFolder();
    if (folder.empty() || !fs::exists(folder + "/midi")) GTEST_SKIP() << "no corpus at " << folder;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder + "/midi")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        t.prompter->ClearShown();
        const ImportOutcome outcome = importer.Import(entry.path().string());
        const auto refusal = ExpectedRefusals().find(name);
        if (refusal != ExpectedRefusals().end()) {
            EXPECT_EQ(outcome, ImportOutcome::Failed);
            EXPECT_EQ(t.prompter->Shown(), std::vector<std::string>{refusal->second});
        } else {
            EXPECT_EQ(outcome, ImportOutcome::Imported);
            EXPECT_TRUE(t.prompter->Shown().empty()) << t.prompter->Shown().front();
            EXPECT_EQ(importer.LastResult().Status, data::ImportStatus::Done);
        }
        ++files;
    }
    EXPECT_GE(files, 40);
}

TEST_F(CorpusImport, EveryStyleFileImportsWithTheSectionMarkersOfTheManifest) {
    const std::string folder = CorpusFolder();
    if (folder.empty() || !fs::exists(folder + "/styles")) GTEST_SKIP() << "no corpus at " << folder;
    const auto manifest = ManifestMarkers(folder);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder + "/styles")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        t.prompter->ClearShown();
        ASSERT_EQ(importer.Import(entry.path().string()), ImportOutcome::Imported);
        EXPECT_TRUE(t.prompter->Shown().empty());
        ASSERT_TRUE(manifest.count(name));
        std::vector<std::string> found;
        int previousStart = 1;
        for (const data::SectionMarker& marker : Work().Markers) {
            found.push_back(marker.Text);
            EXPECT_GE(marker.StartMeasure, previousStart) << marker.DisplayText();
            EXPECT_GE(marker.EndMeasure, marker.StartMeasure) << marker.DisplayText();
            previousStart = marker.StartMeasure;
        }
        EXPECT_EQ(found, manifest.at(name));
        EXPECT_EQ(Work().Markers.front().StartMeasure, 1);
        ++files;
    }
    EXPECT_GE(files, 20);
}

TEST_F(CorpusImport, ImportingTheSameFileTwiceGivesTheSameStream) {
    const std::string folder = CorpusFolder();
    if (folder.empty()) GTEST_SKIP() << "no corpus at " << folder;
    const fs::path path = fs::path(folder) / "midi" / "mma_aria_bossa.mid";
    if (!fs::exists(path)) GTEST_SKIP();
    ASSERT_EQ(importer.Import(path.string()), ImportOutcome::Imported);
    const Bytes first = Stream();
    ASSERT_EQ(ImportBytes(ReadAll(path), "copy.mid"), ImportOutcome::Imported);
    EXPECT_EQ(Stream(), first);
    EXPECT_EQ(data::MaterialTicks(Work()), importer.LastResult().OutputTicks);
}

}  // namespace
}  // namespace chordella::testing
