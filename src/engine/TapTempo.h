#pragma once
// Tap tempo ("Tap Tempo - F8"): the logic behind the window. The window's 50 ms timer calls
// TimerStep; each press of the tap button (Enter, F8) calls Tap. After MetronomeGroup taps the
// tempo is the average interval, the tempo field takes it, the style starts and the window
// closes. The "Quantize" radio group switches the chord grid between its quarter and eighth halves.

#include <array>
#include <cstdint>
#include <string>

namespace chordella::core { class Session; }

namespace chordella::engine {

class Clock;
class Transport;

class TapTempo {
public:
    enum class TapResult {
        Counting,   // more taps are needed
        Done,       // the tempo was set and the style started: the window closes
    };

    TapTempo(core::Session& session, Clock& clock, Transport& transport);

    // Control thread. The window opens: no tap counted yet.
    void Open();
    // Control thread, every 50 ms while the window is open.
    void TimerStep();
    // Control thread. One tap: the metronome clicks, the interval since the last tap is kept.
    TapResult Tap();

    // The tap button's caption: "Tap " + MetronomeGroup + " times".
    std::string Caption() const;
    // The tempo the last completed series set (0 before).
    int Tempo() const { return tempo_; }
    // Any thread. Beats per minute from intervals of 50 ms steps: 60000 div average div 50;
    // 0 when the average is 0 (taps within one step of each other).
    static int TempoFromSteps(const std::uint8_t* intervals, int count);

    // Control thread. The "Quantize" radio group: "1/4 measure" (false) or "1/8 measure" (true).
    void SelectGridHalf(bool eighths);

private:
    static constexpr int MaxTaps = 8;

    int TapsNeeded() const;

    core::Session& session_;
    Clock& clock_;
    Transport& transport_;
    int taps_ = 0;
    int steps_ = 0;
    bool counting_ = false;
    int tempo_ = 0;
    std::array<std::uint8_t, MaxTaps> intervals_{};
};

}  // namespace chordella::engine
