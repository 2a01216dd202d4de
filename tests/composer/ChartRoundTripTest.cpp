// A song exported to each chart format and read back gives the same chords on the same
// beats: ChordPro and iReal Pro through our readers, MusicXML through python3's own XML
// parser, which shares nothing with our writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "SongNotation.h"
#include "composer/ChartFiles.h"
#include "composer/ChordChart.h"
#include "composer/ChordMemoryEditor.h"
#include "composer/ChordProChart.h"
#include "composer/IRealChart.h"
#include "composer/MusicXmlChart.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::composer {
namespace {

// Every chord type, a chord on each beat of measure 3, a loop played three times over
// measures 4 … 5, a measure without a change, a key mark of E flat.
constexpr const char* EveryType =
    "C . . . | Dm . Eb7 . | F#m7 Gdim Ab7sus4 Asus4 | Badd9+L3 . . . | C(b5) . . Dmaj7+LE | . . . . | "
    "Eaug . F6 . | Gbm(maj7) . Gm6 . | Abm(add9) . Am7b5 . | Bb7#5 . B . | STOP . . .";

data::ChordMemory EveryTypeSong(int transposeKey = 3) {
    data::ChordMemory memory = test::Song(EveryType);
    memory.Bytes[data::SongTempoOffset] = 96;
    data::BeatRecord first = memory.RecordAt(4);
    first.CommandCode = static_cast<std::uint8_t>(transposeKey);
    first.CommandParam = data::ParamKeyMajor;
    memory.SetRecord(4, first);
    return memory;
}

ChordChart EveryTypeChart() {
    data::SongText text;
    text.SongTitle = "Every Type";
    text.SongAuthor = "The Tests";
    return ChartFromSong(EveryTypeSong(), text, "cont1", 16);
}

// The chords and loop marks of a song after import (key marks left out).
std::string ChordsOf(const data::ChordMemory& memory) {
    data::ChordMemory copy = memory;
    for (int position = 4; position < copy.ChordMemoryLength; position += 4) {
        data::BeatRecord record = copy.RecordAt(position);
        if (record.CommandParam == data::ParamKeyMajor || record.CommandParam == data::ParamKeyMinor)
            record.CommandCode = record.CommandParam = 0;
        copy.SetRecord(position, record);
    }
    return test::Notation(copy, copy.SongMeter() ? copy.SongMeter() : 16);
}

std::string ImportedSong(ChordChart& chart) {
    data::ChordMemory memory;
    data::ClearChordMemory(memory);
    ChordMemoryEditor editor(memory);
    const auto beats = BeatsFromChart(chart);
    EXPECT_TRUE(editor.CreateMeasuresFrom(beats, chart.BeatsPerMeasure * 4));
    return ChordsOf(memory);
}

TEST(ChartRoundTrip, ChordProGivesTheSameChordsOnTheSameBeats) {
    const ChordChart chart = EveryTypeChart();
    const std::string text = WriteChordPro(chart);
    EXPECT_NE(text.find("{title: Every Type}\n{composer: The Tests}\n{key: Eb}\n{time: 4/4}\n{tempo: 96}"), std::string::npos)
        << text;
    EXPECT_NE(text.find("|: Badd9 . . . |\n| C(b5) . . Dmaj7 :| x3"), std::string::npos) << text;
    const ChartReading reading = ReadChordPro(text);
    ASSERT_TRUE(reading.Ok) << reading.Error;
    EXPECT_TRUE(reading.Chart.Warnings.empty()) << reading.Chart.Warnings.front();
    EXPECT_EQ(reading.Chart.Tempo, 96);
    EXPECT_EQ(reading.Chart.KeyText(), "Eb");
    EXPECT_EQ(reading.Chart.Title, "Every Type");
    ChordChart read = reading.Chart;
    EXPECT_EQ(ImportedSong(read), ChordsOf(EveryTypeSong()));
}

// Out, in and out again: the style line, the section commands and the key marks stay, so
// the second chart is the first and the song read back holds every command on its beat.
TEST(ChartRoundTrip, ChordProKeepsTheStyleSectionCommandsAndKeyMarks) {
    data::ChordMemory song = EveryTypeSong();
    const auto command = [&song](int measure, int beat, int code, int param) {
        const int position = data::PositionOf(measure, beat, 16);
        data::BeatRecord record = song.RecordAt(position);
        record.CommandCode = static_cast<std::uint8_t>(code);
        record.CommandParam = static_cast<std::uint8_t>(param);
        song.SetRecord(position, record);
    };
    command(2, 4, 43, 12);                        // a section key ("Fill In" of the default keys)
    command(7, 1, 12 + 4, data::ParamKeyMinor);   // E minor from measure 7
    command(8, 3, 223, 5);                        // a program change
    const ChordChart chart = ChartFromSong(song, {}, "cont1", 16);
    const std::string first = WriteChordPro(chart);
    EXPECT_NE(first.find("{comment: Style cont1}"), std::string::npos) << first;
    EXPECT_NE(first.find("{x_chordella_command: 2.4 43 12}"), std::string::npos) << first;

    ChartReading reading = ReadChordPro(first);
    ASSERT_TRUE(reading.Ok) << reading.Error;
    EXPECT_EQ(reading.Chart.Style, "cont1");
    EXPECT_EQ(reading.Chart.Commands, chart.Commands);
    const std::vector<data::BeatRecord> records = BeatsFromChart(reading.Chart);
    EXPECT_TRUE(reading.Chart.Warnings.empty()) << reading.Chart.Warnings.front();
    for (int position = 4; position < data::PositionOf(10, 1, 16); position += 4) {
        const data::BeatRecord want = song.RecordAt(position);
        const data::BeatRecord got = records[static_cast<std::size_t>((position - 4) / 4)];
        EXPECT_EQ(got.CommandCode, want.CommandCode) << "position " << position;
        EXPECT_EQ(got.CommandParam, want.CommandParam) << "position " << position;
    }
    data::ArrangementState imported;
    ASSERT_TRUE(ReplaceSongByChart(reading.Chart, imported));
    EXPECT_EQ(WriteChordPro(ChartFromSong(imported.Chords, {}, "cont1", 16)), first);

    // A command our reader cannot place is reported, not guessed.
    EXPECT_FALSE(ReadChordPro("{x_chordella_command: 0.9 253 1}\n").Chart.Warnings.empty());
}

TEST(ChartRoundTrip, IRealGivesTheSameChordsOnTheSameBeats) {
    const ChordChart chart = EveryTypeChart();
    const std::string link = WriteIRealLink(chart);
    EXPECT_TRUE(link.starts_with("irealbook://Every%20Type%3DThe%20Tests%3Dcont1%3DEb%3Dn%3DT44%5BC")) << link;
    const ChartReading reading = ReadIRealLink("Shared from Chordella:\n" + link + "\n");
    ASSERT_TRUE(reading.Ok) << reading.Error;
    EXPECT_TRUE(reading.Chart.Warnings.empty()) << reading.Chart.Warnings.front();
    EXPECT_EQ(reading.Chart.Style, "cont1");
    EXPECT_EQ(reading.Chart.KeyText(), "Eb");
    ChordChart read = reading.Chart;
    EXPECT_EQ(ImportedSong(read), ChordsOf(EveryTypeSong()));
}

TEST(ChartRoundTrip, MusicXmlReadByPythonGivesTheSameChordsOnTheSameBeats) {
    testing::TempFolder folder;
    const std::string path = folder.File("every.musicxml");
    testing::WriteTextFile(path, WriteMusicXml(EveryTypeChart()));
    // python3's XML parser; the kinds mapped to chord types by a table of its own.
    const std::string script = R"PY(
import sys, xml.etree.ElementTree as ET
kinds = {('major',''):1, ('minor',''):2, ('dominant',''):3, ('minor-seventh',''):4, ('diminished',''):5,
         ('suspended-fourth',''):6, ('major','add9'):7, ('major','alter5-1'):8, ('major-seventh',''):9,
         ('augmented',''):10, ('major-sixth',''):11, ('major-minor',''):12, ('minor-sixth',''):13,
         ('minor','add9'):14, ('half-diminished',''):15, ('augmented-seventh',''):16,
         ('suspended-fourth','add7-1'):17}
steps = {'C':0,'D':2,'E':4,'F':5,'G':7,'A':9,'B':11}
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == 'score-partwise' and root.get('version') == '4.0'
print('time', root.find('part/measure/attributes/time/beats').text, root.find('part/measure/attributes/time/beat-type').text)
for measure in root.findall('part/measure'):
    beat = 1
    for child in measure:
        if child.tag == 'harmony':
            pc = (steps[child.find('root/root-step').text] + int(child.findtext('root/root-alter', '0'))) % 12
            d = child.find('degree')
            deg = '' if d is None else d.findtext('degree-type') + d.findtext('degree-value') + ('' if d.findtext('degree-alter') == '0' else d.findtext('degree-alter'))
            print(measure.get('number') + '.' + str(beat), pc, kinds[(child.findtext('kind'), deg)])
        elif child.tag == 'note':
            assert child.find('rest') is not None
            beat += int(child.findtext('duration'))
        elif child.tag == 'barline':
            r = child.find('repeat')
            if r is not None: print(measure.get('number'), 'repeat', r.get('direction'), r.get('times') or '')
)PY";
    testing::WriteTextFile(folder.File("read.py"), script);
    const std::string command = std::string(CHORDELLA_PYTHON) + " " + folder.File("read.py") + " " + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    ASSERT_EQ(pclose(pipe), 0) << output;

    std::string expected = "time 4 4\n";
    const data::ChordMemory song = EveryTypeSong();
    for (int position = 4; position < song.ChordMemoryLength; position += 4) {
        const data::BeatRecord record = song.RecordAt(position);
        const int measure = (position - 4) / 16 + 1;
        if (record.CommandCode == data::CommandLoop && record.CommandParam > 100)
            expected += std::to_string(measure) + " repeat forward \n";
        if (record.ChordType != 0)
            expected += std::to_string(measure) + "." + std::to_string((position - 4) % 16 / 4 + 1) + " " +
                        std::to_string(record.ChordRoot % 12) + " " + std::to_string(record.ChordType) + "\n";
        if (record.CommandCode == data::CommandLoop && record.CommandParam == 0)
            expected += std::to_string(measure) + " repeat backward 3\n";
    }
    EXPECT_EQ(output, expected);
}

TEST(ChartRoundTrip, TransposedChartsForBbAndEbInstruments) {
    data::SongText text;
    const ChordChart bb = ChartFromSong(EveryTypeSong(), text, "", 16, TransposeForBb);
    EXPECT_EQ(bb.KeyText(), "F");
    EXPECT_EQ(bb.Measures[0].Beats[0], (ChartChord{2, 1})) << "C sounds, D is written";
    const ChordChart eb = ChartFromSong(EveryTypeSong(), text, "", 16, TransposeForEb);
    EXPECT_EQ(eb.KeyText(), "C");
    EXPECT_EQ(eb.Measures[0].Beats[0], (ChartChord{9, 1})) << "C sounds, A is written";
}

TEST(ChartRoundTrip, DamagedChartsAreReadWithWarningsOrRefused) {
    // An end without a start repeats from measure 1; a start without an end is left out.
    ChartReading unbalanced = ReadChordPro("{start_of_grid}\n| C . . . | F . . . :|\n|: G . . . | C . . . |\n{end_of_grid}\n");
    ASSERT_TRUE(unbalanced.Ok) << unbalanced.Error;
    EXPECT_EQ(ImportedSong(unbalanced.Chart), "C+L2 . . . | F . . LE | G . . . | C . . . | STOP . . .");
    ASSERT_EQ(unbalanced.Chart.Warnings.size(), 2u);
    EXPECT_EQ(unbalanced.Chart.Warnings[0], "repeat ending at measure 2 has no start; it repeats from measure 1");
    EXPECT_EQ(unbalanced.Chart.Warnings[1], "repeat at measure 3 has no end; it is left out");

    ChartReading unknown = ReadIRealLink("irealbook://X=Y=Z=C=n=T34[C13#11  |Q7  |F   Z");
    ASSERT_TRUE(unknown.Ok) << unknown.Error;
    EXPECT_EQ(unknown.Chart.BeatsPerMeasure, 3);
    EXPECT_EQ(ImportedSong(unknown.Chart), "C7 . . | . . . | F . . | STOP . .");
    ASSERT_EQ(unknown.Chart.Warnings.size(), 1u);
    EXPECT_EQ(unknown.Chart.Warnings[0], "unknown chord symbol \"C13#11\", kept as C 7th");

    // 2 000 measures: the song takes what fits and says so.
    std::string many = "irealbook://Long=A=B=C=n=T44[";
    for (int measure = 0; measure < 2000; ++measure) many += "C   |";
    ChartReading longChart = ReadIRealLink(many);
    ASSERT_TRUE(longChart.Ok);
    EXPECT_EQ(longChart.Chart.Measures.size(), 2000u);
    const std::string imported = ImportedSong(longChart.Chart);
    EXPECT_EQ(longChart.Chart.Warnings.back(), "only the first 749 of 2000 measures fit into a song");

    EXPECT_EQ(ReadIRealLink("irealb://abc").Error,
              "the irealb:// form is scrambled and cannot be read; share the song as irealbook:// instead");
    EXPECT_FALSE(ReadIRealLink("irealbook://only=three=fields").Ok);
    EXPECT_FALSE(ReadChordPro("{title: x}\nC F G\n").Ok);
}

}  // namespace
}  // namespace chordella::composer
