#include "player_fixture.h"

// Leaving a boundary: the downward and upward screen scroll starts, the
// player's scroll steps, the end of a scroll, and the pit respawn.

namespace {

const char* const kOpenRow = "................\n";
const char* const kFloorRow = "################\n";

// Two screens stacked; the upper floor has a hole under the beam (x 96..159).
const std::string kHoleAboveScreen = repeatRow(kOpenRow, 13) + repeatRow("######....######\n", 2) +
                                     repeatRow(kOpenRow, 13) + repeatRow(kFloorRow, 2);

const char* const kStackedLevel =
    "boundaries = 2\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\n"
    "boundary1x = 0\nboundary1y = 240\nboundary1w = 256\nteleportStopPosY = 196\n";

// One screen whose floor has a hole at x 32..79, with nothing below.
const std::string kPitScreen = repeatRow(kOpenRow, 13) + repeatRow("##...###########\n", 2);

// Two screens stacked with a ladder in column 8 from the lower floor to the
// top; the player arrives on the lower screen (boundary 0).
const std::string kLadderShaft = repeatRow("........H.......\n", 15) + repeatRow("........H.......\n", 13) +
                                 repeatRow(kFloorRow, 2);

const char* const kLowerFirstLevel =
    "boundaries = 2\nboundary0x = 0\nboundary0y = 240\nboundary0w = 256\n"
    "boundary1x = 0\nboundary1y = 0\nboundary1w = 256\nteleportStopPosY = 196\n";


}  // namespace

TEST(PlayerScroll, FallingPastTheBottomAboveAScreenStartsADownwardScroll) {
    // The player appears at 196 + 248/256 over the hole and falls with gravity
    // 0.25: after 19 appearing updates it is at 239 + 184/256, and the 20th
    // (update 32) would reach 244.
    PlayerWorld world(kHoleAboveScreen, PlayerFile::standard(), kStackedLevel);
    world.steps(31);
    ASSERT_TRUE(world.host.scrolls.empty());
    ASSERT_EQ(world.player().y().raw(), px(239) + 184);
    world.step();
    EXPECT_EQ(world.host.scrolls, std::vector<Direction>{Direction::Down});
    EXPECT_EQ(world.host.restarts, 0);
    EXPECT_TRUE(world.player().isScreenScrolling());
    // Whole pixel, then one scroll step of 1.0 at once.
    EXPECT_EQ(world.player().y().raw(), px(240));
    EXPECT_EQ(world.player().getBoundingBox()->y, 228);
}

TEST(PlayerScroll, DuringAScrollOnlyThePositionAndTheAnimationMove) {
    PlayerWorld world(kHoleAboveScreen, PlayerFile::standard(), kStackedLevel);
    world.steps(30);
    world.step(Keys().shoot());  // a shot at x 140 after its first step
    world.step();                // the shot moves to 144, then the scroll starts
    ASSERT_TRUE(world.player().isScreenScrolling());
    Voltaro& player = world.player();
    player.hurt();
    const int32_t stateFrame = player.stateFrame();
    const int32_t shootingTimer = player.shootingTimer();
    const int32_t frameCounter = player.sprite().frameCounter();

    world.step(Keys().right().jump().shoot());
    EXPECT_EQ(player.y().raw(), px(241));
    EXPECT_EQ(player.getBoundingBox()->y, 229);
    EXPECT_NE(player.sprite().frameCounter(), frameCounter);
    world.steps(2, Keys().right().shoot());
    EXPECT_EQ(player.y().raw(), px(243));
    EXPECT_EQ(player.stateFrame(), stateFrame);
    EXPECT_EQ(player.shootingTimer(), shootingTimer);
    EXPECT_EQ(player.invincibleTimer(), 20);
    EXPECT_STREQ(player.stateName(), "Appearing");
    EXPECT_EQ(player.bullet(0).rect().x, 144);
    EXPECT_FALSE(player.bullet(1).isActive());
    EXPECT_EQ(player.x().raw(), px(kStartX));

    player.endScreenScroll();
    EXPECT_FALSE(player.isScreenScrolling());
    EXPECT_EQ(player.y().raw(), px(243));  // without the option the scroll steps placed it
    world.map().selectBoundary(player.getX(), player.getY());
    world.step();
    EXPECT_EQ(player.invincibleTimer(), 19);
    EXPECT_STREQ(player.stateName(), "Reeling");
}

TEST(PlayerScroll, AdjustPositionUsesTheStartFractionAndTheEndPosition) {
    PlayerFile file = PlayerFile::standard();
    file.set("Options", "adjustPositionAfterScroll", "true");
    file.set("ScrollConstants", "startFraction", "128").set("ScrollConstants", "downEndPosY", "100");
    PlayerWorld world(kHoleAboveScreen, file, kStackedLevel);
    world.steps(32);
    ASSERT_TRUE(world.player().isScreenScrolling());
    EXPECT_EQ(world.player().y().raw(), px(239) + 128);  // no scroll step at the start
    world.steps(5);
    EXPECT_EQ(world.player().y().raw(), px(244) + 128);
    world.map().selectBoundary(world.player().getX(), world.player().getY());
    world.player().endScreenScroll();
    EXPECT_EQ(world.player().y().raw(), px(240 + 100));
}

TEST(PlayerScroll, FallingIntoAPitRespawnsAndKeepsFacingAndSpeed) {
    PlayerWorld world(kPitScreen, PlayerFile::standard());
    world.beamIn();
    for (int i = 0; i < 400 && world.host.restarts == 0; ++i) world.step(Keys().left());
    ASSERT_EQ(world.host.restarts, 1);
    EXPECT_TRUE(world.host.scrolls.empty());
    Voltaro& player = world.player();
    EXPECT_STREQ(player.stateName(), "Teleporting");
    EXPECT_EQ(player.mode(), MovementMode::Teleport);
    EXPECT_EQ(player.collisionResponse(), CollisionResponse::Stop);
    EXPECT_EQ(player.sprite().currentAnimation(), 7);
    EXPECT_EQ(player.x().raw(), px(kStartX));
    EXPECT_EQ(player.y().raw(), px(4) + 248);
    EXPECT_EQ(player.speedY().raw(), 0);
    EXPECT_EQ(player.getBoundingBox()->x, kStartX - 8);
    EXPECT_EQ(player.getBoundingBox()->y, -7);
    EXPECT_EQ(player.facing(), Direction::Left);
    EXPECT_EQ(player.speedX().raw(), 384);  // the air speed it fell with

    world.steps(13);  // the beam-in again; the kept speed drifts it once before it lands
    EXPECT_STREQ(player.stateName(), "Standing");
    EXPECT_EQ(player.x().raw(), px(kStartX - 2) + 128);
    EXPECT_EQ(player.facing(), Direction::Left);
}

TEST(PlayerScroll, ClimbingPastTheTopStartPositionScrollsUp) {
    // startPosTop 180: a climber whose next position is at most 180 below
    // the boundary's top (240 + 180 = 420) starts an upward scroll. Climbing
    // 1.0 per update from 436, the grab update reaches 435 and the 15th
    // update after it would reach 420.
    PlayerFile file = PlayerFile::standard();
    file.set("ScrollConstants", "startPosTop", "180");
    PlayerWorld world(kLadderShaft, file, kLowerFirstLevel);
    ASSERT_EQ(world.map().currentBoundaryIndex(), 0);  // the arrival band, below the other
    world.beamIn();
    ASSERT_EQ(world.player().y().raw(), px(436));
    world.step(Keys().up());
    ASSERT_STREQ(world.player().stateName(), "Climbing");
    int updates = 0;
    while (updates < 40 && world.host.scrolls.empty()) {
        world.step(Keys().up());
        ++updates;
    }
    EXPECT_EQ(updates, 15);
    EXPECT_EQ(world.host.scrolls, std::vector<Direction>{Direction::Up});
    EXPECT_EQ(world.player().y().raw(), px(420));  // 421, then one scroll step up
    world.step(Keys().up());
    EXPECT_EQ(world.player().y().raw(), px(419));
}

TEST(PlayerScroll, JumpingPastTheTopStartPositionDoesNotScroll) {
    PlayerFile file = PlayerFile::standard();
    file.set("ScrollConstants", "startPosTop", "180");
    PlayerWorld world(kLadderShaft, file, kLowerFirstLevel);
    ASSERT_EQ(world.map().currentBoundaryIndex(), 0);  // the arrival band, below the other
    world.beamIn();
    world.step(Keys().jump());
    world.steps(16);
    ASSERT_EQ(world.player().y().raw(), px(436 - 34));  // the apex, above 420
    world.steps(30);
    EXPECT_TRUE(world.host.scrolls.empty());
    EXPECT_STREQ(world.player().stateName(), "Standing");
}
