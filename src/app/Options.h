#pragma once
// The user's options, read at the moment of use. Each field carries, as its comment, the
// caption the user sees; the configuration file reads and writes them.

namespace chordella::app {

struct Options {
    bool AutoloadStyle = true;  // "Autoload style"
    bool AutoPopUp = true;      // song info "Auto pop-up"
};

}  // namespace chordella::app
