// `chordella export SONG.vxa|STYLE.vxs -o OUT.mid`: what "&Export MIDI ..." writes — the
// song with its style to its end, or the style alone.
#include "app/MidiExport.h"
#include "app/RenderSession.h"
#include "cli/OutputGuard.h"
#include "cli/RenderCommands.h"
#include "core/Session.h"
#include "platform/Paths.h"

namespace chordella::cli {

int RunExportCommand(const RenderCommandFlags& flags, std::FILE* out, std::FILE* err) {
    if (app::LowerExtensionOf(flags.output) != ".mid") {
        std::fprintf(err, "%s: the output must be a .mid file\n", flags.output.c_str());
        return 1;
    }
    std::string refused;
    if (!MayWriteOutput(flags.output, {flags.input, flags.style}, OutputKind::MidiFile, flags.force, refused)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), refused.c_str());
        return 1;
    }
    app::RenderSession render(platform::Paths::Resolve(flags.home, platform::ExecutablePath()));
    std::string errorFile, error;
    data::SmfContent content;
    if (!app::LoadRenderInput(render, flags.input, flags.style, errorFile, error, err)) {
        std::fprintf(err, "%s: %s\n", errorFile.c_str(), error.c_str());
        return 1;
    }
    if (!app::RenderForExport(render, app::DefaultStyleMeasures, 0, content, error)) {
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), error.c_str());
        return 1;
    }
    if (!data::WriteSmfFile(flags.output, content, error)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    std::fprintf(out, "%s -> %s\n", flags.input.c_str(), flags.output.c_str());
    return 0;
}

}  // namespace chordella::cli
