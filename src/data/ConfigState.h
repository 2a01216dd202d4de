#pragma once
// What the settings file gives the program beyond the options: the control keys as MIDI
// notes, the active instrument set, the audio-workstation messages and the stored
// instrument-set texts. Written when the settings are loaded (and the set texts when the
// instrument window stores one); read by the modules that use them.

#include "data/ControlKeys.h"
#include "data/DawMessages.h"
#include "data/InstrumentSet.h"
#include "data/InstrumentSetTexts.h"

namespace chordella::data {

struct ConfigState {
    bool FirstStart = false;  // no settings file was found at start-up
    ControlKeys Keys;
    InstrumentSet Instruments = BuiltInGeneralMidiSet();
    DawSettings Daw;
    InstrumentSetTexts SetTexts;
};

}  // namespace chordella::data
