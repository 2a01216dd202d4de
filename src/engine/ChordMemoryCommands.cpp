// The commands of the song's beat records during playback: loop marks, key marks, the
// channel commands, transposition, the end of the song and the ending mark, and the
// control keys they hand on.

#include <algorithm>

#include "core/Session.h"
#include "data/ArrangementState.h"
#include "engine/ChordChange.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"
#include "engine/Outputs.h"
#include "engine/SongPlayState.h"
#include "engine/Transport.h"

namespace chordella::engine {

namespace {
constexpr int FirstPosition = data::ChordMemoryHeaderSize;
constexpr int EndingPart = 3;
constexpr int EmptyMemoryKeyValue = 12;
constexpr int MelodyOn = 220;
constexpr int MelodyOff = 221;
constexpr int FirstMute = 222;
constexpr int LastMute = 237;
constexpr int FirstUnmute = 239;
constexpr int LastUnmute = 254;
constexpr int NoChannel = 255;
constexpr int FirstNegativeTranspose = 245;
constexpr int EndingFreeMeasures = 8;

void ClearCommand(data::BeatRecord& record) {
    record.CommandCode = 0;
    record.CommandParam = 0;
}

// The keys below the lowest section key: Intro, PAD on, PAD off, Ext., Basic.
int BasicKey(const data::ControlKeys& k) { return std::min({k.FillIn, k.Ending, k.ToExtended, k.ToBasic}) - 5; }
}  // namespace

void ChordMemoryPlayer::LoopMark(data::BeatRecord& record) {
    if (record.CommandCode != data::CommandLoop) return;
    SongPlayState& s = songPlay_;
    const int param = record.CommandParam;
    ClearCommand(record);
    if (options_.IgnoreLoops) {
        s.LoopMarkPos = 0;
        return;
    }
    const int units = MeasureUnits();
    const int measureStart = Position() - (Position() - FirstPosition) % units;
    if (param <= data::LoopStartBase) {
        s.LoopEndPos = static_cast<std::int16_t>(measureStart + units);
        if (s.LoopMarkPos != 0) s.LoopMarkPos = s.LoopEndPos;
    } else if (s.LoopMarkPos == 0) {
        s.LoopRepeats = static_cast<std::int16_t>(param - data::LoopStartBase);
        s.LoopTarget = static_cast<std::int16_t>(measureStart);
        s.LoopMarkPos = s.LoopTarget;
        s.LoopEndPos = arrangement_.Chords.ChordMemoryLength;
        melody_.SaveLoop();
    }
}

void ChordMemoryPlayer::KeyMark(data::BeatRecord& record) {
    const core::Options& options = options_;
    const int param = record.CommandParam;
    if (!options.KeyAdjustment || options.MelodyAdLib) return;
    if (param != data::ParamKeyMajor && param != data::ParamKeyMinor) return;
    SongPlayState& s = songPlay_;
    int key = ((record.CommandCode + s.SongTranspose) % 12 + 12) % 12;
    if (param == data::ParamKeyMinor && !arrangement_.CreatorProgressionMode) key = (key + 3) % 12;
    s.AdjustmentKey = static_cast<std::int16_t>(key);
    ClearCommand(record);
}

bool ChordMemoryPlayer::Command(data::BeatRecord& record) {
    SongPlayState& s = songPlay_;
    const int code = record.CommandCode;
    const int param = record.CommandParam;
    if (code == data::CommandChannels) {
        ClearCommand(record);
        ChannelCommand(param);
        return true;
    }
    if (code == data::CommandTranspose) {
        ClearCommand(record);
        s.SongTranspose = static_cast<std::int16_t>(param < FirstNegativeTranspose ? param : param - 256);
        return true;
    }
    if (code == data::CommandStop) {
        ClearCommand(record);
        if (s.LoopOn == 0 || Position() < FirstPosition + MeasureUnits()) {
            const core::Options& options = options_;
            if (options.PadMuteAtIntrosAndEndings && engineState_.InstrumentPadOn != 0)
                ResetChannel(session_.AccompanimentOutput(), options.PadChannel & 0x0F);
            if (s.EndingCountdown == 0) {
                transport_.Stop();
                return false;
            }
            return true;
        }
        ContinueAtLoopFrom(record);
        return true;
    }
    if (code == config_.Keys.Ending && (param == data::ParamSectionKey || param == 0))
        return EndingMark(record);
    return true;
}

bool ChordMemoryPlayer::EndingMark(data::BeatRecord& record) {
    SongPlayState& s = songPlay_;
    const int units = MeasureUnits();
    const bool roomLeft = s.LoopOn == 0 || Position() <= ChordMemoryLength() - EndingFreeMeasures * units;
    const bool repeatingLoop = s.LoopMarkPos != 0 && s.LoopRepeats >= 2;
    if (!roomLeft || repeatingLoop) {
        ClearCommand(record);
        s.EndingCountdown = 1;
        return true;
    }
    if (s.SessionRepeats > 0 && --s.SessionRepeats > 0 && Position() >= FirstPosition + units) {
        ContinueAtLoopFrom(record);
        // The record at LoopFromPos plays its chord; an ending mark there would end the repeat.
        if (record.CommandCode == config_.Keys.Ending) ClearCommand(record);
        return true;
    }
    s.EndingCountdown = 1;
    return true;
}

void ChordMemoryPlayer::ChannelCommand(int value) {
    EngineState& e = engineState_;
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (value == 0) {
        e.SoloFilter = 0;
    } else if (value <= 16 || value == NoChannel) {
        e.SoloFilter = static_cast<std::int16_t>(value);
        ResetAllChannels(engineState_, out);
    } else if (value == MelodyOn || value == MelodyOff) {
        if (arrangement_.Melody.MelodyCount > 0) melody_.SetPlayback(value == MelodyOn);
    } else if (value >= FirstMute && value <= LastMute) {
        const int channel = LastMute - value;
        e.ChannelMute[static_cast<std::size_t>(channel)] = 1;
        ResetChannel(out, channel);
    } else if (value >= FirstUnmute && value <= LastUnmute) {
        e.ChannelMute[static_cast<std::size_t>(LastUnmute - value)] = 0;
    }
}

void ChordMemoryPlayer::SubmitCommandKey(int key, int value) {
    const int mode = transportState_.ChordPlayMode;
    if (options_.PlayChords && mode != 2) return;
    const StylePlayerState& player = session_.Style().player;
    if (player.StyleActive == 0 && player.StyleMode) {
        transport_.StartStyle();
        return;
    }
    const data::ControlKeys& keys = config_.Keys;
    if (value == data::ParamKeyMajor || value == data::ParamKeyMinor) {
        if (!ChordMemoryEmpty()) return;
        key = BasicKey(keys);
        value = EmptyMemoryKeyValue;
    }
    EngineState& e = engineState_;
    if (key == keys.Ending &&
        (e.PendingCommandKey == keys.Ending || session_.Style().sections.NextSection == EndingPart)) {
        transport_.Stop();
        return;
    }
    e.PendingCommandKey = static_cast<std::int16_t>(key);
    e.PendingCommandValue = static_cast<std::int16_t>(value);
}

}  // namespace chordella::engine
