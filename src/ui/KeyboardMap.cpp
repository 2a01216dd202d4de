#include "ui/KeyboardMap.h"

#include "chords/ComputerKeys.h"

namespace chordella::ui {

namespace {

// The places of the keys, by the German layout's codes: the digit row from its top-left
// key, the Q row, the A row and the row left of Y (the 102nd key first).
constexpr std::array<std::array<int, 13>, KeyboardRowCount> Places{{
    {0xDC, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xDB, 0xDD},
    {'Q', 'W', 'E', 'R', 'T', 'Z', 'U', 'I', 'O', 'P', 0xBA, 0xBB, 0},
    {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xC0, 0xDE, 0xBF, 0},
    {0xE2, 'Y', 'X', 'C', 'V', 'B', 'N', 'M', 0xBC, 0xBE, 0xBD, 0, 0},
}};

// What each layout prints on those places (a space: no key there).
struct PrintedRows {
    int Layout;
    std::array<const char16_t*, KeyboardRowCount> Rows;
};
constexpr std::array<PrintedRows, 4> Printed{{
    {chords::GermanLayout, {u"^1234567890\u00df\u00b4", u"qwertzuiop\u00fc+", u"asdfghjkl\u00f6\u00e4#", u"<yxcvbnm,.-"}},
    {chords::SwappedLayout, {u"`1234567890-=", u"qwertyuiop[]", u"asdfghjkl;'\\", u" zxcvbnm,./"}},
    {chords::FrenchLayout, {u"\u00b2&\u00e9\"'(-\u00e8_\u00e7\u00e0)=", u"azertyuiop^$", u"qsdfghjklm\u00f9*", u"<wxcvbn,;:!"}},
    {chords::UkLayout, {u"`1234567890-=", u"qwertyuiop[]", u"asdfghjkl;'#", u"\\zxcvbnm,./"}},
}};

constexpr std::array<const char*, 12> RootNames{"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};

QString NoteName(int note) { return QString("%1%2").arg(RootNames[static_cast<std::size_t>(note % 12)]).arg(note / 12 - 1); }

QString Escaped(QChar c) { return QString(c).toHtmlEscaped(); }

// The key row as a table row of boxes: the printed key over what it does.
QString RowHtml(const std::vector<MapKey>& row, int indent, const std::array<QString, 11>& slotTypes) {
    QString html = "<tr>";
    if (indent > 0) html += QString("<td colspan=\"%1\"></td>").arg(indent);
    for (const MapKey& key : row) {
        if (key.Printed == ' ') {
            html += "<td></td>";
            continue;
        }
        const int value = chords::KeyValue(key.Code);
        const char* colour = value == 0                        ? "#8a9099"
                             : value <= chords::LastTypeValue  ? "#c98a14"
                             : chords::KeyZone(key.Code) == chords::KeyZoneKind::MelodyUp ||
                                       chords::KeyZone(key.Code) == chords::KeyZoneKind::MelodyUpToo
                                 ? "#2f6fd0"
                                 : "#2e9e4f";
        QString role = KeyRole(key.Code, slotTypes);
        role.replace("chord ", "").replace("melody ", "").replace("type: ", "");
        html += QString("<td colspan=\"2\" align=\"center\" style=\"border: 1px solid %1; padding: 2px\">"
                        "<b>%2</b><br><span style=\"color: %1\">%3</span></td>")
                    .arg(colour, Escaped(key.Printed.toUpper()), role.isEmpty() ? "&nbsp;" : role.toHtmlEscaped());
    }
    return html + "</tr>";
}

}  // namespace

KeyboardRows RowsOf(int layout) {
    const PrintedRows* printed = &Printed[1];
    for (const PrintedRows& candidate : Printed)
        if (candidate.Layout == layout) printed = &candidate;
    KeyboardRows rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QString text = QString::fromUtf16(printed->Rows[r]);
        for (qsizetype i = 0; i < text.size(); ++i)
            rows[r].push_back({text[i], Places[r][static_cast<std::size_t>(i)]});
    }
    return rows;
}

QString KeyRole(int code, const std::array<QString, 11>& slotTypes) {
    const int value = chords::KeyValue(code);
    if (value == 0) return {};
    if (value <= chords::LastTypeValue) {
        if (value >= 1 && value <= 11) return "type: " + slotTypes[static_cast<std::size_t>(value - 1)];
        return value == 18 ? "type: min" : value == 19 ? "type: 7th" : QString();
    }
    switch (chords::KeyZone(code)) {
        case chords::KeyZoneKind::MelodyUp:
        case chords::KeyZoneKind::MelodyUpToo:
            return "melody " + NoteName(value + 12);
        case chords::KeyZoneKind::Never:
            return {};
        default:
            return QString("chord ") + RootNames[static_cast<std::size_t>(value % 12)];
    }
}

QString KeyboardHelpHtml(int layout, const std::array<QString, 11>& slotTypes) {
    const KeyboardRows rows = RowsOf(layout);
    const std::size_t layoutIndex = layout >= 0 && layout < static_cast<int>(chords::LayoutNames.size())
                                        ? static_cast<std::size_t>(layout)
                                        : static_cast<std::size_t>(chords::SwappedLayout);
    QString html = "<h2>The computer keyboard</h2>";
    html += QString("<p>Layout: <b>%1</b> (Options → Keys → \"Computer keyboard\"). "
                    "<span style=\"color:#2e9e4f\">Green</span>: chord keys — with the accompaniment on they "
                    "play the chord on that root, with it off a melody note. "
                    "<span style=\"color:#2f6fd0\">Blue</span>: melody keys, one octave higher. "
                    "<span style=\"color:#c98a14\">Amber</span>: chord types.</p>")
                .arg(QString::fromUtf8(chords::LayoutNames[layoutIndex].data(),
                                       static_cast<qsizetype>(chords::LayoutNames[layoutIndex].size())));
    html += "<table cellspacing=\"2\">";
    for (std::size_t r = 0; r < rows.size(); ++r) html += RowHtml(rows[r], static_cast<int>(r), slotTypes);
    html += "</table>";
    html += "<h3>Chord types</h3><p>Hold the type key first, then press the chord key:</p><ul>"
            "<li><b>Shift</b> + chord key: minor (Shift+V: D min)</li>"
            "<li><b>Ctrl</b> + chord key: seventh (Ctrl+V: D 7th)</li>"
            "<li><b>1 … 9, 0</b> + chord key: the types of the pad rows B … K (";  // slot = digit + 1
    for (std::size_t digit = 1; digit <= 10; ++digit)
        html += QString("%1%2 = %3").arg(digit > 1 ? ", " : "").arg(digit % 10).arg(slotTypes[digit].toHtmlEscaped());
    html += ")</li>"
            "<li>A chord key alone plays the major chord. Release the chord key before the next one.</li>"
            "<li>While the style plays, a chord waits for the next beat; a type key pressed while a chord "
            "waits is not taken — press the type key first.</li></ul>";
    html += "<h3>The window's keys</h3><table cellspacing=\"4\">"
            "<tr><td><b>Space</b>, <b>F10</b></td><td>Start / Stop</td></tr>"
            "<tr><td><b>F1</b></td><td>Fill in (before the style plays: this help)</td></tr>"
            "<tr><td><b>F2</b></td><td>To Extended</td></tr>"
            "<tr><td><b>F3</b></td><td>To Basic</td></tr>"
            "<tr><td><b>F4</b></td><td>Ending (twice: stop at once)</td></tr>"
            "<tr><td><b>F5</b>, <b>F6</b>, <b>F7</b></td><td>Intro, Basic, Extended</td></tr>"
            "<tr><td><b>F8</b></td><td>Tap tempo</td></tr>"
            "<tr><td><b>F9</b></td><td>Record the chords</td></tr>"
            "<tr><td><b>F11</b></td><td>Fade out</td></tr>"
            "<tr><td><b>F12</b></td><td>Save the song</td></tr>"
            "<tr><td><b>Tab</b></td><td>Stage view on and off (<b>Esc</b> or a double click also leave it)</td></tr>"
            "<tr><td>Numeric pad <b>0 … 9</b></td><td>the MIDI commands of the remote control</td></tr>"
            "<tr><td>Numeric pad <b>+</b>, <b>−</b></td><td>allow or ignore program changes</td></tr>"
            "</table>"
            "<p>A field you clicked into (tempo, split, transposition, the style search) keeps the keys it "
            "types with; press Enter or click elsewhere to give them back.</p>";
    html += "<h3>The chord pads</h3><ul>"
            "<li>Rows <b>A … K</b>: one chord type each (";
    for (std::size_t row = 0; row < slotTypes.size(); ++row)
        html += QString("%1%2 %3").arg(row > 0 ? ", " : "").arg(QChar('A' + static_cast<int>(row))).arg(slotTypes[row].toHtmlEscaped());
    html += "); columns: the roots E, F, F#, G, Ab, A, Bb, B, C, C#, D, Eb.</li>"
            "<li>The two rows below: the common chords of C major and their neighbours.</li>"
            "<li>The bottom row: Fill in, To Basic, Ending, To Extended, Intro — the same as F1, F3, F4, F2, F5. "
            "Shift+click on any of them plays the intro.</li>"
            "<li>With <b>Edit</b> ticked a pad hands its chord to the chord-memory editor instead of playing it.</li>"
            "<li>The on-screen keyboard: click a key in the shaded chord zone for a major chord (a held type key "
            "changes it), above it for a melody note; right-click a key to make it the top of the chord zone.</li>"
            "</ul>";
    return html;
}

}  // namespace chordella::ui
