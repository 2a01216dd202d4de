#pragma once
// The style manager's file browser: a folder, its sub-folders, and the files of the folder
// that match the mask box ("*.vxs;*.sty", "*ballad*": '*' and '?' wildcards, ';' between
// masks, letters in any case).
//
// Control thread.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::library {

// The masks the mask box offers.
std::span<const std::string_view> StyleFileMasks();

// True when the file name matches one of the ';'-separated masks. An empty mask list
// matches nothing; blanks around a mask are ignored.
bool MatchesMask(std::string_view fileName, std::string_view masks);

class StyleFileBrowser {
public:
    // A folder lists at most this many files (the rest are left out).
    static constexpr std::size_t MaxListedFiles = 100000;

    // Shows `folder` with the first mask. Nothing is read until Refresh.
    explicit StyleFileBrowser(std::string folder);

    // Reads the folder again: sub-folders and matching files, each sorted by name. A folder
    // that cannot be read lists nothing.
    void Refresh();
    // A new folder; false (nothing changes) when it is not a folder.
    bool SetFolder(const std::string& folder);
    void SetMask(std::string mask);

    const std::string& Folder() const { return folder_; }
    const std::string& Mask() const { return mask_; }
    const std::vector<std::string>& SubFolders() const { return subFolders_; }
    // File names (without folder) in the order listed.
    const std::vector<std::string>& Files() const { return files_; }
    std::vector<std::string> FilePaths() const;
    std::string PathOf(int index) const;

    // "Currently listed: " + N + " files; Press "Enter" (you may use * and ?)".
    std::string MaskHint() const;
    // N + " files".
    std::string CountText() const;

private:
    std::string folder_;
    std::string mask_;
    std::vector<std::string> subFolders_;
    std::vector<std::string> files_;
};

}  // namespace chordella::library
