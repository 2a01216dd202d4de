#include "stylecreator/ConverterWindow.h"
#include "data/ArrangementState.h"

namespace chordella::stylecreator {

ConverterWindow::ConverterWindow(core::Session& session, StyleConversion& conversion)
    : session_(session), conversion_(conversion) {}

bool ConverterWindow::ShowOptionAfterClosing() const {
    return conversion_.Options().ShowWhenLoading || (savedArrangement_ && savedShowOption_);
}

bool ConverterWindow::ShowAfterImport(bool batchRunning) const {
    return conversion_.Options().ShowWhenLoading && !batchRunning;
}

void ConverterWindow::Open() {
    finished_ = false;
    if (!open_) {
        data::ArrangementState& arrangement = conversion_.Creator().Live().arrangement;
        if (!arrangement.Chords.IsEmpty()) {
            session_.Transport().Stop();
            savedArrangement_ = std::make_unique<data::ArrangementState>(arrangement);
            savedShowOption_ = conversion_.Options().ShowWhenLoading;
            conversion_.Options().ShowWhenLoading = false;
        }
        if (runChords_) arrangement.Chords = *runChords_;
        open_ = true;
    }
    conversion_.Lists().Fill(session_.Style().Work.Markers);
}

void ConverterWindow::Close() {
    if (!open_) return;
    if (savedArrangement_) {
        conversion_.Creator().Live().arrangement = *savedArrangement_;
        savedArrangement_.reset();
        // A box the user ticked while the window was open stays ticked.
        conversion_.Options().ShowWhenLoading = conversion_.Options().ShowWhenLoading || savedShowOption_;
    }
    open_ = false;
}

void ConverterWindow::ShowPrevious() { conversion_.Lists().ShowRemembered(conversion_.Remembered()); }

void ConverterWindow::ChooseItem(int item) {
    item_ = item;
    conversion_.Options().SetItem = item;
    if (item >= 0 && item < VariationSetCount) conversion_.Lists().ChooseSet(item, session_.Random());
}

void ConverterWindow::SetVariations() {
    finished_ = true;
    Close();
}

void ConverterWindow::Abort() {
    finished_ = false;
    Close();
}

SetReport ConverterWindow::Convert() {
    SetReport report;
    if (!finished_) return report;
    // A fixed set, or the selections the user made in the lists.
    const int item = conversion_.Options().FixVariationsSet || item_ >= VariationSetCount ? item_ : -1;
    // The run writes the chords it detects into the chord memory: the user's arrangement is
    // kept aside and comes back, the run's chords wait for the next opening.
    data::ArrangementState& arrangement = conversion_.Creator().Live().arrangement;
    const auto kept = std::make_unique<data::ArrangementState>(arrangement);
    report = conversion_.ConvertSet(item, session_.Random());
    runChords_ = arrangement.Chords;
    arrangement = *kept;
    finished_ = false;
    return report;
}

}  // namespace chordella::stylecreator
