// What the import writes into the creator's work for well-formed files.
#include "data/ImportFixture.h"

namespace chordella::testing {
namespace {

using data::ImportOutcome;

TEST_F(ImportTest, MessagesBecomeThreeBytesAndTicksBecomeWaitsOfAtMostEight) {
    const struct {
        const char* what;
        int division;
        SmfTrack track;
        Bytes stream;
    } cases[] = {
        // A quarter note at division 96 is 24 ticks; at division 100 the remainder is dropped,
        // so its 100 file ticks become 25 ticks.
        {"division 96", 96, SmfTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End(),
         {0x90, 60, 100, 0xFF, 0xFF, 0xFF, 0x80, 60, 0x40}},
        {"division 100", 100, SmfTrack().NoteOn(0, 0, 60, 100).NoteOff(100, 0, 60).End(),
         {0x90, 60, 100, 0xFF, 0xFF, 0xFF, 0xF8, 0x80, 60, 0x40}},
        {"two ticks", 24, SmfTrack().NoteOn(0, 1, 60, 90).NoteOn(2, 1, 62, 90).End(), {0x91, 60, 90, 0xF9, 0x91, 62, 90}},
        {"nine ticks", 24, SmfTrack().NoteOn(0, 1, 60, 90).NoteOn(9, 1, 62, 90).End(), {0x91, 60, 90, 0xFF, 0xF8, 0x91, 62, 90}},
        {"program change and channel pressure end in zero", 24,
         SmfTrack().Program(0, 5, 33).Event(0, {0xD5, 70}).NoteOn(0, 5, 40, 80).End(), {0xC5, 33, 0, 0xD5, 70, 0, 0x95, 40, 80}},
        // Its two bytes and the end-of-track event are the last 6 bytes of the chunk.
        {"the last note-off of a running-status track is kept", 24, SmfTrack().NoteOn(0, 2, 64, 100).Event(24, {64, 0}).End(),
         {0x92, 64, 100, 0xFF, 0xFF, 0xFF, 0x92, 64, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(ImportTracks(c.division, {c.track}), ImportOutcome::Imported);
        EXPECT_EQ(Stream(), c.stream);
        EXPECT_EQ(importer.LastLayout().FileTicksPerTick(), c.division / 24);
    }
}

TEST_F(ImportTest, TracksAreMergedInTimeOrderAndRunningStatusIsResolved) {
    SmfTrack first;
    first.NoteOn(0, 0, 60, 100).Event(48, {60, 0}).End();
    SmfTrack second;
    second.NoteOn(24, 9, 36, 127).Event(0, {38, 127}).End(48);
    ASSERT_EQ(ImportTracks(24, {first, second}), ImportOutcome::Imported);
    EXPECT_EQ(Stream(), (Bytes{0x90, 60, 100, 0xFF, 0xFF, 0xFF, 0x99, 36, 127, 0x99, 38, 127, 0xFF, 0xFF, 0xFF,
                               0x90, 60, 0, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(importer.LastResult().ImportedBeats, 3);
}

TEST_F(ImportTest, LeadingSilenceIsTrimmedToNinetySixMergedWaitsButSilenceAfterTheFirstNoteNever) {
    // Controllers at tick 0 and the first note after 40 quarter notes (960 ticks).
    const auto file = SmfFileBytes(0, 96, {SmfTrack().Control(0, 0, 7, 100).NoteOn(40 * 96, 0, 60, 100).End()});
    ASSERT_EQ(ImportBytes(file), ImportOutcome::Imported);
    Bytes expected = {0xB0, 7, 100};
    expected.insert(expected.end(), 96, 0xFF);  // 768 ticks, 32 quarter notes
    expected.insert(expected.end(), {0x90, 60, 100});
    EXPECT_EQ(Stream(), expected);

    ASSERT_EQ(ImportBytes(file, "song.mid", /*keepSilence=*/true), ImportOutcome::Imported);
    EXPECT_EQ(Stream().size(), 3u + 120u + 3u);

    t.state.options.TryToOptimizeTiming = false;
    ASSERT_EQ(ImportBytes(file), ImportOutcome::Imported);
    EXPECT_EQ(Stream().size(), 3u + 120u + 3u);

    t.state.options.TryToOptimizeTiming = true;
    ASSERT_EQ(ImportBytes(SmfFileBytes(0, 24, {SmfTrack().NoteOn(0, 0, 60, 100).NoteOn(8 * 200, 0, 62, 100).End()})),
              ImportOutcome::Imported);
    EXPECT_EQ(Stream().size(), 3u + 200u + 3u);
}

TEST_F(ImportTest, ThreeFourSetsMeterAndIntervalFourFourAndTwelveEightNothingAndTempiCountInTheFirstFourMeasures) {
    Work().ChordChangeInterval = 0;
    ASSERT_EQ(ImportTracks(96, {SmfTrack().TimeSignature(0, 3, 2, 24, 8).NoteOn(0, 0, 60, 1).End()}),
              ImportOutcome::Imported);
    EXPECT_EQ(hooks.meters, std::vector<std::string>{"3/4"});
    EXPECT_EQ(Work().ChordChangeInterval, 2);
    EXPECT_STREQ(data::ChordChangeIntervals[Work().ChordChangeInterval], "3/4");

    hooks.meters.clear();
    Work().ChordChangeInterval = 3;
    for (const auto& signature : {std::array<int, 4>{4, 2, 24, 8}, std::array<int, 4>{12, 3, 36, 8}}) {
        SmfTrack track;
        track.TimeSignature(0, signature[0], signature[1], signature[2], signature[3]).NoteOn(0, 0, 60, 1).End();
        ASSERT_EQ(ImportTracks(96, {track}), ImportOutcome::Imported);
    }
    EXPECT_TRUE(hooks.meters.empty());
    EXPECT_EQ(Work().ChordChangeInterval, 3);

    t.state.options.DontGetMetrumFromFile = true;
    ASSERT_EQ(ImportTracks(96, {SmfTrack().TimeSignature(0, 3, 2, 24, 8).End()}), ImportOutcome::Imported);
    EXPECT_TRUE(hooks.meters.empty());

    // 500000 µs = 120 bpm at the start; 400000 µs = 150 bpm at the given beat.
    const auto tempoAtBeat = [&](int beat) {
        hooks.tempos.clear();
        SmfTrack track;
        track.Tempo(0, 500000).NoteOn(0, 0, 60, 100).Tempo(static_cast<std::uint32_t>(beat * 24), 400000).End();
        EXPECT_EQ(ImportTracks(24, {track}), ImportOutcome::Imported);
        return hooks.tempos.empty() ? 0 : hooks.tempos.back();
    };
    EXPECT_EQ(tempoAtBeat(15), 150);   // measure 4, beat 4
    EXPECT_EQ(tempoAtBeat(16), 120);   // measure 5: too late
    hooks.measureUnits = 12;           // 3/4: three measures
    EXPECT_EQ(tempoAtBeat(8), 150);
    EXPECT_EQ(tempoAtBeat(9), 120);
}

TEST_F(ImportTest, NoteOnsMarkTheirChannelsControllersGoToTheTableWhereItKnowsNoneAndTheThirtyThirdTrackIsIgnored) {
    ASSERT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 0, 60, 0).NoteOn(0, 1, 60, 9).Control(0, 2, 7, 1).End()}),
              ImportOutcome::Imported);
    EXPECT_EQ(hooks.channelsUsed[0], 1);  // velocity 0 counts too
    EXPECT_EQ(hooks.channelsUsed[1], 1);
    EXPECT_EQ(hooks.channelsUsed[2], 0);
    EXPECT_EQ(hooks.freeChannel, 2);

    std::vector<SmfTrack> tracks(33);
    for (auto& track : tracks) track.End();
    tracks[31] = SmfTrack().NoteOn(0, 4, 60, 100).End();
    tracks[32] = SmfTrack().NoteOn(0, 5, 60, 100).End();
    ASSERT_EQ(ImportTracks(24, tracks), ImportOutcome::Imported);
    EXPECT_EQ(hooks.channelsUsed[4], 1);
    EXPECT_EQ(hooks.channelsUsed[5], 0);
    EXPECT_EQ(Stream(), (Bytes{0x94, 60, 100}));
    EXPECT_EQ(importer.LastLayout().Tracks.size(), 32u);

    midi::ControllerTable& table = t.session->Controllers();
    table.SetValue(0, 7, 100);
    SmfTrack track;
    track.Control(0, 0, 7, 50).Control(0, 1, 7, 60).Control(10, 1, 7, 70).Control(0, 1, 1, 33);
    track.Program(0, 1, 12).Event(0, {0xD1, 44}).End();
    ASSERT_EQ(ImportTracks(24, {track}), ImportOutcome::Imported);
    EXPECT_EQ(table.Value(0, 7), 100);
    EXPECT_EQ(table.Value(1, 7), 60);
    EXPECT_EQ(table.Value(1, 1), midi::ControllerTable::Unknown);  // not a tracked controller
    EXPECT_EQ(table.Value(1, midi::ControllerTable::ProgramIndex), 12);
    EXPECT_EQ(table.Value(1, midi::ControllerTable::PressureIndex), 44);
}

TEST_F(ImportTest, StyleFormatsYieldMarkersWithTheirMeasureRanges) {
    SmfTrack track;
    track.Marker(0, "SFF1").Marker(0, "Main A").NoteOn(0, 0, 60, 100).Marker(4 * 96, "Fill In AA");
    track.Marker(96, "Ending A").End(3 * 96);
    const auto file = SmfFileBytes(0, 24, {track});
    ASSERT_EQ(ImportBytes(file, "Style.STY"), ImportOutcome::Imported);
    std::vector<std::string> shown;
    for (const auto& marker : Work().Markers) shown.push_back(marker.DisplayText());
    EXPECT_EQ(shown, (std::vector<std::string>{"SFF1 : 1 - 1", "Main A : 1 - 4", "Fill In AA : 5 - 5",
                                               "Ending A : 6 - 8"}));
    ASSERT_EQ(ImportBytes(file, "Style.mid"), ImportOutcome::Imported);
    EXPECT_TRUE(Work().Markers.empty());
    EXPECT_TRUE(hooks.countInOff);
    EXPECT_EQ(Work().SourceFile, t.home.File("Style.mid"));
}

TEST_F(ImportTest, AReplacingImportResetsTheStyleAndLeavesAnUnmodifiedWorkAndAModifiedOneIsReplacedOnlyAfterYes) {
    ASSERT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 0, 60, 100).End(48)}), ImportOutcome::Imported);
    EXPECT_EQ(hooks.resets, 1);
    EXPECT_EQ(Work().WorkLength, 9);  // a message and six waits of 8 ticks
    EXPECT_EQ(Work().WorkLengthUnits, 8);
    EXPECT_FALSE(Work().WorkModified);
    EXPECT_TRUE(Work().ImportedSong);
    EXPECT_EQ(Work().Caption, "Style-Creator & Chord-Generator  -  song.mid");

    Work().WorkModified = true;
    const Bytes before = Stream();
    t.prompter->AnswerNo();
    EXPECT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 3, 61, 100).End()}), ImportOutcome::Cancelled);
    EXPECT_TRUE(t.prompter->WasShown("Replace current work ?"));
    EXPECT_EQ(Stream(), before);
    t.prompter->AnswerYes();
    EXPECT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 3, 61, 100).End()}), ImportOutcome::Imported);
    EXPECT_EQ(Stream(), (Bytes{0x93, 61, 100}));
}

TEST_F(ImportTest, ASilentImportAsksNothingAndOpensNoDialogButStillReportsFailure) {
    ASSERT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 0, 60, 100).End(24)}), ImportOutcome::Imported);
    Work().WorkModified = true;
    const std::string path = t.home.File("second.mid");
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, SmfFileBytes(0, 24, {SmfTrack().NoteOn(0, 4, 50, 1).End()}), error));
    EXPECT_EQ(importer.Import(path, false, /*silent=*/true), ImportOutcome::Imported);
    EXPECT_EQ(importer.Import("", false, true), ImportOutcome::Cancelled);
    EXPECT_TRUE(t.prompter->Shown().empty());  // no question, no dialog
    EXPECT_EQ(Stream(), (Bytes{0x94, 50, 1}));
    ASSERT_TRUE(platform::WriteFileAtomically(path, Bytes{'R', 'I', 'F', 'F'}, error));
    EXPECT_EQ(importer.Import(path, false, true), ImportOutcome::Failed);
    EXPECT_TRUE(t.prompter->WasShown("This is not a Standard MIDI-File !"));
}

TEST_F(ImportTest, TheDialogOffersTheLastImportFolderAndTheStarOnlyChoosesIt) {
    const std::string path = t.home.File("picked.mid");
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, SmfFileBytes(0, 24, {SmfTrack().NoteOn(0, 4, 50, 1).End()}), error));
    t.prompter->AnswerText(path);
    EXPECT_EQ(importer.Import("*"), ImportOutcome::Cancelled);
    EXPECT_TRUE(t.prompter->WasShown(data::ImportDialogTitle));
    EXPECT_EQ(Work().ImportDirectory, t.home.Path());
    EXPECT_EQ(Work().WorkLength, 0);
    t.prompter->AnswerText(path);
    EXPECT_EQ(importer.Import(""), ImportOutcome::Imported);
    EXPECT_EQ(Stream(), (Bytes{0x94, 50, 1}));
}

TEST_F(ImportTest, AppendingStartsAtTheNextMeasureAndPadsTheLastOne) {
    // Six beats of material: the creator stands in measure 2; the next import goes to measure 3.
    ASSERT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 0, 60, 100).End(6 * 24)}), ImportOutcome::Imported);
    Work().AppendMode = true;
    ASSERT_EQ(ImportTracks(24, {SmfTrack().NoteOn(0, 1, 62, 100).End(24)}), ImportOutcome::Imported);
    EXPECT_EQ(hooks.resets, 1);
    const Bytes stream = Stream();
    ASSERT_GE(stream.size(), 21u);
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 3), (Bytes{0x90, 60, 100}));
    EXPECT_EQ(Bytes(stream.begin() + 21, stream.begin() + 24), (Bytes{0x91, 62, 100}));
    EXPECT_TRUE(Work().WorkModified);
    // Position after the appended beat: measure 3 beat 2 (units 4 + 32 + 4 = 40), then
    // (40 mod 16) div 4 = 2 beats of padding.
    EXPECT_EQ(Work().Position, 48);
    EXPECT_EQ(data::MaterialTicks(Work()), 6 * 24 + 0 + 24 + 2 * 24);
}

TEST_F(ImportTest, MaterialBeyondSevenChunksEndsWithOutOfMemoryAndKeepsTheChain) {
    // A note, then an end of track 2^28 − 1 ticks later, with the silence kept.
    const auto file = SmfFileBytes(0, 24, {SmfTrack().NoteOn(0, 0, 60, 100).End(0x0FFFFFFF)});
    ASSERT_EQ(ImportBytes(file, "long.mid", true), ImportOutcome::Imported);
    EXPECT_TRUE(t.prompter->WasShown("Sorry - Out of Memory !"));
    for (int chunk = 0; chunk < data::MaxWorkChunks; ++chunk) {
        const data::WorkChunk& slot = Work().Chunks[chunk];
        ASSERT_TRUE(slot.Present) << chunk;
        if (chunk + 1 < data::MaxWorkChunks) {
            EXPECT_EQ(slot.Buffer[slot.Size - 1], 0xF0) << chunk;
        }
        EXPECT_LE(slot.Size, data::WorkChunkCapacity);
    }
    EXPECT_EQ(Work().WorkLength, data::EndOfMaterial(Work()).Offset +
                                     (data::MaxWorkChunks - 1) * Work().Chunks[0].Size);
}

}  // namespace
}  // namespace chordella::testing
