#include "tiled_importer.h"

#include "map_tool_error.h"
#include "support/temp_dir.h"
#include "tiled_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tiled_fixture;
using nlohmann::json;

// The binary the fixture level must import to: the left screen present, the
// right one absent, tile bytes = gids, solid where the gid is 2.
std::vector<uint8_t> expectedBinary() {
    const std::vector<uint32_t> cells = gids();
    std::vector<TileMapFile::Cell> mapCells;
    for (const uint32_t gid : cells) {
        mapCells.push_back(TileMapFile::Cell{static_cast<uint8_t>(gid), static_cast<uint8_t>(gid == 2 ? 1 : 0)});
    }
    return TileMapFile(kWidth, kHeight, 9, mapCells, {true, false}).encode();
}

class TiledImport : public ::testing::Test {
protected:
    LevelLayout importText(const std::string& name, const std::string& text) {
        m_dir.write(name, text);
        return TiledImporter::importFile(m_dir.file(name));
    }

    // Imports and expects a MapToolError at `line` (0: none) whose message contains `fragment`.
    void expectError(const std::string& name, const std::string& text, int line, const std::string& fragment) {
        try {
            importText(name, text);
            ADD_FAILURE() << "no error; expected '" << fragment << "'";
        } catch (const MapToolError& error) {
            EXPECT_EQ(error.file(), m_dir.file(name)) << error.what();
            EXPECT_EQ(error.line(), line) << error.what();
            EXPECT_NE(error.message().find(fragment), std::string::npos) << error.what();
        }
    }

    void writeSub(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(m_dir.file(name)).parent_path());
        m_dir.write(name, text);
    }

    TempDir m_dir;
};

// ------------------------------------------------------------ encodings

TEST_F(TiledImport, EveryLayerEncodingGivesTheSameMap) {
    const std::string bytes = littleEndian(gids());
    std::string tileElements = "<data>";
    for (const uint32_t gid : gids()) tileElements += "<tile gid=\"" + std::to_string(gid) + "\"/>";
    tileElements += "</data>";
    const std::vector<std::string> data = {
        "<data encoding=\"csv\">" + csv(gids()) + "</data>",
        tileElements,
        "<data encoding=\"base64\">\n   " + base64(bytes) + "\n  </data>",
        "<data encoding=\"base64\" compression=\"zlib\">" + base64(deflateBytes(bytes, false)) + "</data>",
        "<data encoding=\"base64\" compression=\"gzip\">" + base64(deflateBytes(bytes, true)) + "</data>",
    };
    for (const std::string& element : data) {
        Tmx tmx;
        tmx.data = element;
        const LevelLayout layout = importText("level.tmx", tmx.text());
        EXPECT_EQ(layout.map.encode(), expectedBinary()) << element.substr(0, 50);
    }
}

TEST_F(TiledImport, ReadsBoundariesStartAndEnemy) {
    Tmx tmx;
    const LevelLayout layout = importText("level.tmx", tmx.text());
    ASSERT_EQ(layout.boundaries.size(), 1u);
    EXPECT_EQ(layout.boundaries[0].x, 0);
    EXPECT_EQ(layout.boundaries[0].y, 0);
    EXPECT_EQ(layout.boundaries[0].w, 256);
    ASSERT_TRUE(layout.start && layout.enemy);
    EXPECT_EQ(layout.start->x, 128);
    EXPECT_EQ(layout.start->y, 196);
    EXPECT_EQ(layout.enemy->x, 48);
    EXPECT_EQ(layout.enemy->y, 200);
}

TEST_F(TiledImport, ExternalTilesetIsFoundBesideTheMap) {
    writeSub("sets/sheet.tsx", tsx());
    Tmx tmx;
    tmx.tileset = " <tileset firstgid=\"1\" source=\"sets/sheet.tsx\"/>\n";
    EXPECT_EQ(importText("level.tmx", tmx.text()).map.encode(), expectedBinary());
}

TEST_F(TiledImport, SolidLayerDecidesEveryCell) {
    // Paint only cell (5, 2): it becomes solid, and the floor (solid by its tile) becomes open.
    std::vector<uint32_t> solid(static_cast<size_t>(kWidth * kHeight), 0);
    solid[2 * kWidth + 5] = 3;
    Tmx tmx;
    tmx.layers = " <layer id=\"4\" name=\"solid\" width=\"32\" height=\"15\"><data encoding=\"csv\">" + csv(solid) +
                 "</data></layer>\n" + kObjects;
    const LevelLayout layout = importText("level.tmx", tmx.text());
    EXPECT_EQ(layout.map.cell(5, 2).solidByte, 1);
    EXPECT_EQ(layout.map.cell(5, 14).solidByte, 0);
    EXPECT_EQ(layout.map.cell(5, 2).tileByte, 1);  // the tile itself stays
}

TEST_F(TiledImport, LayersInsideGroupsCount) {
    Tmx tmx;
    tmx.layers = std::string(" <group id=\"9\" name=\"objects\">\n") + kObjects + " </group>\n";
    EXPECT_EQ(importText("level.tmx", tmx.text()).boundaries.size(), 1u);
}

// ------------------------------------------------------------ JSON

json jsonMap() {
    json tileset = {{"firstgid", 1}, {"name", "sheet"}, {"tilewidth", 16}, {"tileheight", 16}, {"tilecount", 8},
                    {"columns", 1}, {"image", "sheet.bmp"}, {"imagewidth", 16}, {"imageheight", 128},
                    {"tiles", json::array({{{"id", 1}, {"properties", json::array({{{"name", "solid"}, {"type", "bool"}, {"value", true}}})}}})}};
    json objects = json::array({
        {{"id", 1}, {"name", "boundary0"}, {"x", 0}, {"y", 0}, {"width", 256}, {"height", 240}},
        {{"id", 2}, {"name", "start"}, {"point", true}, {"x", 128}, {"y", 196}, {"width", 0}, {"height", 0}},
    });
    return {{"type", "map"}, {"orientation", "orthogonal"}, {"infinite", false}, {"width", kWidth}, {"height", kHeight},
            {"tilewidth", 16}, {"tileheight", 16}, {"tilesets", json::array({tileset})},
            {"layers", json::array({
                {{"type", "tilelayer"}, {"name", "tiles"}, {"width", kWidth}, {"height", kHeight}, {"data", gids()}},
                {{"type", "objectgroup"}, {"name", "boundaries"}, {"objects", objects}},
            })}};
}

TEST_F(TiledImport, JsonGivesTheSameMapAsTmx) {
    EXPECT_EQ(importText("level.tmj", jsonMap().dump(1)).map.encode(), expectedBinary());

    json packed = jsonMap();
    packed["layers"][0]["encoding"] = "base64";
    packed["layers"][0]["compression"] = "zlib";
    packed["layers"][0]["data"] = base64(deflateBytes(littleEndian(gids()), false));
    const LevelLayout layout = importText("packed.tmj", packed.dump());
    EXPECT_EQ(layout.map.encode(), expectedBinary());
    ASSERT_TRUE(layout.start.has_value());
    EXPECT_EQ(layout.start->y, 196);
}

TEST_F(TiledImport, JsonReadsExternalTilesetsInXmlAndJson) {
    writeSub("sheet.tsx", tsx());
    json viaTsx = jsonMap();
    viaTsx["tilesets"] = json::array({{{"firstgid", 1}, {"source", "sheet.tsx"}}});
    EXPECT_EQ(importText("a.tmj", viaTsx.dump()).map.encode(), expectedBinary());

    json tileset = jsonMap()["tilesets"][0];
    tileset.erase("firstgid");
    writeSub("sheet.tsj", tileset.dump());
    json viaTsj = jsonMap();
    viaTsj["tilesets"] = json::array({{{"firstgid", 1}, {"source", "sheet.tsj"}}});
    EXPECT_EQ(importText("b.tmj", viaTsj.dump()).map.encode(), expectedBinary());
}

// ------------------------------------------------------------ errors

TEST_F(TiledImport, ReportsLayerDataProblemsAtTheDataLine) {
    Tmx tmx;
    tmx.data = "<data encoding=\"hex\">00</data>";
    expectError("level.tmx", tmx.text(), 9, "unknown encoding \"hex\"");
    tmx.data = "<data encoding=\"base64\" compression=\"zstd\">AAAA</data>";
    expectError("level.tmx", tmx.text(), 9, "unknown compression \"zstd\"");
    tmx.data = "<data encoding=\"csv\">1,2,3</data>";
    expectError("level.tmx", tmx.text(), 9, "holds 3 cells, expected 480");
    tmx.data = "<data encoding=\"base64\" compression=\"zlib\">" + base64("not zlib at all") + "</data>";
    expectError("level.tmx", tmx.text(), 9, "not valid zlib data");
    tmx.data = "<data encoding=\"base64\">AB!D</data>";
    expectError("level.tmx", tmx.text(), 9, "'!', which is not part of base64");
}

TEST_F(TiledImport, ReportsMapsTheEngineCannotHold) {
    Tmx tmx;
    tmx.mapAttributes = "orientation=\"orthogonal\" width=\"32\" height=\"15\" tilewidth=\"32\" tileheight=\"32\" infinite=\"0\"";
    expectError("level.tmx", tmx.text(), 2, "wrong tile size: the map's tiles are 32 x 32 pixels");
    tmx.mapAttributes = "orientation=\"orthogonal\" width=\"256\" height=\"15\" tilewidth=\"16\" tileheight=\"16\"";
    expectError("level.tmx", tmx.text(), 2, "the map is 256 tiles wide; the engine needs a multiple of 16 (a screen) of at most 240");
    tmx.mapAttributes = "orientation=\"orthogonal\" width=\"32\" height=\"16\" tilewidth=\"16\" tileheight=\"16\"";
    expectError("level.tmx", tmx.text(), 2, "16 tiles high; the engine needs a multiple of 15");
    tmx.mapAttributes = "orientation=\"isometric\" width=\"32\" height=\"15\" tilewidth=\"16\" tileheight=\"16\"";
    expectError("level.tmx", tmx.text(), 2, "the engine draws orthogonal maps only");
    tmx.mapAttributes = "orientation=\"orthogonal\" width=\"32\" height=\"15\" tilewidth=\"16\" tileheight=\"16\" infinite=\"1\"";
    expectError("level.tmx", tmx.text(), 2, "the map is infinite");

    json huge = jsonMap();
    huge["width"] = 4294967312u;  // 2^32 + 16 must not pass for 16
    expectError("level.tmj", huge.dump(), 0, "the map: \"width\" is not a whole number of 32 bits");

    json infinite = jsonMap();
    infinite["infinite"] = true;
    expectError("level.tmj", infinite.dump(), 0, "the map is infinite");
}

TEST_F(TiledImport, ReportsTilesetsOfTheWrongTileSize) {
    writeSub("big.tsx", tsx(32));
    Tmx tmx;
    tmx.tileset = " <tileset firstgid=\"1\" source=\"big.tsx\"/>\n";
    try {
        importText("level.tmx", tmx.text());
        ADD_FAILURE() << "no error";
    } catch (const MapToolError& error) {
        EXPECT_EQ(error.file(), m_dir.file("big.tsx"));
        EXPECT_EQ(error.line(), 2);
        EXPECT_NE(error.message().find("tile set \"sheet\" has 32 x 32 pixel tiles"), std::string::npos) << error.what();
    }
}

TEST_F(TiledImport, ReportsCellsByLayerAndPosition) {
    std::vector<uint32_t> cells = gids();
    cells[2 * kWidth + 7] = 9;  // the tile set holds gids 1..8
    Tmx tmx;
    tmx.data = "<data encoding=\"csv\">" + csv(cells) + "</data>";
    expectError("level.tmx", tmx.text(), 8,
                "layer \"tiles\", cell (7, 2): gid 9 belongs to no tile set (tile sets: \"sheet\" gids 1..8)");

    cells = gids();
    cells[1 * kWidth + 4] = 0x80000002u;
    tmx.data = "<data encoding=\"csv\">" + csv(cells) + "</data>";
    expectError("level.tmx", tmx.text(), 8, "cell (4, 1): the tile is flipped horizontally; the engine cannot flip tiles");
    cells[1 * kWidth + 4] = 0x60000002u;
    tmx.data = "<data encoding=\"csv\">" + csv(cells) + "</data>";
    expectError("level.tmx", tmx.text(), 8, "flipped vertically, flipped diagonally (rotated)");

    cells = gids();
    cells[3 * kWidth + 9] = 0;
    tmx.data = "<data encoding=\"csv\">" + csv(cells) + "</data>";
    expectError("level.tmx", tmx.text(), 8, "cell (9, 3): the cell is empty, but screen (0, 0) has tiles");

    json flipped = jsonMap();
    flipped["layers"][0]["data"][5] = 0x40000001u;
    expectError("level.tmj", flipped.dump(), 0, "layer \"tiles\", cell (5, 0): the tile is flipped vertically");
}

TEST_F(TiledImport, ReportsTilesFromTwoTilesets) {
    std::vector<uint32_t> cells = gids();
    cells[20] = 0;
    cells[kWidth + 6] = 11;
    Tmx tmx;
    tmx.tileset = embeddedTileset() + " <tileset firstgid=\"10\" " + tilesetAttributes() + ">\n" + kTilesetBody + " </tileset>\n";
    tmx.data = "<data encoding=\"csv\">" + csv(cells) + "</data>";
    expectError("level.tmx", tmx.text(), 13, "cell (6, 1): the tile comes from tile set \"sheet\", but the layer's other tiles");
}

TEST_F(TiledImport, ReportsBadBoundaries) {
    Tmx tmx;
    tmx.layers = " <objectgroup id=\"2\" name=\"boundaries\">\n"
                 "  <object id=\"1\" name=\"boundary0\" x=\"0\" y=\"0\" width=\"256\" height=\"240\"/>\n"
                 "  <object id=\"2\" x=\"128\" y=\"0\" width=\"256\" height=\"240\"/>\n"
                 " </objectgroup>\n";
    expectError("level.tmx", tmx.text(), 29, "off the screen grid");

    tmx.mapAttributes = "orientation=\"orthogonal\" width=\"32\" height=\"30\" tilewidth=\"16\" tileheight=\"16\"";
    std::vector<uint32_t> tall = gids();
    tall.resize(static_cast<size_t>(kWidth * 30), 1);  // the lower two screens present
    tmx.data = "<data encoding=\"csv\">" + csv(tall) + "</data>";
    tmx.layers = " <objectgroup id=\"2\" name=\"boundaries\">\n"
                 "  <object id=\"1\" x=\"0\" y=\"240\" width=\"512\" height=\"240\"/>\n"
                 "  <object id=\"2\" x=\"256\" y=\"240\" width=\"256\" height=\"240\"/>\n"
                 " </objectgroup>\n";
    const std::string text = tmx.text();
    std::string withLayerSize = text;
    size_t at = withLayerSize.find("height=\"15\">");  // the tiles layer's own height
    withLayerSize.replace(at, 12, "height=\"30\">");
    expectError("level.tmx", withLayerSize, 44, "boundary 1 (x 256, y 240, w 256) overlaps boundary 0 (x 0, y 240, w 512)");

    // One object in the boundaries layer of the fixture, on line 28.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"x=\"0\" y=\"0\" width=\"512\" height=\"240\"/>", "lies over screen (1, 0), which has no tiles"},
        {"x=\"0\" y=\"0\" width=\"256\" height=\"224\"/>", "is 224 pixels high; a boundary is one screen high, 240"},
        {"x=\"0.5\" y=\"0\" width=\"256\" height=\"240\"/>", "x 0.500000 is not a whole pixel"},
        {"name=\"boundary1\" x=\"0\" y=\"0\" width=\"256\" height=\"240\"/>", "boundaries are numbered in layer order"},
        {"x=\"0\" y=\"0\" width=\"256\" height=\"240\"><ellipse/></object>", "holds rectangles only"},
    };
    for (const auto& [object, fragment] : cases) {
        tmx = Tmx();
        tmx.layers = " <objectgroup id=\"2\" name=\"boundaries\">\n  <object id=\"1\" " + object + "\n </objectgroup>\n";
        expectError("level.tmx", tmx.text(), 28, fragment);
    }
}

TEST_F(TiledImport, ReportsMisplacedPlaces) {
    Tmx tmx;
    tmx.layers = " <objectgroup id=\"3\" name=\"places\">\n"
                 "  <object id=\"2\" name=\"start\" x=\"128\" y=\"196\" width=\"16\" height=\"16\"/>\n"
                 " </objectgroup>\n";
    expectError("level.tmx", tmx.text(), 28, "the \"start\" object must be a point");
    tmx.layers = " <objectgroup id=\"3\" name=\"places\">\n"
                 "  <object id=\"2\" name=\"enemy\" x=\"1\" y=\"1\"><point/></object>\n"
                 "  <object id=\"3\" name=\"enemy\" x=\"2\" y=\"2\"><point/></object>\n"
                 " </objectgroup>\n";
    expectError("level.tmx", tmx.text(), 29, "a second \"enemy\" point (the first is layer \"places\", object 2");
}

TEST_F(TiledImport, ReportsMalformedFilesWithTheirLine) {
    expectError("level.tmx", "<?xml version=\"1.0\"?>\n<map width=\"32\">\n <layer>\n</map>\n", 3, "malformed XML");  // the unclosed <layer>
    expectError("level.tmx", "<?xml version=\"1.0\"?>\n<tileset/>\n", 2, "expected a <map> element, found <tileset>");
    Tmx tmx;
    tmx.mapAttributes = "orientation=\"orthogonal\" width=\"wide\" height=\"15\" tilewidth=\"16\" tileheight=\"16\"";
    expectError("level.tmx", tmx.text(), 2, "<map> attribute width=\"wide\" is not a whole number");
    expectError("level.tmj", "{\n  \"width\": 32,\n  \"height\": ,\n}", 3, "malformed JSON");
    expectError("missing.tmx", "", 0, "the file is empty");
    try {
        TiledImporter::importFile(m_dir.file("nowhere.tmx"));
        ADD_FAILURE() << "no error";
    } catch (const MapToolError& error) {
        EXPECT_NE(std::string(error.what()).find("nowhere.tmx: cannot open"), std::string::npos) << error.what();
    }
}

TEST_F(TiledImport, ReportsMissingTilesLayer) {
    std::string text = Tmx().text();
    text.replace(text.find("name=\"tiles\""), 12, "name=\"ground\"");
    expectError("level.tmx", text, 2, "no tile layer named \"tiles\"");
}

}  // namespace
