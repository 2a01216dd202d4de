// Every MIDI file and keyboard style file goes through the import: files written here (a
// song, styles as makers write them) and the shared
// corpus's real ones where present. Only the files the import's own rules refuse may show a
// message, a file imported twice gives the same stream, and a style file yields its section
// markers (for the corpus: the ones its manifest lists).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "data/ImportFixture.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;
using data::ImportOutcome;

// Files of the corpus the import refuses by its own rules, with the message and the reason.
std::map<std::string, std::string> CorpusRefusals() {
    return {
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

TEST_F(CorpusImport, EveryMidiFileImportsTheSameTwiceOrIsRefusedByTheImportsOwnRules) {
    const std::map<std::string, std::string> refusals = CorpusRefusals();
    std::vector<std::string> files = {t.home.File("song.mid")};
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(
        files[0], SmfFileBytes(1, 96, {SmfTrack().Tempo(0, 600000).End(), SmfTrack().NoteOn(0, 0, 60, 90).NoteOff(96, 0, 60).End()}),
        error));
    for (const std::string& path : CorpusFiles("midi")) files.push_back(path);
    for (const std::string& path : files) {
        const std::string name = fs::path(path).filename().string();
        SCOPED_TRACE(name);
        t.prompter->ClearShown();
        const ImportOutcome outcome = importer.Import(path);
        const auto refusal = refusals.find(name);
        if (refusal != refusals.end()) {
            EXPECT_EQ(outcome, ImportOutcome::Failed);
            EXPECT_EQ(t.prompter->Shown(), std::vector<std::string>{refusal->second});
            continue;
        }
        ASSERT_EQ(outcome, ImportOutcome::Imported);
        EXPECT_TRUE(t.prompter->Shown().empty()) << t.prompter->Shown().front();
        EXPECT_EQ(importer.LastResult().Status, data::ImportStatus::Done);
        const Bytes first = Stream();
        ASSERT_EQ(ImportBytes(ReadAll(path), "copy.mid"), ImportOutcome::Imported);
        EXPECT_EQ(Stream(), first);
        EXPECT_EQ(data::MaterialTicks(Work()), importer.LastResult().OutputTicks);
    }
}

TEST_F(CorpusImport, EveryStyleFileImportsWithItsSectionMarkers) {
    const std::vector<std::string> sampleMarkers = {"SFF1",       "SInt",       "Main A",     "Main B",  "Main C",
                                                    "Main D",     "Fill In AA", "Fill In BB", "Fill In CC",
                                                    "Fill In DD", "Intro A",    "Ending A",   "Fill In BA"};
    std::map<std::string, std::vector<std::string>> expected = {
        {"Four.sty", sampleMarkers}, {"Waltz.prs", sampleMarkers}, {"Jig.sst", sampleMarkers}};
    expected["Jig.sst"][0] = "SFF2";
    std::vector<std::string> files = {t.home.File("Four.sty"), t.home.File("Waltz.prs"), t.home.File("Jig.sst")};
    ASSERT_TRUE(SampleKeyboardStyle().Write(files[0]));
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 3, .SetupQuarters = 4, .Division = 96}).Write(files[1]));
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 6, .Denominator = 8, .Format = CasmFormat::Ctb2})
                    .Signature("SFF2")
                    .Write(files[2]));
    expected.merge(ManifestMarkers(DefaultCorpusFolder()));
    for (const std::string& path : CorpusFiles("styles")) files.push_back(path);
    for (const std::string& path : files) {
        const std::string name = fs::path(path).filename().string();
        SCOPED_TRACE(name);
        t.prompter->ClearShown();
        ASSERT_EQ(importer.Import(path), ImportOutcome::Imported);
        EXPECT_TRUE(t.prompter->Shown().empty());
        ASSERT_TRUE(expected.count(name));
        std::vector<std::string> found;
        int previousStart = 1;
        for (const data::SectionMarker& marker : Work().Markers) {
            found.push_back(marker.Text);
            EXPECT_GE(marker.StartMeasure, previousStart) << marker.DisplayText();
            EXPECT_GE(marker.EndMeasure, marker.StartMeasure) << marker.DisplayText();
            previousStart = marker.StartMeasure;
        }
        EXPECT_EQ(found, expected.at(name));
        EXPECT_EQ(Work().Markers.front().StartMeasure, 1);
    }
}

}  // namespace
}  // namespace chordella::testing
