#include "app/ForeignStylePlay.h"

#include <algorithm>
#include <array>
#include <memory>

#include "app/StateParts.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "data/StyleFile.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"
#include "stylecreator/StyleConversion.h"
#include "stylecreator/WorkFiles.h"

namespace chordella::app {

namespace {

std::string LowerExtension(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return platform::LowerCase(path.substr(dot));
}

}  // namespace

bool IsForeignStyleFile(std::string_view path) {
    static constexpr std::array<std::string_view, 8> known{".sty", ".prs", ".bcs", ".sst", ".pcs", ".pst", ".fps", ".scp"};
    const std::string extension = LowerExtension(path);
    // Some makers number their formats: ".sst1" belongs to ".sst".
    return std::any_of(known.begin(), known.end(), [&](std::string_view k) {
        return extension == k || (k == ".sst" && extension.rfind(".sst", 0) == 0);
    });
}

ForeignLoad LoadForeignStyle(core::Session& session, AppState& app, const std::string& path, int set) {
    ForeignLoad outcome;
    stylecreator::CreatorState state;
    stylecreator::StyleCreator creator(session, state, CreatorLiveStateOf(app));
    stylecreator::StyleConversion conversion(session, creator);
    // The conversion writes the chords it detects into the chord memory: the song stays.
    const auto song = std::make_unique<data::ArrangementState>(app.arrangement);
    const auto restoreSong = [&] { app.arrangement = *song; };
    if (!conversion.Import(path, outcome.Error)) {
        restoreSong();
        return outcome;
    }
    const std::string problem = conversion.ChannelTable().NativeProblem();
    outcome.Native = problem.empty();
    if (!outcome.Native) outcome.Messages.push_back(problem + ": the style is converted, not played by its channel table");
    conversion.KeepNotesForNativePlay(outcome.Native);
    const int item = set >= 1 && set <= stylecreator::RandomPartsItem + 1 ? set - 1 : 0;
    const stylecreator::SetReport report = conversion.ConvertSet(item, session.Random());
    for (const std::string& warning : report.Warnings) outcome.Messages.push_back(warning);
    restoreSong();

    data::StyleState& built = session.Style().style;
    const std::vector<std::uint8_t> stream = stylecreator::StyleStreamOf(session.Style().Work);
    if (!data::CheckStyleStream(built.Parts, stream, outcome.Error)) return outcome;
    const std::vector<std::uint8_t> bytes = data::StyleFileBytes(built.Header, built.Parts, stream);
    const data::NativeRules rules = outcome.Native ? conversion.NativeRulesBuilt() : data::NativeRules{};
    data::StyleStore store(session);
    const data::StyleLoadResult result = store.InstallBuilt(path, bytes, rules);
    outcome.Loaded = result == data::StyleLoadResult::Loaded;
    if (!outcome.Loaded && outcome.Error.empty()) outcome.Error = "the style built from it could not be loaded";
    return outcome;
}

}  // namespace chordella::app
