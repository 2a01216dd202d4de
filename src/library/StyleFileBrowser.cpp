#include "library/StyleFileBrowser.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::library {

namespace {

constexpr std::array<std::string_view, 19> Masks = {
    "*.vxs;*.sty;*.prs;*.bcs;*.sst;*.pcs;*.pst;*.fps;*.scp",
    "*.vxs",
    "*.sty;*.prs;*.bcs;*.sst;*.pcs;*.pst;*.fps;*.scp",
    "*.*",
    "*12beat*",
    "*16beat*",
    "*8beat*",
    "*50*",
    "*60*",
    "*ballad*",
    "*bigband*",
    "*bluegrass*",
    "*blues*",
    "*bossa*",
    "*beat*",
    "*chacha*",
    "*combo*",
    "*country*",
    "*dance*",
};

// Wildcard match without recursion: '*' any run, '?' one character.
bool Glob(std::string_view name, std::string_view mask) {
    std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || platform::LowerAscii(mask[m]) == platform::LowerAscii(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::span<const std::string_view> StyleFileMasks() { return Masks; }

bool MatchesMask(std::string_view fileName, std::string_view masks) {
    while (!masks.empty()) {
        const auto end = masks.find(';');
        const std::string_view mask = Trim(masks.substr(0, end));
        // "*.*" lists every file, also those without a dot, as it always has.
        if (!mask.empty() && (mask == "*.*" || Glob(fileName, mask))) return true;
        if (end == std::string_view::npos) break;
        masks.remove_prefix(end + 1);
    }
    return false;
}

StyleFileBrowser::StyleFileBrowser(std::string folder) : folder_(std::move(folder)), mask_(Masks[0]) {}

void StyleFileBrowser::Refresh() {
    subFolders_.clear();
    files_.clear();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kindError;
        if (it->is_directory(kindError)) {
            subFolders_.push_back(name);
        } else if (it->is_regular_file(kindError) && files_.size() < MaxListedFiles && MatchesMask(name, mask_)) {
            files_.push_back(name);
        }
    }
    std::sort(subFolders_.begin(), subFolders_.end());
    std::sort(files_.begin(), files_.end());
}

bool StyleFileBrowser::SetFolder(const std::string& folder) {
    if (!platform::FolderExists(folder)) return false;
    folder_ = folder;
    while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
    Refresh();
    return true;
}

void StyleFileBrowser::SetMask(std::string mask) {
    mask_ = std::move(mask);
    Refresh();
}

std::vector<std::string> StyleFileBrowser::FilePaths() const {
    std::vector<std::string> paths;
    paths.reserve(files_.size());
    for (const auto& name : files_) paths.push_back(folder_ + "/" + name);
    return paths;
}

std::string StyleFileBrowser::PathOf(int index) const {
    if (index < 0 || index >= static_cast<int>(files_.size())) return {};
    return folder_ + "/" + files_[static_cast<std::size_t>(index)];
}

std::string StyleFileBrowser::MaskHint() const {
    return "Currently listed: " + std::to_string(files_.size()) + " files; Press \"Enter\" (you may use * and ?)";
}

std::string StyleFileBrowser::CountText() const { return std::to_string(files_.size()) + " files"; }

}  // namespace chordella::library
