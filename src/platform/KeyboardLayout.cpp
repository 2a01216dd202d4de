#include "platform/KeyboardLayout.h"

#include <cctype>
#include <cstdlib>
#include <fstream>

#include "platform/TextCase.h"

namespace chordella::platform {

namespace {

constexpr const char* KeyboardConfigFile = "/etc/default/keyboard";
constexpr std::size_t MaxConfigBytes = 16 * 1024;

// "de,us" names two layouts: the first is the one in use at start.
std::string FirstLayout(std::string_view list) {
    std::string_view first = list.substr(0, list.find_first_of(",( \t"));
    while (!first.empty() && (first.front() == '"' || first.front() == '\'')) first.remove_prefix(1);
    while (!first.empty() && (first.back() == '"' || first.back() == '\'')) first.remove_suffix(1);
    return LowerCase(first);
}

std::string LayoutFromConfig(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) line.remove_prefix(1);
        constexpr std::string_view Key = "XKBLAYOUT=";
        if (line.substr(0, Key.size()) == Key) return FirstLayout(line.substr(Key.size()));
    }
    return {};
}

// "de_AT.UTF-8@euro": the territory ("at"), else the language; "C" and "POSIX" say nothing.
std::string LayoutFromLocale(std::string_view locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return {};
    const std::size_t underscore = locale.find('_');
    if (underscore == std::string_view::npos) return LowerCase(locale);
    return LowerCase(locale.substr(underscore + 1));
}

std::string ReadConfig() {
    std::ifstream file(KeyboardConfigFile);
    if (!file) return {};
    std::string text(MaxConfigBytes, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string KeyboardLayoutFrom(std::string_view xkbVariable, std::string_view keyboardFile, std::string_view locale) {
    if (std::string layout = FirstLayout(xkbVariable); !layout.empty()) return layout;
    if (std::string layout = LayoutFromConfig(keyboardFile); !layout.empty()) return layout;
    return LayoutFromLocale(locale);
}

std::string SystemKeyboardLayout() {
    std::string_view locale = Variable("LC_ALL");
    if (locale.empty()) locale = Variable("LC_CTYPE");
    if (locale.empty()) locale = Variable("LANG");
    return KeyboardLayoutFrom(Variable("XKB_DEFAULT_LAYOUT"), ReadConfig(), locale);
}

}  // namespace chordella::platform
