#include "ui/VirtualKeys.h"

#include <Qt>
#include <span>

#include "chords/ComputerKeys.h"

namespace chordella::ui {

namespace {

struct KeyCode {
    int Key;   // Qt::Key
    int Code;  // the code of the key that types it on that layout
};

// The characters of each layout outside the letters and digits, unshifted and shifted, with
// the code of their key. The codes are the Windows codes of that layout; the chord entry
// moves them to the keys' places (chords::KeyLayoutMap).
constexpr KeyCode UsCharacters[] = {
    {Qt::Key_Exclam, '1'},        {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'},  {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},       {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},   {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},     {Qt::Key_ParenRight, '0'},  {Qt::Key_Semicolon, 0xBA},  {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},        {Qt::Key_Plus, 0xBB},       {Qt::Key_Comma, 0xBC},      {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},        {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},     {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},        {Qt::Key_Question, 0xBF},   {Qt::Key_QuoteLeft, 0xC0},  {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},  {Qt::Key_BraceLeft, 0xDB},  {Qt::Key_Backslash, 0xDC},  {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE},
};

constexpr KeyCode GermanCharacters[] = {
    {Qt::Key_Dead_Circumflex, 0xDC}, {Qt::Key_AsciiCircum, 0xDC}, {Qt::Key_degree, 0xDC},    {Qt::Key_Exclam, '1'},
    {Qt::Key_QuoteDbl, '2'},         {Qt::Key_section, '3'},      {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},
    {Qt::Key_Ampersand, '6'},        {Qt::Key_Slash, '7'},        {Qt::Key_ParenLeft, '8'},  {Qt::Key_ParenRight, '9'},
    {Qt::Key_Equal, '0'},            {Qt::Key_ssharp, 0xDB},      {Qt::Key_Question, 0xDB},  {Qt::Key_Dead_Acute, 0xDD},
    {Qt::Key_acute, 0xDD},           {Qt::Key_Dead_Grave, 0xDD},  {Qt::Key_QuoteLeft, 0xDD}, {Qt::Key_Udiaeresis, 0xBA},
    {Qt::Key_Plus, 0xBB},            {Qt::Key_Asterisk, 0xBB},    {Qt::Key_Odiaeresis, 0xC0}, {Qt::Key_Adiaeresis, 0xDE},
    {Qt::Key_NumberSign, 0xBF},      {Qt::Key_Apostrophe, 0xBF},  {Qt::Key_Less, 0xE2},      {Qt::Key_Greater, 0xE2},
    {Qt::Key_Bar, 0xE2},             {Qt::Key_Comma, 0xBC},       {Qt::Key_Semicolon, 0xBC}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Colon, 0xBE},           {Qt::Key_Minus, 0xBD},       {Qt::Key_Underscore, 0xBD},
};

// AZERTY: the digits are the shifted keys of the top row.
constexpr KeyCode FrenchCharacters[] = {
    {Qt::Key_twosuperior, 0xDE},     {Qt::Key_Ampersand, '1'},     {Qt::Key_Eacute, '2'},      {Qt::Key_QuoteDbl, '3'},
    {Qt::Key_Apostrophe, '4'},       {Qt::Key_ParenLeft, '5'},     {Qt::Key_Minus, '6'},       {Qt::Key_Egrave, '7'},
    {Qt::Key_Underscore, '8'},       {Qt::Key_Ccedilla, '9'},      {Qt::Key_Agrave, '0'},      {Qt::Key_ParenRight, 0xDB},
    {Qt::Key_degree, 0xDB},          {Qt::Key_Equal, 0xBB},        {Qt::Key_Plus, 0xBB},       {Qt::Key_Dead_Circumflex, 0xDD},
    {Qt::Key_AsciiCircum, 0xDD},     {Qt::Key_Dead_Diaeresis, 0xDD}, {Qt::Key_diaeresis, 0xDD}, {Qt::Key_Dollar, 0xBA},
    {Qt::Key_sterling, 0xBA},        {Qt::Key_Ugrave, 0xC0},       {Qt::Key_Percent, 0xC0},    {Qt::Key_Asterisk, 0xDC},
    {Qt::Key_mu, 0xDC},              {Qt::Key_Less, 0xE2},         {Qt::Key_Greater, 0xE2},    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Question, 0xBC},        {Qt::Key_Semicolon, 0xBE},    {Qt::Key_Period, 0xBE},     {Qt::Key_Colon, 0xBF},
    {Qt::Key_Slash, 0xBF},           {Qt::Key_Exclam, 0xDF},       {Qt::Key_section, 0xDF},
};

constexpr KeyCode UkCharacters[] = {
    {Qt::Key_QuoteLeft, 0xDF},    {Qt::Key_notsign, 0xDF},    {Qt::Key_brokenbar, 0xDF},  {Qt::Key_Exclam, '1'},
    {Qt::Key_QuoteDbl, '2'},      {Qt::Key_sterling, '3'},    {Qt::Key_Dollar, '4'},      {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},   {Qt::Key_Ampersand, '7'},   {Qt::Key_Asterisk, '8'},    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},    {Qt::Key_Minus, 0xBD},      {Qt::Key_Underscore, 0xBD}, {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},         {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},   {Qt::Key_Semicolon, 0xBA},  {Qt::Key_Colon, 0xBA},      {Qt::Key_Apostrophe, 0xC0},
    {Qt::Key_At, 0xC0},           {Qt::Key_NumberSign, 0xDE}, {Qt::Key_AsciiTilde, 0xDE}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},          {Qt::Key_Comma, 0xBC},      {Qt::Key_Less, 0xBC},       {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},      {Qt::Key_Slash, 0xBF},      {Qt::Key_Question, 0xBF},
};

// Keys that are no characters.
constexpr KeyCode Named[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},     {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},     {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},     {Qt::Key_Left, 0x25},    {Qt::Key_Up, 0x26},     {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},      {Qt::Key_Delete, 0x2E},
};

std::span<const KeyCode> CharactersOf(int layout) {
    switch (layout) {
        case chords::GermanLayout:
            return GermanCharacters;
        case chords::FrenchLayout:
            return FrenchCharacters;
        case chords::UkLayout:
            return UkCharacters;
        default:
            return UsCharacters;
    }
}

}  // namespace

int VirtualKeyOf(int qtKey, int layout) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 0x70 + (qtKey - Qt::Key_F1);
    for (const KeyCode& key : CharactersOf(layout))
        if (key.Key == qtKey) return key.Code;
    for (const KeyCode& key : Named)
        if (key.Key == qtKey) return key.Code;
    return NoVirtualKey;
}

}  // namespace chordella::ui
