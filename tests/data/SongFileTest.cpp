// Reading and writing song files: the three forms, the text section, the style reference,
// the chord memory's cap, and round trips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/SongFile.h"
#include "support/Fixtures.h"
#include "support/SongBuilder.h"

namespace chordella::data {
namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendU32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendText(Bytes& bytes, std::string_view text, std::uint8_t marker = TextMarker) {
    bytes.push_back(marker);
    AppendU32(bytes, static_cast<std::uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// A full-form file without melody: the text, the reserved bytes, then `tail` (style
// reference and chord memory as the caller lays them out).
Bytes FullForm(std::string_view text, const Bytes& tail, std::uint8_t marker = TextMarker) {
    Bytes bytes;
    AppendText(bytes, text, marker);
    bytes.insert(bytes.end(), ReservedBlockSize, 0);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

Bytes Fixture(const std::string& name) { return testing::FixtureBytes("songs/" + name); }

TEST(SongFileForms, ShortFormIsTheChordMemoryRightAfterTheMarker) {
    Bytes file = {ShortFormMarker, 1, 110, 16, 5};
    for (std::uint8_t i = 0; i < 12; ++i) file.push_back(static_cast<std::uint8_t>(40 + i));
    const auto read = ReadSongFile(file);
    ASSERT_TRUE(read.Ok) << read.Error;
    EXPECT_EQ(read.Content.Form, SongFileForm::Short);
    ASSERT_EQ(read.Content.ChordMemory.size(), 16u);

    ArrangementState song;
    ApplySongFile(read.Content, song);
    EXPECT_EQ(song.Chords.ChordMemoryLength, 16);
    EXPECT_EQ(song.Chords.SongTempo(), 110);
    EXPECT_EQ(song.Chords.RecordAt(4), (BeatRecord{40, 41, 42, 43}));
    EXPECT_EQ(song.Chords.RecordAt(12), (BeatRecord{48, 49, 50, 51}));
    EXPECT_EQ(MeasureCount(song.Chords.ChordMemoryLength, 4), 3) << "three one-beat records";
    EXPECT_FALSE(song.HasStyleReference);
    EXPECT_EQ(song.Text, SongText{});
    EXPECT_EQ(song.Melody.MelodyCount, 0);
}

TEST(SongFileForms, EveryFormRoundTripsThroughTheWriter) {
    const auto builder = testing::SongBuilder()
                             .Title("Round")
                             .Comments("one\r\ntwo")
                             .Style("C:\\Music\\STYLES\\Pop.vxs")
                             .At(1).Chord("C").Section(36)
                             .At(2, 3).Chord("G7").Transpose(-2)
                             .NoteAt(1, 1, 60, 2)
                             .End();
    const std::vector<Bytes> files = {builder.Bytes(), builder.ShortFormBytes(),
                                      FullForm("a\r\nb\r\n", builder.MemoryBytes()), Fixture("melody-odd-length.vxa"),
                                      Fixture("fixed-block-short-memory.vxa")};
    for (const Bytes& file : files) {
        const auto first = ReadSongFile(file);
        ASSERT_TRUE(first.Ok) << first.Error;
        ArrangementState song;
        ApplySongFile(first.Content, song);
        const Bytes written = WriteSongFile(SongFileContentOf(song, song.StyleReference));
        const auto second = ReadSongFile(written);
        ASSERT_TRUE(second.Ok) << second.Error;
        ArrangementState again;
        ApplySongFile(second.Content, again);
        EXPECT_EQ(again.Text, song.Text);
        EXPECT_EQ(again.StyleReference, song.StyleReference);
        EXPECT_EQ(again.Chords.ChordMemoryLength, song.Chords.ChordMemoryLength);
        EXPECT_EQ(again.Chords.Bytes, song.Chords.Bytes);
        EXPECT_EQ(again.Melody.MelodyCount, song.Melody.MelodyCount);
        EXPECT_EQ(again.Melody.MelodyBuffer, song.Melody.MelodyBuffer);
        EXPECT_EQ(WriteSongFile(SongFileContentOf(again, again.StyleReference)), written)
            << "a written file is a fixed point of read and write";
    }
}

TEST(SongFileText, FiveLinesAreOneCommentAndTheFourFieldsFewerAreAllComments) {
    struct Case {
        const char* text;
        SongText expected;
    };
    SongText five;
    five.SongComments = "a comment";
    five.SongTitle = "Title";
    five.SongSubtitle = "Subtitle";
    five.SongAuthor = "Author";
    five.SongRights = "(c) 2026";
    SongText three;  // the rights line keeps its reset value
    three.SongComments = "first\r\nsecond\r\nthird";
    three.SongRights = SongRightsPlaceholder;
    for (const Case& c : {Case{"first\r\nsecond\r\nthird", three},
                          Case{"a comment\r\nTitle\r\nSubtitle\r\nAuthor\r\n(c) 2026\r\n", five}}) {
        SCOPED_TRACE(c.text);
        const auto read = ReadSongFile(FullForm(c.text, {1, 120, 16, 0, 48, 1, 0, 0}));
        ASSERT_TRUE(read.Ok);
        EXPECT_EQ(read.Content.Text, c.expected);
    }
}

TEST(SongFileText, EmptyFieldsAndCommentsSurviveJoinAndSplitAndTheTextIsKeptWithinItsBuffer) {
    SongText text;
    text.SongComments = "line one\r\n\r\nline three\r\n";
    text.SongTitle = "";
    text.SongAuthor = "Me";
    text.SongRights = "";
    EXPECT_EQ(SplitSongText(JoinSongText(text)), text);
    EXPECT_EQ(SplitSongText(JoinSongText(SongText{})), SongText{});

    // The text is kept within its buffer with the fields intact.
    text = SongText{};
    text.SongComments = std::string(3000, 'x');
    text.SongTitle = std::string(400, 't');
    text.SongAuthor = "Line\r\nbreak";
    const SongText fitted = FitSongText(text);
    EXPECT_LE(JoinSongText(fitted).size(), SongTextCapacity);
    EXPECT_EQ(fitted.SongTitle.size(), SongFieldCapacity);
    EXPECT_EQ(fitted.SongAuthor, "Line  break") << "a single-line field holds no line break";
    EXPECT_EQ(FitSongText(fitted), fitted);

    // A file with a 4000-byte text still gives its four fields.
    const std::string longText = std::string(4000, 'c') + "\r\nT\r\nS\r\nA\r\nR\r\n";
    const auto read = ReadSongFile(FullForm(longText, {1, 120, 16, 0}));
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Content.Text.SongTitle, "T");
    EXPECT_EQ(read.Content.Text.SongRights, "R");
    EXPECT_LE(JoinSongText(read.Content.Text).size(), SongTextCapacity);
}

TEST(SongFileText, MarkerFBReadsLikeFDAndMarksACreatorSong) {
    const Bytes memory = {1, 120, 16, 0, 48, 1, 0, 0};
    const auto plain = ReadSongFile(FullForm("x\r\n", memory, TextMarker));
    const auto creator = ReadSongFile(FullForm("x\r\n", memory, CreatorTextMarker));
    ASSERT_TRUE(plain.Ok && creator.Ok);
    EXPECT_FALSE(plain.Content.CreatorRepeatFlag);
    EXPECT_TRUE(creator.Content.CreatorRepeatFlag);
    EXPECT_EQ(creator.Content.Text, plain.Content.Text);
    EXPECT_EQ(creator.Content.ChordMemory, plain.Content.ChordMemory);

    ArrangementState song;
    ApplySongFile(creator.Content, song);
    EXPECT_EQ(song.CreatorRepeatFlag, 1);
    const auto again = ReadSongFile(WriteSongFile(SongFileContentOf(song, "")));
    EXPECT_TRUE(again.Content.CreatorRepeatFlag) << "saving keeps the song a creator song";
}

TEST(SongFileStyleReference, FCIsFollowedByTheStylePathAChordMemoryStartingWithFCReadsBackAndALongPathIsStoredAsItsFileName) {
    Bytes tail = {StyleReferenceMarker};
    const std::string path = "C:\\Old\\STYLES\\Pop.vxs";
    tail.insert(tail.end(), path.begin(), path.end());
    tail.resize(1 + StyleReferenceSize, 0);
    tail.insert(tail.end(), {2, 100, 12, 7});
    const auto read = ReadSongFile(FullForm("", tail));
    ASSERT_TRUE(read.Ok);
    EXPECT_TRUE(read.Content.HasStyleReference);
    EXPECT_EQ(read.Content.StyleReference, path);
    EXPECT_EQ(read.Content.ChordMemory, (Bytes{2, 100, 12, 7}));

    // A chord memory starting with FC is written so that it reads back.
    SongFileContent content;
    content.ChordMemory = {StyleReferenceMarker, 120, 16, 0, 48, 1, 0, 0};
    const auto again = ReadSongFile(WriteSongFile(content));
    ASSERT_TRUE(again.Ok);
    EXPECT_EQ(again.Content.ChordMemory, content.ChordMemory);
    EXPECT_EQ(again.Content.StyleReference, "");

    const std::string longPath = "/home/player/" + std::string(200, 'd') + "/Waltz.vxs";
    EXPECT_EQ(StoredStyleReference(longPath), "Waltz.vxs");
    EXPECT_EQ(StoredStyleReference("C:\\STYLES\\Pop.vxs"), "C:\\STYLES\\Pop.vxs");
    EXPECT_EQ(StoredStyleReference(std::string(300, 'z')).size(), StyleReferenceSize - 1);
}

TEST(SongFileChordMemory, IsCutAt12010Bytes) {
    Bytes memory(ChordMemorySize + 500, 0);
    memory[ChordMemorySize - 1] = 77;
    const auto read = ReadSongFile(FullForm("", memory));
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Content.ChordMemory.size(), static_cast<std::size_t>(ChordMemorySize));
    EXPECT_EQ(read.Content.ChordMemoryBytesCut, 500u);
    ArrangementState song;
    ApplySongFile(read.Content, song);
    EXPECT_EQ(song.Chords.ChordMemoryLength, ChordMemorySize);
    EXPECT_EQ(song.Chords.Bytes.back(), 77);
}

TEST(SongFileChordMemory, FourBytesOrFewerAreAnEmptySong) {
    for (std::size_t size = 0; size <= 4; ++size) {
        const Bytes header = {3, 90, 12, 5};
        const Bytes memory(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(size));
        const auto read = ReadSongFile(FullForm("", memory));
        ASSERT_TRUE(read.Ok) << size;
        ArrangementState song;
        song.Chords.ChordMemoryLength = 400;
        ApplySongFile(read.Content, song);
        EXPECT_EQ(song.Chords.ChordMemoryLength, 4) << size;
        EXPECT_TRUE(song.Chords.IsEmpty());
        EXPECT_EQ(song.Chords.RecordAt(4).CommandCode, CommandStop) << "an empty song stops at once";
        if (size >= 2) {
            EXPECT_EQ(song.Chords.SongTempo(), 90) << "the header bytes that are there are kept";
        }
    }
}

TEST(SongFileMelody, AnOddLengthIsSteppedOverWholeAndEventsBeyondTheTrackCapacityAreCounted) {
    const auto read = ReadSongFile(Fixture("melody-odd-length.vxa"));
    ASSERT_TRUE(read.Ok) << read.Error;
    ASSERT_EQ(read.Content.Melody.size(), 1u);
    EXPECT_EQ(read.Content.Melody[0], (MelodyEvent{0, 0x90, 60, 100, 1}));
    EXPECT_EQ(read.Content.MelodyBytesIgnored, 5u);
    EXPECT_EQ(read.Content.Text.SongComments, "Comment");
    EXPECT_EQ(read.Content.Text.SongTitle, "Odd");
    ASSERT_EQ(read.Content.ChordMemory.size(), 36u);
    EXPECT_EQ(read.Content.ChordMemory[4], 48);

    SongFileContent content;
    for (int i = 0; i < 10; ++i) content.Melody.push_back({i, 0x90, 60, 1, 1});
    content.ChordMemory = {1, 120, 16, 0, 48, 1, 0, 0};
    ArrangementState song;
    song.Melody = MelodyTrack(4);
    EXPECT_EQ(ApplySongFile(content, song), 6u);
    EXPECT_EQ(song.Melody.MelodyCount, 4);
    EXPECT_EQ(song.Melody.MelodyBackup[3].Time, 3) << "a loaded track is also the backup";
}

// The kept damaged files are refused with their reasons in SongFilesTest.ARefusedFileLeavesTheSongAsItWas.
TEST(SongFileDamage, TheReservedBytesCountAndTheFixedCommentBlockHoldsCommentsOnly) {
    EXPECT_FALSE(ReadSongFile(Bytes{TextMarker, 0, 0, 0, 0, 1, 2, 3}).Ok);
    EXPECT_FALSE(ReadSongFile(Bytes(1000, 1)).Ok);
    EXPECT_FALSE(ReadSongFile(Bytes{MelodyBlockMarker, 0xFF, 0xFF, 0xFF, 0xFF}).Ok);

    const auto read = ReadSongFile(Fixture("fixed-block-short-memory.vxa"));
    ASSERT_TRUE(read.Ok) << read.Error;
    EXPECT_EQ(read.Content.Text.SongComments, "Old comments\r\nsecond line");
    EXPECT_EQ(read.Content.Text.SongTitle, "");
    EXPECT_EQ(read.Content.ChordMemory, (Bytes{3, 100}));
}

}  // namespace
}  // namespace chordella::data
