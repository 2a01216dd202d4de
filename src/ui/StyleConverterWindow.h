#pragma once
// "Styleconverter": the eight lists of sections for the style parts, the variations sets, the
// converter's options and its buttons. Every button sends one request to the core with the
// window's boxes as they are; the core's answer is shown. The window keeps no state of its own.

#include <QWidget>
#include <array>

#include "ui/CoreLink.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace chordella::ui {

class StyleConverterWindow : public QWidget {
public:
    explicit StyleConverterWindow(CoreLink& link, QWidget* parent = nullptr);
    // The one converter window of `owner` (made hidden, owned by it, on first use).
    static StyleConverterWindow* Of(QWidget* owner, CoreLink& link);

    // "     Import and convert stylefile (*.sty, *.prs, *.bcs etc.)": the file is imported; the
    // window shows itself when the core says so ("Show this window when loading a style"),
    // otherwise the style was converted at once.
    void ImportFile(const std::string& path);
    // "Open ...": the file dialog for a keyboard style file (starting in `folder`), then
    // ImportFile with the file chosen; nothing when the dialog is cancelled.
    void ChooseAndImport(const QString& folder);
    void Send(desktop::ConverterRequest::Kind what, int item = 0);
    void ShowView(const desktop::ConverterView& view);
    desktop::ConverterRequest FromBoxes() const;

private:
    CoreLink& link_;
    std::array<QComboBox*, stylecreator::ConverterListCount> lists_{};
    QComboBox* sets_ = nullptr;
    QComboBox* mode_ = nullptr;   // "Conversion mode": converted or "Channel table (native)"
    QCheckBox* noIntroEnding_ = nullptr;
    QCheckBox* beat2_ = nullptr;
    QCheckBox* channels911_ = nullptr;
    QCheckBox* showWhenLoading_ = nullptr;
    QCheckBox* fixSet_ = nullptr;
    QSpinBox* setCount_ = nullptr;
    QPushButton* create_ = nullptr;
    QLabel* file_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    bool showing_ = false;   // filling the boxes from a view: their signals send nothing
};

}  // namespace chordella::ui
