#include "engine/MelodyPlayer.h"

#include <algorithm>
#include <array>

#include "core/Session.h"
#include "engine/ChordChange.h"
#include "engine/MelodyQuantize.h"
#include "engine/Outputs.h"

namespace chordella::engine {

namespace {
constexpr int FirstRecordPosition = 4;

bool ChordMemoryRuns(core::Session& session) { return session.App().transport.ChordPlayMode != 0; }
}  // namespace

namespace {

// The channel PlayTick sends a note of the track on.
int NoteChannel(core::Session& session, int status) {
    const core::Options& options = session.App().options;
    if (options.MinusOne) return session.App().engine.VoiceChannel & 0x0F;
    return options.ReferToOriginalChannels ? status & 0x0F : session.App().melody.MelodyChannel & 0x0F;
}

}  // namespace

void SendMelodyProgram(core::Session& session, int program) {
    if (program < 0 || program > 127) return;
    const data::MelodyTrack& track = session.App().arrangement.Melody;
    const int count = std::min<int>(track.MelodyCount, track.MelodyCapacity);
    std::array<bool, 16> sent{};
    for (int i = 0; i < count; ++i) {
        const data::MelodyEvent& event = track.MelodyBuffer[static_cast<std::size_t>(i)];
        if (event.IsNote == 0 || event.Status < 0x80 || event.Status >= 0xF0) continue;
        const int channel = NoteChannel(session, event.Status);
        if (sent[static_cast<std::size_t>(channel)]) continue;
        sent[static_cast<std::size_t>(channel)] = true;
        Send(session.AccompanimentOutput(), 0xC0 | channel, program, 0);
    }
}

MelodyPlayer::MelodyPlayer(core::Session& session) : session_(session) {}

MelodyPlayer::~MelodyPlayer() {
    if (&session_.Melody() == this) session_.SetMelodyLink(nullptr);
}

bool MelodyPlayer::MelodyRecording() { return session_.App().melody.Recording; }

void MelodyPlayer::RecordMelodyEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    MelodyState& m = session_.App().melody;
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    if (!m.Recording || m.MelodyIndex < 0 || m.MelodyIndex >= track.MelodyCapacity) return;
    if (!ChordMemoryRuns(session_) || session_.App().arrangement.ChordMemoryPos < FirstRecordPosition) return;
    if (status < 0x80 || status >= 0xF0) return;
    data::MelodyEvent& slot = track.MelodyBuffer[static_cast<std::size_t>(m.MelodyIndex)];
    slot = {m.MelodyClock, status, static_cast<std::uint8_t>(data1 & 0x7F), static_cast<std::uint8_t>(data2 & 0x7F),
            data::IsNoteStatus(status)};
    ++m.MelodyIndex;
    track.MelodyCount = std::max(track.MelodyCount, m.MelodyIndex);
}

void MelodyPlayer::ToggleRecording(bool fromMenu) {
    MelodyState& m = session_.App().melody;
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    if (fromMenu && ChordMemoryRuns(session_)) return;
    if (m.Recording) {
        m.Recording = false;
        session_.App().songPlay.LoopOn = session_.App().options.Loop ? 1 : 0;
        return;
    }
    if (track.MelodyCount <= 0) {
        StartRecording();
        return;
    }
    // The question waits for the user while the ticks go on; the recording starts with the answer.
    session_.Prompter().ConfirmThen("Replace current melody ?", [this](bool yes) {
        if (!yes || session_.App().melody.Recording) return;
        data::ClearMelody(session_.App().arrangement.Melody);
        StartRecording();
    });
}

void MelodyPlayer::StartRecording() {
    MelodyState& m = session_.App().melody;
    m.Recording = true;
    m.RecordGreyed = false;
    m.MelodyChannel = session_.App().engine.VoiceChannel;
    m.PlaybackOn = true;
    session_.App().songPlay.LoopOn = 0;
}

void MelodyPlayer::TogglePlayback() { SetPlayback(!session_.App().melody.PlaybackOn); }

void MelodyPlayer::SetPlayback(bool on) {
    MelodyState& m = session_.App().melody;
    m.PlaybackOn = on;
    if (!on) ResetChannel(session_.AccompanimentOutput(), m.MelodyChannel & 0x0F);
}

void MelodyPlayer::Delete() {
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    if (track.MelodyCount <= 0) return;
    session_.Prompter().ConfirmThen("Delete Melody ?", [this](bool yes) {
        if (yes) DeleteNow();
    });
}

void MelodyPlayer::DeleteNow() {
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    std::fill(track.MelodyBuffer.begin(), track.MelodyBuffer.end(), data::MelodyEvent{});
    track.MelodyCount = 0;
    session_.App().melody.MelodyIndex = 0;
}

void MelodyPlayer::Restore() {
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    std::copy(track.MelodyBackup.begin(), track.MelodyBackup.end(), track.MelodyBuffer.begin());
    // The backup holds the last recording; its length is where its events end.
    const auto used = std::find_if(track.MelodyBackup.rbegin(), track.MelodyBackup.rend(),
                                   [](const data::MelodyEvent& e) { return e.Status != 0; });
    track.MelodyCount = static_cast<std::int16_t>(track.MelodyBackup.rend() - used);
}

void MelodyPlayer::Quantize(std::string_view gridCaption) {
    const int grid = MelodyGridOf(gridCaption);
    if (grid < 0) return;
    if (ChordMemoryRuns(session_)) session_.Transport().Stop();
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    if (track.MelodyCount <= 0) return;
    QuantizeMelodyTrack(track, grid, session_.App().melody.Humanize, session_.Random());
}

void MelodyPlayer::ToggleHumanize() { session_.App().melody.Humanize = !session_.App().melody.Humanize; }

void MelodyPlayer::ResetPositions() {
    MelodyState& m = session_.App().melody;
    m.MelodyIndex = 0;
    m.MelodyClock = 0;
    m.MeasureIndex = m.LoopIndex = m.RangeIndex = 0;
    m.MeasureClock = m.LoopClock = m.RangeClock = 0;
}

void MelodyPlayer::Advance() { ++session_.App().melody.MelodyClock; }

void MelodyPlayer::SaveMeasure() {
    MelodyState& m = session_.App().melody;
    m.MeasureIndex = m.MelodyIndex;
    m.MeasureClock = m.MelodyClock;
}

void MelodyPlayer::SaveLoop() {
    MelodyState& m = session_.App().melody;
    m.LoopIndex = m.MelodyIndex;
    m.LoopClock = m.MelodyClock;
}

void MelodyPlayer::RestoreLoop() {
    MelodyState& m = session_.App().melody;
    if (m.Recording) CloseRecording();
    m.MelodyIndex = m.LoopIndex;
    m.MelodyClock = m.LoopClock;
}

void MelodyPlayer::SaveRange() {
    MelodyState& m = session_.App().melody;
    m.RangeIndex = m.MelodyIndex;
    m.RangeClock = m.MelodyClock;
}

void MelodyPlayer::RestoreRange() {
    MelodyState& m = session_.App().melody;
    if (m.Recording) CloseRecording();
    m.MelodyIndex = m.RangeIndex;
    m.MelodyClock = m.RangeClock;
}

void MelodyPlayer::CloseRecording() {
    MelodyState& m = session_.App().melody;
    data::MelodyTrack& track = session_.App().arrangement.Melody;
    if (!m.Recording) return;
    const auto count = static_cast<std::size_t>(std::clamp<int>(track.MelodyCount, 0, track.MelodyCapacity));
    std::copy_n(track.MelodyBuffer.begin(), count, track.MelodyBackup.begin());
    std::fill(track.MelodyBackup.begin() + static_cast<std::ptrdiff_t>(count), track.MelodyBackup.end(),
              data::MelodyEvent{});
    m.Recording = false;
    m.RecordGreyed = true;
    session_.App().songPlay.LoopOn = session_.App().options.Loop ? 1 : 0;
}

void MelodyPlayer::PlayTick() {
    MelodyState& m = session_.App().melody;
    const data::MelodyTrack& track = session_.App().arrangement.Melody;
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (track.MelodyCount <= 0 || m.Recording || !IsOpen(out) || session_.App().clock.TickDelay > 0) return;
    const core::Options& options = session_.App().options;
    EngineState& e = session_.App().engine;
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
                if ((status & 0xF0) == 0x90 && event.Data2 > 0) e.PlayerSoloing = 1;
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
