#include "app/LiveArranger.h"

#include <algorithm>

#include "stylecreator/CreatorRecording.h"

#include "app/Arranger.h"
#include "app/SongPlayback.h"
#include "app/StateParts.h"
#include "core/ChannelReset.h"
#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
#include "chords/KeyboardInput.h"
#include "chords/KeyboardLayout.h"
#include "chords/SecondInput.h"
#include "chords/SectionKeys.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ChordChange.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "remote/DelayLink.h"
#include "remote/RemoteControl.h"

namespace chordella::app {

namespace {

constexpr int DefaultTempo = 120;

// What the input handlers ask of the modules around them: the transport, the melody track
// and chord-memory playback, the style creator's recorder and the remote control (while
// they are there). Every call is answered here; none falls
// through to a stand-in, which would switch a feature off without a word.
class InputPeers final : public chords::InputLink {
public:
    InputPeers(core::Session& session, Arranger& arranger, AppState& app)
        : session_(session), arranger_(arranger), app_(app) {}
    void SetRemote(remote::RemoteControl* remote) { remote_ = remote; }
    void SetRecorder(stylecreator::MidiRecorder* recorder) { recorder_ = recorder; }

    // The remote control (none yet while the arranger is being built or goes).
    void InstrumentKey(int index) override {
        if (remote_) remote_->InstrumentKey(index);
    }
    void ProgramControl(int number) override {
        if (remote_) remote_->ProgramControl(number);
    }
    int ProgramControlCode(int key) override { return remote_ ? remote_->ProgramControlCode(key) : 0; }
    void RunMidiCommand(int number) override {
        if (remote_) remote_->RunMidiCommand(number);
    }
    bool SecondInputMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        return remote_ && remote_->SecondInputMessage(status, data1, data2);
    }

    // The melody the player plays goes on the melody track while it records.
    bool MelodyRecording() override { return arranger_.Songs().melody.MelodyRecording(); }
    void RecordMelodyEvent(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) override {
        arranger_.Songs().melody.RecordMelodyEvent(status, key, velocity);
    }

    // The style creator's recording from the second input: clock ticks become waits.
    bool CreatorRecording() override { return recorder_ && recorder_->Recording(); }
    void CreatorRecord(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        if (status == 0xF8) recorder_->ClockTick();
        else recorder_->Message(status, data1, data2);
    }
    void CreatorSequencerStarted() override { app_.options.TransmitControllers = true; }

    void Play() override { arranger_.Transport().Play(); }
    // "PAD : mute at intros && endings": the pad channel starts again from its reset state.
    void SetUpPadChannel() override { core::ResetChannel(session_.AccompanimentOutput(), app_.options.PadChannel & 0x0F); }

    // The key of the song the chord memory plays or records (set by its key marks).
    int SongKey() override { return app_.transport.ChordPlayMode != 0 ? app_.songPlay.AdjustmentKey : -1; }
    int ChordMemoryPosition() override { return app_.arrangement.ChordMemoryPos; }
    // Nothing in the program sets a one-time suppression of the ending key.
    bool TakeEndingSuppression() override { return false; }
    int StartMeasure() override { return app_.arrangement.StartMeasure; }
    // "Intro Detection": the start measure, and with "-   Mute None " the chord-memory
    // position that goes with it.
    void SetStartMeasure(int measure) override {
        arranger_.Songs().player.SetStartMeasure(measure);
        if (app_.options.IntroStartMode == MuteNone) {
            const int units = app_.clock.MeasureUnits;
            app_.arrangement.ChordMemoryPos = static_cast<std::int16_t>((app_.arrangement.StartMeasure - 1) * units + 8);
        }
    }

private:
    static constexpr int MuteNone = 0;  // "Style, Intro && Ending": "-   Mute None "

    core::Session& session_;
    Arranger& arranger_;
    AppState& app_;
    stylecreator::MidiRecorder* recorder_ = nullptr;
    remote::RemoteControl* remote_ = nullptr;
};

}  // namespace

LiveArranger::LiveArranger(core::Session& session, AppState& app) : session_(session), app_(app) {
    arranger_ = std::make_unique<Arranger>(session, app);
    auto peers = std::make_unique<InputPeers>(session, *arranger_, app);
    InputPeers& remotePeers = *peers;
    peers_ = std::move(peers);
    sectionKeys_ = std::make_unique<chords::SectionKeys>(session, app.keyboard, app.options, app.config, app.transport,
                                                         Recogniser(), Engine(), Transport(), *peers_);
    delays_ = std::make_unique<remote::LoopDelays>(session.Loop());
    remote_ = std::make_unique<remote::RemoteControl>(session, RemoteStateOf(app), Transport(), Clock(),
                                                      *sectionKeys_, *delays_);
    session.SetMidiCommandLink(remote_.get());
    remotePeers.SetRemote(remote_.get());
    keyboard_ = std::make_unique<chords::KeyboardInput>(session, app.chords, app.keyboard, app.options, app.config,
                                                        app.clock, app.engine, Recogniser(), *sectionKeys_, Engine(),
                                                        *peers_);
    second_ = std::make_unique<chords::SecondInput>(session, app.keyboard, app.options, app.engine, Recogniser(),
                                                    &Clock(), *peers_);
    chords::ApplyKeyboardLayout(app.chords, app.keyboard, app.config);
    Clock().SetupClock();
    keyboard_->Attach();
    second_->Attach();
}

// The inputs stop feeding the modules first, then the remote control goes, then the clock
// leaves the timer (no tick from here on); the members then go in reverse order of
// declaration, the arranger's modules last.
LiveArranger::~LiveArranger() {
    Stop();
    second_->Detach();
    keyboard_->Detach();
    static_cast<InputPeers&>(*peers_).SetRemote(nullptr);
    remote_.reset();
    Clock().ShutdownClock();
}

engine::AccompanimentEngine& LiveArranger::Engine() { return arranger_->Engine(); }
engine::Clock& LiveArranger::Clock() { return arranger_->Clock(); }
engine::Transport& LiveArranger::Transport() { return arranger_->Transport(); }
chords::ChordRecogniser& LiveArranger::Recogniser() { return arranger_->Recogniser(); }
SongPlayback& LiveArranger::Songs() { return arranger_->Songs(); }

void LiveArranger::SetCreatorRecorder(stylecreator::MidiRecorder* recorder) {
    static_cast<InputPeers*>(peers_.get())->SetRecorder(recorder);
}


void LiveArranger::Ready(int bpm) {
    const int tempo = bpm > 0 ? bpm : app_.clock.Tempo > 0 ? app_.clock.Tempo : DefaultTempo;
    app_.clock.Tempo = tempo;
    stopped_ = false;
}

void LiveArranger::Start(int bpm) {
    Ready(bpm);
    Transport().StartStyle();
}

void LiveArranger::Panic() {
    keyboard_->ReleaseHeldNotes();
    session_.Style().heldNotes.Clear();
    Transport().AllNotesOff();
}

void LiveArranger::Stop() {
    if (stopped_) return;
    stopped_ = true;
    const bool stylePlayed = session_.Style().player.StyleActive != 0;
    Transport().Stop();  // a playing style ends what sounds and resets its channels
    if (app_.clock.ClockState != 0) Clock().ToggleClock();
    keyboard_->ReleaseHeldNotes();
    if (!stylePlayed) {
        engine::ReleaseWhatSounds(session_, app_.engine, app_.melody, app_.options, session_.AccompanimentOutput());
    }
}

}  // namespace chordella::app
