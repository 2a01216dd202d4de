#pragma once
// The words the performance displays show for a display snapshot: the same texts in the
// normal view and on the stage.
//
// Any thread (pure functions).

#include <QString>

#include "app/DisplaySnapshot.h"

namespace chordella::ui::words {

// The part names by part number ("Intro" … "To Basic"); empty for none.
QString PartName(int part);
// The part that plays ("Basic", "Ending  (fading)"), or "Stopped".
QString PlayingPart(const app::DisplaySnapshot& snapshot);
// "next: Basic" while another part is queued, else empty.
QString QueuedPart(const app::DisplaySnapshot& snapshot);
// "12:3", or "-:-" while the clock stands.
QString MeasureAndBeat(const app::DisplaySnapshot& snapshot);
// The chord that sounds, or "-".
QString Chord(const app::DisplaySnapshot& snapshot);
// "next: A min" while a song plays, else empty.
QString NextChord(const app::DisplaySnapshot& snapshot);
// The song's title, or empty when no song is loaded.
QString SongTitle(const app::DisplaySnapshot& snapshot);
// The style's whole name, or "No style loaded".
QString Style(const app::DisplaySnapshot& snapshot);
// "Built-in synth · playing", "USB Keys · port lost", "No output".
QString Output(const app::DisplaySnapshot& snapshot);
// "Real-time priority", "Normal priority (real time denied)", "Normal priority" while
// something plays without it, "Normal priority (stopped)".
QString Priority(const app::DisplaySnapshot& snapshot);

}  // namespace chordella::ui::words
