#include "platform/fatal_data_error.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"
#include "world/camera.h"
#include "world/geometry.h"
#include "world/map.h"
#include "world/map_source.h"
#include "world/tile_map_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A map source built in the test: W x H cells, all '.' (tile 0, open) to
// start with. Legend: '.' tile 0 open, '#' tile 1 solid, 'H' tile 4 (ladder)
// open, 'o' tile 3 open, 'x' tile 9 solid (names no image in a 6-tile sheet).
class MapText {
public:
    MapText(int width, int height) : m_rows(static_cast<size_t>(height), std::string(static_cast<size_t>(width), '.')) {}

    MapText& set(int column, int row, char c) {
        m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = c;
        return *this;
    }
    MapText& fill(char c) {
        for (std::string& row : m_rows) row.assign(row.size(), c);
        return *this;
    }
    MapText& absentScreen(int screenX, int screenY) {
        for (int row = screenY * 15; row < screenY * 15 + 15; ++row) {
            for (int column = screenX * 16; column < screenX * 16 + 16; ++column) set(column, row, '~');
        }
        return *this;
    }
    MapText& tiles(int count) {
        m_tiles = count;
        return *this;
    }
    std::string source() const {
        std::string text = "tiles " + std::to_string(m_tiles) + "\nlegend\n. 0 open\n# 1 solid\nH 4 open\no 3 open\nx 9 solid\nmap\n";
        for (const std::string& row : m_rows) text += row + "\n";
        return text;
    }

private:
    std::vector<std::string> m_rows;
    int m_tiles = 6;
};

std::string bytesToString(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// W, H, N and then the chunks, for binaries the source format cannot express.
std::vector<uint8_t> header(uint8_t width, uint8_t height, uint8_t tileBytes) {
    return {width, height, tileBytes};
}

void appendChunk(std::vector<uint8_t>& bytes, uint8_t tileByte, uint8_t solidByte) {
    for (int i = 0; i < 16; ++i) {
        bytes.push_back(tileByte);
        bytes.push_back(solidByte);
    }
}

const char* const kOneScreenLevel =
    "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\nboundary0x=0\nboundary0y=0\nboundary0w=256\n";

class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.enter();
        m_video.setBitmapSize("tiles.bmp", 16, 16 * 6);
    }

    // Writes the compiled source as "level.map" and loads level "Pendix".
    std::unique_ptr<Map> load(const MapText& text, const std::string& levels = kOneScreenLevel) {
        m_dir.write("level.map", bytesToString(MapSource::compile(text.source(), "level.vmap")));
        return loadLevel(levels);
    }
    std::unique_ptr<Map> loadBinary(const std::vector<uint8_t>& bytes, const std::string& levels = kOneScreenLevel) {
        m_dir.write("level.map", bytesToString(bytes));
        return loadLevel(levels);
    }
    // The draws recorded afterwards are the test's own: composing the
    // prepared screens at load is left out.
    std::unique_ptr<Map> loadLevel(const std::string& levels) {
        auto map = std::make_unique<Map>("Pendix", IniDictionary::fromText(levels));
        m_video.clearCalls();
        return map;
    }

    // Expects loading to stop with a fatal data error for the map whose
    // report contains every fragment.
    void expectFatal(const std::function<void()>& loadIt, const std::string& condition,
                     const std::vector<std::string>& fragments) {
        try {
            loadIt();
            ADD_FAILURE() << "no FatalDataError";
        } catch (const FatalDataError& error) {
            EXPECT_EQ(error.condition(), condition);
            EXPECT_EQ(error.source(), "map");
            for (const std::string& fragment : fragments) {
                EXPECT_NE(error.detail().find(fragment), std::string::npos)
                    << "'" << fragment << "' missing in: " << error.detail();
            }
        }
        EXPECT_EQ(m_video.liveSurfaces(), 0) << "the tile sheet must be freed";
    }

    int blitCount() const { return static_cast<int>(m_video.calls().size()); }

    TempDir m_dir;
    RecordingVideoService m_video;
};

// ---------------------------------------------------------------- loading

TEST_F(MapTest, LoadsScreensTileImagesAndRecordPositions) {
    MapText text(32, 15);
    text.tiles(5).set(20, 3, 'H');
    const auto map = load(text, std::string(kOneScreenLevel) + "boundary0w=512\n");
    EXPECT_EQ(map->screensX(), 2);
    EXPECT_EQ(map->screensY(), 1);
    EXPECT_EQ(map->screenCount(), 2);
    EXPECT_EQ(map->tileImageCount(), 5);  // "tiles 5" writes N = 6
    EXPECT_TRUE(map->isScreenPresent(0));
    EXPECT_TRUE(map->isScreenPresent(1));
    const Tile tile = map->tileAt(20 * 16 + 7, 3 * 16 + 9);
    EXPECT_EQ(tile.tile, 4);
    EXPECT_FALSE(tile.solid);
    EXPECT_EQ(tile.x, 320);
    EXPECT_EQ(tile.y, 48);
}

TEST_F(MapTest, WritesTheMapFileNameToStandardOutput) {
    testing::internal::CaptureStdout();
    load(MapText(16, 15));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Map::load: mapFilename: level.map\n");
}

TEST_F(MapTest, SkipsAbsentChunkWholeAndStaysAligned) {
    // Screen 1's chunks start with 0 but carry non-zero bytes after it.
    std::vector<uint8_t> bytes = header(32, 15, 7);
    for (int row = 0; row < 15; ++row) {
        appendChunk(bytes, static_cast<uint8_t>(row % 6 + 1), row % 2);
        bytes.push_back(0);
        bytes.push_back(1);
        for (int i = 1; i < 16; ++i) {
            bytes.push_back(5);
            bytes.push_back(1);
        }
    }
    const auto map = loadBinary(bytes);
    EXPECT_TRUE(map->isScreenPresent(0));
    EXPECT_FALSE(map->isScreenPresent(1));
    const Tile last = map->tileAt(15 * 16, 14 * 16);
    EXPECT_EQ(last.tile, 14 % 6);
    EXPECT_FALSE(last.solid);
    EXPECT_EQ(map->tileAt(0, 13 * 16).tile, 13 % 6);
    EXPECT_TRUE(map->tileAt(0, 13 * 16).solid);
}

TEST_F(MapTest, IgnoresBytesAfterTheLastRow) {
    std::vector<uint8_t> bytes = header(16, 15, 7);
    for (int row = 0; row < 15; ++row) appendChunk(bytes, 2, 1);
    bytes.insert(bytes.end(), {9, 9, 9});
    const auto map = loadBinary(bytes);
    EXPECT_EQ(map->tileAt(0, 0).tile, 1);
}

TEST_F(MapTest, FreesTheTileSheetOnDestruction) {
    auto map = load(MapText(16, 15));
    EXPECT_EQ(m_video.liveSurfaces(), 2);  // the sheet and the screen's prepared picture
    map.reset();
    EXPECT_EQ(m_video.liveSurfaces(), 0);
}

TEST_F(MapTest, ReadsTeleportValuesAndStartsAtBoundaryZero) {
    const auto map = load(MapText(32, 30),
                          "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=2\n"
                          "boundary0x=256\nboundary0y=240\nboundary0w=256\n"
                          "boundary1x=0\nboundary1y=0\nboundary1w=512\n"
                          "teleportStartYSpeedFraction=-300\nteleportStopPosY=100\n");
    EXPECT_EQ(map->currentBoundaryIndex(), 0);
    const SDL_Rect b = map->currentBoundary();
    EXPECT_EQ(b.x, 256);
    EXPECT_EQ(b.y, 240);
    EXPECT_EQ(b.w, 256);
    EXPECT_EQ(b.h, 240);
    EXPECT_EQ(map->teleportStartX().raw(), 384 * 256);
    EXPECT_EQ(map->teleportStartY().raw(), 244 * 256 + 248);
    EXPECT_EQ(map->teleportStartYSpeed().raw(), -300);
    EXPECT_EQ(map->teleportStopY().raw(), 340 * 256);
}

TEST_F(MapTest, CutsBoundaryValuesToSixteenBits) {
    const auto map = load(MapText(16, 15), "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\n"
                                           "boundary0x=65536\nboundary0y=-65520\nboundary0w=65792\n");
    EXPECT_EQ(map->currentBoundary().x, 0);
    EXPECT_EQ(map->currentBoundary().y, 16);
    EXPECT_EQ(map->currentBoundary().w, 256);
}

// ---------------------------------------------------------------- tileAt

TEST_F(MapTest, TileAtNegativePixelAnswersForTheOrigin) {
    MapText text(16, 15);
    text.set(0, 0, '#');
    const auto map = load(text);
    const Tile tile = map->tileAt(-5, -5);
    EXPECT_EQ(tile.tile, 1);
    EXPECT_TRUE(tile.solid);
    EXPECT_EQ(tile.x, 0);
    EXPECT_EQ(tile.y, 0);
}

TEST_F(MapTest, AbsentScreenInsideTheBandIsASolidTileZero) {
    MapText text(32, 15);
    text.absentScreen(1, 0);
    const auto map = load(text, std::string(kOneScreenLevel) + "boundary0w=512\n");
    const Tile tile = map->tileAt(300, 37);
    EXPECT_EQ(tile.tile, 0);
    EXPECT_TRUE(tile.solid);
    EXPECT_EQ(tile.x, 288);
    EXPECT_EQ(tile.y, 32);
}

TEST_F(MapTest, BandIsInclusiveAtBothEnds) {
    MapText text(16, 45);
    text.fill('#');
    const auto map = load(text, "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\n"
                                "boundary0y=240\nboundary0w=256\n");
    EXPECT_TRUE(map->tileAt(8, 480).solid);
    EXPECT_TRUE(map->tileAt(8, 240).solid);
    EXPECT_FALSE(map->tileAt(8, 481).solid);
    EXPECT_FALSE(map->tileAt(8, 239).solid);
    EXPECT_EQ(map->tileAt(8, 481).tile, 1);  // only the solid flag changes
}

TEST_F(MapTest, PixelsRightOfTheMapAreOutsideNotTheNextScreenRow) {
    MapText text(16, 30);
    for (int row = 15; row < 30; ++row) text.set(0, row, 'H');
    const auto map = load(text);
    const Tile right = map->tileAt(256 + 5, 7);  // the row formula alone would land in screen (0, 1)
    EXPECT_EQ(right.tile, 0);
    EXPECT_TRUE(right.solid);
    EXPECT_EQ(right.x, 256);
    EXPECT_EQ(right.y, 0);
}

TEST_F(MapTest, PixelsBelowTheMapAreOutside) {
    const auto map = load(MapText(16, 15), "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\n"
                                           "boundary0y=240\nboundary0w=256\n");
    const Tile below = map->tileAt(20, 250);
    EXPECT_EQ(below.tile, 0);
    EXPECT_TRUE(below.solid);
    EXPECT_EQ(below.x, 16);
    EXPECT_EQ(below.y, 240);
}

TEST_F(MapTest, TileNumberWithoutImageKeepsItsSolidFlag) {
    MapText text(16, 15);
    text.set(2, 2, 'x');
    const auto map = load(text);
    EXPECT_EQ(map->tileAt(40, 40).tile, 9);
    EXPECT_TRUE(map->tileAt(40, 40).solid);
}

// ---------------------------------------------------------------- clearances

TEST_F(MapTest, HorizontalLeftNearTheMapEdgeReturnsTheDistanceWithoutProbing) {
    MapText text(16, 15);
    text.fill('#');
    const auto map = load(text);
    EXPECT_EQ(map->horizontalClearance(makeRect(10, 100, 16, 24), Direction::Left), 10);
}

TEST_F(MapTest, HorizontalLeftProbesOneTileBeyondTheRectangle) {
    MapText text(16, 15);
    const auto open = load(text);
    EXPECT_EQ(open->horizontalClearance(makeRect(40, 96, 16, 40), Direction::Left), 16);
    // Only the middle probe (y + h / 2 = 116, row 7) meets the wall in column 1 (x 24).
    text.set(1, 7, '#');
    const auto walled = load(text);
    EXPECT_EQ(walled->horizontalClearance(makeRect(40, 96, 16, 40), Direction::Left), 8);
}

TEST_F(MapTest, HorizontalRightProbesSixteenBeyondTheRightEdge) {
    MapText text(16, 15);
    text.set(3, 8, '#');  // column 3 holds x 56; row 8 holds the bottom probe y 136
    const auto map = load(text);
    EXPECT_EQ(map->horizontalClearance(makeRect(24, 96, 16, 40), Direction::Right), 7);
    EXPECT_EQ(map->horizontalClearance(makeRect(24, 80, 16, 40), Direction::Right), 16);  // probes rows 5, 6, 7
}

TEST_F(MapTest, HorizontalWithoutADirectionProbesColumnZero) {
    MapText text(16, 15);
    text.set(0, 6, '#');
    const auto map = load(text);
    EXPECT_EQ(map->horizontalClearance(makeRect(100, 96, 16, 16), Direction::Up), 0);
    EXPECT_EQ(map->horizontalClearance(makeRect(100, 16, 16, 16), Direction::None), 16);
}

TEST_F(MapTest, VerticalUpReturnsTheRemainderBelowACeiling) {
    MapText text(16, 15);
    text.set(3, 5, '#');  // x + w = 56 in column 3; probe y 84 in row 5
    const auto map = load(text);
    EXPECT_EQ(map->verticalClearance(makeRect(40, 100, 16, 24), Direction::Up), 4);
    EXPECT_EQ(map->verticalClearance(makeRect(0, 100, 16, 24), Direction::Up), 16);
}

TEST_F(MapTest, VerticalDownStopsOnALadderTopLikeAFloor) {
    MapText text(16, 15);
    text.set(3, 8, 'H');  // below the rectangle's bottom row (row 7, y 120)
    const auto map = load(text);
    EXPECT_EQ(map->verticalClearance(makeRect(40, 96, 16, 24), Direction::Down), 7);
}

TEST_F(MapTest, VerticalDownFallsThroughALadderThatContinues) {
    MapText text(16, 15);
    text.set(3, 7, 'H').set(3, 8, 'H');
    const auto continuing = load(text);
    EXPECT_EQ(continuing->verticalClearance(makeRect(40, 96, 16, 24), Direction::Down), 16);
    text.set(2, 8, '#');  // the second corner, column x = 40, still finds a floor
    const auto floored = load(text);
    EXPECT_EQ(floored->verticalClearance(makeRect(40, 96, 16, 24), Direction::Down), 7);
}

TEST_F(MapTest, VerticalUpIgnoresLadders) {
    MapText text(16, 15);
    text.set(3, 5, 'H');
    const auto map = load(text);
    EXPECT_EQ(map->verticalClearance(makeRect(40, 100, 16, 24), Direction::Up), 16);
}

TEST_F(MapTest, VerticalUpNearTheMapTopIsNeverNegative) {
    MapText text(16, 15);
    text.set(2, 0, '#').set(3, 0, '#');
    const auto map = load(text);
    // The probe y = -11 lands in row 0; its remainder alone would give -11.
    EXPECT_EQ(map->verticalClearance(makeRect(40, 5, 16, 24), Direction::Up), 0);
    EXPECT_EQ(map->verticalClearance(makeRect(40, 16, 16, 24), Direction::Up), 0);
    EXPECT_EQ(map->verticalClearance(makeRect(40, 20, 16, 24), Direction::Up), 4);
}

TEST_F(MapTest, VerticalDownFromAboveTheMapIsAtMostSixteen) {
    MapText text(16, 15);
    text.set(2, 0, '#');
    const auto map = load(text);
    // Probe y = -24 lands in row 0; its remainder alone would give 23.
    EXPECT_EQ(map->verticalClearance(makeRect(32, -60, 16, 20), Direction::Down), 16);
}

// ---------------------------------------------------------------- ladders, screens, boundaries

TEST_F(MapTest, ProbeLaddersTestsFlagZeroOrFourByTheFlag) {
    MapText text(16, 15);
    text.set(2, 4, 'H');  // y 64..79 at x 40
    const auto map = load(text);
    // flag false: 0 at y2 + 12 = 64, 1 at y + 11 = 91, 2 at y - 4 = 76, 3 at y - 12 = 68
    const LadderProbe down = map->probeLadders(40, 80, 52, false);
    EXPECT_EQ(down.mask(), 0b01101);
    // flag true: 4 at y2 - 12 = 64 instead of 0
    const LadderProbe up = map->probeLadders(40, 80, 76, true);
    EXPECT_EQ(up.mask(), 0b11100);
    EXPECT_EQ(map->probeLadders(40, 80, 52, true).mask(), 0b01100);
}

TEST_F(MapTest, ScreenBelowIsTheRowUnderTheCurrentBoundary) {
    MapText text(32, 30);
    text.absentScreen(1, 1);
    const auto map = load(text, "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\nboundary0w=512\n");
    EXPECT_FALSE(map->isScreenBelowMissing(100, 100));
    EXPECT_TRUE(map->isScreenBelowMissing(300, 100));
    EXPECT_TRUE(map->isScreenBelowMissing(100, 480));  // past the band: its own row, 2, is outside the map
    EXPECT_FALSE(map->isScreenBelowMissing(100, 240));
}

TEST_F(MapTest, ScreenBelowOutsideTheMapIsMissingWithoutWrapping) {
    const auto map = load(MapText(16, 45));
    EXPECT_TRUE(map->isScreenBelowMissing(300, 100));  // right of the map; the row formula alone gives screen (0, 2)
    EXPECT_FALSE(map->isScreenBelowMissing(-600, 100));  // left of the map counts as its first column
}

TEST_F(MapTest, SelectBoundaryPicksTheFirstContainingBoundary) {
    const auto map = load(MapText(32, 30), "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=3\n"
                                           "boundary0w=256\n"
                                           "boundary1y=240\nboundary1w=512\n"
                                           "boundary2x=256\nboundary2y=240\nboundary2w=256\n");
    map->selectBoundary(300, 300);
    EXPECT_EQ(map->currentBoundaryIndex(), 1);
    map->selectBoundary(5000, 5000);
    EXPECT_EQ(map->currentBoundaryIndex(), 1);
    map->selectBoundary(256, 100);  // right edge of boundary 0 is exclusive
    EXPECT_EQ(map->currentBoundaryIndex(), 1);
    map->selectBoundary(255, 239);
    EXPECT_EQ(map->currentBoundaryIndex(), 0);
    map->selectBoundary(100, 240);  // bottom edge of boundary 0 is exclusive too
    EXPECT_EQ(map->currentBoundaryIndex(), 1);
}

TEST_F(MapTest, BoundaryAtAnswersLikeSelectBoundaryWithoutChangingIt) {
    const auto map = load(MapText(32, 30), "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=2\n"
                                           "boundary0w=256\nboundary1y=240\nboundary1w=512\n");
    EXPECT_EQ(map->boundaryAt(300, 300), 1);
    EXPECT_EQ(map->boundaryAt(255, 239), 0);
    EXPECT_EQ(map->boundaryAt(256, 100), -1);  // no boundary there
    EXPECT_EQ(map->currentBoundaryIndex(), 0);
}

TEST_F(MapTest, AreaIsFreeUnlessACellUnderItIncludingItsEdgesIsSolid) {
    // A floor on row 13 (y 208..223) and one solid cell at column 10, row 5 (x 160..175, y 80..95).
    MapText text(16, 15);
    for (int column = 0; column < 16; ++column) text.set(column, 13, '#');
    const auto map = load(text.set(10, 5, '#'));
    EXPECT_TRUE(map->isAreaFree(makeRect(8, 185, 15, 22)));    // bottom edge y 207: on the floor, not in it
    EXPECT_FALSE(map->isAreaFree(makeRect(8, 186, 15, 22)));   // bottom edge y 208: one row into it
    EXPECT_TRUE(map->isAreaFree(makeRect(100, 60, 59, 40)));   // right edge x 159 stops short of the cell
    EXPECT_FALSE(map->isAreaFree(makeRect(100, 60, 60, 40)));  // right edge x 160 touches it
    EXPECT_FALSE(map->isAreaFree(makeRect(130, 70, 60, 40)));  // wider than a tile: the cell lies inside
    EXPECT_TRUE(map->isAreaFree(makeRect(20, 20, 0, 0)));      // a point in the air
}

TEST_F(MapTest, ScrollStartPositionsAreRelativeToTheCurrentBoundary) {
    const auto map = load(MapText(16, 30), "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\n"
                                           "boundary0y=240\nboundary0w=256\n");
    EXPECT_TRUE(map->atScrollStartTop(240));
    EXPECT_FALSE(map->atScrollStartTop(241));
    EXPECT_TRUE(map->atScrollStartBottom(480));
    EXPECT_FALSE(map->atScrollStartBottom(479));
    map->setScrollStartPositions(8, 200);
    EXPECT_TRUE(map->atScrollStartTop(248));
    EXPECT_FALSE(map->atScrollStartTop(249));
    EXPECT_TRUE(map->atScrollStartBottom(440));
    EXPECT_FALSE(map->atScrollStartBottom(439));
}

// ---------------------------------------------------------------- drawing
// The tile-by-tile path is the reference: what it draws defines the map's
// picture, and the prepared pictures must equal it.

TEST_F(MapTest, DrawsOneScreenWhenTheViewIsAligned) {
    MapText text(32, 30);
    text.set(0, 0, 'H').set(15, 14, '#');
    const auto map = load(text, std::string(kOneScreenLevel) + "boundary0w=512\n");
    Camera camera;
    map->drawTileByTile(camera);
    ASSERT_EQ(blitCount(), 240);
    const auto& first = m_video.calls().front();
    EXPECT_EQ(first.source, m_video.surfaceFor("tiles.bmp"));
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.y, 0);
    ASSERT_TRUE(first.hasSourceRect);
    EXPECT_EQ(first.sourceRect.x, 0);
    EXPECT_EQ(first.sourceRect.y, 64);
    EXPECT_EQ(first.sourceRect.w, 16);
    EXPECT_EQ(first.sourceRect.h, 16);
    const auto& last = m_video.calls().back();
    EXPECT_EQ(last.x, 240);
    EXPECT_EQ(last.y, 224);
    EXPECT_EQ(last.sourceRect.y, 16);
}

TEST_F(MapTest, DrawsTheRightNeighbourWhenTheViewIsBetweenColumns) {
    MapText text(32, 30);
    text.set(16, 0, 'H');
    const auto map = load(text);
    Camera camera;
    camera.move(100, 0);
    map->drawTileByTile(camera);
    ASSERT_EQ(blitCount(), 480);
    EXPECT_EQ(m_video.calls()[0].x, -100);
    EXPECT_EQ(m_video.calls()[240].x, 156);
    EXPECT_EQ(m_video.calls()[240].y, 0);
    EXPECT_EQ(m_video.calls()[240].sourceRect.y, 64);
}

TEST_F(MapTest, DrawsTheScreenBelowWhenTheViewIsBetweenRows) {
    MapText text(32, 30);
    text.set(16, 15, 'H');
    const auto map = load(text);
    Camera camera;
    camera.move(256, 100);
    map->drawTileByTile(camera);
    ASSERT_EQ(blitCount(), 480);
    EXPECT_EQ(m_video.calls()[0].x, 0);
    EXPECT_EQ(m_video.calls()[0].y, -100);
    EXPECT_EQ(m_video.calls()[240].x, 0);
    EXPECT_EQ(m_video.calls()[240].y, 140);
    EXPECT_EQ(m_video.calls()[240].sourceRect.y, 64);
}

TEST_F(MapTest, NeverDrawsTheScreenBelowWhenTheViewIsBetweenColumns) {
    MapText text(32, 30);
    const auto map = load(text);
    Camera camera;
    camera.move(100, 100);
    map->drawTileByTile(camera);
    ASSERT_EQ(blitCount(), 480);
    EXPECT_EQ(m_video.calls()[240].x, 156);
    EXPECT_EQ(m_video.calls()[240].y, -100);
}

TEST_F(MapTest, DrawsNothingForAbsentScreensOrScreensOutsideTheMap) {
    MapText text(32, 30);
    text.absentScreen(1, 0);
    const auto map = load(text);
    Camera camera;
    camera.move(100, 0);  // screen 0 and the absent screen 1
    map->drawTileByTile(camera);
    EXPECT_EQ(blitCount(), 240);
    m_video.clearCalls();
    camera.move(156 + 256, 240);  // x 512: right of the map, would wrap to the next row
    map->drawTileByTile(camera);
    EXPECT_EQ(blitCount(), 0);
    m_video.clearCalls();
    camera.move(-1000, -1000);  // x -488, y -760
    map->drawTileByTile(camera);
    EXPECT_EQ(blitCount(), 0);
}

TEST_F(MapTest, DrawsNoRightNeighbourPastTheLastColumn) {
    const auto map = load(MapText(32, 30));
    Camera camera;
    camera.move(300, 0);  // the row formula alone would draw screen (0, 1) as the neighbour
    map->drawTileByTile(camera);
    ASSERT_EQ(blitCount(), 240);
    EXPECT_EQ(m_video.calls()[0].x, -44);
    EXPECT_EQ(m_video.calls()[0].y, 0);
}

TEST_F(MapTest, DrawsTheRightPartOfAViewLeftOfTheMap) {
    const auto map = load(MapText(16, 15));
    Camera camera;
    camera.move(-10, 0);
    map->drawTileByTile(camera);
    ASSERT_EQ(blitCount(), 240);
    EXPECT_EQ(m_video.calls()[0].x, 10);
}

TEST_F(MapTest, SkipsCellsWhoseTileNumberNamesNoImage) {
    MapText text(16, 15);
    text.set(1, 0, 'x');
    const auto map = load(text);
    Camera camera;
    map->drawTileByTile(camera);
    EXPECT_EQ(blitCount(), 239);
    m_video.clearCalls();

    std::vector<uint8_t> bytes = header(16, 15, 7);  // a tile byte 0 after a chunk's first cell
    bytes.insert(bytes.end(), {1, 0, 0, 1});
    for (int i = 2; i < 16; ++i) bytes.insert(bytes.end(), {1, 0});
    for (int row = 1; row < 15; ++row) appendChunk(bytes, 1, 0);
    const auto blank = loadBinary(bytes);
    blank->drawTileByTile(camera);
    EXPECT_EQ(blitCount(), 239);
    EXPECT_EQ(blank->tileAt(16, 0).tile, -1);
    EXPECT_TRUE(blank->tileAt(16, 0).solid);
}

// ---------------------------------------------------------------- prepared screens

TEST_F(MapTest, DrawsEachRowOfAVisibleScreenWithOneBlitOfItsPreparedPicture) {
    MapText text(32, 30);
    text.absentScreen(1, 1);
    text.set(3, 2, '#');  // screen 0, row 2 differs from every other row
    const auto map = load(text);
    for (int32_t row = 0; row < Map::kScreenTilesY; ++row) {
        for (int32_t index = 0; index < 3; ++index) EXPECT_NE(map->preparedRow(index, row), nullptr) << index;
        EXPECT_EQ(map->preparedRow(3, row), nullptr) << "absent screens have no pictures";
    }
    m_video.clearCalls();

    Camera camera;
    camera.move(100, 0);
    map->draw(camera);
    ASSERT_EQ(blitCount(), 2 * Map::kScreenTilesY);
    for (int32_t row = 0; row < Map::kScreenTilesY; ++row) {
        const auto& left = m_video.calls()[static_cast<size_t>(row)];
        EXPECT_EQ(left.source, map->preparedRow(0, row));
        EXPECT_FALSE(left.hasSourceRect) << "the whole picture";
        EXPECT_EQ(left.x, -100);
        EXPECT_EQ(left.y, row * 16);
        const auto& right = m_video.calls()[static_cast<size_t>(Map::kScreenTilesY + row)];
        EXPECT_EQ(right.source, map->preparedRow(1, row));
        EXPECT_EQ(right.x, 156);
    }

    m_video.clearCalls();
    camera.move(156, 100);  // x 256, between rows 0 and 1: screen 1 and the absent one below it
    map->draw(camera);
    ASSERT_EQ(blitCount(), Map::kScreenTilesY);
    EXPECT_EQ(m_video.calls()[0].y, -100);
}

TEST_F(MapTest, RowsWithTheSameTilesShareOnePicture) {
    MapText text(32, 30);
    text.absentScreen(1, 1);
    text.set(3, 2, '#').set(19, 7, '#');  // column 3 of screen 0, row 2, and of screen 1, row 7
    text.set(9, 20, 'x').set(9, 22, 'x');  // a tile naming no image: rows 5 and 7 of screen 2
    const auto map = load(text);
    EXPECT_EQ(map->preparedRowCount(), 3) << "the plain rows, the rows with a wall, the rows with a hole";
    EXPECT_EQ(m_video.finishedSurfaces().size(), 3u) << "every picture is finished once composed";
    EXPECT_EQ(map->preparedRow(0, 2), map->preparedRow(1, 7));
    EXPECT_EQ(map->preparedRow(2, 5), map->preparedRow(2, 7));
    EXPECT_EQ(map->preparedRow(0, 0), map->preparedRow(2, 14));
    EXPECT_NE(map->preparedRow(0, 0), map->preparedRow(0, 2));
    EXPECT_NE(map->preparedRow(0, 0), map->preparedRow(2, 5));
}

// ---------------------------------------------------------------- fatal data

TEST_F(MapTest, MissingTileSheetIsFatal) {
    m_dir.write("level.map", bytesToString(MapSource::compile(MapText(16, 15).source(), "level.vmap")));
    expectFatal([&] { loadLevel("[Pendix]\ntileSheet=nothing.bmp\ntileMap=level.map\nboundaries=1\n"); },
                "m_pTileSetBitmap != 0", {"Pendix", "nothing.bmp"});
}

TEST_F(MapTest, MissingTileMapIsFatalAfterThePrintedLine) {
    testing::internal::CaptureStdout();
    expectFatal([&] { loadLevel("[Pendix]\ntileSheet=tiles.bmp\nboundaries=1\n"); }, "map.ok()",
                {"Pendix", "'empty'", "cannot be opened"});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Map::load: mapFilename: empty\n");
}

TEST_F(MapTest, ATileMapThatIsNotARegularFileOrTooLongIsFatalNamingIt) {
    // A FIFO would block the read for ever; a longer file than the largest
    // well-formed map is refused instead of read.
    ASSERT_EQ(::mkfifo("pipe.map", 0600), 0);
    testing::internal::CaptureStdout();
    expectFatal([&] { loadLevel("[Pendix]\ntileSheet=tiles.bmp\ntileMap=pipe.map\nboundaries=1\n"); }, "map.ok()",
                {"'pipe.map'", "is not a regular file (a FIFO)"});
    std::vector<uint8_t> bytes = MapSource::compile(MapText(16, 15).source(), "level.vmap");
    bytes.resize(TileMapFile::kMaxBytes, 0);  // trailing bytes up to the limit are read and ignored
    EXPECT_NO_THROW(loadBinary(bytes));
    bytes.push_back(0);
    expectFatal([&] { loadBinary(bytes); }, "map.ok()",
                {"'level.map'", "is " + std::to_string(TileMapFile::kMaxBytes + 1) + " bytes, more than the " +
                                    std::to_string(TileMapFile::kMaxBytes) + " bytes a tile map may have"});
    testing::internal::GetCapturedStdout();
}

TEST_F(MapTest, TruncatedMapIsFatalWithTheByteOffset) {
    std::vector<uint8_t> bytes = header(16, 15, 7);
    for (int row = 0; row < 14; ++row) appendChunk(bytes, 1, 0);
    bytes.resize(bytes.size() + 5, 1);
    expectFatal([&] { loadBinary(bytes); }, "tileMapWellFormed",
                {"level.map", "ends at byte offset 456", "row 14"});
    expectFatal([&] { loadBinary({16, 15}); }, "tileMapWellFormed", {"level.map", "byte offset 2", "header"});
    expectFatal([&] { loadBinary(header(16, 15, 7)); }, "tileMapWellFormed", {"ends at byte offset 3"});
}

TEST_F(MapTest, DimensionsThatDoNotMakeWholeScreensAreFatal) {
    expectFatal([&] { loadBinary(header(0, 15, 7)); }, "tileMapWellFormed", {"level.map", "width 0"});
    expectFatal([&] { loadBinary(header(20, 15, 7)); }, "tileMapWellFormed", {"width 20", "multiple of 16"});
    expectFatal([&] { loadBinary(header(16, 0, 7)); }, "tileMapWellFormed", {"height 0"});
    expectFatal([&] { loadBinary(header(16, 16, 7)); }, "tileMapWellFormed", {"height 16", "multiple of 15"});
}

TEST_F(MapTest, TileCountWithoutImagesIsFatal) {
    for (const uint8_t count : {0, 1}) {
        std::vector<uint8_t> bytes = header(16, 15, count);
        for (int row = 0; row < 15; ++row) appendChunk(bytes, 1, 0);
        expectFatal([&] { loadBinary(bytes); }, "tileMapWellFormed",
                    {"level.map", "tile count byte " + std::to_string(count)});
    }
}

TEST_F(MapTest, PartlyAbsentScreenIsFatal) {
    std::vector<uint8_t> bytes = header(16, 15, 7);
    appendChunk(bytes, 1, 0);
    for (int row = 1; row < 15; ++row) appendChunk(bytes, row == 7 ? 0 : 1, 0);
    expectFatal([&] { loadBinary(bytes); }, "tileMapWellFormed",
                {"level.map", "screen (0, 0) is partly absent", "byte offset 227"});

    std::vector<uint8_t> late = header(16, 15, 7);
    appendChunk(late, 0, 0);
    for (int row = 1; row < 15; ++row) appendChunk(late, 1, 0);
    expectFatal([&] { loadBinary(late); }, "tileMapWellFormed", {"screen (0, 0) is partly absent"});
}

TEST_F(MapTest, BoundaryCountOutOfRangeIsFatal) {
    m_dir.write("level.map", bytesToString(MapSource::compile(MapText(16, 15).source(), "level.vmap")));
    const std::string start = "[Pendix]\ntileSheet=tiles.bmp\ntileMap=level.map\n";
    expectFatal([&] { loadLevel(start); }, "m_nBoundaries >= 1", {"Pendix", "\"boundaries\" is 0"});
    expectFatal([&] { loadLevel(start + "boundaries=-3\n"); }, "m_nBoundaries >= 1", {"\"boundaries\" is -3"});
    expectFatal([&] { loadLevel(start + "boundaries=1000000000\n"); }, "m_nBoundaries <= kMaxBoundaries",
                {"Pendix", "1000000000"});
}

}  // namespace
