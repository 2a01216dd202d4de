#include "ui/SongCreatorWindow.h"

#include "ui/PlayWindow.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

#include "composer/ProgressionList.h"
#include "composer/SongGenerator.h"
#include "ui/ScrolledPage.h"

namespace chordella::ui {

namespace {

using composer::ChordRate;
using composer::KeyChoice;

constexpr const char* KeyCaptions[6] = {
    "Chords of only 1 Major key",
    "Chords of only 1 Minor key",
    "Chords of 2 keys - Major key && parallel Minor key",
    "Chords of 2 keys - Major key && relative Minor key",
    "Chords of 6 keys - Major keys && relative Minor keys",
    "Chords of 6 keys - Major keys && parallel Minor keys",
};
constexpr const char* RateCaptions[4] = {
    "Change chord always every two measures",
    "Change chord always every measure",
    "Change chord every half measure",
    "Randomly set the number of chord changes",
};

QCheckBox* Box(QVBoxLayout* layout, const char* caption, const char* name) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

QPushButton* Button(QLayout* layout, const char* caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

}  // namespace

std::vector<int> ParseMeasureList(const QString& text) {
    std::vector<int> measures;
    for (const QString& part : text.split(',', Qt::SkipEmptyParts)) {
        const QStringList range = part.trimmed().split('-');
        bool okFirst = false, okLast = false;
        const int first = range.value(0).trimmed().toInt(&okFirst);
        const int last = range.size() == 2 ? range.value(1).trimmed().toInt(&okLast) : first;
        if (!okFirst || (range.size() == 2 && !okLast) || range.size() > 2 || first < 1 || last < first ||
            last - first > 1000) {
            continue;
        }
        for (int m = first; m <= last; ++m) measures.push_back(m);
    }
    return measures;
}

SongCreatorWindow::SongCreatorWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("SongCreatorWindow");
    setWindowTitle("Chordprogression / Song Creator");
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    list_ = new QListWidget;
    list_->setObjectName("ProgressionList");
    for (const std::string& entry : composer::ProgressionListEntries()) list_->addItem(QString::fromStdString(entry));
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { ChooseEntry(list_->row(item)); });
    left->addWidget(list_, 1);
    playLabel_ = new QLabel("PLAY ...");
    playLabel_->setObjectName("PlayLabel");
    progressions_ = new QLabel;
    progressions_->setObjectName("ProgressionText");
    bars_ = new QLabel;
    bars_->setObjectName("BarsText");
    style_ = new QLabel;
    style_->setObjectName("StyleName");
    for (QLabel* label : {playLabel_, progressions_, bars_, style_}) left->addWidget(label);
    sheet_ = new QPlainTextEdit;
    sheet_->setObjectName("SongSheet");
    sheet_->setReadOnly(true);
    sheet_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    left->addWidget(sheet_, 1);
    layout->addLayout(left, 1);
    layout->addWidget(Scrolled(MakeOptions()));  // the options scroll on a small screen

    ShowOptions(composer::SongCreatorOptions{});
    auto* create = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Left), this);
    connect(create, &QShortcut::activated, this, [this] { CreateChords(); });
    auto* random = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Right), this);
    connect(random, &QShortcut::activated, this, [this] { CompletelyRandomSong(); });
    resize(980, 640);
}

QWidget* SongCreatorWindow::MakeOptions() {
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    auto* measuresRow = new QHBoxLayout;
    measuresRow->addWidget(new QLabel("Song measures:"));
    measures_ = new QSpinBox;
    measures_->setObjectName("SongMeasures");
    measures_->setRange(1, composer::MaxGeneratedMeasures(16));
    measuresRow->addWidget(measures_);
    column->addLayout(measuresRow);
    onlyMajorMinor_ = Box(column, "Use only major && minor chords;  ", "OnlyMajorMinor");
    principal_ = Box(column, "I, ii ,iii, IV, V, vi", "PrincipalChords");
    connect(onlyMajorMinor_, &QCheckBox::toggled, principal_, &QWidget::setEnabled);
    sevenths_ = Box(column, "Use 7th chords", "SeventhChords");
    sus_ = Box(column, "Use sus chords", "SusChords");
    auto* keyGroup = new QGroupBox;
    auto* keyLayout = new QVBoxLayout(keyGroup);
    for (int i = 0; i < 6; ++i) {
        keys_[i] = new QRadioButton(KeyCaptions[i]);
        keyLayout->addWidget(keys_[i]);
    }
    column->addWidget(keyGroup);
    randomKey_ = Box(column, "Randomly choose key", "RandomKey");
    whiteKeys_ = Box(column, "only from C,D,E,F,G,A,B", "WhiteKeys");
    baseChord_ = Box(column, "Start new key with its base chord", "BaseChord");
    baseChordFirst_ = Box(column, "only at 1.key", "BaseChordFirst");
    auto* rateGroup = new QGroupBox;
    auto* rateLayout = new QVBoxLayout(rateGroup);
    for (int i = 0; i < 4; ++i) {
        rates_[i] = new QRadioButton(RateCaptions[i]);
        rateLayout->addWidget(rates_[i]);
    }
    column->addWidget(rateGroup);
    tempoVariations_ = Box(column, "Allow tempo variations (+/- 2)", "TempoVariations");
    loops_ = Box(column, "Allow loops within the song", "Loops");
    oneProgression_ = Box(column, "Use only one chord progression per song", "OneProgression");
    sequential_ = Box(column, "Sequential call of common chord progressions", "Sequential");
    randomStyle_ = Box(column, "Randomly choose style", "RandomStyle");
    playIntro_ = Box(column, "Play Intro", "PlayIntro");
    bassTrack_ = Box(column, "... with bass track", "BassTrack");

    auto* modes = new QHBoxLayout;
    completelyRandomMode_ = new QRadioButton("Generate completely random songs");
    completelyRandomMode_->setObjectName("CompletelyRandomMode");
    auto* simple = new QPushButton("Generate simple songs: 2 keys, maj. && min. chords");
    simple->setObjectName("SimpleSongs");
    connect(simple, &QPushButton::clicked, this, [this] {
        composer::SongCreatorOptions options = ShownOptions();
        composer::ApplySimpleSongs(options);
        completelyRandomMode_->setChecked(false);
        ShowOptions(options);
        simpleMode_ = true;
    });
    connect(completelyRandomMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) simpleMode_ = false;
    });
    modes->addWidget(completelyRandomMode_);
    modes->addWidget(simple);
    column->addLayout(modes);

    auto* buttons = new QHBoxLayout;
    connect(Button(buttons, "Create chords", "CreateChords"), &QPushButton::clicked, this, [this] { CreateChords(); });
    connect(Button(buttons, "Generate completely random song", "CompletelyRandom"), &QPushButton::clicked, this,
            [this] { CompletelyRandomSong(); });
    QPushButton* randomStyle = Button(buttons, "Random Style", "RandomStyleButton");
    randomStyle->setToolTip("Let Chordella randomly choose a style");
    connect(randomStyle, &QPushButton::clicked, this, [this] { RandomStyle(); });
    column->addLayout(buttons);

    auto* more = new QHBoxLayout;
    connect(Button(more, "Use mixed common chord progressions", "UseMixed"), &QPushButton::clicked, this,
            [this] { ChooseEntry(composer::ShuffleAllEntry); });
    connect(Button(more, "Export list ...", "ExportList"), &QPushButton::clicked, this, [this] { ExportList(); });
    column->addLayout(more);
    auto* keepRow = new QHBoxLayout;
    keep_ = new QLineEdit;
    keep_->setObjectName("KeepMeasures");
    keep_->setPlaceholderText("1-4, 9");
    keepRow->addWidget(new QLabel("Keep measures:"));
    keepRow->addWidget(keep_);
    connect(Button(keepRow, "Regenerate", "Regenerate"), &QPushButton::clicked, this, [this] { RegenerateKeeping(); });
    column->addLayout(keepRow);
    column->addStretch(1);
    return panel;
}

composer::SongCreatorOptions SongCreatorWindow::ShownOptions() const {
    composer::SongCreatorOptions o;
    o.SongMeasures = measures_->value();
    o.OnlyMajorMinorChords = onlyMajorMinor_->isChecked();
    o.OnlyPrincipalChords = principal_->isChecked();
    o.SeventhChords = sevenths_->isChecked();
    o.SusChords = sus_->isChecked();
    for (int i = 0; i < 6; ++i) {
        if (keys_[i]->isChecked()) o.Keys = static_cast<KeyChoice>(i);
    }
    o.RandomKey = randomKey_->isChecked();
    o.RandomKeyWhiteOnly = whiteKeys_->isChecked();
    o.StartWithBaseChord = baseChord_->isChecked();
    o.BaseChordOnlyFirstKey = baseChordFirst_->isChecked();
    for (int i = 0; i < 4; ++i) {
        if (rates_[i]->isChecked()) o.Rate = static_cast<ChordRate>(i);
    }
    o.TempoVariations = tempoVariations_->isChecked();
    o.LoopsInSong = loops_->isChecked();
    o.OneProgressionPerSong = oneProgression_->isChecked();
    o.SequentialProgressions = sequential_->isChecked();
    o.RandomStyle = randomStyle_->isChecked();
    o.PlayIntro = playIntro_->isChecked();
    o.WithBassTrack = bassTrack_->isChecked();
    o.SimpleSongs = simpleMode_;
    return o;
}

void SongCreatorWindow::ShowOptions(const composer::SongCreatorOptions& o) {
    measures_->setValue(o.SongMeasures);
    onlyMajorMinor_->setChecked(o.OnlyMajorMinorChords);
    principal_->setChecked(o.OnlyPrincipalChords);
    principal_->setEnabled(o.OnlyMajorMinorChords);
    sevenths_->setChecked(o.SeventhChords);
    sus_->setChecked(o.SusChords);
    keys_[static_cast<int>(o.Keys)]->setChecked(true);
    randomKey_->setChecked(o.RandomKey);
    whiteKeys_->setChecked(o.RandomKeyWhiteOnly);
    baseChord_->setChecked(o.StartWithBaseChord);
    baseChordFirst_->setChecked(o.BaseChordOnlyFirstKey);
    rates_[static_cast<int>(o.Rate)]->setChecked(true);
    tempoVariations_->setChecked(o.TempoVariations);
    loops_->setChecked(o.LoopsInSong);
    oneProgression_->setChecked(o.OneProgressionPerSong);
    sequential_->setChecked(o.SequentialProgressions);
    randomStyle_->setChecked(o.RandomStyle);
    playIntro_->setChecked(o.PlayIntro);
    bassTrack_->setChecked(o.WithBassTrack);
    simpleMode_ = o.SimpleSongs;
}

void SongCreatorWindow::Send(SongCreatorRequest::Kind what, int entry, std::vector<int> locked, bool withOptions) {
    SongCreatorRequest request;
    request.What = what;
    request.Entry = entry;
    if (withOptions) request.Options = ShownOptions();
    request.Locked = std::move(locked);
    link_.SongCreatorCommand(request, [this](const app::SongCreatorResult& result) { ShowResult(result); });
}

void SongCreatorWindow::ChooseEntry(int entry) { Send(SongCreatorRequest::ListEntry, entry); }
void SongCreatorWindow::CreateChords() {
    Send(completelyRandomMode_->isChecked() ? SongCreatorRequest::CompletelyRandom : SongCreatorRequest::CreateChords);
}
void SongCreatorWindow::CompletelyRandomSong() {
    list_->setCurrentRow(composer::HeadingEntry);
    Send(SongCreatorRequest::CompletelyRandom);
}
void SongCreatorWindow::RandomStyle() { Send(SongCreatorRequest::RandomStyle); }
void SongCreatorWindow::RegenerateKeeping() { Send(SongCreatorRequest::Regenerate, 0, ParseMeasureList(keep_->text())); }
void SongCreatorWindow::ExportList() { Send(SongCreatorRequest::ExportList); }
void SongCreatorWindow::GenerateFromChordView(bool mixed) {
    list_->setCurrentRow(mixed ? composer::ShuffleAllEntry : composer::HeadingEntry);
    Send(SongCreatorRequest::ChordView, mixed ? 1 : 0, {}, false);
}

void SongCreatorWindow::ShowResult(const app::SongCreatorResult& result) {
    if (!result.StyleName.empty()) style_->setText(QString::fromStdString("Style: " + result.StyleName));
    if (!result.Generated) return;
    playLabel_->setText(QString::fromStdString(result.PlayLabel));
    progressions_->setText(QString::fromStdString(result.Progressions));
    bars_->setText(QString::fromStdString(result.Bars));
    sheet_->setPlainText(QString::fromStdString(result.Sheet));
    // The small window stays on top while the song plays.
    PlayWindow& play = Play();
    play.ShowPlaying(playLabel_->text());
    play.show();
    if (onGenerated_) onGenerated_(result);
}

PlayWindow& SongCreatorWindow::Play() {
    if (play_ == nullptr) play_ = new PlayWindow(link_, *this, this);  // owned by this window
    return *play_;
}

QString SongCreatorWindow::SheetText() const { return sheet_->toPlainText(); }
QString SongCreatorWindow::ProgressionText() const { return progressions_->text(); }
QString SongCreatorWindow::PlayLabelText() const { return playLabel_->text(); }

}  // namespace chordella::ui
