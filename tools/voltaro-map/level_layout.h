#pragma once

#include "world/tile_map_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One level as voltaro-map converts it between its sources: the binary map's
// cells, and the boundaries and places that levels.ini holds for it. Each
// boundary and place remembers where it came from (a Tiled object, a
// levels.ini key, a map source cell) so that a check can point there.
struct LevelLayout {
    static constexpr int32_t kBandHeight = 240;  // pixels: every boundary is one screen high
    static constexpr int32_t kScreenWidth = 256;  // pixels

    struct Origin {
        std::string file;
        int line = 0;       // 0 when the file has no lines to give
        std::string label;  // e.g. "object 3 \"boundary1\"" or "boundary1x/y/w"
    };

    struct Boundary {
        int32_t x = 0;  // world pixels
        int32_t y = 0;
        int32_t w = 0;
        Origin origin;
    };

    struct Place {
        int32_t x = 0;  // world pixels
        int32_t y = 0;
        Origin origin;
    };

    TileMapFile map;
    std::vector<Boundary> boundaries;  // empty when the source has none (a map source)
    // The player's position when the beam stops: x = boundary 0's x + 128,
    // y = boundary 0's y + "teleportStopPosY".
    std::optional<Place> start;
    // The top-left corner of the enemy's 16 x 8 rectangle ("enemyX", "enemyY").
    std::optional<Place> enemy;
};
