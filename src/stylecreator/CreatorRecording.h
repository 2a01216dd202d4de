#pragma once
// Recording the material from MIDI input, and "Capture Style", which records and then makes
// the parts the capture panel names. Incoming clock ticks become wait bytes (a tick merges
// into the last byte while that is a wait shorter than 8 ticks); channel messages are stored
// as three bytes.

#include <array>
#include <functional>
#include <optional>

#include "data/CreatorWorkWriter.h"
#include "stylecreator/CreatorHostLink.h"
#include "stylecreator/PartSetter.h"
#include "stylecreator/StructureFile.h"
#include "stylecreator/StyleCreator.h"

namespace chordella::stylecreator {

inline constexpr const char* ReplaceWorkQuestion = "Replace current work ?";
inline constexpr const char* StylepartsCreated = "OK - Styleparts are created !";
inline constexpr const char* RecordingMark = "R";

// The "Capture Style" panel: first and last measure of each part, tempo and metrum.
struct CapturePanel {
    std::array<StructureRange, data::PartCount> Parts{};
    int Tempo = 120;
    std::string Metrum = "4/4";
};

class MidiRecorder {
public:
    MidiRecorder(StyleCreator& creator, CreatorHostLink& host) : creator_(creator), host_(host) {}

    // Control thread, all of them.
    // "Record from MIDI in": asks "Replace current work ?" when a work exists (not for a
    // capture), switches to Song mode, clears the work and starts. `then(started)`.
    void Start(bool forCapture, std::function<void(bool)> then = {});
    bool Recording() const { return writer_.has_value(); }
    // A MIDI clock tick (0xF8) from the input.
    void ClockTick();
    // A channel message from the input; other bytes are refused.
    bool Message(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Ends the recording: the material is closed and measured. False when none ran.
    bool Stop();
    // The measure now being recorded (1-based).
    int MeasureNow() const;
    bool Full() const { return full_; }

private:
    void Begin();

    StyleCreator& creator_;
    CreatorHostLink& host_;
    std::optional<data::CreatorWorkWriter> writer_;
    std::int64_t ticks_ = 0;
    bool full_ = false;
};

// "OK - Record from MIDI in" on the capture panel: records; Stop() then FinishCapture.
class CaptureStyle {
public:
    CaptureStyle(StyleCreator& creator, CreatorHostLink& host, MidiRecorder& recorder, PartSetter& setter)
        : creator_(creator), host_(host), recorder_(recorder), setter_(setter) {}

    void Start(const CapturePanel& panel);
    // When the recording ends: Style mode, the panel's tempo, the parts set (end = the larger
    // of first and last). Answers the number of parts set.
    int Finish();

private:
    StyleCreator& creator_;
    CreatorHostLink& host_;
    MidiRecorder& recorder_;
    PartSetter& setter_;
    CapturePanel panel_;
};

// A click on the measure:beat display. While recording the next mark slot takes the measure
// being recorded; otherwise, in Style mode, the next slot holding a measure becomes the
// Style-mode start (stop 0) and that measure is answered so playback can start there.
std::optional<int> ClickMeasureMarks(CreatorState& state, bool recording, int measureNow);

}  // namespace chordella::stylecreator
