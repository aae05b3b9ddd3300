#pragma once

#include <SDL.h>

// The millisecond clock the frame pacing runs on: a tick counter and a
// sleep. The game uses SDL's; tests drive a fake one.
class Clock {
public:
    virtual ~Clock();
    // Milliseconds since some fixed start; wraps around after 2^32 ms.
    virtual Uint32 ticks() = 0;
    // Sleeps for at least the given number of milliseconds.
    virtual void delay(Uint32 milliseconds) = 0;
};
