// `chordella import FILE -o WORK.vxw`: the MIDI import of the style creator, headless, with
// the material saved as a work file.
#include <algorithm>
#include <memory>

#include "cli/FileCommands.h"
#include "cli/ImportFindings.h"
#include "cli/OutputGuard.h"
#include "core/MidiImport.h"
#include "core/Options.h"
#include "core/Session.h"
#include "data/WorkFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/RecordingPrompter.h"

namespace chordella::cli {

int RunImportCommand(const ImportCommandFlags& flags, std::FILE* out, std::FILE* err) {
    if (const std::string why = platform::WhyNotAFile(flags.input); !why.empty()) {
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), why.c_str());
        return 1;
    }
    std::string refused;
    if (!MayWriteOutput(flags.output, {flags.input}, OutputKind::WorkFile, flags.force, refused)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), refused.c_str());
        return 1;
    }
    auto prompter = std::make_unique<platform::RecordingPrompter>();
    platform::RecordingPrompter* shown = prompter.get();
    core::SessionParts parts;
    parts.prompter = std::move(prompter);
    parts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    core::Session session(std::move(parts));
    core::Options options;

    ImportFindings hooks;
    data::MidiImporter importer(session, options, &hooks);
    const data::ImportOutcome outcome = importer.Import(flags.input, flags.keepLeadingSilence, false);
    if (outcome != data::ImportOutcome::Imported) {
        const std::string reason = shown->LastShown("nothing imported");
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), reason.c_str());
        return 1;
    }
    for (const std::string& text : shown->Shown()) std::fprintf(err, "%s: %s\n", flags.input.c_str(), text.c_str());

    const data::CreatorWork& work = session.Style().Work;
    const data::ImportResult& result = importer.LastResult();
    data::WorkFile file;
    data::TakeWorkMaterial(work, file);
    file.SetStyleTempo(static_cast<std::int16_t>(std::clamp(hooks.tempo, 1, 999)));
    file.SetStyleMeter(static_cast<std::int16_t>(result.MeasureUnits));
    for (int channel = 0; channel < 16; ++channel) file.SetChannelUsed(channel, hooks.channelsUsed[channel] != 0);
    std::string error;
    if (!data::WriteWorkFile(flags.output, file, error)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    const int measureBeats = std::max(1, result.MeasureUnits / 4);
    std::fprintf(out, "%s: %d stream bytes, %lld beats (%lld measures), %zu markers -> %s\n", flags.input.c_str(),
                 work.WorkLength, static_cast<long long>(result.ImportedBeats),
                 static_cast<long long>((result.ImportedBeats + measureBeats - 1) / measureBeats), work.Markers.size(),
                 flags.output.c_str());
    if (work.Chunks[1].Present)
        std::fprintf(err, "%s: only the first %d bytes of the material fit into a work file\n", flags.output.c_str(),
                     work.Chunks[0].Size);
    return 0;
}

}  // namespace chordella::cli
