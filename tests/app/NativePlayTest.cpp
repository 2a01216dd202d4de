// Another maker's style played natively: a style written here with a piano over CMaj7 (E-G-B,
// chord table, root fixed), a bass (bass table, root transposition) and a melodic phrase
// (melody table) is rendered over chords; every note is the one its channel's rules give.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/ForeignStylePlay.h"
#include "app/RenderSession.h"
#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/OfflineRenderer.h"
#include "support/KeyboardStyleWriter.h"
#include "support/MidoReader.h"
#include "support/RunChordella.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

constexpr int Drums = 9;
constexpr int BassSource = 10;
constexpr int Piano = 11;
constexpr int Phrase = 15;
constexpr int Basic = 1;

std::string NoteName(int note) {
    static const char* names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return names[note % 12] + std::to_string(note / 12 - 1);
}

// The keys of the note-ons of `channel`, in the order they were sent.
std::string NotesOn(const data::SmfContent& content, int channel) {
    std::string text;
    for (const data::SmfChannelMessage& m : content.Messages)
        if (m.Status == 0x90 + channel && m.Data2 > 0) text += (text.empty() ? "" : " ") + NoteName(m.Data1);
    return text;
}

KeyboardStyleWriter WrittenStyle(int pianoRetrigger = casm::Stop, int pianoNtt = -1) {
    KeyboardStyleWriter w;
    w.Voice(BassSource, 0, 0, 33).Voice(Piano, 0, 0, 0).Voice(Phrase, 0, 0, 56).Voice(Drums, 127, 0, 0);
    SectionWriter& main = w.Section("Main A", 4);
    main.Note(Drums, 36, 100, 0, 6).Note(Drums, 38, 100, 48, 6);
    main.Note(BassSource, 36, 100, 0, 40).Note(BassSource, 43, 100, 48, 40);
    main.Note(Piano, 64, 90, 0, 95).Note(Piano, 67, 90, 0, 95).Note(Piano, 71, 90, 0, 95);
    int at = 0;
    for (int key : {71, 69, 67, 64, 62, 72}) {
        main.Note(Phrase, key, 80, at, 12);
        at += 16;
    }
    CasmGroupWriter& group = w.Group({"Main A"});
    group.Entry({.Source = Drums, .Voice = "Drums", .Ntr = casm::RootFixed, .Table = casm::Bypass});
    group.Entry({.Source = BassSource, .Voice = "Bass", .Table = casm::Bass, .HighKey = 7});
    group.Entry({.Source = Piano, .Voice = "Piano", .Ntr = casm::RootFixed, .Table = casm::Chord,
                 .Rtr = pianoRetrigger, .RawNtt = pianoNtt});
    group.Entry({.Source = Phrase, .Voice = "Trumpet", .Table = casm::Melody, .HighKey = 5});
    return w;
}

struct Loaded {
    TempFolder folder;
    app::RenderSession render{platform::Paths::InFolder(folder.Path())};
    app::ForeignLoad outcome;

    explicit Loaded(const KeyboardStyleWriter& writer) {
        const std::string path = folder.Path() + "/Written.sty";
        EXPECT_TRUE(writer.Write(path));
        outcome = app::LoadForeignStyle(render.Session(), render.State(), path, 1);
    }
};

TEST(NativePlayTest, EveryChannelPlaysTheNotesItsRulesGiveUnderEachChord) {
    Loaded loaded(WrittenStyle());
    ASSERT_TRUE(loaded.outcome.Loaded) << loaded.outcome.Error;
    ASSERT_TRUE(loaded.outcome.Native) << (loaded.outcome.Messages.empty() ? "" : loaded.outcome.Messages.front());
    struct Row {
        const char* Chord;
        int Root;
        int Type;
        const char* Piano;    // E4 G4 B4 as written
        const char* Bass;     // C2 on the downbeat, G2 on beat 3
        const char* Phrase;   // B4 A4 G4 E4 D4 C5
    } rows[] = {
        {"CMaj7", 48, 9, "E4 G4 B4", "C2 G2", "B4 A4 G4 E4 D4 C5"},
        {"C", 48, 1, "E4 G4 C4", "C2 G2", "B4 A4 G4 E4 D4 C5"},
        {"Am7", 57, 4, "C4 E4 G4", "A1 E2", "G4 F#4 E4 C4 B3 A4"},
        {"F", 53, 1, "A4 C4 F4", "F2 C3", "E5 D5 C5 A4 G4 F5"},
        {"G7", 55, 3, "B4 D4 F4", "G2 D3", "F4 E4 D4 B3 A3 G4"},
        {"Dm7b5", 50, 15, "F4 G#4 C4", "D2 G#2", "C5 A#4 G#4 F4 E4 D5"},
    };
    const int bass = 10;   // the bass part's channel, 11
    for (const Row& row : rows) {
        data::SmfContent content;
        ASSERT_TRUE(loaded.render.RenderPart(Basic, content, row.Root, row.Type)) << row.Chord;
        EXPECT_EQ(NotesOn(content, Piano), row.Piano) << row.Chord;
        EXPECT_EQ(NotesOn(content, bass), row.Bass) << row.Chord;
        EXPECT_EQ(NotesOn(content, Phrase), row.Phrase) << row.Chord;
        EXPECT_EQ(NotesOn(content, Drums), "C2 D2") << row.Chord << ": drums are never moved";
    }
}

// Renders the Basic part over CMaj7 and changes to F after two beats.
data::SmfContent RenderWithChange(app::RenderSession& render) {
    core::Session& session = render.Session();
    engine::OfflineRenderer renderer(session, render.Engine(), render.Clock());
    renderer.Start(render.State().clock.Tempo);
    EXPECT_TRUE(render.Engine().Sections().PlayPart(Basic));
    const auto submit = [&](int root, int type) {
        session.Engine().SubmitChord({static_cast<std::int16_t>(root), static_cast<std::int16_t>(type)},
                                     {static_cast<std::int16_t>(root), static_cast<std::int16_t>(root + 4),
                                      static_cast<std::int16_t>(root + 7), 0});
    };
    submit(48, 9);
    renderer.Run(48);
    submit(53, 1);
    renderer.Run(48);
    return renderer.Finish("change");
}

TEST(NativePlayTest, AChordChangeStopsOrSoundsAgainTheHeldNotesByTheRetriggerRule) {
    struct Case {
        int Rule;
        const char* Piano;
    } cases[] = {
        {casm::Stop, "E4 G4 B4"},
        {casm::Retrigger, "E4 G4 B4 A4 C4 F4"},
        {casm::PitchShift, "E4 G4 B4 A4 C4 F4"},
        {casm::RetriggerToRoot, "E4 G4 B4 F4 F4 F4"},
    };
    for (const Case& c : cases) {
        Loaded loaded(WrittenStyle(c.Rule));
        ASSERT_TRUE(loaded.outcome.Native);
        EXPECT_EQ(NotesOn(RenderWithChange(loaded.render), Piano), c.Piano) << "rule " << c.Rule;
    }
}

TEST(NativePlayTest, AnOutOfRangeTableIsConvertedAsBeforeAndTheMessageSaysWhy) {
    Loaded loaded(WrittenStyle(casm::Stop, 40));
    ASSERT_TRUE(loaded.outcome.Loaded) << loaded.outcome.Error;
    EXPECT_FALSE(loaded.outcome.Native);
    ASSERT_FALSE(loaded.outcome.Messages.empty());
    EXPECT_NE(loaded.outcome.Messages.front().find("NTT 40"), std::string::npos) << loaded.outcome.Messages.front();
    EXPECT_FALSE(loaded.render.Session().Style().style.Native.Present);
}

TEST(NativePlayTest, AFileThatIsNoStyleLoadsNothingAndKeepsTheStyleBefore) {
    Loaded loaded(WrittenStyle());
    ASSERT_TRUE(loaded.outcome.Loaded);
    const std::string path = loaded.folder.Path() + "/Broken.sty";
    KeyboardStyleWriter broken = WrittenStyle();
    broken.CutAt(30);
    ASSERT_TRUE(broken.Write(path));
    const app::ForeignLoad again = app::LoadForeignStyle(loaded.render.Session(), loaded.render.State(), path, 1);
    EXPECT_FALSE(again.Loaded);
    EXPECT_FALSE(again.Error.empty());
    EXPECT_TRUE(loaded.render.Session().Style().style.Native.Present) << "the style loaded before stays";
}

TEST(NativePlayTest, RenderPlaysAnotherMakersStyleFromTheCommandLineAndSaysWhenItConvertsInstead) {
    TempFolder folder;
    const std::string home = "--home '" + folder.Path() + "' ";
    ASSERT_TRUE(WrittenStyle().Write(folder.Path() + "/Good.sty"));
    ASSERT_TRUE(WrittenStyle(casm::Stop, 40).Write(folder.Path() + "/Odd.sty"));
    const std::string out = folder.Path() + "/out.mid";

    const CommandResult good = RunChordella(home + "render '" + folder.Path() + "/Good.sty' --set 2 --measures 1 -o '" + out + "'");
    EXPECT_EQ(good.exitCode, 0) << good.output;
    MidoFile written;
    ASSERT_TRUE(ReadWithMido(out, written)) << written.Error;
    std::string piano;
    for (const MidoEvent& e : written.OfType("note_on"))
        if (e.Int("channel") == Piano && e.Int("velocity") > 0) piano += NoteName(e.Int("note")) + " ";
    EXPECT_EQ(piano.substr(0, 9), "E4 G4 C4 ") << "over C major the piano's B goes to the root";

    const CommandResult odd = RunChordella(home + "render '" + folder.Path() + "/Odd.sty' --measures 1 -o '" + out + "'");
    EXPECT_EQ(odd.exitCode, 0) << odd.output;
    EXPECT_NE(odd.output.find("Odd.sty: channel 12 of \"Main A\": NTT 40"), std::string::npos) << odd.output;

    // Where the built-in synth has no audio device, play suggests the render that would play
    // the same: with the same variations set.
    const CommandResult play = RunChordella(home + "play '" + folder.Path() + "/Good.sty' --set 2 --measures 1",
                                            "JACK_NO_START_SERVER=1");
    if (play.output.find("no audio output") != std::string::npos) {
        EXPECT_NE(play.output.find("Good.sty --set 2 -o OUT.wav"), std::string::npos) << play.output;
    }

    const CommandResult wrongSet = RunChordella(home + "render '" + folder.Path() + "/Good.sty' --set 7 -o '" + out + "'");
    EXPECT_EQ(wrongSet.exitCode, 2) << wrongSet.output;
}

// Styles as makers write them, and the corpus's real ones where present: every keyboard style
// plays natively and its bass starts each chord on the root.
// Over eight chords the note-ons off the drum channel are counted in the chord's scale (the
// usual one a player means; a minor chord: dorian or aeolian). At least 95 % are asked of the channels that follow the chord's scale: not the ones the table
// keeps as written (bypass) and not the ones whose phrase is outside its own chord's scale
// already (blue notes written over CMaj7), which the rules keep so, as their maker meant.
struct CorpusChord {
    const char* Name;
    int Root;
    int Type;
    std::set<int> Scale;   // pitch classes above the root
};

const std::set<int> MajorScale{0, 2, 4, 5, 7, 9, 11};
const std::set<int> MinorScale{0, 2, 3, 5, 7, 8, 9, 10};
const std::set<int> DominantScale{0, 2, 4, 5, 7, 9, 10};
const std::set<int> HalfDiminishedScale{0, 1, 2, 3, 5, 6, 8, 10};

struct ScaleCount {
    std::array<int, 16> Notes{};
    std::array<int, 16> InScale{};
    bool BassOnRoot = true;
};

ScaleCount CountInScale(const data::SmfContent& content, const CorpusChord& chord) {
    constexpr int BassPart = 10;
    ScaleCount count;
    bool bassSeen = false;
    for (const data::SmfChannelMessage& m : content.Messages) {
        const int channel = m.Status & 0x0F;
        if ((m.Status & 0xF0) != 0x90 || m.Data2 == 0 || channel == Drums) continue;
        ++count.Notes[static_cast<std::size_t>(channel)];
        if (chord.Scale.count(((m.Data1 - chord.Root) % 12 + 12) % 12) != 0) ++count.InScale[static_cast<std::size_t>(channel)];
        if (channel == BassPart && !bassSeen) {
            bassSeen = true;
            // Only a bass that starts on the first beat has to start on the root.
            if (m.Tick < content.Division) count.BassOnRoot = (m.Data1 - chord.Root) % 12 == 0;
        }
    }
    return count;
}

TEST(NativePlayTest, EveryMakersStylePlaysInTheChordsScaleWithTheBassOnTheRoot) {
    TempFolder written;
    std::vector<std::string> files = {written.File("Four.sty"), written.File("Waltz.sty")};
    ASSERT_TRUE(SampleKeyboardStyle({.ChordVariants = true}).Write(files[0]));
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 3, .Format = CasmFormat::Ctb2}).Write(files[1]));
    for (const std::string& file : CorpusFiles("styles")) files.push_back(file);
    const CorpusChord source{"CMaj7", 48, 9, MajorScale};
    const CorpusChord chords[] = {
        {"C", 48, 1, MajorScale},       {"Am", 57, 2, MinorScale},          {"F", 53, 1, MajorScale},
        {"G7", 55, 3, DominantScale},   {"Bb", 58, 1, MajorScale},          {"Ebmaj7", 51, 9, MajorScale},
        {"F#m7b5", 54, 15, HalfDiminishedScale}, {"C#m7", 49, 4, MinorScale},
    };
    for (const std::string& file : files) {
        TempFolder folder;
        app::RenderSession render{platform::Paths::InFolder(folder.Path())};
        const app::ForeignLoad loaded = app::LoadForeignStyle(render.Session(), render.State(), file, 1);
        const std::string name = std::filesystem::path(file).filename().string();
        ASSERT_TRUE(loaded.Loaded) << name << ": " << loaded.Error;
        EXPECT_TRUE(loaded.Native) << name << ": " << (loaded.Messages.empty() ? "" : loaded.Messages.front());

        // Which channels follow the chord's scale: the phrase lies in C major as written, and
        // the table moves it.
        data::SmfContent written;
        ASSERT_TRUE(render.RenderPart(Basic, written, source.Root, source.Type)) << name;
        const ScaleCount asWritten = CountInScale(written, source);
        const data::NativeRules& native = render.Session().Style().style.Native;
        std::array<bool, 16> follows{};
        for (std::size_t c = 0; c < follows.size(); ++c) {
            const auto& rules = native.Parts[static_cast<std::size_t>(Basic)][c];
            const bool bypass = rules.Active && rules.Ranges[1].Table == data::NoteTable::Bypass;
            follows[c] = !bypass && asWritten.InScale[c] * 100 >= asWritten.Notes[c] * 95;
        }
        for (const CorpusChord& chord : chords) {
            data::SmfContent content;
            ASSERT_TRUE(render.RenderPart(Basic, content, chord.Root, chord.Type)) << name;
            const ScaleCount count = CountInScale(content, chord);
            int notes = 0, inScale = 0;
            for (std::size_t c = 0; c < 16; ++c) {
                notes += follows[c] ? count.Notes[c] : 0;
                inScale += follows[c] ? count.InScale[c] : 0;
            }
            EXPECT_GE(inScale * 100, notes * 95) << name << " over " << chord.Name << ": " << inScale << " of " << notes;
            EXPECT_TRUE(count.BassOnRoot) << name << " over " << chord.Name;
        }
    }
}

}  // namespace
}  // namespace chordella::testing
