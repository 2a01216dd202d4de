#pragma once
// One measured tick of tick_latency, in µs against its ideal due time.

#include <cstdint>

struct TickSample {
    std::int64_t lateness;  // when the tick ran on the control thread
    std::int64_t wake;      // when the timer thread woke
    std::int64_t handOff;   // from the timer thread's wake to the tick running
};
