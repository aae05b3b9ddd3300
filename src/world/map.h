#pragma once

#include "platform/direction.h"
#include "platform/surface_handle.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_schema.h"
#include "world/camera.h"
#include "world/fixed.h"
#include "world/ladder_probe.h"
#include "world/tile.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The tile world of one level: 16x16 tiles from one tile sheet, cut into
// screens of 16x15 tiles, with boundaries (one-screen-high bands the camera
// moves in) and the player's teleport arrival values. Constructing a Map
// loads it completely and composes the pictures its rows are drawn with; a
// tile sheet or tile map that cannot be loaded, or a malformed tile map, is a
// fatal data error (FatalDataError).
class Map {
public:
    static constexpr int32_t kTileSize = 16;        // pixels
    static constexpr int32_t kScreenTilesX = 16;    // tiles across a screen
    static constexpr int32_t kScreenTilesY = 15;    // tiles down a screen
    static constexpr int32_t kScreenWidth = 256;    // pixels
    static constexpr int32_t kScreenHeight = 240;   // pixels
    static constexpr int32_t kLadderTile = 4;

    // The keys a level's own section of "levels.ini" holds (section "*").
    static const IniSchema& levelKeys();

    // Reads the level's section `levelName` of the "levels.ini" dictionary.
    Map(const std::string& levelName, const IniDictionary& levels);
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // Draws the screen under the view's top-left corner and at most one
    // neighbour, each row of tiles with one blit of its prepared picture
    // where it has one.
    void draw(const Camera& camera);
    // Draws exactly what draw does, tile by tile from the tile sheet, without
    // the prepared pictures: the reference they are checked against.
    void drawTileByTile(const Camera& camera);
    // The prepared picture of row `row` (0..14) of screen `index`: its 16
    // tiles, shared by every row of the level with the same tiles. Null when
    // it has none (absent screen, beyond the budget, or not preparable
    // exactly on this screen format).
    SDL_Surface* preparedRow(int32_t index, int32_t row) const;
    // The number of distinct row pictures the level prepared.
    int32_t preparedRowCount() const { return static_cast<int32_t>(m_preparedRows.size()); }
    // At most this many distinct rows of a level are prepared: 16 KB each on
    // a 32-bit screen, 2 MB in all. Further rows are drawn tile by tile.
    static constexpr int32_t kMaxPreparedRows = 128;
    // The cell at a world pixel, with the current boundary's band rule applied.
    Tile tileAt(int32_t x, int32_t y) const;
    // Free pixels (0..16) beside the rectangle towards Left or Right.
    int32_t horizontalClearance(SDL_Rect rect, Direction direction) const;
    // Free pixels (up to 16) above (Up) or below (Down) the rectangle.
    int32_t verticalClearance(SDL_Rect rect, Direction direction) const;
    LadderProbe probeLadders(int32_t x, int32_t y, int32_t y2, bool flag) const;
    // True when no screen exists below the current boundary at column x.
    bool isScreenBelowMissing(int32_t x, int32_t y) const;
    bool atScrollStartTop(int32_t y) const;
    bool atScrollStartBottom(int32_t y) const;
    // Makes the first boundary that contains the point current; none: unchanged.
    void selectBoundary(int32_t x, int32_t y);
    // The index of the first boundary that contains the point; -1 for none.
    int32_t boundaryAt(int32_t x, int32_t y) const;
    // True when no cell under the rectangle (edges included) is solid, by
    // tileAt's rule for the current boundary.
    bool isAreaFree(const SDL_Rect& rect) const;
    SDL_Rect currentBoundary() const;
    int32_t currentBoundaryIndex() const { return m_nCurrentBoundary; }
    void setScrollStartPositions(int32_t top, int32_t bottom);

    Fixed teleportStartX() const;
    Fixed teleportStartY() const;
    Fixed teleportStartYSpeed() const { return m_teleportStartYSpeed; }
    Fixed teleportStopY() const;

    int32_t tileImageCount() const { return m_nTileImages; }
    int32_t screenCount() const { return m_nScreens; }
    int32_t screensX() const { return m_nScreensX; }
    int32_t screensY() const { return m_nScreensY; }
    int32_t boundaryCount() const { return m_nBoundaries; }
    SDL_Rect boundary(int32_t index) const;
    bool isScreenPresent(int32_t index) const;

private:
    // Reads and checks the binary tile map; builds the tile rectangles and the screens.
    void loadTileMap(const std::string& levelName, const std::string& fileName);
    void loadBoundaries(const std::string& levelName, const IniDictionary& levels);
    void drawVisibleScreens(const Camera& camera, bool usePrepared);
    // Composes each distinct row of 16 tiles, within the budget, into a
    // picture of its own, and notes which picture each screen row shows.
    void prepareRows();
    void drawScreen(const Camera& camera, int32_t screenX, int32_t screenY, bool usePrepared);
    // Blits one row of 16 tile records onto `target` (the screen when null),
    // with the row's left end at (x, y).
    void drawRowTiles(const Tile* row, SDL_Surface* target, int32_t x, int32_t y);
    // A new picture of one row of tiles; null when it cannot be composed
    // exactly like the tiles draw.
    SurfaceHandle composeRow(const Tile* cells);
    // The 240 records of a screen; null when absent or outside the map.
    const Tile* screenAt(int32_t screenX, int32_t screenY) const;

    int32_t m_nBoundaries = 0;
    int32_t m_nCurrentBoundary = 0;
    int32_t m_nTileImages = 0;
    int32_t m_nScreens = 0;
    int32_t m_nScreensX = 0;
    int32_t m_nScreensY = 0;
    int32_t m_nStartPosTop = 0;       // pixels below the current boundary's top
    int32_t m_nStartPosBottom = 240;  // pixels below the current boundary's top
    int32_t m_nTeleportStopPosY = 0;  // world y
    Fixed m_teleportStartYSpeed;
    std::vector<SDL_Rect> m_pBoundaries;
    std::vector<SDL_Rect> m_pTileRects;
    SurfaceHandle m_pTileSetBitmap;  // the tile sheet
    std::vector<std::unique_ptr<Tile[]>> m_ppScreens;  // null = absent screen; else 240 tiles
    // The pictures of the level's distinct rows of tiles, composed once at
    // load, and for each screen row (screen index x 15 + row) the index of
    // its picture, or -1: a screen is drawn with 15 blits instead of 240.
    std::vector<SurfaceHandle> m_preparedRows;
    std::vector<int32_t> m_rowPictures;
};
