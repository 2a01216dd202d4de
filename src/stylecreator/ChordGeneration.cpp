#include "stylecreator/ChordGeneration.h"

#include <algorithm>

#include "chords/RecogniseChord.h"
#include "chords/ChordTypes.h"
#include "core/HeldNotes.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/MaterialWalk.h"

namespace chordella::stylecreator {

namespace {

class Generator {
public:
    Generator(data::ChordMemory& memory, const GenerationRequest& request)
        : memory_(memory),
          request_(request),
          intervalUnits_(data::UnitsPerBeat * std::clamp(request.Settings.IntervalBeats, MinChordInterval,
                                                         MaxChordInterval)),
          stop_(std::min(request.StopPosition, GenerationPositionLimit)),
          zone_(request.Zone) {}

    // A beat begins (before any event on its downbeat is read): the interval that ends here
    // is decided. False ends generation.
    bool BeatBegins() {
        if (beat_ > request_.StartPosition && (beat_ - request_.StartPosition) % intervalUnits_ == 0)
            Decide(beat_ - intervalUnits_);
        if (beat_ >= stop_) {
            result_.ReachedLimit = true;
            return false;
        }
        playing_ = beat_;
        beat_ += data::UnitsPerBeat;
        return true;
    }

    void NoteOn(int key) {
        if (playing_ < request_.StartPosition) return;
        result_.LastBeatPosition = playing_;
        // A full list keeps taking notes in its last entry.
        if (notes_.Count >= chords::HeldNoteList::Capacity) notes_.Count = chords::HeldNoteList::Capacity - 1;
        notes_.Notes[static_cast<std::size_t>(notes_.Count)] =
            static_cast<std::uint8_t>(chords::PitchClass(key + request_.Transpose));
        ++notes_.Count;
    }

    // The material ended: the interval it ended in is decided from what it collected.
    void MaterialEnds() {
        if (playing_ >= request_.StartPosition && playing_ < stop_ && notes_.Count >= 2) {
            const int into = (playing_ - request_.StartPosition) % intervalUnits_;
            Decide(playing_ - into);
        }
    }

    void CloseChordMemory() {
        if (result_.LastBeatPosition == 0) return;
        const int units = std::max(data::UnitsPerBeat, request_.MeasureUnits);
        const int measure = data::MeasureOf(result_.LastBeatPosition, units);
        int stop = data::PositionOf(measure + 1, 1, units);
        while (stop > GenerationPositionLimit) stop -= units;
        if (stop < data::FirstPosition) return;
        data::BeatRecord end = memory_.RecordAt(stop);
        end.CommandCode = data::CommandStop;
        end.CommandParam = 0;
        memory_.SetRecord(stop, end);
        memory_.ChordMemoryLength = static_cast<std::int16_t>(std::min(stop + units, data::ChordMemorySize));
    }

    const GenerationResult& Result() const { return result_; }

private:
    void Decide(int writePosition) {
        const core::ChordPair found =
            chords::RecogniseChord(notes_, zone_, request_.Settings.HighestChordType() - 1,
                                   chords::RecogniseMode::Analysis, request_.Settings.SensitivityDivisor());
        data::BeatRecord record;
        if (found.Root > 0 && found.Type > 0 && (found.Root != lastRoot_ || found.Type != lastType_)) {
            lastRoot_ = found.Root;
            lastType_ = found.Type;
            record.ChordRoot = static_cast<std::uint8_t>(lastRoot_);
            record.ChordType = static_cast<std::uint8_t>(lastType_);
            ++result_.ChordsWritten;
        }
        memory_.SetRecord(writePosition, record);
        for (int p = writePosition + data::UnitsPerBeat; p < writePosition + intervalUnits_; p += data::UnitsPerBeat)
            memory_.SetRecord(p, data::BeatRecord{});
    }

    data::ChordMemory& memory_;
    const GenerationRequest& request_;
    const int intervalUnits_;
    const int stop_;
    chords::ChordState zone_;
    chords::HeldNoteList notes_;
    int beat_ = data::FirstPosition;   // the position of the next beat to begin
    int playing_ = 0;                  // the position of the beat being read
    int lastRoot_ = 0;
    int lastType_ = 0;
    GenerationResult result_;
};

}  // namespace

bool HoldsChords(const data::ChordMemory& memory) {
    const int end = std::min<int>(memory.ChordMemoryLength, data::ChordMemorySize - data::BeatRecordSize);
    for (int position = data::FirstPosition; position < end; position += data::BeatRecordSize)
        if (data::StartsChord(memory.RecordAt(position))) return true;
    return false;
}

GenerationResult GenerateChordsFrom(data::CreatorWork& work, data::ChordMemory& memory,
                                    const GenerationRequest& request) {
    Generator generator(memory, request);
    if (!generator.BeatBegins()) return generator.Result();
    int tick = 0;
    bool going = true;
    WalkMaterial(
        work,
        [&](std::uint8_t* message, data::WorkPosition) {
            const int status = message[0] & 0xF0;
            if (status == 0x90 && message[2] > 0 && (message[0] & 0x0F) != DrumChannel) generator.NoteOn(message[1]);
            return true;
        },
        [&](int ticks) {
            for (int i = 0; i < ticks && going; ++i)
                if (++tick == TicksPerBeat) {
                    tick = 0;
                    going = generator.BeatBegins();
                }
            return going;
        });
    if (going) generator.MaterialEnds();
    generator.CloseChordMemory();
    return generator.Result();
}

}  // namespace chordella::stylecreator
