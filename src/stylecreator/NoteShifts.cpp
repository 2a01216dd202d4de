#include "stylecreator/NoteShifts.h"

#include <array>

#include "stylecreator/CreatorPositions.h"
#include "stylecreator/MaterialWalk.h"

namespace chordella::stylecreator {

namespace {

constexpr int NoKey = -1;

bool IsNoteMessage(int status) { return status == 0x80 || status == 0x90 || status == 0xA0; }
bool EndsNote(const std::uint8_t* message) {
    return (message[0] & 0xF0) == 0x80 || ((message[0] & 0xF0) == 0x90 && message[2] == 0);
}

// Walks the material with the beat position of every message.
template <typename OnMessage>
void WalkWithPositions(data::CreatorWork& work, OnMessage onMessage) {
    std::int64_t tick = 0;
    WalkMaterial(
        work,
        [&](std::uint8_t* message, data::WorkPosition) {
            onMessage(message, data::FirstPosition + static_cast<int>(tick / TicksPerBeat) * data::UnitsPerBeat);
            return true;
        },
        [&](int ticks) {
            tick += ticks;
            return true;
        });
}

}  // namespace

int ShiftNoteKeys(data::CreatorWork& work, const ShiftRange& range, const ChannelFilter& filter, int semitones) {
    std::array<std::array<int, 128>, 16> shiftedTo;
    for (auto& row : shiftedTo) row.fill(NoKey);
    int shifted = 0;
    WalkWithPositions(work, [&](std::uint8_t* message, int position) {
        const int status = message[0] & 0xF0;
        if (!IsNoteMessage(status)) return;
        const int channel = message[0] & 0x0F;
        int& remembered = shiftedTo[static_cast<std::size_t>(channel)][message[1]];
        if (EndsNote(message)) {
            if (remembered != NoKey) message[1] = static_cast<std::uint8_t>(remembered);
            remembered = NoKey;
            return;
        }
        if (status == 0xA0) {
            if (remembered != NoKey) message[1] = static_cast<std::uint8_t>(remembered);
            return;
        }
        if (position < range.StartPosition || position >= range.StopPosition || !filter.Passes(channel)) return;
        const int key = message[1] + semitones;
        if ((semitones > 0 && key >= 127) || (semitones < 0 && key <= 0) || semitones == 0) return;
        remembered = key;
        message[1] = static_cast<std::uint8_t>(key);
        ++shifted;
    });
    return shifted;
}

int MoveChannelMessages(data::CreatorWork& work, const ShiftRange& range, int from, int to) {
    if (from == to || from < 0 || from > 15 || to < 0 || to > 15) return 0;
    // Per key of the source channel: 0 silent, 1 sounding and moved, 2 sounding where it was.
    std::array<std::uint8_t, 128> sounding{};
    int moved = 0;
    WalkWithPositions(work, [&](std::uint8_t* message, int position) {
        if ((message[0] & 0x0F) != from) return;
        const int status = message[0] & 0xF0;
        const bool inside = position >= range.StartPosition && position < range.StopPosition;
        if (IsNoteMessage(status) && EndsNote(message)) {
            const std::uint8_t state = sounding[message[1]];
            sounding[message[1]] = 0;
            if (state == 2 || (state == 0 && !inside)) return;
        } else if (status == 0x90) {
            sounding[message[1]] = inside ? 1 : 2;
            if (!inside) return;
        } else if (status == 0xA0) {
            if (sounding[message[1]] == 2 || (sounding[message[1]] == 0 && !inside)) return;
        } else if (!inside) {
            return;
        }
        message[0] = static_cast<std::uint8_t>(status | to);
        ++moved;
    });
    return moved;
}

void MoveChannelSetup(data::StyleHeader& header, int from, int to, bool wholeMaterial) {
    if (from == to || from < 0 || from > 15 || to < 0 || to > 15) return;
    const auto source = static_cast<std::size_t>(from);
    const auto target = static_cast<std::size_t>(to);
    if (header.ChannelUsed[target] == 0) {
        for (const int index : data::MixerSetupIndexes)
            header.ChannelSetup[target][static_cast<std::size_t>(index)] =
                header.ChannelSetup[source][static_cast<std::size_t>(index)];
        header.ChannelUsed[target] = 1;
    }
    if (wholeMaterial) header.ChannelUsed[source] = 0;
}

}  // namespace chordella::stylecreator
