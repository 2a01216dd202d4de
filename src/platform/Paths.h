#pragma once
// Where the program keeps its files: the data home with SONGS, STYLES and LISTS, and
// the INI file. Portable mode keeps everything in one folder.

#include <optional>
#include <string>
#include <string_view>

namespace chordella::platform {

class Paths {
public:
    // Name of the marker file beside the executable that asks for portable mode.
    static constexpr std::string_view PortableMarker = "Portable Chordella.txt";
    static constexpr std::string_view IniFileName = "chordella.ini";

    // The order of choice: `--home DIR`, then CHORDELLA_HOME, then the marker file beside
    // the executable (portable: its folder), else the XDG folders (~/.config/chordella for
    // the INI file, ~/.local/share/chordella for songs, styles and lists).
    static Paths Resolve(const std::optional<std::string>& homeFlag, const std::string& executablePath);
    // Everything in one folder (portable mode, tests).
    static Paths InFolder(const std::string& folder);

    bool Portable() const { return portable_; }
    const std::string& ConfigDir() const { return configDir_; }
    const std::string& DataDir() const { return dataDir_; }
    std::string Songs() const { return dataDir_ + "/SONGS"; }
    std::string Styles() const { return dataDir_ + "/STYLES"; }
    std::string Lists() const { return dataDir_ + "/LISTS"; }
    std::string IniPath() const { return configDir_ + "/" + std::string(IniFileName); }
    // A file of the program's own beside the INI file ("StylePresets.txt", "CurrentStyle.sty" …).
    std::string ProgramFile(std::string_view name) const { return configDir_ + "/" + std::string(name); }

    // Creates the folders that are missing. False with the reason when one cannot be made.
    bool EnsureFolders(std::string* error = nullptr) const;
    // True when the INI file's folder cannot be written (read-only media): settings are
    // then never saved.
    bool ConfigReadOnly() const;

private:
    bool portable_ = false;
    std::string configDir_;
    std::string dataDir_;
};

// The running executable's full path (from /proc/self/exe), empty when unknown.
std::string ExecutablePath();
// The folder part of a path.
std::string FolderOf(std::string_view path);

// Paths stored in files may be Windows paths ("C:\Old\STYLES\Pop.vxs"): both separators count.
std::string_view FileNamePart(std::string_view storedPath);
// The stored path with every '\' turned into '/'.
std::string WithForwardSlashes(std::string_view storedPath);
// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);
// True when files can be created in the folder.
bool FolderWritable(const std::string& path);

}  // namespace chordella::platform
