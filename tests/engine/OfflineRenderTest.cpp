// Offline rendering of styles: what the engine sends on the virtual clock, written as a MIDI
// file and read back by python3-mido and by our own import.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "app/RenderSession.h"
#include "cli/RenderCommands.h"
#include "core/MidiImport.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/OfflineRenderer.h"
#include "support/MidoReader.h"
#include "support/SongBuilder.h"
#include "support/StreamMessages.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

using data::StylePart;
using Note = std::tuple<std::int64_t, int, int>;  // tick, channel, note

// Two measures of Basic: bass on beats 1 and 3, a hi-hat on every beat, a held C major
// chord on channel 3; a one-measure Ending and a one-measure Intro.
StyleBuilder Groove() {
    StyleBuilder b;
    b.Meter(4).Tempo(100).Program(0, 33).Program(2, 48);
    PartBuilder& basic = b.Part(StylePart::Basic).Measures(2);
    for (int measure = 1; measure <= 2; ++measure) {
        basic.Note(0, 36, 100, b.Position(measure, 1), 12).Note(0, 43, 90, b.Position(measure, 3), 12);
        for (int beat = 1; beat <= 4; ++beat) basic.Note(9, 42, 80, b.Position(measure, beat), 6);
        for (int note : {60, 64, 67}) basic.Note(2, note, 70, b.Position(measure, 1), 90);
    }
    b.Part(StylePart::Ending).Measures(1).Note(0, 36, 100, 0, 48).Note(9, 49, 110, 0, 24);
    b.Part(StylePart::Intro).Measures(1).Note(9, 37, 90, 0, 12).Note(9, 37, 90, 48, 12);
    return b;
}

// The note-ons the Basic part plays over C major in `measures` measures.
std::vector<Note> BasicNotes(int measures, int rootShift = 0) {
    std::vector<Note> notes;
    for (int measure = 0; measure < measures; ++measure) {
        const std::int64_t start = measure * 96;
        notes.emplace_back(start, 0, 36 + rootShift);
        notes.emplace_back(start + 48, 0, 43 + rootShift);
        for (int beat = 0; beat < 4; ++beat) notes.emplace_back(start + beat * 24, 9, 42);
        for (int note : {60, 64, 67}) notes.emplace_back(start, 2, note + rootShift);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

std::vector<Note> NoteOnsOf(const data::SmfContent& content) {
    std::vector<Note> notes;
    for (const data::SmfChannelMessage& m : content.Messages)
        if ((m.Status & 0xF0) == 0x90 && m.Data2 > 0) notes.emplace_back(m.Tick, m.Status & 0x0F, m.Data1);
    std::sort(notes.begin(), notes.end());
    return notes;
}

// For every channel and note: on and off counts balance, an off never comes before its on,
// and nothing sounds after the end.
void ExpectEveryNoteEnds(const std::vector<MidoEvent>& events, std::int64_t endTick) {
    std::map<std::pair<int, int>, int> sounding;
    for (const MidoEvent& e : events) {
        const auto key = std::make_pair(e.Int("channel"), e.Int("note"));
        if (e.IsNoteOn()) ++sounding[key];
        if (e.IsNoteOff() && sounding[key] > 0) --sounding[key];
        if (e.IsNoteOn() || e.IsNoteOff()) {
            EXPECT_LE(e.Tick, endTick);
        }
    }
    for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0) << "channel " << key.first << " note " << key.second;
}

class OfflineRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        stylePath = folder.Path() + "/Groove.vxs";
        ASSERT_TRUE(Groove().Write(stylePath));
        std::string error;
        ASSERT_TRUE(render.LoadStyle(stylePath, error)) << error;
    }

    MidoFile WriteAndRead(const data::SmfContent& content) {
        std::string error;
        EXPECT_TRUE(data::WriteSmfFile(MidPath(), content, error)) << error;
        MidoFile file;
        EXPECT_TRUE(ReadWithMido(MidPath(), file)) << file.Error;
        return file;
    }
    std::string MidPath() const { return folder.Path() + "/out.mid"; }

    TempFolder folder;
    app::RenderSession render{platform::Paths::InFolder(folder.Path())};
    std::string stylePath;
};

TEST_F(OfflineRenderTest, AStyleAlonePlaysBasicOverCMajorFromTimeZeroAndItsFileReadsTheSameThroughMidoAndOurImport) {
    data::SmfContent content;
    ASSERT_TRUE(render.RenderStyle(2, content));
    EXPECT_EQ(NoteOnsOf(content), BasicNotes(2));
    EXPECT_EQ(content.EndTick, 2 * 96);
    ASSERT_FALSE(content.Tempos.empty());
    EXPECT_EQ(content.Tempos.front().BeatsPerMinute, 100);
    ASSERT_FALSE(content.Markers.empty());
    EXPECT_EQ(content.Markers.front().Text, "Basic");
    EXPECT_EQ(content.Markers.front().Tick, 0);
    // The channel set-up comes at time zero, before the first note.
    const auto program = std::find_if(content.Messages.begin(), content.Messages.end(),
                                      [](const auto& m) { return m.Status == 0xC0; });
    ASSERT_NE(program, content.Messages.end());
    EXPECT_EQ(program->Data1, 33);
    EXPECT_EQ(program->Tick, 0);
    EXPECT_LT(program, std::find_if(content.Messages.begin(), content.Messages.end(),
                                    [](const auto& m) { return (m.Status & 0xF0) == 0x90; }));

    const MidoFile file = WriteAndRead(content);
    const int scale = file.Division / 24;
    ASSERT_GT(scale, 0);
    EXPECT_EQ(file.Division % 24, 0);
    std::vector<std::tuple<std::int64_t, int, int, int>> read, sent;
    for (const MidoEvent& e : file.Notes()) read.emplace_back(e.Tick, e.Int("channel"), e.Int("note"), e.Int("velocity"));
    for (const data::SmfChannelMessage& m : content.Messages)
        if ((m.Status & 0xF0) == 0x90 && m.Data2 > 0) sent.emplace_back(m.Tick * scale, m.Status & 0x0F, m.Data1, m.Data2);
    std::sort(read.begin(), read.end());
    std::sort(sent.begin(), sent.end());
    EXPECT_EQ(read, sent);
    ExpectEveryNoteEnds(file.Events, content.EndTick * scale);
    for (const char* name : {"Electric Bass (finger)", "String Ensemble 1", "Drums"})
        EXPECT_NE(std::find(file.TrackNames.begin(), file.TrackNames.end(), name), file.TrackNames.end()) << name;
    EXPECT_EQ(file.TrackNames.at(0), "Groove");
    EXPECT_EQ(file.OfType("set_tempo").at(0).Int("tempo"), 600000);

    TestSession t;
    data::MidiImporter importer(*t.session, t.state.options);
    ASSERT_EQ(importer.Import(MidPath(), true, true), data::ImportOutcome::Imported);
    std::vector<Note> imported;
    for (const StreamMessage& m : StreamMessagesOf(data::FirstChunkMaterial(t.session->Style().Work)))
        if ((m.Status & 0xF0) == 0x90 && m.Data2 > 0) imported.emplace_back(m.Tick, m.Status & 0x0F, m.Data1);
    std::sort(imported.begin(), imported.end());
    EXPECT_EQ(imported, BasicNotes(2)) << "our import reads back what was written";
}

TEST_F(OfflineRenderTest, APartPlaysOncePerPassAndFollowsTheChordItIsPlayedOver) {
    data::SmfContent content;
    ASSERT_TRUE(render.RenderPart(data::Index(StylePart::Basic), content, 50, 1));  // D major
    EXPECT_EQ(content.EndTick, 2 * 96);
    std::vector<Note> expected = BasicNotes(2, 2);
    for (Note& note : expected)
        if (std::get<1>(note) == 9) std::get<2>(note) = 42;  // drums are not transposed
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NoteOnsOf(content), expected);

    ASSERT_TRUE(render.RenderPart(data::Index(StylePart::Ending), content));
    EXPECT_EQ(content.EndTick, 96);
    EXPECT_EQ(NoteOnsOf(content), (std::vector<Note>{{0, 0, 36}, {0, 9, 49}}));
    EXPECT_FALSE(render.RenderPart(data::Index(StylePart::ToBasic), content));
}

// A lead-in at 100 bpm before the style starts is left out; the tempo set before the start is
// the file's first, and a change while playing counts from the next tick without a timer.
TEST(RenderTiming, TicksBeforeTheStyleStartsAreLeftOutAndATempoChangeWhilePlayingIsRecordedFromTheNextTick) {
    // The engine and clock of a session that holds the Groove style, for a renderer of its own.
    TestSession t;
    engine::AccompanimentEngine engine{*t.session, t.state.engine, t.state.clock, t.state.options};
    engine::Clock clock{*t.session, engine, t.state.clock, t.state.options};
    t.session->SetEngineLink(&engine);
    const std::string path = t.home.Path() + "/Groove.vxs";
    ASSERT_TRUE(Groove().Write(path) && data::StyleStore(*t.session).Load(path, false) == data::StyleLoadResult::Loaded);
    data::SmfContent content;
    {
        engine::OfflineRenderer renderer(*t.session, engine, clock);
        renderer.Start(100);
        renderer.Run(30);
        clock.TempoFieldChanged(120);
        ASSERT_TRUE(engine.Sections().PlayPart(data::Index(StylePart::Basic)));
        renderer.Run(96);
        clock.TempoFieldChanged(60);
        EXPECT_EQ(t.state.clock.TimerId, 60);  // the clock runs at the new tempo …
        EXPECT_EQ(clock.VirtualBpm(), 60);     // … on the virtual time line
        renderer.Run(96);
        content = renderer.Finish("Groove");
    }
    EXPECT_EQ(NoteOnsOf(content), BasicNotes(2));
    EXPECT_EQ(content.Markers.at(0).Tick, 0);
    ASSERT_EQ(content.Tempos.size(), 2u);
    EXPECT_EQ(content.Tempos[0].Tick, 0);
    EXPECT_EQ(content.Tempos[0].BeatsPerMinute, 120);
    EXPECT_EQ(content.Tempos[1].Tick, 96);
    EXPECT_EQ(content.Tempos[1].BeatsPerMinute, 60);
    EXPECT_EQ(engine::MicrosAt(content.Tempos, content.EndTick), 2'000'000 + 4'000'000);
    EXPECT_EQ(engine::MicrosAt(content.Tempos, 120), 3'000'000);
    EXPECT_EQ(engine::MicrosAt({}, 24), 500'000) << "no tempo is 120 bpm";
    EXPECT_EQ(t.state.clock.ClockState, 0);
    EXPECT_EQ(t.session->AccompanimentOutput(), t.session->CurrentOutput());
}

TEST_F(OfflineRenderTest, ASongPlaysItsChordsOnTheirMeasuresWithTheStyleAndEndsWithNothingSounding) {
    ASSERT_TRUE(app::RenderSession::CanPlaySongs());
    SongBuilder song;
    song.Tempo(100).At(1).Chord("C").At(3).Chord("F").At(5).Stop();
    const std::string songPath = folder.Path() + "/Song.vxa";
    song.WriteTo(songPath);
    std::string error;
    ASSERT_TRUE(render.LoadSong(songPath, error)) << error;
    render.State().options.PlayIntro = false;

    data::SmfContent content;
    ASSERT_TRUE(render.RenderSong(0, content));
    const std::vector<Note> played = NoteOnsOf(content);
    std::vector<Note> first, second;
    for (const Note& n : played) {
        if (std::get<0>(n) < 2 * 96) first.push_back(n);
        else if (std::get<0>(n) < 4 * 96) second.emplace_back(std::get<0>(n) - 2 * 96, std::get<1>(n), std::get<2>(n));
    }
    EXPECT_EQ(first, BasicNotes(2)) << "measures 1 and 2 play over C";

    app::RenderSession reference{platform::Paths::InFolder(folder.Path())};
    ASSERT_TRUE(reference.LoadStyle(stylePath, error)) << error;
    data::SmfContent overF;
    ASSERT_TRUE(reference.RenderPart(data::Index(StylePart::Basic), overF, 53, 1));
    EXPECT_EQ(second, NoteOnsOf(overF)) << "measures 3 and 4 play as the style does over F";

    const MidoFile file = WriteAndRead(content);
    ExpectEveryNoteEnds(file.Events, content.EndTick * (file.Division / 24));
}

// The bundled "Harbour Lights" on its bossa style, as `chordella play` and `render` load it.
class HarbourLights : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string assets = chordella::testing::TestsFolder() + "/../assets";
        std::string errorFile, error;
        ASSERT_TRUE(app::LoadRenderInput(render, assets + "/songs/harbour.vxa", assets + "/styles/bossa.vxs", errorFile,
                                         error))
            << errorFile << ": " << error;
    }

    TempFolder folder;
    app::RenderSession render{platform::Paths::InFolder(folder.Path())};
};

TEST_F(HarbourLights, PlaysAtTheSongsTempoChoosesTheVibraphoneBeforeTheTuneAndEndsEveryDrumNote) {
    EXPECT_EQ(render.State().clock.Tempo, 124) << "the song is saved at 124 bpm, its style at 132";
    data::SmfContent content;
    ASSERT_TRUE(render.RenderSong(0, content));
    // The tune's channel is the channel of its first note.
    const data::MelodyTrack& melody = render.State().arrangement.Melody;
    ASSERT_GT(melody.MelodyCount, 0);
    const int tuneChannel = melody.MelodyBuffer[0].Status & 0x0F;
    int programBeforeTune = -1;
    for (const data::SmfChannelMessage& m : content.Messages) {
        if ((m.Status & 0xF0) == 0x90 && m.Data2 > 0 && (m.Status & 0x0F) == tuneChannel) break;
        if (m.Status == (0xC0 | tuneChannel)) programBeforeTune = m.Data1;
    }
    EXPECT_EQ(programBeforeTune, 11) << "vibraphone on channel " << tuneChannel + 1;

    // Drums are never cut by chord changes, so each must end by its own note-off, within a
    // measure (the longest drum sound of the style is far shorter).
    std::map<int, std::int64_t> sounding;  // drum key → tick of its note-on
    for (const data::SmfChannelMessage& m : content.Messages) {
        if ((m.Status & 0x0F) != 9) continue;
        const int kind = m.Status & 0xF0;
        if (kind == 0x90 && m.Data2 > 0) {
            if (sounding.count(m.Data1) == 0) sounding[m.Data1] = m.Tick;
        } else if (kind == 0x80 || kind == 0x90) {
            auto it = sounding.find(m.Data1);
            if (it == sounding.end()) continue;
            EXPECT_LE(m.Tick - it->second, 96) << "drum key " << int(m.Data1) << " from tick " << it->second;
            sounding.erase(it);
        }
    }
    for (const auto& [key, tick] : sounding) ADD_FAILURE() << "drum key " << key << " from tick " << tick << " never ends";
}

}  // namespace
}  // namespace chordella::testing
