#pragma once

#include "platform/clock.h"

// The real clock: SDL_GetTicks and SDL_Delay (SDL's timer must be initialised).
class SdlClock : public Clock {
public:
    Uint32 ticks() override;
    void delay(Uint32 milliseconds) override;
};
