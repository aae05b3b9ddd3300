#pragma once

#include "platform/clock.h"

// A clock that stands still until a test moves it (or something sleeps on
// it): tests of anything paced by time run without waiting.
class FakeClock : public Clock {
public:
    explicit FakeClock(Uint32 start = 0) : now(start) {}
    Uint32 ticks() override { return now; }
    void delay(Uint32 milliseconds) override { now += milliseconds; }

    Uint32 now;  // milliseconds
};
