#include "engine/MelodyPlayer.h"

#include <algorithm>
#include <array>

#include "core/Session.h"
#include "data/ArrangementState.h"
#include "engine/ChordChange.h"
#include "engine/ClockState.h"
#include "engine/MelodyQuantize.h"
#include "engine/Outputs.h"
#include "engine/TransportState.h"

namespace chordella::engine {

namespace {
constexpr int FirstRecordPosition = 4;
}  // namespace

namespace {

// The channel PlayTick sends a note of the track on.
int NoteChannel(const MelodyState& melodyState, const core::Options& options, const EngineState& engineState,
                int status) {
    if (options.MinusOne) return engineState.VoiceChannel & 0x0F;
    return options.ReferToOriginalChannels ? status & 0x0F : melodyState.MelodyChannel & 0x0F;
}

}  // namespace

void SendMelodyProgram(const data::MelodyTrack& track, const MelodyState& melodyState, const core::Options& options,
                       const EngineState& engineState, midi::MidiOut* out, int program) {
    if (program < 0 || program > 127) return;
    const int count = std::min<int>(track.MelodyCount, track.MelodyCapacity);
    std::array<bool, 16> sent{};
    for (int i = 0; i < count; ++i) {
        const data::MelodyEvent& event = track.MelodyBuffer[static_cast<std::size_t>(i)];
        if (event.IsNote == 0 || event.Status < 0x80 || event.Status >= 0xF0) continue;
        const int channel = NoteChannel(melodyState, options, engineState, event.Status);
        if (sent[static_cast<std::size_t>(channel)]) continue;
        sent[static_cast<std::size_t>(channel)] = true;
        Send(out, 0xC0 | channel, program, 0);
    }
}

MelodyPlayer::MelodyPlayer(core::Session& session, MelodyState& melodyState, data::ArrangementState& arrangement,
                           const core::Options& options, const EngineState& engineState,
                           const TransportState& transportState, const ClockState& clockState)
    : session_(session),
      melodyState_(melodyState),
      arrangement_(arrangement),
      options_(options),
      engineState_(engineState),
      transportState_(transportState),
      clockState_(clockState) {}

MelodyPlayer::~MelodyPlayer() {
    session_.Unwire(this);
}

bool MelodyPlayer::MelodyRecording() { return melodyState_.Recording; }

bool MelodyPlayer::ChordMemoryRuns() const { return transportState_.ChordPlayMode != 0; }

void MelodyPlayer::RecordingChanged() {
    if (recordingLink_ != nullptr) recordingLink_->MelodyRecordingChanged();
}

void MelodyPlayer::SendProgram(int program) {
    SendMelodyProgram(arrangement_.Melody, melodyState_, options_, engineState_, session_.AccompanimentOutput(),
                      program);
}

void MelodyPlayer::RecordMelodyEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    MelodyState& m = melodyState_;
    data::MelodyTrack& track = arrangement_.Melody;
    if (!m.Recording || m.MelodyIndex < 0 || m.MelodyIndex >= track.MelodyCapacity) return;
    if (!ChordMemoryRuns() || arrangement_.ChordMemoryPos < FirstRecordPosition) return;
    if (status < 0x80 || status >= 0xF0) return;
    data::MelodyEvent& slot = track.MelodyBuffer[static_cast<std::size_t>(m.MelodyIndex)];
    slot = {m.MelodyClock, status, static_cast<std::uint8_t>(data1 & 0x7F), static_cast<std::uint8_t>(data2 & 0x7F),
            data::IsNoteStatus(status)};
    ++m.MelodyIndex;
    track.MelodyCount = std::max(track.MelodyCount, m.MelodyIndex);
}

void MelodyPlayer::ToggleRecording(bool fromMenu) {
    MelodyState& m = melodyState_;
    data::MelodyTrack& track = arrangement_.Melody;
    if (fromMenu && ChordMemoryRuns()) return;
    if (m.Recording) {
        m.Recording = false;
        RecordingChanged();
        return;
    }
    if (track.MelodyCount <= 0) {
        StartRecording();
        return;
    }
    // The question waits for the user while the ticks go on; the recording starts with the answer.
    session_.Prompter().ConfirmThen("Replace current melody ?", [this](bool yes) {
        if (!yes || melodyState_.Recording) return;
        data::ClearMelody(arrangement_.Melody);
        StartRecording();
    });
}

void MelodyPlayer::StartRecording() {
    MelodyState& m = melodyState_;
    m.Recording = true;
    m.RecordGreyed = false;
    m.MelodyChannel = engineState_.VoiceChannel;
    m.PlaybackOn = true;
    RecordingChanged();
}

void MelodyPlayer::TogglePlayback() { SetPlayback(!melodyState_.PlaybackOn); }

void MelodyPlayer::SetPlayback(bool on) {
    MelodyState& m = melodyState_;
    m.PlaybackOn = on;
    if (!on) ResetChannel(session_.AccompanimentOutput(), m.MelodyChannel & 0x0F);
}

void MelodyPlayer::Delete() {
    data::MelodyTrack& track = arrangement_.Melody;
    if (track.MelodyCount <= 0) return;
    session_.Prompter().ConfirmThen("Delete Melody ?", [this](bool yes) {
        if (yes) DeleteNow();
    });
}

void MelodyPlayer::DeleteNow() {
    data::MelodyTrack& track = arrangement_.Melody;
    std::fill(track.MelodyBuffer.begin(), track.MelodyBuffer.end(), data::MelodyEvent{});
    track.MelodyCount = 0;
    melodyState_.MelodyIndex = 0;
}

void MelodyPlayer::Restore() {
    data::MelodyTrack& track = arrangement_.Melody;
    std::copy(track.MelodyBackup.begin(), track.MelodyBackup.end(), track.MelodyBuffer.begin());
    // The backup holds the last recording; its length is where its events end.
    const auto used = std::find_if(track.MelodyBackup.rbegin(), track.MelodyBackup.rend(),
                                   [](const data::MelodyEvent& e) { return e.Status != 0; });
    track.MelodyCount = static_cast<std::int16_t>(track.MelodyBackup.rend() - used);
}

void MelodyPlayer::Quantize(std::string_view gridCaption) {
    const int grid = MelodyGridOf(gridCaption);
    if (grid < 0) return;
    if (ChordMemoryRuns()) session_.Transport().Stop();
    data::MelodyTrack& track = arrangement_.Melody;
    if (track.MelodyCount <= 0) return;
    QuantizeMelodyTrack(track, grid, melodyState_.Humanize, session_.Random());
}

void MelodyPlayer::ToggleHumanize() { melodyState_.Humanize = !melodyState_.Humanize; }

void MelodyPlayer::ResetPositions() {
    MelodyState& m = melodyState_;
    m.MelodyIndex = 0;
    m.MelodyClock = 0;
    m.MeasureIndex = m.LoopIndex = m.RangeIndex = 0;
    m.MeasureClock = m.LoopClock = m.RangeClock = 0;
}

void MelodyPlayer::Advance() { ++melodyState_.MelodyClock; }

void MelodyPlayer::SaveMeasure() {
    MelodyState& m = melodyState_;
    m.MeasureIndex = m.MelodyIndex;
    m.MeasureClock = m.MelodyClock;
}

void MelodyPlayer::SaveLoop() {
    MelodyState& m = melodyState_;
    m.LoopIndex = m.MelodyIndex;
    m.LoopClock = m.MelodyClock;
}

void MelodyPlayer::RestoreLoop() {
    MelodyState& m = melodyState_;
    if (m.Recording) CloseRecording();
    m.MelodyIndex = m.LoopIndex;
    m.MelodyClock = m.LoopClock;
}

void MelodyPlayer::SaveRange() {
    MelodyState& m = melodyState_;
    m.RangeIndex = m.MelodyIndex;
    m.RangeClock = m.MelodyClock;
}

void MelodyPlayer::RestoreRange() {
    MelodyState& m = melodyState_;
    if (m.Recording) CloseRecording();
    m.MelodyIndex = m.RangeIndex;
    m.MelodyClock = m.RangeClock;
}

void MelodyPlayer::CloseRecording() {
    MelodyState& m = melodyState_;
    data::MelodyTrack& track = arrangement_.Melody;
    if (!m.Recording) return;
    const auto count = static_cast<std::size_t>(std::clamp<int>(track.MelodyCount, 0, track.MelodyCapacity));
    std::copy_n(track.MelodyBuffer.begin(), count, track.MelodyBackup.begin());
    std::fill(track.MelodyBackup.begin() + static_cast<std::ptrdiff_t>(count), track.MelodyBackup.end(),
              data::MelodyEvent{});
    m.Recording = false;
    m.RecordGreyed = true;
    RecordingChanged();
}

void MelodyPlayer::PlayTick() {
    MelodyState& m = melodyState_;
    const data::MelodyTrack& track = arrangement_.Melody;
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (track.MelodyCount <= 0 || m.Recording || !IsOpen(out) || clockState_.TickDelay > 0) return;
    const core::Options& options = options_;
    const EngineState& e = engineState_;
    const int count = std::min<int>(track.MelodyCount, track.MelodyCapacity);
    while (m.MelodyIndex >= 0 && m.MelodyIndex < count) {
        const data::MelodyEvent& event = track.MelodyBuffer[static_cast<std::size_t>(m.MelodyIndex)];
        if (event.Time > m.MelodyClock) break;
        ++m.MelodyIndex;
        if (!m.PlaybackOn || event.Status < 0x80 || event.Status >= 0xF0) continue;
        int status = event.Status;
        if (!options.ReferToOriginalChannels) status = (status & 0xF0) | (m.MelodyChannel & 0x0F);
        if (event.IsNote != 0) {
            if (options.MinusOne) {
                status = (status & 0xF0) | (e.VoiceChannel & 0x0F);
                // The engine leaves the voice channel to the track's note as to the player's.
                if ((status & 0xF0) == 0x90 && event.Data2 > 0) session_.Engine().PlayerPlays(status & 0x0F);
            }
            const int note = std::clamp(event.Data1 + m.KeyboardTranspose, 0, 127);
            Send(out, status, note, event.Data2);
            const int kind = status & 0xF0;
            if (kind == 0x90 || kind == 0x80) {
                m.Sounding[static_cast<std::size_t>(status & 0x0F)][static_cast<std::size_t>(note)] =
                    kind == 0x90 && event.Data2 > 0 ? 1 : 0;
            }
        } else if (options.StoreControllerValues) {
            Send(out, status, event.Data1, event.Data2);
        }
    }
}

}  // namespace chordella::engine
