#pragma once
// The keyboard layout the desktop uses, as an XKB layout name ("us", "de", "fr", "gb" …), so
// that the computer-keyboard chords follow the keys printed on the player's keyboard.
//
// Found without talking to a display server: the XKB_DEFAULT_LAYOUT variable, then the
// system's keyboard configuration (/etc/default/keyboard, XKBLAYOUT=…), then the territory
// or language of the locale (LC_ALL, LC_CTYPE, LANG: "de_AT.UTF-8" gives "at"). Any thread.

#include <string>
#include <string_view>

namespace chordella::platform {

// The first layout named, lower case; empty when nothing says.
std::string SystemKeyboardLayout();

// The same from given sources (tests): the variable's value, the configuration file's text
// and the locale name; empty strings where a source says nothing.
std::string KeyboardLayoutFrom(std::string_view xkbVariable, std::string_view keyboardFile, std::string_view locale);

}  // namespace chordella::platform
