#include "tiled_importer.h"

#include "level_keys.h"
#include "map_tool_error.h"
#include "tmj_reader.h"
#include "tmx_reader.h"

#include <cmath>
#include <regex>

namespace {

constexpr int32_t kTilePixels = 16;
constexpr int32_t kScreenCellsX = TileMapFile::kScreenCellsX;
constexpr int32_t kScreenCellsY = TileMapFile::kScreenCellsY;
constexpr int32_t kMaxTileImages = 254;  // the map file stores images + 1 in a byte
constexpr uint32_t kFlipHorizontal = 0x80000000u;
constexpr uint32_t kFlipVertical = 0x40000000u;
constexpr uint32_t kFlipDiagonal = 0x20000000u;

const char* const kTilesLayer = "tiles";
const char* const kSolidLayer = "solid";
const char* const kBoundariesLayer = "boundaries";

[[noreturn]] void fail(const TiledMap::Place& place, const std::string& message) {
    throw MapToolError(place.file, place.line, message);
}

std::string cellName(const TiledMap::TileLayer& layer, size_t index, int32_t width) {
    return "layer \"" + layer.name + "\", cell (" + std::to_string(static_cast<int32_t>(index) % width) + ", " +
           std::to_string(static_cast<int32_t>(index) / width) + ")";
}

std::string objectName(const std::string& layer, const TiledMap::Object& object) {
    return "layer \"" + layer + "\", object " + std::to_string(object.id) +
           (object.name.empty() ? std::string() : " \"" + object.name + "\"");
}

std::string flipWords(uint32_t raw) {
    std::string words;
    auto add = [&](const char* word) { words += (words.empty() ? "" : ", ") + std::string(word); };
    if (raw & kFlipHorizontal) add("flipped horizontally");
    if (raw & kFlipVertical) add("flipped vertically");
    if (raw & kFlipDiagonal) add("flipped diagonally (rotated)");
    if (words.empty()) add("rotated");
    return words;
}

const TiledMap::TileLayer* findTileLayer(const TiledMap& map, const char* name) {
    const TiledMap::TileLayer* found = nullptr;
    for (const TiledMap::TileLayer& layer : map.tileLayers) {
        if (layer.name != name) continue;
        if (found != nullptr) fail(layer.place, std::string("a second tile layer named \"") + name + "\"; keep one");
        found = &layer;
    }
    return found;
}

// The tile set a gid belongs to: the one with the highest firstgid not above it, if the gid is inside it.
const TiledMap::Tileset* tilesetOf(const TiledMap& map, uint32_t gid) {
    const TiledMap::Tileset* owner = nullptr;
    for (const TiledMap::Tileset& tileset : map.tilesets) {
        if (tileset.firstGid <= gid && (owner == nullptr || tileset.firstGid > owner->firstGid)) owner = &tileset;
    }
    if (owner == nullptr || gid - owner->firstGid >= static_cast<uint32_t>(std::max(owner->tileCount, 0))) return nullptr;
    return owner;
}

std::string tilesetRanges(const TiledMap& map) {
    if (map.tilesets.empty()) return "the map has no tile set";
    std::string ranges = "tile sets: ";
    for (size_t i = 0; i < map.tilesets.size(); ++i) {
        const TiledMap::Tileset& t = map.tilesets[i];
        ranges += (i == 0 ? "" : ", ") + std::string("\"") + t.name + "\" gids " + std::to_string(t.firstGid) + ".." +
                  std::to_string(t.firstGid + static_cast<uint32_t>(std::max(t.tileCount, 1)) - 1);
    }
    return ranges;
}

const TiledMap::Tileset& requireTileset(const TiledMap& map, const TiledMap::TileLayer& layer, size_t index, uint32_t gid) {
    const TiledMap::Tileset* tileset = tilesetOf(map, gid);
    if (tileset == nullptr) {
        fail(layer.place, cellName(layer, index, map.width) + ": gid " + std::to_string(gid) +
                              " belongs to no tile set (" + tilesetRanges(map) + ")");
    }
    return *tileset;
}

bool isWholePixel(double value) {
    return std::floor(value) == value && std::fabs(value) < 1e6;
}

int32_t wholePixels(const std::string& where, const TiledMap::Object& object, const char* what, double value) {
    if (!isWholePixel(value)) {
        fail(object.place, where + ": " + what + " " + std::to_string(value) +
                               " is not a whole pixel (in Tiled, snap to the grid or type the value)");
    }
    return static_cast<int32_t>(value);
}

void readBoundary(const TiledMap::ObjectLayer& layer, const TiledMap::Object& object, LevelLayout& layout) {
    const std::string where = objectName(layer.name, object);
    const size_t index = layout.boundaries.size();
    if (object.shape != TiledMap::Shape::Rectangle) {
        fail(object.place, where + ": layer \"boundaries\" holds rectangles only (and the start and enemy points)");
    }
    static const std::regex kNumbered("boundary([0-9]+)");
    std::smatch match;
    if (std::regex_match(object.name, match, kNumbered) && match[1].str() != std::to_string(index)) {
        fail(object.place, where + ": is rectangle " + std::to_string(index) + " of the layer (boundary " +
                               std::to_string(index) + "); boundaries are numbered in layer order, so rename it or "
                               "restore the order");
    }
    LevelLayout::Boundary boundary;
    boundary.x = wholePixels(where, object, "x", object.x);
    boundary.y = wholePixels(where, object, "y", object.y);
    boundary.w = wholePixels(where, object, "width", object.width);
    const int32_t height = wholePixels(where, object, "height", object.height);
    boundary.origin = LevelLayout::Origin{object.place.file, object.place.line,
                                          where + " (boundary " + std::to_string(index) + ")"};
    if (height != LevelLayout::kBandHeight) {
        fail(object.place, boundary.origin.label + ": is " + std::to_string(height) +
                               " pixels high; a boundary is one screen high, 240");
    }
    layout.boundaries.push_back(boundary);
}

void readPlace(const std::string& layer, const TiledMap::Object& object, std::optional<LevelLayout::Place>& place) {
    const std::string where = objectName(layer, object);
    if (object.shape != TiledMap::Shape::Point) {
        fail(object.place, where + ": the \"" + object.name + "\" object must be a point (Tiled's Insert Point tool)");
    }
    if (place) {
        fail(object.place, where + ": a second \"" + object.name + "\" point (the first is " + place->origin.label + ")");
    }
    place = LevelLayout::Place{wholePixels(where, object, "x", object.x), wholePixels(where, object, "y", object.y),
                               LevelLayout::Origin{object.place.file, object.place.line, where}};
}

void readObjects(const TiledMap& map, LevelLayout& layout) {
    for (const TiledMap::ObjectLayer& layer : map.objectLayers) {
        const bool boundaries = layer.name == kBoundariesLayer;
        for (const TiledMap::Object& object : layer.objects) {
            if (object.name == "start") {
                readPlace(layer.name, object, layout.start);
            } else if (object.name == "enemy") {
                readPlace(layer.name, object, layout.enemy);
            } else if (boundaries) {
                readBoundary(layer, object, layout);
            }
        }
    }
}

}  // namespace

void TiledImporter::checkHeader(const TiledMap& map) {
    if (map.orientation != "orthogonal") {
        fail(map.place, "the map is \"" + map.orientation + "\"; the engine draws orthogonal maps only");
    }
    if (map.tileWidth != kTilePixels || map.tileHeight != kTilePixels) {
        fail(map.place, "wrong tile size: the map's tiles are " + std::to_string(map.tileWidth) + " x " +
                            std::to_string(map.tileHeight) + " pixels; the engine's are 16 x 16");
    }
    if (map.width < 1 || map.width > TileMapFile::kMaxWidth || map.width % kScreenCellsX != 0) {
        fail(map.place, "the map is " + std::to_string(map.width) + " tiles wide; the engine needs a multiple of 16 (a "
                        "screen) of at most " + std::to_string(TileMapFile::kMaxWidth) + " (15 screens)");
    }
    if (map.height < 1 || map.height > TileMapFile::kMaxHeight || map.height % kScreenCellsY != 0) {
        fail(map.place, "the map is " + std::to_string(map.height) + " tiles high; the engine needs a multiple of 15 (a "
                        "screen) of at most " + std::to_string(TileMapFile::kMaxHeight) + " (17 screens)");
    }
}

LevelLayout TiledImporter::importFile(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
    if (extension == ".tmj" || extension == ".json") return import(TmjReader::read(path));
    return import(TmxReader::read(path));
}

LevelLayout TiledImporter::import(const TiledMap& map) {
    checkHeader(map);
    const TiledMap::TileLayer* tiles = findTileLayer(map, kTilesLayer);
    if (tiles == nullptr) fail(map.place, "the map has no tile layer named \"tiles\" (it holds the level's tiles)");
    const TiledMap::TileLayer* solid = findTileLayer(map, kSolidLayer);

    const size_t cellCount = static_cast<size_t>(map.width) * static_cast<size_t>(map.height);
    const int32_t screensX = map.width / kScreenCellsX;
    const int32_t screensY = map.height / kScreenCellsY;
    std::vector<TileMapFile::Cell> cells(cellCount);
    std::vector<bool> screenPresent(static_cast<size_t>(screensX) * static_cast<size_t>(screensY), false);
    const TiledMap::Tileset* sheet = nullptr;
    for (size_t i = 0; i < cellCount; ++i) {
        const uint32_t raw = tiles->gids[i];
        if (raw & kFlipBits) {
            fail(tiles->place, cellName(*tiles, i, map.width) + ": the tile is " + flipWords(raw) +
                                   "; the engine cannot flip tiles (in Tiled, paint it unflipped)");
        }
        if (raw == 0) continue;  // empty cell
        const TiledMap::Tileset& tileset = requireTileset(map, *tiles, i, raw);
        if (sheet == nullptr) {
            sheet = &tileset;
            if (sheet->tileWidth != kTilePixels || sheet->tileHeight != kTilePixels) {
                fail(sheet->place, "wrong tile size: tile set \"" + sheet->name + "\" has " +
                                       std::to_string(sheet->tileWidth) + " x " + std::to_string(sheet->tileHeight) +
                                       " pixel tiles; the engine's are 16 x 16");
            }
            if (sheet->tileCount > kMaxTileImages) {
                fail(sheet->place, "tile set \"" + sheet->name + "\" has " + std::to_string(sheet->tileCount) +
                                       " tiles; a level's map holds at most " + std::to_string(kMaxTileImages));
            }
        } else if (&tileset != sheet) {
            fail(tiles->place, cellName(*tiles, i, map.width) + ": the tile comes from tile set \"" + tileset.name +
                                   "\", but the layer's other tiles come from \"" + sheet->name +
                                   "\"; the engine draws a level from one tile sheet");
        }
        const int32_t tileNumber = static_cast<int32_t>(raw - tileset.firstGid);
        cells[i].tileByte = static_cast<uint8_t>(tileNumber + 1);
        cells[i].solidByte = tileset.solidTiles.count(tileNumber) != 0 ? 1 : 0;
        const int32_t column = static_cast<int32_t>(i) % map.width;
        const int32_t row = static_cast<int32_t>(i) / map.width;
        screenPresent[static_cast<size_t>(row / kScreenCellsY) * screensX + column / kScreenCellsX] = true;
    }
    if (sheet == nullptr) fail(tiles->place, "layer \"tiles\" has no tiles");

    for (size_t i = 0; i < cellCount; ++i) {
        const int32_t column = static_cast<int32_t>(i) % map.width;
        const int32_t row = static_cast<int32_t>(i) / map.width;
        const int32_t screenX = column / kScreenCellsX;
        const int32_t screenY = row / kScreenCellsY;
        if (!screenPresent[static_cast<size_t>(screenY) * screensX + screenX]) continue;
        if (tiles->gids[i] == 0) {
            fail(tiles->place, cellName(*tiles, i, map.width) + ": the cell is empty, but screen (" +
                                   std::to_string(screenX) + ", " + std::to_string(screenY) +
                                   ") has tiles; fill every cell of a screen, or clear the whole screen to leave it out");
        }
        if (solid != nullptr) {
            const uint32_t gid = solid->gids[i] & ~kFlipBits;
            if (gid != 0) requireTileset(map, *solid, i, gid);
            cells[i].solidByte = gid != 0 ? 1 : 0;
        }
    }

    LevelLayout layout;
    layout.map = TileMapFile(map.width, map.height, sheet->tileCount + 1, std::move(cells), std::move(screenPresent));
    readObjects(map, layout);
    LevelKeys::checkBoundaries(layout);
    return layout;
}
