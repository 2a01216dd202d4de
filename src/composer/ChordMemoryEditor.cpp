#include "composer/ChordMemoryEditor.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace chordella::composer {

namespace {

using data::BeatRecordSize;
using data::ChordMemoryHeaderSize;
using data::ChordMemoryPositionLimit;

EditOutcome Refused(const char* message) { return {false, message}; }
EditOutcome Changed() { return {true, {}}; }

bool ValidUnits(int measureUnits) {
    return measureUnits >= BeatRecordSize && measureUnits % BeatRecordSize == 0 && measureUnits <= 64;
}

int MeasurePosition(const EditPlace& place) {
    return data::PositionOf(place.Measure, 1, place.MeasureUnits);
}

int BeatPosition(const EditPlace& place) {
    return data::PositionOf(place.Measure, place.Beat, place.MeasureUnits);
}

bool PlaceInside(const EditPlace& place) {
    return ValidUnits(place.MeasureUnits) && place.Measure >= 1 && place.Beat >= 1 &&
           place.Beat <= place.MeasureUnits / BeatRecordSize;
}

// Moves `count` bytes from `from` to `to` inside the memory (ranges may overlap).
void Move(data::ChordMemory& memory, int from, int to, int count) {
    if (count <= 0) return;
    std::memmove(memory.Bytes.data() + to, memory.Bytes.data() + from, static_cast<std::size_t>(count));
}

void Zero(data::ChordMemory& memory, int from, int to) {
    if (to <= from) return;
    std::fill(memory.Bytes.begin() + from, memory.Bytes.begin() + to, std::uint8_t{0});
}

}  // namespace

int StopPosition(const data::ChordMemory& memory) {
    for (int position = ChordMemoryHeaderSize; position < memory.ChordMemoryLength; position += BeatRecordSize)
        if (memory.RecordAt(position).CommandCode == data::CommandStop) return position;
    return 0;
}

void ChordMemoryEditor::TakeSnapshot(int row) {
    undoMemory_ = memory_.Bytes;
    undoLength_ = memory_.ChordMemoryLength;
    undoRow_ = row;
    hasSnapshot_ = true;
}

EditOutcome ChordMemoryEditor::InsertMeasure(const EditPlace& place) {
    if (place.StylePlaying) return Refused(StopStyleFirst);
    const int length = memory_.ChordMemoryLength;
    const int units = place.MeasureUnits;
    const int p = MeasurePosition(place);
    if (length < 5 || !PlaceInside(place) || p > length || length + units >= ChordMemoryPositionLimit)
        return Refused(CantInsertMeasure);
    TakeSnapshot(place.Measure);
    Move(memory_, p, p + units, length - p);
    // The new measure is empty: copying the following measure's later beats into it would
    // repeat their loop marks and commands.
    Zero(memory_, p, p + units);
    memory_.ChordMemoryLength = static_cast<std::int16_t>(length + units);
    Done();
    return Changed();
}

EditOutcome ChordMemoryEditor::CreateMeasures(int measures, int measureUnits) {
    if (memory_.ChordMemoryLength != ChordMemoryHeaderSize || !ValidUnits(measureUnits) || measures < 0)
        return Refused(WrongMeasureValue);
    if (twelveBarMode_) measures = std::max(12, measures / 12 * 12);
    if (measureUnits * measures + 8 >= ChordMemoryPositionLimit) return Refused(WrongMeasureValue);
    if (measures == 0) return {};
    const int stop = measureUnits * measures + ChordMemoryHeaderSize;
    memory_.SetRecord(ChordMemoryHeaderSize, {});
    memory_.SetRecord(stop, {0, 0, data::CommandStop, 0});
    memory_.Bytes[data::SongMeterOffset] = static_cast<std::uint8_t>(measureUnits);
    memory_.ChordMemoryLength = static_cast<std::int16_t>(stop + measureUnits);
    Done();
    return Changed();
}

EditOutcome ChordMemoryEditor::CreateMeasures(const std::string& entry, int measureUnits) {
    int measures = 0;
    const char* first = entry.data();
    const char* last = entry.data() + entry.size();
    while (first < last && *first == ' ') ++first;
    while (last > first && last[-1] == ' ') --last;
    const auto [end, error] = std::from_chars(first, last, measures);
    if (first == last || error != std::errc() || end != last) return Refused(WrongMeasureValue);
    return CreateMeasures(measures, measureUnits);
}

EditOutcome ChordMemoryEditor::CreateMeasuresFrom(std::span<const data::BeatRecord> beats, int measureUnits) {
    if (!ValidUnits(measureUnits) || beats.empty()) return Refused(WrongMeasureValue);
    const int beatsPerMeasure = measureUnits / BeatRecordSize;
    const int measures = static_cast<int>((beats.size() + static_cast<std::size_t>(beatsPerMeasure) - 1) /
                                          static_cast<std::size_t>(beatsPerMeasure));
    const bool twelveBars = twelveBarMode_;
    twelveBarMode_ = false;  // the chords say how long the song is
    EditOutcome outcome = CreateMeasures(measures, measureUnits);
    twelveBarMode_ = twelveBars;
    if (!outcome) return outcome;
    int position = ChordMemoryHeaderSize;
    for (const data::BeatRecord& record : beats) {
        data::BeatRecord stored = record;
        if (stored.CommandCode == data::CommandStop) stored.CommandCode = stored.CommandParam = 0;
        memory_.SetRecord(position, stored);
        position += BeatRecordSize;
    }
    return outcome;
}

EditOutcome ChordMemoryEditor::DeleteMeasure(const EditPlace& place) {
    if (place.StylePlaying) return Refused(StopStyleFirst);
    const int length = memory_.ChordMemoryLength;
    const int units = place.MeasureUnits;
    const int p = MeasurePosition(place);
    const int stop = StopPosition(memory_);
    // The measure that ends the song stays: without its STOP playback would run on to the
    // end of the memory.
    const bool holdsStop = stop >= p && stop < p + units;
    if (length < 5 || !PlaceInside(place) || p >= length || length - units <= ChordMemoryHeaderSize || holdsStop)
        return Refused(CantClearMeasure);
    TakeSnapshot(place.Measure);
    Move(memory_, p + units, p, length - p - units);
    const int newLength = std::max(ChordMemoryHeaderSize, length - units);
    memory_.ChordMemoryLength = static_cast<std::int16_t>(newLength);
    Zero(memory_, newLength, ChordMemoryPositionLimit);
    Done();
    return Changed();
}

EditOutcome ChordMemoryEditor::InsertBeat(const EditPlace& place) {
    if (place.StylePlaying) return Refused(StopStyleFirst);
    const int length = memory_.ChordMemoryLength;
    const int p = BeatPosition(place);
    if (length <= ChordMemoryHeaderSize || !PlaceInside(place) || p > length ||
        length + BeatRecordSize >= ChordMemoryPositionLimit)
        return Refused(CantInsertBeat);
    Move(memory_, p, p + BeatRecordSize, length - p);
    Zero(memory_, p, p + BeatRecordSize);
    // The song grows by the one beat inserted.
    memory_.ChordMemoryLength = static_cast<std::int16_t>(length + BeatRecordSize);
    Done();
    return Changed();
}

EditOutcome ChordMemoryEditor::DeleteBeat(const EditPlace& place) {
    if (place.StylePlaying) return Refused(StopStyleFirst);
    const int length = memory_.ChordMemoryLength;
    const int p = BeatPosition(place);
    if (length < 5 || !PlaceInside(place) || p >= length || length - place.MeasureUnits < 1 ||
        p == StopPosition(memory_))
        return Refused(CantClearBeat);
    Move(memory_, p + BeatRecordSize, p, length - p - BeatRecordSize);
    memory_.ChordMemoryLength = static_cast<std::int16_t>(length - BeatRecordSize);
    Zero(memory_, length - BeatRecordSize, ChordMemoryPositionLimit);
    Done();
    return Changed();
}

EditOutcome ChordMemoryEditor::CopyMeasures(int first, int last, int destination, const EditPlace& place) {
    if (place.StylePlaying) return Refused(StopStyleFirst);
    if (memory_.IsEmpty()) return Refused(ChordMemoryIsEmpty);
    const int units = place.MeasureUnits;
    const int length = memory_.ChordMemoryLength;
    if (!ValidUnits(units) || first < 1 || destination < 1) return Refused(CantCopyMeasures);
    int pa = data::PositionOf(first, 1, units);
    const int pb = data::PositionOf(last, 1, units);
    const int pd = data::PositionOf(destination, 1, units);
    const int span = pb - pa;
    const int stop = StopPosition(memory_);
    // The copied measures must lie inside the song and before its STOP (a copied STOP
    // would end the song in the middle); the destination at most at the STOP measure.
    const bool sourceInside = pb + units <= length && (stop == 0 || pb + units <= stop);
    if (pa > pb || (pa <= pd && pd <= pb) || pd > length || !sourceInside ||
        length + span + units >= ChordMemoryPositionLimit)
        return Refused(CantCopyMeasures);
    TakeSnapshot(place.Measure);
    Move(memory_, pd, pd + span + units, length - pd);
    const int newLength = length + span + units;
    memory_.ChordMemoryLength = static_cast<std::int16_t>(newLength);
    if (pa > pd) pa += span + units;
    Move(memory_, pa, pd, span + units);
    Done();
    return Changed();
}

EditOutcome ChordMemoryEditor::Undo(int& selectedRow) {
    if (!hasSnapshot_) return Refused(NothingToUndo);
    memory_.Bytes = undoMemory_;
    memory_.ChordMemoryLength = undoLength_;
    selectedRow = undoRow_;
    hasSnapshot_ = false;
    Done();
    return Changed();
}

const char* ChordMemoryEditor::RecordRefusal(const EditPlace& place, const data::BeatRecord& record) const {
    const int p = BeatPosition(place);
    const int stop = StopPosition(memory_);
    if (!PlaceInside(place) || p >= memory_.ChordMemoryLength || (stop > 0 && p > stop))
        return "That beat lies past the song's end !";
    if (p == stop && record.CommandCode != data::CommandStop)
        return "The song ends on this beat: insert a measure before it first !";
    return nullptr;
}

EditOutcome ChordMemoryEditor::SetRecord(const EditPlace& place, const data::BeatRecord& record) {
    if (const char* why = RecordRefusal(place, record)) return Refused(why);
    memory_.SetRecord(BeatPosition(place), record);
    Done();
    return Changed();
}

bool ChordMemoryEditor::WriteRecord(const EditPlace& place, const data::BeatRecord& record) noexcept {
    if (RecordRefusal(place, record) != nullptr) return false;
    memory_.SetRecord(BeatPosition(place), record);
    Done();
    return true;
}

}  // namespace chordella::composer
