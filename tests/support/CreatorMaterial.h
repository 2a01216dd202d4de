#pragma once
// Creator material written inline for tests: notes and messages at ticks, put into the
// work's chunk 0 as the import would leave them (waits of at most 8 ticks, 0x00 after the end).

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data/CreatorWork.h"
#include "data/StyleStream.h"

namespace chordella::testing {

class CreatorMaterial {
public:
    CreatorMaterial& Message(std::int64_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        events_.push_back({tick, static_cast<int>(events_.size()), status, data1, data2});
        return *this;
    }
    // A note-on at `tick` and its note-off (a note-on with velocity 0) `length` ticks later.
    CreatorMaterial& Note(int channel, int key, std::int64_t tick, std::int64_t length, int velocity = 100) {
        Message(tick, static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
                static_cast<std::uint8_t>(velocity));
        return Message(tick + length, static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key), 0);
    }
    // The chord's keys held for `length` ticks.
    CreatorMaterial& Chord(int channel, std::initializer_list<int> keys, std::int64_t tick, std::int64_t length) {
        for (const int key : keys) Note(channel, key, tick, length);
        return *this;
    }

    // The stream: note-offs before note-ons on the same tick, padded with waits to `endTick`.
    std::vector<std::uint8_t> Stream(std::int64_t endTick) const {
        std::vector<Event> sorted = events_;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
            if (a.Tick != b.Tick) return a.Tick < b.Tick;
            return Ends(a) && !Ends(b);
        });
        std::vector<std::uint8_t> stream;
        std::int64_t now = 0;
        auto waitUntil = [&](std::int64_t tick) {
            while (now < tick) {
                const int step = static_cast<int>(std::min<std::int64_t>(8, tick - now));
                stream.push_back(data::stream::WaitByte(step));
                now += step;
            }
        };
        for (const Event& e : sorted) {
            waitUntil(e.Tick);
            stream.insert(stream.end(), {e.Status, e.Data1, e.Data2});
        }
        waitUntil(endTick);
        return stream;
    }

    void Into(data::CreatorWork& work, std::int64_t endTick) const {
        const std::vector<std::uint8_t> stream = Stream(endTick);
        data::EnsureWorkChunks(work, 1);
        data::ClearWorkMaterial(work);
        std::memcpy(work.Chunks[0].Buffer.get(), stream.data(), stream.size());
        work.Chunks[0].Size = static_cast<std::int32_t>(stream.size());
        work.Chunks[0].Present = true;
        work.WorkLength = static_cast<std::int32_t>(stream.size());
        work.WorkLengthUnits = static_cast<std::uint16_t>(endTick / 6);
    }

private:
    struct Event {
        std::int64_t Tick;
        int Order;
        std::uint8_t Status, Data1, Data2;
    };
    static bool Ends(const Event& e) {
        return (e.Status & 0xF0) == 0x80 || ((e.Status & 0xF0) == 0x90 && e.Data2 == 0);
    }
    std::vector<Event> events_;
};

}  // namespace chordella::testing
