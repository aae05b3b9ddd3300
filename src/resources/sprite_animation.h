#pragma once

#include "resources/sprite_frame.h"

#include <cstdint>
#include <vector>

// A numbered animation of a sprite: its frames in order.
struct SpriteAnimation {
    int32_t nFrames = 0;
    std::vector<SpriteFrame> frames;  // nFrames entries
};
