#include "app/MidiExport.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/AppState.h"
#include "core/Session.h"
#include "core/MidiImport.h"
#include "data/ArrangementState.h"
#include "engine/OfflineRenderer.h"
#include "app/RenderSession.h"
#include "platform/Files.h"
#include "platform/Outcome.h"
#include "platform/Paths.h"

namespace chordella::app {

namespace {

constexpr std::array<const char*, data::PartCount> PartSuffixes = {"_i11", "_v11", "_v21", "_e11",
                                                                     "_f12", "_f22", "_f11", "_f21"};
constexpr std::array<const char*, 2> VariationSuffixes = {"_v31", "_v41"};  // fill slots 4 and 5

std::string WithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

// Where the save dialog starts: the song's file with .mid, else the style's name.
std::string SuggestedExportPath(core::Session& session, const AppState& app) {
    const data::ArrangementState& song = app.arrangement;
    const data::StyleState& style = session.Style().style;
    if (!song.Chords.IsEmpty() && !song.ArrangementPath.empty())
        return platform::FolderOf(song.ArrangementPath) + "/" +
               WithoutExtension(platform::FileNamePart(song.ArrangementPath)) + ".mid";
    const std::string folder = song.SongDirectory.empty() ? session.Paths().Songs() : song.SongDirectory;
    const std::string name = style.StyleDisplayName.empty() ? "CHORDS" : style.StyleDisplayName;
    return folder + "/" + name + ".mid";
}

void RemoveIfPresent(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

}  // namespace

bool RenderForExport(RenderSession& render, int styleMeasures, int maxMeasures, data::SmfContent& content,
                     std::string& error) {
    if (!render.StyleLoaded()) {
        error = NothingToExportText;
        return false;
    }
    if (render.HasSong()) {
        if (!RenderSession::CanPlaySongs()) {
            error = SongsNeedPlaybackText;
            return false;
        }
        if (render.RenderSong(maxMeasures, content)) return true;
        error = ChordMemoryEmptyText;
        return false;
    }
    const int measures = maxMeasures > 0 ? maxMeasures : styleMeasures;
    if (render.RenderStyle(measures, content)) return true;
    error = NothingToExportText;
    return false;
}

bool ExportMidi(core::Session& session, const AppState& app, const std::string& path, std::function<void(bool)> done) {
    // What the session holds when the file is known: the song may change while the dialog is open.
    const auto write = [&session, &app](const std::string& target) {
        RenderSession render(session.Paths());
        render.CopyFrom(session, app);
        data::SmfContent content;
        std::string error;
        if (!RenderForExport(render, DefaultStyleMeasures, 0, content, error) ||
            !data::WriteSmfFile(target, content, error)) {
            session.Prompter().Inform(error);
            return false;
        }
        return true;
    };
    return platform::OutcomeOf(false, std::move(done), [&](platform::Done<bool> finish) {
        if (!path.empty()) {
            finish(write(path));
            return;
        }
        session.Prompter().SaveFileThen(ExportDialogTitle, ExportDialogFilter, SuggestedExportPath(session, app),
                                        [write, finish](std::optional<std::string> chosen) {
                                            finish(chosen && !chosen->empty() && write(*chosen));
                                        });
    });
}

std::string PartFileName(const data::PartTable& parts, int part) {
    if (part < 0 || part >= data::PartCount) return {};
    const auto index = static_cast<std::size_t>(part);
    const bool fillSlot = part == data::Index(data::StylePart::FillInBasic) ||
                          part == data::Index(data::StylePart::FillInExtended);
    const char* suffix = fillSlot && parts[index].FollowUpCode == data::followup::Variation
                             ? VariationSuffixes[index - data::Index(data::StylePart::FillInBasic)]
                             : PartSuffixes[index];
    return std::string("sty1") + suffix + ".mid";
}

std::string StyleMeasuresList(const data::PartTable& parts) {
    std::string list;
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        char line[64];
        std::snprintf(line, sizeof line, "%-18.18s : %2.2d - %2.2d", engine::PartName(part).c_str(), record.StartMeasure,
                      record.EndMeasure);
        list += line;
        list += "\r\n";
    }
    return list;
}

namespace {

// Writes one file per present part of the style in `render` into `folder`.
bool WritePartFiles(core::Session& session, RenderSession& render, const std::string& folder,
                    StyleMidiFiles& result) {
    const data::PartTable& parts = render.Session().Style().style.Parts;
    for (int part = 0; part < data::PartCount; ++part) {
        data::SmfContent content;
        if (!render.RenderPart(part, content)) continue;
        const std::string path = folder + "/" + PartFileName(parts, part);
        std::string error;
        if (!data::WriteSmfFile(path, content, error)) {
            session.Prompter().Inform("Can't write " + path + ": " + error + " !");
            return false;
        }
        result.Files.push_back(path);
    }
    result.MeasuresList = StyleMeasuresList(parts);
    return !result.Files.empty();
}

}  // namespace

bool SaveStyleAsMidi(core::Session& session, const AppState& app, const std::string& folder, StyleMidiFiles& result,
                     std::function<void(bool, const StyleMidiFiles&)> done) {
    result = {};
    const auto answer = [&done](bool written, const StyleMidiFiles& files) {
        if (done) done(written, files);
        return written;
    };
    {
        RenderSession render(session.Paths());
        render.CopyFrom(session, app);
        if (!render.StyleLoaded()) {
            session.Prompter().Inform(NothingToExportText);
            return answer(false, result);
        }
        if (!folder.empty()) return answer(WritePartFiles(session, render, folder, result), result);
    }
    // The style as it is when the folder is chosen is written.
    auto written = std::make_shared<std::optional<bool>>();
    auto files = std::make_shared<StyleMidiFiles>();
    const std::string& styleFolder = session.Style().style.StyleDirectory;
    session.Prompter().ChooseFolderThen(
        SaveStyleAsMidiTitle, styleFolder.empty() ? session.Paths().Styles() : styleFolder,
        [&session, &app, written, files, done](std::optional<std::string> chosen) {
            bool ok = false;
            if (chosen && !chosen->empty()) {
                RenderSession render(session.Paths());
                render.CopyFrom(session, app);
                ok = render.StyleLoaded() && WritePartFiles(session, render, *chosen, *files);
            }
            *written = ok;
            if (done) done(ok, *files);
        });
    if (!written->has_value()) return false;
    result = *files;
    return **written;
}

bool ArrangementToStyleMaterial(core::Session& session, const AppState& app) {
    RenderSession render(session.Paths());
    render.CopyFrom(session, app);
    data::SmfContent content;
    std::string error;
    if (!render.HasSong()) error = ChordMemoryEmptyText;
    if (!error.empty() || !RenderForExport(render, DefaultStyleMeasures, 0, content, error)) {
        session.Prompter().Inform(error);
        return false;
    }
    const std::string path = session.Paths().ProgramFile(ArrangementMaterialFile);
    if (!data::WriteSmfFile(path, content, error)) {
        session.Prompter().Inform("Can't write " + path + ": " + error + " !");
        return false;
    }
    data::MidiImporter importer(session, app.options);
    const bool imported = importer.Import(path, false, true) == data::ImportOutcome::Imported;
    RemoveIfPresent(path);
    RemoveIfPresent(session.Paths().ProgramFile(OldArrangementMaterialFile));
    return imported;
}

}  // namespace chordella::app
