// The 24 program-control functions of the remote control.

#include <algorithm>

#include "chords/KeyboardState.h"
#include "chords/SectionKeys.h"
#include "core/ClockLink.h"
#include "core/Session.h"
#include "data/StyleModel.h"
#include "engine/Transport.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"

namespace chordella::remote {

namespace {
constexpr int TempoStep = 5;
constexpr int VolumeStep = 10;
constexpr int HighestCapo = 11;
constexpr int VolumeController = 7;
constexpr int Part(data::StylePart part) { return static_cast<int>(part); }
}  // namespace

void RemoteControl::ProgramControl(int number) {
    if (number >= FirstCommandFunction && number < FirstCommandFunction + CommandCount) {
        ++functionsRun_;
        commands_.Execute(number - FirstCommandFunction);
        return;
    }
    if (number < 0 || number >= ProgramFunctionCount) return;
    ++functionsRun_;
    switch (number) {
    case function::MelodyAdLib:
        options_.MelodyAdLib = !options_.MelodyAdLib;
        session_.Display().ShowMelodyAdLib(options_.MelodyAdLib);
        break;
    case function::StartStop:
        if (transport_.StyleStarted()) {
            transport_.Stop();
        } else {
            transport_.StartStyle();
        }
        break;
    case function::Pad: options_.InstrumentPad = !options_.InstrumentPad; break;
    case function::OctaveDown: Transpose(-1, 0); break;
    case function::OctaveUp: Transpose(1, 0); break;
    case function::ToneDown: Transpose(0, -1); break;
    case function::ToneUp: Transpose(0, 1); break;
    case function::TempoDown: ChangeTempo(-TempoStep); break;
    case function::TempoUp: ChangeTempo(TempoStep); break;
    case function::VolumeDown: ChangeVolume(-VolumeStep); break;
    case function::VolumeUp: ChangeVolume(VolumeStep); break;
    case function::FillIn:
    case function::ToExtended:
    case function::ToBasic:
    case function::Ending: SectionKey(number); break;
    case function::KeyAdjustment: options_.KeyAdjustment = !options_.KeyAdjustment; break;
    case function::ProgramChanges:
        if (host_ && host_->EditorBusy()) break;
        SetProgramChangesIgnored(!ProgramChangesIgnored());
        if (!ProgramChangesIgnored()) commands_.SendDawMessages();
        break;
    case function::RandomInstruments: options_.RandomInstruments = !options_.RandomInstruments; break;
    case function::OtherMelodyInstrument: {
        // One of the twelve instrument keys at random, when any is assigned.
        const bool any = [&] {
            for (int k = 0; k < SetKeyCount; ++k)
                if (keys_.Record(k).Assigned() && keys_.Record(k).Code < FirstCommandCode) return true;
            return false;
        }();
        if (any) InstrumentKey(static_cast<int>(session_.Random().Below(SetKeyCount)));
        break;
    }
    default:  // melody, new song, chords, style, program codes: the window's
        if (host_) host_->RunHostFunction(number);
        break;
    }
}

void RemoteControl::Transpose(int octaves, int semitones) {
    engineState_.KeyboardOctave =
        static_cast<std::int16_t>(std::clamp(engineState_.KeyboardOctave + octaves, LowestOctave, HighestOctave));
    keyboard_.CapoShift =
        static_cast<std::int16_t>(std::clamp(keyboard_.CapoShift + semitones, -HighestCapo, HighestCapo));
}

void RemoteControl::ChangeTempo(int step) {
    const int tempo = clockState_.Tempo + step;
    if (tempo < LowestTempo || tempo > HighestTempo) return;
    clock_.TempoFieldChanged(tempo);
}

void RemoteControl::ChangeVolume(int step) {
    engineState_.VoiceVolume = static_cast<std::uint8_t>(std::clamp(engineState_.VoiceVolume + step, 0, 127));
    midi::TMidiOutput* out = session_.CurrentOutput();
    if (out && out->IsOpen())
        out->PutShort(static_cast<std::uint8_t>(0xB0 | (engineState_.VoiceChannel & 0x0F)), VolumeController,
                      engineState_.VoiceVolume);
}

void RemoteControl::SectionKey(int function) {
    if (!transport_.StyleStarted()) return;
    const data::ControlKeys& keys = config_.Keys;
    const int key = function == function::FillIn       ? keys.FillIn
                    : function == function::ToExtended ? keys.ToExtended
                    : function == function::ToBasic    ? keys.ToBasic
                                                       : keys.Ending;
    sectionKeys_.SectionKey(key, chords::SectionKeyCode);
}

// A foot switch steps between the two main parts: from Basic (or its fill) to Extended, from
// anything else back to Basic. Before the style plays it starts it.
void RemoteControl::NextSection() {
    if (!transport_.StyleStarted()) {
        transport_.StartStyle();
        return;
    }
    const int section = session_.Style().player.CurrentSection;
    const bool inBasic = section == Part(data::StylePart::Basic) || section == Part(data::StylePart::FillInBasic) ||
                         section == Part(data::StylePart::ToBasic);
    SectionKey(inBasic ? function::ToExtended : function::ToBasic);
}

}  // namespace chordella::remote
