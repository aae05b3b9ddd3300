// Plays the sample game in game/ headless with the recorded input logs in
// tests/e2e/replays: from the stage select into each level with each
// character, along a path through every band of the level. Checks from the
// per-frame trace that the run reaches the level, visits every boundary, and
// that the player's box never sinks into solid ground or leaves the map.

#include "e2e/trace_reader.h"
#include "resources/ini_dictionary.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"
#include "world/fixed.h"
#include "world/geometry.h"
#include "world/map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";
const std::string kReplayDir = std::string(VOLTARO_SOURCE_DIR) + "/tests/e2e/replays";

struct ReplayRun {
    std::string level;   // section in levels.ini
    std::string player;  // player file
    std::string log;     // file in tests/e2e/replays
};

void PrintTo(const ReplayRun& run, std::ostream* out) {
    *out << run.log;
}

std::string runName(const ::testing::TestParamInfo<ReplayRun>& info) {
    return info.param.level + "_" + info.param.player;
}

// The map of a level, loaded from game/ as the level loads it.
std::unique_ptr<Map> loadMap(const std::string& level) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(kGameDir);
    std::unique_ptr<Map> map = std::make_unique<Map>(level, IniDictionary("levels.ini"));
    std::filesystem::current_path(previous);
    return map;
}

// The first solid tile inside the box that lies within the band, or "" when
// there is none. Rows below the band are left out: a player falling out of
// the band's bottom (into a pit or towards the band below) passes the first
// row under it, which the map still reports as solid.
std::string solidTileInside(const Map& map, const SDL_Rect& box, const SDL_Rect& band) {
    const int32_t right = box.x + box.w - 1;  // the last pixel column may touch a wall
    const int32_t bottom = std::min(box.y + box.h - 1, band.y + Map::kScreenHeight - 1);
    // One probe per tile the box covers, at a pixel inside both.
    for (int32_t row = box.y >> 4; row <= bottom >> 4; ++row) {
        for (int32_t column = box.x >> 4; column <= right >> 4; ++column) {
            const int32_t x = std::max<int32_t>(box.x, column * Map::kTileSize);
            const int32_t y = std::max<int32_t>(box.y, row * Map::kTileSize);
            const Tile tile = map.tileAt(x, y);
            if (tile.solid && x >= 0 && y >= 0) {
                return "solid tile at (" + std::to_string(tile.x) + ", " + std::to_string(tile.y) + ")";
            }
        }
    }
    return "";
}

class SampleGameReplay : public ::testing::TestWithParam<ReplayRun> {};

}  // namespace

TEST_P(SampleGameReplay, PlaysThroughEveryBandWithoutSinkingIntoTheWorld) {
    const ReplayRun& run = GetParam();
    TempDir dir;
    const std::string trace = dir.file("trace.csv");
    const std::string command = std::string("\"") + VOLTARO_BINARY_DIR + "/voltaro\" --headless --data \"" + kGameDir +
                                "\" --replay \"" + kReplayDir + "/" + run.log + "\" --trace \"" + trace + "\" > \"" +
                                dir.file("out.txt") + "\" 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<TraceRow> rows = readTrace(trace);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().text("state"), "menu");

    RecordingVideoService video;  // the map loads its tile sheet through it
    const std::unique_ptr<Map> map = loadMap(run.level);
    const IniDictionary player(kGameDir + "/" + run.player);
    const int32_t xOffset = player.getInt("xOffset", "BoundingBox", 0);
    const int32_t yOffset = player.getInt("yOffset", "BoundingBox", 0);
    const int32_t width = player.getInt("width", "BoundingBox", 0);
    const int32_t height = player.getInt("height", "BoundingBox", 0);
    const int32_t mapWidth = map->screensX() * Map::kScreenWidth;
    const int32_t mapHeight = map->screensY() * Map::kScreenHeight;

    std::set<int64_t> boundaries;
    int playingFrames = 0;
    for (const TraceRow& row : rows) {
        if (row.text("state") != "level" || row.text("phase") != "Playing") continue;
        ++playingFrames;
        const int64_t boundary = row.number("boundary");
        boundaries.insert(boundary);
        if (row.text("mode") == "Teleport") continue;  // the beam passes through everything
        const SDL_Rect band = map->boundary(static_cast<int32_t>(boundary));
        map->selectBoundary(band.x, band.y);
        const Fixed x = Fixed::fromRaw(static_cast<int32_t>(row.number("x")));
        const Fixed y = Fixed::fromRaw(static_cast<int32_t>(row.number("y")));
        const SDL_Rect box = makeRect((x + xOffset).toInt(), (y + yOffset).toInt(), width, height);
        ASSERT_EQ(solidTileInside(*map, box, band), "") << "frame " << row.frame() << ": the box at (" << box.x << ", "
                                                   << box.y << ") overlaps the ground";
        ASSERT_GE(box.x, 0) << "frame " << row.frame();
        ASSERT_LE(box.x + box.w, mapWidth) << "frame " << row.frame();
        ASSERT_LT(box.y, mapHeight) << "frame " << row.frame() << ": below the map";
    }
    EXPECT_GT(playingFrames, 600) << "the run never got far into the level";
    EXPECT_EQ(static_cast<int32_t>(boundaries.size()), map->boundaryCount()) << "not every band was visited";
}

INSTANTIATE_TEST_SUITE_P(EveryLevelWithEveryCharacter, SampleGameReplay,
                         ::testing::Values(ReplayRun{"Pendix", "voltaro1", "pendix-voltaro1.log"},
                                           ReplayRun{"Pendix", "voltaro2", "pendix-voltaro2.log"},
                                           ReplayRun{"Pendix", "voltaro3", "pendix-voltaro3.log"},
                                           ReplayRun{"Mossgate", "voltaro1", "mossgate-voltaro1.log"},
                                           ReplayRun{"Mossgate", "voltaro2", "mossgate-voltaro2.log"},
                                           ReplayRun{"Mossgate", "voltaro3", "mossgate-voltaro3.log"},
                                           ReplayRun{"Gearworks", "voltaro1", "gearworks-voltaro1.log"},
                                           ReplayRun{"Gearworks", "voltaro2", "gearworks-voltaro2.log"},
                                           ReplayRun{"Gearworks", "voltaro3", "gearworks-voltaro3.log"}),
                         runName);
