#pragma once
// Opening, saving, deleting, resetting and restoring the one loaded style. The style lives in
// the style container (StyleState); this class is the only writer of a whole new style into it.
// A load reads and checks the file completely before anything is replaced, so a damaged or
// missing file leaves the earlier style as it was.
//
// The operations that ask (open, load, delete, reset) never wait for the answer: they ask,
// return, and go on when the answer arrives, while the control loop keeps playing. Their
// result is answered at once when every question was answered before they returned (the
// command line, scripted tests); otherwise they answer Asking (false for Delete) and hand the
// outcome to `done` later. The store may be a temporary: what goes on later keeps a copy.

#include <functional>
#include <span>
#include <string>

#include "data/NativeRules.h"
#include "data/StyleLoadLink.h"
#include "data/StyleNames.h"

namespace chordella::core { class Session; }

namespace chordella::data {

struct StyleState;

enum class StyleLoadResult {
    Loaded,
    Cancelled,   // a question answered No, no file chosen, or a recording runs
    Failed,      // the file could not be read or is damaged; a message was shown
    Asking,      // a question is open; the outcome goes to `done` when it is answered
};

using StyleLoadDone = std::function<void(StyleLoadResult)>;

// How a style reference from an arrangement or list is opened when it is not found.
enum class MissingStyle {
    Tell,        // "Style not found !"
    Silent,      // shuffle mode and batch: the caller is told through the result only
};

class StyleStore {
public:
    // The hooks must outlive the store and its open questions; nullptr uses the session's
    // StyleLoadLink() (the modules that take part in loading add themselves there).
    explicit StyleStore(core::Session& session, StyleLoadLink* hooks = nullptr);

    // Control thread, all of them.
    // The open dialog ("Open style ..."); a foreign format goes to the converter hook.
    StyleLoadResult OpenWithDialog(StyleLoadDone done = {});
    // Loads a .vxs file. `userStarted`: asked for by the user (the "Replace current work ?"
    // question); `asDefaultStyle`: the start-up default style, StyleDirectory stays.
    StyleLoadResult Load(const std::string& path, bool userStarted = true, bool asDefaultStyle = false,
                         StyleLoadDone done = {});
    // Installs a style built in memory from a foreign file (`vxsBytes`, the layout our files
    // have), named after `path`, playing by `native` (the file's channel-table rules). No
    // questions: the caller asked them. Failed (after a message) when the bytes do not read.
    StyleLoadResult InstallBuilt(const std::string& path, std::span<const std::uint8_t> vxsBytes,
                                 const NativeRules& native);
    // Opens the style an arrangement or list names (a stored path, possibly a Windows path).
    // An empty path does nothing and answers Cancelled.
    StyleLoadResult OpenByPath(const std::string& storedPath, MissingStyle missing = MissingStyle::Tell,
                               StyleLoadDone done = {});

    // Writes the loaded style; nothing happens (false) with StyleLength 0 or no part present.
    bool Save(const std::string& path);
    // "Are you sure you want to delete the style "NAME"?"; on Yes deletes StylePath. True
    // when the file was deleted (false while the question is open; `done` gets the outcome).
    bool Delete(std::function<void(bool deleted)> done = {});
    // A new, empty style; asks "Save Style first ?" when the style is modified (Yes saves it).
    // `done` runs once the style was reset.
    void Reset(std::function<void()> done = {});
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
    // The load once its questions were answered Yes.
    StyleLoadResult LoadConfirmed(const std::string& path, bool asDefaultStyle);
    StyleLoadResult Replace(const std::string& path, bool asDefaultStyle);
    StyleLoadResult ReplaceWith(const std::string& path, std::span<const std::uint8_t> file, bool asDefaultStyle,
                                const NativeRules& native);
    // The open dialog's file: a .vxs file loads, another format goes to the converter.
    void OpenChosen(const std::string& chosen, StyleLoadDone finish);

    core::Session& session_;
    StyleLoadLink* hooks_;
};

}  // namespace chordella::data
