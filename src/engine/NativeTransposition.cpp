#include "engine/NativeTransposition.h"

#include "midi/PitchClass.h"

namespace chordella::engine {

namespace {

using data::NoteTable;

// Scales by the degrees' semitones above the root.
constexpr std::array<std::int8_t, 7> Ionian{0, 2, 4, 5, 7, 9, 11};
constexpr std::array<std::int8_t, 7> Lydian{0, 2, 4, 6, 7, 9, 11};
constexpr std::array<std::int8_t, 7> Mixolydian{0, 2, 4, 5, 7, 9, 10};
constexpr std::array<std::int8_t, 7> Dorian{0, 2, 3, 5, 7, 9, 10};
constexpr std::array<std::int8_t, 7> MelodicMinor{0, 2, 3, 5, 7, 9, 11};
constexpr std::array<std::int8_t, 7> HalfDiminished{0, 2, 3, 5, 6, 8, 10};   // locrian with a natural ninth
constexpr std::array<std::int8_t, 7> Diminished{0, 2, 3, 5, 6, 8, 9};
constexpr std::array<std::int8_t, 7> Sus4{0, 2, 5, 5, 7, 9, 11};             // the third degree is the fourth
constexpr std::array<std::int8_t, 7> Sus4Dominant{0, 2, 5, 5, 7, 9, 10};
constexpr std::array<std::int8_t, 7> Sus2{0, 2, 2, 5, 7, 9, 11};             // the third degree is the second

constexpr bool Major = false;
constexpr bool Minor = true;

}  // namespace

// clang-format off
const std::array<ChordShape, ChordKindCount> ChordShapes{{
    // scale                       root third fifth seventh   quality  fifth
    {Ionian,                       {0, 4, 7, 12},             Major,   0},   //  0 Maj
    {Ionian,                       {0, 4, 7, 9},              Major,   0},   //  1 Maj6
    {Ionian,                       {0, 4, 7, 11},             Major,   0},   //  2 Maj7
    {Lydian,                       {0, 4, 7, 11},             Major,   0},   //  3 Maj7(#11)
    {Ionian,                       {0, 4, 7, 12},             Major,   0},   //  4 Maj(9)
    {Ionian,                       {0, 4, 7, 11},             Major,   0},   //  5 Maj7(9)
    {Ionian,                       {0, 4, 7, 9},              Major,   0},   //  6 Maj6(9)
    {{0, 2, 4, 6, 8, 9, 11},       {0, 4, 8, 12},             Major,   1},   //  7 aug
    {Dorian,                       {0, 3, 7, 12},             Minor,   0},   //  8 m
    {Dorian,                       {0, 3, 7, 9},              Minor,   0},   //  9 m6
    {Dorian,                       {0, 3, 7, 10},             Minor,   0},   // 10 m7
    {HalfDiminished,               {0, 3, 6, 10},             Minor,  -1},   // 11 m7b5
    {Dorian,                       {0, 3, 7, 12},             Minor,   0},   // 12 m(9)
    {Dorian,                       {0, 3, 7, 10},             Minor,   0},   // 13 m7(9)
    {Dorian,                       {0, 3, 7, 10},             Minor,   0},   // 14 m7(11)
    {MelodicMinor,                 {0, 3, 7, 11},             Minor,   0},   // 15 mM7
    {MelodicMinor,                 {0, 3, 7, 11},             Minor,   0},   // 16 mM7(9)
    {Diminished,                   {0, 3, 6, 12},             Minor,  -1},   // 17 dim
    {Diminished,                   {0, 3, 6, 9},              Minor,  -1},   // 18 dim7
    {Mixolydian,                   {0, 4, 7, 10},             Major,   0},   // 19 7
    {Sus4Dominant,                 {0, 5, 7, 10},             Major,   0},   // 20 7sus4
    {{0, 2, 4, 5, 6, 9, 10},       {0, 4, 6, 10},             Major,  -1},   // 21 7b5
    {Mixolydian,                   {0, 4, 7, 10},             Major,   0},   // 22 7(9)
    {{0, 2, 4, 6, 7, 9, 10},       {0, 4, 7, 10},             Major,   0},   // 23 7(#11)
    {Mixolydian,                   {0, 4, 7, 10},             Major,   0},   // 24 7(13)
    {{0, 1, 4, 5, 7, 9, 10},       {0, 4, 7, 10},             Major,   0},   // 25 7(b9)
    {{0, 2, 4, 5, 7, 8, 10},       {0, 4, 7, 10},             Major,   0},   // 26 7(b13)
    {{0, 3, 4, 5, 7, 9, 10},       {0, 4, 7, 10},             Major,   0},   // 27 7(#9)
    {{0, 2, 4, 6, 8, 9, 11},       {0, 4, 8, 11},             Major,   1},   // 28 Maj7aug
    {{0, 2, 4, 5, 8, 9, 10},       {0, 4, 8, 10},             Major,   1},   // 29 7aug
    {Ionian,                       {0, 0, 12, 12},            Major,   0},   // 30 1+8: every chord tone is the root
    {Ionian,                       {0, 7, 7, 12},             Major,   0},   // 31 1+5: the third becomes the fifth
    {Sus4,                         {0, 5, 7, 12},             Major,   0},   // 32 sus4
    {Sus2,                         {0, 2, 7, 12},             Major,   0},   // 33 1+2+5
    {Ionian,                       {0, 4, 7, 12},             Major,   0},   // 34 cancel (no chord)
    {{0, 2, 4, 5, 6, 9, 11},       {0, 4, 6, 12},             Major,  -1},   // 35 major with a flat fifth
}};
// clang-format on

namespace {

// Our chord types 1 … 17 (maj, min, 7th, min7, dim, sus4, add9, 5b, M7, aug, 6th, mM7, min6,
// min9, m5b7, aug7, sus7) as chord kinds.
constexpr std::array<std::int8_t, 18> KindOfType{0, 0, 8, 19, 10, 17, 32, 4, MajorFlatFiveKind, 2, 7, 1, 15, 9, 12, 11, 29, 20};

const ChordShape& ShapeOf(int kind) { return ChordShapes[static_cast<std::size_t>(kind >= 0 && kind < ChordKindCount ? kind : 0)]; }

// The scale degree of `interval` and how far above that degree it lies (0 for a scale tone).
// A sus chord lists one interval for two degrees: the third degree wins, as the suspension
// stands for the third.
int DegreeOf(const ChordShape& shape, int interval, int& above) {
    int found = -1;
    for (int d = 0; d < 7; ++d)
        if (shape.Scale[static_cast<std::size_t>(d)] == interval && (found < 0 || d == 2)) found = d;
    if (found >= 0) {
        above = 0;
        return found;
    }
    int below = 0;
    for (int d = 0; d < 7; ++d)
        if (shape.Scale[static_cast<std::size_t>(d)] < interval) below = d;
    above = interval - shape.Scale[static_cast<std::size_t>(below)];
    return below;
}

int ToneFunction(const ChordShape& shape, int interval) {
    for (int k = 0; k < 4; ++k)
        if (shape.Tones[static_cast<std::size_t>(k)] % 12 == interval) return k;
    return -1;
}

int AlongScale(const ChordShape& source, const ChordShape& target, int interval) {
    int above = 0;
    const int degree = DegreeOf(source, interval, above);
    return target.Scale[static_cast<std::size_t>(degree)] + above;
}

// The minor family keeps every interval but the ones the quality change alters: the third
// always, the sixth (harmonic, natural), the seventh (natural, dorian); their "5th" tables
// also move the fifth of an augmented or diminished chord.
int MinorFamily(NoteTable table, const ChordShape& source, const ChordShape& target, int interval) {
    const bool sixth = table == NoteTable::HarmonicMinor || table == NoteTable::HarmonicMinor5th ||
                       table == NoteTable::NaturalMinor || table == NoteTable::NaturalMinor5th;
    const bool seventh = table == NoteTable::NaturalMinor || table == NoteTable::NaturalMinor5th ||
                         table == NoteTable::Dorian || table == NoteTable::Dorian5th;
    const bool fifth = table == NoteTable::MelodicMinor5th || table == NoteTable::HarmonicMinor5th ||
                       table == NoteTable::NaturalMinor5th || table == NoteTable::Dorian5th;
    int result = interval;
    const auto altered = [&](int majorInterval) {
        return majorInterval == 4 || (sixth && majorInterval == 9) || (seventh && majorInterval == 11);
    };
    if (!source.Minor && target.Minor && altered(interval)) result = interval - 1;
    if (source.Minor && !target.Minor && altered(interval + 1)) result = interval + 1;
    if (fifth && interval == 7) result += target.FifthShift;
    return result;
}

}  // namespace

int KindOfChordType(int type) noexcept { return type >= 1 && type <= 17 ? KindOfType[static_cast<std::size_t>(type)] : 0; }

int MapInterval(NoteTable table, int interval, int sourceKind, int targetKind) noexcept {
    interval = midi::PitchClass(interval);
    const ChordShape& source = ShapeOf(sourceKind);
    const ChordShape& target = ShapeOf(targetKind);
    switch (table) {
        case NoteTable::Bypass: return interval;
        case NoteTable::Melody:
        case NoteTable::Bass: return AlongScale(source, target, interval);
        case NoteTable::Chord: {
            const int function = ToneFunction(source, interval);
            return function >= 0 ? target.Tones[static_cast<std::size_t>(function)] : AlongScale(source, target, interval);
        }
        default: return MinorFamily(table, source, target, interval);
    }
}

int InsideLimits(int note, int low, int high) noexcept {
    while (note < low && note + 12 <= 127) note += 12;
    while (note > high && note - 12 >= 0) note -= 12;
    while (note > 127) note -= 12;
    while (note < 0) note += 12;
    return note;
}

std::uint8_t NativeTranspose(int note, const data::NativeChannelRules& rules, int root, int type, int octaveShift) noexcept {
    note = note < 0 ? 0 : note > 127 ? 127 : note;
    const data::NoteRangeRules& range = rules.RangeFor(note);
    const int sourceRoot = rules.SourceRoot;
    const int interval = midi::PitchClass(note - sourceRoot);
    // A guitar part has no table of ours yet: it moves between chord tones, kept in place.
    const bool guitar = range.Rule == data::NoteRule::Guitar;
    const NoteTable table = guitar ? NoteTable::Chord : range.Table;
    const int mapped = MapInterval(table, interval, rules.SourceKind, KindOfChordType(type));
    int result = note;
    if (range.Rule == data::NoteRule::RootTransposition) {
        int shift = midi::PitchClass(root - sourceRoot);
        if (shift > midi::PitchClass(range.HighKey - sourceRoot)) shift -= 12;
        result = note + shift + (mapped - interval);
    } else if (table != NoteTable::Bypass) {
        // Root fixed: the note stays in its own octave above the source root and only its
        // pitch class changes (C3 E3 G3 over F become C3 F3 A3).
        result = note - interval + midi::PitchClass(root + mapped - sourceRoot);
    }
    return static_cast<std::uint8_t>(InsideLimits(result + octaveShift, range.NoteLow, range.NoteHigh));
}

const data::NativeChannelRules* NativeRulesOf(const data::NativeRules& native, int part, int channel) noexcept {
    if (!native.Present || part < 0 || part >= data::PartCount || channel < 0 || channel >= data::StyleChannels)
        return nullptr;
    const data::NativeChannelRules& rules = native.Parts[static_cast<std::size_t>(part)][static_cast<std::size_t>(channel)];
    return rules.Active ? &rules : nullptr;
}

std::uint8_t RootNear(int sounding, int root, const data::NoteRangeRules& range) noexcept {
    const int down = midi::PitchClass(sounding - root);
    const int nearest = down <= 6 ? sounding - down : sounding + 12 - down;
    return static_cast<std::uint8_t>(InsideLimits(nearest, range.NoteLow, range.NoteHigh));
}

}  // namespace chordella::engine
