#include "stylecreator/Conversion.h"

#include <algorithm>

#include "chords/ChordTypes.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/MaterialWalk.h"

namespace chordella::stylecreator {

namespace {

constexpr int DrumChannel = 9;
constexpr int NoKey = -1;
// Ticks before a beat from which notes already follow that beat's chord.
constexpr int EarlyTicks = 4;

// Pitch classes (C = 0) and what is added to them, by chord type 1 … 17.
struct Correction {
    int PitchClass;
    int Add;
};
struct TypeCorrections {
    std::array<Correction, 3> Items;
    int Count;
};
constexpr int CSharp = 1, D = 2, DSharp = 3, F = 5, FSharp = 6, GSharp = 8, A = 9, ASharp = 10, B = 11;
constexpr std::array<TypeCorrections, 17> Corrections = {{
    {{}, 0},                                                  // 1 maj
    {{{{DSharp, +1}}}, 1},                                    // 2 min
    {{{{ASharp, +2}}}, 1},                                    // 3 7th
    {{{{DSharp, +1}, {ASharp, +2}}}, 2},                      // 4 min7
    {{{{DSharp, +1}, {FSharp, +1}}}, 2},                      // 5 dim
    {{{{F, -1}}}, 1},                                         // 6 sus4
    {{{{D, -2}}}, 1},                                         // 7 add9
    {{{{FSharp, +1}}}, 1},                                    // 8 5b
    {{{{B, +1}}}, 1},                                         // 9 M7
    {{{{GSharp, -1}}}, 1},                                    // 10 aug
    {{{{A, +3}}}, 1},                                         // 11 6th
    {{{{DSharp, +1}, {B, +1}}}, 2},                           // 12 mM7
    {{{{DSharp, +1}, {A, +3}}}, 2},                           // 13 min6
    {{{{D, -2}, {DSharp, +1}}}, 2},                           // 14 min9
    {{{{DSharp, +1}, {FSharp, +1}, {ASharp, +2}}}, 3},        // 15 m5b7
    {{{{GSharp, -1}, {ASharp, +2}}}, 2},                      // 16 aug7
    {{{{F, -1}, {ASharp, +2}}}, 2},                           // 17 sus7
}};
static_assert(CSharp == 1);

// A key kept a playable note by whole octaves.
int IntoRange(int key) {
    while (key < 0) key += 12;
    while (key > 127) key -= 12;
    return key;
}

bool IsTriadTone(int pitchClass) { return pitchClass == 0 || pitchClass == 4 || pitchClass == 7; }

class Converter {
public:
    Converter(const data::ChordMemory& memory, const ConversionRequest& request)
        : memory_(memory), request_(request), mode_(request.Settings.Mode) {
        const data::BeatRecord first = memory.RecordAt(data::FirstPosition);
        if (first.ChordRoot > 0 && first.ChordType > 0) Take(first);
        for (auto& row : noteOnKeys_) row.fill(NoKey);
        reference_.fill(NoKey);
    }

    // The clock moved to `tick` (from the material's start).
    void TickPassed(std::int64_t tick) {
        const std::int64_t inBeat = tick % TicksPerBeat;
        if (inBeat == TicksPerBeat - EarlyTicks) {
            const int coming = data::FirstPosition + static_cast<int>((tick / TicksPerBeat + 1) * data::UnitsPerBeat);
            const data::BeatRecord record = memory_.RecordAt(coming);
            if (!frozen_ && record.ChordRoot > 0 && record.ChordType > 0) Take(record);
        }
        position_ = data::FirstPosition + static_cast<int>((tick / TicksPerBeat) * data::UnitsPerBeat);
    }

    void Message(std::uint8_t* message) {
        const int status = message[0] & 0xF0;
        const int channel = message[0] & 0x0F;
        if ((status != 0x80 && status != 0x90 && status != 0xA0) || channel == DrumChannel) return;
        const int key = message[1];
        const bool ends = status == 0x80 || (status == 0x90 && message[2] == 0);
        int& remembered = noteOnKeys_[static_cast<std::size_t>(channel)][static_cast<std::size_t>(key)];
        if (ends) {
            // The note-off follows its note-on wherever it lies.
            if (remembered != NoKey) {
                message[1] = static_cast<std::uint8_t>(remembered);
                remembered = NoKey;
                ++changed_;
            }
            return;
        }
        if (status == 0xA0 && remembered != NoKey) {
            message[1] = static_cast<std::uint8_t>(remembered);
            ++changed_;
            return;
        }
        if (position_ < request_.StartPosition || position_ >= request_.StopPosition) return;
        int converted = NoKey;
        if (mode_ == ConvertMode::AllNotesToC) {
            if (!request_.Filter.Passes(channel)) return;
            converted = KeyToC(key);
        } else {
            if (root_ <= 0 || type_ <= 0) return;
            if (mode_ == ConvertMode::NoneNC) frozen_ = true;
            const int type = request_.Settings.Stylemode ? 1 : type_;
            converted = ConvertKey(key, root_, type, mode_);
        }
        if (request_.Settings.Adjust && mode_ != ConvertMode::NoneNC && status == 0x90) converted = Adjust(channel, converted);
        converted = IntoRange(converted);
        if (status == 0x90) remembered = converted;
        message[1] = static_cast<std::uint8_t>(converted);
        ++changed_;
    }

    int Changed() const { return changed_; }

private:
    void Take(const data::BeatRecord& record) {
        root_ = record.ChordRoot;
        type_ = record.ChordType;
    }

    // Voices keep their octave: a note far from the channel's last C moves an octave toward it.
    int Adjust(int channel, int key) {
        int& reference = reference_[static_cast<std::size_t>(channel)];
        if (reference != NoKey) {
            if (key - reference > 12) key -= 12;
            else if (reference - key >= 12) key += 12;
        }
        key = IntoRange(key);
        if (chords::PitchClass(key) == 0) reference = key;
        return key;
    }

    const data::ChordMemory& memory_;
    const ConversionRequest& request_;
    const ConvertMode mode_;
    int root_ = 0;
    int type_ = 0;
    bool frozen_ = false;  // mode 0: the chord of the first converted note stays
    int position_ = data::FirstPosition;
    std::array<std::array<int, 128>, 16> noteOnKeys_{};
    std::array<int, 16> reference_{};
    int changed_ = 0;
};

}  // namespace

int TypeCorrection(int type, int pitchClass) {
    if (!chords::IsTableType(type)) return 0;
    const TypeCorrections& row = Corrections[static_cast<std::size_t>(type - 1)];
    for (int i = 0; i < row.Count; ++i)
        if (row.Items[static_cast<std::size_t>(i)].PitchClass == pitchClass) return row.Items[static_cast<std::size_t>(i)].Add;
    return 0;
}

int RootShift(int root) {
    const int p = chords::PitchClass(root);
    return p > 7 ? p - 12 : p;
}

int ConvertKey(int key, int root, int type, ConvertMode mode) {
    if (mode == ConvertMode::AllNotesToC) return KeyToC(key);
    int converted = key - RootShift(root);
    if (mode == ConvertMode::NoneNC || mode == ConvertMode::ChordKeys) return converted;
    if (mode == ConvertMode::ImproperNotes && IsTriadTone(chords::PitchClass(converted))) return converted;
    converted += TypeCorrection(type, chords::PitchClass(converted));
    const int pitchClass = chords::PitchClass(converted);
    switch (mode) {
        case ConvertMode::ChordNotes: return converted + ChordNoteSnap[static_cast<std::size_t>(pitchClass)];
        case ConvertMode::ImproperNotes:
        case ConvertMode::AllNotes: return converted + TriadSnap[static_cast<std::size_t>(pitchClass)];
        default: return converted;
    }
}

int KeyToC(int key) {
    const int c = key - chords::PitchClass(key);
    const int target = chords::PitchClass(key) < 6 ? c : c + 12;
    return target > 127 ? target - 12 : target;
}

bool ChannelFilter::Passes(int channel) const {
    if (channel < 0 || channel > 15 || Muted[static_cast<std::size_t>(channel)] != 0) return false;
    return Solo == 0 || Solo == channel + 1;
}

int ConvertMaterial(data::CreatorWork& work, const data::ChordMemory& memory, const ConversionRequest& request) {
    Converter converter(memory, request);
    std::int64_t tick = 0;
    WalkMaterial(
        work,
        [&](std::uint8_t* message, data::WorkPosition) {
            converter.Message(message);
            return true;
        },
        [&](int ticks) {
            for (int i = 0; i < ticks; ++i) converter.TickPassed(++tick);
            return true;
        });
    return converter.Changed();
}

}  // namespace chordella::stylecreator
