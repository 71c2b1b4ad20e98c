#include "platform/busywait.h"

void BusyWait(int32_t count) {
    // The volatile counter keeps the compiler from dropping or shortening the loop.
    volatile int64_t i = 0;
    while (i <= count) i = i + 1;
}
