#include "app/LiveArranger.h"

#include "stylecreator/CreatorRecording.h"

#include "app/RenderSession.h"
#include "core/Session.h"
#include "app/SongPlayback.h"
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

namespace chordella::app {

namespace {

constexpr int DefaultTempo = 120;

// What the input side asks of the transport beyond the session's transport link; the
// other input modules (remote control, melody recording, creator) are not part of it.
class TransportModulesLink final : public chords::NoInputModules {
public:
    explicit TransportModulesLink(engine::Transport& transport) : transport_(transport) {}
    void Play() override { transport_.Play(); }
    // The style creator's recording from the second input: clock ticks become waits.
    bool CreatorRecording() override { return recorder_ && recorder_->Recording(); }
    void CreatorRecord(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        if (status == 0xF8) recorder_->ClockTick();
        else recorder_->Message(status, data1, data2);
    }
    void SetRecorder(stylecreator::MidiRecorder* recorder) { recorder_ = recorder; }

private:
    engine::Transport& transport_;
    stylecreator::MidiRecorder* recorder_ = nullptr;
};

}  // namespace

LiveArranger::LiveArranger(core::Session& session) : session_(session) {
    engine_ = std::make_unique<engine::AccompanimentEngine>(session);
    clock_ = std::make_unique<engine::Clock>(session, *engine_);
    transport_ = std::make_unique<engine::Transport>(session, *engine_, *clock_);
    peers_ = std::make_unique<TransportModulesLink>(*transport_);
    recogniser_ = std::make_unique<chords::ChordRecogniser>(session);
    sectionKeys_ = std::make_unique<chords::SectionKeys>(session, *recogniser_, peers_.get());
    keyboard_ = std::make_unique<chords::KeyboardInput>(session, *recogniser_, *sectionKeys_, peers_.get());
    second_ = std::make_unique<chords::SecondInput>(session, *recogniser_, clock_.get(), peers_.get());
    chords::ApplyKeyboardLayout(session);
    clock_->SetupClock();
    keyboard_->Attach();
    second_->Attach();
}

LiveArranger::~LiveArranger() {
    Stop();
    if (playback_) {
        // The playback detaches itself from the transport; chord recognition stays linked.
        playback_.reset();
        session_.SetChordLink(recogniser_.get());
    }
    second_->Detach();
    keyboard_->Detach();
    clock_->ShutdownClock();
}

void LiveArranger::SetCreatorRecorder(stylecreator::MidiRecorder* recorder) {
    static_cast<TransportModulesLink*>(peers_.get())->SetRecorder(recorder);
}

void LiveArranger::AttachSongPlayback() {
    if (playback_) return;
    playback_ = MakeSongPlayback(session_, *engine_, *transport_);
    // The playback's recogniser registered itself; the live one answers the same way, and
    // stays the chord link whatever happens to the playback.
    session_.SetChordLink(recogniser_.get());
}

void LiveArranger::Ready(int bpm) {
    const int tempo = bpm > 0 ? bpm : session_.App().clock.Tempo > 0 ? session_.App().clock.Tempo : DefaultTempo;
    session_.App().clock.Tempo = tempo;
    stopped_ = false;
}

void LiveArranger::Start(int bpm) {
    Ready(bpm);
    transport_->StartStyle();
}

void LiveArranger::Panic() {
    keyboard_->ReleaseHeldNotes();
    session_.Style().heldNotes.Clear();
    transport_->AllNotesOff();
}

void LiveArranger::Stop() {
    if (stopped_) return;
    stopped_ = true;
    const bool stylePlayed = session_.Style().player.StyleActive != 0;
    transport_->Stop();  // a playing style ends what sounds and resets its channels
    if (session_.App().clock.ClockState != 0) clock_->ToggleClock();
    keyboard_->ReleaseHeldNotes();
    if (!stylePlayed) engine::ReleaseWhatSounds(session_, session_.AccompanimentOutput());
}

}  // namespace chordella::app
