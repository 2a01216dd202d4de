#include "app/RenderInput.h"

#include "app/AppState.h"
#include "app/DataHome.h"
#include "app/ForeignStylePlay.h"
#include "app/RenderSession.h"
#include "core/Session.h"
#include "data/ArrangementState.h"
#include "data/SongStyleLookup.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::app {

std::string LowerExtensionOf(const std::string& path) {
    const std::string_view name = platform::FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return platform::LowerCase(dot == std::string_view::npos ? std::string_view() : name.substr(dot));
}

std::string CheckMeasures(int measures) {
    return measures == NoMeasures || measures >= 1 ? std::string() : "--measures must be 1 or more";
}

namespace {

constexpr int MinFieldTempo = 25;
constexpr int MaxFieldTempo = 250;

bool LoadSongStyle(RenderSession& render, const std::string& song, const std::string& style,
                   std::string& errorFile, std::string& error) {
    std::string path = style;
    if (path.empty()) {
        const data::ArrangementState& arrangement = render.State().arrangement;
        const std::string& stored = arrangement.StyleReference;
        if (!arrangement.HasStyleReference || stored.empty()) {
            errorFile = song;
            error = "the song names no style; give one with --style";
            return false;
        }
        auto found = data::FindSongStyle(stored, render.Session().Paths());
        if (!found) {
            // A fresh set-up has no styles of its own yet: the bundled ones the songs name.
            const std::string bundled = BundledAssetsFolder(platform::ExecutablePath()) + "/styles/" +
                                        std::string(platform::FileNamePart(platform::WithForwardSlashes(stored)));
            if (platform::FileExists(bundled)) found = bundled;
        }
        if (!found) {
            errorFile = song;
            error = "its style \"" + stored + "\" was not found; give one with --style";
            return false;
        }
        path = *found;
    }
    errorFile = path;
    error = platform::WhyNotAFile(path);
    if (!error.empty()) return false;
    return render.LoadStyle(path, error);
}

void PrintNotes(const RenderSession& render, const std::string& input, std::FILE* notes) {
    if (notes == nullptr) return;
    for (const std::string& note : render.LoadNotes()) std::fprintf(notes, "chordella: %s: %s\n", input.c_str(), note.c_str());
}

}  // namespace

bool LoadRenderInput(RenderSession& render, const std::string& input, const std::string& style,
                     std::string& errorFile, std::string& error, std::FILE* notes) {
    errorFile = input;
    error = platform::WhyNotAFile(input);
    if (!error.empty()) return false;
    const std::string extension = LowerExtensionOf(input);
    if (extension == ".vxs" || IsForeignStyleFile(input)) {
        if (!style.empty()) {
            error = "--style is for songs; a style plays on its own";
            return false;
        }
        if (!render.LoadStyle(input, error)) return false;
        PrintNotes(render, input, notes);
        return true;
    }
    if (extension != ".vxa") {
        error = "not a song (.vxa) or a style (.vxs, .sty, .prs, …)";
        return false;
    }
    if (!render.LoadSong(input, error)) return false;
    PrintNotes(render, input, notes);
    if (!LoadSongStyle(render, input, style, errorFile, error)) return false;
    // The style came after the song and brought its own tempo; the song's tempo wins.
    const int songTempo = render.State().arrangement.Chords.SongTempo();
    if (songTempo >= MinFieldTempo && songTempo <= MaxFieldTempo) render.State().clock.Tempo = songTempo;
    return true;
}

}  // namespace chordella::app
