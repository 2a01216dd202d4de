#pragma once
// The settings file: read once at start-up into the options and the configuration state,
// written once at exit. The file object is kept between the two, so sections this program
// only reads (MIDICOM, DAWC), the instrument-set texts and keys it does not know survive
// the save unchanged.

#include <string>
#include <string_view>

#include "core/Options.h"
#include "data/ConfigState.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace chordella::app {

enum class SaveOutcome {
    Saved,
    ReadOnlyMedia,     // the settings folder cannot be written: never write the file
    AutoSaveOff,       // "Auto-save settings" is not ticked
    Failed,            // the write failed; the reason is in the error text
};

class Settings {
public:
    static constexpr std::string_view FirstPicture = "chordella_pic06.bmp";
    static constexpr std::string_view SecondPicture = "Tessel.bmp";

    explicit Settings(platform::Paths paths);

    // Reads the file into `options` and `config`, which start from their defaults. A
    // missing file is the first start; a damaged one gives defaults where it cannot be
    // read. `forceDefaults` (the command line's --reset) acts like "Reset" in the file:
    // only "UpdateFlag" is read, and "Reset" is cleared in memory.
    void Load(core::Options& options, data::ConfigState& config, bool forceDefaults = false);

    // The same from the file's text (tests, the fuzz target).
    void LoadText(std::string_view text, core::Options& options, data::ConfigState& config, bool forceDefaults = false);

    // Writes every key of section Options in order ("UpdateFlag" as 0), unless the media is
    // read-only or auto-save is off.
    SaveOutcome Save(const core::Options& options, bool readOnlyMedia, std::string* error = nullptr);

    // Stores an instrument-set text (keys "1" … "11" of "Ins-Set") and writes the file at
    // once, as the instrument window does; not on read-only media.
    bool StoreInstrumentSetText(data::ConfigState& config, int number, const std::string& text, bool readOnlyMedia,
                                std::string* error = nullptr);

    const platform::IniFile& File() const { return ini_; }

private:
    void Apply(core::Options& options, data::ConfigState& config, bool forceDefaults);
    void ReadOptions(core::Options& options) const;
    void ApplyPictureRule(core::Options& options) const;
    void ApplyPortableFallbacks(core::Options& options) const;
    void LoadInstrumentSet(core::Options& options, data::ConfigState& config) const;

    platform::Paths paths_;
    platform::IniFile ini_;
    std::string loadError_;  // why an existing file could not be read at start-up
};

// The control keys as MIDI notes, from the notes and octaves of the options.
data::ControlKeys ControlKeysOf(const core::Options& options);

// Values a damaged or hand-edited file may hold outside what their controls allow are set
// back to their defaults: note indexes 0 … 11, octaves 0 … 10, channel lists, preview.
void KeepOptionsInRange(core::Options& options);

// A short description of the system for the key "OS".
std::string OperatingSystemDescription();

}  // namespace chordella::app
