#pragma once
// The chord view: the chord that sounds in large letters, the key line and the measure and
// beat, for a player reading from a distance.

#include <QWidget>
#include <cstdint>

#include "app/DisplaySnapshot.h"

class QLabel;

namespace chordella::ui {

class ChordViewWindow : public QWidget {
public:
    explicit ChordViewWindow(QWidget* parent = nullptr);

    void Refresh(const app::DisplaySnapshot& snapshot);

    // A song of the song creator: "Progr. 3-17" and "Bars: 8-8" under the position.
    void ShowSongInfo(const QString& progressions, const QString& bars);

    QString ChordText() const;
    QString SongInfoText() const;
    QString KeyText() const;
    QString PositionText() const;

private:
    QLabel* chord_ = nullptr;
    QLabel* key_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* songInfo_ = nullptr;
    std::uint64_t serial_ = 0;
    bool shown_ = false;
};

}  // namespace chordella::ui
