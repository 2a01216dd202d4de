#pragma once
// "Style-Creator & Chord-Generator": the material, the generator and conversion settings, the
// part list with its measure fields, quick style, the capture panel, the event editor, Song
// and Style mode and the loop. Every button sends one request with the boxes as they are to
// the core; what the core answers is shown. The window keeps no state of its own.

#include <QWidget>
#include <array>

#include "ui/CoreLink.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenuBar;
class QPushButton;
class QSlider;
class QSpinBox;

namespace chordella::ui {

class BatchWindow;

class StyleCreatorWindow : public QWidget {
public:
    explicit StyleCreatorWindow(CoreLink& link, QWidget* parent = nullptr);

    // Sends a request built from the boxes (the buttons call it).
    void Send(desktop::CreatorRequest::Kind what, const std::function<void(desktop::CreatorRequest&)>& fill = {});
    // Shows a view of the core.
    void ShowView(const desktop::CreatorView& view);
    // The request the boxes describe now.
    desktop::CreatorRequest FromBoxes() const;
    // The view shown last.
    const desktop::CreatorView& LastView() const { return view_; }
    // Asks the core for its view (after a question it asked was answered).
    void Refresh();
    // "4.  Batch processor": its window, shown (made on first use).
    BatchWindow& Batch();
    // Opens a file in the text editor ("Style.src"); tests replace it.
    std::function<bool(const QString& file)> OpenInEditor;

private:
    QMenuBar* MakeMenu();
    // The creator's own menus: "&Create", "&Basic", "&Extended", "&Others", "&Loop", "Repair style".
    void AddCreatorMenus(QMenuBar* bar);
    QWidget* MakePartFlags();
    QWidget* MakeMaterial();
    QWidget* MakeGenerator();
    QWidget* MakeParts();
    QWidget* MakeCapture();
    QWidget* MakeEvents();
    QPushButton* Command(QLayout* layout, const char* caption, const char* name, desktop::CreatorRequest::Kind what);

    CoreLink& link_;
    QComboBox* interval_ = nullptr;
    QComboBox* chordSet_ = nullptr;
    QComboBox* sensitivity_ = nullptr;
    QComboBox* convertMode_ = nullptr;
    QCheckBox* adjust_ = nullptr;
    QCheckBox* stylemode_ = nullptr;
    QCheckBox* confirm_ = nullptr;
    QCheckBox* songMode_ = nullptr;
    QCheckBox* styleMode_ = nullptr;
    QSpinBox* startMeasure_ = nullptr;
    QSpinBox* startBeat_ = nullptr;
    QSpinBox* stopMeasure_ = nullptr;
    QListWidget* parts_ = nullptr;
    QSpinBox* partStart_ = nullptr;
    QSpinBox* partEnd_ = nullptr;
    QSpinBox* partBeat_ = nullptr;
    QPushButton* loopStart_ = nullptr;  // "LoopStart" and "LoopEnd": Style mode only
    QPushButton* loopEnd_ = nullptr;
    QSpinBox* loop_ = nullptr;
    QCheckBox* multiply_ = nullptr;
    QSpinBox* channelFrom_ = nullptr;
    QSpinBox* channelTo_ = nullptr;
    QPushButton* restore_ = nullptr;
    QPushButton* measureBeat_ = nullptr;
    std::array<QSpinBox*, 8> captureFirst_{};
    std::array<QSpinBox*, 8> captureLast_{};
    QSpinBox* captureTempo_ = nullptr;
    QComboBox* captureMetrum_ = nullptr;
    QLabel* eventName_ = nullptr;
    QComboBox* eventKey_ = nullptr;
    QComboBox* eventOctave_ = nullptr;
    QSlider* velocity_ = nullptr;
    QLabel* velocityLabel_ = nullptr;
    QLabel* status_ = nullptr;
    QCheckBox* suppress_ = nullptr;
    QCheckBox* cutNotes_ = nullptr;
    std::array<QAction*, 8> loopItems_{};
    QAction* multiplyItem_ = nullptr;
    bool showing_ = false;
    desktop::CreatorView view_;
};

}  // namespace chordella::ui
