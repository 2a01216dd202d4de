#pragma once
// Section "Ins-Set" of the settings file: keys "1" … "10" hold the instrument sets of the
// instrument window, "11" the function set for MIDI input. The texts are kept as stored;
// the remote-control module reads their fields.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chordella::platform {
class IniFile;
}

namespace chordella::data {

inline constexpr std::string_view SetNotFoundMessage = "Instrument- or Function set not found !";

struct InstrumentSetTexts {
    static constexpr int Count = 11;
    static constexpr int FunctionSet = 11;

    std::array<std::string, Count> Texts;  // index 0 is key "1"

    // The text of set 1 … 11; nullopt for another number or an empty set (the caller then
    // shows SetNotFoundMessage).
    std::optional<std::string> Get(int number) const;
    // False for a number outside 1 … 11.
    bool Set(int number, std::string text);
};

InstrumentSetTexts ReadInstrumentSetTexts(const platform::IniFile& ini);
void WriteInstrumentSetText(platform::IniFile& ini, int number, const std::string& text);

}  // namespace chordella::data
