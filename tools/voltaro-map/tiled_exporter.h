#pragma once

#include "level_layout.h"

#include <string>

// Writes a level as a Tiled map (TMX) and its tile sheet as a Tiled tile set
// (TSX) under the conventions TiledImporter reads, so that importing the
// result gives the same binary map and the same levels.ini keys back:
// the layer "tiles" (gid = tile number + 1, absent screens empty), the tile
// set's boolean "solid" property per tile (when one tile number is both
// solid and open somewhere, also the layer "solid", painting every solid
// cell with its own tile), the object layer "boundaries" (rectangles named
// boundary0, boundary1, ... in order) and the object layer "places" with
// the "start" and "enemy" points.
class TiledExporter {
public:
    // The tile sheet as the tile set refers to it.
    struct Sheet {
        std::string file;         // the BMP, for messages
        std::string imageSource;  // the BMP's path relative to the TSX
        std::string name;         // the tile set's name
        int32_t width = 0;        // pixels
        int32_t height = 0;       // pixels
    };

    struct Files {
        std::string tmx;
        std::string tsx;
    };

    // `mapFile` names the binary in errors; `tsxSource` is the TSX's path
    // relative to the TMX. Throws MapToolError for a level that a Tiled map
    // cannot hold (a sheet that is not one column of N - 1 tiles, a solid
    // byte other than 0 or 1).
    static Files write(const LevelLayout& layout, const Sheet& sheet, const std::string& tsxSource,
                       const std::string& mapFile);
};
