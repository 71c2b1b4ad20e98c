// The motors' speed: a counted loop between port writes.
#pragma once

#include <cstdint>

// Counts from 0 up to count inclusive (count + 1 rounds; none when count is
// negative). The loop cannot be optimised away: a larger count always waits longer.
void BusyWait(int32_t count);
