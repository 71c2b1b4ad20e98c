#include "platform/busywait.h"

#include <chrono>

void BusyWait(int32_t count) { BusyWaitFrom(std::chrono::steady_clock::now(), count); }

void BusyWaitFrom(std::chrono::steady_clock::time_point start, int32_t count) {
    // One count is kNanosecondsPerCount of the steady clock, whatever the
    // processor: the speeds in the settings files mean the same on every
    // machine. The loop spins (the moves run on the interface thread, between
    // two port writes) and always makes at least one round.
    using clock = std::chrono::steady_clock;
    const auto deadline = start + std::chrono::nanoseconds(int64_t{count} * kNanosecondsPerCount);
    volatile int64_t rounds = 0;
    rounds = rounds + 1;
    if (count <= 0) return;  // the deadline is the start: it has passed
    while (clock::now() < deadline) rounds = rounds + 1;
}
