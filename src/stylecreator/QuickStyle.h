#pragma once
// "Quick S.": a whole style from the current loop in one click. The keys held at the click
// choose the variant: Alt toggles the cut-notes state of all parts, Ctrl makes the bridges
// (To Extended, copied to To Basic), Shift the fills (Fill in Basic, copied to Fill in
// Extended); no key converts everything first, then sets Basic (with its chaining) and
// copies Basic, its fill and its transition to the Extended side.

#include <functional>

#include "stylecreator/PartSetter.h"

namespace chordella::stylecreator {

struct Modifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

inline constexpr const char* CutNotesActivated = "Cut notes state is activated !";
inline constexpr const char* CutNotesNotActivated = "Cut notes state is NOT activated !";

// Copies a part record to another slot (its own follow-up code, notes-end row and bounds).
void CopyPart(data::StyleState& style, int from, int to);

class QuickStyle {
public:
    // `convertAll`: "Convert all to Style", run first from the button; answers false when it
    // did not run (a question answered No, nothing to convert), which ends the quick style.
    using ConvertAll = std::function<bool()>;
    QuickStyle(data::StyleState& style, PartSetter& setter, CreatorHostLink& host, platform::Prompter& prompter)
        : style_(style), setter_(setter), host_(host), prompter_(prompter) {}

    // Control thread. The loop: `loopStart` and `loopMeasures` measures from it.
    void Run(Modifiers keys, int loopStart, int loopMeasures, bool fromButton, const ConvertAll& convertAll);
    bool CutNotesState() const { return cutNotes_; }

private:
    void ToggleCutNotes();
    bool SetFromLoop(int part, int start, int end);

    data::StyleState& style_;
    PartSetter& setter_;
    CreatorHostLink& host_;
    platform::Prompter& prompter_;
    bool cutNotes_ = false;
};

}  // namespace chordella::stylecreator
