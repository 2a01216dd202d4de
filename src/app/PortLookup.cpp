#include "app/PortLookup.h"

#include <algorithm>
#include <cctype>

#include "platform/TextCase.h"

namespace chordella::app {

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::string PortName(midi::MidiBackend& backend, bool input, int id) {
    midi::DeviceCaps caps;
    const int code = input ? backend.InputCaps(id, caps) : backend.OutputCaps(id, caps);
    return code == midi::result::NoError ? caps.ProductName : std::string();
}

std::optional<int> FindPort(midi::MidiBackend& backend, bool input, const std::string& text) {
    const int count = input ? backend.InputCount() : backend.OutputCount();
    if (AllDigits(text) && text.size() < 6) {
        const int id = std::stoi(text);
        if (id < count) return id;
        return std::nullopt;
    }
    std::optional<int> partial;
    int partialMatches = 0;
    for (int id = 0; id < count; ++id) {
        const std::string name = PortName(backend, input, id);
        if (name == text) return id;
        if (!text.empty() && platform::LowerCase(name).find(platform::LowerCase(text)) != std::string::npos) {
            partial = id;
            ++partialMatches;
        }
    }
    if (!input && platform::LowerCase(PortName(backend, false, SynthOutput)) == platform::LowerCase(text)) return SynthOutput;
    return partialMatches == 1 ? partial : std::nullopt;
}

}  // namespace chordella::app
