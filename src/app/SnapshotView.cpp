#include "app/SnapshotView.h"

#include "app/AppState.h"
#include "core/Session.h"

namespace chordella::app {

namespace {

template <std::size_t N>
void Copy(FixedText<N>& to, std::string_view text) {
    to.Set(text.data(), text.size());
}

}  // namespace

void SnapshotView::ShowTitle(const std::string& title) {
    // The program title, then " - " and the song's file name when there is one.
    Copy(titleSuffix_, title);
    const std::string whole = title.empty() ? std::string(ProgramTitle) : std::string(ProgramTitle) + " - " + title;
    Copy(shown_.Title, whole);
}

void SnapshotView::ShowStatus(const std::string& text) { Copy(shown_.Status, text); }

void SnapshotView::ShowChord(std::string_view title, std::string_view name, bool inPanels) {
    Copy(shown_.Title, title);
    if (inPanels) Copy(shown_.ChordName, name);
}

void SnapshotView::ShowKey(std::string_view text) { Copy(shown_.KeyText, text); }

void SnapshotView::ShowChordText(std::string_view text) { Copy(shown_.ChordName, text); }

void SnapshotView::ShowClockPanel(int state) {
    shown_.ClockPanel = state;
    if (state == 0) stylePosition_ = {};  // stopped: the next start counts from measure 1
}

void SnapshotView::ShowPartBeat(int /*counter*/, bool measureStart) {
    if (measureStart || stylePosition_.Measure == 0) {
        ++stylePosition_.Measure;
        stylePosition_.Beat = 1;
    } else {
        ++stylePosition_.Beat;
    }
}

void SnapshotView::ShowTempo(int bpm) { shown_.Tempo = bpm; }

void SnapshotView::ShowAccompanimentSwitch(std::string_view caption, std::string_view /*hint*/,
                                           int /*keyboardModeEntry*/) {
    Copy(shown_.AccompanimentCaption, caption);
}

}  // namespace chordella::app

namespace chordella::app {

void FillMeasureAndBeat(core::Session& session, const AppState& app, DisplaySnapshot& snapshot,
                        const CountedPosition* counted) {
    const int units = app.clock.MeasureUnits > 0 ? app.clock.MeasureUnits : 16;
    snapshot.BeatsPerMeasure = units / 4 > 0 ? units / 4 : 1;
    if (app.clock.ClockState == 0 || !snapshot.Playing) {
        snapshot.Measure = 0;
        snapshot.Beat = 0;
        return;
    }
    if (app.transport.ChordPlayMode == 0 && counted != nullptr) {
        // Started, its first beat not yet played: it stands at the start.
        snapshot.Measure = counted->Measure > 0 ? counted->Measure : 1;
        snapshot.Beat = counted->Measure > 0 ? counted->Beat : 1;
        return;
    }
    // Positions count four per beat from 4; a song counts in the chord memory, a style in
    // the part that plays.
    const int position = app.transport.ChordPlayMode != 0 ? app.arrangement.ChordMemoryPos
                                                          : session.Style().sections.PartBeatCounter;
    const int fromStart = position - 4;
    if (fromStart < 0) {
        snapshot.Measure = fromStart / units - 1;  // lead-in measures count below 1
        snapshot.Beat = ((fromStart % units) + units) % units / 4 + 1;
        return;
    }
    snapshot.Measure = fromStart / units + 1;
    snapshot.Beat = fromStart % units / 4 + 1;
}

}  // namespace chordella::app
