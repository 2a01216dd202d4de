#pragma once
// Setting and clearing style parts with the creator's questions ("Set as …", "Modify …",
// "Clear …") and the chaining after Basic and Extended. The questions are asked without
// waiting: the command checks, asks, and goes on in the answer; "No" leaves everything as
// it was.

#include <functional>
#include <string>
#include <vector>

#include "data/StyleState.h"
#include "stylecreator/CreatorHostLink.h"
#include "stylecreator/PartPlacement.h"

namespace chordella::platform { class Prompter; }

namespace chordella::stylecreator {

// "Clear " + Q + caption + " " + Q + " ?" and its siblings; the caption begins with a blank.
std::string ClearPartQuestion(int part);
std::string SetPartQuestion(int part, bool partIsSet);
std::string MeasuresAvailableMessage(int measures);
inline constexpr const char* EndBeforeStartMessage = "The last measure lies before the first !";

struct PartOutcome {
    bool Changed = false;
    std::vector<int> Chained;   // parts set along with Basic or Extended
};

class PartSetter {
public:
    using Done = std::function<void(const PartOutcome&)>;
    PartSetter(data::StyleState& style, platform::Prompter& prompter, CreatorHostLink& host)
        : style_(style), prompter_(prompter), host_(host) {}

    // Control thread. "Set" (ask = true) or a caller that sets without asking (structure
    // file, quick style, capture, converter). An end measure of 0 clears the part.
    void Set(const PartRequest& request, bool ask, Done done = {});
    // "Clear P.": asks when the part is set.
    void Clear(int part, Done done = {});

    // Without questions or messages, for callers that have decided.
    enum class Result { Set, Cleared, Unchanged, BeyondMaterial, EndBeforeStart };
    Result SetNow(const PartRequest& request, PartOutcome& outcome);
    void ClearNow(int part);

private:

    data::StyleState& style_;
    platform::Prompter& prompter_;
    CreatorHostLink& host_;
};

}  // namespace chordella::stylecreator
