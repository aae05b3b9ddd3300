// Fuzzes the binary tile map: TileMapFile::decode on any bytes (a file it
// accepts must re-encode to bytes that decode to the same map), then a Map
// loaded from the same bytes as a level's tile map. The Map must throw
// FatalDataError exactly when decode rejects the bytes, and a loaded Map
// must answer every query, inside and outside the world, without faults.

#include "fuzz/fuzz_video_service.h"
#include "fuzz/fuzz_workspace.h"
#include "platform/fatal_data_error.h"
#include "resources/ini_dictionary.h"
#include "world/camera.h"
#include "world/geometry.h"
#include "world/map.h"
#include "world/tile_map_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "tile_map: %s\n", what);
    std::abort();
}

const char kLevels[] =
    "[Fuzz]\n"
    "tileSheet=tiles.bmp\n"
    "tileMap=fuzz.map\n"
    "boundaries=2\n"
    "boundary0x=0\nboundary0y=0\nboundary0w=256\n"
    "boundary1x=0\nboundary1y=240\nboundary1w=512\n"
    "teleportStartYSpeedFraction=192\n"
    "teleportStopPosY=196\n";

void checkRoundTrip(const std::vector<uint8_t>& bytes, const TileMapFile& file) {
    const std::vector<uint8_t> encoded = file.encode();
    check(encoded.size() + file.trailingByteCount() == bytes.size(), "encode changed the file's length");
    TileMapFile again;
    std::string problem;
    check(TileMapFile::decode(encoded, again, problem), "a re-encoded map does not decode");
    check(again.encode() == encoded, "encode(decode(encode(x))) differs from encode(x)");
    check(again.width() == file.width() && again.height() == file.height() &&
              again.tileByteCount() == file.tileByteCount(),
          "the header changed across a round trip");
    for (int32_t sy = -1; sy <= file.screensY(); ++sy) {
        for (int32_t sx = -1; sx <= file.screensX(); ++sx) {
            check(again.isScreenPresent(sx, sy) == file.isScreenPresent(sx, sy), "screen presence changed");
        }
    }
    const TileMapFile::Cell outside = file.cell(-1, file.height());
    check(outside.tileByte == 0 && outside.solidByte == 0, "a cell outside the map is not blank");
}

void exerciseMap(Map& map) {
    Camera camera;
    const int32_t worldWidth = map.screensX() * Map::kScreenWidth;
    const int32_t worldHeight = map.screensY() * Map::kScreenHeight;
    for (int32_t b = -1; b <= map.boundaryCount(); ++b) {
        const SDL_Rect band = map.boundary(b);
        map.selectBoundary(band.x, band.y);
        camera.setBounds(map.currentBoundary());
        for (int32_t x = -300; x <= worldWidth + 300; x += 97) {
            camera.follow(makeRect(x, band.y, 16, 16));
            map.draw(camera);
            camera.move(0, 7);
            map.draw(camera);
        }
    }
    // A coarse grid (about 40 x 40 points) over the world and a margin around it.
    const int32_t stepX = worldWidth / 40 > 29 ? worldWidth / 40 + 1 : 29;
    const int32_t stepY = worldHeight / 40 > 23 ? worldHeight / 40 + 1 : 23;
    for (int32_t y = -40; y <= worldHeight + 40; y += stepY) {
        for (int32_t x = -40; x <= worldWidth + 40; x += stepX) {
            const Tile tile = map.tileAt(x, y);
            check(tile.x <= (x < 0 ? 0 : x) && tile.y <= (y < 0 ? 0 : y), "tileAt gave a cell past the point");
            const SDL_Rect box = makeRect(x, y, 16, 24);
            // Left of the map's edge the left clearance is the (negative) distance back to it.
            map.horizontalClearance(box, Direction::Left);
            map.horizontalClearance(box, Direction::Right);
            for (Direction d : {Direction::Up, Direction::Down}) {
                const int32_t clearance = map.verticalClearance(box, d);
                check(clearance >= 0 && clearance <= 16, "vertical clearance outside 0..16");
            }
            map.probeLadders(x, y, y + 5, (x & 1) != 0);
            map.isScreenBelowMissing(x, y);
            map.atScrollStartTop(y);
            map.atScrollStartBottom(y);
        }
    }
    for (int32_t extreme : {INT32_MIN, INT32_MIN + 1, -1, INT32_MAX - 1, INT32_MAX}) {
        map.tileAt(extreme, extreme);
        map.tileAt(0, extreme);
        map.isScreenBelowMissing(extreme, extreme);
        map.probeLadders(extreme, extreme, extreme, true);
        map.probeLadders(extreme, extreme, extreme, false);
        map.selectBoundary(extreme, extreme);
    }
    for (int32_t index = -1; index <= map.screenCount(); ++index) map.isScreenPresent(index);
    map.teleportStartX();
    map.teleportStartY();
    map.teleportStopY();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzWorkspace::instance().write("levels.ini", kLevels);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    TileMapFile file;
    std::string problem;
    const bool wellFormed = TileMapFile::decode(bytes, file, problem);
    if (wellFormed) {
        checkRoundTrip(bytes, file);
    } else {
        check(!problem.empty(), "a rejected map comes without a problem description");
    }

    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    workspace.write("fuzz.map", std::string(bytes.begin(), bytes.end()));
    FuzzVideoService video;
    workspace.enter();
    {
        const IniDictionary levels("levels.ini");
        try {
            Map map("Fuzz", levels);
            check(wellFormed, "Map accepted a map decode rejects");
            check(map.screensX() == file.screensX() && map.screensY() == file.screensY() &&
                      map.tileImageCount() == file.tileByteCount() - 1,
                  "Map and decode disagree on the map's size");
            exerciseMap(map);
        } catch (const FatalDataError&) {
            check(!wellFormed, "Map rejected a map decode accepts");
        }
    }
    workspace.leave();
    video.expectAllFreed();
    return 0;
}
