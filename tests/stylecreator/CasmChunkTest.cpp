// The CASM channel table: read from a real style file, and from built chunks that end early
// or carry entries the reader must skip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Bytes.h"
#include "stylecreator/CasmChunk.h"
#include "support/KeyboardStyleWriter.h"
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

// A one-group file whose only entry is `entry`, in the given entry format.
CasmTable TableOf(const CasmEntry& entry, CasmFormat format) {
    KeyboardStyleWriter w;
    w.Format(format);
    w.Section("Main A", 4).Note(entry.Source, 60, 100, 0, 12);
    w.Group({"Main A"}).Entry(entry);
    return ReadCasm(w.Bytes());
}

TEST(CasmChunk, EveryRuleOfAnEntryIsReadInBothEntryFormats) {
    struct Case {
        CasmEntry Entry;
        data::NoteRule Rule;
        data::NoteTable Table;
        data::RetriggerRule Retrigger;
    } cases[] = {
        {{.Source = 10, .Ntr = casm::RootTrans, .Table = casm::Bass, .HighKey = 7, .NoteLow = 28, .NoteHigh = 55,
          .Rtr = casm::PitchShiftToRoot},
         data::NoteRule::RootTransposition, data::NoteTable::Bass, data::RetriggerRule::PitchShiftToRoot},
        {{.Source = 11, .Ntr = casm::RootFixed, .Table = casm::Chord, .HighKey = 0, .Rtr = casm::Stop},
         data::NoteRule::RootFixed, data::NoteTable::Chord, data::RetriggerRule::Stop},
        {{.Source = 12, .Table = casm::HarmonicMinor, .HighKey = 11, .NoteLow = 40, .NoteHigh = 100, .Rtr = casm::Retrigger},
         data::NoteRule::RootTransposition, data::NoteTable::HarmonicMinor, data::RetriggerRule::Retrigger},
        {{.Source = 13, .Table = casm::Dorian5th, .Rtr = casm::NoteGenerator},
         data::NoteRule::RootTransposition, data::NoteTable::Dorian5th, data::RetriggerRule::NoteGenerator},
        {{.Source = 15, .Ntr = casm::Guitar, .Table = casm::Bypass, .Rtr = casm::RetriggerToRoot},
         data::NoteRule::Guitar, data::NoteTable::Bypass, data::RetriggerRule::RetriggerToRoot},
    };
    for (CasmFormat format : {CasmFormat::Ctab, CasmFormat::Ctb2}) {
        for (const Case& c : cases) {
            const CasmTable table = TableOf(c.Entry, format);
            ASSERT_EQ(table.Groups.size(), 1U);
            ASSERT_EQ(table.Groups[0].Channels.size(), 1U);
            const CasmChannel& channel = table.Groups[0].Channels[0];
            EXPECT_EQ(table.NativeProblem(), "") << c.Entry.Source;
            ASSERT_TRUE(channel.Rules.Active) << channel.RulesProblem;
            for (const data::NoteRangeRules& range : channel.Rules.Ranges) {
                EXPECT_EQ(range.Rule, c.Rule) << c.Entry.Source;
                EXPECT_EQ(range.Table, c.Table) << c.Entry.Source << (format == CasmFormat::Ctab ? " Ctab" : " Ctb2");
                EXPECT_EQ(range.Retrigger, c.Retrigger) << c.Entry.Source;
                EXPECT_EQ(range.HighKey, c.Entry.HighKey);
                EXPECT_EQ(range.NoteLow, c.Entry.NoteLow);
                EXPECT_EQ(range.NoteHigh, c.Entry.NoteHigh);
            }
        }
    }
}

TEST(CasmChunk, AnOutOfRangeRuleMakesTheTableUnfitForNativePlayAndSaysWhich) {
    struct Case {
        CasmEntry Entry;
        const char* Problem;
    } cases[] = {
        {{.Source = 11, .Ntr = 3}, "NTR 3"},
        {{.Source = 11, .RawNtt = 11}, "NTT 11"},
        {{.Source = 11, .RawNtt = 0x8B}, "NTT 139"},
        {{.Source = 11, .HighKey = 12}, "high key 12"},
        {{.Source = 11, .NoteLow = 90, .NoteHigh = 40}, "note limits 90 … 40"},
        {{.Source = 11, .NoteHigh = 128}, "note limits 0 … 128"},
        {{.Source = 11, .Rtr = 6}, "retrigger rule 6"},
    };
    for (CasmFormat format : {CasmFormat::Ctab, CasmFormat::Ctb2}) {
        for (const Case& c : cases) {
            const std::string problem = TableOf(c.Entry, format).NativeProblem();
            EXPECT_NE(problem.find(c.Problem), std::string::npos) << problem;
            EXPECT_NE(problem.find("channel 12"), std::string::npos) << problem;
        }
    }
}

TEST(CasmChunk, AnEntryThatEndsBeforeItsRulesOrAMissingTableIsNoTableForNativePlay) {
    const Bytes whole = Entry(11, "Piano", 11, 0x7FFFFFFFF);
    const Bytes shortEntry(whole.begin(), whole.begin() + 22);
    const CasmTable cut = ReadCasmContent(Block("CSEG", Concat({Block("Sdec", {'M', 'a', 'i', 'n', ' ', 'A'}),
                                                                  Block("Ctab", shortEntry)})));
    EXPECT_NE(cut.NativeProblem().find("ends before its rules"), std::string::npos) << cut.NativeProblem();
    EXPECT_EQ(ReadCasm(Bytes{}).NativeProblem(), "the file has no channel table");
}

}  // namespace
}  // namespace chordella::testing
