#include "engine/Transport.h"

#include <algorithm>
#include <string>

#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ChannelSettings.h"
#include "engine/ChordChange.h"
#include "engine/Clock.h"
#include "engine/Metronome.h"
#include "engine/Outputs.h"

namespace chordella::engine {

namespace {
constexpr std::uint32_t MidiStart = 0xFA;
constexpr std::uint32_t MidiStop = 0xFC;
constexpr int SlaveHoldTicks = 2000;
constexpr int HeldByExternalStart = 1001;  // a TickDelay this long waits for the external start
constexpr int ResetAllControllers = 121;
constexpr int FirstPlayPartTag = 100;
constexpr int StepRecordMode = 2;
constexpr int StepRecordVelocity = 90;
constexpr char ChordMemoryEmptyText[] = "Chordmemory is empty !";

void SendRealtime(midi::MidiOut* out, std::uint32_t byte) {
    if (IsOpen(out)) out->PutShortMsg(byte);
}
}  // namespace

Transport::Transport(core::Session& session, AccompanimentEngine& engine, Clock& clock, TransportState& transportState,
                     MelodyState& melodyState, core::Options& options, const data::ConfigState& config)
    : session_(session),
      engine_(engine),
      clock_(clock),
      transportState_(transportState),
      melodyState_(melodyState),
      options_(options),
      config_(config),
      engineState_(engine.State()),
      clockState_(clock.State()),
      sections_(session, engine.State(), clock.State(), options),
      loadHooks_(*this) {
    engine_.SetTransport(this);
    session_.StyleLoadLink().Add(&loadHooks_);
}

Transport::~Transport() {
    session_.StyleLoadLink().Remove(&loadHooks_);
    session_.Unwire(this);
    if (&engine_.Transport() == this) engine_.SetTransport(nullptr);
}

void Transport::SetPeers(TransportModulesLink* peers) {
    peers_ = peers;
}

// --- Starting and stopping ---

void Transport::RaiseRealtime() {
    TransportState& transport = transportState_;
    if (transport.RealtimeRaised) return;
    clock_.SetRealtimePriority(true);
    transport.RealtimeRaised = true;
}

void Transport::LowerRealtime() {
    TransportState& transport = transportState_;
    if (!transport.RealtimeRaised) return;
    clock_.SetRealtimePriority(false);
    transport.RealtimeRaised = false;
}

void Transport::SwitchClockOn() {
    if (clockState_.ClockState != 0) return;
    clock_.ToggleClock();
    transportState_.ClockStartedByTransport = clockState_.ClockState != 0;
}

void Transport::ArmStart() {
    ArmCountIn(transportState_, clockState_, options_);
    ClockState& clock = clockState_;
    if (options_.SlaveMode) {
        // The first external clock after the start begins a new grid unit.
        clock.TickDelay = SlaveHoldTicks;
        clock.TickInBeat = 24;
        clock.GridBeat = static_cast<std::int16_t>(clock.GridBeats + 1);
        RestartMetronomeGroup(transportState_, clockState_);
        session_.Display().ShowClockPanel(2);
    } else {
        session_.Display().ShowClockPanel(1);
    }
}

void Transport::Play() {
    ClockState& clock = clockState_;
    TransportState& transport = transportState_;
    if (clock.ClockState != 0 && clock.TickDelay >= HeldByExternalStart) {
        clock.TickDelay = 0;
        session_.Display().ShowClockPanel(1);
        return;
    }
    if (transport.ChordPlayMode != 0) return;
    StylePlayerState& player = session_.Style().player;
    player.FadeActive = 0;
    player.FadeAmount = 0;
    if (peers_->EndingCountdownRunning()) Stop();
    if (peers_->ChordMemoryEmpty()) {
        session_.Prompter().Inform(ChordMemoryEmptyText);
        return;
    }
    RaiseRealtime();
    peers_->StartPlayback();
    SwitchClockOn();
    transport.ChordPlayMode = -1;
    engineState_.SongStarting = options_.SlaveMode ? 0 : 1;
    ArmStart();
}

void Transport::ConfirmRecording(std::function<void(bool)> then) {
    platform::Prompter& prompter = session_.Prompter();
    const int measure = peers_->StartMeasure();
    if (!peers_->OverwriteBox()) {
        const int start = peers_->PlayStartPos();
        const int length = peers_->ChordMemoryLength();
        const int measureUnits = clockState_.MeasureUnits;
        if (!peers_->ChordMemoryEmpty() && (start < 4 || start < length - 2 * measureUnits)) {
            prompter.ConfirmThen("Replace current chords ?", [this, then = std::move(then)](bool yes) {
                if (yes) peers_->ClearSong();
                then(yes);
            });
            return;
        }
        prompter.ConfirmThen("Replace current chords, starting at measure " + std::to_string(measure),
                             std::move(then));
        return;
    }
    prompter.ConfirmThen("Start Recording at Measure " + std::to_string(measure),
                         [this, measure, then = std::move(then)](bool yes) {
                             if (yes && measure < 2) peers_->StartRecordingAtSongStart();
                             then(yes);
                         });
}

void Transport::Record(bool stepRecord) {
    TransportState& transport = transportState_;
    if (transport.ChordPlayMode != 0) return;
    if (session_.Style().player.StyleActive != 0 && !peers_->ChordMemoryEmpty()) {
        Stop();
        return;
    }
    if (peers_->EndingCountdownRunning()) peers_->CancelEndingCountdown();
    RaiseRealtime();
    peers_->StartRecordingAtStart();
    // The question waits for the user while the ticks go on; the recording starts with the answer.
    ConfirmRecording([this, stepRecord](bool yes) {
        if (!yes || transportState_.ChordPlayMode != 0) {
            LowerRealtime();
            return;
        }
        StartRecording(stepRecord);
    });
}

void Transport::StartRecording(bool stepRecord) {
    TransportState& transport = transportState_;
    EngineState& e = engineState_;
    e.SongStarting = options_.SlaveMode ? 0 : 1;
    if (stepRecord) {
        ClockState& clock = clockState_;
        if (clock.ClockState != 0) {
            clock.ClockState = 0;
            clock_.SetTempo(0);
        }
        e.TriggerVelocity = StepRecordVelocity;
        transport.ChordPlayMode = StepRecordMode;
        return;
    }
    SwitchClockOn();
    transport.ChordPlayMode = 1;
    ArmStart();
}

void Transport::PunchIn() {
    if (peers_->ChordMemoryEmpty()) {
        session_.Prompter().Inform(ChordMemoryEmptyText);
        return;
    }
    peers_->SetOverwriteBox(true);
    Record();
}

void Transport::PlayAndOverwrite() {
    if (peers_->ChordMemoryEmpty()) {
        session_.Prompter().Inform(ChordMemoryEmptyText);
        return;
    }
    peers_->SetOverwriteBox(true);
    Play();
}

void Transport::SilenceAll() {
    // Exactly what sounds is ended, then the channels in use are reset: a blanket note-off
    // for every note of every channel would take seconds on a MIDI cable and overflow an
    // audio period, so that the resets behind it got lost.
    ReleaseWhatSounds(session_, engineState_, melodyState_, options_, session_.AccompanimentOutput());
}

void Transport::Stop() {
    StylePlayerState& player = session_.Style().player;
    TransportState& transport = transportState_;
    const core::Options& options = options_;
    if (player.StyleActive != 0) {
        SilenceAll();
        player.StyleActive = 0;
    }
    player.StopAtNextTick = 0;
    EndRange();
    transport.SyncStartArmed = false;
    if (options.MasterMode) SendRealtime(session_.ClockOutput(), MidiStop);
    session_.Display().ShowClockPanel(0);
    transport.CountInActive = 0;
    peers_->CloseRecordings();
    if (transport.ChordPlayMode > 0) peers_->RecordingStopped();

    LowerRealtime();
    session_.Display().ShowChordText("");
    transport.ChordPlayMode = 0;
    ResetChannel(session_.AccompanimentOutput(), options.PadChannel & 0x0F);

    ClockState& clock = clockState_;
    if (transport.ClockStartedByTransport && clock.ClockState == 1) {
        clock.ClockState = 0;
        clock_.SetTempo(0);
    }
    transport.ClockStartedByTransport = false;
}

bool Transport::BeginStyle(int part, bool loop) {
    StylePlayerState& player = session_.Style().player;
    SectionState& sections = session_.Style().sections;
    EndRange();
    player.FadeActive = 0;
    player.FadeAmount = 0;
    player.StopAtNextTick = 0;
    player.PlayEnd = LoadedStyle(session_).StyleLength;
    if (player.StyleActive == 0) {
        player.StyleBeat = 0;
        sections.ReturnSection = 1;
    }
    sections.SectionRequest = NoSectionRequest;
    if (!sections_.SwitchSection(part)) return false;
    if (loop) sections.NextSection = NextLoop;
    sections_.StartNow();

    ClockState& clock = clockState_;
    // The style and the beat start together (unless this is the first tick of a beat anyway).
    if (clock.TickInBeat != 1) {
        clock.TickInBeat = 0;
        clock.GridBeat = 1;
        player.StyleBeat = 0;
    }
    player.StyleActive = 1;
    // A style played live is as much playing as a song: its ticks get the real-time priority.
    RaiseRealtime();
    SwitchClockOn();
    return true;
}

void Transport::StartStyle() {
    const StylePlayerState& player = session_.Style().player;
    if (player.StyleActive != 0 || !player.StyleMode || LoadedStyle(session_).StyleLength == 0) return;
    const core::Options& options = options_;
    int part = 1;
    if (options.PlayIntro && sections_.Present(0)) {
        part = 0;
    } else if (!sections_.Present(1) && sections_.Present(2)) {
        part = 2;
    }
    if (options.MasterMode) SendRealtime(session_.ClockOutput(), MidiStart);
    if (BeginStyle(part, false) && transportState_.SyncStartArmed) {
        transportState_.SyncStartArmed = false;
        session_.Display().ShowClockPanel(1);
    }
}

void Transport::EndRange() {
    core::RangeBeatLink* ended = rangeBeats_;
    rangeBeats_ = nullptr;
    if (ended != nullptr) ended->RangeEnded();
}

bool Transport::PlayRange(std::int32_t from, std::int32_t to, bool loop, core::RangeBeatLink& beats) {
    const data::StyleState& style = LoadedStyle(session_);
    const std::int32_t end = std::min(to, style.StyleLength);
    if (!session_.Style().player.StyleMode || style.StreamBytes() == nullptr || from < 0 || from >= end) return false;
    if (StyleStarted()) Stop();
    StylePlayerState& player = session_.Style().player;
    SectionState& sections = session_.Style().sections;
    player.FadeActive = 0;
    player.FadeAmount = 0;
    player.StopAtNextTick = 0;
    player.PlayEnd = style.StyleLength;
    player.BufferIndex = 0;
    player.StyleBeat = 0;
    sections.ReturnSection = 1;
    sections.SectionRequest = NoSectionRequest;
    sections.NextSection = loop ? NextLoop : NextStop;
    player.LoopStart = from;
    player.LoopEnd = end;
    sections.PartFirstBeat = 4;  // measure 1, beat 1
    sections_.StartNow();

    ClockState& clock = clockState_;
    if (clock.TickInBeat != 1) {
        clock.TickInBeat = 0;
        clock.GridBeat = 1;
    }
    player.StyleActive = 1;
    SwitchClockOn();
    rangeBeats_ = &beats;
    return true;
}

bool Transport::StyleStarted() { return session_.Style().player.StyleActive != 0; }

void Transport::PlayPart(int tag) {
    const int part = tag - FirstPlayPartTag;
    if (part < 0 || part >= data::PartCount || LoadedStyle(session_).StyleLength == 0) return;
    session_.Style().player.CurrentSection = static_cast<std::int16_t>(part);
    if (!sections_.Present(part)) {
        session_.Display().ShowPartSelector(part, true);
        return;
    }
    BeginStyle(part, true);
}

// --- Panic and switches ---

void Transport::AllNotesOff() {
    ResetAllChannels(engineState_, session_.AccompanimentOutput());
    peers_->ClearTypeOverride();
}

void Transport::ResetControllers() {
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (IsOpen(out)) {
        for (int channel = 0; channel < ChannelCount; ++channel) Send(out, 0xB0 + channel, ResetAllControllers, 0);
        ResendChannelSettings(out, session_.Controllers(), engineState_.VoiceChannel);
        session_.Controllers().Clear();
    }
    peers_->ClearTypeOverride();
}

void Transport::SetAccompaniment(bool on) {
    transportState_.AccompanimentOn = on ? 1 : 0;
    ResetAllChannels(engineState_, session_.AccompanimentOutput());
    if (on) {
        session_.Display().ShowAccompanimentSwitch("K", "Accompaniment OFF", 0);
    } else {
        session_.Display().ShowAccompanimentSwitch("A", "Accompaniment ON", 1);
    }
}

void Transport::ToggleAccompaniment() { SetAccompaniment(transportState_.AccompanimentOn == 0); }

void Transport::ToggleSyncStart() {
    TransportState& transport = transportState_;
    if (!options_.SlaveMode) {
        const bool playing = session_.Style().player.StyleActive != 0 || transport.ChordPlayMode != 0;
        if (playing) Stop();
        transport.SyncStartArmed = playing || !transport.SyncStartArmed;
        session_.Display().ShowClockPanel(transport.SyncStartArmed ? 2 : 0);
        return;
    }
    ClockState& clock = clockState_;
    clock.TickDelay = static_cast<std::int16_t>(clock.TickDelay != 0 ? 0 : SlaveHoldTicks);
    session_.Display().ShowClockPanel(clock.TickDelay != 0 ? 2 : 1);
}

void Transport::FadeOut() {
    StylePlayerState& player = session_.Style().player;
    if (player.StyleActive == 0 || player.FadeActive != 0) return;
    player.FadeActive = 1;
    player.FadeAmount = 0;
}

void Transport::ToggleCountIn() { options_.CountIn = !options_.CountIn; }
void Transport::ToggleMetronome() { options_.Metronome = !options_.Metronome; }
void Transport::TogglePlayIntro() { options_.PlayIntro = !options_.PlayIntro; }
void Transport::SetPlayEnding(bool on) { options_.PlayEnding = on; }

// --- Loading a style ---

bool Transport::StyleLoadSteps::RecordingRuns() { return transport_.transportState_.ChordPlayMode > 0; }

bool Transport::StyleLoadSteps::IntroEnabled() { return transport_.options_.PlayIntro; }

}  // namespace chordella::engine
