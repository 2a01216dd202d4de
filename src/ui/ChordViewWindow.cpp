#include "ui/ChordViewWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace chordella::ui {

ChordViewWindow::ChordViewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ChordViewWindow");
    setWindowTitle("Chord view");
    auto* layout = new QVBoxLayout(this);
    chord_ = new QLabel;
    chord_->setObjectName("ChordName");
    chord_->setAlignment(Qt::AlignCenter);
    // The theme's style sheet sets every widget's size: these sheets of their own outrank it.
    chord_->setStyleSheet("font-size: 48pt; font-weight: bold;");
    key_ = new QLabel;
    key_->setObjectName("KeyLine");
    key_->setAlignment(Qt::AlignCenter);
    position_ = new QLabel;
    position_->setObjectName("MeasureBeat");
    position_->setAlignment(Qt::AlignCenter);
    key_->setStyleSheet("font-size: 18pt;");
    position_->setStyleSheet("font-size: 18pt;");
    layout->addWidget(chord_, 1);
    layout->addWidget(key_);
    layout->addWidget(position_);
    songInfo_ = new QLabel;
    songInfo_->setObjectName("SongInfo");
    songInfo_->setAlignment(Qt::AlignCenter);
    layout->addWidget(songInfo_);
    style_ = new QPushButton("Style");
    style_->setObjectName("StyleLabel");
    style_->setFlat(true);
    style_->setToolTip("Click here for a new style");
    connect(style_, &QPushButton::clicked, this, [this] {
        if (newStyle_) newStyle_();
    });
    layout->addWidget(style_);
    auto* random = new QPushButton("Click here to generate a completely random chord progression ");
    random->setObjectName("GenerateRandom");
    random->setFlat(true);
    auto* mixed = new QPushButton("Click here to generate randomly mixed common chord progressions ");
    mixed->setObjectName("GenerateMixed");
    mixed->setFlat(true);
    layout->addWidget(random);
    layout->addWidget(mixed);
    auto run = [this](bool isMixed) {
        if (generate_) generate_(isMixed);
    };
    connect(random, &QPushButton::clicked, this, [run] { run(false); });
    connect(mixed, &QPushButton::clicked, this, [run] { run(true); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Right), this), &QShortcut::activated, this, [run] { run(false); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Left), this), &QShortcut::activated, this, [run] { run(true); });
    resize(420, 300);
}

void ChordViewWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    if (shown_ && snapshot.Serial == serial_) return;
    shown_ = true;
    serial_ = snapshot.Serial;
    const QString chord = QString::fromUtf8(snapshot.ChordName.c_str());
    chord_->setText(chord.isEmpty() ? "-" : chord);
    key_->setText(QString::fromUtf8(snapshot.KeyText.c_str()));
    const QString style = QString::fromUtf8(snapshot.StyleName.c_str());
    style_->setText(style.isEmpty() ? QString("Style") : "Style: " + style);
    // Stopped, there is no position to show: the window says so rather than stay blank.
    position_->setText(snapshot.Measure > 0 ? QString("Measure %1   Beat %2").arg(snapshot.Measure).arg(snapshot.Beat)
                                            : QString("Stopped"));
}

void ChordViewWindow::SetOnGenerate(std::function<void(bool mixed)> generate) { generate_ = std::move(generate); }

void ChordViewWindow::ShowSongInfo(const QString& progressions, const QString& bars) {
    songInfo_->setText(progressions.isEmpty() ? bars : progressions + "   " + bars);
}

QString ChordViewWindow::SongInfoText() const { return songInfo_->text(); }
QString ChordViewWindow::ChordText() const { return chord_->text(); }
QString ChordViewWindow::KeyText() const { return key_->text(); }
QString ChordViewWindow::PositionText() const { return position_->text(); }

}  // namespace chordella::ui
