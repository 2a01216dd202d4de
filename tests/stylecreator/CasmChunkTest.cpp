// The CASM channel table: read from a real style file, and from built chunks that end early
// or carry entries the reader must skip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Bytes.h"
#include "stylecreator/CasmChunk.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;
using Bytes = std::vector<std::uint8_t>;

std::string CorpusStyle(const std::string& name) {
    const char* folder = std::getenv("CHORDELLA_CORPUS");
    return std::string(folder && *folder ? folder : chordella::testing::DefaultCorpusFolder()) + "/styles/" + name;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes Block(const std::string& tag, const Bytes& content, std::uint32_t claimed = 0) {
    Bytes out(tag.begin(), tag.end());
    platform::ByteWriter w(out);
    w.U32BigEndian(claimed ? claimed : static_cast<std::uint32_t>(content.size()));
    w.Bytes(content);
    return out;
}

Bytes Entry(int source, const std::string& name, int destination, std::uint64_t chordMute, int root = 0, int kind = 2) {
    Bytes e{static_cast<std::uint8_t>(source)};
    std::string padded = name;
    padded.resize(8, ' ');
    e.insert(e.end(), padded.begin(), padded.end());
    e.push_back(static_cast<std::uint8_t>(destination));
    e.push_back(1);
    e.push_back(0x0F);
    e.push_back(0xFF);
    for (int shift = 32; shift >= 0; shift -= 8) e.push_back(static_cast<std::uint8_t>(chordMute >> shift));
    e.push_back(static_cast<std::uint8_t>(root));
    e.push_back(static_cast<std::uint8_t>(kind));
    e.insert(e.end(), {0, 0, 0, 0, 0x7F, 1, 0});
    return e;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(CasmChunk, ARealStyleGivesItsGroupsChannelsAndChordKinds) {
    const Bytes file = ReadAll(CorpusStyle("JazzWaltz4.S001.sty"));
    if (file.empty()) GTEST_SKIP() << "no corpus";
    const CasmTable table = ReadCasm(file);
    ASSERT_TRUE(table.Present);
    EXPECT_TRUE(table.Messages.empty());
    ASSERT_EQ(table.Groups.size(), 3U);
    const CasmGroup* main = table.GroupFor("main a");
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->Channels.size(), 5U);
    EXPECT_EQ(main->Channels[3].VoiceName, "Bass");
    EXPECT_EQ(main->Channels[3].DestinationChannel, 10);
    EXPECT_TRUE(main->Channels[3].PlaysUnderMajor());
    EXPECT_EQ(main->Channels[3].SourceKind, casmchord::Major7);
    // The piano written for the other chords and the crash that plays only without a chord.
    EXPECT_FALSE(main->Channels[1].PlaysUnderMajor());
    EXPECT_TRUE(main->Channels[1].PlaysUnder(10));   // m7
    EXPECT_TRUE(main->Channels[0].PlaysUnder(casmchord::Cancel));
    EXPECT_FALSE(main->Channels[0].PlaysUnderMajor());

    const CasmGroup* intro = table.GroupFor("Intro B");
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->Channels[0].VoiceName, "BassM");
    EXPECT_TRUE(intro->Channels[0].PlaysUnder(casmchord::Minor));
    EXPECT_FALSE(intro->Channels[0].PlaysUnderMajor());
    EXPECT_EQ(table.GroupFor("Main Z"), nullptr);
}

TEST(CasmChunk, ASizePastTheEndStopsReadingWithAMessageAndKeepsTheWholeGroupsBeforeIt) {
    const Bytes whole = Block("CSEG", Concat({Block("Sdec", {'M', 'a', 'i', 'n', ' ', 'A'}), Block("Ctab", Entry(2, "Guitar", 12, 1))}));
    const Bytes broken = Block("CSEG", Concat({Block("Sdec", {'M', 'a', 'i', 'n', ' ', 'B'}), Block("Ctab", Entry(2, "Guitar", 12, 1)),
                                            Block("Ctab", Entry(3, "GtrMin", 12, 0x100), 5000)}));
    const Bytes file = Concat({Block("MThd", Bytes(6)), Block("MTrk", {0, 0xFF, 0x2F, 0}), Block("CASM", Concat({whole, broken}))});
    const CasmTable table = ReadCasm(file);
    ASSERT_TRUE(table.Present);
    ASSERT_EQ(table.Groups.size(), 1U);
    ASSERT_EQ(table.Groups[0].Channels.size(), 1U);
    EXPECT_EQ(table.Groups[0].Channels[0].DestinationChannel, 12);
    EXPECT_EQ(table.GroupFor("Main B"), nullptr);
    ASSERT_EQ(table.Messages.size(), 1U);
    EXPECT_NE(table.Messages[0].find("claims 5000 bytes"), std::string::npos) << table.Messages[0];
    EXPECT_NE(table.Messages[0].find("left out"), std::string::npos) << table.Messages[0];

    // A track that claims more than the file holds ends the walk before any CASM.
    const CasmTable cut = ReadCasm(Concat({Block("MThd", Bytes(6)), Block("MTrk", {0}, 99999), Block("CASM", {})}));
    EXPECT_FALSE(cut.Present);
    ASSERT_EQ(cut.Messages.size(), 1U);
}

TEST(CasmChunk, AFileCutAnywhereInsideItsTableKeepsTheGroupsBeforeTheCutAndSaysWhere) {
    const Bytes file = ReadAll(CorpusStyle("UnchainMyHeart.sty"));
    if (file.empty()) GTEST_SKIP() << "no corpus";
    const CasmTable whole = ReadCasm(file);
    ASSERT_EQ(whole.Groups.size(), 2U);
    const std::size_t casm = 21403;   // where the chunk begins in this file
    for (std::size_t cut = casm + 9; cut < file.size(); cut += 5) {
        const CasmTable table = ReadCasm(std::span<const std::uint8_t>(file.data(), cut));
        ASSERT_TRUE(table.Present);
        ASSERT_GE(table.Messages.size(), 2U) << "cut at " << cut;   // the chunk's claim and where it was cut
        EXPECT_NE(table.Messages.front().find("claims"), std::string::npos) << table.Messages.front();
        EXPECT_LE(table.Groups.size(), whole.Groups.size());
        // The first group (396 bytes after its own 8-byte head) is whole once the cut lies past it.
        if (cut >= casm + 8 + 8 + 396) {
            EXPECT_GE(table.Groups.size(), 1U) << "cut at " << cut;
        }
    }
}

TEST(CasmChunk, ShortOrWildEntriesAreSkippedWithAMessage) {
    Bytes wild = Entry(2, "Pad", 40, 1);
    Bytes odd = Entry(4, "Str", 13, 1, 14, 99);
    const Bytes group = Concat({Block("Sdec", {'F', 'i', 'l', 'l', ' ', 'I', 'n', ' ', 'A', 'A', ',', 'M', 'a', 'i', 'n', ' ', 'B', 0}),
                                Block("Ctab", Bytes(7, 1)), Block("Ctab", wild), Block("Ctab", odd),
                                Block("Cntt", {1, 2})});
    const CasmTable table = ReadCasmContent(Block("CSEG", group));
    ASSERT_EQ(table.Groups.size(), 1U);
    EXPECT_EQ(table.Groups[0].Sections, (std::vector<std::string>{"Fill In AA", "Main B"}));
    ASSERT_EQ(table.Groups[0].Channels.size(), 1U);
    EXPECT_EQ(table.Groups[0].Channels[0].SourceRoot, 2);
    EXPECT_EQ(table.Groups[0].Channels[0].SourceKind, casmchord::Major);
    EXPECT_EQ(table.Messages.size(), 3U);
}

}  // namespace
}  // namespace chordella::testing
