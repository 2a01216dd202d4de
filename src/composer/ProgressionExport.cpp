#include "composer/ProgressionExport.h"

#include "composer/ProgressionTable.h"
#include "platform/Files.h"

namespace chordella::composer {

std::string ProgressionListText() {
    std::string text = "COMMON CHORD PROGRESSIONS\n";
    for (int row = 0; row < ProgressionRows; ++row) {
        const std::string_view section = SectionSuffix(row);
        if (!section.empty() && section != "END") {
            text += '\n';
            text += section;
            text += "\n\n";
        }
        text += '"';
        text += BaseName(row);
        text += "\",\"";
        text += RowNumerals(row);
        text += "\"\n";
    }
    return text;
}

bool SaveProgressionList(const std::string& folder, std::string& error) {
    return platform::WriteFileAtomically(folder + "/" + ProgressionListFileName, ProgressionListText(), error);
}

}  // namespace chordella::composer
