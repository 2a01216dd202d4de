#include "engine/ChordMemoryPlayer.h"

#include <algorithm>

#include "core/Session.h"
#include "data/ArrangementState.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ChordSound.h"
#include "engine/IntroStart.h"
#include "engine/MelodyPlayer.h"
#include "engine/Metronome.h"
#include "engine/Outputs.h"
#include "engine/SongPlayState.h"
#include "engine/Transport.h"

namespace chordella::engine {

namespace {
constexpr int FirstPosition = data::ChordMemoryHeaderSize;
constexpr int RecordStep = data::BeatRecordSize;
constexpr int RequestTick = 12;
constexpr int MidiCommandCount = 10;
constexpr int FirstCommandProgram = 128;
constexpr std::uint8_t NoChordType = 12;
constexpr int ControlBankSelect = 0;

std::int16_t ToPosition(int value) { return static_cast<std::int16_t>(std::clamp(value, -32000, 32000)); }

// The song loops while the "Loop" box is ticked, except while the melody track records.
std::uint8_t LoopSwitch(bool loopBox, bool melodyRecording) { return loopBox && !melodyRecording ? 1 : 0; }
}  // namespace

ChordMemoryPlayer::ChordMemoryPlayer(core::Session& session, SongPlayState& songPlay, data::ArrangementState& arrangement,
                                     core::Options& options, ClockState& clockState, EngineState& engineState,
                                     const TransportState& transportState, const data::ConfigState& config,
                                     AccompanimentEngine& engine, Transport& transport, MelodyPlayer& melody,
                                     core::ChordLink& chords)
    : session_(session),
      songPlay_(songPlay),
      arrangement_(arrangement),
      options_(options),
      clockState_(clockState),
      engineState_(engineState),
      transportState_(transportState),
      config_(config),
      engine_(engine),
      transport_(transport),
      melody_(melody),
      chords_(chords) {
    melody_.SetRecordingLink(this);
    MeasureUnitsSetFromFile();
}

ChordMemoryPlayer::~ChordMemoryPlayer() {
    melody_.SetRecordingLink(nullptr);
}

void ChordMemoryPlayer::SetSessionRepeats(int repeats) { songPlay_.SessionRepeats = static_cast<std::int16_t>(repeats); }
std::int16_t& ChordMemoryPlayer::Position() { return arrangement_.ChordMemoryPos; }
int ChordMemoryPlayer::MeasureUnits() { return std::max<int>(RecordStep, clockState_.MeasureUnits); }

// --- The main window's fields ---

void ChordMemoryPlayer::SetStartMeasure(int measure) {
    arrangement_.StartMeasure = std::clamp(measure, -500, 500);
    MeasureUnitsSetFromFile();
}

void ChordMemoryPlayer::SetLoop(bool on, int fromMeasure, int toMeasure) {
    SongPlayState& s = songPlay_;
    options_.Loop = on;
    s.LoopFromMeasure = static_cast<std::int16_t>(std::clamp(fromMeasure, 1, 3000));
    s.LoopToMeasure = static_cast<std::int16_t>(std::clamp(toMeasure, 1, 3000));
    s.LoopOn = LoopSwitch(on, melody_.MelodyRecording());
    MeasureUnitsSetFromFile();
}

void ChordMemoryPlayer::MeasureUnitsSetFromFile() {
    SongPlayState& s = songPlay_;
    const int units = MeasureUnits();
    s.PlayStartPos = ToPosition((arrangement_.StartMeasure - 1) * units + FirstPosition);
    s.LoopFromPos = ToPosition((s.LoopFromMeasure - 1) * units + FirstPosition);
    s.LoopToPos = ToPosition(s.LoopToMeasure * units + 3);
}

void ChordMemoryPlayer::MeterKindChanged(MeterKind, MeterKind) { MeasureUnitsSetFromFile(); }

// --- Simple answers to the transport ---

bool ChordMemoryPlayer::ChordMemoryEmpty() { return arrangement_.Chords.IsEmpty(); }
std::int16_t ChordMemoryPlayer::ChordMemoryLength() { return arrangement_.Chords.ChordMemoryLength; }
int ChordMemoryPlayer::StartMeasure() { return arrangement_.StartMeasure; }
std::int16_t ChordMemoryPlayer::PlayStartPos() { return songPlay_.PlayStartPos; }
bool ChordMemoryPlayer::ChordCodeSentAhead() { return songPlay_.ChordCodeSentAhead != 0; }
bool ChordMemoryPlayer::EndingCountdownRunning() { return songPlay_.EndingCountdown != 0; }
void ChordMemoryPlayer::CancelEndingCountdown() { songPlay_.EndingCountdown = 0; }
bool ChordMemoryPlayer::OverwriteBox() { return songPlay_.OverwriteBox; }
void ChordMemoryPlayer::SetOverwriteBox(bool on) { songPlay_.OverwriteBox = on; }
void ChordMemoryPlayer::MelodyStep() { melody_.PlayTick(); }
void ChordMemoryPlayer::MelodyRecordingChanged() {
    songPlay_.LoopOn = LoopSwitch(options_.Loop, melody_.MelodyRecording());
}
void ChordMemoryPlayer::CloseRecordings() { melody_.CloseRecording(); }

void ChordMemoryPlayer::ChordMemoryJumpToEnd() {
    const int last = arrangement_.Chords.ChordMemoryLength - MeasureUnits();
    if (last > Position()) Position() = ToPosition(last);
}

void ChordMemoryPlayer::RequestProgramChange(int program) {
    if (program >= 0) songPlay_.ProgramRequest = static_cast<std::int16_t>(std::min(program, 32000));
}

void ChordMemoryPlayer::RequestMidiCommand(int number) {
    if (number >= 0 && number < MidiCommandCount) midiCommandRequest_ = number;
}

void ChordMemoryPlayer::RunMidiCommand(int number) {
    core::MidiCommandLink* commands = session_.MidiCommands();
    if (commands == nullptr) return;  // no remote control in this program (an offline render)
    sendingMidiCommand_ = true;
    commands->RunMidiCommand(number);
    sendingMidiCommand_ = false;
}

// --- Starting ---

void ChordMemoryPlayer::StartPlayback() {
    SongPlayState& s = songPlay_;
    MeasureUnitsSetFromFile();
    s.LoopOn = LoopSwitch(options_.Loop, melody_.MelodyRecording());
    Position() = s.PlayStartPos;
    s.Resuming = s.PlayStartPos > FirstPosition ? 1 : 0;
    if (s.Resuming == 0) s.AdjustmentKey = -1;  // the song's key marks set it again
    s.SongTranspose = 0;
    s.LoopMarkPos = s.LoopTarget = s.LoopRepeats = s.LoopEndPos = 0;
    s.EndingCountdown = 0;
    s.ChordCodeSentAhead = 0;
    s.LastCodeRoot = s.LastCodeType = 255;
    s.ProgramRequest = -1;
    midiCommandRequest_ = -1;
    melody_.ResetPositions();
    // The melody's instrument, also when the output was opened after the song (or another
    // program came in between).
    const data::ChordMemory& chords = arrangement_.Chords;
    if (chords.MelodyProgram() < 128) melody_.SendProgram(chords.MelodyProgram());
    // The first tick ends a beat and starts a grid unit: the song's first record plays at once.
    ClockState& clock = clockState_;
    clock.TickInBeat = clock.TicksPerBeat;
    clock.GridBeat = clock.GridBeats;
}

// --- The tick ---

bool ChordMemoryPlayer::ChordMemoryStep() {
    const int mode = transportState_.ChordPlayMode;
    if (mode < 0) {
        PlaybackTick();
        return true;
    }
    if (mode == 1) {
        RecordingTick();
        return true;
    }
    return false;
}

void ChordMemoryPlayer::PlaybackTick() {
    const ClockState& clock = clockState_;
    if (engineState_.SongStarting == 0 && Position() > 3) melody_.Advance();
    if (clock.TickInBeat == clock.PreviewTick) Preview();
    if (clock.TickInBeat == RequestTick) CarryOutRequests();
    if (clock.TickInBeat > clock.TicksPerBeat) PlaybackBeatEnd();
}

bool ChordMemoryPlayer::Stopped() { return transportState_.ChordPlayMode == 0; }

void ChordMemoryPlayer::PlaybackBeatEnd() {
    SongPlayState& s = songPlay_;
    EngineState& e = engineState_;
    clockState_.TickInBeat = 1;
    if (e.SongStarting != 0) {
        melody_.ResetPositions();
        e.SongStarting = 0;
    }
    // The beat that ended was the last the chord memory holds.
    if (Position() >= data::ChordMemoryPositionLimit) {
        transport_.Stop();
        return;
    }
    if (LeadInBeat()) return;

    const bool playerOverrides =
        s.OverwriteBox && (e.PendingRoot > 0 || (e.PendingCommandKey >= 1 && e.PendingCommandKey <= 250));
    if (playerOverrides) {
        OverwriteBeat(arrangement_.Chords.RecordAt(Position()));
    } else {
        data::BeatRecord record = ReadRecord();
        LoopMark(record);
        if (s.Resuming != 0) {
            s.Resuming = 0;
            record = ChordInForce(Position());
        } else if (s.LoopOn != 0 && Position() >= s.LoopToPos) {
            ContinueAtLoopFrom(record);
        }
        KeyMark(record);
        if (s.EndingCountdown != 0 && ++s.EndingCountdown > 44) {
            transport_.Stop();
            return;
        }
        if (!Command(record) || Stopped()) return;
        if (record.CommandCode != 0) SubmitCommandKey(record.CommandCode, record.CommandParam);
        if (Stopped()) return;
        if (data::StartsChord(record)) {
            chords_.SetChord(record.ChordRoot, record.ChordType, s.SongTranspose);
            const StylePlayerState& player = session_.Style().player;
            if (player.StyleActive == 0 && player.StyleMode && !options_.PlayChords)
                transport_.StartStyle();
        }
    }
    if ((Position() - FirstPosition) % MeasureUnits() == 0) melody_.SaveMeasure();
    Position() = ToPosition(Position() + RecordStep);
    FinishBeat(LiveClickLevel);
}

bool ChordMemoryPlayer::LeadInBeat() {
    SongPlayState& s = songPlay_;
    if (Position() > s.LoopFromPos) return false;
    if (Position() == FirstPosition - MeasureUnits()) Position() = FirstPosition;
    if (Position() != s.LoopFromPos) {
        const StylePlayerState& player = session_.Style().player;
        if (player.StyleActive == 0 && player.StyleMode && !options_.PlayChords)
            transport_.StartStyle();
        ApplyIntroStartMode(engineState_, options_, transport_, Position());
        Position() = ToPosition(Position() + RecordStep);
        FinishBeat(LeadInClickLevel);
        s.Resuming = 1;
        return true;
    }
    RestoreSoloSelector(engineState_, options_);
    melody_.SaveRange();
    return false;
}

data::BeatRecord ChordMemoryPlayer::ReadRecord() {
    SongPlayState& s = songPlay_;
    data::BeatRecord record = arrangement_.Chords.RecordAt(Position());
    if (s.LoopMarkPos == 0 || Position() != s.LoopMarkPos) return record;
    if (--s.LoopRepeats <= 0) {
        s.LoopMarkPos = 0;
    } else if (s.LoopTarget < Position()) {
        Position() = s.LoopTarget;
        melody_.RestoreLoop();
        record = ChordInForce(Position());
    }
    return record;
}

data::BeatRecord ChordMemoryPlayer::ChordInForce(int position) {
    const data::ChordMemory& memory = arrangement_.Chords;
    data::BeatRecord record = memory.RecordAt(position);
    if (data::StartsChord(record)) return record;
    for (int earlier = position - RecordStep; earlier >= FirstPosition; earlier -= RecordStep) {
        const data::BeatRecord found = memory.RecordAt(earlier);
        if (!data::StartsChord(found)) continue;
        record.ChordRoot = found.ChordRoot;
        record.ChordType = found.ChordType;
        // The found record's section key or key mark goes on; its loop marks, channel
        // commands and end mark belong to that earlier place and are not carried out again.
        const bool placeBound = found.CommandCode >= data::CommandChannels && found.CommandCode != data::CommandTempo;
        if (record.CommandCode == 0 && !placeBound) {
            record.CommandCode = found.CommandCode;
            record.CommandParam = found.CommandParam;
        }
        break;
    }
    return record;
}

void ChordMemoryPlayer::ContinueAtLoopFrom(data::BeatRecord& record) {
    SongPlayState& s = songPlay_;
    Position() = s.LoopFromPos;
    if (s.LoopToPos <= s.LoopFromPos) s.LoopToPos = ToPosition(s.LoopFromPos + MeasureUnits());
    melody_.RestoreRange();
    record = ChordInForce(Position());
}

void ChordMemoryPlayer::Preview() {
    SongPlayState& s = songPlay_;
    if (Position() < s.LoopFromPos || Position() >= data::ChordMemoryPositionLimit) return;
    const data::BeatRecord coming = arrangement_.Chords.RecordAt(Position());
    if (!data::StartsChord(coming) || coming.ChordType == NoChordType) return;
    const core::Options& options = options_;
    int given = coming.ChordRoot + s.SongTranspose;
    if (!options.PlayChords) {
        const int pitchClass = ((given % 12) + 12) % 12;
        given = std::max(0, engineState_.OctaveBase - 12) + pitchClass;
    }
    const core::ChordPair current = chords_.PreviewChord(given, coming.ChordType);
    const int root = current.Root;
    const int type = current.Type;
    const auto codeRoot = static_cast<std::uint8_t>(root % 12);
    if (options.SendChordCodes && type > 0 && (codeRoot != s.LastCodeRoot || type != s.LastCodeType)) {
        SendChordCode(session_.ChordCodeOutput(), options_, root, type);
        s.LastCodeRoot = codeRoot;
        s.LastCodeType = static_cast<std::uint8_t>(type);
        s.ChordCodeSentAhead = 1;
    }
}

void ChordMemoryPlayer::CarryOutRequests() {
    SongPlayState& s = songPlay_;
    if (midiCommandRequest_ >= 0) {
        const int number = midiCommandRequest_;
        midiCommandRequest_ = -1;
        RunMidiCommand(number);
    }
    if (s.ProgramRequest < 0) return;
    // With "... using command keys 0-9", program 128 + n stands for MIDI command n.
    const int command = s.ProgramRequest - FirstCommandProgram;
    if (options_.UsingCommandKeys && command >= 0 && command < MidiCommandCount) {
        s.ProgramRequest = -1;
        RunMidiCommand(command);
        return;
    }
    midi::MidiOut* out = session_.AccompanimentOutput();
    const int channel = engineState_.VoiceChannel & 0x0F;
    int program = s.ProgramRequest;
    if (program >= 128) {
        s.KeptBank = static_cast<std::int16_t>(std::min(program / 128, 127));
        program %= 128;
        Send(out, 0xB0 | channel, ControlBankSelect, s.KeptBank);
    }
    Send(out, 0xC0 | channel, program, 0);
    s.ProgramRequest = -1;
}

void ChordMemoryPlayer::FinishBeat(int clickLevel) {
    ClockState& clock = clockState_;
    if (clock.GridBeat >= clock.GridBeats) {
        engine_.Transport().ApplyCommandKey();
        engine_.ApplyChord();
        songPlay_.ChordCodeSentAhead = 0;
        clock.GridBeat = 0;
    }
    ++clock.GridBeat;
    if (options_.Metronome) engine_.Transport().MetronomeClick(clickLevel);
}

}  // namespace chordella::engine
