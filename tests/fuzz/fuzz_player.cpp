// Fuzzes the player file: a Voltaro built from a fuzzed player file over a
// fixed small map (two by two screens: floors, walls, a ladder, a gap), then
// run for up to 600 frames of fuzzer-chosen keyboard input, with the screen
// transitions and restarts handled the way a level handles them.
// Input: the player file, a separator line, keyboard control bytes.

#include "fuzz/fuzz_keyboard.h"
#include "fuzz/fuzz_parts.h"
#include "fuzz/fuzz_video_service.h"
#include "fuzz/fuzz_workspace.h"
#include "platform/fatal_data_error.h"
#include "player/player_host.h"
#include "player/voltaro.h"
#include "resources/ini_dictionary.h"
#include "world/camera.h"
#include "world/map.h"
#include "world/tile_map_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 600;
constexpr int kScrollFrames = 60;     // updates of a screen transition
constexpr int kScrollSpeed = 4;       // camera pixels per transition update
constexpr int kHurtEveryFrames = 97;  // an enemy contact now and then

const char kLevels[] =
    "[Fuzz]\n"
    "tileSheet=tiles.bmp\n"
    "tileMap=fuzz.map\n"
    "boundaries=2\n"
    "boundary0x=0\nboundary0y=0\nboundary0w=512\n"
    "boundary1x=0\nboundary1y=240\nboundary1w=512\n"
    "teleportStartYSpeedFraction=192\n"
    "teleportStopPosY=196\n";

const char kFont[] = "[Properties]\nsheet=font.bmp\ncharacterHeight=8\ncharacterWidth=8\n[Characters]\n0=0\n1=8\n";

// 32 x 30 cells: walls left and right, floors at rows 13 and 28, a gap in
// the upper floor, a platform and a ladder joining the two bands.
std::string fixedMap() {
    const int32_t width = 32;
    const int32_t height = 30;
    std::vector<TileMapFile::Cell> cells(static_cast<size_t>(width * height), TileMapFile::Cell{1, 0});
    const auto set = [&](int32_t column, int32_t row, uint8_t tile, uint8_t solid) {
        cells[static_cast<size_t>(row * width + column)] = TileMapFile::Cell{static_cast<uint8_t>(tile + 1), solid};
    };
    for (int32_t row = 0; row < height; ++row) {
        set(0, row, 1, 1);
        set(width - 1, row, 1, 1);
    }
    for (int32_t column = 0; column < width; ++column) {
        if (column < 20 || column > 22) set(column, 13, 1, 1);
        set(column, 28, 1, 1);
        set(column, 29, 1, 1);
    }
    for (int32_t column = 5; column < 9; ++column) set(column, 10, 2, 1);
    for (int32_t row = 8; row < 28; ++row) set(12, row, Map::kLadderTile, 0);
    const TileMapFile file(width, height, 6, cells, std::vector<bool>(4, true));
    const std::vector<uint8_t> bytes = file.encode();
    return std::string(bytes.begin(), bytes.end());
}

// Stands in for the level: remembers the player's requests.
class FuzzPlayerHost : public PlayerHost {
public:
    void restart() override { restarted = true; }
    void startScroll(Direction direction) override {
        scroll = direction;
        scrollFrame = 0;
    }

    bool restarted = false;
    Direction scroll = Direction::None;
    int scrollFrame = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    workspace.write("levels.ini", kLevels);
    workspace.write("fuzz.map", fixedMap());
    workspace.write("font.ini", kFont);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitFuzzParts(data, size, 2);
    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    FuzzVideoService video;
    workspace.enter();
    {
        const IniDictionary levels("levels.ini");
        Map map("Fuzz", levels);  // fixed and valid: a FatalDataError here is a harness fault
        const IniDictionary playerFile = IniDictionary::fromText(parts[0]);
        map.setScrollStartPositions(playerFile.getInt("startPosTop", "ScrollConstants", 0),
                                    playerFile.getInt("startPosBottom", "ScrollConstants", 240));
        FuzzPlayerHost host;
        Voltaro player(playerFile, "fuzz-player", &host, &map);
        Camera camera;
        map.selectBoundary(player.getX(), player.getY());
        camera.setBounds(map.currentBoundary());
        camera.follow(*player.getBoundingBox());
        FuzzKeyboard keyboard(parts[1]);
        for (int frame = 1; frame <= kFrames; ++frame) {
            const InputState input = keyboard.nextFrame();
            if (host.scroll != Direction::None) {
                if (host.scrollFrame == kScrollFrames) {
                    map.selectBoundary(player.getX(), player.getY());
                    camera.setBounds(map.currentBoundary());
                    host.scroll = Direction::None;
                    player.endScreenScroll();
                    player.update(input, camera);
                } else {
                    player.update(input, camera);
                    camera.move(0, host.scroll == Direction::Up ? -kScrollSpeed : kScrollSpeed);
                    ++host.scrollFrame;
                }
            } else {
                player.update(input, camera);
                camera.follow(*player.getBoundingBox());
            }
            if (host.restarted) {
                host.restarted = false;
                map.selectBoundary(player.getX(), player.getY());
                camera.setBounds(map.currentBoundary());
            }
            if (frame % kHurtEveryFrames == 0) player.hurt();
            player.draw(camera);  // the map's drawing is the level harness's business
            if (player.stateName() == nullptr) std::abort();
        }
    }
    workspace.leave();
    video.expectAllFreed();
    return 0;
}
