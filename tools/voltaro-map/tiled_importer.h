#pragma once

#include "level_layout.h"
#include "tiled_map.h"

#include <string>

// Turns a Tiled map into a level under the engine's conventions:
// - the tile layer "tiles" gives each cell's tile number (gid minus its tile
//   set's firstgid; gid 0 is an empty cell); all of it from one tile set,
//   whose tile count sets the map's image count; no flipped tiles;
// - a screen (16 x 15 cells) with no tiles is absent; one with some empty
//   cells is an error;
// - each cell is solid when its tile has the boolean property "solid"; an
//   optional tile layer "solid" replaces that: painted cells are solid,
//   empty ones open;
// - rectangles in the object layer "boundaries", in layer order, are the
//   boundaries; point objects named "start" and "enemy" (in any object
//   layer) are the beam's stop and the enemy's top-left corner.
// Every broken rule throws MapToolError naming the file, the line where
// there is one, and the layer and cell or the object.
class TiledImporter {
public:
    static constexpr uint32_t kFlipBits = 0xF0000000u;  // Tiled's flip and rotation flags in a gid

    // Reads a .tmx, or a .tmj / .json file, and imports it.
    static LevelLayout importFile(const std::string& path);
    static LevelLayout import(const TiledMap& map);
    // The map header's rules (orientation, tile size, the engine's size
    // limits), which the readers check before they read any layer.
    static void checkHeader(const TiledMap& map);
};
