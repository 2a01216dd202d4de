#pragma once
// The converter window ("Styleconverter") as the desktop drives it: a foreign style file
// imported, the eight lists and the set list shown, "Set Variations" converting the chosen
// sections into the playing style. Plain request and view values cross between the threads;
// the desk itself lives on the control thread.

#include <array>
#include <string>
#include <vector>

#include "stylecreator/ConverterWindow.h"
#include "stylecreator/PartSetFiles.h"
#include "stylecreator/StyleConversion.h"

namespace chordella::app { struct AppState; }
namespace chordella::core { class Session; }

namespace chordella::desktop {

struct ConverterRequest {
    enum Kind {
        Refresh, ImportFile, ChooseItem, ShowPrevious, SetVariations, Abort,
        Open,              // the window opened by the user: the lists filled from the work
        CreateSets,        // "Create vxs-styles for N sets", N the options' SetCount
        // The style creator's popup menu (Path is the folder chosen with "Set path").
        ImportPartSet,     // Item: the menu item 0 … 7 ("1 - 11", "1 - 21", … "4 - 21")
        ExportPartSet,     // Item: the set digit 1 … 4
        ExportPart,        // "Export style part ...": Item is the part
        ImportPart,        // "Import style part ...": Path is the file, Item the part
        ConvertWithOptions,  // "Convert style with options below"
        PopupOptions,      // the popup's check items changed
    };
    Kind What = Refresh;
    std::string Path;                       // ImportFile; the folder of the popup's file items
    int Item = 0;                           // ChooseItem: the set list's item; see the popup kinds
    stylecreator::Selections Selected{-1, -1, -1, -1, -1, -1, -1, -1};  // SetVariations: the lists' choices
    stylecreator::ConverterOptions Options; // SetVariations, CreateSets: the window's options
    stylecreator::PopupConvertOptions Popup;  // the popup kinds: its check items
};

struct ConverterView {
    bool Imported = false;
    std::string FileName;
    std::array<std::vector<std::string>, stylecreator::ConverterListCount> Lists;
    stylecreator::Selections Selected{-1, -1, -1, -1, -1, -1, -1, -1};
    stylecreator::ConverterOptions Options;
    std::string Report;                     // after a conversion: parts and channels; files written
    std::string Error;                      // why a file could not be converted
    bool ShowWindow = false;                // after ImportFile: the window is shown ("Show this window
                                            // when loading a style"); otherwise the style was made at once
    stylecreator::PopupConvertOptions Popup;
};

class StyleConverterDesk {
public:
    StyleConverterDesk(core::Session& session, app::AppState& app);
    ConverterView Handle(const ConverterRequest& request);
    ConverterView View() const;

private:
    // The chosen sections converted; the result becomes the playing style.
    void ConvertChosen();
    // The options ask for "Channel table (native)" and the file's table can drive it; when it
    // cannot, the report says why and the conversion converts.
    bool NativeUsable();
    void CreateSets(int count);
    void PopupRequest(const ConverterRequest& request);
    void KeepOptions();

    core::Session& session_;
    app::AppState& app_;
    stylecreator::CreatorState state_;
    stylecreator::StyleCreator creator_;
    stylecreator::StyleConversion conversion_;
    stylecreator::ConverterWindow window_;
    std::string file_;
    std::string report_;
    std::string error_;
    bool showWindow_ = false;
    stylecreator::PopupConvertOptions popup_;
};

// "Basic : Main A (2 - 5), CASM" … one line per part, then the channel decisions.
std::string ReportText(const stylecreator::SetReport& report);

}  // namespace chordella::desktop
