// The MIDI import takes whatever a MIDI or style file holds: the layout, the trial run, the
// real run into the creator's chunks and the summary of `chordella info`.
#include <cstddef>
#include <cstdint>
#include <span>

#include "data/CreatorWork.h"
#include "data/CreatorWorkWriter.h"
#include "data/MidiImportRun.h"
#include "data/SmfFile.h"
#include "data/SmfInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::data;
    static CreatorWork work;  // the chunks are made once, as in the program
    const std::span<const std::uint8_t> bytes(data, size);
    SmfLayout layout;
    if (ReadSmfLayout(bytes, layout) != SmfLayoutError::None) return 0;

    ImportSettings settings;
    settings.CollectMarkers = size % 2 == 0;
    settings.TrimLeadingSilence = size % 3 == 0;
    CreatorWorkWriter trial(nullptr, {});
    const ImportResult tried = RunImport(layout, settings, trial);
    if (!EnsureWorkChunks(work, trial.ChunksReached())) return 0;
    ClearWorkMaterial(work);
    CreatorWorkWriter writer(&work, {});
    const ImportResult done = RunImport(layout, settings, writer);
    writer.Finish();
    // The trial and the real run must agree byte for byte.
    if (done.Status != tried.Status || writer.BytesWritten() != trial.BytesWritten() ||
        done.Markers.size() != tried.Markers.size())
        __builtin_trap();
    if (done.Status == ImportStatus::Done && MaterialTicks(work) > done.OutputTicks) __builtin_trap();

    SmfSummary summary;
    std::string error;
    SummarizeSmf(bytes, summary, error);
    return 0;
}
