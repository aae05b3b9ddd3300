#include "level/level.h"

#include "level/enemy.h"
#include "platform/fatal_data_error.h"
#include "player/player_fixture.h"
#include "player/voltaro.h"
#include "resources/sprite.h"
#include "support/recording_audio_service.h"
#include "world/map.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Two screens stacked: the arrival band (boundary 0) is the lower screen, the
// upper screen is boundary 1. A ladder in column 8 rises from the lower
// floor into the upper screen, where it ends on a ledge.
const std::string kTwoBandRows =
    // upper screen, world rows 0-14
    openRows(9) +
    "........H.......\n"
    "#######.H.######\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n"
    "........H.......\n" +
    // lower screen, world rows 15-29; floor top at world y 448
    repeatRow("........H.......\n", 13) +
    "################\n"
    "################\n";

// Boundary 0 is the lower band; the beam stops at y 436 (feet on the floor at 448).
const char* const kTwoBandLevel =
    "boundaries = 2\n"
    "boundary0x = 0\nboundary0y = 240\nboundary0w = 256\n"
    "boundary1x = 0\nboundary1y = 0\nboundary1w = 256\n"
    "teleportStopPosY = 196\n";

// One screen whose floor has a hole at columns 10-11 over nothing: a pit.
const std::string kPitRows = openRows(13) +
    "##########..####\n"
    "##########..####\n";

// A level built from files in a temporary working directory, updated and
// drawn frame by frame as the state manager does.
class LevelWorld {
public:
    LevelWorld(const std::string& rows, const std::string& levelKeys, const PlayerFile& player,
               const std::string& readyMessage = "READY") {
        m_dir.enter();
        writeWorldFiles(m_dir, video, rows, player, levelKeys, "[Common]\nreadyMessage = " + readyMessage + "\n");
        level = std::make_unique<Level>("test", "player.ini");
    }

    // One frame: the update, then the draw (where the ready phase ends).
    void frame(const InputState& input = InputState{}) {
        level->update(input);
        level->draw();
        ++updates;
    }
    // Frames until the ready message is gone.
    void skipReady() {
        for (int i = 0; i < 200 && level->phase() == LevelPhase::Ready; ++i) frame();
        ASSERT_EQ(level->phase(), LevelPhase::Playing);
    }

    // A live reload: rewrites the files, builds the level afresh and lets it
    // continue the old one's play. Returns what continueFrom answered.
    bool reload(const std::string& rows, const std::string& levelKeys, const PlayerFile& player) {
        writeWorldFiles(m_dir, video, rows, player, levelKeys, "[Common]\nreadyMessage = READY\n");
        auto fresh = std::make_unique<Level>("test", "player.ini");
        const bool continued = fresh->continueFrom(*level);
        level = std::move(fresh);
        return continued;
    }

    RecordingVideoService video;
    std::unique_ptr<Level> level;
    int updates = 0;

private:
    TempDir m_dir;
};

PlayerFile transitionPlayer(int before, int scrolling, int after) {
    PlayerFile file = PlayerFile::standard();
    file.set("Durations", "beforeScrolling", std::to_string(before));
    file.set("Durations", "scrolling", std::to_string(scrolling));
    file.set("Durations", "afterScrolling", std::to_string(after));
    file.set("ScrollConstants", "verticalSpeed", "4");
    file.set("ScrollConstants", "startPosTop", "8");
    return file;
}

// Climbs the ladder until the level leaves Playing; returns the update index
// (counted from 1) in which the transition started, or -1.
int climbUntilTransition(LevelWorld& world) {
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    for (int i = 0; i < 400; ++i) {
        world.frame(Keys().up());
        if (world.level->phase() != LevelPhase::Playing) return world.updates;
    }
    return -1;
}

}  // namespace

TEST(Level, ReadyMessageIsRenderedOnceAndCentred) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard(), "READY PLAYER");
    SDL_Surface* message = world.level->readyMessageBitmap();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->w, 96);  // 12 characters of 8 pixels
    EXPECT_EQ(message->h, 8);
    int renderedGlyphs = 0;
    for (const auto& call : world.video.calls()) {
        if (call.kind == RecordingVideoService::Kind::BlitTo && call.target == message) ++renderedGlyphs;
    }
    EXPECT_EQ(renderedGlyphs, 12);

    world.video.clearCalls();
    world.frame();
    world.frame();
    bool blitted = false;
    for (const auto& call : world.video.calls()) {
        EXPECT_NE(call.kind, RecordingVideoService::Kind::BlitTo) << "the message is rendered only once";
        if (call.source == message) {
            EXPECT_EQ(call.x, 80);
            EXPECT_EQ(call.y, 98);
            EXPECT_FALSE(call.hasSourceRect);
            blitted = true;
        }
    }
    EXPECT_TRUE(blitted);
}

TEST(Level, MissingReadyMessageShowsTheWordEmpty) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard(), "");
    // "readyMessage =" stores an empty text; only a missing key gives "empty".
    EXPECT_EQ(world.level->readyMessageBitmap(), nullptr);
    world.frame();  // drawing a level without a message must be safe
}

TEST(Level, ReadyPhaseLastsOneHundredEightyUpdates) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    const Fixed startY = world.level->player().y();
    for (int i = 0; i < 179; ++i) world.frame();
    EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
    EXPECT_EQ(world.level->player().y().raw(), startY.raw()) << "the player waits during the ready message";
    world.frame();
    EXPECT_EQ(world.level->phase(), LevelPhase::Playing);
    EXPECT_EQ(world.level->frameCounter(), 0);
}

TEST(Level, DrawsWithoutUpdatesKeepTheReadyMessageUp) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    for (int i = 0; i < 100; ++i) world.frame();
    for (int i = 0; i < 500; ++i) world.level->draw();  // a paused game still draws
    EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
    for (int i = 0; i < 80; ++i) world.frame();
    EXPECT_EQ(world.level->phase(), LevelPhase::Playing);
}

TEST(Level, PlayingDrawsMapThenEnemyThenPlayer) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    world.video.clearCalls();
    world.level->draw();
    std::set<SDL_Surface*> rows;  // the map draws its screen row by row
    for (int32_t row = 0; row < Map::kScreenTilesY; ++row) rows.insert(world.level->map().preparedRow(0, row));
    SDL_Surface* enemy = world.video.surfaceFor("enemy.bmp");
    SDL_Surface* player = world.video.surfaceFor("right.bmp");
    int lastTile = -1, enemyAt = -1, playerAt = -1;
    const auto& calls = world.video.calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (rows.count(calls[i].source) != 0) lastTile = static_cast<int>(i);
        if (calls[i].source == enemy) enemyAt = static_cast<int>(i);
        if (calls[i].source == player) playerAt = static_cast<int>(i);
    }
    ASSERT_GE(lastTile, 0);
    EXPECT_GT(enemyAt, lastTile);
    EXPECT_GT(playerAt, enemyAt);
}

TEST(Level, TransitionPhasesFollowTheirDurations) {
    LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10));
    const int k = climbUntilTransition(world);
    ASSERT_GT(k, 0);
    ASSERT_EQ(world.level->phase(), LevelPhase::BeforeScrolling);
    ASSERT_EQ(world.level->scrollDirection(), Direction::Up);
    const int startViewY = world.level->camera().view().y;
    EXPECT_EQ(startViewY, 240);

    int viewY = startViewY;
    Fixed playerY = world.level->player().y();
    for (int update = k + 1; update <= k + 80; ++update) {
        world.frame(Keys().up());
        const int newViewY = world.level->camera().view().y;
        if (update <= k + 10) {
            EXPECT_EQ(newViewY, viewY) << "frozen before scrolling, update k+" << update - k;
            EXPECT_EQ(world.level->player().y().raw(), playerY.raw());
        } else if (update <= k + 69) {
            EXPECT_EQ(world.level->phase(), LevelPhase::Scrolling);
            EXPECT_EQ(newViewY, viewY - 4) << "scrolls in update k+" << update - k;
        } else if (update == k + 70) {
            EXPECT_EQ(newViewY, 0) << "snaps to the new boundary";
            EXPECT_EQ(world.level->phase(), LevelPhase::AfterScrolling);
            EXPECT_EQ(world.level->map().currentBoundaryIndex(), 1);
            playerY = world.level->player().y();
        } else if (update < k + 80) {
            EXPECT_EQ(world.level->phase(), LevelPhase::AfterScrolling);
            EXPECT_EQ(world.level->player().y().raw(), playerY.raw()) << "frozen after scrolling";
        } else {
            EXPECT_EQ(world.level->phase(), LevelPhase::Playing);
            EXPECT_NE(world.level->player().y().raw(), playerY.raw()) << "the player moves again in k+80";
        }
        viewY = newViewY;
    }
}

TEST(Level, WithoutABeforeScrollingPauseTheViewMovesAtOnce) {
    LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(0, 60, 10));
    const int k = climbUntilTransition(world);
    ASSERT_GT(k, 0);
    EXPECT_EQ(world.level->phase(), LevelPhase::Scrolling);
    EXPECT_EQ(world.level->camera().view().y, 240 - 4);
    world.frame(Keys().up());
    EXPECT_EQ(world.level->camera().view().y, 240 - 8);
}

TEST(Level, ATransitionStartedAsTheLastOneEndsIsNotOverridden) {
    // Three open screens stacked, one band each, nothing to stand on. The
    // player falls into the scroll start position 200 of band 0; each scroll
    // puts it at 200 below the new band's top, so the update at the end of
    // AfterScrolling starts the next transition at once. Band 2 has no
    // screen below: there the player falls out and the level restarts.
    const char* const threeBands =
        "boundaries = 3\n"
        "boundary0x = 0\nboundary0y = 0\nboundary0w = 256\n"
        "boundary1x = 0\nboundary1y = 240\nboundary1w = 256\n"
        "boundary2x = 0\nboundary2y = 480\nboundary2w = 256\n"
        "teleportStopPosY = 100\n";
    PlayerFile file = transitionPlayer(2, 4, 2);
    file.set("Options", "adjustPositionAfterScroll", "true");
    file.set("ScrollConstants", "downEndPosY", "200").set("ScrollConstants", "startPosBottom", "200");
    file.set("YSpeed", "scrollingInt", "16");  // 4 scroll steps carry the player into the next band
    LevelWorld world(openRows(45), threeBands, file);
    world.skipReady();
    std::vector<LevelPhase> phases;
    for (int i = 0; i < 300 && world.level->phase() != LevelPhase::Ready; ++i) {
        world.frame();
        ASSERT_FALSE(world.level->phase() == LevelPhase::Playing && world.level->player().isScreenScrolling())
            << "update " << world.updates << ": playing while the player is still in scroll mode";
        if (phases.empty() || phases.back() != world.level->phase()) phases.push_back(world.level->phase());
    }
    const std::vector<LevelPhase> expected = {
        LevelPhase::Playing,         LevelPhase::BeforeScrolling, LevelPhase::Scrolling, LevelPhase::AfterScrolling,
        LevelPhase::BeforeScrolling, LevelPhase::Scrolling,       LevelPhase::AfterScrolling, LevelPhase::Ready};
    EXPECT_EQ(phases, expected);
    EXPECT_STREQ(world.level->player().stateName(), "Teleporting");
}

TEST(Level, TransitionDurationsBelowOneCountAsOne) {
    LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(0, 0, -5));
    EXPECT_EQ(world.level->scrollingDuration(), 1);
    EXPECT_EQ(world.level->afterScrollingDuration(), 1);
    const int k = climbUntilTransition(world);
    ASSERT_GT(k, 0);
    // Each phase lasts one update. (Still holding up at the top start
    // position, the climber starts the next transition in the update that
    // ends this one, so the level never needs to stay in a phase.)
    world.frame(Keys().up());
    EXPECT_EQ(world.level->phase(), LevelPhase::AfterScrolling) << "a zero scrolling duration must not freeze the game";
    world.frame(Keys().up());
    EXPECT_NE(world.level->phase(), LevelPhase::AfterScrolling) << "a negative duration must not freeze the game";
}

TEST(Level, FallingIntoThePitRestartsWithoutTouchingTheEnemy) {
    LevelWorld world(kPitRows, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    for (int i = 0; i < 300 && world.level->phase() == LevelPhase::Playing; ++i) {
        const int enemyCounter = world.level->enemy().sprite().frameCounter();
        const int enemyFrame = world.level->enemy().sprite().currentFrame();
        world.level->update(Keys().right());
        if (world.level->phase() != LevelPhase::Playing) {
            EXPECT_EQ(world.level->enemy().sprite().frameCounter(), enemyCounter)
                << "the enemy is not updated in the update the player fell out";
            EXPECT_EQ(world.level->enemy().sprite().currentFrame(), enemyFrame);
            break;
        }
        world.level->draw();
    }
    ASSERT_EQ(world.level->phase(), LevelPhase::Ready);
    EXPECT_STREQ(world.level->player().stateName(), "Teleporting");
    EXPECT_EQ(world.level->camera().view().y, 0);
    EXPECT_EQ(world.level->player().getX(), 128);
}

TEST(Level, StartsInTheArrivalBandEvenWithABandAboveIt) {
    LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10));
    // The box's top starts above boundary 0; the level still starts in boundary 0.
    EXPECT_LT(world.level->player().getBoundingBox()->y, 240);
    EXPECT_EQ(world.level->map().currentBoundaryIndex(), 0);
    EXPECT_EQ(world.level->camera().view().y, 240);
}

TEST(Level, PlacesTheEnemyAtTheSectionsEnemyKeys) {
    LevelWorld placed(kFlatScreen, std::string(kOneScreenLevel) + "enemyX = 48\nenemyY = 200\n", PlayerFile::standard());
    EXPECT_EQ(placed.level->enemy().rect().x, 48);
    EXPECT_EQ(placed.level->enemy().rect().y, 200);
}

TEST(Level, WithoutEnemyKeysTheEnemyStandsAtItsDefaultPlace) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    EXPECT_EQ(world.level->enemy().rect().x, 112);
    EXPECT_EQ(world.level->enemy().rect().y, 2104);
}

TEST(Level, DestructionFreesEverySurface) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    EXPECT_GT(world.video.liveSurfaces(), 0);
    world.level.reset();
    EXPECT_EQ(world.video.liveSurfaces(), 0);
}

TEST(Level, AMapThatFailsToLoadLeavesNoSurfaceBehind) {
    TempDir dir;
    dir.enter();
    RecordingVideoService video;
    writeWorldFiles(dir, video, kFlatScreen, PlayerFile::standard(), kOneScreenLevel);
    dir.write("test.map", "not a tile map");
    // The ready message is rendered before the map loads; the throw must not strand it.
    EXPECT_THROW(Level("test", "player.ini"), FatalDataError);
    EXPECT_EQ(video.liveSurfaces(), 0);
}

TEST(Level, AReadyMessageBeyondItsSizeBoundsIsLeftOut) {
    // 5 x 2^30 overflows 32 bits; 15000 x 60000 pixels would be gigabytes.
    for (const char* cell : {"characterWidth = 1073741824\ncharacterHeight = 8\n",
                             "characterWidth = 3000\ncharacterHeight = 60000\n",
                             "characterWidth = 8\ncharacterHeight = 241\n"}) {
        TempDir dir;
        dir.enter();
        RecordingVideoService video;
        writeWorldFiles(dir, video, kFlatScreen, PlayerFile::standard(), kOneScreenLevel,
                        "[Common]\nreadyMessage = READY\n");
        dir.write("font.ini", std::string("[Properties]\nsheet = glyphs.bmp\n") + cell);
        Level level("test", "player.ini");
        EXPECT_EQ(level.readyMessageBitmap(), nullptr) << cell;
        level.update(InputState{});
        level.draw();
    }
}

TEST(Level, AReadyMessageAtItsSizeBoundsIsRendered) {
    TempDir dir;
    dir.enter();
    RecordingVideoService video;
    writeWorldFiles(dir, video, kFlatScreen, PlayerFile::standard(), kOneScreenLevel,
                    "[Common]\nreadyMessage = READY\n");
    dir.write("font.ini", "[Properties]\nsheet = glyphs.bmp\ncharacterWidth = 819\ncharacterHeight = 240\n");
    Level level("test", "player.ini");
    ASSERT_NE(level.readyMessageBitmap(), nullptr);
    EXPECT_EQ(level.readyMessageBitmap()->w, 4095);
    EXPECT_EQ(level.readyMessageBitmap()->h, 240);
}

// ---------------------------------------------------------------- live reload

TEST(LevelReload, APlayingLevelKeepsThePlayersPlaceAndStateAndUsesTheNewFile) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    for (int i = 0; i < 10; ++i) world.frame(Keys().left());  // running left by now
    ASSERT_STREQ(world.level->player().stateName(), "Running");
    const Fixed x = world.level->player().x();
    const Fixed y = world.level->player().y();

    PlayerFile faster = PlayerFile::standard();
    faster.set("XSpeed", "runningInt", "3").set("XSpeed", "runningFraction", "0");
    ASSERT_TRUE(world.reload(kFlatScreen, kOneScreenLevel, faster));
    const Voltaro& player = world.level->player();
    EXPECT_EQ(world.level->phase(), LevelPhase::Playing);
    EXPECT_EQ(player.x().raw(), x.raw());
    EXPECT_EQ(player.y().raw(), y.raw());
    EXPECT_STREQ(player.stateName(), "Running");
    EXPECT_EQ(player.facing(), Direction::Left);
    EXPECT_EQ(player.sprite().currentAnimation(), 2) << "the running animation goes on";
    EXPECT_EQ(player.speedX().raw(), px(3)) << "a state that set its speed on entry takes the new file's";
    EXPECT_EQ(world.level->camera().view().x, 0);

    world.frame(Keys().left());
    EXPECT_EQ(player.x().raw(), x.raw() - px(3));
}

TEST(LevelReload, APlaceThatIsSolidInTheNewMapRestartsTheLevel) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    // A wall across the player's column, rows 10 to 12 (y 160..207): it stands at x 128.
    const std::string walled = openRows(10) + repeatRow("........#.......\n", 3) +
                               "################\n"
                               "################\n";
    EXPECT_FALSE(world.reload(walled, kOneScreenLevel, PlayerFile::standard()));
    EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
    EXPECT_STREQ(world.level->player().stateName(), "Teleporting");
    EXPECT_EQ(world.level->map().currentBoundaryIndex(), 0);
}

TEST(LevelReload, ABoxMadeLargerByTheNewFileCanWallThePlayerIn) {
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    PlayerFile tall = PlayerFile::standard();
    tall.set("BoundingBox", "height", "40");  // now reaches 16 pixels into the floor
    EXPECT_FALSE(world.reload(kFlatScreen, kOneScreenLevel, tall));
    EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
}

TEST(LevelReload, APlaceOutsideEveryNewBoundaryRestartsTheLevel) {
    std::string rows;
    for (int row = 0; row < 13; ++row) rows += "................................\n";
    rows += repeatRow("################################\n", 2);
    LevelWorld world(rows, "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 512\nteleportStopPosY = 196\n",
                     PlayerFile::standard());
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    for (int i = 0; i < 150; ++i) world.frame(Keys().right());  // into the right screen
    ASSERT_GT(world.level->player().getX(), 256);
    // The band now covers the left screen only.
    EXPECT_FALSE(world.reload(rows, kOneScreenLevel, PlayerFile::standard()));
    EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
}

TEST(LevelReload, TheReadyMessageTheBeamAndATransitionStartAfresh) {
    {
        LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
        world.frame();  // the ready message is up
        EXPECT_FALSE(world.reload(kFlatScreen, kOneScreenLevel, PlayerFile::standard()));
        EXPECT_EQ(world.level->frameCounter(), 0) << "a fresh ready message";
    }
    {
        LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
        world.skipReady();  // playing, but the player is still beaming in
        ASSERT_STREQ(world.level->player().stateName(), "Teleporting");
        EXPECT_FALSE(world.reload(kFlatScreen, kOneScreenLevel, PlayerFile::standard()));
        EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
    }
    {
        LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10));
        ASSERT_GT(climbUntilTransition(world), 0);
        EXPECT_FALSE(world.reload(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10)));
        EXPECT_EQ(world.level->phase(), LevelPhase::Ready);
        EXPECT_EQ(world.level->map().currentBoundaryIndex(), 0) << "back in the arrival band";
    }
}

TEST(LevelReload, AClimberKeepsItsLadderAndItsBand) {
    LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10));
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    for (int i = 0; i < 20; ++i) world.frame(Keys().up());
    ASSERT_STREQ(world.level->player().stateName(), "Climbing");
    const Fixed y = world.level->player().y();
    EXPECT_TRUE(world.reload(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10)));
    EXPECT_STREQ(world.level->player().stateName(), "Climbing");
    EXPECT_EQ(world.level->player().y().raw(), y.raw());
    EXPECT_EQ(world.level->map().currentBoundaryIndex(), 0);
    EXPECT_EQ(world.level->camera().view().y, 240);
    world.frame(Keys().up());
    EXPECT_EQ(world.level->player().y().raw(), y.raw() - px(1)) << "still climbing at the file's speed";
}

// --- Sound ---------------------------------------------------------------------

TEST(LevelSounds, EnteringSoundsReadyAndPlaysTheSectionsMusicButBuildingIsSilent) {
    RecordingAudioService audio;
    LevelWorld world(kFlatScreen, std::string(kOneScreenLevel) + "music = tunes/test.xm\n", PlayerFile::standard());
    EXPECT_EQ(audio.playedNames(), "") << "a level built and thrown away is never heard";
    EXPECT_TRUE(audio.musicRequests().empty());
    world.level->enter();
    EXPECT_EQ(audio.playedNames(), "ready");
    EXPECT_EQ(audio.musicRequests(), std::vector<std::string>{"tunes/test.xm"});
}

TEST(LevelSounds, ALevelWithoutMusicStopsTheMenusTune) {
    RecordingAudioService audio;
    LevelWorld world(kFlatScreen, kOneScreenLevel, PlayerFile::standard());
    world.level->enter();
    EXPECT_EQ(audio.musicRequests(), std::vector<std::string>{""});
}

TEST(LevelSounds, AReloadedLevelThatContinuesThePlaySoundsNoReadyButKeepsItsMusic) {
    RecordingAudioService audio;
    const std::string keys = std::string(kOneScreenLevel) + "music = tunes/test.xm\n";
    LevelWorld world(kFlatScreen, keys, PlayerFile::standard());
    // Reloaded during the ready message, the level starts afresh: ready again.
    ASSERT_FALSE(world.reload(kFlatScreen, keys, PlayerFile::standard()));
    world.level->enter();
    EXPECT_EQ(audio.playedNames(), "ready");
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    audio.clearPlayed();
    ASSERT_TRUE(world.reload(kFlatScreen, keys, PlayerFile::standard()));
    world.level->enter();
    EXPECT_EQ(audio.playedNames(), "") << "the play goes on: no ready";
    EXPECT_EQ(audio.musicRequests().back(), "tunes/test.xm") << "the same tune, which goes on playing";
}

TEST(LevelSounds, MusicThatCannotBePlayedIsReportedWithItsFileSectionAndKey) {
    RecordingAudioService audio;
    audio.failOn("gone.xm", "cannot be opened");
    testing::internal::CaptureStderr();
    LevelWorld world(kFlatScreen, std::string(kOneScreenLevel) + "music = gone.xm\n", PlayerFile::standard());
    world.level->enter();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("levels.ini: [test] music: cannot play \"gone.xm\": cannot be opened; no music plays\n"),
              std::string::npos)
        << errors;
    world.skipReady();  // and the level plays on
}

TEST(LevelSounds, FallingIntoThePitSoundsReadyInTheUpdateOfTheRestart) {
    RecordingAudioService audio;
    LevelWorld world(kPitRows, kOneScreenLevel, PlayerFile::standard());
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    for (int i = 0; i < 300 && world.level->phase() == LevelPhase::Playing; ++i) {
        audio.clearPlayed();
        world.frame(Keys().right());
    }
    ASSERT_EQ(world.level->phase(), LevelPhase::Ready);
    EXPECT_EQ(audio.playedNames(), "ready");
}

TEST(LevelSounds, ATransitionSoundsOnceInTheUpdateItStartsAndItsPhasesAreSilent) {
    RecordingAudioService audio;
    LevelWorld world(kTwoBandRows, kTwoBandLevel, transitionPlayer(10, 60, 10));
    world.skipReady();
    for (int i = 0; i < 60 && std::string(world.level->player().stateName()) != "Standing"; ++i) world.frame();
    std::vector<std::string> heard;
    for (int i = 0; i < 400 && world.level->phase() == LevelPhase::Playing; ++i) {
        audio.clearPlayed();
        world.frame(Keys().up());
        heard.push_back(audio.playedNames());
    }
    ASSERT_EQ(world.level->phase(), LevelPhase::BeforeScrolling);
    EXPECT_EQ(heard.front(), "ladder");
    EXPECT_EQ(heard.back(), "transition");
    for (size_t i = 1; i + 1 < heard.size(); ++i) EXPECT_EQ(heard[i], "") << "climbing update " << i + 1;
    audio.clearPlayed();
    for (int i = 0; i < 80; ++i) world.frame(Keys().up());
    EXPECT_EQ(world.level->phase(), LevelPhase::Playing);
    EXPECT_EQ(audio.playedNames(), "");
}
