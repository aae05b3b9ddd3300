#include "tiled_exporter.h"

#include "ini_file_editor.h"
#include "level_keys.h"
#include "map_tool_error.h"
#include "resources/ini_dictionary.h"
#include "support/temp_dir.h"
#include "text_file.h"
#include "tiled_importer.h"
#include "world/map_source.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kGame = std::string(VOLTARO_SOURCE_DIR) + "/game/";

TiledExporter::Sheet sheetOf(const std::string& path) {
    SDL_Surface* surface = SDL_LoadBMP(path.c_str());
    EXPECT_NE(surface, nullptr) << path;
    TiledExporter::Sheet sheet{path, path, "sheet", surface ? surface->w : 0, surface ? surface->h : 0};
    SDL_FreeSurface(surface);
    return sheet;
}

// Exports the layout into `dir` and imports it again.
LevelLayout roundTrip(const TempDir& dir, const LevelLayout& layout, const TiledExporter::Sheet& sheet) {
    const TiledExporter::Files files = TiledExporter::write(layout, sheet, "sheet.tsx", "level.map");
    dir.write("sheet.tsx", files.tsx);
    dir.write("level.tmx", files.tmx);
    return TiledImporter::importFile(dir.file("level.tmx"));
}

TEST(TiledExport, SampleLevelsComeBackByteForByteWithTheirKeys) {
    const std::string iniText = TextFile::read(kGame + "levels.ini");
    const IniDictionary levels = IniDictionary::fromText(iniText);
    for (const std::string section : {"Pendix", "Mossgate", "Gearworks"}) {
        SCOPED_TRACE(section);
        const std::string mapFile = kGame + levels.getString("tileMap", section, "");
        const std::string binaryText = TextFile::read(mapFile);
        const std::vector<uint8_t> binary(binaryText.begin(), binaryText.end());
        LevelLayout layout;
        layout.map = MapSource::decodeFaithfully(binary, mapFile, "a Tiled map");
        LevelKeys::read(levels, section, "levels.ini", layout);

        TempDir dir;
        const LevelLayout back = roundTrip(dir, layout, sheetOf(kGame + levels.getString("tileSheet", section, "")));
        EXPECT_EQ(back.map.encode(), binary);
        IniFileEditor editor(iniText);
        EXPECT_EQ(LevelKeys::write(back, section, "levels.ini", editor), std::vector<std::string>{});
        EXPECT_EQ(editor.text(), iniText);
    }
}

// One screen with tile 1 solid everywhere but open at (3, 4).
LevelLayout mixedLevel(uint8_t solidByte = 1) {
    LevelLayout layout;
    std::vector<TileMapFile::Cell> cells(16 * 15, TileMapFile::Cell{2, solidByte});
    cells[4 * 16 + 3].solidByte = 0;
    layout.map = TileMapFile(16, 15, 3, cells, {true});
    layout.boundaries = {LevelLayout::Boundary{0, 0, 256, {}}};
    return layout;
}

TiledExporter::Sheet twoTileSheet() {
    return TiledExporter::Sheet{"two.bmp", "two.bmp", "two", 16, 32};
}

TEST(TiledExport, TileUsedBothSolidAndOpenGetsTheSolidLayer) {
    TempDir dir;
    const LevelLayout layout = mixedLevel();
    const TiledExporter::Files files = TiledExporter::write(layout, twoTileSheet(), "sheet.tsx", "level.map");
    EXPECT_NE(files.tmx.find("name=\"solid\""), std::string::npos);
    EXPECT_NE(files.tsx.find("<tile id=\"1\">\n        <properties>\n            <property name=\"solid\" type=\"bool\" value=\"true\"/>"),
              std::string::npos) << files.tsx;
    EXPECT_EQ(roundTrip(dir, layout, twoTileSheet()).map.encode(), layout.map.encode());

    std::vector<TileMapFile::Cell> plain(16 * 15, TileMapFile::Cell{2, 1});
    LevelLayout agreeing = mixedLevel();
    agreeing.map = TileMapFile(16, 15, 3, plain, {true});
    EXPECT_EQ(TiledExporter::write(agreeing, twoTileSheet(), "s.tsx", "l.map").tmx.find("name=\"solid\""), std::string::npos);
}

TEST(TiledExport, RefusesWhatATiledMapCannotHold) {
    try {
        TiledExporter::write(mixedLevel(7), twoTileSheet(), "s.tsx", "level.map");
        ADD_FAILURE() << "no error";
    } catch (const MapToolError& error) {
        EXPECT_STREQ(error.what(), "level.map: cell (0, 0) has solid byte 7; Tiled's \"solid\" is true or false, so only "
                                   "0 and 1 survive");
    }
    TiledExporter::Sheet wide = twoTileSheet();
    wide.width = 32;
    try {
        TiledExporter::write(mixedLevel(), wide, "s.tsx", "level.map");
        ADD_FAILURE() << "no error";
    } catch (const MapToolError& error) {
        EXPECT_STREQ(error.what(), "two.bmp: the tile sheet is 32 x 32 pixels, but the map needs one column of 2 tiles of "
                                   "16 x 16 (16 x 32 pixels)");
    }
}

}  // namespace
