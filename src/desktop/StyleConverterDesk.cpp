#include "desktop/StyleConverterDesk.h"

#include <filesystem>

#include "app/ForeignStyleSets.h"
#include "app/StateParts.h"
#include "core/Session.h"
#include "data/StyleNames.h"
#include "stylecreator/CreatorHost.h"

namespace chordella::desktop {

using namespace stylecreator;

StyleConverterDesk::StyleConverterDesk(core::Session& session, app::AppState& app)
    : session_(session), app_(app),
      creator_(session, state_, app::CreatorLiveStateOf(app)),
      conversion_(session, creator_),
      window_(session, conversion_) {
    const core::Options& options = app_.options;
    conversion_.Options().ShowWhenLoading = options.ShowConverterWhenLoading;
    if (options.ConverterSet >= 0 && options.ConverterSet <= RandomPartsItem)
        conversion_.Options().SetItem = options.ConverterSet;
    conversion_.Options().NativeMode = options.ConverterNative;
}

namespace {

// The style creator's "Set path" folder, as the part-set names expect it.
std::string FolderWithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// The creator's material becomes the playing style, playing by `native` (none: as our styles do).
void PlayMaterial(core::Session& session, const std::string& name, const data::NativeRules& native = {}) {
    data::StyleState& style = session.Style().style;
    MirrorMaterialToStyle(session.Style().Work, style);
    style.Native = native;
    style.StyleLoaded = 1;
    if (!name.empty()) {
        style.StyleDisplayName = name;
        style.StyleCaptionName = data::StyleCaptionNameOf(name, style.Parts);
    }
}

}  // namespace

void StyleConverterDesk::KeepOptions() {
    core::Options& options = app_.options;
    options.ShowConverterWhenLoading = window_.ShowOptionAfterClosing();
    options.ConverterSet = conversion_.Options().SetItem;
    options.ConverterNative = conversion_.Options().NativeMode;
}

bool StyleConverterDesk::NativeUsable() {
    if (!conversion_.Options().NativeMode) return false;
    const std::string problem = conversion_.ChannelTable().NativeProblem();
    if (problem.empty()) return true;
    report_ += problem + ": converted, not played by its channel table\n";
    return false;
}

void StyleConverterDesk::ConvertChosen() {
    report_.clear();
    const bool native = NativeUsable();
    conversion_.KeepNotesForNativePlay(native);
    report_ += ReportText(window_.Convert());
    conversion_.KeepNotesForNativePlay(false);
    // The suggested name: the foreign file's, as a style of ours.
    PlayMaterial(session_, data::StyleDisplayNameOf(std::filesystem::path(file_).stem().string() + ".vxs"),
                 native ? conversion_.NativeRulesBuilt() : data::NativeRules{});
}

void StyleConverterDesk::CreateSets(int count) {
    if (file_.empty()) {
        error_ = "No style file imported";
        return;
    }
    app::StyleSetsRequest request;
    for (int set = 1; set <= std::clamp(count, 1, VariationSetCount); ++set) request.Sets.push_back(set);
    request.Folder = session_.Paths().Styles();
    request.Native = conversion_.Options().NativeMode;
    std::error_code ignored;
    std::filesystem::create_directories(request.Folder, ignored);
    const app::StyleSetsOutcome outcome = app::WriteStyleSets(session_, app_, creator_, conversion_, file_, request);
    report_.clear();
    for (const app::WrittenStyle& written : outcome.Written) report_ += "Saved: " + written.Path + "\n";
    for (const std::string& warning : outcome.Warnings) report_ += warning + "\n";
    error_ = outcome.Error;
    window_.Abort();
    // The last set written plays, as it will when its file is loaded.
    const bool native = request.Native && conversion_.ChannelTable().NativeProblem().empty();
    if (!outcome.Written.empty())
        PlayMaterial(session_, data::StyleDisplayNameOf(outcome.Written.back().Path),
                     native ? conversion_.NativeRulesBuilt() : data::NativeRules{});
}

void StyleConverterDesk::PopupRequest(const ConverterRequest& request) {
    popup_ = request.Popup;
    const std::string folder = request.What == ConverterRequest::ImportPart ? std::string() : FolderWithSlash(request.Path);
    std::string error;
    switch (request.What) {
        case ConverterRequest::ImportPartSet: {
            if (folder.empty() || request.Item < 0 || request.Item > 7) return;
            const SetImportItem item{request.Item / 2 + 1, request.Item % 2 == 0 ? 11 : 21};
            session_.Transport().Stop();
            const SetImportResult result = ImportPartSet(session_, creator_, folder, item, popup_);
            error_ = result.Message;
            if (result.PartsSet.empty()) return;
            PlayMaterial(session_, "sty" + std::to_string(item.SetDigit));
            data::StyleState& style = session_.Style().style;
            if (style.Parts[0].Present()) style.SelectedPart = 0;
            report_ = "Parts set:";
            for (int part : result.PartsSet) report_ += " " + std::string(data::PartSelectorText(part)).substr(1) + ",";
            report_.back() = '\n';
            return;
        }
        case ConverterRequest::ExportPartSet: {
            if (folder.empty()) return;
            std::vector<std::string> written;
            if (!ExportPartSet(session_, folder, std::clamp(request.Item, 1, 4), written, error)) error_ = error;
            report_.clear();
            for (const std::string& path : written) report_ += "Saved: " + path + "\n";
            return;
        }
        case ConverterRequest::ExportPart: {
            if (folder.empty()) return;
            const data::StyleState& style = session_.Style().style;
            const bool variation = request.Item >= 0 && request.Item < data::PartCount &&
                                   style.Parts[static_cast<std::size_t>(request.Item)].FollowUpCode ==
                                       data::followup::Variation;
            const std::string path = SinglePartFile(folder, request.Item, variation);
            if (WritePartFile(session_, request.Item, path, error)) report_ = "Saved: " + path + "\n";
            else error_ = error;
            return;
        }
        case ConverterRequest::ImportPart: {
            if (!ImportPartFile(session_, creator_, request.Path, request.Item, error)) {
                error_ = std::filesystem::path(request.Path).filename().string() + ": " + error;
                return;
            }
            PlayMaterial(session_, {});
            report_ = "Part set: " + std::string(data::PartSelectorText(request.Item)).substr(1) + "\n";
            return;
        }
        case ConverterRequest::ConvertWithOptions: {
            const std::vector<int> converted = ConvertWithOptions(creator_, popup_);
            if (!converted.empty()) PlayMaterial(session_, {});
            return;
        }
        default: return;
    }
}

std::string ReportText(const SetReport& report) {
    std::string text;
    for (const ConvertedPart& part : report.Parts)
        text += std::string(data::PartSelectorText(part.Part)).substr(1) + " : " + part.Section + " (" +
                std::to_string(part.FirstMeasure) + " - " + std::to_string(part.LastMeasure) + ")" +
                (part.FromChannelTable ? ", CASM" : "") + "\n";
    for (const ChannelDecision& d : report.Channels)
        text += std::string(data::PartSelectorText(d.Part)).substr(1) + " ch " + std::to_string(d.Channel + 1) + ": " +
                FateText(d.Fate) +
                (d.Fate == ChannelFate::Moved ? " to ch " + std::to_string(d.Destination + 1) : std::string()) + " (" +
                d.Reason + ")\n";
    for (const std::string& warning : report.Warnings) text += warning + "\n";
    return text;
}

ConverterView StyleConverterDesk::View() const {
    ConverterView view;
    view.Imported = !file_.empty();
    view.FileName = file_;
    for (int list = 0; list < ConverterListCount; ++list)
        for (const SectionEntry& entry : conversion_.Lists().List(list))
            view.Lists[static_cast<std::size_t>(list)].push_back(entry.Text());
    view.Selected = conversion_.Lists().Selected();
    view.Options = conversion_.Options();
    view.Report = report_;
    view.Error = error_;
    view.ShowWindow = showWindow_;
    view.Popup = popup_;
    return view;
}

ConverterView StyleConverterDesk::Handle(const ConverterRequest& request) {
    error_.clear();
    showWindow_ = false;
    // The set list item is one setting with the Style menu's variations set: it may have
    // changed there since the last request.
    const int setting = app_.options.ConverterSet;
    if (setting >= 0 && setting <= RandomPartsItem) conversion_.Options().SetItem = setting;
    switch (request.What) {
        case ConverterRequest::Refresh: break;
        case ConverterRequest::ImportFile: {
            std::string error;
            report_.clear();
            if (!conversion_.Import(request.Path, error)) {
                error_ = std::filesystem::path(request.Path).filename().string() + ": " + error;
                file_.clear();
                break;
            }
            file_ = request.Path;
            // Without the window the lists' default choice (or the fixed set) converts at once.
            showWindow_ = window_.ShowAfterImport(false);
            window_.Open();
            if (showWindow_) break;
            window_.ChooseItem(conversion_.Options().SetItem);
            window_.SetVariations();
            ConvertChosen();
            break;
        }
        case ConverterRequest::Open: window_.Open(); break;
        case ConverterRequest::CreateSets: {
            const int item = conversion_.Options().SetItem;
            conversion_.Options() = request.Options;
            conversion_.Options().SetItem = item;
            CreateSets(request.Options.SetCount);
            break;
        }
        case ConverterRequest::ImportPartSet:
        case ConverterRequest::ExportPartSet:
        case ConverterRequest::ExportPart:
        case ConverterRequest::ImportPart:
        case ConverterRequest::ConvertWithOptions:
        case ConverterRequest::PopupOptions: PopupRequest(request); break;
        case ConverterRequest::ChooseItem: window_.ChooseItem(request.Item); break;
        case ConverterRequest::ShowPrevious: window_.ShowPrevious(); break;
        case ConverterRequest::SetVariations: {
            if (file_.empty()) break;
            const int item = conversion_.Options().SetItem;
            conversion_.Options() = request.Options;
            conversion_.Options().SetItem = item;
            for (int list = 0; list < ConverterListCount; ++list)
                conversion_.Lists().Select(list, request.Selected[static_cast<std::size_t>(list)]);
            window_.SetVariations();
            ConvertChosen();
            break;
        }
        case ConverterRequest::Abort: window_.Abort(); break;
    }
    KeepOptions();
    return View();
}

}  // namespace chordella::desktop
