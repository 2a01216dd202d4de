#include "ui/StyleConverterWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/ScrolledPage.h"

namespace chordella::ui {

namespace {

using Kind = desktop::ConverterRequest::Kind;

constexpr const char* NoFileText = "No style file yet: \"Open ...\" chooses one.";
constexpr const char* ForeignStyleFilter =
    "Styles (*.sty *.prs *.bcs *.sst *.pcs *.pst *.fps *.scp *.STY *.PRS *.BCS *.SST)";

constexpr std::array<const char*, stylecreator::ConverterListCount> ListCaptions = {
    "Basic", "Extended", "Intro", "Ending", "Fill in Basic", "Fill in Extended", "To Extended", "To Basic"};

QCheckBox* Check(QLayout* layout, const char* caption, const char* hint, const char* name) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    if (*hint) box->setToolTip(hint);
    layout->addWidget(box);
    return box;
}

}  // namespace

StyleConverterWindow::StyleConverterWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("StyleConverterWindow");
    setWindowTitle(stylecreator::ConverterCaption);
    // Eight part lists, options and a report: they scroll on a small screen.
    auto* layout = new QVBoxLayout(ScrolledPage(*new QVBoxLayout(this)));
    auto* fileRow = new QHBoxLayout;
    auto* open = new QPushButton("&Open ...");
    open->setObjectName("ConverterOpen");
    open->setToolTip("Choose a keyboard style file (*.sty, *.prs, *.bcs …) to convert");
    connect(open, &QPushButton::clicked, this, [this] { ChooseAndImport(QString()); });
    file_ = new QLabel(NoFileText);
    file_->setObjectName("ConverterFile");
    fileRow->addWidget(open);
    fileRow->addWidget(file_, 1);
    layout->addLayout(fileRow);

    auto* grid = new QGridLayout;
    for (int list = 0; list < stylecreator::ConverterListCount; ++list) {
        grid->addWidget(new QLabel(ListCaptions[static_cast<std::size_t>(list)]), list, 0);
        auto* combo = new QComboBox;
        combo->setObjectName(QString("ConverterList%1").arg(list));
        combo->setMinimumContentsLength(24);
        grid->addWidget(combo, list, 1);
        lists_[static_cast<std::size_t>(list)] = combo;
    }
    layout->addLayout(grid);

    sets_ = new QComboBox;
    sets_->setObjectName("ConverterSets");
    for (int item = 0; item <= stylecreator::RandomPartsItem; ++item)
        sets_->addItem(QString::fromStdString(stylecreator::SetItemText(item)));
    layout->addWidget(sets_);
    connect(sets_, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!showing_) Send(Kind::ChooseItem, item);
    });

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(new QLabel("Conversion mode"));
    mode_ = new QComboBox;
    mode_->setObjectName("ConverterMode");
    mode_->addItem(stylecreator::ConvertedModeText);
    mode_->addItem(stylecreator::NativeModeText);
    mode_->setToolTip("Channel table (native): the maker's notes are kept and every channel plays by the rules of "
                      "the file's channel table");
    modeRow->addWidget(mode_, 1);
    layout->addLayout(modeRow);

    noIntroEnding_ = Check(layout, "Do not convert Intro and Ending",
                           "Try this, if you want to leave chordprogression unchanged", "NoIntroEnding");
    beat2_ = Check(layout, "Start with beat 2 at 3/4 measure styles", "Try this, if there are trouble with 3/4 measure styles",
                   "Beat2");
    channels911_ = Check(layout, "Process events of channels 9 and 11",
                         "This option moves events from Ch. 9 to Ch. 10 and the bass to Ch. 11. ", "Channels911");
    showWhenLoading_ = Check(layout, "Show this window when loading a style", "", "ShowWhenLoading");
    fixSet_ = Check(layout, "Fix style variations set, as shown below", "If selected, always create the selected variations set",
                    "FixSet");
    setCount_ = new QSpinBox;
    setCount_->setObjectName("SetCount");
    setCount_->setRange(1, stylecreator::VariationSetCount);
    setCount_->setValue(stylecreator::VariationSetCount);
    create_ = new QPushButton(QString::fromStdString(stylecreator::CreateButtonText(stylecreator::VariationSetCount)));
    create_->setObjectName("CreateSets");
    create_->setEnabled(false);   // until a style file was imported
    create_->setToolTip("The styles are saved in the styles folder as NAME-1.vxs … NAME-N.vxs");
    connect(create_, &QPushButton::clicked, this, [this] { Send(Kind::CreateSets); });
    connect(setCount_, &QSpinBox::valueChanged, this,
            [this](int n) { create_->setText(QString::fromStdString(stylecreator::CreateButtonText(n))); });
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(setCount_);
    countRow->addWidget(create_);
    layout->addLayout(countRow);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* caption, const char* name, Kind what) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, what] { Send(what); });
        return b;
    };
    button("Set Variations", "SetVariations", Kind::SetVariations)->setDefault(true);
    button("Abort", "Abort", Kind::Abort);
    button("Show previous variations set", "ShowPrevious", Kind::ShowPrevious);
    layout->addLayout(buttons);

    report_ = new QPlainTextEdit;
    report_->setObjectName("ConverterReport");
    report_->setReadOnly(true);
    layout->addWidget(report_);
    Send(Kind::Refresh);
}

StyleConverterWindow* StyleConverterWindow::Of(QWidget* owner, CoreLink& link) {
    auto* window = owner->findChild<StyleConverterWindow*>("StyleConverterWindow");
    return window ? window : new StyleConverterWindow(link, owner);
}

desktop::ConverterRequest StyleConverterWindow::FromBoxes() const {
    desktop::ConverterRequest request;
    for (int list = 0; list < stylecreator::ConverterListCount; ++list)
        request.Selected[static_cast<std::size_t>(list)] = lists_[static_cast<std::size_t>(list)]->currentIndex();
    request.Options.DoNotConvertIntroAndEnding = noIntroEnding_->isChecked();
    request.Options.StartWithBeat2At3_4 = beat2_->isChecked();
    request.Options.ProcessChannels9And11 = channels911_->isChecked();
    request.Options.ShowWhenLoading = showWhenLoading_->isChecked();
    request.Options.FixVariationsSet = fixSet_->isChecked();
    request.Options.SetCount = setCount_->value();
    request.Options.SetItem = sets_->currentIndex();
    request.Options.NativeMode = mode_->currentIndex() == 1;
    return request;
}

void StyleConverterWindow::ImportFile(const std::string& path) {
    desktop::ConverterRequest request;
    request.What = Kind::ImportFile;
    request.Path = path;
    link_.StyleConverterCommand(request, [this](const desktop::ConverterView& view) {
        ShowView(view);
        if (!view.ShowWindow) return;
        show();
        raise();
    });
}

void StyleConverterWindow::ChooseAndImport(const QString& folder) {
    const QString start = folder.isEmpty() ? QString::fromStdString(link_.StylesFolder()) : folder;
    const QString path = QFileDialog::getOpenFileName(this, "Import MIDI ...", start, ForeignStyleFilter);
    if (!path.isEmpty()) ImportFile(path.toStdString());
}

void StyleConverterWindow::Send(Kind what, int item) {
    desktop::ConverterRequest request = FromBoxes();
    request.What = what;
    request.Item = item;
    link_.StyleConverterCommand(request, [this, what](const desktop::ConverterView& view) {
        ShowView(view);
        if (what == Kind::SetVariations || what == Kind::Abort) hide();
    });
}

void StyleConverterWindow::ShowView(const desktop::ConverterView& view) {
    showing_ = true;
    const QString file = view.Error.empty() ? QString::fromStdString(view.FileName) : QString::fromStdString(view.Error);
    file_->setText(file.isEmpty() ? NoFileText : file);
    for (int list = 0; list < stylecreator::ConverterListCount; ++list) {
        QComboBox* combo = lists_[static_cast<std::size_t>(list)];
        combo->clear();
        for (const std::string& entry : view.Lists[static_cast<std::size_t>(list)])
            combo->addItem(QString::fromStdString(entry));
        combo->setCurrentIndex(view.Selected[static_cast<std::size_t>(list)]);
    }
    sets_->setCurrentIndex(view.Options.SetItem);
    mode_->setCurrentIndex(view.Options.NativeMode ? 1 : 0);
    noIntroEnding_->setChecked(view.Options.DoNotConvertIntroAndEnding);
    beat2_->setChecked(view.Options.StartWithBeat2At3_4);
    channels911_->setChecked(view.Options.ProcessChannels9And11);
    showWhenLoading_->setChecked(view.Options.ShowWhenLoading);
    fixSet_->setChecked(view.Options.FixVariationsSet);
    setCount_->setValue(view.Options.SetCount);
    report_->setPlainText(QString::fromStdString(view.Report));
    create_->setEnabled(view.Imported);
    showing_ = false;
}

}  // namespace chordella::ui
