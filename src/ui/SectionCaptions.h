#pragma once
// The captions of the section functions and the computer key of each, the one source the
// arranger panel's buttons and the chord pads' bottom row both name them from: the panel
// writes "To Basic" over "F3", the pad row "To Basic - F3".
//
// Any thread.

#include <QString>

namespace chordella::ui {

struct SectionCaption {
    const char* Caption;
    const char* Key;  // the computer key that does the same
};

inline constexpr SectionCaption IntroCaption{"Intro", "F5"};
inline constexpr SectionCaption BasicCaption{"Basic", "F6"};
inline constexpr SectionCaption ExtendedCaption{"Extended", "F7"};
inline constexpr SectionCaption FillInCaption{"Fill in", "F1"};
inline constexpr SectionCaption ToBasicCaption{"To Basic", "F3"};
inline constexpr SectionCaption ToExtendedCaption{"To Extended", "F2"};
inline constexpr SectionCaption EndingCaption{"Ending", "F4"};
inline constexpr SectionCaption FadeCaption{"Fade", "F11"};

// "To Basic\nF3": a large button's two lines.
inline QString ButtonText(const SectionCaption& caption) {
    return QStringLiteral("%1\n%2").arg(QLatin1String(caption.Caption), QLatin1String(caption.Key));
}
// "To Basic - F3": one line of a pad.
inline QString PadText(const SectionCaption& caption) {
    return QStringLiteral("%1 - %2").arg(QLatin1String(caption.Caption), QLatin1String(caption.Key));
}

}  // namespace chordella::ui
