#include "cli/PortsCommand.h"

#include <string>

#include "app/AudioOptions.h"
#include "midi/SystemBackend.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

void Line(std::FILE* out, int id, const midi::DeviceCaps& caps) {
    std::fprintf(out, "  %3d  %-40s %s\n", id, caps.ProductName.c_str(), caps.Api.c_str());
}

}  // namespace

int ListPorts(midi::MidiBackend& backend, std::FILE* out) {
    std::fprintf(out, "MIDI inputs:\n");
    const int inputs = backend.InputCount();
    for (int id = 0; id < inputs; ++id) {
        midi::DeviceCaps caps;
        if (backend.InputCaps(id, caps) == midi::result::NoError) Line(out, id, caps);
    }
    if (inputs == 0) std::fprintf(out, "  none (no ALSA sequencer and no JACK server running)\n");
    std::fprintf(out, "MIDI outputs:\n");
    const int outputs = backend.OutputCount();
    for (int id = -1; id < outputs; ++id) {
        midi::DeviceCaps caps;
        if (backend.OutputCaps(id, caps) == midi::result::NoError) Line(out, id, caps);
    }
    return 0;
}

int RunPortsCommand(std::FILE* out, const std::optional<std::string>& home) {
    auto backend = midi::MakeSystemBackend();
    const int code = ListPorts(*backend, out);
    const midi::AudioSettings settings = app::LoadAudioSettings(platform::Paths::Resolve(home, platform::ExecutablePath()));
    std::fprintf(out, "%s", app::DescribeSynth(settings, nullptr).c_str());
    return code;
}

}  // namespace chordella::cli
