#include "data/InstrumentSetTexts.h"

#include "platform/IniFile.h"

namespace chordella::data {

namespace {

constexpr std::string_view Section = "Ins-Set";

bool ValidNumber(int number) { return number >= 1 && number <= InstrumentSetTexts::Count; }

}  // namespace

std::optional<std::string> InstrumentSetTexts::Get(int number) const {
    if (!ValidNumber(number)) return std::nullopt;
    const std::string& text = Texts[static_cast<std::size_t>(number - 1)];
    if (text.empty()) return std::nullopt;
    return text;
}

bool InstrumentSetTexts::Set(int number, std::string text) {
    if (!ValidNumber(number)) return false;
    Texts[static_cast<std::size_t>(number - 1)] = std::move(text);
    return true;
}

InstrumentSetTexts ReadInstrumentSetTexts(const platform::IniFile& ini) {
    InstrumentSetTexts sets;
    for (int number = 1; number <= InstrumentSetTexts::Count; ++number)
        sets.Set(number, ini.GetString(Section, std::to_string(number), ""));
    return sets;
}

void WriteInstrumentSetText(platform::IniFile& ini, int number, const std::string& text) {
    if (!ValidNumber(number)) return;
    ini.SetString(Section, std::to_string(number), text);
}

}  // namespace chordella::data
