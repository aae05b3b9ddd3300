#pragma once

#include <cstdint>

// One small code for a direction, shared by the input record, the player's
// facing, shots, the map's clearance queries and the level's scroll
// direction. The numeric values are part of data-visible behaviour (traces,
// replays), so they are fixed.
enum class Direction : int32_t {
    None = 0,
    Up = 1,
    Down = 2,
    Left = 3,
    Right = 4,
};
