#include "app/LiveArranger.h"

#include "stylecreator/CreatorRecording.h"

#include "app/Arranger.h"
#include "app/StateParts.h"
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

// What the input side asks of the transport beyond the session's transport link, and of
// the remote control; the other input modules (melody recording, creator) are not part of it.
class InputPeers final : public chords::NoInputModules {
public:
    InputPeers(engine::Transport& transport, core::Options& options) : transport_(transport), options_(options) {}
    void SetRemote(remote::RemoteControl* remote) { remote_ = remote; }
    void Play() override { transport_.Play(); }
    // The style creator's recording from the second input: clock ticks become waits.
    bool CreatorRecording() override { return recorder_ && recorder_->Recording(); }
    void CreatorRecord(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        if (status == 0xF8) recorder_->ClockTick();
        else recorder_->Message(status, data1, data2);
    }
    void CreatorSequencerStarted() override { options_.TransmitControllers = true; }
    void SetRecorder(stylecreator::MidiRecorder* recorder) { recorder_ = recorder; }

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

private:
    engine::Transport& transport_;
    core::Options& options_;
    stylecreator::MidiRecorder* recorder_ = nullptr;
    remote::RemoteControl* remote_ = nullptr;
};

}  // namespace

LiveArranger::LiveArranger(core::Session& session, AppState& app) : session_(session), app_(app) {
    arranger_ = std::make_unique<Arranger>(session, app);
    auto peers = std::make_unique<InputPeers>(Transport(), app.options);
    InputPeers& remotePeers = *peers;
    peers_ = std::move(peers);
    sectionKeys_ = std::make_unique<chords::SectionKeys>(session, app.keyboard, app.options, app.config, app.transport,
                                                         Recogniser(), peers_.get());
    delays_ = std::make_unique<remote::LoopDelays>(session.Loop());
    remote_ = std::make_unique<remote::RemoteControl>(session, RemoteStateOf(app), Transport(), Clock(),
                                                      *sectionKeys_, *delays_);
    session.SetMidiCommandLink(remote_.get());
    remotePeers.SetRemote(remote_.get());
    keyboard_ = std::make_unique<chords::KeyboardInput>(session, app.chords, app.keyboard, app.options, app.config,
                                                        app.clock, app.engine, Recogniser(), *sectionKeys_,
                                                        peers_.get());
    second_ = std::make_unique<chords::SecondInput>(session, app.keyboard, app.options, app.engine, Recogniser(),
                                                    &Clock(), peers_.get());
    chords::ApplyKeyboardLayout(app.chords, app.keyboard, app.config);
    Clock().SetupClock();
    keyboard_->Attach();
    second_->Attach();
}

// The inputs stop feeding the modules first, then the remote control goes, then the clock
// leaves the timer; the members then go in reverse order of declaration, the arranger's
// modules last (song playback first among them).
LiveArranger::~LiveArranger() {
    Stop();
    arranger_->DetachSongPlayback();
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
SongPlayback* LiveArranger::Songs() { return arranger_->Songs(); }

void LiveArranger::SetCreatorRecorder(stylecreator::MidiRecorder* recorder) {
    static_cast<InputPeers*>(peers_.get())->SetRecorder(recorder);
}

void LiveArranger::AttachSongPlayback() { arranger_->AttachSongPlayback(); }

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
