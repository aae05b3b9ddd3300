#include "tiled_exporter.h"

#include "map_tool_error.h"
#include "tile_data.h"

#include <tinyxml2.h>


namespace {

constexpr int32_t kTilePixels = 16;
const char* const kTiledFormat = "1.8";       // the file format version Tiled 1.8 writes
const char* const kTiledVersion = "1.8.2";    // the Tiled these files were checked with
const char* const kColourKey = "ff80ff";      // drawn transparent by the engine and by Tiled

// The tile numbers' solid flags as the tile set states them, and whether
// the map needs the "solid" layer because some tile number is both.
struct SolidTiles {
    std::vector<bool> solid;  // per tile number: the more common flag
    bool needsLayer = false;
};

SolidTiles solidTiles(const LevelLayout& layout, const std::string& mapFile) {
    const TileMapFile& map = layout.map;
    const int32_t tileCount = map.tileByteCount() - 1;
    std::vector<int32_t> solidUses(static_cast<size_t>(255), 0);
    std::vector<int32_t> openUses(static_cast<size_t>(255), 0);
    for (int32_t row = 0; row < map.height(); ++row) {
        for (int32_t column = 0; column < map.width(); ++column) {
            if (!map.isScreenPresent(column / TileMapFile::kScreenCellsX, row / TileMapFile::kScreenCellsY)) continue;
            const TileMapFile::Cell cell = map.cell(column, row);
            const int32_t tile = cell.tileByte - 1;
            const std::string where = "cell (" + std::to_string(column) + ", " + std::to_string(row) + ")";
            if (tile >= tileCount) {
                throw MapToolError(mapFile, 0, where + " holds tile " + std::to_string(tile) + ", but the map has " +
                                                   std::to_string(tileCount) + " tile images; a Tiled map cannot hold it");
            }
            if (cell.solidByte > 1) {
                throw MapToolError(mapFile, 0, where + " has solid byte " + std::to_string(cell.solidByte) +
                                                   "; Tiled's \"solid\" is true or false, so only 0 and 1 survive");
            }
            ++(cell.solidByte != 0 ? solidUses : openUses)[static_cast<size_t>(tile)];
        }
    }
    SolidTiles result;
    for (int32_t tile = 0; tile < tileCount; ++tile) {
        const size_t t = static_cast<size_t>(tile);
        result.solid.push_back(solidUses[t] > openUses[t]);
        if (solidUses[t] > 0 && openUses[t] > 0) result.needsLayer = true;
    }
    return result;
}

void checkSheet(const LevelLayout& layout, const TiledExporter::Sheet& sheet) {
    const int32_t tileCount = layout.map.tileByteCount() - 1;
    if (sheet.width != kTilePixels || sheet.height % kTilePixels != 0 || sheet.height / kTilePixels != tileCount) {
        throw MapToolError(sheet.file, 0, "the tile sheet is " + std::to_string(sheet.width) + " x " +
                                              std::to_string(sheet.height) + " pixels, but the map needs one column of " +
                                              std::to_string(tileCount) + " tiles of 16 x 16 (16 x " +
                                              std::to_string(tileCount * kTilePixels) + " pixels)");
    }
}

void tileLayer(tinyxml2::XMLPrinter& out, int id, const char* name, const LevelLayout& layout, bool solidOnly) {
    const TileMapFile& map = layout.map;
    std::vector<uint32_t> gids;
    gids.reserve(static_cast<size_t>(map.width()) * static_cast<size_t>(map.height()));
    for (int32_t row = 0; row < map.height(); ++row) {
        for (int32_t column = 0; column < map.width(); ++column) {
            const bool present =
                map.isScreenPresent(column / TileMapFile::kScreenCellsX, row / TileMapFile::kScreenCellsY);
            const TileMapFile::Cell cell = map.cell(column, row);
            const bool painted = present && (!solidOnly || cell.solidByte != 0);
            gids.push_back(painted ? cell.tileByte : 0);  // gid = tile number + firstgid 1 = tile byte
        }
    }
    out.OpenElement("layer");
    out.PushAttribute("id", id);
    out.PushAttribute("name", name);
    out.PushAttribute("width", map.width());
    out.PushAttribute("height", map.height());
    if (solidOnly) out.PushAttribute("opacity", "0.5");
    out.OpenElement("data");
    out.PushAttribute("encoding", "csv");
    out.PushText(TileData::toCsv(gids, map.width()).c_str());
    out.CloseElement();
    out.CloseElement();
}

void point(tinyxml2::XMLPrinter& out, int id, const char* name, const LevelLayout::Place& place) {
    out.OpenElement("object");
    out.PushAttribute("id", id);
    out.PushAttribute("name", name);
    out.PushAttribute("x", place.x);
    out.PushAttribute("y", place.y);
    out.OpenElement("point");
    out.CloseElement();
    out.CloseElement();
}

std::string tmx(const LevelLayout& layout, const SolidTiles& solid, const std::string& tsxSource) {
    const int placeCount = (layout.start ? 1 : 0) + (layout.enemy ? 1 : 0);
    int nextLayer = 1;
    int nextObject = 1;
    tinyxml2::XMLPrinter out;
    out.PushDeclaration("xml version=\"1.0\" encoding=\"UTF-8\"");
    out.OpenElement("map");
    out.PushAttribute("version", kTiledFormat);
    out.PushAttribute("tiledversion", kTiledVersion);
    out.PushAttribute("orientation", "orthogonal");
    out.PushAttribute("renderorder", "right-down");
    out.PushAttribute("width", layout.map.width());
    out.PushAttribute("height", layout.map.height());
    out.PushAttribute("tilewidth", kTilePixels);
    out.PushAttribute("tileheight", kTilePixels);
    out.PushAttribute("infinite", 0);
    out.PushAttribute("nextlayerid", 3 + (solid.needsLayer ? 1 : 0) + (placeCount > 0 ? 1 : 0));
    out.PushAttribute("nextobjectid", 1 + static_cast<int>(layout.boundaries.size()) + placeCount);
    out.OpenElement("tileset");
    out.PushAttribute("firstgid", 1);
    out.PushAttribute("source", tsxSource.c_str());
    out.CloseElement();
    tileLayer(out, nextLayer++, "tiles", layout, false);
    if (solid.needsLayer) tileLayer(out, nextLayer++, "solid", layout, true);
    out.OpenElement("objectgroup");
    out.PushAttribute("id", nextLayer++);
    out.PushAttribute("name", "boundaries");
    out.PushAttribute("color", "#ffaa00");
    for (size_t i = 0; i < layout.boundaries.size(); ++i) {
        const LevelLayout::Boundary& b = layout.boundaries[i];
        out.OpenElement("object");
        out.PushAttribute("id", nextObject++);
        out.PushAttribute("name", ("boundary" + std::to_string(i)).c_str());
        out.PushAttribute("x", b.x);
        out.PushAttribute("y", b.y);
        out.PushAttribute("width", b.w);
        out.PushAttribute("height", LevelLayout::kBandHeight);
        out.CloseElement();
    }
    out.CloseElement();
    if (placeCount > 0) {
        out.OpenElement("objectgroup");
        out.PushAttribute("id", nextLayer++);
        out.PushAttribute("name", "places");
        out.PushAttribute("color", "#00c0ff");
        if (layout.start) point(out, nextObject++, "start", *layout.start);
        if (layout.enemy) point(out, nextObject++, "enemy", *layout.enemy);
        out.CloseElement();
    }
    out.CloseElement();
    return out.CStr();
}

std::string tsx(const TiledExporter::Sheet& sheet, const SolidTiles& solid) {
    tinyxml2::XMLPrinter out;
    out.PushDeclaration("xml version=\"1.0\" encoding=\"UTF-8\"");
    out.OpenElement("tileset");
    out.PushAttribute("version", kTiledFormat);
    out.PushAttribute("tiledversion", kTiledVersion);
    out.PushAttribute("name", sheet.name.c_str());
    out.PushAttribute("tilewidth", kTilePixels);
    out.PushAttribute("tileheight", kTilePixels);
    out.PushAttribute("tilecount", static_cast<int>(solid.solid.size()));
    out.PushAttribute("columns", 1);
    out.OpenElement("image");
    out.PushAttribute("source", sheet.imageSource.c_str());
    out.PushAttribute("trans", kColourKey);
    out.PushAttribute("width", sheet.width);
    out.PushAttribute("height", sheet.height);
    out.CloseElement();
    // Every tile states its flag, so that Tiled shows the property ready to tick.
    for (size_t tile = 0; tile < solid.solid.size(); ++tile) {
        out.OpenElement("tile");
        out.PushAttribute("id", static_cast<int>(tile));
        out.OpenElement("properties");
        out.OpenElement("property");
        out.PushAttribute("name", "solid");
        out.PushAttribute("type", "bool");
        out.PushAttribute("value", solid.solid[tile] ? "true" : "false");
        out.CloseElement();
        out.CloseElement();
        out.CloseElement();
    }
    out.CloseElement();
    return out.CStr();
}

}  // namespace

TiledExporter::Files TiledExporter::write(const LevelLayout& layout, const Sheet& sheet, const std::string& tsxSource,
                                          const std::string& mapFile) {
    checkSheet(layout, sheet);
    const SolidTiles solid = solidTiles(layout, mapFile);
    return Files{tmx(layout, solid, tsxSource), tsx(sheet, solid)};
}
