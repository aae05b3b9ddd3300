// Draws maps with the real engine, headless, in both ways: every row of a
// visible screen as one blit of its prepared picture (Map::draw) and tile by
// tile from the sheet (Map::drawTileByTile), each time over the same picture
// beneath, and compares the screens byte for byte. Transparent tile pixels
// and cells that name no image show what was beneath, so a prepared picture
// that covered them (or left holes elsewhere) would differ.

#include "platform/game_engine.h"
#include "platform/video_service.h"
#include "resources/ini_dictionary.h"
#include "support/temp_dir.h"
#include "world/camera.h"
#include "world/map.h"
#include "world/map_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";

GameEngine::Settings headless() {
    GameEngine::Settings settings;
    settings.headless = true;
    return settings;
}

// A different colour at every pixel, none of them a tile's.
void paintBeneath(SDL_Surface* screen) {
    for (int y = 0; y < screen->h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) + y * screen->pitch);
        for (int x = 0; x < screen->w; ++x) {
            row[x] = SDL_MapRGB(screen->format, static_cast<Uint8>(x), static_cast<Uint8>(y),
                                static_cast<Uint8>(x * 7 + y * 3));
        }
    }
}

std::vector<Uint8> snapshot(const SDL_Surface* screen) {
    const Uint8* pixels = static_cast<const Uint8*>(screen->pixels);
    return std::vector<Uint8>(pixels, pixels + static_cast<size_t>(screen->pitch) * screen->h);
}

class PreparedRowsTest : public ::testing::Test {
protected:
    PreparedRowsTest() : m_previous(getVideoService()) { setVideoService(&m_engine); }
    ~PreparedRowsTest() override { setVideoService(m_previous); }

    // Both ways of drawing the map, at the view (x, y), give the same screen.
    ::testing::AssertionResult drawsAlike(Map& map, int x, int y) {
        Camera camera;
        camera.move(x, y);
        SDL_Surface* screen = m_engine.screen();
        paintBeneath(screen);
        map.drawTileByTile(camera);
        const std::vector<Uint8> byTiles = snapshot(screen);
        paintBeneath(screen);
        map.draw(camera);
        const std::vector<Uint8> prepared = snapshot(screen);
        if (byTiles == prepared) return ::testing::AssertionSuccess();
        size_t first = 0;
        while (byTiles[first] == prepared[first]) ++first;
        const int pitch = screen->pitch;
        return ::testing::AssertionFailure() << "view (" << x << ", " << y << "): the pictures differ first at pixel ("
                                             << first % pitch / 4 << ", " << first / pitch << ")";
    }

    GameEngine m_engine{headless()};

private:
    VideoService* m_previous;
};

// Writes a 24-bit tile sheet of six tiles: tile k is striped in two colours
// of its own, tile 2 holds a magenta and a near-key pixel (both drawn), and
// tile 3 has a hole of the key colour.
void writeSheet(const std::string& fileName) {
    SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 96, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(sheet, nullptr);
    for (int y = 0; y < 96; ++y) {
        const int k = y / 16;
        SDL_Rect row{0, static_cast<Sint16>(y), 16, 1};
        SDL_FillRect(sheet, &row, SDL_MapRGB(sheet->format, static_cast<Uint8>(40 * k), static_cast<Uint8>(y * 2),
                                            static_cast<Uint8>(y % 2 == 0 ? 90 : 160)));
    }
    const auto dot = [sheet](int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
        SDL_Rect rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
        SDL_FillRect(sheet, &rect, SDL_MapRGB(sheet->format, r, g, b));
    };
    dot(3, 2 * 16 + 3, 1, 1, 255, 0, 255);
    dot(5, 2 * 16 + 5, 1, 1, 255, 129, 255);
    dot(4, 3 * 16 + 2, 6, 9, kColourKeyRed, kColourKeyGreen, kColourKeyBlue);
    ASSERT_EQ(SDL_SaveBMP(sheet, fileName.c_str()), 0);
    SDL_FreeSurface(sheet);
}

}  // namespace

TEST_F(PreparedRowsTest, MatchesTheTilesOverTransparentHolesAndCellsWithoutAnImage) {
    TempDir dir;
    dir.enter();
    writeSheet("tiles.bmp");
    // Two screens across, two down, the bottom right one absent; '.' and
    // 'o' have holes or stripes, 'x' names no image (a 6-tile sheet).
    std::string source = "tiles 6\nlegend\n. 0 open\n# 1 solid\nm 2 open\no 3 open\nx 9 solid\nmap\n";
    const std::string rows[4] = {"#.mo#.mo#xmo#.mo", "o.o.o.o.x.o.o.o.", "mmmmoooo####....", "xxxxxxxxxxxxxxxx"};
    for (int row = 0; row < 30; ++row) {
        const std::string left = rows[row % 4];
        const std::string right = row < 15 ? rows[(row + 1) % 4] : std::string(16, '~');
        source += left + right + "\n";
    }
    const std::vector<uint8_t> bytes = MapSource::compile(source, "level.vmap");
    dir.write("level.map", std::string(bytes.begin(), bytes.end()));
    Map map("Test", IniDictionary::fromText("[Test]\ntileSheet=tiles.bmp\ntileMap=level.map\nboundaries=1\n"
                                            "boundary0w=512\n"));
    for (int32_t row = 0; row < Map::kScreenTilesY; ++row) {
        for (int32_t index = 0; index < 3; ++index) ASSERT_NE(map.preparedRow(index, row), nullptr);
        EXPECT_EQ(map.preparedRow(3, row), nullptr);
    }

    for (const auto& view : std::vector<std::pair<int, int>>{
             {0, 0}, {256, 0}, {0, 240}, {100, 0}, {0, 100}, {256, 100}, {100, 100}, {-30, 0}, {300, 0}, {0, -50},
             {180, 240}, {-1000, -1000}}) {
        EXPECT_TRUE(drawsAlike(map, view.first, view.second));
    }
}

TEST_F(PreparedRowsTest, EverySampleLevelDrawsTheSameBothWays) {
    const IniDictionary stageSelect(kGameDir + "/stageselect.ini");
    const int levels = stageSelect.getInt("amount", "Levels", 0);
    ASSERT_GT(levels, 0);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(kGameDir);
    for (int i = 0; i < levels; ++i) {
        const std::string name = stageSelect.getString(("level" + std::to_string(i)).c_str(), "Levels", "empty");
        Map map(name, IniDictionary("levels.ini"));
        int prepared = 0;
        for (int32_t index = 0; index < map.screenCount(); ++index) {
            if (!map.isScreenPresent(index)) continue;
            prepared += map.preparedRow(index, 0) != nullptr ? 1 : 0;
            const int x = index % map.screensX() * Map::kScreenWidth;
            const int y = index / map.screensX() * Map::kScreenHeight;
            // The screen alone, scrolled towards its right neighbour, and
            // half-way into the screen below as in a vertical transition.
            EXPECT_TRUE(drawsAlike(map, x, y)) << name << ", screen " << index;
            EXPECT_TRUE(drawsAlike(map, x + 77, y)) << name << ", screen " << index;
            EXPECT_TRUE(drawsAlike(map, x, y + 120)) << name << ", screen " << index;
        }
        EXPECT_GT(prepared, 0) << name << ": no screen was prepared, so nothing was compared";
    }
    std::filesystem::current_path(previous);
}
