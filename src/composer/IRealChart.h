#pragma once
// iReal Pro links in the open irealbook:// form:
//   irealbook://Title=Composer=Style=Key=n=ChordString
// percent-encoded. The chord string: "T44" for the meter, one cell per beat (a chord or a
// space, "," between two chords in neighbouring cells), "|" between measures, "[" at the
// start, "{" and "}" around repeats (with "<3x>" when a repeat plays other than twice),
// "Z" at the end. Qualities are iReal's ("-7", "^7", "h7", "o", "7sus"). Any thread.

#include <string>
#include <string_view>

#include "composer/ChordChart.h"
#include "composer/ChordProChart.h"

namespace chordella::composer {

std::string WriteIRealLink(const ChordChart& chart);

// Reads the first song of an irealbook:// link (the text may hold other lines around it).
// The scrambled irealb:// form is refused with a message.
ChartReading ReadIRealLink(std::string_view text);

}  // namespace chordella::composer
