#pragma once
// The chord view: the chord that sounds in large letters, the key line and the measure and
// beat, for a player reading from a distance.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/DisplaySnapshot.h"

class QLabel;
class QPushButton;

namespace chordella::ui {

class ChordViewWindow : public QWidget {
public:
    explicit ChordViewWindow(QWidget* parent = nullptr);
    // The two commands that make a new song at once ("Click here to generate …"; Shift+Cursor
    // left and right): `mixed` true for mixed common progressions, false for a completely
    // random song.
    void SetOnGenerate(std::function<void(bool mixed)> generate);
    // The "Style" label's click: another style at random.
    void SetOnNewStyle(std::function<void()> newStyle) { newStyle_ = std::move(newStyle); }

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
    QPushButton* style_ = nullptr;
    std::function<void(bool)> generate_;
    std::function<void()> newStyle_;
    std::uint64_t serial_ = 0;
    bool shown_ = false;
};

}  // namespace chordella::ui
