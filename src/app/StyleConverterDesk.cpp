#include "app/StyleConverterDesk.h"

#include <filesystem>

#include "core/Session.h"
#include "stylecreator/CreatorHost.h"

namespace chordella::app {

using namespace stylecreator;

StyleConverterDesk::StyleConverterDesk(core::Session& session)
    : session_(session), creator_(session, state_), conversion_(session, creator_), window_(session, conversion_) {}

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
    return view;
}

ConverterView StyleConverterDesk::Handle(const ConverterRequest& request) {
    error_.clear();
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
            window_.Open();
            break;
        }
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
            report_ = ReportText(window_.Convert());
            // The converted material becomes the playing style.
            MirrorMaterialToStyle(session_.Style().Work, session_.Style().style);
            session_.Style().style.StyleLoaded = 1;
            break;
        }
        case ConverterRequest::Abort: window_.Abort(); break;
    }
    return View();
}

}  // namespace chordella::app
