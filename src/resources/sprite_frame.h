#pragma once

#include <cstdint>

// One frame of an animation: which sprite cell to show, for how many updates.
struct SpriteFrame {
    int32_t spriteIndex = 0;  // cell index into the sprite's cell table
    int32_t duration = 0;     // updates
};
