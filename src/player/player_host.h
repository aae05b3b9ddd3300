#pragma once

#include "platform/direction.h"

// What the player may ask of the level that owns it, synchronously from
// inside its own update. The level implements it; player tests use a
// recording stand-in.
class PlayerHost {
public:
    virtual ~PlayerHost();
    // The player fell out of the world and has put itself back at its arrival position.
    virtual void restart() = 0;
    // The player reached a scroll start position: begin a vertical transition (Up or Down).
    virtual void startScroll(Direction direction) = 0;
};
