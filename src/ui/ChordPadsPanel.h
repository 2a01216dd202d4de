#pragma once
// The chord pads of the main window: 132 chord pads "A00" … "K11" (rows = the slot map's
// types, columns = roots E … Eb), 24 function pads "M00" … "M23" (the common chords of
// C major, each with its hint) and the section buttons "L00" … "L04". A press hands the
// pad's name and the modifier keys to the core, a release hands the name again; what the
// pad means is decided there.
//
//   ui::ChordPadsPanel pads(link);
//   pads.Refresh(snapshot);   // row captions follow the configured chord types

#include <QWidget>
#include <array>

#include "ui/CoreLink.h"

class QLabel;

namespace chordella::ui {

class PadButton;

class ChordPadsPanel : public QWidget {
public:
    static constexpr int Rows = 11;
    static constexpr int Columns = 12;

    explicit ChordPadsPanel(CoreLink& link, QWidget* parent = nullptr);

    // The row captions from the snapshot's pad row types ("maj", "min7" …).
    void Refresh(const app::DisplaySnapshot& snapshot);

private:
    QWidget* BuildChordPads();
    QWidget* BuildFunctionPads();
    QWidget* BuildSectionButtons();
    PadButton* MakePad(const QString& name, const QString& caption);

    CoreLink& link_;
    std::array<std::array<PadButton*, Columns>, Rows> pads_{};
    std::array<QLabel*, Rows> rowLabels_{};
    std::array<QString, Rows> rowTypes_{};
};

}  // namespace chordella::ui
