#pragma once
// "Instruments": the instrument sets "1" … "10", the function set "FX" and "L-S" (a set
// text file), the twelve instrument keys of the set shown, and the function list a key can
// be given. "Open" and "Store" ask their question in the core; the window reads the keys
// again while it is shown.

#include <QWidget>
#include <functional>

#include "ui/CoreLink.h"

class QComboBox;
class QListWidget;

namespace chordella::ui {

class InstrumentsWindow : public QWidget {
public:
    explicit InstrumentsWindow(CoreLink& link, QWidget* parent = nullptr);

    void Send(desktop::InstrumentRequest request);
    void Show(const desktop::InstrumentView& view);
    // The file of "L-S" (a dialog); tests replace it. Empty: none chosen.
    std::function<QString(bool save)> ChooseFile;

private:
    CoreLink& link_;
    QComboBox* sets_ = nullptr;
    QListWidget* keys_ = nullptr;
    QListWidget* functions_ = nullptr;
};

}  // namespace chordella::ui
