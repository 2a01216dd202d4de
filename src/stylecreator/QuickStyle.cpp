#include "stylecreator/QuickStyle.h"

#include "platform/Prompter.h"

namespace chordella::stylecreator {

using data::StylePart;

void CopyPart(data::StyleState& style, int from, int to) {
    const auto f = static_cast<std::size_t>(from);
    const auto t = static_cast<std::size_t>(to);
    const bool variation = style.Parts[t].FollowUpCode == data::followup::Variation;
    style.Parts[t] = style.Parts[f];
    const bool fill = to == data::Index(StylePart::FillInBasic) || to == data::Index(StylePart::FillInExtended);
    style.Parts[t].FollowUpCode = fill && variation ? data::followup::Variation : data::DefaultFollowUpCode(to);
    style.NotesEndInPart[t] = style.NotesEndInPart[f];
    style.PartBounds[t] = style.PartBounds[f];
}

void QuickStyle::ToggleCutNotes() {
    const std::uint8_t value = cutNotes_ ? 0 : 1;
    for (data::PartRecord& part : style_.Parts) {
        if (!part.Present()) continue;
        for (int c = 1; c <= 14; ++c)   // channels 2 … 15, the drums (10) left alone
            if (c != 9) part.CutNotes[static_cast<std::size_t>(c)] = value;
    }
    cutNotes_ = !cutNotes_;
    style_.StyleModified = 1;
    prompter_.Inform(cutNotes_ ? CutNotesActivated : CutNotesNotActivated);
}

bool QuickStyle::SetFromLoop(int part, int start, int end) {
    PartRequest request;
    request.Part = part;
    request.StartMeasure = start;
    request.EndMeasure = end;
    PartOutcome outcome;
    const auto result = setter_.SetNow(request, outcome);
    if (result == PartSetter::Result::BeyondMaterial) prompter_.Inform(MeasuresAvailableMessage(host_.MeasuresAvailable()));
    return result == PartSetter::Result::Set;
}

void QuickStyle::Run(Modifiers keys, int loopStart, int loopMeasures, bool fromButton, const ConvertAll& convertAll) {
    if (keys.Alt) return ToggleCutNotes();
    const int start = std::max(loopStart, 1);
    const int end = start + std::max(loopMeasures, 1) - 1;
    if (keys.Ctrl || keys.Shift) {
        const StylePart first = keys.Ctrl ? StylePart::ToExtended : StylePart::FillInBasic;
        const StylePart second = keys.Ctrl ? StylePart::ToBasic : StylePart::FillInExtended;
        setter_.ClearNow(data::Index(first));
        if (!SetFromLoop(data::Index(first), start, end)) return;
        CopyPart(style_, data::Index(first), data::Index(second));
        host_.StartPlayback();
        return;
    }
    if (fromButton && convertAll && !convertAll()) return;
    if (start > host_.MeasuresAvailable()) {
        prompter_.Inform(MeasuresAvailableMessage(host_.MeasuresAvailable()));
        return;
    }
    for (data::PartRecord& part : style_.Parts) {
        part.StartMeasure = 0;
        part.EndMeasure = 0;
    }
    if (!SetFromLoop(data::Index(StylePart::Basic), start, end)) return;
    CopyPart(style_, data::Index(StylePart::Basic), data::Index(StylePart::Extended));
    CopyPart(style_, data::Index(StylePart::FillInBasic), data::Index(StylePart::FillInExtended));
    CopyPart(style_, data::Index(StylePart::ToExtended), data::Index(StylePart::ToBasic));
    SavePartBounds(style_);
    style_.StyleModified = 1;
    host_.StartPlayback();
}

}  // namespace chordella::stylecreator
