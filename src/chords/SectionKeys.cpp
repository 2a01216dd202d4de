#include "chords/SectionKeys.h"

#include "chords/KeyboardState.h"
#include "core/Options.h"
#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
#include "data/ConfigState.h"
#include "data/ControlKeys.h"
#include "engine/TransportState.h"

namespace chordella::chords {

namespace {

constexpr int KeyMarkTarget = 223;  // the program-change command passes key marks
constexpr int SongStartPosition = 4;
constexpr int SecondRecordingMode = 2;
constexpr int EndingPart = 3;  // an ending is pending while it is the part to follow

}  // namespace

SectionKeys::SectionKeys(core::Session& session, const KeyboardState& keyboard, const core::Options& options,
                         const data::ConfigState& config, const engine::TransportState& transportState,
                         ChordRecogniser& recogniser, core::EngineLink& engine, core::TransportLink& transport,
                         InputLink& peers)
    : session_(session),
      keyboard_(keyboard),
      options_(options),
      config_(config),
      transportState_(transportState),
      recogniser_(recogniser),
      engine_(engine),
      transport_(transport),
      peers_(&peers) {}

void SectionKeys::SetPeers(InputLink& peers) { peers_ = &peers; }

void SectionKeys::SectionKey(int key, int code) {
    if (code == 0 || key <= 0 || key > 0x7FFF) return;
    if (options_.PlayChords && transportState_.ChordPlayMode != SecondRecordingMode) return;
    const engine::StylePlayerState& player = session_.Style().player;
    if (player.StyleActive == 0 && player.StyleMode) {
        peers_->Play();
        return;
    }
    const data::ControlKeys& keys = config_.Keys;
    if (code == MajorKeyMark || code == MinorKeyMark) {
        if (!engine_.ChordPreviewPastFirstMeasure()) {
            recogniser_.ShowKey(key, code == MinorKeyMark, keyboard_.CapoShift);
        }
        if (peers_->ChordMemoryPosition() == SongStartPosition && keys.Basic > 0) {
            key = keys.Basic;
            code = SectionKeyCode;
        } else if (key != KeyMarkTarget) {
            return;
        }
    }
    if (key == keys.Ending) {
        if (session_.Style().sections.NextSection == EndingPart) {
            transport_.Stop();
            return;
        }
        if (peers_->TakeEndingSuppression()) return;
    }
    if (options_.PadMuteAtIntrosAndEndings && options_.HarmonicPad && (key == keys.Intro || key == keys.Ending)) {
        peers_->SetUpPadChannel();
    }
    engine_.SubmitControlKey(static_cast<std::int16_t>(key), static_cast<std::int16_t>(code));
}

void SectionKeys::StopTriggeredChord() { engine_.StopChordSound(); }

}  // namespace chordella::chords
