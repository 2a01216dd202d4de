#include "make_assets/AssetAuthor.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "data/SongFile.h"
#include "make_assets/SongSource.h"
#include "make_assets/SonglistSource.h"
#include "make_assets/StyleSource.h"
#include "platform/Files.h"

namespace chordella::tools {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t MaxSourceBytes = 1 << 20;

bool AuthorOne(const fs::path& source, std::vector<AuthoredFile>& files, std::string& error) {
    std::string text;
    if (!platform::ReadTextFile(source.string(), MaxSourceBytes, text, error)) return false;
    const std::string kind = source.extension().string();
    if (kind == ".style") {
        CompiledStyle style;
        if (!CompileStyle(text, style, error)) return false;
        files.push_back({"styles/" + style.FileName, StyleFileOf(style)});
    } else if (kind == ".song") {
        CompiledSong song;
        if (!CompileSong(text, song, error)) return false;
        files.push_back({"songs/" + song.FileName, data::WriteSongFile(song.Content)});
    } else if (kind == ".list") {
        CompiledSonglist list;
        if (!CompileSonglist(text, list, error)) return false;
        files.push_back({"songs/" + list.FileName, std::vector<std::uint8_t>(list.Text.begin(), list.Text.end())});
    }
    return true;
}

}  // namespace

bool AuthorAssets(const std::string& sourceFolder, std::vector<AuthoredFile>& files, std::string& error) {
    files.clear();
    std::error_code code;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(sourceFolder, code)) {
        if (entry.is_regular_file(code)) sources.push_back(entry.path());
    }
    if (code) {
        error = sourceFolder + ": " + code.message();
        return false;
    }
    std::sort(sources.begin(), sources.end());
    for (const fs::path& source : sources) {
        if (!AuthorOne(source, files, error)) {
            error = source.filename().string() + ": " + error;
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if (files[i].RelativePath == files[j].RelativePath) {
                error = "two sources make " + files[i].RelativePath;
                return false;
            }
        }
    }
    return true;
}

bool WriteAssets(const std::vector<AuthoredFile>& files, const std::string& assetsFolder, std::string& error) {
    for (const AuthoredFile& file : files) {
        const fs::path target = fs::path(assetsFolder) / file.RelativePath;
        std::error_code code;
        fs::create_directories(target.parent_path(), code);
        if (code) {
            error = target.parent_path().string() + ": " + code.message();
            return false;
        }
        if (!platform::WriteFileAtomically(target.string(), file.Bytes, error)) {
            error = target.string() + ": " + error;
            return false;
        }
    }
    return true;
}

std::vector<std::string> DifferingAssets(const std::vector<AuthoredFile>& files, const std::string& assetsFolder) {
    std::vector<std::string> differing;
    for (const AuthoredFile& file : files) {
        std::vector<std::uint8_t> stored;
        std::string error;
        const std::string path = (fs::path(assetsFolder) / file.RelativePath).string();
        if (!platform::ReadFileBytes(path, file.Bytes.size() + 1, stored, error) || stored != file.Bytes)
            differing.push_back(file.RelativePath);
    }
    return differing;
}

}  // namespace chordella::tools
