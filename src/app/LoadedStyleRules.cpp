#include "app/LoadedStyleRules.h"

#include "app/AppState.h"
#include "app/ForeignStylePlay.h"
#include "core/Options.h"
#include "core/Session.h"
#include "engine/ChannelSettings.h"
#include "platform/Paths.h"
#include "stylecreator/ConverterLists.h"

namespace chordella::app {

using namespace stylecreator;

namespace {

constexpr std::uint8_t AllNotesOff = 123;

}  // namespace

LoadedStyleRules::LoadedStyleRules(core::Session& session, AppState& app) : session_(session), app_(app) {
    session_.StyleLoadLink().Add(this);
}

LoadedStyleRules::~LoadedStyleRules() { session_.StyleLoadLink().Remove(this); }

ChannelNames LoadedStyleRules::Names() const {
    return RuleNamesOf(session_.Style().style, app_.config.Instruments);
}

NormaliseSettings LoadedStyleRules::NormaliseWith(int target) const {
    const core::Options& options = app_.options;
    NormaliseSettings settings;
    settings.Target = target;
    settings.SoloOnChannel1 = options.SoloOnChannel1;
    settings.DampenGuitarsAndStrings = options.DampenGuitarsAndStrings;
    settings.SoloChannel = options.Solo > 0 ? options.Solo - 1 : -1;
    return settings;
}

void LoadedStyleRules::ApplyOnLoad() {
    normalisation_ = {};
    data::StyleState& style = session_.Style().style;
    if (!style.StyleLoaded || style.StyleLength <= 0 || !style.StreamBytes()) return;
    const core::Options& options = app_.options;
    // The rules fit the style to this program's set-up; the file itself is unchanged.
    const std::uint8_t modified = style.StyleModified;

    if (options.BassOutputOnChannel11) MoveBassToChannel11(TargetOf(style), Names(), *this);
    if (options.SoloOnChannel1) FreeChannel1ForSolo(TargetOf(style), options.Solo > 0 ? options.Solo - 1 : -1);
    MuteAndDampen rule;
    rule.MuteBass = muteBass_;
    rule.MuteGuitars = muteGuitars_;
    rule.Dampen = options.DampenGuitarsAndStrings;
    rule.DampenAmount = options.DampenValue;
    rule.SetMutes = true;   // on load the checked roles end muted, whatever the boxes showed
    ApplyMuteAndDampen(style, Names(), rule, *this);
    if (options.ReverbOff || options.ReverbDefined)
        AddStyleOffset(style, normalisation_, OffsetKind::Reverb, options.ReverbOff ? ReverbToZero : ReverbToDefined,
                       {options.ReverbValueChannel10, options.ReverbValue}, *this);
    if (options.NormalizeVolume) NormaliseVolumes(style, Names(), normalisation_, NormaliseWith(MainWindowNormaliseTarget), *this);
    style.StyleModified = modified;
}

StyleRulesView LoadedStyleRules::Handle(const StyleRulesRequest& request) {
    core::Options& options = app_.options;
    data::StyleState& style = session_.Style().style;
    const bool styleThere = style.StyleLoaded && style.StyleLength > 0 && style.StreamBytes();
    switch (request.What) {
        case StyleRulesRequest::Refresh: break;
        case StyleRulesRequest::BassOnChannel11: options.BassOutputOnChannel11 = request.On; break;
        case StyleRulesRequest::SoloOnChannel1: options.SoloOnChannel1 = request.On; break;
        case StyleRulesRequest::NormalizeOnLoad: options.NormalizeVolume = request.On; break;
        case StyleRulesRequest::ReverbOff:
            options.ReverbOff = request.On;
            if (request.On) options.ReverbDefined = false;
            break;
        case StyleRulesRequest::ReverbDefined:
            options.ReverbDefined = request.On;
            if (request.On) options.ReverbOff = false;
            break;
        case StyleRulesRequest::MuteBass:
        case StyleRulesRequest::MuteGuitars: {
            const bool bass = request.What == StyleRulesRequest::MuteBass;
            bool& checked = bass ? muteBass_ : muteGuitars_;
            if (checked == request.On) break;
            checked = request.On;
            // The button toggles the mute boxes of the pressed role only.
            MuteAndDampen rule;
            rule.MuteBass = bass;
            rule.MuteGuitars = !bass;
            if (styleThere) ApplyMuteAndDampen(style, Names(), rule, *this);
            break;
        }
        case StyleRulesRequest::Dampen: {
            const bool was = options.DampenGuitarsAndStrings;
            options.DampenGuitarsAndStrings = request.On;
            if (!request.On || was || !styleThere) break;
            MuteAndDampen rule;
            rule.Dampen = true;
            rule.DampenAmount = options.DampenValue;
            ApplyMuteAndDampen(style, Names(), rule, *this);
            break;
        }
        case StyleRulesRequest::NormalizeNow: {
            if (!styleThere) break;
            NormaliseVolumes(style, Names(), normalisation_, NormaliseWith(MainWindowNormaliseTarget), *this);
            if (options.DampenGuitarsAndStrings) {
                MuteAndDampen rule;
                rule.Dampen = true;
                rule.DampenAmount = options.DampenValue;
                ApplyMuteAndDampen(style, Names(), rule, *this);
            }
            break;
        }
        case StyleRulesRequest::NormalizeToCreatorTarget:
            if (styleThere)
                NormaliseVolumes(style, Names(), normalisation_, NormaliseWith(options.NormalizeVolumeTarget), *this);
            break;
        case StyleRulesRequest::RestoreVolume:
            if (styleThere) RestoreVolumes(style, normalisation_, options.SoloOnChannel1, *this);
            break;
        case StyleRulesRequest::VolumeOffset:
        case StyleRulesRequest::ReverbOffset:
            if (!styleThere || request.Amount == 0) break;
            AddStyleOffset(style, normalisation_,
                           request.What == StyleRulesRequest::VolumeOffset ? OffsetKind::Volume : OffsetKind::Reverb,
                           request.Amount, {options.ReverbValueChannel10, options.ReverbValue}, *this);
            style.StyleModified = 1;
            break;
        case StyleRulesRequest::VariationsSet: {
            if (request.Amount < 0 || request.Amount > stylecreator::RandomPartsItem) break;
            const bool changed = options.ConverterSet != request.Amount;
            options.ConverterSet = request.Amount;
            // The keyboard style that plays is heard with the new set at once.
            if (changed && style.StyleLoaded && IsForeignStyleFile(style.StylePath)) OpenForeignStyle(style.StylePath);
            break;
        }
    }
    return View();
}

StyleRulesView LoadedStyleRules::View() const {
    const core::Options& options = app_.options;
    StyleRulesView view;
    view.BassOnChannel11 = options.BassOutputOnChannel11;
    view.MuteBass = muteBass_;
    view.MuteGuitars = muteGuitars_;
    view.Dampen = options.DampenGuitarsAndStrings;
    view.SoloOnChannel1 = options.SoloOnChannel1;
    view.NormalizeOnLoad = options.NormalizeVolume;
    view.ReverbOff = options.ReverbOff;
    view.ReverbDefined = options.ReverbDefined;
    view.Normalised = normalisation_.Normalised;
    view.VolumeOffsetText = VolumeOffsetText(normalisation_);
    view.ReverbOffsetText = ReverbOffsetText(normalisation_);
    view.VariationsSet = options.ConverterSet;
    return view;
}

void LoadedStyleRules::SendController(int channel, int controller, int value) {
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (out == nullptr || !out->IsOpen()) return;
    out->PutShort(static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
                  static_cast<std::uint8_t>(value));
}

bool LoadedStyleRules::IsMuted(int channel) const {
    return engine::ChannelMuted(app_.engine, channel);
}

void LoadedStyleRules::SetMuted(int channel, bool muted) {
    engine::SetChannelMute(app_.engine, channel, muted);
    if (muted) SendController(channel, AllNotesOff, 0);
}

void LoadedStyleRules::SetMixerVolume(int channel, int value) {
    session_.Controllers().SetValue(channel, 7, static_cast<std::uint8_t>(value));
}

void LoadedStyleRules::SetMixerReverb(int channel, int value) {
    session_.Controllers().SetValue(channel, 91, static_cast<std::uint8_t>(value));
}

bool LoadedStyleRules::ConvertForeignStyle(const std::string& path) {
    if (!IsForeignStyleFile(path)) return false;
    OpenForeignStyle(path);
    return true;   // answered, loaded or told why not: no other module converts it
}

bool LoadedStyleRules::OpenForeignStyle(const std::string& path) {
    const ForeignLoad loaded = LoadForeignStyle(session_, app_, path, app_.options.ConverterSet + 1);
    if (!loaded.Loaded) {
        session_.Prompter().Inform("Cannot open the style \"" + std::string(platform::FileNamePart(path)) +
                                   "\": " + loaded.Error + " !");
        return false;
    }
    if (!loaded.Messages.empty()) ShowStatus(loaded.Messages.front());
    return true;
}

void LoadedStyleRules::ShowStatus(const std::string& text) { session_.Display().ShowStatus(text); }

}  // namespace chordella::app
