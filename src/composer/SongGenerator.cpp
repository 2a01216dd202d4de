#include "composer/SongGenerator.h"

#include <algorithm>

#include "composer/ProgressionList.h"
#include "composer/ProgressionTable.h"
#include "composer/SongKeys.h"
#include "platform/Random.h"

namespace chordella::composer {

namespace {

// Key schemes: how the key sections' tonics move.
enum class Scheme { Relative = 1, Parallel = 2, SixRelative = 3, SixParallel = 4 };

struct Settings {
    Scheme KeyScheme = Scheme::Relative;
    bool Alternate = true;  // sections alternate between major and minor
    bool OneKeyMark = false;
    int GroupSize = ChordGroupSize;
    bool Sevenths = true;
    bool Sus = true;
    bool BaseChord = true;
    bool BaseChordOnlyFirst = true;
    bool RandomKey = true;
    bool CompletelyRandom = false;
};

Settings SettingsFor(const SongCreatorOptions& options, GenerationMode mode, platform::Random& random) {
    Settings s;
    s.BaseChordOnlyFirst = options.BaseChordOnlyFirstKey;
    if (mode == GenerationMode::CompletelyRandom) {
        s.CompletelyRandom = true;
        const int scheme = random.Below(6);
        s.KeyScheme = scheme < 3 ? Scheme::Relative : static_cast<Scheme>(scheme - 1);
        s.GroupSize = random.Below(20) > 11 ? 20 : 13;
        s.Sevenths = random.Below(21) < 10;
        s.Sus = random.Below(21) < 12;
        s.BaseChord = random.Below(21) < 12;
        s.RandomKey = true;
        return s;
    }
    s.GroupSize = options.OnlyMajorMinorChords && options.OnlyPrincipalChords ? 9
                  : options.OnlyMajorMinorChords || options.SimpleSongs      ? 13
                                                                             : ChordGroupSize;
    s.Sevenths = options.SeventhChords;
    s.Sus = options.SusChords;
    if (options.OnlyMajorMinorChords && options.OnlyPrincipalChords) s.Sevenths = s.Sus = false;
    s.BaseChord = options.StartWithBaseChord;
    s.RandomKey = options.RandomKey;
    switch (options.Keys) {
        case KeyChoice::OneMajorKey:
        case KeyChoice::OneMinorKey: s.Alternate = false; s.OneKeyMark = true; break;
        case KeyChoice::MajorAndRelativeMinor: break;
        case KeyChoice::MajorAndParallelMinor: s.KeyScheme = Scheme::Parallel; break;
        case KeyChoice::SixKeysRelativeMinor: s.KeyScheme = Scheme::SixRelative; break;
        case KeyChoice::SixKeysParallelMinor: s.KeyScheme = Scheme::SixParallel; break;
    }
    return s;
}

// The section's offset from the song key, by scheme; schemes of six keys draw it.
int SectionOffset(Scheme scheme, bool minor, platform::Random& random) {
    if (scheme == Scheme::Relative) return 0;
    if (scheme == Scheme::Parallel) return minor ? 3 : 0;
    const int draw = random.Below(40);
    if (scheme == Scheme::SixParallel && minor) return draw < 20 ? 3 : draw < 30 ? 7 : 5;
    return draw < 20 ? 0 : draw < 30 ? -5 : -7;
}

int Wrap12(int value) { return ((value % 12) + 12) % 12; }

bool NeedsResolution(int type) { return type == Sus4 || type == Add9 || type == Sus7; }

// Without sus chords or without sevenths, the types that remain.
int Simplify(int type, bool minorSection, const Settings& s) {
    if (!s.Sus) {
        if (type == Sus4) type = Maj;
        else if (type == Sus7) type = minorSection ? Maj : Seventh;
    }
    if (!s.Sevenths) {
        switch (type) {
            case Seventh: type = Maj; break;
            case Min7: type = Min; break;
            case MinSevenFlatFive: type = Dim; break;
            case Aug7: type = Aug; break;
            case Sus7: type = Sus4; break;
            default: break;
        }
    }
    return type;
}

class Builder {
public:
    Builder(const SongCreatorOptions& options, GenerationMode mode, ProgressionChoice* choice,
            const GeneratorInputs& inputs, platform::Random& random)
        : options_(options), choice_(choice), inputs_(inputs), random_(random) {
        units_ = inputs.MeasureUnits >= 8 && inputs.MeasureUnits <= 48 && inputs.MeasureUnits % 4 == 0 ? inputs.MeasureUnits : 16;
        progressions_ = mode == GenerationMode::Progressions && choice_ != nullptr;
        settings_ = SettingsFor(options, mode, random);
        song_.MeasureUnits = units_;
        song_.Tempo = std::clamp(inputs.Tempo, 25, 250);
        song_.ProgressionMode = progressions_;
    }

    GeneratedSong Build();

private:
    int BeatsPerMeasure() const { return units_ / 4; }
    data::BeatRecord& Record(int position) { return records_[static_cast<std::size_t>((position - 4) / 4)]; }
    void SetCommand(int position, int code, int param) {
        if (position < 4 || position >= end_ + 2 * units_) return;
        Record(position).CommandCode = static_cast<std::uint8_t>(code);
        Record(position).CommandParam = static_cast<std::uint8_t>(param);
    }
    void SetChord(int position, int root, int type) {
        Record(position).ChordRoot = static_cast<std::uint8_t>(root);
        Record(position).ChordType = static_cast<std::uint8_t>(type);
    }

    bool DrawTwoMeasures();
    void ChooseRate();
    void PrepareFirstMeasure();
    void StartSection(int measure);
    void NextProgression();
    void RecordProgression();
    bool HalfMeasures() const { return options_.Rate == ChordRate::EveryHalfMeasure && !blues_; }
    void WriteChord(int position);
    void WritePhraseEnd(int measure, int phrase);
    void WriteEnding();

    const SongCreatorOptions& options_;
    ProgressionChoice* choice_;
    const GeneratorInputs& inputs_;
    platform::Random& random_;
    Settings settings_;
    GeneratedSong song_;
    std::vector<data::BeatRecord> records_;
    int units_ = 16;
    int end_ = 4;
    bool progressions_ = false;
    bool blues_ = false, blues12_ = false;
    bool twoMeasures_ = false;
    int key_ = 0;
    bool minor_ = false;
    int sectionOffset_ = 0;
    int sectionCount_ = 0;
    bool pendingBaseChord_ = false;
    int previousPitch_ = -1;
    int row_ = -1, slot_ = 0, chordsInPhrase_ = 0;
};

bool Builder::DrawTwoMeasures() {
    switch (options_.Rate) {
        case ChordRate::EveryTwoMeasures: return true;
        case ChordRate::EveryMeasure: return false;
        default: break;
    }
    if (song_.Tempo > 150) return true;
    if (song_.Tempo < 80) return false;
    return settings_.CompletelyRandom ? random_.Below(20) < 13 : random_.Below(30) < 20;
}

// Measures per chord: two with the two-measure flag, half with "every half measure";
// blues rows change every measure below tempo 170.
void Builder::ChooseRate() {
    twoMeasures_ = DrawTwoMeasures();
    if (blues_ && song_.Tempo < 170) twoMeasures_ = false;
}

void Builder::PrepareFirstMeasure() {
    SetCommand(4, inputs_.Keys.Basic, data::ParamSectionKey);
    int repeats = song_.Tempo > 175 ? 3 : song_.Tempo < 75 ? 1 : 2;
    if (units_ == 8) repeats *= 2;
    if (options_.LoopsInSong && repeats == 2) song_.CreatorRepeatFlag = random_.Below(21) > 17;
    if (blues_) song_.CreatorRepeatFlag = false;
    if (blues12_) ++repeats;
    SetCommand(8, data::CommandLoop, data::LoopStartBase + repeats);
    if (settings_.CompletelyRandom || (options_.Keys != KeyChoice::OneMajorKey && options_.Keys != KeyChoice::OneMinorKey)) {
        minor_ = random_.Below(10) >= 5;
    } else {
        minor_ = options_.Keys == KeyChoice::OneMinorKey;
    }
    song_.FirstSectionMinor = minor_;
}

// A new key section from this measure on: its offset, its key mark on the first beat of its
// first measure that carries no command, and its tonic as the next chord when asked for.
void Builder::StartSection(int measure) {
    sectionOffset_ = SectionOffset(settings_.KeyScheme, minor_, random_);
    const int tonic = Wrap12(key_ + sectionOffset_ + (minor_ ? 9 : 0));
    if (sectionCount_ == 0 || !settings_.OneKeyMark) {
        const int first = 4 + measure * units_;
        for (int beat = 0; beat < BeatsPerMeasure(); ++beat) {
            if (Record(first + 4 * beat).CommandCode != 0) continue;
            SetCommand(first + 4 * beat, tonic + 12, minor_ ? data::ParamKeyMinor : data::ParamKeyMajor);
            break;
        }
    }
    pendingBaseChord_ = settings_.BaseChord && (sectionCount_ == 0 || !settings_.BaseChordOnlyFirst);
    ++sectionCount_;
}

void Builder::NextProgression() {
    if (row_ < 0 || !(blues_ || options_.OneProgressionPerSong || choice_->SingleRow())) {
        row_ = choice_->NextRow(random_, options_.SequentialProgressions);
        if (options_.Rate == ChordRate::Random && !song_.Rows.empty()) ChooseRate();
    }
    RecordProgression();
}

void Builder::RecordProgression() {
    slot_ = 0;
    chordsInPhrase_ = 0;
    const int length = PhraseLength(row_);
    song_.Rows.push_back(row_);
    song_.Bars.push_back(HalfMeasures() ? (length + 1) / 2 : twoMeasures_ ? 2 * length : length);
}

void Builder::WriteChord(int position) {
    int pitch = 0, type = Maj;
    const int sectionKey = key_ + sectionOffset_;
    if (progressions_ && chordsInPhrase_ >= PhraseLength(row_)) NextProgression();
    if (pendingBaseChord_) {
        pendingBaseChord_ = false;
        pitch = sectionKey + (minor_ ? 9 : 0);
        type = minor_ ? Min : Maj;
        if (progressions_) {
            ++chordsInPhrase_;
            if (++slot_ >= ChordCount(row_)) slot_ = 0;
        }
    } else if (progressions_) {
        const auto& row = CommonProgressions[static_cast<std::size_t>(row_)];
        const int rootCode = row.RootCodes[static_cast<std::size_t>(slot_)];
        type = row.Types[static_cast<std::size_t>(slot_)] + 1;
        if (++slot_ >= ChordCount(row_)) slot_ = 0;
        ++chordsInPhrase_;
        if (random_.Below(16) == 0) type = type == Maj ? Sus4 : type == Seventh ? Sus7 : type;
        // A minor section counts the progression's degrees from its own tonic, the key that
        // playback hands to the key adjustment for a minor key mark in progression mode.
        pitch = sectionKey + (minor_ ? 9 : 0) + DegreeOf(rootCode);
    } else {
        const auto& group = minor_ ? MinorChordGroup : MajorChordGroup;
        GroupChord chord = group[static_cast<std::size_t>(random_.Below(settings_.GroupSize))];
        for (int attempt = 0; attempt < 50 && Wrap12(sectionKey + (minor_ ? 9 : 0) + chord.Degree) == previousPitch_; ++attempt) {
            chord = group[static_cast<std::size_t>(random_.Below(settings_.GroupSize))];
        }
        pitch = sectionKey + (minor_ ? 9 : 0) + chord.Degree;
        type = chord.Type;
    }
    type = Simplify(type, minor_, settings_);
    pitch = Wrap12(pitch);
    previousPitch_ = pitch;
    const int root = (inputs_.ChordZoneLowestKey / 12) * 12 + 12 + pitch;
    SetChord(position, root, type);
    if (NeedsResolution(type)) {
        const int resolution = position + (twoMeasures_ ? units_ : units_ / 2);
        if (resolution < end_) SetChord(resolution, root, Maj);
    }
}

// The last measure of a phrase: the section command, and after every second phrase the
// inner loop marks and a new key section.
void Builder::WritePhraseEnd(int measure, int phrase) {
    const int p = 4 + measure * units_;
    const int inCycle = (phrase - 1) % 4;
    const bool fills = inputs_.BasicPartMeasures <= 4;
    if (units_ == 12) {
        const int key = inCycle == 1 || inCycle == 2 ? inputs_.Keys.Extended : inputs_.Keys.Basic;
        if (p + 12 < end_) SetCommand(p + 12, key, data::ParamSectionKey);
    } else {
        static constexpr int Fill = 0, ToExtended = 1, ToBasic = 2;
        constexpr int cycle[4] = {Fill, ToExtended, Fill, ToBasic};
        const int what = cycle[inCycle];
        if (what == ToExtended) SetCommand(p, inputs_.Keys.ToExtended, data::ParamSectionKey);
        else if (what == ToBasic) SetCommand(p, inputs_.Keys.ToBasic, data::ParamSectionKey);
        else if (fills) SetCommand(p, inputs_.Keys.FillIn, data::ParamSectionKey);
    }
    if (phrase % 2 != 0) return;
    if (song_.CreatorRepeatFlag && units_ != 12) {
        if (p + 8 < end_ - 8) SetCommand(p + 8, data::CommandLoop, 0);
        if (p + 20 < end_ - 8) SetCommand(p + 20, data::CommandLoop, data::LoopStartBase + 2);
    }
    if (settings_.Alternate) minor_ = !minor_;
}

void Builder::WriteEnding() {
    SetCommand(end_ - 8, data::CommandLoop, 0);
    const data::BeatRecord first = Record(4);
    SetChord(end_, first.ChordRoot, first.ChordType);
    SetCommand(end_, inputs_.Keys.Ending, data::ParamSectionKey);
    SetCommand(end_ + 4, 0, 0);
    SetCommand(end_ + units_, data::CommandStop, 0);
}

GeneratedSong Builder::Build() {
    int measures = std::clamp(options_.SongMeasures, 1, MaxGeneratedMeasures(units_));
    if (progressions_) {
        choice_->StartSong(random_);
        row_ = choice_->NextRow(random_, options_.SequentialProgressions);
        blues_ = row_ >= Blues8Start || choice_->BluesRange();
        blues12_ = row_ >= Blues12Start;
        if (blues_) {
            settings_.Sus = false;
            song_.PlayLabel = blues12_ ? PlayLabelBlues12 : PlayLabelBlues816;
        } else {
            song_.PlayLabel = std::string(choice_->PlayLabel());
        }
        // Whole choruses of a 12 bar blues.
        if (blues12_) measures = std::max(12, measures / 12 * 12);
    }
    end_ = 4 + measures * units_;
    records_.assign(static_cast<std::size_t>((end_ + 2 * units_ - 4) / 4), data::BeatRecord{});
    ChooseRate();
    key_ = SongKeyOf(settings_.RandomKey ? RandomKey(random_, options_.RandomKeyWhiteOnly)
                                         : KeyListPitchClasses[static_cast<std::size_t>(std::clamp(options_.KeyIndex, 0, 11))],
                     options_.ModeIndex);
    song_.SongKey = key_;
    PrepareFirstMeasure();
    // The row drawn above starts the song.
    if (progressions_) RecordProgression();

    const int phraseMeasures = blues12_ ? 6 : 4;
    int nextChord = 4;
    bool newSection = true;
    for (int measure = 0; measure < measures; ++measure) {
        if (newSection) {
            StartSection(measure);
            newSection = false;
        }
        const int measureEnd = 4 + (measure + 1) * units_;
        while (nextChord < measureEnd) {
            WriteChord(nextChord);
            nextChord += HalfMeasures() ? units_ / 2 : twoMeasures_ ? 2 * units_ : units_;
        }
        if ((measure + 1) % phraseMeasures == 0) {
            const int phrase = (measure + 1) / phraseMeasures;
            WritePhraseEnd(measure, phrase);
            newSection = phrase % 2 == 0;
        }
    }
    WriteEnding();

    if (options_.TempoVariations) {
        const int draw = random_.Below(21);
        const int change = draw == 0 ? -1 : draw == 1 ? -2 : draw == 2 ? 1 : 0;
        song_.Tempo = std::clamp(song_.Tempo + change, 25, 250);
    }
    if (blues12_) song_.FormMeasures = twoMeasures_ ? 24 : 12;
    else if (blues_) song_.FormMeasures = 16;
    song_.ChordMeasures = measures;
    const auto perMeasure = static_cast<std::size_t>(BeatsPerMeasure());
    for (std::size_t first = 0; first + perMeasure <= records_.size(); first += perMeasure) {
        song_.Measures.emplace_back(records_.begin() + static_cast<std::ptrdiff_t>(first),
                                    records_.begin() + static_cast<std::ptrdiff_t>(first + perMeasure));
    }
    return song_;
}

}  // namespace

int MaxGeneratedMeasures(int measureUnits) {
    if (measureUnits < 4) measureUnits = 16;
    // The ending measure and the STOP measure follow the song's measures.
    return (data::ChordMemoryPositionLimit - 4) / measureUnits - 2;
}

GeneratedSong GenerateSong(const SongCreatorOptions& options, GenerationMode mode, ProgressionChoice* choice,
                           const GeneratorInputs& inputs, platform::Random& random) {
    if (mode == GenerationMode::Progressions && choice == nullptr) mode = GenerationMode::RandomChords;
    return Builder(options, mode, choice, inputs, random).Build();
}

}  // namespace chordella::composer
