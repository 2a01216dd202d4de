#include "engine/StylePlayer.h"

#include <algorithm>

#include "core/Session.h"
#include "engine/ChordShift.h"
#include "engine/NativeTransposition.h"
#include "engine/Outputs.h"
#include "engine/TickLink.h"
#include "midi/MidiStatus.h"

namespace chordella::engine {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::PolyPressure;
using midi::status::ControlChange;
using midi::status::ProgramChange;
using midi::status::PitchBend;
constexpr int VolumeController = 7;
constexpr int FadeStopAmount = 110;

std::uint8_t Clamp7(int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 127 ? 127 : value); }

}  // namespace

void SendDrumNoteOffsDue(core::Session& session, EngineState& engineState) noexcept {
    const StylePlayerState& player = session.Style().player;
    // Reading from the present position, which may lie just past the part's end (the
    // note-offs at its last tick are stored there); not from a switch already marked.
    if (player.StyleActive == 0 || player.WaitTicks != 0 || player.StylePos < 0 ||
        player.StylePos >= player.LoopEnd + SectionSwitchMarker) {
        return;
    }
    const data::StyleState& style = LoadedStyle(session);
    const int index = player.BufferIndex;
    const std::uint8_t* buffer = index >= 0 && index < MaxStreamBuffers ? style.Stream.Buffer(index) : nullptr;
    if (buffer == nullptr) return;
    auto& drums = engineState.VelocityMap[static_cast<std::size_t>(DrumChannel)];
    const std::int32_t end = data::StreamCapacity - 2;
    for (std::int32_t pos = player.StylePos; pos < end;) {
        const std::uint8_t b = buffer[pos];
        if (b >= data::stream::ShortestWait || b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) return;
        if (b < 0x80 || b > 0xEF) {
            ++pos;
            continue;
        }
        const std::uint8_t note = buffer[pos + 1] & 0x7F;
        const bool noteOff = b == NoteOff + DrumChannel || (b == NoteOn + DrumChannel && (buffer[pos + 2] & 0x7F) == 0);
        if (noteOff && drums[note] != 0) {
            Send(session.AccompanimentOutput(), b, note, buffer[pos + 2]);
            drums[note] = 0;
        }
        pos += 3;
    }
}

void StylePlayer::PlayStyleTick() noexcept {
    StylePlayerState& player = session_.Style().player;
    EngineState& e = engineState_;
    if (player.StyleMode && hooks_->NoChordMarked()) return;

    if (e.InstrumentPadOn != 0) {
        const int pad = options_.PadChannel & 0x0F;
        Send(session_.AccompanimentOutput(), ControlChange + pad, 7, e.InstrumentPadVolume);
        e.ChannelVolume[static_cast<std::size_t>(pad)] = e.InstrumentPadVolume;
    }
    if (clockState_.TickInBeat == 1) BeatStart();

    midi::MidiOut* out = session_.AccompanimentOutput();
    Event event{};
    for (;;) {
        const Read read = ReadOne(event);
        if (read == Read::Done) return;
        if (read == Read::Again) continue;
        const Verdict verdict = Shape(event);
        if (verdict == Verdict::Stop) return;
        if (verdict == Verdict::Send) out->PutShort(event.Status, event.Data1, event.Data2);
    }
}

void StylePlayer::BeatStart() noexcept {
    StylePlayerState& player = session_.Style().player;
    if (player.StyleBeat == 0) engineState_.PlayerSoloing = 0;
    if (player.FadeActive != 0 && player.StyleMode && player.FadeAmount <= 1000) player.FadeAmount += 5;
    if (player.FadeAmount > FadeStopAmount && !hooks_->ChordMemoryEmpty()) hooks_->ChordMemoryJumpToEnd();
    hooks_->SectionStep();
}

StylePlayer::Read StylePlayer::ReadOne(Event& event) noexcept {
    StylePlayerState& player = session_.Style().player;
    if (!IsOpen(session_.AccompanimentOutput())) return Read::Done;
    if (player.WaitTicks > 0) {
        --player.WaitTicks;
        return Read::Done;
    }
    if (player.StopAtNextTick != 0) {
        hooks_->StopTransport();
        player.StopAtNextTick = 0;
        return Read::Done;
    }
    const data::StyleState& style = LoadedStyle(session_);
    const int index = player.BufferIndex;
    const std::uint8_t* buffer = index >= 0 && index < MaxStreamBuffers ? style.Stream.Buffer(index) : nullptr;
    const std::int32_t pos = player.StylePos;
    const std::int32_t end = player.PlayEnd < data::StreamCapacity ? player.PlayEnd : data::StreamCapacity;
    if (buffer == nullptr || pos < 0 || pos >= data::StreamCapacity) {
        EndOfStyle();
        return Read::Done;
    }
    const std::uint8_t b = buffer[pos];
    if (b == data::stream::EndOfBuffer && index < MaxStreamBuffers - 1 && style.Stream.Buffer(index + 1) != nullptr) {
        player.BufferIndex = static_cast<std::int16_t>(index + 1);
        player.StylePos = 0;
        return Read::Again;
    }
    if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer || pos >= end) {
        EndOfStyle();
        return Read::Done;
    }
    if (b >= data::stream::ShortestWait) {
        player.WaitTicks = static_cast<std::int16_t>(b - data::stream::ShortestWait);
        player.StylePos = pos + 1;
        return Read::Done;
    }
    if (b < 0x80 || b > 0xEF) {
        // Not a channel message (a stray data or system byte): step over it.
        player.StylePos = pos + 1;
        return Read::Again;
    }
    if (pos + 2 >= data::StreamCapacity) {
        EndOfStyle();  // a message cut off by the end of the buffer
        return Read::Done;
    }
    event = Event{b, static_cast<std::uint8_t>(buffer[pos + 1] & 0x7F), static_cast<std::uint8_t>(buffer[pos + 2] & 0x7F)};
    player.StylePos = pos + 3;
    return Read::Event;
}

void StylePlayer::EndOfStyle() noexcept {
    hooks_->StopTransport();
}

bool StylePlayer::ChannelPasses(int channel) const noexcept {
    const EngineState& e = engineState_;
    if (e.SoloFilter != 0 && (e.SoloFilter < 1 || e.SoloFilter > 16 || channel != e.SoloFilter - 1)) return false;
    if (e.ChannelMute[static_cast<std::size_t>(channel)] != 0) return false;
    if (e.InstrumentPadOn != 0 && channel == (options_.PadChannel & 0x0F)) return false;
    return true;
}

StylePlayer::Verdict StylePlayer::Shape(Event& event) noexcept {
    const int kind = event.Status & 0xF0;
    const int channel = event.Status & 0x0F;
    if (kind == PitchBend && !options_.AllowPitchBend) return Verdict::Drop;
    if (kind == NoteOff || kind == NoteOn || kind == PolyPressure || kind == PitchBend) {
        if (!ChannelPasses(channel)) return Verdict::Drop;
    } else if (FilterControllers(event) == Verdict::Drop) {
        return Verdict::Drop;
    }
    const StylePlayerState& player = session_.Style().player;
    if (!player.StyleMode) return Verdict::Send;

    const int part = player.CurrentSection;
    if (part >= 0 && part < data::PartCount &&
        LoadedStyle(session_).Parts[static_cast<std::size_t>(part)].PartMute[static_cast<std::size_t>(channel)] != 0) {
        return Verdict::Drop;
    }
    const Verdict velocity = ShapeVelocity(event);
    if (velocity != Verdict::Send) return velocity;
    if (channel == DrumChannel) {
        TrackDrum(event);
        return Verdict::Send;
    }
    if (kind != NoteOff && kind != NoteOn && kind != PolyPressure) return Verdict::Send;
    return Transpose(event);
}

StylePlayer::Verdict StylePlayer::FilterControllers(Event& event) noexcept {
    const core::Options& options = options_;
    const int kind = event.Status & 0xF0;
    const int channel = event.Status & 0x0F;
    if (kind == ControlChange && event.Data1 == 84) {
        event.Data2 = Clamp7(event.Data2 + engineState_.GlobalTranspose);
    }
    if (kind == ControlChange && event.Data1 == 91 && (options.ReverbOff || options.ReverbDefined)) return Verdict::Drop;
    if (!ChannelPasses(channel)) return Verdict::Drop;
    const StylePlayerState& player = session_.Style().player;
    if (kind == ControlChange && player.StyleMode && LoadedStyle(session_).Header.SuppressControllers != 0) {
        return Verdict::Drop;
    }
    if (kind == ControlChange && event.Data1 == VolumeController) {
        const std::uint8_t held = engineState_.HeldVolume[static_cast<std::size_t>(channel)];
        if (held <= 127) event.Data2 = held;
    }
    const bool changed = midi::ControllerChanged(session_.Controllers(), kind, channel, event.Data1, event.Data2, false);
    if (!changed) {
        const bool bankOrProgram = kind == ProgramChange || (kind == ControlChange && (event.Data1 == 0 || event.Data1 == 32));
        const bool pass = player.SectionJustChanged != 0 ? bankOrProgram : options.TransmitControllers;
        if (!pass) return Verdict::Drop;
    }
    if (event.Status == ProgramChange && options.SoloOnChannel1) return Verdict::Drop;
    return Verdict::Send;
}

StylePlayer::Verdict StylePlayer::ShapeVelocity(Event& event) noexcept {
    if ((event.Status & 0xF0) != NoteOn || event.Data2 == 0) return Verdict::Send;
    const StylePlayerState& player = session_.Style().player;
    int velocity = event.Data2;
    if (player.FadeActive != 0) {
        velocity -= player.FadeAmount;
        if (velocity <= 0) {
            if (player.FadeAmount > FadeStopAmount) {
                hooks_->StopTransport();
                return Verdict::Stop;
            }
            return Verdict::Drop;
        }
    }
    if (options_.CompLimit) {
        const int channel = event.Status & 0x0F;
        const int limit = engineState_.VelocityLimit[static_cast<std::size_t>(channel)];
        if (velocity >= limit) {
            velocity = limit;
        } else if (channel != DrumChannel) {
            velocity = limit - (limit - velocity) / 3;
        }
    }
    event.Data2 = Clamp7(velocity);
    return event.Data2 == 0 ? Verdict::Drop : Verdict::Send;
}

void StylePlayer::TrackDrum(const Event& event) noexcept {
    // Drums are never transposed; the maps still say which sound, so that a stop ends them.
    const int kind = event.Status & 0xF0;
    if (kind != NoteOn && kind != NoteOff) return;
    EngineState& e = engineState_;
    const auto c = static_cast<std::size_t>(DrumChannel);
    const bool on = kind == NoteOn && event.Data2 > 0;
    e.NoteMap[c][event.Data1] = event.Data1;
    e.VelocityMap[c][event.Data1] = on ? event.Data2 : 0;
}

StylePlayer::Verdict StylePlayer::Transpose(Event& event) noexcept {
    EngineState& e = engineState_;
    const core::Options& options = options_;
    const int kind = event.Status & 0xF0;
    const auto channel = static_cast<std::size_t>(event.Status & 0x0F);
    const std::uint8_t source = event.Data1;
    const TransposeSettings settings{e.OctaveShift, e.OctaveThreshold, true};
    // A foreign style played natively moves each channel by its own rules.
    const data::NativeChannelRules* native = NativeRulesOf(LoadedStyle(session_).Native,
                                                           session_.Style().player.CurrentSection, event.Status & 0x0F);
    const std::uint8_t moved = native ? NativeTranspose(source, *native, e.StyleRoot, e.StyleType, e.OctaveShift)
                                      : TransposeNote(source, e.StyleRoot, e.StyleType, settings);
    const bool minusOneVoice = options.MinusOne && static_cast<int>(channel) == e.VoiceChannel;
    if (kind == NoteOn && event.Data2 > 0) {
        e.NoteMap[channel][source] = moved;
        e.VelocityMap[channel][source] = event.Data2;
        e.ChannelSounding[channel] = 1;
        event.Data1 = moved;
        return minusOneVoice && e.PlayerSoloing != 0 ? Verdict::Drop : Verdict::Send;
    }
    if (kind == NoteOff || kind == NoteOn) {
        // The note that was started, even if the chord changed since. A note that is not
        // sounding (its map was cleared by a reset) ends on its present transposition.
        const bool sounding = e.VelocityMap[channel][source] != 0;
        event.Data1 = sounding ? e.NoteMap[channel][source] : moved;
        e.VelocityMap[channel][source] = 0;
        return minusOneVoice && e.HeldNotes[source] == event.Data1 ? Verdict::Drop : Verdict::Send;
    }
    event.Data1 = moved;
    return Verdict::Send;
}

}  // namespace chordella::engine
