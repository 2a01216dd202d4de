#include "stylecreator/PartSetter.h"

#include "platform/Prompter.h"

namespace chordella::stylecreator {

namespace {

std::string Quoted(int part) { return "\"" + std::string(data::PartSelectorText(part)) + " \""; }

std::string ChainedReport(const std::vector<int>& parts) {
    std::string text;
    for (int part : parts) text += (text.empty() ? "" : ",") + std::string(data::PartSelectorText(part));
    return "Set:" + text;
}

void Finish(const PartSetter::Done& done, const PartOutcome& outcome) {
    if (done) done(outcome);
}

}  // namespace

std::string ClearPartQuestion(int part) { return "Clear " + Quoted(part) + " ?"; }

std::string SetPartQuestion(int part, bool partIsSet) {
    return (partIsSet ? "Modify " : "Set as ") + Quoted(part) + " ?";
}

std::string MeasuresAvailableMessage(int measures) {
    return "Measures 1 - " + std::to_string(measures) + " available for stylecreating !";
}

void PartSetter::ClearNow(int part) {
    ClearPart(style_, host_.Material(), part);
    style_.StyleModified = 1;
    host_.StopPlayback();
}

PartSetter::Result PartSetter::SetNow(const PartRequest& request, PartOutcome& outcome) {
    if (request.Part < 0 || request.Part >= data::PartCount) return Result::Unchanged;
    if (request.EndMeasure == 0) {
        if (!style_.Parts[static_cast<std::size_t>(request.Part)].Present()) return Result::Unchanged;
        ClearNow(request.Part);
        outcome.Changed = true;
        return Result::Cleared;
    }
    if (request.EndMeasure < request.StartMeasure) return Result::EndBeforeStart;
    if (request.StartMeasure < 1 || request.StartMeasure > host_.MeasuresAvailable()) return Result::BeyondMaterial;
    const int previousEnd = style_.Parts[static_cast<std::size_t>(request.Part)].EndMeasure;
    PartRequest clipped = request;
    const int available = host_.MeasuresAvailable();
    if (clipped.EndMeasure > available) clipped.EndMeasure = available;  // the part ends with the material
    PlacePart(style_, host_.Material(), host_.MeasureUnits(), clipped);
    outcome.Chained = ChainFollowers(style_, host_.Material(), host_.MeasureUnits(), request.Part, previousEnd,
                                     request.Mutes);
    outcome.Changed = true;
    style_.StyleModified = 1;
    return Result::Set;
}

void PartSetter::Set(const PartRequest& request, bool ask, Done done) {
    if (request.Part < 0 || request.Part >= data::PartCount) return Finish(done, {});
    const bool isSet = style_.Parts[static_cast<std::size_t>(request.Part)].Present();
    if (request.EndMeasure == 0) {
        if (!isSet) return Finish(done, {});
        if (!ask) {
            ClearNow(request.Part);
            return Finish(done, {true, {}});
        }
        return Clear(request.Part, std::move(done));
    }
    if (request.EndMeasure < request.StartMeasure) {
        prompter_.Inform(EndBeforeStartMessage);
        return Finish(done, {});
    }
    if (request.StartMeasure < 1 || request.StartMeasure > host_.MeasuresAvailable()) {
        prompter_.Inform(MeasuresAvailableMessage(host_.MeasuresAvailable()));
        return Finish(done, {});
    }
    auto apply = [this, request, done] {
        PartOutcome outcome;
        if (SetNow(request, outcome) != Result::Set) return Finish(done, outcome);
        if (!outcome.Chained.empty()) host_.ShowStatus(ChainedReport(outcome.Chained));
        host_.StartPlayback();
        Finish(done, outcome);
    };
    if (!ask) return apply();
    prompter_.ConfirmThen(SetPartQuestion(request.Part, isSet), [apply, done](bool yes) {
        if (yes) return apply();
        Finish(done, {});
    });
}

void PartSetter::Clear(int part, Done done) {
    if (part < 0 || part >= data::PartCount || !style_.Parts[static_cast<std::size_t>(part)].Present())
        return Finish(done, {});
    prompter_.ConfirmThen(ClearPartQuestion(part), [this, part, done](bool yes) {
        if (!yes) return Finish(done, {});
        ClearNow(part);
        Finish(done, {true, {}});
    });
}

}  // namespace chordella::stylecreator
