#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// What voltaro-map reads from a Tiled map (TMX or JSON) before it applies the
// engine's conventions: the map's header, its tile sets, and its tile and
// object layers (those inside group layers included, in document order).
// Every part remembers where it was read so that errors can point at it.
struct TiledMap {
    // A file and line (0 in JSON files, which the reader does not track).
    struct Place {
        std::string file;
        int line = 0;
    };

    struct Tileset {
        uint32_t firstGid = 0;
        std::string name;
        int32_t tileWidth = 0;   // pixels
        int32_t tileHeight = 0;  // pixels
        int32_t tileCount = 0;
        std::set<int32_t> solidTiles;  // local tile ids whose "solid" property is true
        Place place;                   // of the tile set itself (the .tsx for an external one)
    };

    struct TileLayer {
        std::string name;
        std::vector<uint32_t> gids;  // width x height, row-major, flip bits included
        Place place;
    };

    enum class Shape { Rectangle, Point, Ellipse, Polygon, Polyline, Text, Tile };

    struct Object {
        int32_t id = 0;
        std::string name;
        Shape shape = Shape::Rectangle;
        double x = 0;  // pixels
        double y = 0;
        double width = 0;
        double height = 0;
        Place place;
    };

    struct ObjectLayer {
        std::string name;
        std::vector<Object> objects;
        Place place;
    };

    Place place;  // of the <map> element or the JSON file
    std::string orientation;
    bool infinite = false;
    int32_t width = 0;       // tiles
    int32_t height = 0;      // tiles
    int32_t tileWidth = 0;   // pixels
    int32_t tileHeight = 0;  // pixels
    std::vector<Tileset> tilesets;
    std::vector<TileLayer> tileLayers;
    std::vector<ObjectLayer> objectLayers;
};
