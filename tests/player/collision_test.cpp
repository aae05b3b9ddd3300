#include "player_fixture.h"

// The player's moves against the map: horizontal clamps that keep the
// attempted fraction, the map's left edge, the ground probe, and the vertical
// collision responses.

namespace {

// A two-tile wall in column 9 (x 144..159) on the rows of a standing body.
const std::string kWallScreen = openRows(11) +
    ".........#......\n"
    ".........#......\n"
    "################\n"
    "################\n";

// A solid ceiling row at y 160..175, 8 pixels above a standing head (184).
const std::string kCeilingScreen = openRows(10) +
    "################\n"
    "................\n"
    "................\n"
    "################\n"
    "################\n";

}  // namespace

TEST(PlayerHorizontalMove, ClampKeepsTheFractionOfTheAttemptedMove) {
    // Box 16 wide from 4 left of the position: at x 128 its right edge x + w
    // is 140, 3 free pixels before the wall at 144. One accelerating update
    // of 0.25, then running at 5.5 into the wall.
    PlayerFile file = PlayerFile::standard();
    file.set("BoundingBox", "xOffset", "-4").set("BoundingBox", "width", "16");
    file.set("XSpeed", "acceleratingInt", "0").set("XSpeed", "acceleratingFraction", "64");
    file.set("XSpeed", "runningInt", "5").set("XSpeed", "runningFraction", "128");
    file.set("Durations", "accelerating", "1").set("Durations", "acceleratingPreviousAnimation", "0");
    PlayerWorld world(kWallScreen, file);
    world.beamIn();

    world.step(Keys().right());
    EXPECT_EQ(world.player().x().raw(), px(128) + 64);
    world.step(Keys().right());  // limit pixel 131, attempted 133.75
    EXPECT_STREQ(world.player().stateName(), "Running");
    EXPECT_EQ(world.player().x().raw(), px(131) + 192);
    EXPECT_EQ(world.player().getBoundingBox()->x + world.player().getBoundingBox()->w, 143);
    world.step(Keys().right());  // no clearance left, attempted 137.25
    EXPECT_EQ(world.player().x().raw(), px(131) + 64);
    EXPECT_EQ(world.player().speedX().raw(), px(5) + 128);  // the wall does not stop the run
}

TEST(PlayerHorizontalMove, MapsLeftEdgeStopsTheBoxAtZero) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.steps(100, Keys().left());
    EXPECT_EQ(world.player().getBoundingBox()->x, 0);
    EXPECT_EQ(world.player().getX(), 8);
    world.step(Keys().left());
    EXPECT_EQ(world.player().getBoundingBox()->x, 0);
    EXPECT_EQ(world.player().getX(), 8);
}

TEST(PlayerGroundProbe, NegativeCollisionSpeedKeepsTheFloor) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.steps(5);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
    EXPECT_EQ(world.player().speedY().raw(), -256);
}

TEST(PlayerGroundProbe, ZeroCollisionSpeedDoesNotReachTheFloorAndFalls) {
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "collisionInt", "0");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step();  // n equals the position: not beyond the limit, so no ground
    EXPECT_STREQ(world.player().stateName(), "Airborne");
    EXPECT_EQ(world.player().speedY().raw(), -64);  // falling 0, then gravity
    world.step();  // 0.25 down meets the floor again
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
}

TEST(PlayerVerticalMove, CeilingBumpWhileRisingTurnsIntoAFall) {
    // 8 free pixels above the head: the rise moves 4.0, then 3.75 (to 188.25,
    // 4 pixels short of the ceiling), then 3.5 meets it.
    PlayerWorld world(kCeilingScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.steps(2);
    EXPECT_EQ(world.player().y().raw(), px(188) + 64);
    EXPECT_EQ(world.player().collisionResponse(), CollisionResponse::Rising);
    world.step();
    EXPECT_EQ(world.player().y().raw(), px(188));
    EXPECT_EQ(world.player().speedY().raw(), -256);  // the collision speed, no gravity this update
    EXPECT_EQ(world.player().collisionResponse(), CollisionResponse::Landing);
    EXPECT_STREQ(world.player().stateName(), "Airborne");
    world.step();
    EXPECT_EQ(world.player().y().raw(), px(189));
    world.steps(10);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
}

TEST(PlayerVerticalMove, LandingSnapsToTheWholePixelByDefault) {
    // Gravity 0.375 (raw 96): the rise moves raw 1024, 928, ..., 64 in 11
    // updates (5984 raw), the fall 32, 128, ..., 992 in the next 11 (5632
    // raw), reaching 194 + 160/256. The 23rd update attempts -1088, raised to
    // the fastest fall -1024: n = 198 + 160/256, beyond the floor limit 196.
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "gravityFraction", "96");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().jump());
    world.steps(22);
    ASSERT_STREQ(world.player().stateName(), "Airborne");
    ASSERT_EQ(world.player().y().raw(), px(194) + 160);
    world.step();
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
}

TEST(PlayerVerticalMove, OnlyIntAdjustmentKeepsTheLandingMovesFraction) {
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "gravityFraction", "96");
    file.set("Options", "onlyIntAdjustmentAtYCollision", "true");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    // The beam's landing already kept its 248/256.
    ASSERT_EQ(world.player().y().raw(), px(kStandY) + 248);
    world.step(Keys().jump());
    // The same arc as above from 196 + 248/256 attempts 199 + 152/256.
    world.steps(23);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(kStandY) + 152);
    world.steps(3);  // the ground probe keeps the fraction too
    EXPECT_EQ(world.player().y().raw(), px(kStandY) + 152);
}
