// Chord recording into the chord memory: one chord per chord-grid unit, written on the
// unit's first beat; a chord that comes within the grace window at the start of a unit
// still belongs to that unit. Step recording writes one chord per tap with the clock off.
// "Play && Over&write" hands the player's chords during playback to the same writing.

#include <algorithm>

#include "core/Session.h"
#include "data/ArrangementState.h"
#include "data/MelodyEvent.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"
#include "engine/Metronome.h"
#include "engine/Outputs.h"
#include "engine/SongPlayState.h"
#include "engine/Transport.h"

namespace chordella::engine {

namespace {
constexpr int FirstPosition = data::ChordMemoryHeaderSize;
constexpr int RecordStep = data::BeatRecordSize;
constexpr int StepRecordMode = 2;
constexpr int StepClickVelocity = 127;

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// The pending chord and control key as a record (zero halves where nothing is pending).
data::BeatRecord PendingRecord(const EngineState& e) {
    data::BeatRecord record;
    if (e.PendingRoot > 0 && e.PendingRoot <= 127) {
        record.ChordRoot = Byte(e.PendingRoot);
        record.ChordType = Byte(e.PendingType);
    }
    if (e.PendingCommandKey > 0) {
        record.CommandCode = Byte(e.PendingCommandKey);
        record.CommandParam = Byte(e.PendingCommandValue);
    }
    return record;
}
}  // namespace

void ChordMemoryPlayer::StartRecordingAtStart() {
    SongPlayState& s = songPlay_;
    MeasureUnitsSetFromFile();
    Position() = s.PlayStartPos;
    s.RecordFrom = FirstPosition;
    s.Resuming = 0;
    s.LoopMarkPos = 0;
    s.EndingCountdown = 0;
    s.StepLastRoot = s.StepLastType = 0;
    melody_.ResetPositions();
    ClockState& clock = clockState_;
    clock.TickInBeat = clock.TicksPerBeat;
    clock.GridBeat = clock.GridBeats;
}

void ChordMemoryPlayer::StartRecordingAtSongStart() {
    Position() = FirstPosition;
    songPlay_.RecordFrom = FirstPosition;
}

void ChordMemoryPlayer::ClearSong() {
    data::ClearChordMemory(arrangement_.Chords);
    data::ClearMelody(arrangement_.Melody);
}

void ChordMemoryPlayer::WriteRecord(int position, const data::BeatRecord& record, bool onlyNonZero) {
    data::ChordMemory& memory = arrangement_.Chords;
    if (!onlyNonZero) {
        memory.SetRecord(position, record);
        return;
    }
    data::BeatRecord merged = memory.RecordAt(position);
    if (record.ChordRoot != 0) {
        merged.ChordRoot = record.ChordRoot;
        merged.ChordType = record.ChordType;
    }
    if (record.CommandCode != 0) {
        merged.CommandCode = record.CommandCode;
        merged.CommandParam = record.CommandParam;
    }
    memory.SetRecord(position, merged);
}

void ChordMemoryPlayer::RecordingTick() {
    const ClockState& clock = clockState_;
    const EngineState& e = engineState_;
    if (e.SongStarting == 0 && Position() > 3) melody_.Advance();
    if (e.SongStarting == 0 && clock.GridBeat == 1 && clock.TickInBeat < clock.RecordGraceTicks) {
        const data::BeatRecord late = PendingRecord(engineState_);
        if (!late.Empty()) {
            if (Position() - RecordStep >= songPlay_.RecordFrom)
                WriteRecord(Position() - RecordStep, late, true);
            if (!(options_.PlayChords && late.ChordRoot == 0)) {
                engine_.Transport().ApplyCommandKey();
                engine_.ApplyChord();
            }
        }
    }
    if (clock.TickInBeat > clock.TicksPerBeat) RecordingBeatEnd();
}

void ChordMemoryPlayer::RecordingBeatEnd() {
    ClockState& clock = clockState_;
    EngineState& e = engineState_;
    SongPlayState& s = songPlay_;
    clock.TickInBeat = 1;
    if (e.SongStarting != 0) {
        const data::BeatRecord first = PendingRecord(engineState_);
        if (first.ChordRoot == 0) {
            FinishBeat(LiveClickLevel);
            return;
        }
        e.SongStarting = 0;
        melody_.ResetPositions();
        if (Position() < FirstPosition) {
            WriteRecord(FirstPosition, first, false);
            s.RecordFrom = FirstPosition + RecordStep;
        }
        // The song begins with its first chord: that beat starts a grid unit.
        clock.GridBeat = clock.GridBeats;
        const StylePlayerState& player = session_.Style().player;
        if (player.StyleActive == 0 && player.StyleMode && !options_.PlayChords)
            transport_.StartStyle();
    }
    const bool unitEnds = clock.GridBeat >= clock.GridBeats;
    const data::BeatRecord record = unitEnds ? PendingRecord(engineState_) : data::BeatRecord{};
    if (Position() == FirstPosition - MeasureUnits()) Position() = FirstPosition;
    if (Position() >= s.RecordFrom) WriteRecord(Position(), record, false);
    Position() = static_cast<std::int16_t>(Position() + RecordStep);
    if (Position() >= data::ChordMemoryPositionLimit) {
        transport_.Stop();
        return;
    }
    FinishBeat(LiveClickLevel);
}

void ChordMemoryPlayer::OverwriteBeat(const data::BeatRecord& stored) {
    data::BeatRecord record = PendingRecord(engineState_);
    if (record.ChordRoot == 0) {
        record.ChordRoot = stored.ChordRoot;
        record.ChordType = stored.ChordType;
    }
    if (record.CommandCode == 0) {
        record.CommandCode = stored.CommandCode;
        record.CommandParam = stored.CommandParam;
    }
    if (Position() >= FirstPosition) WriteRecord(Position(), record, false);
    // A stored chord the player did not replace still sounds.
    if (PendingRecord(engineState_).ChordRoot == 0 && data::StartsChord(record))
        chords_.SetChord(record.ChordRoot, record.ChordType, songPlay_.SongTranspose);
}

bool ChordMemoryPlayer::StepRecordTakesChord() {
    if (transportState_.ChordPlayMode != StepRecordMode) return false;
    SongPlayState& s = songPlay_;
    const data::BeatRecord pending = PendingRecord(engineState_);
    data::BeatRecord record;
    if (pending.ChordRoot != 0 && (pending.ChordRoot != s.StepLastRoot || pending.ChordType != s.StepLastType)) {
        record.ChordRoot = pending.ChordRoot;
        record.ChordType = pending.ChordType;
        s.StepLastRoot = pending.ChordRoot;
        s.StepLastType = pending.ChordType;
    }
    record.CommandCode = pending.CommandCode;
    record.CommandParam = pending.CommandParam;
    if (Position() >= FirstPosition) WriteRecord(Position(), record, false);
    if (pending.ChordRoot == 0) {
        // A command alone does not advance; a click confirms it.
        const core::Options& options = options_;
        Send(session_.AccompanimentOutput(), 0x99, options.MetronomeNote, StepClickVelocity);
        engineState_.PendingCommandKey = 0;
        engineState_.PendingCommandValue = 0;
        return true;
    }
    const int taps = std::clamp(options_.TapsPerMeasure, 1, 6);
    Position() = static_cast<std::int16_t>(Position() + std::max(RecordStep, MeasureUnits() / taps / RecordStep * RecordStep));
    if (Position() >= data::ChordMemoryPositionLimit) {
        transport_.Stop();
        return true;
    }
    return false;  // the chord is applied at once
}

void ChordMemoryPlayer::RecordingStopped() {
    data::ChordMemory& memory = arrangement_.Chords;
    const int units = MeasureUnits();
    const int position = Position();
    if (position <= memory.ChordMemoryLength || position < FirstPosition + RecordStep) return;
    const int stop = position - (position - FirstPosition) % units;
    data::BeatRecord end = memory.RecordAt(stop);
    end.CommandCode = data::CommandStop;
    end.CommandParam = 0;
    memory.SetRecord(stop, end);
    memory.ChordMemoryLength = static_cast<std::int16_t>(std::min(stop + units, data::ChordMemorySize));
    if (!data::StartsChord(memory.RecordAt(FirstPosition))) {
        for (int p = FirstPosition + RecordStep; p < stop; p += RecordStep) {
            const data::BeatRecord found = memory.RecordAt(p);
            if (!data::StartsChord(found)) continue;
            data::BeatRecord first = memory.RecordAt(FirstPosition);
            first.ChordRoot = found.ChordRoot;
            first.ChordType = found.ChordType;
            memory.SetRecord(FirstPosition, first);
            break;
        }
    }
}

}  // namespace chordella::engine
