#pragma once
// The steps of loading and resetting a style that belong to other modules: the transport
// (recording, stop, measure counter), the clock (tempo, meter), the style creator (its
// questions and positions), the instrument sets (program mapping), the mixer (mutes) and
// the style channel rules. Every module that takes part says what it does at each step (an
// empty body is a step it has no part in); the session's StyleLoadLinkList asks them all,
// so a style loads with only the data layer present when the list is empty.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/StyleModel.h"

namespace chordella::data {

// The meter a loaded style asks for: StyleMeter made positive (0 means 16).
struct StyleMeterChoice {
    int MeasureUnits = 16;      // chord-memory units per measure (4 per quarter note)
    bool EighthNotes = false;   // the style's StyleMeter was negative
};

class StyleLoadLink {
public:
    virtual ~StyleLoadLink() = default;

    // Control thread, all of them.
    // Loading does nothing while a recording runs.
    virtual bool RecordingRuns() = 0;
    // The creator's questions ("Replace current song ?", "Replace current work ?"), asked without
    // waiting: `then` gets true to go on, false to end the load (maybe later, the ticks go on).
    virtual void ConfirmReplace(bool userStarted, std::function<void(bool)> then) = 0;
    // Before the old style is replaced: reset the creator's positions and stop playback.
    virtual void BeforeLoad() = 0;
    // Tempo and intro detection, the meter choice, the "Suppress all Style Controllers" box.
    virtual void ApplyHeader(const StyleHeader& header, const StyleMeterChoice& meter) = 0;
    // Program mapping of the active instrument set: the program that replaces `program`
    // (0 … 127), or `program` itself when the set has no entry or mapping is off.
    virtual int MapProgram(int program) = 0;
    // True when the active instrument set is "SC-55.VXI" (bank and drum-kit clean-up on load).
    virtual bool Sc55InstrumentSet() = 0;
    // The transport's intro is enabled: after a load the part selector starts its search for
    // a present part at Intro instead of Basic.
    virtual bool IntroEnabled() = 0;
    // After the load: window captions from StyleCaptionName, mixer mutes from the selected part, then the style channel rules.
    virtual void AfterLoad() = 0;
    // The style was reset (new, empty style): captions go back to "Keyboard", "Chord view".
    virtual void AfterReset() = 0;
    // A foreign style file (not .vxs) picked in the open dialog: the converter builds it.
    // False when this module does not convert it (with no module that does, the load is
    // refused with a message).
    virtual bool ConvertForeignStyle(const std::string& path) = 0;
};

// The hooks of every module that takes part in loading, asked in the order they were added.
// The session holds one; a module adds itself when it is created and removes itself when it goes.
class StyleLoadLinkList final : public StyleLoadLink {
public:
    void Add(StyleLoadLink* hooks);
    void Remove(StyleLoadLink* hooks);

    bool RecordingRuns() override;                        // any
    void ConfirmReplace(bool userStarted, std::function<void(bool)> then) override;  // all, in turn, up to the first No
    void BeforeLoad() override;
    void ApplyHeader(const StyleHeader& header, const StyleMeterChoice& meter) override;
    int MapProgram(int program) override;                 // the first that maps it
    bool Sc55InstrumentSet() override;                    // any
    bool IntroEnabled() override;                         // any
    void AfterLoad() override;
    void AfterReset() override;
    bool ConvertForeignStyle(const std::string& path) override;  // the first that converts it

    // No module takes part: a style loads with the data layer alone.
    bool Empty() const { return hooks_.empty(); }

private:
    // Asks the first of `left` that is still in the list, then the rest after its Yes.
    void ConfirmFrom(std::vector<StyleLoadLink*> left, bool userStarted, std::function<void(bool)> then);

    std::vector<StyleLoadLink*> hooks_;
};

}  // namespace chordella::data
