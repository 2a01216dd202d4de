#include "app/Settings.h"

#include <sys/utsname.h>

#include <type_traits>

#include "app/OptionsTable.h"
#include "chords/ComputerKeys.h"
#include "platform/Files.h"
#include "platform/KeyboardLayout.h"

namespace chordella::app {

namespace {

constexpr std::string_view OptionsSection = "Options";

std::string StoredPath(const std::string& value) { return platform::WithForwardSlashes(value); }

// A value is one line of the file: a line break in a device name must not start a new key.
std::string OneLine(std::string value) {
    for (char& c : value)
        if (c == '\n' || c == '\r') c = ' ';
    return value;
}

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

Settings::Settings(platform::Paths paths) : paths_(std::move(paths)) {}

void Settings::Load(core::Options& options, data::ConfigState& config, bool forceDefaults) {
    const std::string path = paths_.IniPath();
    config.FirstStart = !platform::FileExists(path);
    ini_ = {};
    loadError_.clear();
    // An unreadable file gives defaults everywhere; it is then not saved over at exit, so
    // what it holds (instrument sets, MIDI commands) is not lost.
    if (!config.FirstStart && !ini_.Load(path, &loadError_)) loadError_ = path + ": " + loadError_;
    Apply(options, config, forceDefaults);
}

void Settings::LoadText(std::string_view text, core::Options& options, data::ConfigState& config, bool forceDefaults) {
    config.FirstStart = false;
    loadError_.clear();
    ini_.Parse(text);
    Apply(options, config, forceDefaults);
}

void Settings::Apply(core::Options& options, data::ConfigState& config, bool forceDefaults) {
    options.UpdatePending = ini_.GetBool(OptionsSection, "UpdateFlag", options.UpdatePending);
    const bool reset = forceDefaults || ini_.GetBool(OptionsSection, "Reset", false);
    // A newcomer's computer keyboard plays the keys printed on it; a stored choice wins.
    options.ComputerKeyboardLayout = chords::LayoutIndexForSystem(platform::SystemKeyboardLayout());
    if (!reset) ReadOptions(options);
    options.ResetSettings = false;
    KeepOptionsInRange(options);

    // A portable folder found without settings file makes the settings portable.
    if (config.FirstStart && paths_.Portable()) options.Portable = true;
    config.Keys = ControlKeysOf(options);
    ApplyPictureRule(options);
    if (options.Portable) ApplyPortableFallbacks(options);
    LoadInstrumentSet(options, config);
    config.Daw = data::ReadDawSettings(ini_);
    config.SetTexts = data::ReadInstrumentSetTexts(ini_);
}

void Settings::ReadOptions(core::Options& options) const {
    for (const OptionKey& key : OptionKeys()) {
        if (key.WrittenOnly) continue;
        std::visit(Overloaded{
                       [&](bool core::Options::*field) {
                           options.*field = ini_.GetBool(key.Section, key.Key, options.*field);
                       },
                       [&](int core::Options::*field) { options.*field = ini_.GetInt(key.Section, key.Key, options.*field); },
                       [&](std::string core::Options::*field) {
                           options.*field = ini_.GetString(key.Section, key.Key, options.*field);
                       },
                       [](ProgramFolderKey) {},
                   },
                   key.Field);
    }
}

void Settings::ApplyPictureRule(core::Options& options) const {
    // The first picture may be replaced by the user's choice; without it the second one
    // is shown whatever was stored.
    const std::string first = paths_.DataDir() + "/" + std::string(FirstPicture);
    if (platform::FileExists(first)) {
        if (options.BackgroundPicture.empty()) options.BackgroundPicture = first;
    } else {
        options.BackgroundPicture = paths_.DataDir() + "/" + std::string(SecondPicture);
    }
}

void Settings::ApplyPortableFallbacks(core::Options& options) const {
    if (!platform::FolderExists(StoredPath(options.SongDirectory))) options.SongDirectory = paths_.Songs();
    if (!platform::FolderExists(StoredPath(options.StyleDirectory))) options.StyleDirectory = paths_.Styles();
    if (!platform::FileExists(StoredPath(options.SonglistFile))) options.SonglistFile = paths_.Songs() + "/DEMO.VXL";
    if (!platform::FileExists(StoredPath(options.BackgroundPicture)))
        options.BackgroundPicture = paths_.DataDir() + "/chordella.bmp";
    if (!platform::FileExists(StoredPath(options.InstrumentSetFile))) options.InstrumentSetFile.clear();
}

void Settings::LoadInstrumentSet(core::Options& options, data::ConfigState& config) const {
    config.Instruments = data::ActiveInstrumentSet(options.InstrumentSetFile);
    options.PatchMode = config.Instruments.PatchMode;
}

SaveOutcome Settings::Save(const core::Options& options, bool readOnlyMedia, std::string* error) {
    if (readOnlyMedia) return SaveOutcome::ReadOnlyMedia;
    if (!options.AutoSaveSettings) return SaveOutcome::AutoSaveOff;
    if (!loadError_.empty()) {
        if (error) *error = loadError_ + " at start-up, so it was left as it was";
        return SaveOutcome::Failed;
    }
    for (const OptionKey& key : OptionKeys()) {
        std::visit(Overloaded{
                       [&](bool core::Options::*field) { ini_.SetBool(key.Section, key.Key, options.*field); },
                       [&](int core::Options::*field) { ini_.SetInt(key.Section, key.Key, options.*field); },
                       [&](std::string core::Options::*field) {
                           ini_.SetString(key.Section, key.Key, OneLine(options.*field));
                       },
                       [&](ProgramFolderKey) { ini_.SetString(key.Section, key.Key, paths_.DataDir()); },
                   },
                   key.Field);
    }
    ini_.SetBool(OptionsSection, "UpdateFlag", false);
    ini_.SetString(OptionsSection, "OS", OperatingSystemDescription());
    if (!platform::MakeFolders(paths_.ConfigDir())) {
        if (error) *error = paths_.ConfigDir() + ": cannot create the folder";
        return SaveOutcome::Failed;
    }
    return ini_.Save(paths_.IniPath(), error) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

bool Settings::StoreInstrumentSetText(data::ConfigState& config, int number, const std::string& text,
                                      bool readOnlyMedia, std::string* error) {
    if (!config.SetTexts.Set(number, text)) {
        if (error) *error = "no instrument set number " + std::to_string(number);
        return false;
    }
    data::WriteInstrumentSetText(ini_, number, OneLine(text));
    if (readOnlyMedia) return true;  // kept for this session only
    if (!loadError_.empty()) {
        if (error) *error = loadError_;
        return false;
    }
    return platform::MakeFolders(paths_.ConfigDir()) && ini_.Save(paths_.IniPath(), error);
}

data::ControlKeys ControlKeysOf(const core::Options& options) {
    data::ControlKeySettings settings;
    settings.FillIn = {options.FillInKeyNote, options.FillInKeyOctave};
    settings.Ending = {options.EndingKeyNote, options.EndingKeyOctave};
    settings.ToExtended = {options.ToExtKeyNote, options.ToExtKeyOctave};
    settings.ToBasic = {options.ToBasicKeyNote, options.ToBasicKeyOctave};
    settings.FirstChordKey = {options.FirstAccKeyNote, options.FirstAccKeyOctave};
    settings.LastChordKey = {options.LastAccKeyNote, options.LastAccKeyOctave};
    return data::DeriveControlKeys(settings);
}

void KeepOptionsInRange(core::Options& options) {
    const core::Options defaults;
    const auto within = [](int& value, int low, int high, int fallback) {
        if (value < low || value > high) value = fallback;
    };
    within(options.FillInKeyNote, 0, 11, defaults.FillInKeyNote);
    within(options.EndingKeyNote, 0, 11, defaults.EndingKeyNote);
    within(options.ToExtKeyNote, 0, 11, defaults.ToExtKeyNote);
    within(options.ToBasicKeyNote, 0, 11, defaults.ToBasicKeyNote);
    within(options.FirstAccKeyNote, 0, 11, defaults.FirstAccKeyNote);
    within(options.LastAccKeyNote, 0, 11, defaults.LastAccKeyNote);
    within(options.FillInKeyOctave, 0, 10, defaults.FillInKeyOctave);
    within(options.EndingKeyOctave, 0, 10, defaults.EndingKeyOctave);
    within(options.ToExtKeyOctave, 0, 10, defaults.ToExtKeyOctave);
    within(options.ToBasicKeyOctave, 0, 10, defaults.ToBasicKeyOctave);
    within(options.FirstAccKeyOctave, 0, 10, defaults.FirstAccKeyOctave);
    within(options.LastAccKeyOctave, 0, 10, defaults.LastAccKeyOctave);
    within(options.AccChannel, 0, 16, defaults.AccChannel);
    within(options.PadChannel, 0, 15, defaults.PadChannel);
    if (options.ChordPreview != 0 && options.ChordPreview != 4 && options.ChordPreview != 8 &&
        options.ChordPreview != 12)
        options.ChordPreview = defaults.ChordPreview;
}

std::string OperatingSystemDescription() {
    utsname name{};
    if (uname(&name) != 0) return "Linux";
    return std::string(name.sysname) + " " + name.release + " " + name.machine;
}

}  // namespace chordella::app
