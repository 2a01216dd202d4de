#pragma once
// Where the aggregate of the program's state is split for the modules above the live core
// that own none of it: the songlist, the remote control and the style creator get references
// to the parts they read and set, taken here in one place.

#include "app/AppState.h"
#include "library/SongSnapshot.h"
#include "remote/RemoteControl.h"
#include "stylecreator/StyleCreator.h"

namespace chordella::app {

inline library::SongState SongStateOf(AppState& app) {
    return {app.options, app.arrangement, app.engine, app.keyboard, app.melody, app.songPlay, app.transport};
}

inline remote::RemoteState RemoteStateOf(AppState& app) {
    return {app.options, app.config, app.engine, app.keyboard, app.melody, app.clock};
}

inline stylecreator::LiveState CreatorLiveStateOf(AppState& app) {
    return {app.options, app.chords, app.arrangement, app.clock, app.songPlay, app.engine, app.transport};
}

}  // namespace chordella::app
