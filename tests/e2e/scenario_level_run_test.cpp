// Runs the real voltaro executable headless on a small test game: the stage
// select, then a level played by a replayed input log, and checks the
// per-frame trace: the ready message, the beam, a jump, a ladder climb into
// the band above with its transition timing, a fall back down into the band
// below, and a pit that sends the player back to the start.

#include "e2e/trace_reader.h"
#include "support/temp_dir.h"
#include "world/map_source.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const kMapSource =
    "tiles 8\n"
    "legend\n"
    ". 0 open\n"
    "# 1 solid\n"
    "H 4 open\n"
    "map\n"
    // upper band (boundary 1): the ladder ends on a ledge
    "................\n"
    "................\n"
    "................\n"
    "................\n"
    "................\n"
    "................\n"
    "................\n"
    "................\n"
    "................\n"
    "........H.......\n"
    "########H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    // lower band (boundary 0, the arrival): floor at world y 448, a pit at columns 2-3
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "##..############\n"
    "##..############\n";

const char* const kLevels =
    "[Common]\nreadyMessage = READY\n"
    "[Test]\ntileSheet = tiles.bmp\ntileMap = test.map\nboundaries = 2\n"
    "boundary0x = 0\nboundary0y = 240\nboundary0w = 256\n"
    "boundary1x = 0\nboundary1y = 0\nboundary1w = 256\n"
    "teleportStopPosY = 196\n";

const char* const kStageSelect =
    "[Levels]\namount = 1\nlevel0 = Test\n[Voltaros]\namount = 1\nvoltaro0 = hero\nvoltaro0title = HERO\n";

// Walks at 1.5 pixels per update with no acceleration phase, jumps at 4 under
// a gravity of 0.25, climbs at 1.5.
const char* const kPlayer =
    "[XSpeed]\nacceleratingInt = 1\nacceleratingFraction = 128\nrunningInt = 1\nrunningFraction = 128\n"
    "jumpingInt = 1\njumpingFraction = 128\njumpAcceleratingInt = 1\njumpAcceleratingFraction = 128\n"
    "reelingInt = 1\n"
    "[YSpeed]\nclimbingUpInt = 1\nclimbingUpFraction = 128\nclimbingDownInt = -2\nclimbingDownFraction = 128\n"
    "collisionInt = -1\nfallingInt = 0\ngravityFraction = 64\njumpingInt = 4\njumpReleasedInt = 1\n"
    "jumpReleasedMaxInt = 2\nminInt = -4\nscrollingFraction = 128\nreelingInt = 1\n"
    "[ScrollConstants]\nverticalSpeed = 4\nstartPosTop = 8\nstartPosBottom = 240\n"
    "[Durations]\naccelerating = 1\nacceleratingPreviousAnimation = 0\ndecelerating = 1\ninvincible = 60\n"
    "reeling = 10\nshooting = 8\nscrolling = 60\nbeforeScrolling = 10\nafterScrolling = 10\n"
    "[Options]\nfirstAcceleratingFrameIsWalkingSpeed = true\n"
    "[BoundingBox]\nheightHalf = 12\nxOffset = -6\nyOffset = -11\nwidth = 11\nheight = 22\n"
    "[Bullet]\nspritesheet = shot.bmp\nxOffsetRight = 8\nxOffsetLeft = -16\nyOffset = -3\n"
    "[Spritesheets]\namount = 4\nspritesheet0 = hero.bmp\nspritesheet1 = hero.bmp\nspritesheet2 = hero.bmp\n"
    "spritesheet3 = hero.bmp\n"
    "[Sprites]\namount = 1\nwidth = 24\nheight = 24\nxOffset = -12\nyOffset = -12\nsprite0YPos = 0\n"
    "[Animations]\namount = 9\n"
    "[Animation0]\nnFrames = 1\n[Animation1]\nnFrames = 1\n[Animation2]\nnFrames = 1\n[Animation3]\nnFrames = 1\n"
    "[Animation4]\nnFrames = 1\n[Animation5]\nnFrames = 1\n[Animation6]\nnFrames = 1\n[Animation7]\nnFrames = 1\n"
    "[Animation8]\nnFrames = 1\n";

const char* const kFont =
    "[Properties]\nsheet = font.bmp\ncharacterHeight = 8\ncharacterWidth = 8\n"
    "[Characters]\nR = 80\nE = 88\nA = 96\nD = 104\nY = 112\nH = 120\nO = 128\nspace = 136\n";

const char* const kEnemy =
    "[Spritesheets]\namount = 1\nspritesheet0 = enemy.bmp\n"
    "[Sprites]\namount = 1\nwidth = 16\nheight = 16\nyOffset = -8\n[Animations]\namount = 1\n"
    "[Animation0]\nnFrames = 1\nframe0Duration = 10\n";

// Confirm the level, confirm the character, wait out the ready message and
// the beam, jump, climb the ladder into the band above, walk off the ledge
// back down, and walk left into the pit.
const char* const kInput =
    "2 b down\n3 b up\n4 b down\n5 b up\n"
    "220 space down\n250 space up\n"
    "280 up down\n560 up up\n"
    "570 right down\n600 right up\n"
    "760 left down\n";
constexpr int kFrames = 1100;

void writeBitmap(const std::string& path, int width, int height, Uint8 red, Uint8 green, Uint8 blue) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, red, green, blue));
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
}

class LevelRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir();
        TempDir& dir = *s_dir;
        const std::vector<uint8_t> map = MapSource::compile(kMapSource, "test.vmap");
        dir.write("test.map", std::string(map.begin(), map.end()));
        dir.write("levels.ini", kLevels);
        dir.write("stageselect.ini", kStageSelect);
        dir.write("hero", kPlayer);
        dir.write("font.ini", kFont);
        dir.write("enemy.ini", kEnemy);
        dir.write("input.log", kInput);
        writeBitmap(dir.file("tiles.bmp"), 16, 128, 40, 40, 80);
        writeBitmap(dir.file("font.bmp"), 8, 144, 255, 255, 255);
        writeBitmap(dir.file("hero.bmp"), 24, 24, 0, 120, 255);
        writeBitmap(dir.file("enemy.bmp"), 16, 16, 255, 0, 0);
        writeBitmap(dir.file("shot.bmp"), 8, 8, 255, 255, 0);
        writeBitmap(dir.file("selector.bmp"), 8, 8, 255, 255, 255);
        const std::string command = std::string("\"") + VOLTARO_BINARY_DIR + "/voltaro\" --headless --data \"" +
                                    dir.path() + "\" --replay \"" + dir.file("input.log") + "\" --trace \"" +
                                    dir.file("trace.csv") + "\" --frames " +
                                    std::to_string(kFrames) + " > \"" + dir.file("out.txt") + "\" 2>&1";
        s_status = std::system(command.c_str());
        s_rows = new std::vector<TraceRow>(readTrace(dir.file("trace.csv")));
    }
    static void TearDownTestSuite() {
        delete s_rows;
        // VOLTARO_KEEP_TEST_DATA=1 keeps the game folder (and its trace) for a look.
        if (std::getenv("VOLTARO_KEEP_TEST_DATA") == nullptr) delete s_dir;
    }

    const std::vector<TraceRow>& rows() const { return *s_rows; }
    // Index of the first row at or after `from` that satisfies `test`; -1 if none.
    template <typename Test>
    int find(int from, Test test) const {
        for (int i = from; i < static_cast<int>(rows().size()); ++i) {
            if (test(rows()[static_cast<size_t>(i)])) return i;
        }
        return -1;
    }
    const TraceRow& row(int index) const { return rows().at(static_cast<size_t>(index)); }

    static TempDir* s_dir;
    static int s_status;
    static std::vector<TraceRow>* s_rows;
};

TempDir* LevelRun::s_dir = nullptr;
int LevelRun::s_status = -1;
std::vector<TraceRow>* LevelRun::s_rows = nullptr;

int firstLevelRow(const std::vector<TraceRow>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].text("state") == "level") return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

TEST_F(LevelRun, RunsEveryFrameAndWritesATraceLineEach) {
    std::ifstream output(s_dir->file("out.txt"));
    const std::string printed((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
    ASSERT_EQ(s_status, 0) << "voltaro failed:\n" << printed;
    ASSERT_EQ(rows().size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(row(0).frame(), 1);
    EXPECT_EQ(row(kFrames - 1).frame(), kFrames);
    EXPECT_EQ(row(0).text("state"), "menu");
}

TEST_F(LevelRun, ReadyMessageLastsOneHundredEightyUpdates) {
    const int start = firstLevelRow(rows());
    ASSERT_GE(start, 0);
    EXPECT_EQ(row(start).frame(), 5) << "B in frames 2 and 4; the switch is carried out in frame 5";
    const int playing = find(start, [](const TraceRow& r) { return r.text("phase") != "Ready"; });
    ASSERT_GT(playing, start);
    // The switch frame draws the level once before any update, then 179
    // updated frames keep the message up; the 180th update's draw ends it.
    EXPECT_EQ(playing - start, 180);
    EXPECT_EQ(row(playing).text("phase"), "Playing");
    EXPECT_EQ(row(playing - 1).text("handler"), "Teleporting");
}

TEST_F(LevelRun, BeamLandsOnTheFloorUnderTheStart) {
    const int start = firstLevelRow(rows());
    const int standing = find(start, [](const TraceRow& r) { return r.text("handler") == "Standing"; });
    ASSERT_GT(standing, 0);
    // The beam stops 4 + 16 x 12 below boundary 0's top with its start
    // fraction; appearing, it lands on the floor in the same update.
    EXPECT_EQ(row(standing - 1).text("handler"), "Teleporting");
    EXPECT_EQ(row(standing - 1).number("y"), 436 * 256 + 248);
    EXPECT_EQ(row(standing).pixels("y"), 436) << "feet on the floor at y 448";
    EXPECT_EQ(row(standing).pixels("x"), 128);
    EXPECT_EQ(row(standing).text("mode"), "Ground");
    EXPECT_EQ(row(standing).number("boundary"), 0);
    EXPECT_EQ(row(standing).number("viewY"), 240);
}

TEST_F(LevelRun, JumpRisesAndLands) {
    const int pressed = find(0, [](const TraceRow& r) { return r.frame() == 220; });
    ASSERT_GT(pressed, 0);
    EXPECT_EQ(row(pressed - 1).text("handler"), "Standing");
    // Without "noJumpDelay" the jump is entered at the end of the press frame
    // and the player rises from the next one.
    EXPECT_EQ(row(pressed).text("handler"), "Airborne");
    EXPECT_EQ(row(pressed).number("speedY"), 4 * 256);
    EXPECT_EQ(row(pressed).pixels("y"), 436);
    EXPECT_EQ(row(pressed + 1).number("y"), 436 * 256 - 4 * 256);
    EXPECT_EQ(row(pressed + 1).number("speedY"), 4 * 256 - 64) << "gravity 0.25 after a free move";
    int apex = pressed;
    for (int i = pressed; i < pressed + 60; ++i) {
        if (row(i).number("y") < row(apex).number("y")) apex = i;
    }
    EXPECT_LT(row(apex).pixels("y"), 436 - 20) << "the jump rises more than 20 pixels";
    const int landed = find(apex, [](const TraceRow& r) { return r.text("mode") == "Ground"; });
    ASSERT_GT(landed, apex);
    EXPECT_EQ(row(landed).pixels("y"), 436);
    EXPECT_LT(landed, pressed + 60);
}

TEST_F(LevelRun, LadderClimbScrollsUpWithTheConfiguredTiming) {
    const int climbing = find(0, [](const TraceRow& r) { return r.text("handler") == "Climbing"; });
    ASSERT_GT(climbing, 0);
    EXPECT_EQ(row(climbing).pixels("x"), 136) << "centred on the ladder column";
    const int k = find(climbing, [](const TraceRow& r) { return r.text("phase") == "BeforeScrolling"; });
    ASSERT_GT(k, climbing);
    // The next position (1.5 pixels up) reached startPosTop (8); the scroll
    // start keeps the whole pixel and takes its first 0.5-pixel scroll step.
    EXPECT_GT(row(k - 1).pixels("y") - 240, 8);
    EXPECT_LE((row(k - 1).number("y") - 384) / 256 - 240, 8);
    EXPECT_EQ(row(k).number("y"), row(k - 1).pixels("y") * 256 - 128);
    for (int i = k; i <= k + 10; ++i) EXPECT_EQ(row(i).number("viewY"), 240) << "frozen, update k+" << i - k;
    for (int i = k + 11; i <= k + 69; ++i) {
        EXPECT_EQ(row(i).text("phase"), "Scrolling");
        EXPECT_EQ(row(i).number("viewY"), row(i - 1).number("viewY") - 4) << "scrolls in update k+" << i - k;
    }
    EXPECT_EQ(row(k + 70).text("phase"), "AfterScrolling");
    EXPECT_EQ(row(k + 70).number("viewY"), 0);
    EXPECT_EQ(row(k + 70).number("boundary"), 1);
    for (int i = k + 71; i <= k + 79; ++i) {
        EXPECT_EQ(row(i).text("phase"), "AfterScrolling");
        EXPECT_EQ(row(i).number("y"), row(k + 70).number("y"));
    }
    EXPECT_EQ(row(k + 80).text("phase"), "Playing");
    EXPECT_NE(row(k + 80).number("y"), row(k + 79).number("y")) << "the player climbs on in k+80";
}

TEST_F(LevelRun, ClimbEndsStandingOnTheLadderTop) {
    const int top = find(0, [](const TraceRow& r) {
        return r.text("handler") == "Standing" && r.number("boundary") == 1;
    });
    ASSERT_GT(top, 0);
    EXPECT_EQ(row(top).pixels("y"), 144 - 12) << "feet on the top of the ladder's highest tile";
}

TEST_F(LevelRun, FallingOffTheLedgeScrollsDownIntoTheBandBelow) {
    const int ledge = find(0, [](const TraceRow& r) { return r.number("boundary") == 1; });
    ASSERT_GT(ledge, 0);
    const int down = find(ledge, [](const TraceRow& r) { return r.text("phase") == "BeforeScrolling"; });
    ASSERT_GT(down, ledge);
    const int after = find(down, [](const TraceRow& r) { return r.text("phase") == "AfterScrolling"; });
    ASSERT_GT(after, down);
    EXPECT_EQ(row(after).number("viewY"), 240);
    EXPECT_EQ(row(after).number("boundary"), 0);
}

TEST_F(LevelRun, PitSendsThePlayerBackToTheStartWithTheReadyMessage) {
    const int ledge = find(0, [](const TraceRow& r) { return r.number("boundary") == 1; });
    const int backDown = find(ledge, [](const TraceRow& r) {
        return r.number("boundary") == 0 && r.text("phase") == "Playing";
    });
    ASSERT_GT(backDown, 0);
    const int respawn = find(backDown, [](const TraceRow& r) { return r.text("phase") == "Ready"; });
    ASSERT_GT(respawn, backDown) << "the player never fell into the pit";
    EXPECT_EQ(row(respawn).text("handler"), "Teleporting");
    EXPECT_EQ(row(respawn).pixels("x"), 128);
    EXPECT_EQ(row(respawn).pixels("y"), 244);
    EXPECT_EQ(row(respawn).text("facing"), row(respawn - 1).text("facing")) << "facing kept after a respawn";
    EXPECT_LT(row(respawn - 1).pixels("x"), 4 * 16 + 6) << "fell at the pit's columns";
    const int playingAgain = find(respawn, [](const TraceRow& r) { return r.text("phase") == "Playing"; });
    ASSERT_GT(playingAgain, respawn);
    // The update that fell into the pit is the first of the 180 counted ones.
    EXPECT_EQ(playingAgain - respawn, 179);
}

TEST_F(LevelRun, NeverLeavesTheWorldWhilePlaying) {
    for (const TraceRow& r : rows()) {
        if (r.text("state") != "level") continue;
        EXPECT_GE(r.pixels("y"), 0) << "frame " << r.frame();
        EXPECT_LT(r.pixels("y"), 480 + 16) << "frame " << r.frame();
        EXPECT_GE(r.pixels("x"), 0) << "frame " << r.frame();
        EXPECT_LT(r.pixels("x"), 256) << "frame " << r.frame();
    }
}
