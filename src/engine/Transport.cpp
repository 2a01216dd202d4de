#include "engine/Transport.h"

#include <algorithm>
#include <string>

#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
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

Transport::Transport(core::Session& session, AccompanimentEngine& engine, Clock& clock)
    : session_(session), engine_(engine), clock_(clock), sections_(session, noPeers_), loadHooks_(*this) {
    engine_.SetTransport(this);
    session_.StyleLoadLink().Add(&loadHooks_);
}

Transport::~Transport() {
    session_.StyleLoadLink().Remove(&loadHooks_);
    if (&session_.Transport() == this) session_.SetTransportLink(nullptr);
    if (&engine_.Transport() == this) engine_.SetTransport(nullptr);
}

void Transport::SetPeers(TransportModulesLink* peers) {
    peers_ = peers ? peers : &noPeers_;
    sections_.SetPeers(*peers_);
}

// --- Starting and stopping ---

void Transport::RaiseRealtime() {
    TransportState& transport = session_.App().transport;
    if (transport.RealtimeRaised) return;
    clock_.SetRealtimePriority(true);
    transport.RealtimeRaised = true;
}

void Transport::LowerRealtime() {
    TransportState& transport = session_.App().transport;
    if (!transport.RealtimeRaised) return;
    clock_.SetRealtimePriority(false);
    transport.RealtimeRaised = false;
}

void Transport::SwitchClockOn() {
    if (session_.App().clock.ClockState != 0) return;
    clock_.ToggleClock();
    session_.App().transport.ClockStartedByTransport = session_.App().clock.ClockState != 0;
}

void Transport::ArmStart() {
    ArmCountIn(session_);
    ClockState& clock = session_.App().clock;
    if (session_.App().options.SlaveMode) {
        // The first external clock after the start begins a new grid unit.
        clock.TickDelay = SlaveHoldTicks;
        clock.TickInBeat = 24;
        clock.GridBeat = static_cast<std::int16_t>(clock.GridBeats + 1);
        RestartMetronomeGroup(session_);
        session_.Display().ShowClockPanel(2);
    } else {
        session_.Display().ShowClockPanel(1);
    }
}

void Transport::Play() {
    ClockState& clock = session_.App().clock;
    TransportState& transport = session_.App().transport;
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
    if (peers_->MidiFileLoaded()) {
        RaiseRealtime();
        peers_->StartMidiFile();
        return;
    }
    if (peers_->ChordMemoryEmpty()) {
        session_.Prompter().Inform(ChordMemoryEmptyText);
        return;
    }
    RaiseRealtime();
    peers_->StartPlayback();
    SwitchClockOn();
    transport.ChordPlayMode = -1;
    session_.App().engine.SongStarting = session_.App().options.SlaveMode ? 0 : 1;
    ArmStart();
}

void Transport::ConfirmRecording(std::function<void(bool)> then) {
    platform::Prompter& prompter = session_.Prompter();
    const int measure = peers_->StartMeasure();
    if (!peers_->OverwriteBox()) {
        const int start = peers_->PlayStartPos();
        const int length = peers_->ChordMemoryLength();
        const int measureUnits = session_.App().clock.MeasureUnits;
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
    TransportState& transport = session_.App().transport;
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
        if (!yes || session_.App().transport.ChordPlayMode != 0) {
            LowerRealtime();
            return;
        }
        StartRecording(stepRecord);
    });
}

void Transport::StartRecording(bool stepRecord) {
    TransportState& transport = session_.App().transport;
    EngineState& e = session_.App().engine;
    e.SongStarting = session_.App().options.SlaveMode ? 0 : 1;
    if (stepRecord) {
        ClockState& clock = session_.App().clock;
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
    ReleaseWhatSounds(session_, session_.AccompanimentOutput());
}

void Transport::Stop() {
    StylePlayerState& player = session_.Style().player;
    TransportState& transport = session_.App().transport;
    const core::Options& options = session_.App().options;
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
    peers_->DrainInputs();
    session_.Display().ShowChordText("");
    transport.ChordPlayMode = 0;
    ResetChannel(session_.AccompanimentOutput(), options.PadChannel & 0x0F);

    ClockState& clock = session_.App().clock;
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

    ClockState& clock = session_.App().clock;
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
    const core::Options& options = session_.App().options;
    int part = 1;
    if (options.PlayIntro && sections_.Present(0)) {
        part = 0;
    } else if (!sections_.Present(1) && sections_.Present(2)) {
        part = 2;
    }
    if (options.MasterMode) SendRealtime(session_.ClockOutput(), MidiStart);
    if (BeginStyle(part, false) && session_.App().transport.SyncStartArmed) {
        session_.App().transport.SyncStartArmed = false;
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

    ClockState& clock = session_.App().clock;
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
    ResetAllChannels(session_, session_.AccompanimentOutput());
    peers_->ClearTypeOverride();
}

void Transport::ResetControllers() {
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (IsOpen(out)) {
        for (int channel = 0; channel < ChannelCount; ++channel) Send(out, 0xB0 + channel, ResetAllControllers, 0);
        peers_->ResendVoiceSettings();
        session_.Controllers().Clear();
    }
    peers_->ClearTypeOverride();
}

void Transport::SetAccompaniment(bool on) {
    session_.App().transport.AccompanimentOn = on ? 1 : 0;
    ResetAllChannels(session_, session_.AccompanimentOutput());
    if (on) {
        session_.Display().ShowAccompanimentSwitch("K", "Accompaniment OFF", 0);
    } else {
        session_.Display().ShowAccompanimentSwitch("A", "Accompaniment ON", 1);
    }
}

void Transport::ToggleAccompaniment() { SetAccompaniment(session_.App().transport.AccompanimentOn == 0); }

void Transport::ToggleSyncStart() {
    TransportState& transport = session_.App().transport;
    if (!session_.App().options.SlaveMode) {
        const bool playing = session_.Style().player.StyleActive != 0 || transport.ChordPlayMode != 0;
        if (playing) Stop();
        transport.SyncStartArmed = playing || !transport.SyncStartArmed;
        session_.Display().ShowClockPanel(transport.SyncStartArmed ? 2 : 0);
        return;
    }
    ClockState& clock = session_.App().clock;
    clock.TickDelay = static_cast<std::int16_t>(clock.TickDelay != 0 ? 0 : SlaveHoldTicks);
    session_.Display().ShowClockPanel(clock.TickDelay != 0 ? 2 : 1);
}

void Transport::FadeOut() {
    StylePlayerState& player = session_.Style().player;
    if (player.StyleActive == 0 || player.FadeActive != 0) return;
    player.FadeActive = 1;
    player.FadeAmount = 0;
}

void Transport::ToggleCountIn() { session_.App().options.CountIn = !session_.App().options.CountIn; }
void Transport::ToggleMetronome() { session_.App().options.Metronome = !session_.App().options.Metronome; }
void Transport::TogglePlayIntro() { session_.App().options.PlayIntro = !session_.App().options.PlayIntro; }
void Transport::SetPlayEnding(bool on) { session_.App().options.PlayEnding = on; }

// --- Loading a style ---

bool Transport::StyleLoadSteps::RecordingRuns() { return transport_.session_.App().transport.ChordPlayMode > 0; }

bool Transport::StyleLoadSteps::IntroEnabled() { return transport_.session_.App().options.PlayIntro; }

}  // namespace chordella::engine
