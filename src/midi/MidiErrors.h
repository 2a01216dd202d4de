#pragma once
// The exceptions of the MIDI components; each carries the driver's error text or one of
// the components' own refusal texts.

#include <stdexcept>
#include <string>

namespace chordella::midi {

class EMidiInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EmidioutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The backend's text for a result code, or "Specified error number is out of range".
// At most 127 characters, like the text buffer drivers fill.
class MidiBackend;
std::string MidiErrorText(MidiBackend& backend, int code);

}  // namespace chordella::midi
