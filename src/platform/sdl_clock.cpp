#include "platform/sdl_clock.h"

Uint32 SdlClock::ticks() {
    return SDL_GetTicks();
}

void SdlClock::delay(Uint32 milliseconds) {
    SDL_Delay(milliseconds);
}
