#include "ui/DisplayWords.h"

#include <array>

namespace chordella::ui::words {

namespace {

constexpr std::array<const char*, 8> PartNames{"Intro",         "Basic",            "Extended",    "Ending",
                                               "Fill in Basic", "Fill in Extended", "To Extended", "To Basic"};

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

QString PartName(int part) { return part >= 0 && part < 8 ? PartNames[static_cast<std::size_t>(part)] : ""; }

QString PlayingPart(const app::DisplaySnapshot& snapshot) {
    QString part = PartName(snapshot.Part);
    if (part.isEmpty()) return "Stopped";
    if (snapshot.Fading) part += "  (fading)";
    return part;
}

QString QueuedPart(const app::DisplaySnapshot& snapshot) {
    const QString queued = PartName(snapshot.QueuedPart);
    return queued.isEmpty() ? QString() : "next: " + queued;
}

QString MeasureAndBeat(const app::DisplaySnapshot& snapshot) {
    if (snapshot.Measure == 0 && snapshot.Beat == 0) return QStringLiteral("-:-");
    return QStringLiteral("%1:%2").arg(snapshot.Measure).arg(snapshot.Beat);
}

QString Chord(const app::DisplaySnapshot& snapshot) {
    const QString chord = Utf8(snapshot.ChordName.c_str());
    return chord.isEmpty() ? QStringLiteral("-") : chord;
}

QString NextChord(const app::DisplaySnapshot& snapshot) {
    const QString next = Utf8(snapshot.NextChord.c_str());
    return next.isEmpty() ? QString() : "next: " + next;
}

QString SongTitle(const app::DisplaySnapshot& snapshot) { return Utf8(snapshot.SongTitle.c_str()); }

QString Style(const app::DisplaySnapshot& snapshot) {
    const QString style = Utf8(snapshot.StyleFullName.c_str());
    return style.isEmpty() ? QStringLiteral("No style loaded") : style;
}

QString Output(const app::DisplaySnapshot& snapshot) {
    const QString name = Utf8(snapshot.OutputName.c_str());
    switch (snapshot.Output) {
        case app::OutputStatus::Ready:
            return name + (snapshot.Playing ? "  \u00b7  playing" : "  \u00b7  ready");
        case app::OutputStatus::NoAudioDevice:
            return name + "  \u00b7  no audio device";
        case app::OutputStatus::PortLost:
            return name + "  \u00b7  port lost";
        case app::OutputStatus::None:
            break;
    }
    return "No output";
}

QString Priority(const app::DisplaySnapshot& snapshot) {
    switch (snapshot.Priority) {
        case app::PriorityStatus::Realtime:
            return "Real-time priority";
        case app::PriorityStatus::Denied:
            return "Normal priority (real time denied)";
        case app::PriorityStatus::Normal:
            break;
    }
    return snapshot.Playing ? "Normal priority" : "Normal priority (stopped)";
}

}  // namespace chordella::ui::words
