#pragma once
// What the converter window ("Styleconverter") keeps between its openings, without widgets:
// the arrangement saved aside while it is open, the option it clears meanwhile, the chord
// memory an earlier conversion run left, the set list's item and whether "Set Variations"
// finished the window. The Qt window shows it; the import and the creator drive it.

#include <memory>
#include <optional>

#include "core/Session.h"
#include "data/ArrangementState.h"
#include "stylecreator/StyleConversion.h"

namespace chordella::stylecreator {

inline constexpr const char* ConverterCaption = "Styleconverter";

class ConverterWindow {
public:
    ConverterWindow(core::Session& session, StyleConversion& conversion);

    // Control thread. Opening: an arrangement holding chords stops playing and is saved aside
    // with "Show this window when loading a style" off while the window is open, the chord memory
    // of an earlier run comes back, and the lists are filled from the work's markers.
    void Open();
    // Closing puts the arrangement and the option back.
    void Close();
    bool IsOpen() const { return open_; }

    // "Show previous variations set": the remembered selections, without refilling.
    void ShowPrevious();
    // A set list item: 0 … 5 select through pick; the random items decide at "Set Variations".
    void ChooseItem(int item);
    // "Set Variations" (also Enter): the choice is final, the window closes as finished.
    void SetVariations();
    // "Abort".
    void Abort();
    bool Finished() const { return finished_; }

    // After a finished window: the conversion run. Its chord memory is kept for the next opening.
    SetReport Convert();

    // The window opens after an import only with "Show this window when loading a style" on
    // and no batch run going; otherwise "Set Variations" happens at once.
    bool ShowAfterImport(bool batchRunning) const;
    // "Show this window when loading a style" as it stands once the window is closed (the
    // value kept in the settings).
    bool ShowOptionAfterClosing() const;

private:
    core::Session& session_;
    StyleConversion& conversion_;
    bool open_ = false;
    bool finished_ = false;
    int item_ = 0;
    std::unique_ptr<data::ArrangementState> savedArrangement_;
    bool savedShowOption_ = false;
    std::optional<data::ChordMemory> runChords_;   // the chord memory of the last conversion run
};

}  // namespace chordella::stylecreator
