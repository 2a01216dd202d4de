#include "app/MainInstance.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/SingleInstance.h"

namespace chordella::app {

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') return true;
    }
    return false;
}

std::optional<int> HandOverToRunningInstance(const InstanceArguments& arguments, platform::SingleInstance& instance,
                                             platform::Prompter& prompter, const platform::Paths& paths) {
    if (instance.Acquire()) return std::nullopt;
    if (!arguments.File.empty()) {
        const std::string handOver = paths.ProgramFile(platform::SingleInstance::HandOverFileName);
        std::string error;
        if (!platform::MakeFolders(paths.ConfigDir()) ||
            !platform::SingleInstance::HandOver(handOver, arguments.File, &error))
            std::fprintf(stderr, "chordella: %s: cannot hand over %s\n", handOver.c_str(), error.c_str());
    }
    prompter.Inform(std::string(AlreadyRunningMessage));
    return ExitAlreadyRunning;
}

}  // namespace chordella::app
