// The settings loader takes whatever is in the settings file: options, MIDICOM, DAWC, Ins-Set.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella;
    app::Settings settings(platform::Paths::InFolder("/nonexistent/chordella-fuzz"));
    core::Options options;
    data::ConfigState config;
    settings.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), options, config);
    for (int key : {config.Keys.FillIn, config.Keys.Basic, config.Keys.FirstChordKey, config.Keys.LastChordKey})
        if (key < -1 || key > 127) __builtin_trap();
    for (const auto& message : config.Daw.Messages)
        if (message.Value > 127 || message.OnData > 127 || message.Channel < 0 || message.Channel > 15) __builtin_trap();
    return 0;
}
