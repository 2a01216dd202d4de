// Damaged and hostile files: each gets its message, nothing is read outside the file, and
// the work imported before stays exactly as it was.
#include "data/ImportFixture.h"

namespace chordella::testing {
namespace {

using data::ImportOutcome;

class ImportFaultTest : public ImportTest {
protected:
    void SetUp() override {
        ASSERT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 0, 60, 100).End(24)}), ImportOutcome::Imported);
        before_ = Stream();
        lengthBefore_ = Work().WorkLength;
        t.prompter->ClearShown();
    }
    // Imports the bytes, expects exactly `message` and an unchanged work.
    void ExpectRefused(const Bytes& bytes, const std::string& message) {
        SCOPED_TRACE(message);
        EXPECT_EQ(ImportBytes(bytes), ImportOutcome::Failed);
        ASSERT_EQ(t.prompter->Shown().size(), 1u);
        EXPECT_EQ(t.prompter->Shown()[0], message);
        EXPECT_EQ(Stream(), before_);
        EXPECT_EQ(Work().WorkLength, lengthBefore_);
        EXPECT_EQ(hooks.resets, 1);
        t.prompter->ClearShown();
    }
    static Bytes WithTrackData(const Bytes& data, int division = 96) {
        SmfTrack track;
        track.data = data;
        return SmfFileBytes(0, division, {track});
    }

    Bytes before_;
    std::int32_t lengthBefore_ = 0;
};

TEST_F(ImportFaultTest, FilesThatAreNotMidiFilesOrCountTimeCodeOrTooFewTicksAreRefused) {
    const std::string notSmf = "This is not a Standard MIDI-File !";
    ExpectRefused({}, notSmf);
    ExpectRefused({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}, notSmf);
    ExpectRefused(Bytes(100, 'x'), notSmf);
    Bytes junkChunk = SmfFileBytes(0, 96, {SmfTrack().End()});
    junkChunk[14] = 'J';  // the first chunk is no track
    ExpectRefused(junkChunk, notSmf);
    // The header promises two tracks and the file holds one; it promises 65535 too.
    ExpectRefused(SmfFileBytes(0, 96, {SmfTrack().NoteOn(0, 0, 60, 1).End()}, 2), notSmf);
    ExpectRefused(SmfFileBytes(1, 96, {SmfTrack().NoteOn(0, 0, 60, 1).End()}, 65535), notSmf);

    ExpectRefused(SmfFileBytes(0, 0xE728, {SmfTrack().End()}), "This File is not MTC-decoded !");
    for (int division : {0, 1, 23}) {
        ExpectRefused(SmfFileBytes(0, division, {SmfTrack().NoteOn(0, 0, 60, 1).End()}),
                      "This MIDI-File counts " + std::to_string(division) +
                          " ticks per quarter note; at least 24 are needed !");
    }
}

TEST_F(ImportFaultTest, UndefinedStatusBytesDataWithoutStatusAndOverlongQuantitiesSayWhatAndWhere) {
    const std::pair<std::uint8_t, const char*> bytes[] = {{0xF1, "F1"}, {0xF4, "F4"}, {0xF8, "F8"}, {0xFA, "FA"}, {0xFE, "FE"}};
    for (const auto& [status, hex] : bytes) {
        // The bad byte comes late, after material was already converted: 14 bytes of header,
        // 8 of track chunk header, a note-on of 4 bytes and a delta of 1 before it.
        SmfTrack track;
        track.NoteOn(0, 3, 50, 100).Event(96, {status}).End();
        ExpectRefused(SmfFileBytes(0, 96, {track}), std::string("Error - Unknown Code ! (byte 0x") + hex + " at offset 27)");
    }

    ExpectRefused(WithTrackData({0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00}),
                  "This MIDI-File is damaged (track 1: a data byte before any status byte at track offset 1) !");
    ExpectRefused(WithTrackData({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100}),
                  "This MIDI-File is damaged (track 1: a delta time longer than four bytes at track offset 0) !");
    ExpectRefused(WithTrackData({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
                  "This MIDI-File is damaged (track 1: an event length longer than four bytes at track offset 2) !");
}

TEST_F(ImportFaultTest, AFileOf165001BytesIsTooLongAndOneByteLessIsRead) {
    Bytes file = SmfFileBytes(0, 96, {SmfTrack().NoteOn(0, 0, 61, 100).End()});
    file.resize(165001, 0);
    ExpectRefused(file, "Sorry - the file is too long !");
    file.resize(165000);
    EXPECT_EQ(ImportBytes(file), ImportOutcome::Imported);
    EXPECT_EQ(Stream(), (Bytes{0x90, 61, 100}));
}

// Damage that only cuts a track short, or a data byte with its top bit set: what is there is
// imported, without a message and without reading past the track.
TEST_F(ImportFaultTest, CutTracksEndWhereTheirDataEndsAndDamagedDataBytesNeverBecomeWaits) {
    // The chunk claims 1000 bytes; the file ends inside the second note's data bytes.
    Bytes cutShort = SmfFileBytes(0, 24, {SmfTrack().NoteOn(0, 0, 60, 100).NoteOn(24, 0, 62, 100)});
    cutShort[18] = 0; cutShort[19] = 0; cutShort[20] = 0x03; cutShort[21] = 0xE8;
    cutShort.pop_back();
    SmfTrack cutMeta;
    cutMeta.NoteOn(0, 0, 60, 100);
    cutMeta.data.insert(cutMeta.data.end(), {0x00, 0xFF, 0x06, 0x7F, 'a', 'b'});  // 127 bytes promised, 2 present
    const struct {
        const char* label;
        Bytes file;
        const char* name;
        Bytes stream;
    } cases[] = {
        // The second note's delta was read, so its ticks passed before the data ran out.
        {"a track cut short", cutShort, "song.mid", {0x90, 60, 100, 0xFF, 0xFF, 0xFF}},
        {"a running-status note cut after its key: its velocity is not there",
         WithTrackData({0x00, 0x90, 60, 100, 0x00, 62}, 24), "song.mid", {0x90, 60, 100}},
        {"a meta event running past its track ends that track only",
         SmfFileBytes(1, 24, {cutMeta, SmfTrack().NoteOn(24, 1, 64, 100).End()}), "style.sty",
         {0x90, 60, 100, 0xFF, 0xFF, 0xFF, 0x91, 64, 100}},
        {"a damaged velocity of 0xF9 would read as a wait if copied",
         WithTrackData({0x00, 0x90, 60, 0xF9, 0x00, 0xFF, 0x2F, 0x00}, 24), "song.mid", {0x90, 60, 0x79}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ImportBytes(c.file, c.name), ImportOutcome::Imported);
        EXPECT_TRUE(t.prompter->Shown().empty());
        EXPECT_EQ(Stream(), c.stream);
        EXPECT_TRUE(Work().Markers.empty());
    }
}

}  // namespace
}  // namespace chordella::testing
