#pragma once
// A session wired like the program's keyboard side: the engine and the virtual clock, the
// recogniser, the control keys, both input handlers and peers that record what reached
// them. Messages go in through HandleEvent (or the in-memory devices) and come out on a
// recording output.

#include <cstdint>
#include <vector>

#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
#include "chords/KeyboardInput.h"
#include "chords/KeyboardLayout.h"
#include "chords/SecondInput.h"
#include "chords/SectionKeys.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "midi/MidiEvent.h"
#include "support/RecordingOutput.h"
#include "support/StandInLinks.h"
#include "support/TestSession.h"

namespace chordella::testing {

struct RecordingPeers final : StandInInputModules {
    void InstrumentKey(int index) override { InstrumentKeys.push_back(index); }
    void ProgramControl(int number) override { ProgramControls.push_back(number); }
    int ProgramControlCode(int key) override { return key == 3 ? 976 : key == 4 ? 901 : 0; }
    void RunMidiCommand(int number) override { MidiCommands.push_back(number); }
    bool MelodyRecording() override { return Recording; }
    void RecordMelodyEvent(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) override {
        Recorded.push_back({0, status, key, velocity});
    }
    bool CreatorRecording() override { return CreatorRecords; }
    void CreatorSequencerStarted() override { ++SequencerStarts; }
    void Play() override { ++PlayRequests; }
    int StartMeasure() override { return Measure; }
    void SetStartMeasure(int measure) override { Measure = measure; }

    std::vector<int> InstrumentKeys, ProgramControls, MidiCommands;
    std::vector<SentMessage> Recorded;
    bool Recording = false;
    bool CreatorRecords = false;
    int SequencerStarts = 0;
    int PlayRequests = 0;
    int Measure = 1;
};

struct DispatchRig {
    DispatchRig() {
        core::Options& options = Options();
        options.CompLimit = false;
        options.SoloOnChannel1 = false;
        options.AdjustChordOctave = false;
        options.PadMuteAtIntrosAndEndings = false;
        options.InstrumentPad = false;
        options.StyleChordChanges = 1;
        Session().SetEngineLink(&Accompaniment);
        Session().SetChordLink(&Recogniser);
        Session().SetAccompanimentOutput(&Out);
        Clock.SetupClock();
        chords::ApplyKeyboardLayout(Chords(), Keyboard(), State().config);
        // A style that is playing: control keys are stored for the engine, not Play.
        Session().Style().player.StyleActive = 1;
    }

    core::Session& Session() { return *Test.session; }
    app::AppState& State() { return Test.state; }
    core::Options& Options() { return State().options; }
    chords::ChordState& Chords() { return State().chords; }
    engine::EngineState& Engine() { return State().engine; }
    chords::KeyboardState& Keyboard() { return State().keyboard; }
    chords::HeldNoteList& Held() { return Session().Style().heldNotes; }

    // The clock runs, so a chord waits for the next grid unit instead of being applied.
    void ClockRuns() { Clock.StartVirtual(120); }

    static midi::TMyMidiEvent Event(std::uint8_t status, int data1, int data2) {
        midi::TMyMidiEvent event;
        event.MidiMessage = status;
        event.Data1 = static_cast<std::uint8_t>(data1);
        event.Data2 = static_cast<std::uint8_t>(data2);
        return event;
    }
    void Send(std::uint8_t status, int data1, int data2) { Input.HandleEvent(Event(status, data1, data2)); }
    void Press(int key, int velocity = 100, int channel = 0) { Send(static_cast<std::uint8_t>(0x90 | channel), key, velocity); }
    void Release(int key, int channel = 0) { Send(static_cast<std::uint8_t>(0x90 | channel), key, 0); }
    void Second(std::uint8_t status, int data1, int data2, bool& run) {
        SecondIn.HandleEvent(Event(status, data1, data2), run);
    }

    TestSession Test;
    RecordingOutput Out{&Test.state.clock.TickCount};
    engine::AccompanimentEngine Accompaniment{*Test.session, State().engine, State().clock, State().options};
    engine::Clock Clock{*Test.session, Accompaniment, State().clock, State().options};
    chords::ChordRecogniser Recogniser{*Test.session, State().chords, State().options, Accompaniment};
    RecordingPeers Peers;
    chords::SectionKeys Keys{*Test.session,     State().keyboard, State().options, State().config,
                             State().transport, Recogniser,       Accompaniment, Test.links.transport, Peers};
    chords::KeyboardInput Input{*Test.session, State().chords, State().keyboard, State().options, State().config,
                                State().clock, State().engine, Recogniser, Keys, Accompaniment, Peers};
    chords::SecondInput SecondIn{*Test.session, State().keyboard, State().options, State().engine,
                                 Recogniser,    &Clock,           Peers};
};

}  // namespace chordella::testing
