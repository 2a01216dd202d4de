#pragma once
// The options window: MIDI ports, the control keys and the chord zone, "Quantize" and
// "Metrum", the operating mode, the chord options, the melody velocity balance, the pad,
// the metronome, the built-in synth's audio (AudioPage) and "Auto-save settings". It reads
// the options when it opens and sends them back on OK; Cancel sends nothing. Choosing an
// operating mode takes effect at once (the core sets the mode's switches) and the window
// takes the switches over, so OK keeps them.
//
//   ui::OptionsWindow options(link, &mainWindow);
//   options.Load();   // reads ports and options (also done when it is shown)
//   options.exec();

#include <QDialog>
#include <array>

#include "ui/CoreLink.h"

class QCheckBox;
class QTabWidget;
class QComboBox;
class QSpinBox;

namespace chordella::ui {

class AudioPage;

class OptionsWindow : public QDialog {
public:
    // The port choosers' entry for no port.
    static constexpr const char* NoPort = "<None>";

    explicit OptionsWindow(CoreLink& link, QWidget* parent = nullptr);

    // Asks the core for the ports and the options; the fields follow when they arrive.
    void Load();
    // The fields as shown, written into `options` (what OK sends).
    void WriteInto(core::Options& options) const;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct KeyChooser {
        QComboBox* Note = nullptr;
        QSpinBox* Octave = nullptr;
    };
    QWidget* BuildPortsPage();
    QWidget* BuildKeysPage();
    QWidget* BuildPlayingPage();
    QWidget* BuildPadPage();
    QWidget* BuildAudioPage();
    void ShowOptions(const core::Options& options);
    void ShowPorts(const PortLists& ports);
    void ChooseMode(int mode);

    CoreLink& link_;
    static constexpr std::size_t MainOutputField = 0;
    std::string ShownPortName(std::size_t field, const std::string& stored) const;
    std::string builtInSynth_;  // the output list's synth entry; empty: none
    core::Options shown_;  // the options as read; OK sends them with the fields written in
    std::array<QComboBox*, 4> portChoosers_{};  // MIDI-OUT, MIDI-IN, MIDISUB-OUT, MIDISUB-IN
    std::array<QCheckBox*, 4> generalMidi_{};   // the outputs' "General MIDI" marks
    std::array<KeyChooser, 6> keys_{};
    QComboBox* accChannel_ = nullptr;
    QComboBox* quantize_ = nullptr;
    QComboBox* metrum_ = nullptr;
    QComboBox* mode_ = nullptr;
    QComboBox* keyboardLayout_ = nullptr;
    QCheckBox* twoFinger_ = nullptr;
    QCheckBox* triads_ = nullptr;
    QCheckBox* majorMinor_ = nullptr;
    QCheckBox* smartKeys_ = nullptr;
    QSpinBox* velocityOffset_ = nullptr;
    QCheckBox* instrumentPad_ = nullptr;
    QCheckBox* padMute_ = nullptr;
    QCheckBox* padReset_ = nullptr;
    QComboBox* padChannel_ = nullptr;
    QSpinBox* padOctave_ = nullptr;
    QComboBox* padInstrument_ = nullptr;
    QCheckBox* metronome_ = nullptr;
    QCheckBox* countIn_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    AudioPage* audio_ = nullptr;
};

}  // namespace chordella::ui
