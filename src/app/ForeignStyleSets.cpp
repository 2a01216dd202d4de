#include "app/ForeignStyleSets.h"

#include <filesystem>
#include <memory>

#include "app/BatchRun.h"
#include "app/StateParts.h"
#include "core/Session.h"
#include "stylecreator/BassFinding.h"
#include "stylecreator/VolumeNormalisation.h"

namespace chordella::app {

using namespace stylecreator;

std::string StyleSetFileName(const std::string& folder, const std::string& sourcePath, int set,
                             const std::string& description) {
    // The batch's naming rule, so that both write the same names.
    return (std::filesystem::path(folder) / ConvertedName(sourcePath, set, description)).string();
}

StyleSetsOutcome WriteStyleSets(core::Session& session, AppState& app, StyleCreator& creator,
                                StyleConversion& conversion, const std::string& sourcePath,
                                const StyleSetsRequest& request) {
    StyleSetsOutcome outcome;
    // Every set converted writes its detected chords into the chord memory.
    data::ArrangementState& arrangement = app.arrangement;
    const auto kept = std::make_unique<data::ArrangementState>(arrangement);
    data::StyleState& style = session.Style().style;
    const std::string nativeProblem = request.Native ? conversion.ChannelTable().NativeProblem() : std::string();
    const bool native = request.Native && nativeProblem.empty();
    if (request.Native && !native)
        outcome.Warnings.push_back(nativeProblem + ": the styles are converted, not kept with their channel rules");
    conversion.KeepNotesForNativePlay(native);
    for (int set : request.Sets) {
        if (set < 1 || set > RandomPartsItem + 1) continue;  // six sets, then the two random items
        const std::string label = "set " + std::to_string(set);
        SetReport report = conversion.ConvertSet(set - 1, session.Random());
        for (const std::string& warning : report.Warnings) outcome.Warnings.push_back(label + ": " + warning);
        if (!style.Parts[static_cast<std::size_t>(data::Index(data::StylePart::Basic))].Present()) {
            outcome.Warnings.push_back(label + ": no Basic part, no style written");
            continue;
        }
        style.StyleDisplayName = std::filesystem::path(sourcePath).stem().string();
        if (request.NormaliseTarget > 0) {
            OfflineChannelRules quiet;
            NormalisationState normalisation;
            NormaliseSettings settings;
            settings.Target = request.NormaliseTarget;
            NormaliseVolumes(style, RuleNamesOf(style, app.config.Instruments), normalisation,
                             settings, quiet);
        }
        const std::string path = StyleSetFileName(request.Folder, sourcePath, set, request.Description);
        std::string error;
        if (!creator.SaveStyle(path, native ? conversion.NativeRulesBuilt() : data::NativeRules{}, error)) {
            outcome.Error = label + " cannot be saved: " + error;
            break;
        }
        int used = 0;
        for (std::uint8_t flag : style.Header.ChannelUsed) used += flag != 0 ? 1 : 0;
        outcome.Written.push_back({set, path, std::move(report), used});
    }
    arrangement = *kept;
    conversion.KeepNotesForNativePlay(false);
    return outcome;
}

StyleSetsOutcome ConvertForeignFileToStyles(core::Session& session, AppState& app, const std::string& sourcePath,
                                            const StyleSetsRequest& request, bool useChannelTable) {
    CreatorState state;
    StyleCreator creator(session, state, CreatorLiveStateOf(app));
    StyleConversion conversion(session, creator);
    conversion.UseChannelTable(useChannelTable);
    StyleSetsOutcome outcome;
    std::string error;
    if (!conversion.Import(sourcePath, error)) {
        outcome.Error = error;
        return outcome;
    }
    return WriteStyleSets(session, app, creator, conversion, sourcePath, request);
}

}  // namespace chordella::app
