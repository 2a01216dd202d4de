// The style creator window's own menus and its per-part flag controls. Each item sends one
// request with the window's boxes, as the buttons do.
#include <QActionGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/StyleCreatorWindow.h"

namespace chordella::ui {

namespace {

using Kind = desktop::CreatorRequest::Kind;
using Item = stylecreator::PartMenuItem;

struct PartItem {
    const char* Caption;
    Item What;
};

// "&Others": the parts a menu item sets at the measure now playing.
constexpr std::array<PartItem, 8> OtherParts{{
    {"Intro", Item::Intro},
    {"Ending", Item::Ending},
    {"Variation Basic", Item::VariationBasic},
    {"Variation Extended", Item::VariationExtended},
    {"Fill in Basic", Item::FillInBasic},
    {"Fill in Extended", Item::FillInExtended},
    {"To Extended", Item::ToExtended},
    {"To Basic", Item::ToBasic},
}};

}  // namespace

void StyleCreatorWindow::AddCreatorMenus(QMenuBar* bar) {
    QMenu* create = bar->addMenu("&Create");
    create->setObjectName("CreateMenu");
    create->addAction("1.  Import Midi- or stylefile (*.mid, *.sty, *.prs, *.bcs etc.)", this,
                      [this] { Send(Kind::ImportMidi); });
    create->addAction("     -> Use \"Quick S.\" or convert all to style or use the menu functions above", this,
                      [this] { Send(Kind::QuickStyle); });
    create->addSeparator();
    create->addAction("Use data for Style A", this, [this] { Send(Kind::UseStructure); });
    create->addAction("Use data for Style B", this,
                      [this] { Send(Kind::UseStructure, [](desktop::CreatorRequest& r) { r.StyleB = true; }); });
    create->addAction("Edit \"Style.src\" ...", this, [this] {
        desktop::CreatorRequest request = FromBoxes();
        request.What = Kind::EditStructure;
        link_.StyleCreatorCommand(request, [this](const desktop::CreatorView& view) {
            ShowView(view);
            if (!view.StructurePath.empty() && OpenInEditor) OpenInEditor(QString::fromStdString(view.StructurePath));
        });
    });

    // "&Basic" and "&Extended" set their part straight from the menu bar; "&Others" lists the rest.
    auto partAt = [this](Item item) {
        Send(Kind::PartAtPosition, [item](desktop::CreatorRequest& r) { r.MenuItem = item; });
    };
    bar->addAction("&Basic", this, [partAt] { partAt(Item::Basic); })->setObjectName("BasicItem");
    bar->addAction("&Extended", this, [partAt] { partAt(Item::Extended); })->setObjectName("ExtendedItem");
    QMenu* others = bar->addMenu("&Others");
    others->setObjectName("OthersMenu");
    for (const PartItem& item : OtherParts) others->addAction(item.Caption, this, [partAt, what = item.What] { partAt(what); });

    QMenu* loop = bar->addMenu("&Loop");
    loop->setObjectName("LoopMenu");
    auto* lengths = new QActionGroup(loop);
    for (int measures = 1; measures <= 8; ++measures) {
        QAction* action = loop->addAction(measures == 1 ? QString("1 measure") : QString("%1 measures").arg(measures));
        action->setCheckable(true);
        lengths->addAction(action);
        loopItems_[static_cast<std::size_t>(measures - 1)] = action;
        connect(action, &QAction::triggered, this, [this, measures] {
            loop_->setValue(measures);
            Send(Kind::Settings);
        });
    }
    loop->addSeparator();
    multiplyItem_ = loop->addAction("Multiply by 2");
    multiplyItem_->setCheckable(true);
    connect(multiplyItem_, &QAction::triggered, this, [this](bool on) {
        multiply_->setChecked(on);
        Send(Kind::Settings);
    });

    QMenu* repair = bar->addMenu("Repair style");
    repair->setObjectName("RepairMenu");
    repair->addAction("Fills Var 1 -> Fills Var 2", this,
                      [this] { Send(Kind::Repair, [](desktop::CreatorRequest& r) { r.Value = 1; }); });
    repair->addAction("Fills Var 2 -> Fills Var 1", this, [this] { Send(Kind::Repair); });
    bar->addAction("Remove percussion sounds", this, [this] { Send(Kind::RemovePercussion); })
        ->setObjectName("RemovePercussionItem");
}

QWidget* StyleCreatorWindow::MakePartFlags() {
    auto* box = new QGroupBox;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* checks = new QHBoxLayout;
    cutNotes_ = new QCheckBox("  Cut Notes ...");
    cutNotes_->setObjectName("CutNotes");
    cutNotes_->setToolTip("The selected part cuts its notes when it ends");
    connect(cutNotes_, &QCheckBox::clicked, this,
            [this](bool on) { Send(Kind::CutNotes, [on](desktop::CreatorRequest& r) { r.Value = on ? 1 : 0; }); });
    suppress_ = new QCheckBox(" Suppress all Style Controllers");
    suppress_->setObjectName("SuppressControllers");
    connect(suppress_, &QCheckBox::clicked, this, [this](bool on) {
        Send(Kind::SuppressControllers, [on](desktop::CreatorRequest& r) { r.Value = on ? 1 : 0; });
    });
    checks->addWidget(cutNotes_);
    checks->addWidget(suppress_);
    column->addLayout(checks);
    auto* buttons = new QHBoxLayout;
    auto* cutAll = new QPushButton("Set Cut Notes State to all Styleparts");
    cutAll->setObjectName("CutNotesToAll");
    connect(cutAll, &QPushButton::clicked, this, [this] { Send(Kind::CutNotesToAll); });
    auto* muteAll = new QPushButton("Set Muting to all Styleparts");
    muteAll->setObjectName("MutingToAll");
    connect(muteAll, &QPushButton::clicked, this, [this] { Send(Kind::MutingToAll); });
    buttons->addWidget(cutAll);
    buttons->addWidget(muteAll);
    column->addLayout(buttons);
    return box;
}

}  // namespace chordella::ui
