#include "ui/OptionsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chords/ComputerKeys.h"
#include "chords/OperatingModes.h"
#include "data/GeneralMidi.h"
#include "ui/AudioPage.h"

namespace chordella::ui {
namespace {

using core::Options;

struct PortField {
    const char* Caption;
    const char* Name;
    std::string Options::*Field;
    bool Options::*GeneralMidi;  // outputs: the device's "General MIDI" mark; inputs: none
};
constexpr std::array<PortField, 4> PortFields = {{
    {"MIDI Out", "MidiOut", &Options::MidiOut, &Options::MidiOutGeneralMidi},
    {"MIDI In", "MidiIn", &Options::MidiIn, nullptr},
    {"MIDI Out 2", "MidiSubOut", &Options::MidiSubOut, &Options::MidiSubOutGeneralMidi},
    {"MIDI In 2", "MidiSubIn", &Options::MidiSubIn, nullptr},
}};
bool IsOutput(const PortField& field) { return field.GeneralMidi != nullptr; }
constexpr const char* GeneralMidiHint =
    "The device plays General MIDI voices: makers' own voices of a style are sent as the nearest "
    "General MIDI voices (the built-in synth always gets them so)";

struct KeyField {
    const char* Caption;
    const char* Name;
    int Options::*Note;
    int Options::*Octave;
};
constexpr std::array<KeyField, 6> KeyFields = {{
    {"Fill in Key", "FillInKey", &Options::FillInKeyNote, &Options::FillInKeyOctave},
    {"Ending Key", "EndingKey", &Options::EndingKeyNote, &Options::EndingKeyOctave},
    {"To Ext. Key", "ToExtKey", &Options::ToExtKeyNote, &Options::ToExtKeyOctave},
    {"To Basic Key", "ToBasicKey", &Options::ToBasicKeyNote, &Options::ToBasicKeyOctave},
    {"First Acc. Key", "FirstAccKey", &Options::FirstAccKeyNote, &Options::FirstAccKeyOctave},
    {"Last Acc. Key", "LastAccKey", &Options::LastAccKeyNote, &Options::LastAccKeyOctave},
}};

const QStringList NoteList = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
const QStringList QuantizeList = {"1/4", "2/4", "3/4", "4/4", "6/4", "1/8", "2/8", "3/8", "4/8", "6/8"};
const QStringList MetrumList = {"6/4", "5/4", "4/4", "3/4", "2/4", "1/4", "6/8", "2/8", "1/8"};
constexpr int MetrumEighth = 8;    // "1/8" ...
constexpr int QuantizeEighth = 5;  // ... chooses the "Quantize" entry "1/8" too

QComboBox* MakeList(const QString& name, const QStringList& entries) {
    auto* list = new QComboBox;
    list->setObjectName(name);
    list->addItems(entries);
    return list;
}

QCheckBox* MakeBox(const QString& caption, const QString& name) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    return box;
}

QSpinBox* MakeSpin(const QString& name, int low, int high) {
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(low, high);
    return spin;
}

// An index out of the list's range leaves the list without a selection, and the value
// is then kept as it was (see ReadIndex).
void ShowIndex(QComboBox* list, int index) { list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1); }
void ReadIndex(const QComboBox* list, int& value) {
    if (list->currentIndex() >= 0) value = list->currentIndex();
}

// The operating mode the switches show, for the list's first selection.
int ModeOf(const Options& options) {
    using chords::OperatingMode;
    OperatingMode mode = OperatingMode::AccompanimentOn;
    if (options.SlaveMode)
        mode = OperatingMode::SyncExternalSequencer;
    else if (options.MasterMode)
        mode = OperatingMode::SyncInternalClock;
    else if (options.KeyboardSplit)
        mode = OperatingMode::SplittedKeyboard;
    else if (!options.ChordInput)
        mode = options.InstrumentKeys ? OperatingMode::NormalKeyboardInstruments : OperatingMode::NormalKeyboard;
    else if (options.PlayChords)
        mode = options.InstrumentKeys ? OperatingMode::TwoFingerChords : OperatingMode::PlayTriggeredChords;
    return static_cast<int>(mode);
}

// Shows `name` in a port chooser. A configured port that is not there now (unplugged) is
// listed all the same, so that OK does not forget it.
void SelectPort(QComboBox* chooser, const std::string& name) {
    if (name.empty()) {
        chooser->setCurrentIndex(chooser->count() - 1);
        return;
    }
    const QString text = QString::fromStdString(name);
    int index = chooser->findText(text, Qt::MatchExactly);
    if (index < 0) {
        index = chooser->count() - 1;
        chooser->insertItem(index, text);
    }
    chooser->setCurrentIndex(index);
}

}  // namespace

OptionsWindow::OptionsWindow(CoreLink& link, QWidget* parent) : QDialog(parent), link_(link) {
    setObjectName("OptionsWindow");
    setWindowTitle("Options");
    auto* tabs = new QTabWidget;
    tabs->addTab(BuildPortsPage(), "MIDI");
    tabs->addTab(BuildKeysPage(), "Keys");
    tabs->addTab(BuildPlayingPage(), "Chords && Clock");
    tabs->addTab(BuildPadPage(), "Pad");
    tabs->addTab(BuildAudioPage(), "Audio");
    autoSave_ = MakeBox("Auto-save settings", "AutoSaveSettings");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(autoSave_);
    layout->addWidget(buttons);
    ShowPorts(PortLists{});
    ShowOptions(core::Options{});
}

QWidget* OptionsWindow::BuildPortsPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (std::size_t i = 0; i < PortFields.size(); ++i) {
        portChoosers_[i] = MakeList(PortFields[i].Name, {});
        if (!IsOutput(PortFields[i])) {
            form->addRow(PortFields[i].Caption, portChoosers_[i]);
            continue;
        }
        auto* row = new QWidget;
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        generalMidi_[i] = MakeBox("General MIDI", QString(PortFields[i].Name) + "GeneralMidi");
        generalMidi_[i]->setToolTip(GeneralMidiHint);
        rowLayout->addWidget(portChoosers_[i], 1);
        rowLayout->addWidget(generalMidi_[i]);
        form->addRow(PortFields[i].Caption, row);
    }
    QStringList channels = {"All"};
    for (int channel = 1; channel <= 16; ++channel) channels << QString::number(channel);
    accChannel_ = MakeList("AccChannel", channels);
    form->addRow("Acc. Channel", accChannel_);
    return page;
}

QWidget* OptionsWindow::BuildKeysPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (std::size_t i = 0; i < KeyFields.size(); ++i) {
        auto* row = new QWidget;
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        keys_[i].Note = MakeList(QString(KeyFields[i].Name) + "Note", NoteList);
        keys_[i].Octave = MakeSpin(QString(KeyFields[i].Name) + "Octave", 0, 9);
        rowLayout->addWidget(keys_[i].Note);
        rowLayout->addWidget(new QLabel("Octave"));
        rowLayout->addWidget(keys_[i].Octave);
        form->addRow(KeyFields[i].Caption, row);
    }
    QStringList layouts;
    for (const std::string_view name : chords::LayoutNames)
        layouts << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    keyboardLayout_ = MakeList("KeyboardLayout", layouts);
    form->addRow("Computer keyboard", keyboardLayout_);
    return page;
}

QWidget* OptionsWindow::BuildPlayingPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    QStringList modes;
    for (std::string_view caption : chords::OperatingModeCaptions)
        modes << QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    mode_ = MakeList("OperatingMode", modes);
    connect(mode_, &QComboBox::activated, this, [this](int mode) { ChooseMode(mode); });
    form->addRow("Mode", mode_);
    quantize_ = MakeList("Quantize", QuantizeList);
    metrum_ = MakeList("Metrum", MetrumList);
    connect(metrum_, &QComboBox::activated, this, [this](int index) {
        if (index == MetrumEighth) quantize_->setCurrentIndex(QuantizeEighth);
    });
    form->addRow("Quantize", quantize_);
    form->addRow("Metrum", metrum_);
    twoFinger_ = MakeBox("Two-Finger", "TwoFinger");
    triads_ = MakeBox("Triad chords", "TriadChords");
    majorMinor_ = MakeBox("Major <> Minor", "MajorMinor");
    smartKeys_ = MakeBox("Smart chord keys", "SmartChordKeys");
    for (QCheckBox* box : {twoFinger_, triads_, majorMinor_, smartKeys_}) form->addRow(box);
    velocityOffset_ = MakeSpin("VelocityOffset", -20, 50);
    form->addRow("Balance - melody section velocity offset", velocityOffset_);
    metronome_ = MakeBox("Metronome", "Metronome");
    countIn_ = MakeBox("Count in", "CountIn");
    form->addRow(metronome_);
    form->addRow(countIn_);
    return page;
}

QWidget* OptionsWindow::BuildPadPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    instrumentPad_ = MakeBox("Instrument Pad", "InstrumentPad");
    padMute_ = MakeBox("PAD : mute at intros && endings", "PadMute");
    padReset_ = MakeBox("PAD : channelreset at chordchanges", "PadReset");
    form->addRow(instrumentPad_);
    form->addRow(padMute_);
    form->addRow(padReset_);
    QStringList channels;
    for (int channel = 1; channel <= 16; ++channel) channels << QString::number(channel);
    padChannel_ = MakeList("PadChannel", channels);
    form->addRow("Channel", padChannel_);
    padOctave_ = MakeSpin("PadOctave", -3, 4);
    form->addRow("Octave", padOctave_);
    QStringList programs;
    for (std::string_view name : data::GeneralMidiProgramNames())
        programs << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    padInstrument_ = MakeList("PadInstrument", programs);
    form->addRow("Instrument", padInstrument_);
    return page;
}

QWidget* OptionsWindow::BuildAudioPage() {
    audio_ = new AudioPage;
    return audio_;
}

void OptionsWindow::showEvent(QShowEvent* event) {
    Load();
    QDialog::showEvent(event);
}

void OptionsWindow::Load() {
    QPointer<OptionsWindow> self(this);
    link_.ReadOptions([self](const core::Options& options) {
        if (self) self->ShowOptions(options);
    });
    link_.ListPorts([self](const PortLists& ports) {
        if (self) self->ShowPorts(ports);
    });
    link_.ListAudio([self](const desktop::AudioChoices& choices) {
        if (self) self->audio_->ShowChoices(choices);
    });
}

// The main output's empty name plays through the built-in synth: the list shows it so.
std::string OptionsWindow::ShownPortName(std::size_t field, const std::string& stored) const {
    return field == MainOutputField && stored.empty() ? builtInSynth_ : stored;
}

void OptionsWindow::ShowPorts(const PortLists& ports) {
    builtInSynth_ = ports.BuiltInSynth;
    for (std::size_t i = 0; i < PortFields.size(); ++i) {
        QComboBox* chooser = portChoosers_[i];
        chooser->clear();
        for (const std::string& name : IsOutput(PortFields[i]) ? ports.Outputs : ports.Inputs)
            chooser->addItem(QString::fromStdString(name));
        chooser->addItem(NoPort);
        SelectPort(chooser, ShownPortName(i, shown_.*PortFields[i].Field));
    }
}

void OptionsWindow::ShowOptions(const core::Options& options) {
    shown_ = options;
    for (std::size_t i = 0; i < PortFields.size(); ++i) {
        SelectPort(portChoosers_[i], ShownPortName(i, options.*PortFields[i].Field));
        if (generalMidi_[i] != nullptr) generalMidi_[i]->setChecked(options.*PortFields[i].GeneralMidi);
    }
    for (std::size_t i = 0; i < KeyFields.size(); ++i) {
        ShowIndex(keys_[i].Note, options.*KeyFields[i].Note);
        keys_[i].Octave->setValue(options.*KeyFields[i].Octave);
    }
    ShowIndex(accChannel_, options.AccChannel);
    ShowIndex(keyboardLayout_, options.ComputerKeyboardLayout);
    ShowIndex(quantize_, options.Quantize);
    ShowIndex(metrum_, options.Metrum);
    ShowIndex(mode_, ModeOf(options));
    twoFinger_->setChecked(options.TwoFingerChords);
    triads_->setChecked(options.TriadChords);
    majorMinor_->setChecked(options.MajorMinor);
    smartKeys_->setChecked(options.SmartChordKeys);
    velocityOffset_->setValue(options.MelodyVelocityOffset);
    instrumentPad_->setChecked(options.InstrumentPad);
    padMute_->setChecked(options.PadMuteAtIntrosAndEndings);
    padReset_->setChecked(options.PadChannelResetAtChordChanges);
    ShowIndex(padChannel_, options.PadChannel);
    padOctave_->setValue(options.PadOctave);
    ShowIndex(padInstrument_, options.PadInstrument);
    metronome_->setChecked(options.Metronome);
    countIn_->setChecked(options.CountIn);
    autoSave_->setChecked(options.AutoSaveSettings);
    audio_->ShowOptions(options);
}

void OptionsWindow::WriteInto(core::Options& options) const {
    for (std::size_t i = 0; i < PortFields.size(); ++i) {
        const QComboBox* chooser = portChoosers_[i];
        const bool none = chooser->currentIndex() < 0 || chooser->currentIndex() == chooser->count() - 1;
        options.*PortFields[i].Field = none ? std::string() : chooser->currentText().toStdString();
        // The synth shown for an empty main output stays stored as the empty name.
        if (i == MainOutputField && !builtInSynth_.empty() && options.*PortFields[i].Field == builtInSynth_ &&
            (shown_.*PortFields[i].Field).empty())
            (options.*PortFields[i].Field).clear();
        if (generalMidi_[i] != nullptr) options.*PortFields[i].GeneralMidi = generalMidi_[i]->isChecked();
    }
    for (std::size_t i = 0; i < KeyFields.size(); ++i) {
        ReadIndex(keys_[i].Note, options.*KeyFields[i].Note);
        options.*KeyFields[i].Octave = keys_[i].Octave->value();
    }
    ReadIndex(accChannel_, options.AccChannel);
    ReadIndex(keyboardLayout_, options.ComputerKeyboardLayout);
    ReadIndex(quantize_, options.Quantize);
    ReadIndex(metrum_, options.Metrum);
    options.TwoFingerChords = twoFinger_->isChecked();
    options.TriadChords = triads_->isChecked();
    options.MajorMinor = majorMinor_->isChecked();
    options.SmartChordKeys = smartKeys_->isChecked();
    options.MelodyVelocityOffset = velocityOffset_->value();
    options.InstrumentPad = instrumentPad_->isChecked();
    options.PadMuteAtIntrosAndEndings = padMute_->isChecked();
    options.PadChannelResetAtChordChanges = padReset_->isChecked();
    ReadIndex(padChannel_, options.PadChannel);
    options.PadOctave = padOctave_->value();
    ReadIndex(padInstrument_, options.PadInstrument);
    options.Metronome = metronome_->isChecked();
    options.CountIn = countIn_->isChecked();
    options.AutoSaveSettings = autoSave_->isChecked();
    audio_->WriteInto(options);
}

// The mode sets its switches in the core at once; the window takes the switched options
// over (its own fields stay as the user left them) so that OK does not undo the mode.
void OptionsWindow::ChooseMode(int mode) {
    link_.SetOperatingMode(mode);
    QPointer<OptionsWindow> self(this);
    link_.ReadOptions([self](const core::Options& options) {
        if (self) self->shown_ = options;
    });
}

void OptionsWindow::accept() {
    core::Options options = shown_;
    WriteInto(options);
    link_.ApplyOptions(options);
    QDialog::accept();
}

}  // namespace chordella::ui
