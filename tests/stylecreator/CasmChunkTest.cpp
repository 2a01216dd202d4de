// The CASM channel table: read from style files as makers write them (and the corpus's real
// ones where present), and from built chunks that end early or carry entries to skip.
#include <gtest/gtest.h>

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

TEST(CasmChunk, AMakersStyleGivesItsGroupsChannelsAndChordKindsInBothEntryFormats) {
    for (CasmFormat format : {CasmFormat::Ctab, CasmFormat::Ctb2}) {
        SCOPED_TRACE(format == CasmFormat::Ctab ? "Ctab" : "Ctb2");
        const KeyboardStyleWriter writer = SampleKeyboardStyle({.ChordVariants = true, .Format = format});
        const Bytes bytes = writer.Bytes();
        EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(writer.CasmOffset()),
                              bytes.begin() + static_cast<long>(writer.CasmOffset()) + 4), "CASM");
        const CasmTable table = ReadCasm(bytes);
        ASSERT_TRUE(table.Present);
        EXPECT_TRUE(table.Messages.empty());
        ASSERT_EQ(table.Groups.size(), 2U);
        const CasmGroup* main = table.GroupFor("main a");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(table.GroupFor("Fill In BA"), main) << "a group serves every section its list names";
        ASSERT_EQ(main->Channels.size(), 8U);
        const CasmChannel& bass = main->Channels[2];
        EXPECT_EQ(bass.VoiceName, "Bass");
        EXPECT_EQ(bass.DestinationChannel, 10);
        EXPECT_TRUE(bass.PlaysUnderMajor());
        EXPECT_EQ(bass.SourceKind, casmchord::Major7);
        // The piano written for minor chords and the crash that plays only without a chord.
        const CasmChannel& minor = main->Channels[6];
        EXPECT_EQ(minor.SourceChannel, 3);
        EXPECT_FALSE(minor.PlaysUnderMajor());
        EXPECT_TRUE(minor.PlaysUnder(casm::Minor7));
        EXPECT_EQ(minor.SourceKind, casm::Minor7);
        EXPECT_TRUE(main->Channels[7].PlaysUnder(casmchord::Cancel));
        EXPECT_FALSE(main->Channels[7].PlaysUnderMajor());
        const CasmGroup* intro = table.GroupFor("Intro A");
        ASSERT_NE(intro, nullptr);
        EXPECT_NE(intro, main);
        EXPECT_EQ(intro->Channels[5].VoiceName, "Trumpet");
        EXPECT_EQ(table.GroupFor("Main Z"), nullptr);
    }
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

std::uint32_t BigEndianAt(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) | (std::uint32_t{bytes[at + 2]} << 8) |
           bytes[at + 3];
}

TEST(CasmChunk, AFileCutAnywhereInsideItsTableKeepsTheGroupsBeforeTheCutAndSaysWhere) {
    std::vector<std::pair<std::string, Bytes>> files = {
        {"written, Ctab", SampleKeyboardStyle().Bytes()},
        {"written, Ctb2", SampleKeyboardStyle({.ChordVariants = true, .Format = CasmFormat::Ctb2}).Bytes()}};
    for (const std::string& path : CorpusFiles("styles")) files.emplace_back(path, ReadAll(path));
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        // The channel table follows the header and the one track.
        const std::size_t casm = 22 + BigEndianAt(file, 18);
        if (casm + 16 > file.size() || std::string(file.begin() + casm, file.begin() + casm + 4) != "CASM") continue;
        const std::size_t firstGroupEnd = casm + 16 + BigEndianAt(file, casm + 12);
        const CasmTable whole = ReadCasm(file);
        ASSERT_GE(whole.Groups.size(), 2U);
        for (std::size_t cut = casm + 9; cut < casm + 8 + BigEndianAt(file, casm + 4); cut += 5) {
            const CasmTable table = ReadCasm(std::span<const std::uint8_t>(file.data(), cut));
            ASSERT_TRUE(table.Present);
            EXPECT_TRUE(table.Damaged);
            ASSERT_GE(table.Messages.size(), 1U) << "cut at " << cut;
            EXPECT_NE(table.Messages.front().find("claims"), std::string::npos) << table.Messages.front();
            EXPECT_LE(table.Groups.size(), whole.Groups.size());
            if (cut >= firstGroupEnd) {
                EXPECT_GE(table.Groups.size(), 1U) << "cut at " << cut;
            } else if (cut > casm + 16) {
                // Inside the first group: the group is left out, and the message says where it ends.
                EXPECT_TRUE(table.Groups.empty()) << "cut at " << cut;
                EXPECT_GE(table.Messages.size(), 2U) << "cut at " << cut;
            }
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

TEST(CasmChunk, AnOutOfRangeRuleACutEntryOrNoTableMakesItUnfitForNativePlayAndSaysWhy) {
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

    const Bytes whole = Entry(11, "Piano", 11, 0x7FFFFFFFF);
    const Bytes shortEntry(whole.begin(), whole.begin() + 22);
    const CasmTable cut = ReadCasmContent(Block("CSEG", Concat({Block("Sdec", {'M', 'a', 'i', 'n', ' ', 'A'}),
                                                                  Block("Ctab", shortEntry)})));
    EXPECT_NE(cut.NativeProblem().find("ends before its rules"), std::string::npos) << cut.NativeProblem();
    EXPECT_EQ(ReadCasm(Bytes{}).NativeProblem(), "the file has no channel table");
}

}  // namespace
}  // namespace chordella::testing
