#include "stylecreator/StructureApply.h"

#include "platform/Prompter.h"

namespace chordella::stylecreator {

void AdjustRangesForTwoFour(StructureData& data) {
    for (StructureRange& range : data.Ranges)
        if (range.Start > 0 || range.End > 0) range = AdjustForTwoFour(range);
}

StructureOutcome ApplyStructure(const StructureData& data, PartSetter& setter, data::StyleState& style,
                                CreatorHostLink& host, ChannelFlags& muteBoxes, platform::Prompter& prompter,
                                bool eighthBase) {
    using data::StylePart;
    StructureOutcome outcome;
    host.StopPlayback();
    // Every part, To Basic included: a part the file leaves out must not keep offsets
    // into material that is no longer there.
    for (int p = 0; p < data::PartCount; ++p) {
        const data::PartRecord old = style.Parts[static_cast<std::size_t>(p)];
        style.Parts[static_cast<std::size_t>(p)] = data::PartRecord{};
        style.Parts[static_cast<std::size_t>(p)].CutNotes = old.CutNotes;
    }
    ApplyMuting(data.Muting, muteBoxes);
    std::optional<ChannelFlags> mutes;
    if (!data.Muting.empty()) mutes = muteBoxes;

    constexpr std::array<StylePart, data::PartCount> Order = {
        StylePart::Basic,      StylePart::Extended,   StylePart::Ending,  StylePart::FillInBasic,
        StylePart::FillInExtended, StylePart::ToExtended, StylePart::ToBasic, StylePart::Intro};
    for (StylePart part : Order) {
        const StructureRange& range = data.Ranges[static_cast<std::size_t>(data::Index(part))];
        if (range.Start < 1 || range.End < 1) continue;
        PartRequest request;
        request.Part = data::Index(part);
        request.StartMeasure = range.Start;
        request.EndMeasure = std::max(range.Start, range.End);
        request.StartBeat = range.StartBeat;
        request.Mutes = mutes;
        PartOutcome partOutcome;
        const auto result = setter.SetNow(request, partOutcome);
        if (result == PartSetter::Result::Set) ++outcome.PartsSet;
        if (result == PartSetter::Result::BeyondMaterial) outcome.SomeBeyondMaterial = true;
    }
    RebuildNotesEnd(style, host.Material(), false);
    SavePartBounds(style);
    const data::PartRecord& intro = style.Parts[static_cast<std::size_t>(data::Index(StylePart::Intro))];
    if (intro.Present()) {
        outcome.FirstMeasure = -intro.LengthMeasures * (eighthBase ? 2 : 1);
        style.Header.IntroMeasures = static_cast<std::int16_t>(-intro.LengthMeasures);
    } else {
        style.Header.IntroMeasures = 1;
    }
    style.StyleModified = 1;
    if (outcome.SomeBeyondMaterial) prompter.Inform(MeasuresAvailableMessage(host.MeasuresAvailable()));
    return outcome;
}

}  // namespace chordella::stylecreator
