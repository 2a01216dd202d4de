// The keyboard style writer every foreign-style test builds its files with: what it writes is
// read back by a parser that shares nothing with ours (mido). Its channel tables are read back
// in CasmChunkTest.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace chordella::testing
