#include "world/map.h"

#include "platform/data_file.h"
#include "platform/fatal_data_error.h"
#include "platform/loaded_file_recorder.h"
#include "platform/video_service.h"
#include "world/geometry.h"
#include "world/tile_map_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

namespace {

const char* const kSource = "map";  // the module named in fatal data reports

constexpr int32_t kScreenCells = Map::kScreenTilesX * Map::kScreenTilesY;  // records per screen
// A level has a handful of boundaries; the cap only keeps a corrupt count
// from allocating without bound.
constexpr int32_t kMaxBoundaries = 4096;

// Where a load problem lies, for the fatal data report.
std::string levelContext(const std::string& levelName) {
    return "level [" + levelName + "] of levels.ini";
}

// True when tiles blitted from `sheet` onto `picture` keep their exact pixel
// values and the picture's key marks exactly what the sheet leaves transparent.
bool sameFormatAndKey(const SDL_Surface& sheet, const SDL_Surface& picture) {
#ifdef __EMSCRIPTEN__
    // The browser's canvases keep no colour key (transparency is made once,
    // at load): there the map is drawn tile by tile.
    static_cast<void>(sheet);
    static_cast<void>(picture);
    return false;
#else
    const SDL_PixelFormat& a = *sheet.format;
    const SDL_PixelFormat& b = *picture.format;
    return a.BitsPerPixel == b.BitsPerPixel && a.Rmask == b.Rmask && a.Gmask == b.Gmask && a.Bmask == b.Bmask &&
           a.Amask == b.Amask && a.palette == nullptr && b.palette == nullptr &&
           (sheet.flags & SDL_SRCCOLORKEY) != 0 && (picture.flags & SDL_SRCCOLORKEY) != 0 && a.colorkey == b.colorkey;
#endif
}

std::string mapFileContext(const std::string& levelName, const std::string& fileName) {
    return levelContext(levelName) + ", tile map '" + fileName + "'";
}

}  // namespace

const IniSchema& Map::levelKeys() {
    static const IniSchema keys({
        {"*", "tileSheet", "file name", "empty", "BMP image of the tiles, one column of 16x16 cells"},
        {"*", "tileMap", "file name", "empty", "the binary tile map"},
        {"*", "boundaries", "count", "0", "number of boundaries (bands the camera moves in)"},
        {"*", "boundary#x", "pixels", "0", "left edge of boundary #"},
        {"*", "boundary#y", "pixels", "0", "top edge of boundary #"},
        {"*", "boundary#w", "pixels", "0", "width of boundary #"},
        {"*", "teleportStopPosY", "pixels", "0", "where the beam stops, below boundary 0's top"},
        {"*", "teleportStartYSpeedFraction", "1/256 pixel per update", "0", "vertical speed when the beam stops"},
    });
    return keys;
}

Map::Map(const std::string& levelName, const IniDictionary& levels) {
    // Every count, the scroll start positions, the current boundary and the
    // teleport values start from their member initialisers.
    const char* sheetName = levels.getString("tileSheet", levelName, "empty");
    VideoService* video = getVideoService();
    if (video != nullptr) m_pTileSetBitmap = video->loadBitmap(sheetName);
    VOLTARO_DATA_CHECK(m_pTileSetBitmap != 0, kSource,
                       levelContext(levelName) + ": the tile sheet '" + sheetName + "' cannot be loaded");
    loadTileMap(levelName, levels.getString("tileMap", levelName, "empty"));
    loadBoundaries(levelName, levels);
    m_teleportStartYSpeed = Fixed(0, levels.getInt("teleportStartYSpeedFraction", levelName, 0));
    m_nTeleportStopPosY = Fixed::add(levels.getInt("teleportStopPosY", levelName, 0), m_pBoundaries[0].y);
    prepareRows();
}

void Map::loadTileMap(const std::string& levelName, const std::string& fileName) {
    LoadedFileRecorder::noteRead(fileName);
    std::printf("Map::load: mapFilename: %s\n", fileName.c_str());
    std::fflush(stdout);  // the line comes before any fatal report
    // No well-formed file is longer than the largest map with no trailing
    // bytes; a longer one is refused rather than read.
    const DataFile map = DataFile::read(fileName, TileMapFile::kMaxBytes, "a tile map");
    VOLTARO_DATA_CHECK(map.ok(), kSource, mapFileContext(levelName, fileName) + ": the file " + map.problem());
    const std::vector<uint8_t> bytes(map.bytes().begin(), map.bytes().end());

    TileMapFile file;
    std::string problem;
    const bool tileMapWellFormed = TileMapFile::decode(bytes, file, problem);
    VOLTARO_DATA_CHECK(tileMapWellFormed, kSource, mapFileContext(levelName, fileName) + ": " + problem);

    m_nTileImages = file.tileByteCount() - 1;
    m_pTileRects.reserve(static_cast<size_t>(m_nTileImages));
    for (int32_t k = 0; k < m_nTileImages; ++k) {
        m_pTileRects.push_back(makeRect(0, kTileSize * k, kTileSize, kTileSize));
    }

    m_nScreensX = file.screensX();
    m_nScreensY = file.screensY();
    m_nScreens = m_nScreensX * m_nScreensY;
    m_ppScreens.resize(static_cast<size_t>(m_nScreens));
    for (int32_t screenY = 0; screenY < m_nScreensY; ++screenY) {
        for (int32_t screenX = 0; screenX < m_nScreensX; ++screenX) {
            if (!file.isScreenPresent(screenX, screenY)) continue;  // absent screens stay null
            std::unique_ptr<Tile[]> records(new Tile[kScreenCells]);
            for (int32_t cell = 0; cell < kScreenCells; ++cell) {
                const int32_t column = screenX * kScreenTilesX + cell % kScreenTilesX;
                const int32_t row = screenY * kScreenTilesY + cell / kScreenTilesX;
                const TileMapFile::Cell stored = file.cell(column, row);
                records[cell] = Tile{stored.tileByte - 1, stored.solidByte != 0, column * kTileSize,
                                     row * kTileSize};
            }
            m_ppScreens[static_cast<size_t>(screenY * m_nScreensX + screenX)] = std::move(records);
        }
    }
}

void Map::loadBoundaries(const std::string& levelName, const IniDictionary& levels) {
    m_nBoundaries = levels.getInt("boundaries", levelName, 0);
    VOLTARO_DATA_CHECK(m_nBoundaries >= 1, kSource,
                       levelContext(levelName) + ": \"boundaries\" is " + std::to_string(m_nBoundaries) +
                           "; a level needs at least one boundary");
    VOLTARO_DATA_CHECK(m_nBoundaries <= kMaxBoundaries, kSource,
                       levelContext(levelName) + ": \"boundaries\" is " + std::to_string(m_nBoundaries) +
                           ", more than " + std::to_string(kMaxBoundaries));
    m_pBoundaries.reserve(static_cast<size_t>(m_nBoundaries));
    for (int32_t i = 0; i < m_nBoundaries; ++i) {
        const std::string prefix = "boundary" + std::to_string(i);
        m_pBoundaries.push_back(makeRect(levels.getInt(prefix + "x", levelName, 0),
                                         levels.getInt(prefix + "y", levelName, 0),
                                         levels.getInt(prefix + "w", levelName, 0), kScreenHeight));
    }
}

Map::~Map() = default;

void Map::draw(const Camera& camera) {
    drawVisibleScreens(camera, true);
}

void Map::drawTileByTile(const Camera& camera) {
    drawVisibleScreens(camera, false);
}

void Map::drawVisibleScreens(const Camera& camera, bool usePrepared) {
    const SDL_Rect& view = camera.view();
    const int32_t screenX = view.x / kScreenWidth;
    const int32_t screenY = view.y / kScreenHeight;
    drawScreen(camera, screenX, screenY, usePrepared);
    if (view.x % kScreenWidth > 0) {
        drawScreen(camera, screenX + 1, screenY, usePrepared);
    } else if (view.y % kScreenHeight > 0) {
        drawScreen(camera, screenX, screenY + 1, usePrepared);
    }
}

void Map::drawScreen(const Camera& camera, int32_t screenX, int32_t screenY, bool usePrepared) {
    const Tile* records = screenAt(screenX, screenY);
    if (records == nullptr) return;  // absent or outside the map: nothing to draw there
    VideoService* video = getVideoService();
    if (video == nullptr) return;  // nowhere to draw
    const int32_t index = screenY * m_nScreensX + screenX;
    const int32_t x = camera.toScreenX(screenX * kScreenWidth);
    const int32_t y = camera.toScreenY(screenY * kScreenHeight);
    for (int32_t row = 0; row < kScreenTilesY; ++row) {
        const int32_t rowY = y + row * kTileSize;
        SDL_Surface* picture = usePrepared ? preparedRow(index, row) : nullptr;
        if (picture != nullptr) {
            video->blit(picture, x, rowY, nullptr);
        } else {
            drawRowTiles(records + row * kScreenTilesX, nullptr, x, rowY);
        }
    }
}

void Map::drawRowTiles(const Tile* row, SDL_Surface* target, int32_t x, int32_t y) {
    VideoService* video = getVideoService();
    for (int32_t column = 0; column < kScreenTilesX; ++column) {
        const Tile& record = row[column];
        // A tile number that names no image in the sheet draws nothing.
        if (record.tile < 0 || record.tile >= m_nTileImages) continue;
        SDL_Rect source = m_pTileRects[static_cast<size_t>(record.tile)];
        const int32_t cellX = x + column * kTileSize;
        if (target == nullptr) {
            video->blit(m_pTileSetBitmap.get(), cellX, y, &source);
        } else {
            video->blitTo(m_pTileSetBitmap.get(), target, cellX, y, &source);
        }
    }
}

void Map::prepareRows() {
    m_rowPictures.assign(static_cast<size_t>(m_nScreens) * kScreenTilesY, -1);
    VideoService* video = getVideoService();
    if (video == nullptr) return;  // nothing to compose with
    // Rows with the same tiles look the same (every tile number that names
    // no image draws nothing alike): one picture serves them all.
    std::map<std::array<int32_t, kScreenTilesX>, int32_t> pictureOf;
    for (int32_t index = 0; index < m_nScreens; ++index) {
        const Tile* records = m_ppScreens[static_cast<size_t>(index)].get();
        if (records == nullptr) continue;  // absent: never drawn
        for (int32_t row = 0; row < kScreenTilesY; ++row) {
            const Tile* cells = records + row * kScreenTilesX;
            std::array<int32_t, kScreenTilesX> tiles;
            for (int32_t column = 0; column < kScreenTilesX; ++column) {
                const int32_t tile = cells[column].tile;
                tiles[static_cast<size_t>(column)] = tile >= 0 && tile < m_nTileImages ? tile : -1;
            }
            const auto known = pictureOf.find(tiles);
            int32_t picture = known != pictureOf.end() ? known->second : -1;
            if (picture < 0) {
                if (static_cast<int32_t>(m_preparedRows.size()) >= kMaxPreparedRows) continue;  // drawn tile by tile
                SurfaceHandle composed = composeRow(cells);
                if (composed == nullptr) return;  // cannot be composed exactly: drawn tile by tile
                picture = static_cast<int32_t>(m_preparedRows.size());
                m_preparedRows.push_back(std::move(composed));
                pictureOf.emplace(tiles, picture);
            }
            m_rowPictures[static_cast<size_t>(index * kScreenTilesY + row)] = picture;
        }
    }
}

SurfaceHandle Map::composeRow(const Tile* cells) {
    VideoService* video = getVideoService();
    SurfaceHandle picture = video->createSurface(kScreenWidth, kTileSize);
    // The picture starts fully transparent, in the key the tile sheet's
    // transparent pixels leave alone, so what is transparent on the screen
    // stays exactly what the tiles leave transparent. A sheet kept in another
    // format or key (a screen format too coarse to keep the key apart)
    // cannot be composed exactly.
    if (picture == nullptr || !sameFormatAndKey(*m_pTileSetBitmap, *picture)) return nullptr;
    drawRowTiles(cells, picture.get(), 0, 0);
    video->finishSurface(picture.get());
    return picture;
}

SDL_Surface* Map::preparedRow(int32_t index, int32_t row) const {
    if (index < 0 || index >= m_nScreens || row < 0 || row >= kScreenTilesY) return nullptr;  // no such row
    if (m_rowPictures.empty()) return nullptr;  // nothing prepared
    const int32_t picture = m_rowPictures[static_cast<size_t>(index * kScreenTilesY + row)];
    return picture >= 0 ? m_preparedRows[static_cast<size_t>(picture)].get() : nullptr;
}

const Tile* Map::screenAt(int32_t screenX, int32_t screenY) const {
    if (screenX < 0 || screenX >= m_nScreensX || screenY < 0 || screenY >= m_nScreensY) return nullptr;
    return m_ppScreens[static_cast<size_t>(screenY * m_nScreensX + screenX)].get();
}

Tile Map::tileAt(int32_t x, int32_t y) const {
    x = std::max(x, 0);
    y = std::max(y, 0);
    // Cells beyond the right or bottom edge fall outside the stored screens
    // instead of landing in the next screen row.
    const Tile* records = screenAt(x / kScreenWidth, y / kScreenHeight);
    Tile result;
    if (records != nullptr) {
        result = records[(y % kScreenHeight) / kTileSize * kScreenTilesX + (x % kScreenWidth) / kTileSize];
    } else {
        result = Tile{0, true, x - x % kTileSize, y - y % kTileSize};  // outside: a solid wall
    }
    const SDL_Rect band = currentBoundary();
    // Inclusive at both ends: the first row below the band still reports solid.
    if (y < band.y || y > band.y + kScreenHeight) result.solid = false;
    return result;
}

int32_t Map::horizontalClearance(SDL_Rect rect, Direction direction) const {
    const int32_t x = rect.x;
    const int32_t y = rect.y;
    const int32_t w = rect.w;
    const int32_t h = rect.h;
    int32_t probeX = 0;
    int32_t result = 0;
    if (direction == Direction::Right) {
        probeX = x + w + kTileSize;
        result = kTileSize - 1 - probeX % kTileSize;
    } else if (direction == Direction::Left) {
        probeX = x - kTileSize;
        if (probeX < 0) return x;  // the distance to the map's left edge
        result = probeX % kTileSize;
    }
    if (tileAt(probeX, y + h).solid) return result;
    if (tileAt(probeX, y + h / 2).solid) return result;
    if (tileAt(probeX, y).solid) return result;
    return kTileSize;
}

int32_t Map::verticalClearance(SDL_Rect rect, Direction direction) const {
    const int32_t x = rect.x;
    const int32_t y = rect.y;
    const int32_t w = rect.w;
    const int32_t h = rect.h;
    int32_t probeY = 0;
    int32_t result = 0;
    if (direction == Direction::Down) {
        probeY = y + h + kTileSize;
        result = kTileSize - 1 - probeY % kTileSize;
    } else if (direction == Direction::Up) {
        probeY = y - kTileSize;
        result = probeY % kTileSize;
    }
    // A probe above the map's top gives a remainder of the wrong sign: upwards
    // a negative distance (which would move the player down into the floor),
    // downwards more than a tile. Keep the answer within 0..16.
    result = std::clamp(result, 0, kTileSize);
    for (const int32_t column : {x + w, x}) {
        const Tile probed = tileAt(column, probeY);
        if (probed.solid) return result;
        // The top of a ladder carries the player like a floor; a ladder that
        // continues from the player's current row does not.
        if (direction == Direction::Down && probed.tile == kLadderTile && tileAt(column, y + h).tile != kLadderTile) {
            return result;
        }
    }
    return kTileSize;
}

LadderProbe Map::probeLadders(int32_t x, int32_t y, int32_t y2, bool flag) const {
    const auto isLadder = [this](int32_t px, int32_t py) { return tileAt(px, py).tile == kLadderTile; };
    LadderProbe probe;
    if (!flag) probe.flags[0] = isLadder(x, Fixed::add(y2, 12));
    probe.flags[1] = isLadder(x, Fixed::add(y, 11));
    probe.flags[2] = isLadder(x, Fixed::sub(y, 4));
    probe.flags[3] = isLadder(x, Fixed::sub(y, 12));
    if (flag) probe.flags[4] = isLadder(x, Fixed::sub(y2, 12));
    return probe;
}

bool Map::isScreenBelowMissing(int32_t x, int32_t y) const {
    const SDL_Rect band = currentBoundary();
    const int64_t belowTop = static_cast<int64_t>(y) - band.y;
    int32_t probeY = belowTop >= kScreenHeight ? y : band.y + kScreenHeight;
    // Like tileAt, a point left of or above the map looks at its first column or row.
    x = std::max(x, 0);
    probeY = std::max(probeY, 0);
    return screenAt(x / kScreenWidth, probeY / kScreenHeight) == nullptr;
}

bool Map::atScrollStartTop(int32_t y) const {
    return static_cast<int64_t>(y) - currentBoundary().y <= m_nStartPosTop;
}

bool Map::atScrollStartBottom(int32_t y) const {
    return static_cast<int64_t>(y) - currentBoundary().y >= m_nStartPosBottom;
}

void Map::selectBoundary(int32_t x, int32_t y) {
    const int32_t index = boundaryAt(x, y);
    if (index >= 0) m_nCurrentBoundary = index;
}

int32_t Map::boundaryAt(int32_t x, int32_t y) const {
    for (int32_t i = 0; i < m_nBoundaries; ++i) {
        const SDL_Rect& b = m_pBoundaries[static_cast<size_t>(i)];
        const int32_t right = b.x + static_cast<int32_t>(b.w);
        const int32_t bottom = b.y + static_cast<int32_t>(b.h);
        if (b.x <= x && x < right && b.y <= y && y < bottom) return i;  // the first match wins
    }
    return -1;
}

bool Map::isAreaFree(const SDL_Rect& rect) const {
    const int32_t right = rect.x + static_cast<int32_t>(rect.w);
    const int32_t bottom = rect.y + static_cast<int32_t>(rect.h);
    // One probe per tile the rectangle touches: every 16 pixels and at the far edges.
    for (int32_t y = rect.y;; y = std::min(y + kTileSize, bottom)) {
        for (int32_t x = rect.x;; x = std::min(x + kTileSize, right)) {
            if (tileAt(x, y).solid) return false;
            if (x == right) break;
        }
        if (y == bottom) break;
    }
    return true;
}

SDL_Rect Map::currentBoundary() const {
    return m_pBoundaries[static_cast<size_t>(m_nCurrentBoundary)];
}

void Map::setScrollStartPositions(int32_t top, int32_t bottom) {
    m_nStartPosTop = top;
    m_nStartPosBottom = bottom;
}

Fixed Map::teleportStartX() const {
    return Fixed(m_pBoundaries[0].x + kScreenWidth / 2);
}

Fixed Map::teleportStartY() const {
    return Fixed(m_pBoundaries[0].y + 4, 248);
}

Fixed Map::teleportStopY() const {
    return Fixed(m_nTeleportStopPosY);
}

SDL_Rect Map::boundary(int32_t index) const {
    if (index < 0 || index >= m_nBoundaries) return makeRect(0, 0, 0, 0);  // no such boundary
    return m_pBoundaries[static_cast<size_t>(index)];
}

bool Map::isScreenPresent(int32_t index) const {
    if (index < 0 || index >= m_nScreens) return false;  // no such screen
    return m_ppScreens[static_cast<size_t>(index)] != nullptr;
}
