#pragma once

#include <cstdint>

// One map cell, also the answer of Map::tileAt.
struct Tile {
    int32_t tile = 0;    // tile number (map-file byte minus 1); 4 is the ladder
    bool solid = false;  // the cell blocks movement
    int32_t x = 0;       // world x of the cell's left edge, pixels
    int32_t y = 0;       // world y of the cell's top edge, pixels
};
