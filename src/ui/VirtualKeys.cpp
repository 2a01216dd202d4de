#include "ui/VirtualKeys.h"

#include <Qt>
#include <array>
#include <utility>

namespace chordella::ui {

namespace {

// Punctuation, unshifted and shifted (US layout), with its code.
constexpr std::array<std::pair<int, int>, 22> Punctuation{{
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA},      {Qt::Key_Equal, 0xBB},       {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},     {Qt::Key_Less, 0xBC},       {Qt::Key_Minus, 0xBD},       {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},    {Qt::Key_Greater, 0xBE},    {Qt::Key_Slash, 0xBF},       {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC},        {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE},
}};

// The shifted digits of a US keyboard, '1' … '9' then '0'.
constexpr std::array<int, 10> ShiftedDigits{Qt::Key_Exclam,    Qt::Key_At,         Qt::Key_NumberSign, Qt::Key_Dollar,
                                            Qt::Key_Percent,   Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                                            Qt::Key_ParenLeft, Qt::Key_ParenRight};

// Keys that are no characters.
constexpr std::array<std::pair<int, int>, 14> Named{{
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},   {Qt::Key_Return, 0x0D},  {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},     {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},   {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},     {Qt::Key_Left, 0x25},  {Qt::Key_Up, 0x26},      {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},      {Qt::Key_Delete, 0x2E},
}};

}  // namespace

int VirtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 0x70 + (qtKey - Qt::Key_F1);
    for (std::size_t i = 0; i < ShiftedDigits.size(); ++i)
        if (ShiftedDigits[i] == qtKey) return i == 9 ? '0' : static_cast<int>('1' + i);
    for (const auto& [key, code] : Punctuation)
        if (key == qtKey) return code;
    for (const auto& [key, code] : Named)
        if (key == qtKey) return code;
    return NoVirtualKey;
}

}  // namespace chordella::ui
