// The chord-memory editor's settings of the automatic program changes: the number of
// programs with their bank, the start number, a program list to import or create, and the
// check items that choose where the changes go. Each sends one edit request.
#include <QAction>
#include <array>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>

#include "ui/EditorWindow.h"

namespace chordella::ui {

namespace {

using app::ProgramOption;

struct OptionItem {
    const char* Caption;
    ProgramOption Option;
};

constexpr std::array<OptionItem, 5> OptionItems{{
    {"    - every 8 measures", ProgramOption::EveryEightMeasures},
    {"... randomly", ProgramOption::Randomly},
    {"    - only at the beginning of a song", ProgramOption::OnlyAtBeginning},
    {"... using command keys 0-9", ProgramOption::UsingCommandKeys},
    {"... with every loading of a STORED song", ProgramOption::EveryLoading},
}};

}  // namespace

QPushButton* EditorWindow::MakeProgramSettings() {
    ChooseProgramList = [this](bool save) {
        const QString filter = "Program lists (*.txt);;All files (*)";
        return save ? QFileDialog::getSaveFileName(this, "Create list of MIDI programs", {}, filter)
                    : QFileDialog::getOpenFileName(this, "Import list of MIDI programs", {}, filter);
    };
    auto* button = new QPushButton("Program changes ...", this);
    button->setObjectName("ProgramSettings");
    programMenu_ = new QMenu(button);
    programMenu_->setObjectName("ProgramSettingsMenu");
    button->setMenu(programMenu_);
    programMenu_->addAction("Number of MIDI programs", this, [this] { AskProgramCount(); });
    programMenu_->addAction("Start number of MIDI programs", this, [this] { AskStartNumber(); });
    auto listFile = [this](app::SongEdit edit, bool save) {
        const QString file = ChooseProgramList(save);
        if (file.isEmpty()) return;
        app::SongEditRequest request;
        request.Edit = edit;
        request.Entry = file.toStdString();
        Send(request);
    };
    programMenu_->addAction("Import list of MIDI programs", this,
                            [listFile] { listFile(app::SongEdit::ImportProgramList, false); });
    programMenu_->addAction("Create list of MIDI programs", this,
                            [listFile] { listFile(app::SongEdit::CreateProgramList, true); });
    programMenu_->addSeparator();
    for (const OptionItem& item : OptionItems) {
        QAction* action = programMenu_->addAction(item.Caption);
        action->setCheckable(true);
        programOptions_.emplace_back(action, item.Option);
        connect(action, &QAction::triggered, this, [this, option = item.Option](bool on) {
            app::SongEditRequest request;
            request.Edit = app::SongEdit::ProgramOption;
            request.Option = option;
            request.On = on;
            Send(request);
        });
    }
    return button;
}

void EditorWindow::AskText(const char* name, const QString& title, const QString& prompt, const QString& initial,
                           std::function<void(const QString&)> entered) {
    auto* ask = new QInputDialog(this);
    ask->setObjectName(name);
    ask->setWindowTitle(title);
    ask->setLabelText(prompt);
    ask->setTextValue(initial);
    ask->setAttribute(Qt::WA_DeleteOnClose);
    connect(ask, &QInputDialog::textValueSelected, this, std::move(entered));
    ask->open();
}

void EditorWindow::AskProgramCount() {
    AskText("ProgramCount", "Number of programs ...", "How many programs are currently available (1-999) ?",
            QString::number(grid_.ProgramCount), [this](const QString& count) {
                AskText("ProgramBank", "Bank number ...", "Which bank should be used ('none' or 0-127) ?",
                        grid_.Bank < 0 ? "none" : QString::number(grid_.Bank), [this, count](const QString& bank) {
                            app::SongEditRequest request;
                            request.Edit = app::SongEdit::ProgramCount;
                            request.Entry = count.toStdString();
                            request.Entry2 = bank.toStdString();
                            Send(request);
                        });
            });
}

void EditorWindow::AskStartNumber() {
    AskText("StartNumber", "Start number of programs ...", "Enter start number please (0-999) ?",
            QString::number(grid_.StartNumber), [this](const QString& number) {
                app::SongEditRequest request;
                request.Edit = app::SongEdit::StartNumber;
                request.Entry = number.toStdString();
                Send(request);
            });
}

}  // namespace chordella::ui
