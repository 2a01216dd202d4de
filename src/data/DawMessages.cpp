#include "data/DawMessages.h"

#include <algorithm>
#include <string_view>

#include "platform/IniFile.h"

namespace chordella::data {

namespace {

constexpr std::string_view Section = "MIDICOM";

std::uint8_t DataByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 127)); }

DawMessage ReadMessage(const platform::IniFile& ini, std::string_view suffix) {
    const auto key = [suffix](std::string_view name) { return std::string(name) + std::string(suffix); };
    DawMessage message;
    message.Enabled = ini.GetBool(Section, key("Active"), false);
    message.Command = std::clamp(ini.GetInt(Section, key("Key"), 0), 0, 9);
    const int kind = ini.GetInt(Section, key("Type"), 0);
    message.Kind = kind >= 0 && kind <= 4 ? kind : 0;
    message.Channel = std::clamp(ini.GetInt(Section, key("Channel"), 1), 1, 16) - 1;
    message.Value = DataByte(ini.GetInt(Section, key("Value"), 0));
    message.OnData = DataByte(ini.GetInt(Section, key("Data1"), 0));
    message.OffData = DataByte(ini.GetInt(Section, key("Data2"), 0));
    return message;
}

}  // namespace

DawSettings ReadDawSettings(const platform::IniFile& ini) {
    DawSettings settings;
    settings.Messages[0] = ReadMessage(ini, "");
    settings.Messages[1] = ReadMessage(ini, "2");
    settings.Program = ini.GetString("DAWC", "DAW", "");
    settings.Window = ini.GetString("DAWC", "Window", "");
    return settings;
}

}  // namespace chordella::data
