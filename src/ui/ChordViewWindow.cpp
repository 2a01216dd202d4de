#include "ui/ChordViewWindow.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

namespace chordella::ui {

ChordViewWindow::ChordViewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ChordViewWindow");
    setWindowTitle("Chord view");
    auto* layout = new QVBoxLayout(this);
    chord_ = new QLabel;
    chord_->setObjectName("ChordName");
    chord_->setAlignment(Qt::AlignCenter);
    QFont big = chord_->font();
    big.setPointSize(48);
    big.setBold(true);
    chord_->setFont(big);
    key_ = new QLabel;
    key_->setObjectName("KeyLine");
    key_->setAlignment(Qt::AlignCenter);
    position_ = new QLabel;
    position_->setObjectName("MeasureBeat");
    position_->setAlignment(Qt::AlignCenter);
    QFont medium = position_->font();
    medium.setPointSize(18);
    key_->setFont(medium);
    position_->setFont(medium);
    layout->addWidget(chord_, 1);
    layout->addWidget(key_);
    layout->addWidget(position_);
    songInfo_ = new QLabel;
    songInfo_->setObjectName("SongInfo");
    songInfo_->setAlignment(Qt::AlignCenter);
    layout->addWidget(songInfo_);
    resize(360, 220);
}

void ChordViewWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    if (shown_ && snapshot.Serial == serial_) return;
    shown_ = true;
    serial_ = snapshot.Serial;
    chord_->setText(QString::fromUtf8(snapshot.ChordName.c_str()));
    key_->setText(QString::fromUtf8(snapshot.KeyText.c_str()));
    // Stopped, there is no position to show.
    position_->setText(snapshot.Measure > 0
                           ? QString("Measure %1   Beat %2").arg(snapshot.Measure).arg(snapshot.Beat)
                           : QString());
}

void ChordViewWindow::ShowSongInfo(const QString& progressions, const QString& bars) {
    songInfo_->setText(progressions.isEmpty() ? bars : progressions + "   " + bars);
}

QString ChordViewWindow::SongInfoText() const { return songInfo_->text(); }
QString ChordViewWindow::ChordText() const { return chord_->text(); }
QString ChordViewWindow::KeyText() const { return key_->text(); }
QString ChordViewWindow::PositionText() const { return position_->text(); }

}  // namespace chordella::ui
