#pragma once
// The beat lamps: one round lamp per beat of the measure, the lamp of the beat that sounds
// lit, the first beat's in red and the others in green; all dark while nothing plays. The
// lamps paint themselves (no style sheet can hide them) and grow with the room they get.
//
// GUI thread only.

#include <QWidget>
#include <array>

namespace chordella::ui {

class BeatLamp final : public QWidget {
public:
    enum State { Dark = 0, Accent = 1, Beat = 2 };

    explicit BeatLamp(QWidget* parent = nullptr);
    State Lit() const { return state_; }
    void SetLit(State state);
    // The lamp's diameter in pixels.
    void SetDiameter(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    State state_ = Dark;
};

class BeatLamps final : public QWidget {
public:
    static constexpr int MaxLamps = 8;

    // The lamps are named `prefix` + 1 … 8 ("BeatLamp1").
    explicit BeatLamps(const QString& prefix, QWidget* parent = nullptr);

    // The beat that sounds (1-based; 0 = none) in a measure of `beats` beats (1 … 8 lamps
    // show). Only lamps that change are repainted.
    void Show(int beat, int beats);
    // The lamps' diameter; the gap between them is a third of it.
    void SetDiameter(int pixels);
    const BeatLamp& Lamp(int index) const { return *lamps_[static_cast<std::size_t>(index)]; }

private:
    std::array<BeatLamp*, MaxLamps> lamps_{};
};

}  // namespace chordella::ui
