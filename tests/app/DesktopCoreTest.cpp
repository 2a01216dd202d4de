// The desktop window's core, driven headless: start-up with real ports and files, the
// requests the window makes, and the snapshot it shows.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/DesktopCore.h"
#include "app/MidiExport.h"
#include "app/LiveArranger.h"
#include "app/SnapshotView.h"
#include "desktop/StyleCreatorDesk.h"
#include "chords/ChordEntry.h"
#include "chords/KeyboardInput.h"
#include "chords/SecondInput.h"
#include "core/MidiImport.h"
#include "core/SongFiles.h"
#include "core/StyleStore.h"
#include "data/StyleState.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "engine/TransportArrangement.h"
#include "midi/MidiBackend.h"
#include "midi/Synth.h"
#include "support/RecordingEditor.h"
#include "support/KeyboardStyleWriter.h"
#include "support/StyleBuilder.h"
#include "support/StuckNotes.h"
#include "support/DesktopRig.h"
#include "support/TestPaths.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

using testing::DesktopRig;
constexpr int SynthOutput = DesktopRig::SynthOutput;

// Opens "Memory In 1" as the keyboard, as the options page does.
void OpenKeyboard(DesktopRig& rig) {
    core::Options options = rig.core.CurrentOptions();
    options.MidiIn = "Memory In 1";
    rig.core.ApplyOptions(options);
    ASSERT_TRUE(rig.t.midi->IsInputOpen(0));
}

// What the output was sent, as the stuck-note check reads it.
std::vector<testing::SentMessage> SentTo(DesktopRig& rig, int output) {
    std::vector<testing::SentMessage> sent;
    for (const midi::SentMessage& m : rig.t.midi->Sent(output))
        sent.push_back({0, static_cast<std::uint8_t>(m.Packed), static_cast<std::uint8_t>(m.Packed >> 8),
                        static_cast<std::uint8_t>(m.Packed >> 16)});
    return sent;
}

// Each seam the window's core takes part in is wired: none of them is left on its null
// object, which would silently switch a feature off.
TEST(DesktopCoreStartUp, WiresTheSongAndInputSeamsInsteadOfTheirNullObjects) {
    testing::TestSession bare;
    EXPECT_TRUE(bare.session->StyleLoadLink().Empty());
    data::MidiImporter alone(*bare.session, bare.state.options);
    EXPECT_FALSE(alone.LinkWired());

    DesktopRig rig;
    core::Session& session = *rig.t.session;
    EXPECT_NE(dynamic_cast<engine::TransportArrangement*>(&session.ArrangementLink()), nullptr)
        << "songs open through the transport's song host";
    EXPECT_FALSE(session.StyleLoadLink().Empty()) << "the clock and the transport take part in loading";
    EXPECT_TRUE(rig.core.Arranger().Transport().ModulesWired());
}

TEST(DesktopCoreStartUp, PlaysTheBundledDemoSongThroughTheBuiltInSynthAndShowsItAtTheFirstStart) {
    DesktopRig rig(true);
    rig.core.Start();
    EXPECT_TRUE(rig.t.midi->IsOutputOpen(SynthOutput)) << "no output named: the built-in synth";
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_STREQ(shown.SongName.c_str(), "demo2.vxa");
    EXPECT_TRUE(shown.SongLoaded);
    EXPECT_STREQ(shown.GuideText.c_str(), std::string(Lifecycle::GuideText).c_str()) << "the guide shows at the first start";
    EXPECT_NE(std::string(shown.Title.c_str()).find("DEMO2.VXA"), std::string::npos) << shown.Title.c_str();

    // Until a measure has begun, notes and a chord have been played and the song's next chord is known.
    EXPECT_TRUE(rig.RunUntil([&] {
        const DisplaySnapshot now = rig.Snapshot();
        return now.Playing && now.Measure >= 1 && rig.NoteOnsSent(SynthOutput) > 0 && now.NextChord.c_str()[0] != '\0' &&
               std::string(now.Title.c_str()).find("  -  Chord : ") != std::string::npos;
    })) << rig.Snapshot().Title.c_str();
    shown = rig.Snapshot();
    EXPECT_GE(shown.Beat, 1);
    EXPECT_LE(shown.Beat, shown.BeatsPerMeasure);
    std::uint32_t lamps = 0;
    for (const auto& channel : shown.Channels) lamps += channel.NoteOns;
    EXPECT_GT(lamps, 0u) << "the activity lamps count what the accompaniment sent";
    EXPECT_STREQ(shown.OutputName.c_str(), "Built-in synth");
    EXPECT_EQ(shown.Output, OutputStatus::Ready);
    EXPECT_NE(shown.Priority, PriorityStatus::Normal) << "playing asks for real time (granted or denied)";
    const std::string whole = shown.StyleFullName.c_str();
    EXPECT_FALSE(whole.empty());
    EXPECT_EQ(whole.find("..."), std::string::npos) << "the whole name, not the short label";

    rig.core.StartStop();
    shown = rig.Snapshot();
    EXPECT_FALSE(shown.Playing);
    EXPECT_EQ(shown.Measure, 0);
    EXPECT_EQ(shown.Priority, PriorityStatus::Normal);
    EXPECT_STREQ(shown.NextChord.c_str(), "") << "no song plays";
    rig.core.Exit();
    EXPECT_FALSE(rig.t.midi->IsOutputOpen(SynthOutput));
}

TEST(DesktopCoreFiles, RendersTheOpenSongToAWavAndRefusesWhileItPlays) {
    if (midi::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    DesktopRig rig(true);
    rig.core.Start();  // the demo song plays
    const std::string wav = rig.t.home.File("demo.wav");
    rig.t.prompter->ClearShown();
    EXPECT_FALSE(rig.core.RenderToWav(wav));
    EXPECT_EQ(rig.t.prompter->Shown().at(0), "Stop the music before rendering it !");
    rig.core.StartStop();
    ASSERT_TRUE(rig.core.RenderToWav(wav)) << rig.t.prompter->Shown().back();
    EXPECT_GT(std::filesystem::file_size(wav), 44u * 1000);
}

// A missing or damaged own style is the style store's (tests/data StyleStoreTest); here the
// short name shown and another maker's style that is no style at all.
TEST(DesktopCoreStyles, ShowsTheStyleNameCutToTenCharactersAndKeepsTheStyleWhenAnotherMakersFileIsNoStyle) {
    DesktopRig rig(true);
    rig.core.Start();
    rig.core.Stop();
    ASSERT_TRUE(rig.core.OpenStyle(rig.t.session->Paths().Styles() + "/bossa.vxs"));
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_STREQ(shown.StyleName.c_str(), "Bossa ...");
    int present = 0;
    for (bool p : shown.PartPresent) present += p ? 1 : 0;
    EXPECT_GT(present, 0);

    const std::string sample = rig.t.home.Path() + "/Sample.sty";
    ASSERT_TRUE(chordella::testing::SampleKeyboardStyle().Write(sample));
    ASSERT_TRUE(rig.core.OpenStyle(sample));
    EXPECT_TRUE(rig.t.session->Style().style.Native.Present) << "played by its channel table";
    EXPECT_STREQ(rig.Snapshot().StyleName.c_str(), "Sample ...");
    const std::string broken = rig.t.home.Path() + "/Broken.prs";
    std::filesystem::copy_file(sample, broken);
    std::filesystem::resize_file(broken, 40);
    EXPECT_FALSE(rig.core.OpenStyle(broken));
    EXPECT_TRUE(rig.t.session->Style().style.Native.Present) << "a failed load keeps the style";
    EXPECT_STREQ(rig.Snapshot().StyleName.c_str(), "Sample ...");
    ASSERT_FALSE(rig.t.prompter->Shown().empty());
    EXPECT_NE(rig.t.prompter->Shown().back().find("Broken.prs"), std::string::npos) << rig.t.prompter->Shown().back();
}

TEST(DesktopCoreTransport, TheFieldsTakeOnlyValuesInTheirRangesAndTheAccompanimentButtonOffersTheOtherState) {
    DesktopRig rig;
    rig.core.Start();
    rig.core.SetTempo(96);
    EXPECT_EQ(rig.Snapshot().Tempo, 96);
    rig.core.SetTempo(24);
    rig.core.SetTempo(251);
    EXPECT_EQ(rig.Snapshot().Tempo, 96);

    rig.core.SetTransposition(1, -2);
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_EQ(shown.TransposeOctave, 1);
    EXPECT_EQ(shown.TransposeSemitones, -2);
    EXPECT_EQ(rig.t.state.melody.KeyboardTranspose, 10);
    rig.core.SetTransposition(0, 12);
    EXPECT_EQ(rig.Snapshot().TransposeSemitones, -2);

    EXPECT_TRUE(shown.Accompaniment);
    EXPECT_STREQ(shown.AccompanimentCaption.c_str(), "K");
    rig.core.SetAccompaniment(false);
    shown = rig.Snapshot();
    EXPECT_FALSE(shown.Accompaniment);
    EXPECT_STREQ(shown.AccompanimentCaption.c_str(), "A");
}

// Outside slave mode Sync Start is armed until the first chord played in the chord zone
// starts the style; pressed while the style plays it stops it and waits for the next chord.
TEST(DesktopCoreTransport, SyncStartStaysArmedUntilTheFirstChordOfTheChordZoneStartsTheStyle) {
    DesktopRig rig;
    rig.core.Start();
    OpenKeyboard(rig);
    ASSERT_TRUE(rig.core.OpenStyle(chordella::testing::AssetsFolder() + "/styles/pop16.vxs"));
    rig.core.SetTempo(200);
    ASSERT_TRUE(rig.Snapshot().SyncStartAvailable);
    rig.core.ToggleSyncStart();
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_TRUE(shown.SyncStart);
    EXPECT_FALSE(shown.Playing);
    ASSERT_TRUE(rig.t.midi->Feed(0, 0, {0x90, 72, 100, 0x80, 72, 0}));  // a melody note starts nothing
    rig.RunFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(rig.Snapshot().SyncStart);
    EXPECT_FALSE(rig.Snapshot().Playing);

    ASSERT_TRUE(rig.t.midi->Feed(0, 0, {0x90, 48, 100, 0x90, 52, 100, 0x90, 55, 100}));  // C major
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Snapshot().Playing && rig.NoteOnsSent(SynthOutput) > 2; }));
    shown = rig.Snapshot();
    EXPECT_FALSE(shown.SyncStart) << "the chord that started the style ends the wait";
    EXPECT_EQ(std::string(shown.ChordName.c_str()).rfind("C", 0), 0u) << shown.ChordName.c_str();

    rig.core.ToggleSyncStart();
    shown = rig.Snapshot();
    EXPECT_FALSE(shown.Playing) << "pressed while playing, the style stops";
    EXPECT_TRUE(shown.SyncStart) << "and waits for the next chord";
    rig.core.ToggleSyncStart();
    EXPECT_FALSE(rig.Snapshot().SyncStart) << "pressed again, it waits no more";
    ASSERT_TRUE(rig.t.midi->Feed(0, 0, {0x80, 48, 0, 0x80, 52, 0, 0x80, 55, 0}));
}

TEST(DesktopCoreMixer, SendsMixerControllersShowsThemWithTheInstrumentNameMutesAndSolos) {
    DesktopRig rig;
    rig.core.Start();
    rig.t.midi->ClearSent(SynthOutput);
    rig.core.SetChannelController(2, 7, 90);
    rig.core.SetChannelController(2, 10, 30);
    rig.core.SetChannelController(2, 64, 127);  // not a mixer controller
    rig.core.SetChannelController(16, 7, 90);   // no such channel
    EXPECT_TRUE(rig.Sent(SynthOutput, 0xB2 | 7u << 8 | 90u << 16));
    EXPECT_TRUE(rig.Sent(SynthOutput, 0xB2 | 10u << 8 | 30u << 16));
    EXPECT_EQ(rig.t.midi->Sent(SynthOutput).size(), 2u);
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_EQ(shown.Channels[2].Volume, 90);
    EXPECT_EQ(shown.Channels[2].Pan, 30);
    EXPECT_EQ(shown.Channels[2].Reverb, -1);
    EXPECT_STREQ(shown.Channels[9].Instrument.c_str(), "Drums");

    // A mute silences its channel at once; solo selects one channel.
    rig.core.SetChannelMute(4, true);
    EXPECT_TRUE(rig.Sent(SynthOutput, 0xB4 | 123u << 8));
    rig.core.SetSolo(3);
    shown = rig.Snapshot();
    EXPECT_TRUE(shown.Channels[4].Muted);
    EXPECT_TRUE(shown.Channels[2].Soloed);
    EXPECT_FALSE(shown.Channels[3].Soloed);
    rig.core.SetChannelMute(4, false);
    rig.core.SetSolo(0);
    shown = rig.Snapshot();
    EXPECT_FALSE(shown.Channels[4].Muted);
    for (const auto& channel : shown.Channels) EXPECT_FALSE(channel.Soloed);
}

TEST(DesktopCoreOptions, ReopensOnlyThePortsWhoseNamesOrMarksChanged) {
    DesktopRig rig;
    rig.core.Start();
    core::Options options = rig.core.CurrentOptions();
    options.MidiOut = "Memory Out 2";
    rig.core.ApplyOptions(options);
    EXPECT_TRUE(rig.t.midi->IsOutputOpen(1));
    EXPECT_FALSE(rig.t.midi->IsOutputOpen(SynthOutput));
    rig.core.SetChannelController(0, 7, 64);
    EXPECT_TRUE(rig.Sent(1, 0xB0 | 7u << 8 | 64u << 16)) << "the new port is the current output";

    options.MidiIn = "Memory In 2";
    rig.core.ApplyOptions(options);
    EXPECT_TRUE(rig.t.midi->IsInputOpen(1));
    EXPECT_TRUE(rig.t.midi->IsOutputOpen(1)) << "an unchanged output is left open";
    EXPECT_FALSE(rig.t.session->MidiOutput1()->SendsGeneralMidiVoices());
    options.MidiOutGeneralMidi = true;
    rig.core.ApplyOptions(options);
    EXPECT_TRUE(rig.t.session->MidiOutput1()->SendsGeneralMidiVoices()) << "reopened as a General MIDI device";

    options.MidiIn = "No Such Keyboard";
    rig.core.ApplyOptions(options);
    EXPECT_TRUE(rig.t.prompter->WasShown("Can't open No Such Keyboard, please check MIDI config."));
    EXPECT_FALSE(rig.t.midi->IsInputOpen(1));
}

TEST(DesktopCoreOptions, DerivesTheChordZoneAgainFromTheControlKeysAndOkWithoutChangesKeepsTheStylesMeter) {
    DesktopRig rig;
    rig.core.Start();
    testing::StyleBuilder b;
    b.Meter(3).Tempo(100);
    b.Part(data::StylePart::Basic).Measures(1).Note(0, 60, 100, 0, 24);
    const std::string path = rig.t.home.Path() + "/Waltz3.vxs";
    ASSERT_TRUE(b.Write(path));
    ASSERT_TRUE(rig.core.OpenStyle(path));
    ASSERT_EQ(rig.t.state.clock.MeasureUnits, 12);
    rig.core.ApplyOptions(rig.core.CurrentOptions());
    EXPECT_EQ(rig.t.state.clock.MeasureUnits, 12) << "OK turned the meter into another";
    EXPECT_EQ(rig.Snapshot().BeatsPerMeasure, 3);

    core::Options options = rig.core.CurrentOptions();
    options.LastAccKeyNote = 4;  // E
    options.LastAccKeyOctave = 5;
    rig.core.ApplyOptions(options);
    EXPECT_EQ(rig.Snapshot().SplitKey, rig.t.state.config.Keys.LastChordKey);
    EXPECT_NE(rig.Snapshot().SplitKey, 59);
    const PortNames ports = rig.core.ListPorts();
    ASSERT_FALSE(ports.Outputs.empty());
    EXPECT_EQ(ports.Outputs.front(), "Memory Synth");
    EXPECT_EQ(ports.Inputs.size(), 2u);
}

// What the player plays on the keyboard's melody side while "&Record" is on and the song runs
// goes on the melody track.
TEST(DesktopCoreSongs, ASongPlaysAtItsOwnTempoAndTheMelodyPlayedOnTheKeyboardIsRecordedWhileItRuns) {
    DesktopRig rig(true);
    rig.core.Start();
    rig.core.Stop();
    OpenKeyboard(rig);
    rig.t.prompter->AnswerYes();  // "Replace current chords & melody ?" (the demo song is loaded)
    ASSERT_TRUE(rig.core.OpenSong(rig.t.session->Paths().Songs() + "/harbour.vxa"));
    EXPECT_EQ(rig.t.state.clock.Tempo, 124);
    data::MelodyTrack& track = rig.t.state.arrangement.Melody;
    if (track.MelodyCount > 0) rig.t.prompter->AnswerYes();  // "Replace current melody ?"
    rig.core.MelodyMenu("&Record");
    ASSERT_TRUE(rig.t.state.melody.Recording);
    ASSERT_EQ(track.MelodyCount, 0);
    rig.core.StartStop();
    EXPECT_EQ(rig.t.state.clock.Tempo, 124) << "Play keeps the song's tempo";
    const std::int64_t& ticks = rig.t.state.clock.TickCount;
    ASSERT_TRUE(rig.RunUntil([&] { return ticks > 12; }));
    ASSERT_TRUE(rig.t.midi->Feed(0, 0, {0x90, 72, 100}));
    ASSERT_TRUE(rig.RunUntil([&] { return ticks > 36; }));
    ASSERT_TRUE(rig.t.midi->Feed(0, 0, {0x80, 72, 0}));
    ASSERT_TRUE(rig.RunUntil([&] { return ticks > 48; }));
    rig.core.Stop();
    EXPECT_EQ(track.MelodyCount, 2) << "the note and its release";
}

TEST(DesktopCoreChordEntry, ShowsThePadsChordTakesItsKeysLeavesTheRestToTheWindowAndThePanicForgetsAChosenType) {
    DesktopRig rig;
    rig.core.Start();
    rig.core.PadDown("D04", {});
    rig.core.PadUp("D04");
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_STREQ(shown.ChordName.c_str(), "Ab min7");
    EXPECT_STREQ(shown.Title.c_str(), "Chordella  -  Chord : Ab min7");
    rig.core.PadDown("no pad", {});
    EXPECT_STREQ(rig.Snapshot().ChordName.c_str(), "Ab min7");

    EXPECT_FALSE(rig.core.KeyDown(0x70, false, {}));  // F1 is the window's
    EXPECT_TRUE(rig.core.KeyDown('C', false, {}));
    EXPECT_TRUE(rig.core.KeyUp('C', {}));

    rig.t.state.chords.TypeOverride = 3;  // as a type key or pad leaves it
    rig.core.Arranger().Panic();
    EXPECT_EQ(rig.t.state.chords.TypeOverride, 0);
}

TEST(DesktopCoreChordEntry, HandsPadChordsToTheEditorWhileTheEditBoxIsTicked) {
    DesktopRig rig;
    rig.core.Start();
    testing::RecordingEditor editor;
    rig.core.SetPadEditor(&editor);
    rig.core.SetEditBox(true);
    rig.t.midi->ClearSent(SynthOutput);
    rig.core.PadDown("B00", {});
    rig.core.PadUp("B00");
    ASSERT_EQ(editor.Taken.size(), 1u);
    EXPECT_EQ(editor.Taken[0], std::make_pair(52, 2));
    EXPECT_EQ(rig.NoteOnsSent(SynthOutput), 0);
    rig.core.SetEditBox(false);
    rig.core.PadDown("B00", {});
    rig.core.PadUp("B00");
    EXPECT_EQ(editor.Taken.size(), 1u) << "without the box the pad plays its chord";
    rig.core.SetPadEditor(nullptr);
}

TEST(DesktopCoreQuestions, AQuestionWhileTheStylePlaysLeavesTheTicksRunningUntilItIsAnswered) {
    DesktopRig rig;
    rig.core.Start();
    ASSERT_TRUE(rig.core.OpenStyle(chordella::testing::AssetsFolder() + "/styles/bossa.vxs"));
    // A melody is on the track, so "&Record" asks before it replaces it.
    data::MelodyTrack& track = rig.t.state.arrangement.Melody;
    track.MelodyBuffer[0] = {0, 0x90, 60, 100, true};
    track.MelodyCount = 1;
    const std::int64_t& ticks = rig.t.state.clock.TickCount;
    rig.core.StartStop();
    ASSERT_TRUE(rig.Snapshot().Playing);
    ASSERT_TRUE(rig.RunUntil([&] { return ticks > 0; }));

    // A user who takes their time: the question stays open until the test answers it. A
    // waiting question would stop the loop: it would be answered at once, and not held.
    chordella::testing::ScriptedPrompter& user = *rig.t.prompter;
    user.ClearShown();
    user.HoldQuestions(true);
    rig.core.MelodyMenu("&Record");
    ASSERT_EQ(user.HeldQuestions(), 1u);
    ASSERT_EQ(user.Shown(), std::vector<std::string>{"Replace current melody ?"});
    EXPECT_FALSE(rig.t.state.melody.Recording) << "nothing changes before the answer";
    // The user answers two seconds later, and not before the music went on for two beats:
    // while a question stopped the ticks, they would never come.
    const auto askedAt = std::chrono::steady_clock::now();
    const std::int64_t askedTick = ticks;
    EXPECT_TRUE(rig.RunUntil([&] {
        return std::chrono::steady_clock::now() - askedAt >= std::chrono::seconds(2) && ticks >= askedTick + 48;
    })) << "the ticks went on while the question was open: " << ticks - askedTick;
    user.AnswerYes();
    ASSERT_TRUE(user.AnswerHeld());

    EXPECT_EQ(user.Shown().size(), 1u) << "nothing more was asked";
    EXPECT_TRUE(rig.t.state.melody.Recording) << "the operation went on with the answer";
    EXPECT_EQ(track.MelodyCount, 0) << "Yes replaced the old melody";
    EXPECT_TRUE(rig.Snapshot().Playing);

    rig.core.StartStop();
    EXPECT_GT(rig.NoteOnsSent(SynthOutput), 0);
    EXPECT_TRUE(testing::NoStuckNotes(SentTo(rig, SynthOutput))) << "every note sounding during the question was ended";
}

// The file questions of a playing song: each is left open while the ticks go on, then
// answered No or cancelled, and nothing has changed. The operations are made as temporaries,
// as the window's requests make them, so what goes on after the answer must not need them.
TEST(DesktopCoreQuestions, FileQuestionsLeaveTheTicksRunningAndNoOrCancelChangesNothing) {
    DesktopRig rig(true);
    rig.core.Start();
    core::Session& session = *rig.t.session;
    const std::int64_t& ticks = rig.t.state.clock.TickCount;
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Snapshot().Playing && ticks > 0; }));
    data::ArrangementState& song = rig.t.state.arrangement;
    data::StyleState& style = session.Style().style;
    ASSERT_FALSE(song.Chords.IsEmpty());
    ASSERT_EQ(style.StylePath.rfind(rig.t.home.Path(), 0), 0u) << "the style is the data home's copy";
    data::CreatorWork& work = session.Style().Work;
    work.WorkLength = 100;
    work.WorkModified = true;
    work.Caption = "work in progress";
    const auto chordsBefore = song.Chords.Bytes;
    const std::string songPath = song.ArrangementPath;
    const std::string stylePath = style.StylePath;
    const std::string exportPath = rig.t.home.File("export.mid");

    chordella::testing::ScriptedPrompter& user = *rig.t.prompter;
    user.HoldQuestions(true);
    struct Question {
        std::string text;
        std::function<void()> ask;
        std::optional<bool> outcome;
    };
    std::vector<Question> questions;
    data::SongFiles songFiles(session, rig.t.state.arrangement, rig.t.state.options);
    const auto add = [&](std::string text, auto ask) { questions.push_back({std::move(text), {}, {}}); questions.back().ask = ask; };
    Question* current = nullptr;
    const auto finished = [&](bool succeeded) { current->outcome = succeeded; };
    add("Replace current chords & melody ?", [&] {
        EXPECT_EQ(songFiles.Open({data::OpenSource::Path, rig.t.home.File("other.vxa"), false},
                                 [&](data::OpenOutcome o) { finished(o == data::OpenOutcome::Opened); }),
                  data::OpenOutcome::Asking);
    });
    add("Clear Chordmemory ?", [&] { songFiles.Clear(finished); });
    add("Save arrangement as ...", [&] { songFiles.SaveAs(finished); });
    add("Open style ...", [&] {
        EXPECT_EQ(data::StyleStore(session).OpenWithDialog(
                      [&](data::StyleLoadResult r) { finished(r == data::StyleLoadResult::Loaded); }),
                  data::StyleLoadResult::Asking);
    });
    add("Are you sure you want to delete the style \"" + std::string(platform::FileNamePart(stylePath)) + "\"?",
        [&] { data::StyleStore(session).Delete(finished); });
    add(ExportDialogTitle, [&] { ExportMidi(session, rig.t.state, {}, finished); });
    add(SaveStyleAsMidiTitle, [&] {
        StyleMidiFiles files;
        SaveStyleAsMidi(session, rig.t.state, {}, files,
                        [&](bool written, const StyleMidiFiles&) { finished(written); });
    });
    data::MidiImporter importer(session, rig.t.state.options);
    add("Replace current work ?", [&] {
        EXPECT_EQ(importer.Import({}, false, false, [&](data::ImportOutcome o) { finished(o == data::ImportOutcome::Imported); }),
                  data::ImportOutcome::Asking);
    });

    for (Question& question : questions) {
        current = &question;
        user.ClearShown();
        question.ask();
        ASSERT_EQ(user.HeldQuestions(), 1u) << question.text;
        EXPECT_EQ(user.Shown(), std::vector<std::string>{question.text});
        EXPECT_FALSE(question.outcome.has_value()) << question.text << ": nothing happens before the answer";
        const std::int64_t asked = ticks;
        EXPECT_TRUE(rig.RunUntil([&] { return ticks >= asked + 24; })) << question.text << ": a beat of ticks ran";
        user.AnswerNo();
        ASSERT_TRUE(user.AnswerHeld());
        EXPECT_EQ(question.outcome, std::optional<bool>(false)) << question.text;
        EXPECT_EQ(user.HeldQuestions(), 0u) << question.text << ": No and cancel ask nothing more";
    }

    EXPECT_TRUE(rig.Snapshot().Playing);
    EXPECT_EQ(song.Chords.Bytes, chordsBefore);
    EXPECT_EQ(song.ArrangementPath, songPath);
    EXPECT_EQ(style.StylePath, stylePath);
    EXPECT_TRUE(std::filesystem::exists(stylePath));
    EXPECT_FALSE(std::filesystem::exists(exportPath));
    EXPECT_EQ(work.Caption, "work in progress");
    EXPECT_EQ(work.WorkLength, 100);

    // Yes, given while the song plays on, goes on with the operation the question belongs to.
    const std::int64_t asked = ticks;
    bool cleared = false;
    EXPECT_FALSE(songFiles.Clear([&](bool yes) { cleared = yes; }));
    EXPECT_TRUE(rig.RunUntil([&] { return ticks >= asked + 24; }));
    user.AnswerYes();
    ASSERT_TRUE(user.AnswerHeld());
    EXPECT_TRUE(cleared);
    EXPECT_TRUE(song.Chords.IsEmpty());
    rig.core.Exit();
}

TEST(DesktopCoreSonglist, TheFirstStartOpensTheDemoListAndPlayingAQueuedEntryOpensAndStartsItsSong) {
    DesktopRig rig(true);
    rig.core.Start();
    SonglistView view = rig.core.ReadSonglist();
    ASSERT_EQ(view.Rows.size(), 4u);  // the four demo songs of the bundled list
    EXPECT_EQ(view.Caption, "Songlist - DEMO.VXL");
    const std::uint64_t serial = rig.Snapshot().SonglistSerial;

    rig.core.Stop();  // the demo song of the first start
    SonglistRequest click(SonglistAction::Enqueue);
    click.Index = 1;
    rig.core.Songlist(click);
    DisplaySnapshot shown = rig.Snapshot();
    EXPECT_NE(shown.SonglistSerial, serial);
    EXPECT_EQ(std::string(shown.NextSong.c_str()), view.Rows[1].Title);

    rig.core.Songlist(SonglistAction::Play);
    shown = rig.Snapshot();
    EXPECT_STREQ(shown.SongName.c_str(), "harbour.vxa");
    EXPECT_EQ(rig.core.ReadSonglist().Current, 1);
    EXPECT_STREQ(shown.NextSong.c_str(), "");
    const int before = rig.NoteOnsSent(SynthOutput);
    EXPECT_TRUE(rig.RunUntil([&] { return rig.NoteOnsSent(SynthOutput) > before; }));
    rig.core.Songlist(SonglistAction::StopSet);
    rig.core.Exit();
}

// --- The performance display ------------------------------------------------------------

// A style started without a song plays as much as a song does: the display must not say
// "Normal priority (stopped)" beside "· playing".
TEST(DesktopCoreDisplay, AStyleWithoutASongShowsThePriorityTheQueuedPartTheButtonsRequestsAndTheFade) {
    DesktopRig rig;
    rig.core.Start();
    const std::string styles = chordella::testing::AssetsFolder() + "/styles/";
    ASSERT_TRUE(rig.core.OpenStyle(styles + "pop16.vxs"));
    rig.core.FadeOut();
    EXPECT_FALSE(rig.Snapshot().Fading) << "nothing plays: nothing fades";
    rig.core.SetTempo(200);
    rig.core.StartStop();
    DisplaySnapshot shown = rig.Snapshot();
    ASSERT_TRUE(shown.Playing);
    EXPECT_STREQ(shown.SongTitle.c_str(), "") << "no song";
    EXPECT_NE(shown.Priority, PriorityStatus::Normal) << "the style's ticks ask for real time (granted or denied)";
    if (shown.Part == 0) {
        EXPECT_EQ(shown.QueuedPart, 1) << "Basic follows the intro";
    }
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Snapshot().Part == 1; }));
    ASSERT_TRUE(rig.Snapshot().PartPresent[2]);
    rig.core.RequestPart(2);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Snapshot().Part == 2; })) << "Extended, asked by its button";

    rig.core.FadeOut();
    EXPECT_TRUE(rig.Snapshot().Fading);
    EXPECT_EQ(rig.Snapshot().Part, 2) << "the part plays on while it fades";
    rig.core.StartStop();
    shown = rig.Snapshot();
    EXPECT_FALSE(shown.Playing);
    EXPECT_EQ(shown.Priority, PriorityStatus::Normal) << "stopped, the priority is given back";
}

TEST(DesktopCoreDisplay, AStyleChosenWhileAnotherPlaysTakesOverAtTheNextMeasureAndPlaysOn) {
    DesktopRig rig;
    rig.core.Start();
    const std::string styles = chordella::testing::AssetsFolder() + "/styles/";
    ASSERT_TRUE(rig.core.OpenStyle(styles + "pop16.vxs"));
    rig.core.SetTempo(200);
    rig.core.StartStop();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Snapshot().Part == 1; }));
    rig.t.prompter->ClearShown();
    rig.core.ChangeStyle(styles + "swing.vxs");
    EXPECT_STREQ(rig.Snapshot().StyleFullName.c_str(), "Pop16") << "not before the measure ends";
    ASSERT_TRUE(rig.RunUntil([&] { return std::string(rig.Snapshot().StyleFullName.c_str()) == "Swing"; }));
    const DisplaySnapshot shown = rig.Snapshot();
    EXPECT_TRUE(shown.Playing) << "the band plays on";
    EXPECT_EQ(shown.Part, 1) << "in the main part that played";
    EXPECT_TRUE(rig.t.prompter->Shown().empty()) << "no question: nothing was recording";
    rig.core.StartStop();

    // Stopped, a choice loads at once.
    rig.core.ChangeStyle(styles + "waltz.vxs");
    EXPECT_STREQ(rig.Snapshot().StyleFullName.c_str(), "Waltz");
}

TEST(DesktopCoreExit, AChangedCreatorWorkIsOfferedForSavingAndCancellingTheDialogKeepsTheProgram) {
    DesktopRig rig;
    chordella::testing::ScriptedPrompter& user = *rig.t.prompter;
    std::optional<bool> proceed;
    auto confirm = [&] {
        proceed.reset();
        rig.core.ConfirmExit([&](bool go) { proceed = go; });
        return proceed;
    };
    // No creator used, or its work unchanged: nothing is asked.
    EXPECT_EQ(confirm(), true);
    rig.core.StyleCreator();
    data::CreatorWork& work = rig.t.session->Style().Work;
    data::EnsureWorkChunks(work, 1);
    work.Chunks[0].Buffer[0] = 0xF8;
    work.Chunks[0].Size = 2;
    work.WorkLength = 2;
    EXPECT_EQ(confirm(), true);
    EXPECT_TRUE(user.Shown().empty());

    // Changed: "Save Work first ?"; No leaves; Yes with the dialog cancelled stays.
    work.WorkModified = true;
    user.AnswerNo();
    EXPECT_EQ(confirm(), true);
    EXPECT_TRUE(user.WasShown(SaveWorkFirst));
    user.AnswerYes();
    EXPECT_EQ(confirm(), false);
    EXPECT_TRUE(user.WasShown(SaveWorkTitle));

    // Yes and a file: the work is saved, and the next exit asks nothing.
    const std::string path = rig.t.home.File("unsaved.vxw");
    user.AnswerYes();
    user.AnswerText(path);
    EXPECT_EQ(confirm(), true);
    EXPECT_TRUE(std::filesystem::exists(path));
    const std::size_t asked = user.Shown().size();
    EXPECT_EQ(confirm(), true);
    EXPECT_EQ(user.Shown().size(), asked);
}

}  // namespace
}  // namespace chordella::app
