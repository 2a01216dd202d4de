#include "chords/KeyboardLayout.h"

#include "core/Session.h"

namespace chordella::chords {

KeyboardLayout CurrentLayout(core::Session& session) {
    core::AppState& app = session.App();
    KeyboardLayout layout;
    layout.FirstKey = app.chords.FirstKey;
    layout.LastKey = app.config.Keys.LastChordKey;
    layout.Keys = app.config.Keys;
    layout.TriggerLow = app.keyboard.TriggerLow;
    return layout;
}

void ApplyKeyboardLayout(core::Session& session) {
    core::AppState& app = session.App();
    const int first = app.config.Keys.FirstChordKey;
    if (first >= 0) SetFirstKey(app.chords, first);
    app.keyboard.TriggerLow = static_cast<std::int16_t>(TriggerLowFor(app.chords.FirstKey));
}

bool IsControlKey(const data::ControlKeys& keys, int key) {
    if (key < 0) return false;
    for (int k : {keys.FillIn, keys.Ending, keys.ToExtended, keys.ToBasic, keys.Intro, keys.PadOn, keys.PadOff,
                  keys.Extended, keys.Basic}) {
        if (k == key) return true;
    }
    return false;
}

int KeyboardTranspose(core::Session& session) {
    return session.App().engine.KeyboardOctave * 12 + session.App().keyboard.CapoShift;
}

int VelocityOffset(core::Session& session) {
    return session.App().options.MelodyVelocityOffset + session.App().keyboard.StyleVelocityOffset;
}

}  // namespace chordella::chords
