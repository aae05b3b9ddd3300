#include "level_keys.h"

#include "ini_file_editor.h"
#include "map_tool_error.h"
#include "resources/ini_dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------ the editor

const char* const kLevels =
    "; The levels.\r\n"
    "[Common]\r\n"
    "readyMessage=READY\r\n"
    "\r\n"
    "; The first level.\r\n"
    "[Pendix]\r\n"
    "tileSheet = tiles.bmp\r\n"
    "  boundaries   =  2\r\n"
    "boundary0x=0\r\n"
    ";boundary0y=999 is a comment, not a key\r\n"
    "boundary0y=0\r\n"
    "boundary0w=512\r\n"
    "boundary1x=256\r\n"
    "boundary1y=240\r\n"
    "boundary1w=256\r\n"
    "\r\n"
    "; The second level.\r\n"
    "[Mossgate]\r\n"
    "boundaries=1\r\n";

TEST(IniFileEditor, ChangesOnlyTheValuesOfTheKeysItSets) {
    IniFileEditor editor(kLevels);
    editor.set("Pendix", "boundary0w", "768");
    editor.set("Pendix", "boundaries", "3");
    editor.set("Pendix", "boundary0x", "0");  // unchanged value: the line stays as it was
    std::string expected = kLevels;
    expected.replace(expected.find("boundary0w=512"), 14, "boundary0w=768");
    expected.replace(expected.find("  boundaries   =  2"), 19, "  boundaries   =  3");
    EXPECT_EQ(editor.text(), expected);
}

TEST(IniFileEditor, AppendsMissingKeysAfterTheSectionsLastKeyWithItsLineEnding) {
    IniFileEditor editor(kLevels);
    editor.set("Pendix", "enemyX", "48");
    editor.set("Pendix", "boundary0y", "240");  // the commented-out line is not the key
    const std::string text = editor.text();
    EXPECT_NE(text.find("boundary0y=240\r\n"), std::string::npos);
    EXPECT_NE(text.find(";boundary0y=999 is a comment, not a key\r\n"), std::string::npos);
    EXPECT_NE(text.find("boundary1w=256\r\nenemyX=48\r\n\r\n; The second level."), std::string::npos) << text;
}

TEST(IniFileEditor, AddsAMissingSectionAtTheEnd) {
    IniFileEditor editor("[A]\nx=1");  // no line ending at the end
    editor.set("B", "y", "2");
    EXPECT_EQ(editor.text(), "[A]\nx=1\n\n[B]\ny=2\n");
    IniFileEditor empty("");
    empty.set("B", "y", "2");
    EXPECT_EQ(empty.text(), "[B]\ny=2\n");
}

TEST(IniFileEditor, RemovesEveryLineOfAKeyInTheSectionOnly) {
    IniFileEditor editor("[A]\nk=1\nk=2\n[B]\nk=3\n");
    editor.remove("A", "k");
    EXPECT_EQ(editor.text(), "[A]\n[B]\nk=3\n");
}

TEST(IniFileEditor, SeesARepeatedSectionAsOne) {
    IniFileEditor editor("[A]\nx=1\n[B]\ny=1\n[A]\nz=1\n");
    EXPECT_EQ(editor.keys("A"), (std::vector<std::string>{"x", "z"}));
    editor.set("A", "z", "2");
    editor.set("A", "w", "3");  // added to the first block
    EXPECT_EQ(editor.text(), "[A]\nx=1\nw=3\n[B]\ny=1\n[A]\nz=2\n");
}

// ------------------------------------------------------------ the level keys

// A layout over a map of 2 x 2 screens, all present.
LevelLayout layoutOver2x2() {
    LevelLayout layout;
    std::vector<TileMapFile::Cell> cells(32 * 30, TileMapFile::Cell{1, 0});
    layout.map = TileMapFile(32, 30, 2, cells, {true, true, true, true});
    return layout;
}

LevelLayout::Boundary boundary(int32_t x, int32_t y, int32_t w) {
    return LevelLayout::Boundary{x, y, w, LevelLayout::Origin{"level.tmx", 7, "object 1"}};
}

std::string written(const LevelLayout& layout, const std::string& before) {
    IniFileEditor editor(before);
    LevelKeys::write(layout, "L", "levels.ini", editor);
    return editor.text();
}

TEST(LevelKeys, WritesBoundariesAndRemovesThoseBeyondTheCount) {
    LevelLayout layout = layoutOver2x2();
    layout.boundaries = {boundary(0, 240, 512), boundary(256, 0, 256)};
    const std::string before =
        "[L]\ntileMap=l.map\nboundaries=3\nboundary0x=0\nboundary0y=0\nboundary0w=512\nboundary1x=0\nboundary1y=240\n"
        "boundary1w=512\nboundary2x=0\nboundary2y=480\nboundary2w=256\nteleportStopPosY=196\n";
    EXPECT_EQ(written(layout, before),
              "[L]\ntileMap=l.map\nboundaries=2\nboundary0x=0\nboundary0y=240\nboundary0w=512\nboundary1x=256\n"
              "boundary1y=0\nboundary1w=256\nteleportStopPosY=196\n");
}

TEST(LevelKeys, StartIsRelativeToBoundaryZeroAndMustBeInTheBeamColumn) {
    LevelLayout layout = layoutOver2x2();
    layout.boundaries = {boundary(256, 240, 256)};
    layout.start = LevelLayout::Place{256 + 128 + 15, 240 + 180, LevelLayout::Origin{"level.tmx", 9, "object 4 \"start\""}};
    EXPECT_EQ(written(layout, "[L]\n"), "[L]\nboundaries=1\nboundary0x=256\nboundary0y=240\nboundary0w=256\nteleportStopPosY=180\n");

    layout.start->x = 256 + 128 + 16;
    try {
        written(layout, "[L]\n");
        ADD_FAILURE() << "no error";
    } catch (const MapToolError& error) {
        EXPECT_STREQ(error.what(),
                     "level.tmx:9: object 4 \"start\": the start is at x 400 (tile column 25), but the engine beams the "
                     "player in at boundary 0's x + 128 = 384 (tile column 24); move the start there, or move boundary 0");
    }
}

TEST(LevelKeys, WithoutBoundariesTheStartUsesTheSectionsBoundaryZero) {
    LevelLayout layout = layoutOver2x2();
    layout.start = LevelLayout::Place{128, 480 + 196, LevelLayout::Origin{"l.vmap", 0, "start"}};
    EXPECT_EQ(written(layout, "[L]\nboundaries=1\nboundary0x=0\nboundary0y=480\nboundary0w=256\n"),
              "[L]\nboundaries=1\nboundary0x=0\nboundary0y=480\nboundary0w=256\nteleportStopPosY=196\n");
    EXPECT_THROW(written(layout, "[L]\nboundaries=0\n"), MapToolError);
}

TEST(LevelKeys, DefaultsAreOnlyWrittenWhereTheKeysAlreadyAre) {
    LevelLayout layout = layoutOver2x2();
    layout.enemy = LevelLayout::Place{112, 2104, {}};
    EXPECT_EQ(written(layout, "[L]\nx=1\n"), "[L]\nx=1\n");
    EXPECT_EQ(written(layout, "[L]\nenemyY=5\n"), "[L]\nenemyY=2104\nenemyX=112\n");
    layout.enemy->x = 48;
    EXPECT_EQ(written(layout, "[L]\nx=1\n"), "[L]\nx=1\nenemyX=48\nenemyY=2104\n");
}

TEST(LevelKeys, ReadGivesTheStartAndTheEnemyAtTheirDefault) {
    const IniDictionary levels = IniDictionary::fromText(
        "[L]\nboundaries=2\nboundary0x=256\nboundary0y=240\nboundary0w=256\nboundary1x=0\nboundary1y=0\nboundary1w=512\n"
        "teleportStopPosY=196\n");
    LevelLayout layout;
    LevelKeys::read(levels, "L", "levels.ini", layout);
    ASSERT_EQ(layout.boundaries.size(), 2u);
    EXPECT_EQ(layout.boundaries[1].w, 512);
    ASSERT_TRUE(layout.start && layout.enemy);
    EXPECT_EQ(layout.start->x, 384);
    EXPECT_EQ(layout.start->y, 436);
    EXPECT_EQ(layout.enemy->x, 112);
    EXPECT_EQ(layout.enemy->y, 2104);
    EXPECT_EQ(layout.boundaries[1].origin.line, 6);

    LevelLayout none;
    try {
        LevelKeys::read(IniDictionary::fromText("[L]\n"), "L", "levels.ini", none);
        ADD_FAILURE() << "no error";
    } catch (const MapToolError& error) {
        EXPECT_NE(std::string(error.what()).find("\"boundaries\" is 0 (missing)"), std::string::npos) << error.what();
    }
}

TEST(LevelKeys, BoundariesMustLieOnTheGridOverPresentScreensWithoutOverlap) {
    LevelLayout layout = layoutOver2x2();
    layout.boundaries = {boundary(0, 0, 512), boundary(0, 240, 256), boundary(256, 240, 256)};
    EXPECT_NO_THROW(LevelKeys::checkBoundaries(layout));

    auto expectRejected = [&](std::vector<LevelLayout::Boundary> boundaries, const std::string& fragment) {
        LevelLayout bad = layoutOver2x2();
        bad.map = TileMapFile(32, 30, 2, std::vector<TileMapFile::Cell>(32 * 30, TileMapFile::Cell{1, 0}),
                              {true, true, true, false});
        bad.boundaries = std::move(boundaries);
        try {
            LevelKeys::checkBoundaries(bad);
            ADD_FAILURE() << "no error; expected " << fragment;
        } catch (const MapToolError& error) {
            EXPECT_EQ(error.line(), 7);
            EXPECT_NE(error.message().find(fragment), std::string::npos) << error.what();
        }
    };
    expectRejected({boundary(16, 0, 256)}, "off the screen grid");
    expectRejected({boundary(0, 0, 0)}, "off the screen grid");
    expectRejected({boundary(0, 0, 768)}, "reaches outside the map (512 x 480 pixels)");
    expectRejected({boundary(0, 240, 512)}, "lies over screen (1, 1), which has no tiles");
    expectRejected({boundary(0, 0, 512), boundary(256, 0, 256)}, "boundary 1 (x 256, y 0, w 256) overlaps boundary 0");
}

}  // namespace
