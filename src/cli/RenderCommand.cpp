// `chordella render SONG.vxa|STYLE.vxs [--style S] [--measures N] -o OUT.mid|OUT.wav`:
// the engine on the virtual clock, every message it sends recorded at its tick, written as
// a MIDI file or played through the built-in synth into a WAV file.
#include <algorithm>

#include "app/MidiExport.h"
#include "app/RenderSession.h"
#include "cli/OutputGuard.h"
#include "cli/RenderCommands.h"
#include "core/Session.h"
#include "engine/OfflineRenderer.h"
#include "midi/WavFile.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

int Fail(std::FILE* err, const std::string& file, const std::string& reason) {
    std::fprintf(err, "%s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

}  // namespace

int RunRenderCommand(const RenderCommandFlags& flags, std::FILE* out, std::FILE* err) {
    const std::string kind = app::LowerExtensionOf(flags.output);
    if (kind != ".mid" && kind != ".wav") return Fail(err, flags.output, "the output must be a .mid or a .wav file");
    if (const std::string bad = app::CheckMeasures(flags.measures); !bad.empty()) return Fail(err, flags.input, bad);
    std::string refused;
    if (!MayWriteOutput(flags.output, {flags.input, flags.style}, RenderOutputKind(flags.output), flags.force, refused))
        return Fail(err, flags.output, refused);

    const platform::Paths paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    std::string errorFile, error;
    midi::AudioSettings audio = app::LoadAudioSettings(paths);
    if (!ApplyAudioFlags(flags.audio, audio, error)) return Fail(err, flags.input, error);
    app::RenderSession render(paths);
    render.UseVariationsSet(flags.set);
    if (!app::LoadRenderInput(render, flags.input, flags.style, errorFile, error, err)) return Fail(err, errorFile, error);
    data::SmfContent content;
    if (!app::RenderForExport(render, app::DefaultStyleMeasures, std::max(flags.measures, 0), content, error))
        return Fail(err, flags.input, error);

    const bool wav = kind == ".wav";
    if (wav) midi::RemoveTemporaryOnInterrupt();  // Ctrl-C leaves no half-written file behind
    const bool written = wav ? engine::RenderWav(content, flags.output, error, engine::WavTailMicros, audio)
                             : data::WriteSmfFile(flags.output, content, error);
    if (!written) return Fail(err, flags.output, error);
    const int measureTicks = content.MeasureTicks > 0 ? content.MeasureTicks : 96;
    std::fprintf(out, "%s: %lld measures, %.1f s -> %s\n", flags.input.c_str(),
                 static_cast<long long>((content.EndTick + measureTicks - 1) / measureTicks),
                 static_cast<double>(engine::MicrosAt(content.Tempos, content.EndTick)) / 1e6, flags.output.c_str());
    return 0;
}

}  // namespace chordella::cli
