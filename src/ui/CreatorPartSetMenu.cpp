#include "ui/CreatorPartSetMenu.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "data/StyleModel.h"
#include "ui/StyleConverterWindow.h"
#include "ui/StyleCreatorWindow.h"

namespace chordella::ui {

namespace {

using Kind = desktop::ConverterRequest::Kind;

constexpr std::array<const char*, 8> ImportItems{"1 - 11", "1 - 21", "2 - 11", "2 - 21",
                                                 "3 - 11", "3 - 21", "4 - 11", "4 - 21"};
constexpr std::array<const char*, 4> ExportItems{"1 - 1", "2 - 2", "3 - 3", "4 - 4"};
constexpr const char* PartFilter = "MIDI-Files (*.mid *.MID)";

// What the menu remembers between its uses: the two "Set path" folders and its options.
struct PopupState {
    QString ImportFolder;
    QString ExportFolder;
    stylecreator::PopupConvertOptions Options;
};

}  // namespace

void AttachPartSetMenu(StyleCreatorWindow* creator, CoreLink& link) {
    auto state = std::make_shared<PopupState>();
    auto* menu = new QMenu(creator);
    menu->setObjectName("CreatorPopup");
    QWidget* owner = creator->parentWidget() ? creator->parentWidget() : creator;

    // Every popup request carries the menu's options; a refusal is shown, the creator refreshed.
    auto send = [creator, &link, state](Kind what, const QString& folder, int item) {
        desktop::ConverterRequest request;
        request.What = what;
        request.Path = folder.toStdString();
        request.Item = item;
        request.Popup = state->Options;
        link.StyleConverterCommand(request, [creator](const desktop::ConverterView& view) {
            if (!view.Error.empty())
                QMessageBox::information(creator, "Chordella", QString::fromStdString(view.Error));
            creator->Refresh();
        });
    };

    menu->addAction("New", creator, [creator] { creator->Send(desktop::CreatorRequest::ImportMidi); });
    menu->addSeparator();
    menu->addAction("     Import and convert stylefile (*.sty, *.prs, *.bcs etc.)", creator, [creator, owner, &link] {
        const QString path = QFileDialog::getOpenFileName(
            creator, "Import MIDI ...", {}, "Styles (*.sty *.prs *.bcs *.sst *.pcs *.pst *.fps *.scp *.STY *.PRS *.BCS *.SST)");
        if (!path.isEmpty()) StyleConverterWindow::Of(owner, link)->ImportFile(path.toStdString());
    });
    menu->addAction("     -> Open styleconverter for *.sty, *.prs, *.bcs etc. stylefiles", creator, [owner, &link] {
        StyleConverterWindow* converter = StyleConverterWindow::Of(owner, link);
        converter->show();
        converter->raise();
        converter->Send(Kind::Open);
    })->setStatusTip("Open Styleconverter");
    menu->addSeparator();

    // "Set path" of the import: the folder of a file of the set.
    auto chooseImportFolder = [creator, state] {
        const QString file = QFileDialog::getOpenFileName(creator, "Set path", state->ImportFolder, PartFilter);
        if (!file.isEmpty()) state->ImportFolder = QFileInfo(file).absolutePath();
        return !file.isEmpty();
    };
    QMenu* importSet = menu->addMenu("Import set of style parts");
    for (std::size_t item = 0; item < ImportItems.size(); ++item)
        importSet->addAction(ImportItems[item], creator, [send, state, chooseImportFolder, item] {
            if (chooseImportFolder()) send(Kind::ImportPartSet, state->ImportFolder, static_cast<int>(item));
        });
    importSet->addAction("Set path", creator, chooseImportFolder);

    auto chooseExportFolder = [creator, state] {
        const QString folder = QFileDialog::getExistingDirectory(creator, "Set path", state->ExportFolder);
        if (!folder.isEmpty()) state->ExportFolder = folder;
        return !folder.isEmpty();
    };
    QMenu* exportSet = menu->addMenu("Export set of style parts");
    for (std::size_t item = 0; item < ExportItems.size(); ++item)
        exportSet->addAction(ExportItems[item], creator, [send, state, chooseExportFolder, item] {
            if (!state->ExportFolder.isEmpty() || chooseExportFolder())
                send(Kind::ExportPartSet, state->ExportFolder, static_cast<int>(item) + 1);
        });
    exportSet->addAction("Set path", creator, chooseExportFolder);

    // The part a single-part item acts on; −1 when none was chosen.
    auto choosePart = [creator](const char* title) {
        QStringList parts;
        for (int part = 0; part < data::PartCount; ++part)
            parts << QString::fromStdString(std::string(data::PartSelectorText(part)).substr(1));
        bool chosen = false;
        const QString part = QInputDialog::getItem(creator, title, "Part", parts, 1, false, &chosen);
        return chosen ? static_cast<int>(parts.indexOf(part)) : -1;
    };
    menu->addAction("Import style part ...", creator, [creator, send, state, choosePart] {
        const QString file = QFileDialog::getOpenFileName(creator, "Import style part ...", state->ImportFolder, PartFilter);
        if (file.isEmpty()) return;
        if (const int part = choosePart("Import style part ..."); part >= 0) send(Kind::ImportPart, file, part);
    });
    menu->addAction("Export style part ...", creator, [send, state, chooseExportFolder, choosePart] {
        const int part = choosePart("Export style part ...");
        if (part < 0 || (state->ExportFolder.isEmpty() && !chooseExportFolder())) return;
        send(Kind::ExportPart, state->ExportFolder, part);
    });
    menu->addSeparator();

    menu->addAction("Convert style with options below", creator, [send] { send(Kind::ConvertWithOptions, {}, 0); });
    struct Option {
        const char* Caption;
        bool stylecreator::PopupConvertOptions::*Flag;
    };
    static constexpr std::array<Option, 5> Options{{
        {"Don't convert intro && ending", &stylecreator::PopupConvertOptions::DontConvertIntroAndEnding},
        {"Don't convert fills", &stylecreator::PopupConvertOptions::DontConvertFills},
        {"Don't convert basic && extended", &stylecreator::PopupConvertOptions::DontConvertBasicAndExtended},
        {"Move percussion sounds to track 10", &stylecreator::PopupConvertOptions::MovePercussionToTrack10},
        {"Use only standard percussion sounds", &stylecreator::PopupConvertOptions::OnlyStandardPercussion},
    }};
    for (const Option& option : Options) {
        QAction* action = menu->addAction(option.Caption);
        action->setCheckable(true);
        QObject::connect(action, &QAction::toggled, creator,
                         [state, flag = option.Flag](bool on) { state->Options.*flag = on; });
    }
    // Import options of the core, shown as the core last reported them.
    struct ImportOption {
        const char* Caption;
        int Which;
        bool desktop::CreatorView::*Shown;
    };
    static constexpr std::array<ImportOption, 2> ImportOptions{{
        {"Don't get metrum from file", 1, &desktop::CreatorView::DontGetMetrum},
        {"Convert x/8 - Base: 1/8", 2, &desktop::CreatorView::EighthBase},
    }};
    std::vector<std::pair<QAction*, bool desktop::CreatorView::*>> shownOptions;
    for (const ImportOption& option : ImportOptions) {
        QAction* action = menu->addAction(option.Caption);
        action->setCheckable(true);
        shownOptions.emplace_back(action, option.Shown);
        QObject::connect(action, &QAction::triggered, creator, [creator, which = option.Which](bool on) {
            creator->Send(desktop::CreatorRequest::ImportOption, [which, on](desktop::CreatorRequest& r) {
                r.Value = which;
                r.Value2 = on ? 1 : 0;
            });
        });
    }
    QAction* bass = menu->addAction("Bass output on channel 11");
    bass->setCheckable(true);
    QObject::connect(bass, &QAction::triggered, creator, [&link](bool on) {
        app::StyleRulesRequest request{app::StyleRulesRequest::BassOnChannel11};
        request.On = on;
        link.StyleRulesCommand(request, {});
    });
    QObject::connect(menu, &QMenu::aboutToShow, creator, [creator, &link, bass, shownOptions] {
        for (const auto& [action, shown] : shownOptions) action->setChecked(creator->LastView().*shown);
        link.StyleRulesCommand({app::StyleRulesRequest::Refresh},
                               [bass](const app::StyleRulesView& view) { bass->setChecked(view.BassOnChannel11); });
    });
    menu->addSeparator();
    menu->addAction("Normalize Volume", creator, [&link] {
        link.StyleRulesCommand({app::StyleRulesRequest::NormalizeToCreatorTarget}, {});
    });
    menu->addAction("Remove percussion sounds", creator, [creator] { creator->Send(desktop::CreatorRequest::RemovePercussion); });
    menu->addAction("Restore style", creator, [creator] { creator->Send(desktop::CreatorRequest::RestoreOriginal); });

    creator->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(creator, &QWidget::customContextMenuRequested, menu,
                     [creator, menu](const QPoint& at) { menu->popup(creator->mapToGlobal(at)); });
}

}  // namespace chordella::ui
