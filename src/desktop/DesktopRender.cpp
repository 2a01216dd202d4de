// "Song → Render to WAV…" of the window: what `chordella render` does, for the song and
// style the window has open.
#include "app/AppState.h"
#include "app/MidiExport.h"
#include "app/RenderInput.h"
#include "app/RenderSession.h"
#include "core/Session.h"
#include "desktop/DesktopCore.h"
#include "engine/OfflineRenderer.h"

namespace chordella::desktop {

bool DesktopCore::RenderToWav(const std::string& path) {
    platform::Prompter& prompter = session_.Prompter();
    if (Running()) {
        prompter.Inform("Stop the music before rendering it !");
        return false;
    }
    const std::string& stylePath = session_.Style().style.StylePath;
    std::string input = app_.arrangement.ArrangementPath;
    std::string style = stylePath;
    if (input.empty()) std::swap(input, style);  // no song: the style alone
    if (input.empty()) {
        prompter.Inform("Open a song or a style to render first !");
        return false;
    }
    session_.Display().ShowStatus("Rendering to WAV ...");
    app::RenderSession render(session_.Paths());
    std::string errorFile, error;
    data::SmfContent content;
    bool done = app::LoadRenderInput(render, input, style, errorFile, error);
    if (done) {
        errorFile = input;
        done = app::RenderForExport(render, app::DefaultStyleMeasures, 0, content, error);
    }
    if (done) {
        errorFile = path;
        done = engine::RenderWav(content, path, error);
    }
    session_.Display().ShowStatus("");
    if (!done) {
        prompter.Inform("Can't render " + errorFile + " (" + error + ") !");
        return false;
    }
    prompter.Inform("The WAV file " + path + " is written !");
    return true;
}

}  // namespace chordella::desktop
