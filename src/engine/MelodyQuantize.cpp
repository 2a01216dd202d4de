#include "engine/MelodyQuantize.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/Random.h"

namespace chordella::engine {

namespace {
constexpr std::array<std::pair<std::string_view, int>, MelodyGridCount> Grids{{
    {"1/32 swing", 2}, {"1/32", 3}, {"1/16 swing", 4}, {"1/16", 6}, {"1/8 swing", 8}, {"1/8", 12}, {"None", 0}}};
// Shifts up to this size are kept exactly by humanize.
constexpr int HumanizeKeeps = 3;

bool IsNoteOnOrOff(std::uint8_t status) { return status == 0x90 || status == 0x80; }

int HumanizedShift(int shift, platform::Random& random) {
    if (shift > HumanizeKeeps) return shift - (1 + random.Below(shift));
    if (shift < -HumanizeKeeps) return shift + (1 + random.Below(-shift));
    return shift;
}
}  // namespace

int MelodyGridOf(std::string_view caption) {
    for (const auto& [name, grid] : Grids) {
        if (name == caption) return grid;
    }
    return -1;
}

void QuantizeMelodyTrack(data::MelodyTrack& track, int grid, bool humanize, platform::Random& random) {
    const auto count = static_cast<std::size_t>(std::clamp<int>(track.MelodyCount, 0, track.MelodyCapacity));
    std::copy_n(track.MelodyBackup.begin(), count, track.MelodyBuffer.begin());
    if (grid <= 0) return;
    for (std::size_t i = 0; i < count; ++i) {
        data::MelodyEvent& on = track.MelodyBuffer[i];
        // Only a note-on moves: a 0x80 note-off keeps its place even with a release velocity.
        if (on.Status != 0x90 || on.Data2 == 0) continue;
        const std::int32_t q = on.Time / grid;
        const std::int32_t r = on.Time % grid;
        if (r == 0) continue;
        int shift = 0;
        if (r > grid / 2) {
            on.Time = (q + 1) * grid;
            shift = grid - r;
        } else {
            on.Time = q * grid;
            shift = -r;
        }
        for (std::size_t j = i + 1; j < count; ++j) {
            data::MelodyEvent& off = track.MelodyBuffer[j];
            if (IsNoteOnOrOff(off.Status) && off.Data1 == on.Data1 && off.Data2 == 0) {
                off.Time += humanize ? HumanizedShift(shift, random) : shift;
                break;
            }
        }
    }
}

}  // namespace chordella::engine
