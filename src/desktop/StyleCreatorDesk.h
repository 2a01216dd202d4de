#pragma once
// The style creator as the desktop window drives it: the creator's state and facade with the
// commands built on it (parts, quick style, structure file, recording and capture, the event
// editor, work files with their questions), one request at a time. Control thread only.

#include <functional>
#include <memory>

#include "core/MidiImport.h"
#include "desktop/StyleCreatorRequests.h"
#include "stylecreator/CreatorHost.h"
#include "stylecreator/CreatorPlayer.h"
#include "stylecreator/EventEditor.h"
#include "stylecreator/PartSetter.h"

namespace chordella::app { struct AppState; }
namespace chordella::core { class Session; }

namespace chordella::desktop {

inline constexpr const char* ReplaceChordsSongOrStyle = "Replace current chords, song or style ?";
inline constexpr const char* ReplaceWorkAndTest = "Replace current work and test style ?";
inline constexpr const char* SaveWorkTitle = "Save Work as ...";
inline constexpr const char* SaveWorkFirst = "Save Work first ?";
inline constexpr const char* LoadStyleTitle = "Load Style";
inline constexpr const char* StyleFileFilter = "Styles (*.vxs)|*.vxs";

class StyleCreatorDesk {
public:
    // `imports`: the import's steps in the modules around the creator (tempo, meter, style
    // reset, …); it must outlive the desk.
    StyleCreatorDesk(core::Session& session, app::AppState& app, data::MidiImportLink& imports);
    ~StyleCreatorDesk();

    // Carries out one request; answers what the window shows afterwards. Questions asked on
    // the way answer later: the window asks for a Refresh when they are done.
    CreatorView Handle(const CreatorRequest& request);
    CreatorView View() const;

    // Before exit: a work changed since it was imported, loaded or saved is offered for
    // saving ("Save Work first ?", then "Save Work as ..."). `done` gets false when the save
    // dialog was cancelled or the save failed (the program then stays).
    void OfferSaveBeforeExit(std::function<void(bool proceed)> done);

    stylecreator::StyleCreator& Creator() { return creator_; }
    stylecreator::MidiRecorder& Recorder() { return recorder_; }

private:
    void TakeSettings(const CreatorRequest& request);
    // "Import MIDI": stop, clear the work (it may offer to save the style), import; playback
    // starts unless the style is marked modified.
    void ImportMidi(const std::string& path);
    void Imported(const std::string& path);
    void LoadWork(const std::string& path);
    void SaveWork(const std::string& path);
    void LoadStyle(const std::string& path);
    void PartFlags(const CreatorRequest& request);
    // "Style.src" in the settings folder, written with empty sections when it is missing;
    // empty when it cannot be written.
    std::string EnsureStructureFile();
    void TestStyle();
    void Structure(bool styleB);
    void PlayFromStart();
    void Events(const CreatorRequest& request);
    void Status(const std::string& text) { status_ = text; }

    core::Session& session_;
    app::AppState& app_;
    stylecreator::CreatorState state_;
    stylecreator::StyleCreator creator_;
    stylecreator::CreatorPlayer player_;
    stylecreator::CreatorHost host_;
    stylecreator::PartSetter setter_;
    stylecreator::QuickStyle quick_;
    stylecreator::EventEditor events_;
    stylecreator::MidiRecorder recorder_;
    stylecreator::CaptureStyle capture_;
    data::MidiImporter importer_;
    std::string workDirectory_;
    std::string status_;
    bool capturing_ = false;
};

}  // namespace chordella::desktop
