#pragma once
// The "MIDI Commands" window: the ten commands (keys "0" … "9") with their type, channel,
// value and data, a "Send" button per row, "Activated", "Allowing bank changes when
// switching programs", the port of the command output, "Set values" (with Ctrl, Shift or
// Alt it switches a remote switch instead), "Close" (edits are dropped), "Load config." and
// "Save config." (command files). It shows the core's copy and sends every action to it.
//
// GUI thread only.

#include <QWidget>
#include <array>
#include <string>

#include "desktop/RemoteRequests.h"
#include "ui/CoreLink.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QVBoxLayout;

namespace chordella::ui {

// A message of the remote windows in a box that does not wait.
void ShowRemoteMessage(QWidget* parent, const std::string& text);

class MidiCommandsWindow : public QWidget {
public:
    explicit MidiCommandsWindow(CoreLink& link, QWidget* parent = nullptr);

    // Shows this copy of the remote state (and its message, when it has one).
    void Show(const desktop::RemoteView& view);
    // "Set values" with the modifiers held at the click.
    void SetValues(Modifiers modifiers);
    // The table as the rows are edited now.
    remote::MidiCommandTable EditedTable() const;

    QComboBox* TypeList(int row) const { return rows_[static_cast<std::size_t>(row)].Type; }
    QSpinBox* Channel(int row) const { return rows_[static_cast<std::size_t>(row)].Channel; }
    QSpinBox* Value(int row) const { return rows_[static_cast<std::size_t>(row)].Value; }
    QSpinBox* Data(int row) const { return rows_[static_cast<std::size_t>(row)].Data; }
    QComboBox* Ports() const { return port_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        QComboBox* Type = nullptr;
        QSpinBox* Channel = nullptr;
        QSpinBox* Value = nullptr;
        QSpinBox* Data = nullptr;
    };

    void Send(desktop::RemoteRequest request);
    void BuildButtons(QVBoxLayout* layout);
    void AskFile(bool save);

    CoreLink& link_;
    bool showing_ = false;  // the fields are being filled: their signals send nothing
    std::array<Row, remote::CommandCount> rows_{};
    QCheckBox* activated_ = nullptr;
    QCheckBox* bankChanges_ = nullptr;
    QComboBox* port_ = nullptr;
};

}  // namespace chordella::ui
