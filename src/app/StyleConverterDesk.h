#pragma once
// The converter window ("Styleconverter") as the desktop drives it: a foreign style file
// imported, the eight lists and the set list shown, "Set Variations" converting the chosen
// sections into the playing style. Plain request and view values cross between the threads;
// the desk itself lives on the control thread.

#include <array>
#include <string>
#include <vector>

#include "stylecreator/ConverterWindow.h"
#include "stylecreator/StyleConversion.h"

namespace chordella::core { class Session; }

namespace chordella::app {

struct ConverterRequest {
    enum Kind { Refresh, ImportFile, ChooseItem, ShowPrevious, SetVariations, Abort };
    Kind What = Refresh;
    std::string Path;                       // ImportFile
    int Item = 0;                           // ChooseItem: the set list's item
    stylecreator::Selections Selected{-1, -1, -1, -1, -1, -1, -1, -1};  // SetVariations: the lists' choices
    stylecreator::ConverterOptions Options; // SetVariations: the window's options
};

struct ConverterView {
    bool Imported = false;
    std::string FileName;
    std::array<std::vector<std::string>, stylecreator::ConverterListCount> Lists;
    stylecreator::Selections Selected{-1, -1, -1, -1, -1, -1, -1, -1};
    stylecreator::ConverterOptions Options;
    std::string Report;                     // after a conversion: parts and channels
    std::string Error;                      // why a file could not be converted
};

class StyleConverterDesk {
public:
    explicit StyleConverterDesk(core::Session& session);
    ConverterView Handle(const ConverterRequest& request);
    ConverterView View() const;

private:
    core::Session& session_;
    stylecreator::CreatorState state_;
    stylecreator::StyleCreator creator_;
    stylecreator::StyleConversion conversion_;
    stylecreator::ConverterWindow window_;
    std::string file_;
    std::string report_;
    std::string error_;
};

// "Basic : Main A (2 - 5), CASM" … one line per part, then the channel decisions.
std::string ReportText(const stylecreator::SetReport& report);

}  // namespace chordella::app
