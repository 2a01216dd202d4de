// Style names as the program shows them, and the lookup of a stored style path.

#include <filesystem>

#include "data/StyleNames.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::data {

namespace {

// A file in `folder` whose name equals `name` ignoring case (names stored on Windows may
// differ in case from the files here).
std::string FindIgnoringCase(const std::string& folder, std::string_view name) {
    if (name.empty()) return {};
    const std::string exact = folder + "/" + std::string(name);
    if (platform::FileExists(exact)) return exact;
    std::error_code error;
    const std::string wanted = platform::LowerCase(name);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (platform::LowerCase(it->path().filename().string()) == wanted && it->is_regular_file(error)) return it->path().string();
    }
    return {};
}

}  // namespace

std::string FindStyleFile(const std::string& storedPath, const std::string& dataHome, const std::string& stylesFolder) {
    if (storedPath.empty()) return {};
    if (platform::FileExists(storedPath)) return storedPath;
    const std::string forward = platform::WithForwardSlashes(storedPath);
    if (platform::FileExists(forward)) return forward;

    // A path saved under the program's own folder on another machine: the part after
    // "\chordella" is looked up in this data home.
    const std::string lowered = platform::LowerCase(forward);
    const auto found = lowered.find("/chordella");
    if (found != std::string::npos) {
        const std::string candidate = dataHome + forward.substr(found + std::string_view("/chordella").size());
        if (platform::FileExists(candidate)) return candidate;
    }
    return FindIgnoringCase(stylesFolder, platform::FileNamePart(storedPath));
}

std::string StyleDisplayNameOf(const std::string& fileName) {
    std::string name = platform::LowerCase(platform::FileNamePart(fileName));
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    if (!name.empty()) name[0] = platform::UpperAscii(name[0]);
    return name;
}

std::string StyleCaptionNameOf(const std::string& displayName, const PartTable& parts) {
    std::string name = displayName;
    const auto amp = name.find('&');
    if (amp != std::string::npos) name.insert(amp, "&");
    if (parts[Index(StylePart::FillInBasic)].FollowUpCode == followup::Variation) name += " / Var.Basic";
    if (parts[Index(StylePart::FillInExtended)].FollowUpCode == followup::Variation) name += " / Var.Extended";
    return name;
}

std::string StyleShortLabelOf(const std::string& displayName) {
    return displayName.substr(0, 10) + " ...";
}

}  // namespace chordella::data
