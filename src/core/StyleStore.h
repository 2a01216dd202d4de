#pragma once
// Opening, saving, deleting, resetting and restoring the one loaded style. The style lives in
// the style container (StyleState); this class is the only writer of a whole new style into it.
// A load reads and checks the file completely before anything is replaced, so a damaged or
// missing file leaves the earlier style as it was.

#include <string>

#include "data/StyleLoadLink.h"
#include "data/StyleNames.h"

namespace chordella::core { class Session; }

namespace chordella::data {

struct StyleState;

enum class StyleLoadResult {
    Loaded,
    Cancelled,   // a question answered No, no file chosen, or a recording runs
    Failed,      // the file could not be read or is damaged; a message was shown
};

// How a style reference from an arrangement or list is opened when it is not found.
enum class MissingStyle {
    Tell,        // "Style not found !"
    Silent,      // shuffle mode and batch: the caller is told through the result only
};

class StyleStore {
public:
    // The hooks must outlive the store; nullptr uses the session's StyleLoadLink() (the modules
    // that take part in loading add themselves there).
    explicit StyleStore(core::Session& session, StyleLoadLink* hooks = nullptr);

    // Control thread, all of them.
    // The open dialog ("Open style ..."); a foreign format goes to the converter hook.
    StyleLoadResult OpenWithDialog();
    // Loads a .vxs file. `userStarted`: asked for by the user (the "Replace current work ?"
    // question); `asDefaultStyle`: the start-up default style, StyleDirectory stays.
    StyleLoadResult Load(const std::string& path, bool userStarted = true, bool asDefaultStyle = false);
    // Opens the style an arrangement or list names (a stored path, possibly a Windows path).
    // An empty path does nothing and answers Cancelled.
    StyleLoadResult OpenByPath(const std::string& storedPath, MissingStyle missing = MissingStyle::Tell);

    // Writes the loaded style; nothing happens (false) with StyleLength 0 or no part present.
    bool Save(const std::string& path);
    // "Are you sure you want to delete the style "NAME"?"; on Yes deletes StylePath.
    bool Delete();
    // A new, empty style; asks "Save Style first ?" when the style is modified (Yes saves it).
    void Reset();
    // "Restore Original" / "Restore all": the stream as loaded comes back.
    void RestoreOriginal();
    // "Restore": every part whose saved start is non-zero gets its loaded start and end measure.
    void RestorePartBounds();

    // Makes the stream and backup buffers once. False (after "Sorry - Out of Memory !") when
    // memory is short; the style functions then stay unavailable.
    bool EnsureBuffers();

    StyleState& Style();

private:
    void ResetState();
    StyleLoadResult Replace(const std::string& path, bool userStarted, bool asDefaultStyle);

    core::Session& session_;
    StyleLoadLink* hooks_;
};

}  // namespace chordella::data
