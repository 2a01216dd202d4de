#include "data/ChordMemory.h"

#include <algorithm>

namespace chordella::data {

namespace {

constexpr int LastRecordPosition = ChordMemorySize - BeatRecordSize;

bool HoldsRecord(int position) { return position >= ChordMemoryHeaderSize && position <= LastRecordPosition; }

// A meter below one beat per measure would divide by zero; such values never come from
// the meter list, only from damaged songs.
int BeatsPerMeasure(int measureUnits) { return std::max(1, measureUnits / BeatRecordSize); }

}  // namespace

bool StartsChord(const BeatRecord& record) {
    return record.ChordRoot > 0 && record.ChordRoot < 128 && record.ChordType < 128;
}

int DisplayChordType(const BeatRecord& record) { return record.ChordType > 17 ? 1 : record.ChordType; }

BeatRecord ChordMemory::RecordAt(int position) const {
    if (!HoldsRecord(position)) return {};
    const auto at = static_cast<std::size_t>(position);
    return {Bytes[at], Bytes[at + 1], Bytes[at + 2], Bytes[at + 3]};
}

bool ChordMemory::SetRecord(int position, const BeatRecord& record) {
    if (!HoldsRecord(position)) return false;
    const auto at = static_cast<std::size_t>(position);
    Bytes[at] = record.ChordRoot;
    Bytes[at + 1] = record.ChordType;
    Bytes[at + 2] = record.CommandCode;
    Bytes[at + 3] = record.CommandParam;
    return true;
}

void ClearChordMemory(ChordMemory& memory) {
    memory.Bytes.fill(0);
    memory.Bytes[ChordMemoryHeaderSize + 2] = CommandStop;
    memory.ChordMemoryLength = ChordMemoryHeaderSize;
}

int PositionOf(int measure, int beat, int measureUnits) {
    return ChordMemoryHeaderSize + (measure - 1) * measureUnits + (beat - 1) * BeatRecordSize;
}

int MeasureOf(int position, int measureUnits) {
    const int units = BeatsPerMeasure(measureUnits) * BeatRecordSize;
    const int offset = position - ChordMemoryHeaderSize;
    // Lead-in positions before measure 1 count down to 0, −1, … like the measure display.
    const int measure = offset >= 0 ? offset / units : -((-offset + units - 1) / units);
    return measure + 1;
}

int MeasureCount(int chordMemoryLength, int measureUnits) {
    if (chordMemoryLength <= ChordMemoryHeaderSize) return 0;
    return ((chordMemoryLength - ChordMemoryHeaderSize) / BeatRecordSize) / BeatsPerMeasure(measureUnits);
}

int StartMeasureOf(const ChordMemory& memory) {
    const int start = memory.SongStartMeasure();
    return start >= 1 && start <= 8 ? start : 1;
}

}  // namespace chordella::data
