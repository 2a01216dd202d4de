#include "app/DataHome.h"

#include <filesystem>
#include <system_error>

#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::app {

namespace fs = std::filesystem;

namespace {

constexpr int MaxDepth = 8;

bool StaysBehind(const std::string& name) { return name.empty() || name.front() == '.' || name == "README.md"; }

// The home's name for a top-level entry of the assets folder.
std::string HomeName(const std::string& name) {
    const std::string lower = platform::LowerCase(name);
    if (lower != "styles" && lower != "songs" && lower != "lists") return name;
    std::string upper = lower;
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

void CopyFolder(const fs::path& from, const fs::path& to, int depth, bool topLevel, CopyReport& report) {
    std::error_code error;
    fs::directory_iterator entries(from, error);
    if (error) {
        report.Failed.push_back(from.string() + ": " + error.message());
        return;
    }
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (StaysBehind(name)) continue;
        const fs::path target = to / (topLevel ? HomeName(name) : name);
        if (entry.is_directory(error)) {
            if (depth >= MaxDepth) continue;
            if (!platform::MakeFolders(target.string())) {
                report.Failed.push_back(target.string() + ": cannot create the folder");
                continue;
            }
            CopyFolder(entry.path(), target, depth + 1, false, report);
        } else if (entry.is_regular_file(error)) {
            if (fs::exists(target, error)) {
                report.Kept.push_back(target.string());
                continue;
            }
            if (fs::copy_file(entry.path(), target, fs::copy_options::skip_existing, error) && !error)
                report.Copied.push_back(target.string());
            else
                report.Failed.push_back(target.string() + ": " + error.message());
        }
    }
}

}  // namespace

CopyReport CopyBundledFiles(const std::string& assetsFolder, const platform::Paths& paths) {
    CopyReport report;
    if (assetsFolder.empty() || !platform::FolderExists(assetsFolder)) return report;
    if (!platform::MakeFolders(paths.DataDir())) {
        report.Failed.push_back(paths.DataDir() + ": cannot create the folder");
        return report;
    }
    CopyFolder(assetsFolder, paths.DataDir(), 0, true, report);
    return report;
}

std::string BundledAssetsFolder(const std::string& executablePath) {
    const std::string programFolder = platform::FolderOf(executablePath);
    if (!programFolder.empty()) {
        const std::string installed = platform::FolderOf(programFolder) + "/share/chordella/assets";
        if (platform::FolderExists(installed)) return installed;
    }
#ifdef CHORDELLA_SOURCE_ASSETS
    if (platform::FolderExists(CHORDELLA_SOURCE_ASSETS)) return CHORDELLA_SOURCE_ASSETS;
#endif
    return {};
}

}  // namespace chordella::app
