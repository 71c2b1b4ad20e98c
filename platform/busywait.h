// The motors' speed: a busy wait between port writes.
#pragma once

#include <chrono>
#include <cstdint>

// What one count of a delay lasts.
constexpr int64_t kNanosecondsPerCount = 10;

// Waits count x kNanosecondsPerCount on the steady clock, spinning; a count
// of 0 or less still makes one round. A larger count always waits longer.
void BusyWait(int32_t count);
// The same wait, counted from `start` instead of from now: what ran since
// start is part of it (at least one round all the same).
void BusyWaitFrom(std::chrono::steady_clock::time_point start, int32_t count);
