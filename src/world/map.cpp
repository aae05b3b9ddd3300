#include "world/map.h"

#include "platform/fatal_data_error.h"
#include "platform/loaded_file_recorder.h"
#include "platform/video_service.h"
#include "world/geometry.h"
#include "world/tile_map_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

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

std::string mapFileContext(const std::string& levelName, const std::string& fileName) {
    return levelContext(levelName) + ", tile map '" + fileName + "'";
}

}  // namespace

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
}

void Map::loadTileMap(const std::string& levelName, const std::string& fileName) {
    LoadedFileRecorder::noteRead(fileName);
    std::ifstream map(fileName, std::ios::in | std::ios::binary);
    std::printf("Map::load: mapFilename: %s\n", fileName.c_str());
    std::fflush(stdout);  // the line comes before any fatal report
    VOLTARO_DATA_CHECK(map.fail() == false, kSource,
                       mapFileContext(levelName, fileName) + ": the file cannot be opened");

    // A well-formed file is never longer than kMaxBytes; anything after that
    // is trailing data, which the format ignores.
    std::vector<uint8_t> bytes(TileMapFile::kMaxBytes);
    map.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(map.gcount()));
    map.close();

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
    const SDL_Rect& view = camera.view();
    const int32_t screenX = view.x / kScreenWidth;
    const int32_t screenY = view.y / kScreenHeight;
    drawScreen(camera, screenX, screenY);
    if (view.x % kScreenWidth > 0) {
        drawScreen(camera, screenX + 1, screenY);
    } else if (view.y % kScreenHeight > 0) {
        drawScreen(camera, screenX, screenY + 1);
    }
}

void Map::drawScreen(const Camera& camera, int32_t screenX, int32_t screenY) {
    const Tile* records = screenAt(screenX, screenY);
    if (records == nullptr) return;  // absent or outside the map: nothing to draw there
    VideoService* video = getVideoService();
    if (video == nullptr) return;  // nowhere to draw
    for (int32_t cell = 0; cell < kScreenCells; ++cell) {
        const Tile& record = records[cell];
        // A tile number that names no image in the sheet draws nothing.
        if (record.tile < 0 || record.tile >= m_nTileImages) continue;
        SDL_Rect source = m_pTileRects[static_cast<size_t>(record.tile)];
        video->blit(m_pTileSetBitmap.get(), camera.toScreenX(record.x), camera.toScreenY(record.y), &source);
    }
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
