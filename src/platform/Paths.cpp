#include "platform/Paths.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Files.h"

namespace chordella::platform {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    return home.empty() ? std::string("/tmp") : home;
}

std::string StripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

Paths Paths::InFolder(const std::string& folder) {
    Paths paths;
    paths.portable_ = true;
    paths.configDir_ = StripTrailingSlashes(folder);
    paths.dataDir_ = paths.configDir_;
    return paths;
}

Paths Paths::Resolve(const std::optional<std::string>& homeFlag, const std::string& executablePath) {
    if (homeFlag && !homeFlag->empty()) return InFolder(*homeFlag);
    const std::string fromEnvironment = Environment("CHORDELLA_HOME");
    if (!fromEnvironment.empty()) return InFolder(fromEnvironment);
    const std::string programFolder = FolderOf(executablePath);
    if (!programFolder.empty() && FileExists(programFolder + "/" + std::string(PortableMarker)))
        return InFolder(programFolder);

    Paths paths;
    std::string config = Environment("XDG_CONFIG_HOME");
    std::string data = Environment("XDG_DATA_HOME");
    paths.configDir_ = (config.empty() ? HomeFolder() + "/.config" : StripTrailingSlashes(config)) + "/chordella";
    paths.dataDir_ = (data.empty() ? HomeFolder() + "/.local/share" : StripTrailingSlashes(data)) + "/chordella";
    return paths;
}

bool Paths::EnsureFolders(std::string* error) const {
    for (const std::string& folder : {configDir_, dataDir_, Songs(), Styles(), Lists()}) {
        if (!MakeFolders(folder)) {
            if (error) *error = "cannot create " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

bool Paths::ConfigReadOnly() const {
    struct statvfs info {};
    if (statvfs(configDir_.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY)) return true;
    return FolderExists(configDir_) && !FolderWritable(configDir_);
}

std::string ExecutablePath() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::string_view FileNamePart(std::string_view storedPath) {
    const std::size_t slash = storedPath.find_last_of("/\\");
    return slash == std::string_view::npos ? storedPath : storedPath.substr(slash + 1);
}

std::string WithForwardSlashes(std::string_view storedPath) {
    std::string path(storedPath);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

bool MakeFolders(const std::string& path) {
    if (path.empty()) return false;
    if (FolderExists(path)) return true;
    const std::string parent = FolderOf(path);
    if (!parent.empty() && parent != path && !MakeFolders(parent)) return false;
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

bool FolderWritable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

}  // namespace chordella::platform
