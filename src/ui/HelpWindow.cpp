#include "ui/HelpWindow.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/Version.h"
#include "midi/Synth.h"
#include "ui/KeyboardMap.h"

namespace chordella::ui {

namespace {

constexpr const char* PlayingLiveHtml = R"(
<h2>Playing live</h2>
<h3>Before the gig</h3>
<ul>
<li>Choose the output in Options (the built-in synth, or your sound module's port) and check the
display: the output line must say <i>ready</i>, not <i>no audio device</i> or <i>port lost</i>.</li>
<li>Load the styles of the evening into a songlist or the style playlist, so one click or the
next-song key brings each.</li>
<li><b>View → Stage view</b> (or <b>Tab</b>) gives the whole window to the chord, the beat lamps
and the part, large enough to read from a few metres.</li>
</ul>
<h3>The split</h3>
<p>Keys up to the split (the shaded zone of the on-screen keyboard, the <b>Split</b> field)
play chords; keys above play the melody on your channel. Right-click a key of the on-screen
keyboard, or press <b>Split on key</b> and click one, to move the split. The section keys below
the chord zone (Fill in, To Extended, Ending, To Basic and the five under them) switch the
parts from the MIDI keyboard.</p>
<h3>Sections</h3>
<ul>
<li><b>Intro (F5)</b> leads into Basic; <b>Basic (F6)</b> and <b>Extended (F7)</b> are the two
main parts.</li>
<li><b>Fill in (F1)</b> plays a fill from the next beat and returns to the main part.</li>
<li><b>To Basic (F3)</b> and <b>To Extended (F2)</b> play the transition, then that part.</li>
<li><b>Ending (F4)</b> plays the ending from the next measure and stops; press it again to stop
at once. Without an ending the style fades out, as <b>Fade (F11)</b> does.</li>
<li>The part that plays is lit green, the one queued next amber; the display says
<i>next: …</i>.</li>
</ul>
<h3>Sync Start</h3>
<p>Arm <b>Sync Start</b> (it lights blue) and the style starts with the first chord you play,
on the beat, from the MIDI keyboard, the pads or the computer keys. Pressed while the style
plays, it stops the style and waits for the next chord. In slave mode it waits for the
external MIDI start instead.</p>
<h3>Tempo</h3>
<p>Type the tempo into its field, or tap it: <b>F8</b> opens the tap window, and the taps of one
measure set the tempo and start the style.</p>
<h3>When something hangs: panic</h3>
<ul>
<li><b>Space</b> or <b>F10</b> stops everything; stopping silences every channel of the
accompaniment output.</li>
<li>The mixer's <b>C. Reset</b> resets the controllers of all sixteen channels (a stuck sustain
pedal, a wrong pitch bend).</li>
<li>If the output line says <i>port lost</i>, the device went away: plug it in again and choose
it in Options.</li>
</ul>
)";

struct Licence {
    const char* Name;
    const char* Terms;
};

constexpr std::array<Licence, 5> Libraries{{
    {"Qt 6", "GNU LGPL v3"},
    {"FluidSynth", "GNU LGPL v2.1 or later"},
    {"RtMidi", "MIT licence"},
    {"JACK client library", "GNU LGPL v2.1 or later"},
    {"CLI11", "BSD 3-clause licence"},
}};

// The licence of the General MIDI SoundFonts Debian ships; others carry their own.
QString SoundFontLicence(const QString& file) {
    const QString name = QFileInfo(file).fileName().toLower();
    if (name.contains("timgm6mb")) return "TimGM6mb by Tim Brechbill, GNU GPL v2";
    if (name.contains("fluidr3")) return "FluidR3_GM by Frank Wen, MIT licence";
    return "see the licence that came with it";
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle("Chordella Help");
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget;
    keys_ = new QTextBrowser;
    keys_->setObjectName("KeyboardMapText");
    live_ = new QTextBrowser;
    live_->setObjectName("PlayingLiveText");
    live_->setHtml(PlayingLiveHtml);
    tabs_->addTab(keys_, "&Keyboard map");
    tabs_->addTab(live_, "&Playing live");
    layout->addWidget(tabs_);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QWidget::close);
    layout->addWidget(close);
    resize(760, 560);
}

void HelpWindow::ShowPage(Page page, int layout, const std::array<QString, 11>& slotTypes) {
    keys_->setHtml(KeyboardHelpHtml(layout, slotTypes));
    tabs_->setCurrentIndex(page);
    show();
    raise();
    activateWindow();
}

QString HelpWindow::PageText(Page page) const {
    return (page == KeyboardPage ? keys_ : live_)->toPlainText();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutDialog");
    setWindowTitle("About Chordella");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(Text());
    text->setObjectName("AboutText");
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString AboutDialog::Text() {
    QString html = QString("<h2>Chordella %1</h2><p>An arranger keyboard in software: chords in, a band out.</p>")
                       .arg(app::Version);
    const QString soundFont = QString::fromStdString(midi::FindSoundFont());
    const QString resolved = QFileInfo(soundFont).canonicalFilePath();
    if (soundFont.isEmpty()) {
        html += "<p><b>SoundFont:</b> none found; the built-in synth is silent.</p>";
    } else {
        const QString shown = resolved.isEmpty() ? soundFont : resolved;
        html += QString("<p><b>SoundFont:</b> %1<br>%2</p>")
                    .arg(shown.toHtmlEscaped(), SoundFontLicence(shown).toHtmlEscaped());
    }
    html += "<p><b>Libraries</b></p><ul>";
    for (const Licence& library : Libraries) html += QString("<li>%1 — %2</li>").arg(library.Name, library.Terms);
    html += QString("</ul><p>Qt %1 at run time.</p>").arg(qVersion());
    return html;
}

}  // namespace chordella::ui
