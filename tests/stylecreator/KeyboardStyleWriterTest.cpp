// The keyboard style writer every foreign-style test builds its files with: what it writes is
// read back by a parser that shares nothing with ours (mido) and by the channel-table reader.
#include <gtest/gtest.h>

#include "stylecreator/CasmChunk.h"
#include "support/KeyboardStyleWriter.h"
#include "support/MidoReader.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

TEST(KeyboardStyleWriter, MarkersFallWhereTheSectionsBeginEvenOffTheBarLines) {
    KeyboardStyleWriter w;
    w.Meter(3).Division(480).Tempo(150).SetupBeats(4).Voice(10, 8, 0, 17);
    w.SysEx({0x43, 0x10, 0x4C, 0x08, 0x0A, 0x01, 0x08, 0xF7});
    w.Section("Main A", 12).Note(10, 36, 100, 0, 20);
    w.Section("Fill In AA", 3).Note(9, 38, 90, 24, 6);
    w.Section("Ending A", 6);
    TempFolder folder;
    ASSERT_TRUE(w.Write(folder.File("Waltz.sty")));
    MidoFile file;
    ASSERT_TRUE(ReadWithMido(folder.File("Waltz.sty"), file)) << file.Error;
    EXPECT_EQ(file.Type, 0);
    EXPECT_EQ(file.Division, 480);
    std::vector<std::pair<std::string, std::int64_t>> markers;
    for (const MidoEvent& e : file.OfType("marker")) markers.emplace_back(e.Fields.at("text"), e.Tick);
    const std::vector<std::pair<std::string, std::int64_t>> expected = {
        {"SFF1", 0}, {"SInt", 0}, {"Main A", 4 * 480}, {"Fill In AA", 16 * 480}, {"Ending A", 19 * 480}};
    EXPECT_EQ(markers, expected);
    const auto notes = file.Notes();
    ASSERT_EQ(notes.size(), 2U);
    EXPECT_EQ(notes[0].Tick, 4 * 480);
    EXPECT_EQ(notes[1].Tick, 16 * 480 + 480);
    EXPECT_EQ(file.OfType("program_change").at(0).Int("program"), 17);
    EXPECT_EQ(file.OfType("sysex").size(), 1U);
    EXPECT_EQ(w.SectionStartQuarters("Fill In AA"), 16);

    const auto bytes = w.Bytes();
    const std::size_t at = w.MarkerOffset("Fill In AA");
    EXPECT_EQ(bytes[at], 0xFF);
    EXPECT_EQ(bytes[at + 1], 0x06);
    EXPECT_EQ(w.CutAt(at + 3).Bytes().size(), at + 3);
}

TEST(KeyboardStyleWriter, ChannelTablesOfBothEntryFormatsReadBackEntryForEntry) {
    for (CasmFormat format : {CasmFormat::Ctab, CasmFormat::Ctb2}) {
        KeyboardStyleWriter w = SampleKeyboardStyle({.BassSource = 2, .Format = format});
        w.Group({"Main Z"}).Entry({.Source = 4, .Voice = "GtMin", .Destination = 12, .ChordMute = casm::Kind(casm::Minor),
                                  .SourceKind = casm::Minor7, .Table = casm::Dorian});
        const auto bytes = w.Bytes();
        EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(w.CasmOffset()),
                              bytes.begin() + static_cast<long>(w.CasmOffset()) + 4), "CASM");
        const stylecreator::CasmTable table = stylecreator::ReadCasm(bytes);
        ASSERT_TRUE(table.Present);
        EXPECT_TRUE(table.Messages.empty()) << table.Messages.front();
        ASSERT_EQ(table.Groups.size(), 3U);
        const stylecreator::CasmGroup* main = table.GroupFor("Fill In BA");
        ASSERT_NE(main, nullptr);
        ASSERT_EQ(main->Channels.size(), 6U);
        EXPECT_EQ(main->Channels[2].SourceChannel, 2);
        EXPECT_EQ(main->Channels[2].DestinationChannel, 10);
        EXPECT_EQ(main->Channels[2].VoiceName, "Bass");
        const stylecreator::CasmGroup* minor = table.GroupFor("Main Z");
        ASSERT_NE(minor, nullptr);
        EXPECT_FALSE(minor->Channels[0].PlaysUnderMajor());
        EXPECT_TRUE(minor->Channels[0].PlaysUnder(casm::Minor));
        EXPECT_EQ(minor->Channels[0].SourceKind, casm::Minor7);
    }
}

}  // namespace
}  // namespace chordella::testing
