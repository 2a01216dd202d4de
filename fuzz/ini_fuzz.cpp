// The INI reader takes whatever is in the settings file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    chordella::platform::IniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    ini.GetInt("Options", "Tempo", 120);
    ini.GetString("options", "Style", "");
    for (const auto& section : ini.Sections())
        for (const auto& key : ini.Keys(section)) ini.GetInt(section, key, 0);
    ini.SetInt("Options", "Tempo", 100);
    chordella::platform::IniFile again;
    again.Parse(ini.Serialize());
    return 0;
}
