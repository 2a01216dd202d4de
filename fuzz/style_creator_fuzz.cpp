// The style creator's whole pipeline on whatever a MIDI file holds: import into the work,
// generate chords, convert, quick style, shifts and a channel move. Whatever the bytes, the
// style that comes out must pass the checks the style reader applies to a file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "app/StateParts.h"
#include "app/Arranger.h"
#include "core/Session.h"
#include "data/CreatorWorkWriter.h"
#include "data/MidiImportRun.h"
#include "data/SmfFile.h"
#include "data/StyleFile.h"
#include "platform/RecordingPrompter.h"
#include "stylecreator/HeadlessCreatorHost.h"
#include "stylecreator/PartSetter.h"
#include "stylecreator/QuickStyle.h"
#include "stylecreator/StyleCreator.h"
#include "stylecreator/WorkFiles.h"

namespace {

using namespace chordella;

core::Session& TheSession() {
    static std::unique_ptr<core::Session> session = [] {
        core::SessionParts parts;
        parts.prompter = std::make_unique<platform::RecordingPrompter>();
        parts.paths = platform::Paths::InFolder("/nonexistent/chordella-fuzz");
        return std::make_unique<core::Session>(std::move(parts));
    }();
    return *session;
}

// The state the creator works in, kept across inputs like the session.
app::AppState& TheState() {
    static app::AppState state;
    return state;
}

// The modules the creator stops and starts (as the `create` command builds them), built once.
app::Arranger& TheArranger() {
    static app::Arranger arranger(TheSession(), TheState());
    return arranger;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::span<const std::uint8_t> file(bytes, size);
    data::SmfLayout layout;
    if (data::ReadSmfLayout(file, layout) != data::SmfLayoutError::None) return 0;
    core::Session& session = TheSession();
    app::AppState& app = TheState();
    TheArranger();
    data::CreatorWork& work = session.Style().Work;

    data::ImportSettings settings;
    data::CreatorWorkWriter trial(nullptr, {});
    const data::ImportResult tried = data::RunImport(layout, settings, trial);
    if (tried.Status != data::ImportStatus::Done && tried.Status != data::ImportStatus::OutputFull) return 0;
    if (!data::EnsureWorkChunks(work, trial.ChunksReached())) return 0;
    data::ClearWorkMaterial(work);
    data::CreatorWorkWriter writer(&work, {});
    const data::ImportResult done = data::RunImport(layout, settings, writer);
    writer.Finish();
    work.WorkLength = 0;
    for (const data::WorkChunk& chunk : work.Chunks)
        if (chunk.Present) work.WorkLength += chunk.Size;
    app.clock.MeasureUnits = static_cast<std::int16_t>(std::max(4, done.MeasureUnits));
    data::ClearChordMemory(app.arrangement.Chords);
    session.Style().style.Parts = data::PartTable{};

    stylecreator::CreatorState state;
    state.Generator = {static_cast<int>(size % 8) + 1, static_cast<int>(size / 8 % 4) + 1,
                       static_cast<int>(size / 32 % 4) + 1};
    state.Conversion.Mode = static_cast<stylecreator::ConvertMode>(size % 7);
    state.Conversion.Stylemode = size % 5 == 0;
    stylecreator::StyleCreator creator(session, state, app::CreatorLiveStateOf(app));
    creator.SetUnattended(true);
    stylecreator::HeadlessCreatorHost host(session, app.clock);
    stylecreator::PartSetter setter(session.Style().style, session.Prompter(), host);
    stylecreator::QuickStyle quick(session.Style().style, setter, host, session.Prompter());
    quick.Run({}, 1, state.LoopLength(), true, [&] {
        bool converted = false;
        creator.ConvertAll([&](bool changed) { converted = changed; });
        return converted;
    });
    state.Mode = stylecreator::CreatorMode::Style;
    state.StyleRange = {2, 1, 3};
    creator.ShiftNotes(size % 2 ? 12 : -1);
    creator.MoveChannel(static_cast<int>(size % 16), static_cast<int>(size / 16 % 16));
    creator.RestoreOriginal(false, false);

    const std::vector<std::uint8_t> stream = stylecreator::StyleStreamOf(work);
    std::string error;
    if (!data::CheckStyleStream(session.Style().style.Parts, stream, error)) __builtin_trap();
    return 0;
}
