#include "ui/ChordPadsPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "chords/ChordPads.h"
#include "ui/PadButton.h"
#include "ui/SectionCaptions.h"

namespace chordella::ui {
namespace {

// The roots of the columns 00 … 11 (notes 52 … 63), spelled as a player reads them.
constexpr std::array<const char*, ChordPadsPanel::Columns> ColumnNotes = {
    "E", "F", "F#", "G", "Ab", "A", "Bb", "B", "C", "C#", "D", "Eb"};

struct SectionButtonText {
    const char* Name;
    const SectionCaption& Caption;  // the arranger panel's caption of the same function
};
constexpr std::array<SectionButtonText, chords::SectionButtonCount> SectionButtons = {{
    {"L00", FillInCaption},
    {"L01", ToBasicCaption},
    {"L02", EndingCaption},
    {"L03", ToExtendedCaption},
    {"L04", IntroCaption},
}};

QString PadName(char row, int number) {
    return QString("%1%2").arg(QChar(row)).arg(number, 2, 10, QChar('0'));
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ChordPadsPanel::ChordPadsPanel(CoreLink& link, QWidget* parent) : QWidget(parent), link_(link) {
    setObjectName("ChordPadsPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    // A taller window gives every row of pads the same share.
    layout->addWidget(BuildChordPads(), Rows);
    layout->addWidget(BuildFunctionPads(), 2);
    layout->addWidget(BuildSectionButtons(), 1);
    Refresh(app::DisplaySnapshot{});
}

PadButton* ChordPadsPanel::MakePad(const QString& name, const QString& caption) {
    auto* pad = new PadButton(name);
    pad->setText(caption);
    const std::string padName = name.toStdString();
    pad->OnDown = [this, padName](const Modifiers& modifiers) { link_.PadDown(padName, modifiers); };
    pad->OnUp = [this, padName] { link_.PadUp(padName); };
    return pad;
}

QWidget* ChordPadsPanel::BuildChordPads() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setSpacing(1);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int row = 0; row < Rows; ++row) {
        const char letter = static_cast<char>('A' + row);
        rowLabels_[row] = new QLabel;
        rowLabels_[row]->setObjectName(QString("Row%1").arg(QChar(letter)));
        grid->addWidget(rowLabels_[row], row, 0);
        for (int column = 0; column < Columns; ++column) {
            pads_[row][column] = MakePad(PadName(letter, column), ColumnNotes[column]);
            grid->addWidget(pads_[row][column], row, column + 1);
        }
    }
    return box;
}

QWidget* ChordPadsPanel::BuildFunctionPads() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setSpacing(1);
    grid->setContentsMargins(0, 0, 0, 0);
    constexpr int perRow = chords::FunctionPadCount / 2;
    for (int number = 0; number < chords::FunctionPadCount; ++number) {
        PadButton* pad = MakePad(PadName('M', number), FromView(chords::FunctionPadCaption(number)));
        pad->setToolTip(FromView(chords::FunctionPadHint(number)));
        grid->addWidget(pad, number / perRow, number % perRow);
    }
    return box;
}

QWidget* ChordPadsPanel::BuildSectionButtons() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    for (const SectionButtonText& button : SectionButtons) row->addWidget(MakePad(button.Name, PadText(button.Caption)));
    return box;
}

void ChordPadsPanel::Refresh(const app::DisplaySnapshot& snapshot) {
    for (int row = 0; row < Rows; ++row) {
        const QString type = QString::fromUtf8(snapshot.PadRowTypes[static_cast<std::size_t>(row)].c_str());
        if (type == rowTypes_[row] && !rowLabels_[row]->text().isEmpty()) continue;
        rowTypes_[row] = type;
        rowLabels_[row]->setText(QString("%1  %2").arg(QChar('A' + row)).arg(type));
        for (int column = 0; column < Columns; ++column)
            pads_[row][column]->setText(QString(ColumnNotes[column]) + type);
    }
}

}  // namespace chordella::ui
