#pragma once
// MusicXML 4.0 lead sheets: one part, the song's meter and tempo in the first measure,
// each beat a quarter rest, a <harmony> before the beat a chord starts on, repeat bar
// lines around loops. Notation programs open it as a chord chart. Any thread.

#include <string>

#include "composer/ChordChart.h"

namespace chordella::composer {

std::string WriteMusicXml(const ChordChart& chart);

}  // namespace chordella::composer
