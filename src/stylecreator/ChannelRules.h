#pragma once
// Rules applied to a loaded style by channel role: the bass to channel 11, muting the bass or
// the guitars, dampening guitars and strings, and freeing channel 1 for a soloist.

#include "stylecreator/ChannelRoles.h"
#include "stylecreator/ChannelRulesLink.h"

namespace chordella::stylecreator {

enum class BassMoveResult {
    AlreadyOn11,
    NotFound,
    NoFreeChannel,
    Moved,
};

struct BassMove {
    BassMoveResult Result = BassMoveResult::NotFound;
    int From = -1;            // the bass channel found (0-based)
    int Channel11MovedTo = -1;  // where channel 11's former content went; −1 = it was free
};

// Control thread. Moves the bass to channel 11 (see the .cpp for the search). `silent` is
// the run after a converted foreign style: no messages, no redirection of the bass group, and
// channel 11 moves away only when a bass was found. Names are the channels' instrument names.
BassMove MoveBassToChannel11(const ChannelTarget& style, const ChannelNames& names, ChannelRulesLink& link,
                             bool silent = false);

struct MuteAndDampen {
    bool MuteBass = false;
    bool MuteGuitars = false;
    bool Dampen = false;
    int DampenAmount = 20;
    // On load: the mute boxes of the checked roles are set, not toggled (a box the previous
    // style left muted must not come back on with the rule checked).
    bool SetMutes = false;
};
// Control thread. With the toggling buttons pass only the pressed role; on load pass the
// checked options.
void ApplyMuteAndDampen(data::StyleState& style, const ChannelNames& names, const MuteAndDampen& rule,
                        ChannelRulesLink& link);

// Control thread. Moves channel 1's content to the first unused channel of 2 … 16 other than
// 10, 11 and `soloChannel` (0-based, −1 = none). The channel it went to, or −1.
int FreeChannel1ForSolo(const ChannelTarget& style, int soloChannel);

}  // namespace chordella::stylecreator
