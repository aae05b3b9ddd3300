#include "player_fixture.h"

#include <algorithm>

// The player's state machine frame by frame: the beam-in, walking, running,
// jumping, landing, falling off edges and the knock-back after a hit. The
// standard character stands at (128, 196) on the flat screen after beamIn.

// --- The beam-in --------------------------------------------------------------

TEST(PlayerBeamIn, FallsSixteenPixelsPerUpdateAndAppearsOnItsStopRow) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    Voltaro& player = world.player();
    EXPECT_STREQ(player.stateName(), "Teleporting");
    EXPECT_EQ(player.mode(), MovementMode::Teleport);
    EXPECT_EQ(player.sprite().currentAnimation(), 7);
    EXPECT_EQ(player.x().raw(), px(kStartX));
    EXPECT_EQ(player.y().raw(), px(4) + 248);

    world.step();
    EXPECT_EQ(player.y().raw(), px(20) + 248);
    EXPECT_EQ(player.getBoundingBox()->y, 8);
    world.steps(11);
    EXPECT_EQ(player.y().raw(), px(196) + 248);  // the stop row: it arrives in the next update
    EXPECT_STREQ(player.stateName(), "Teleporting");

    world.step();  // appears, and the first vertical move already lands on the floor
    EXPECT_STREQ(player.stateName(), "Standing");
    EXPECT_EQ(player.y().raw(), px(kStandY));
    EXPECT_EQ(player.getBoundingBox()->x, kStartX - 8);
    EXPECT_EQ(player.getBoundingBox()->y, kStandY - 12);
}

TEST(PlayerBeamIn, StopOffTheSixteenPixelGridStopsOnTheStopPixel) {
    // 190 is not 4 plus a multiple of 16: the beam passes from 180 to 196.
    PlayerWorld world(kFlatScreen, PlayerFile::standard(),
                      "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\nteleportStopPosY = 190\n");
    world.steps(12);
    EXPECT_STREQ(world.player().stateName(), "Teleporting");
    EXPECT_EQ(world.player().y().raw(), px(190) + 248);
    world.step();
    EXPECT_STREQ(world.player().stateName(), "Appearing");
    world.steps(20);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
}

TEST(PlayerBeamIn, StopAboveTheStartStopsOnTheStopPixel) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard(),
                      "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\nteleportStopPosY = 0\n");
    world.step();
    EXPECT_EQ(world.player().y().raw(), 248);
    world.step();
    EXPECT_STREQ(world.player().stateName(), "Appearing");
}

TEST(PlayerBeamIn, AppearingFallsWithoutTheFallLimitAndLandsOnAWholePixel) {
    // Stop at 180: the player appears at 180 + 248/256 and falls 16 pixels
    // with gravity 0.25; the fastest fall "min" (-0.5) is not applied.
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "minInt", "-1").set("YSpeed", "minFraction", "128");
    PlayerWorld world(kFlatScreen, file,
                      "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\nteleportStopPosY = 180\n");
    world.steps(12);
    EXPECT_STREQ(world.player().stateName(), "Appearing");
    EXPECT_EQ(world.player().sprite().currentAnimation(), 8);
    world.steps(10);
    // After 11 appearing updates: moved 64 * (0 + 1 + ... + 10) raw, speed -64 * 11.
    EXPECT_STREQ(world.player().stateName(), "Appearing");
    EXPECT_EQ(world.player().y().raw(), px(180) + 248 + 64 * 55);
    EXPECT_EQ(world.player().speedY().raw(), -704);
    world.step();  // n = 197 + 120/256 passes the floor limit 196
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(196));
}

TEST(PlayerBeamIn, OnlyIntAdjustmentKeepsTheFractionOfTheLandingMove) {
    PlayerFile file = PlayerFile::standard();
    file.set("Options", "onlyIntAdjustmentAtYCollision", "true");
    PlayerWorld world(kFlatScreen, file,
                      "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\nteleportStopPosY = 180\n");
    world.steps(23);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(196) + 120);
}

// --- Jumping ---------------------------------------------------------------------

TEST(PlayerJump, WithoutNoJumpDelayTheRiseStartsInTheNextUpdate) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    Voltaro& player = world.player();
    EXPECT_EQ(player.y().raw(), px(kStandY));
    EXPECT_EQ(player.speedY().raw(), px(4));
    EXPECT_STREQ(player.stateName(), "Airborne");
    EXPECT_EQ(player.mode(), MovementMode::Air);
    EXPECT_EQ(player.collisionResponse(), CollisionResponse::Rising);
    EXPECT_EQ(player.sprite().currentAnimation(), 0);  // the airborne handler picks 3 next update

    world.step();
    EXPECT_EQ(player.y().raw(), px(kStandY - 4));
    EXPECT_EQ(player.speedY().raw(), px(4) - 64);
    EXPECT_EQ(player.sprite().currentAnimation(), 3);
}

TEST(PlayerJump, NoJumpDelayRisesAtOnceWithoutGravity) {
    PlayerFile file = PlayerFile::standard();
    file.set("Options", "noJumpDelay", "true");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().jump());
    EXPECT_EQ(world.player().y().raw(), px(kStandY - 4));
    EXPECT_EQ(world.player().speedY().raw(), px(4));
    EXPECT_EQ(world.player().sprite().currentAnimation(), 3);
}

TEST(PlayerJump, WholeArcMatchesTheConstants) {
    // Jump 4.0, gravity 0.25, fastest fall 4.0. Press in update J; the rise
    // moves 4.0, 3.75, ..., 0.25 in J+1..J+16: 16 * (4 + 0.25) / 2 = 34
    // pixels, so the apex is 196 - 34 = 162. J+17 moves 0 (speed 0), J+18..J+33
    // fall 0.25, ..., 4.0 = 34 pixels back to 196 exactly (not beyond the
    // floor limit, so no landing yet); J+34 clamps -4.25 to -4 and lands.
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    int32_t highest = world.player().y().raw();
    int firstAtApex = 0;
    int landedAfter = 0;
    for (int k = 1; k <= 40 && landedAfter == 0; ++k) {
        world.step();
        if (world.player().y().raw() < highest) {
            highest = world.player().y().raw();
            firstAtApex = k;
        }
        if (std::string(world.player().stateName()) == "Standing") landedAfter = k;
    }
    EXPECT_EQ(highest, px(162));
    EXPECT_EQ(firstAtApex, 16);
    EXPECT_EQ(landedAfter, 34);
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
    EXPECT_EQ(world.player().speedY().raw(), -256);  // the ground probe speed
}

TEST(PlayerJump, ReleasingTheKeyCutsTheRiseOnce) {
    // jumpReleasedMax 2.0, jumpReleased 1.0.
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.step();  // rises 4.0; speed now 3.75
    world.step(Keys().releaseJump());  // 3.75 > 2.0: cut to 1.0, rises 1.0
    EXPECT_EQ(world.player().y().raw(), px(191));
    EXPECT_EQ(world.player().speedY().raw(), 256 - 64);
    world.step(Keys().releaseJump());  // 0.75 is not above 2.0: unchanged
    EXPECT_EQ(world.player().y().raw(), px(191) - 192);
    EXPECT_EQ(world.player().speedY().raw(), 128);
}

TEST(PlayerJump, LandingWhileHoldingTheFacingDirectionRuns) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.steps(34, Keys().right());
    EXPECT_STREQ(world.player().stateName(), "Running");
    EXPECT_EQ(world.player().speedX().raw(), 384);
    EXPECT_EQ(world.player().sprite().currentAnimation(), 2);
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
}

TEST(PlayerJump, LandingWithoutDirectionStands) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.steps(10, Keys().right());
    world.steps(24);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().speedX().raw(), 0);
    EXPECT_EQ(world.player().sprite().currentAnimation(), 0);
}

TEST(PlayerJump, AirSpeedDependsOnWhetherTheDirectionWasJustPressed) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.step(Keys().left().fresh());
    EXPECT_EQ(world.player().speedX().raw(), 256);  // jumpAccelerating
    EXPECT_EQ(world.player().facing(), Direction::Left);
    world.step(Keys().left());
    EXPECT_EQ(world.player().speedX().raw(), 384);  // jumping
    world.step();
    EXPECT_EQ(world.player().speedX().raw(), 0);
}

// --- Walking and running ----------------------------------------------------

TEST(PlayerWalk, AcceleratesRunsDeceleratesAndStands) {
    // Accelerating 6 updates at 0.5 (animation 1 from its 3rd), running 1.5,
    // decelerating 6 updates at 0.5.
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    struct Expected {
        bool right;
        const char* state;
        int32_t xRaw;
        int32_t animation;
    };
    const Expected frames[] = {
        {true, "Accelerating", px(128) + 128, 0},  // entry keeps Standing's animation
        {true, "Accelerating", px(129), 0},
        {true, "Accelerating", px(129) + 128, 0},
        {true, "Accelerating", px(130), 1},  // state frame 3: animation 1
        {true, "Accelerating", px(130) + 128, 1},
        {true, "Accelerating", px(131), 1},
        {true, "Running", px(132) + 128, 2},  // state frame 6: runs at once
        {true, "Running", px(134), 2},
        {false, "Decelerating", px(134) + 128, 2},
        {false, "Decelerating", px(135), 2},
        {false, "Decelerating", px(135) + 128, 2},
        {false, "Decelerating", px(136), 1},
        {false, "Decelerating", px(136) + 128, 1},
        {false, "Decelerating", px(137), 1},
        {false, "Standing", px(137), 0},
    };
    int update = 0;
    for (const Expected& expected : frames) {
        ++update;
        world.step(expected.right ? Keys().right() : Keys());
        EXPECT_STREQ(world.player().stateName(), expected.state) << "update " << update;
        EXPECT_EQ(world.player().x().raw(), expected.xRaw) << "update " << update;
        EXPECT_EQ(world.player().sprite().currentAnimation(), expected.animation) << "update " << update;
    }
}

TEST(PlayerWalk, FirstFrameOptionsMoveAtRunningSpeed) {
    PlayerFile file = PlayerFile::standard();
    file.set("Options", "firstAcceleratingFrameIsWalkingSpeed", "true");
    file.set("Options", "firstDeceleratingFrameIsWalkingSpeed", "true");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().right());  // Accelerating's first frame: 1.5
    EXPECT_EQ(world.player().x().raw(), px(129) + 128);
    world.step(Keys().right());  // then 0.5
    EXPECT_EQ(world.player().x().raw(), px(130));
    world.steps(5, Keys().right());
    ASSERT_STREQ(world.player().stateName(), "Running");
    ASSERT_EQ(world.player().x().raw(), px(133) + 128);
    world.step();  // Decelerating's first frame: 1.5
    EXPECT_EQ(world.player().x().raw(), px(135));
    world.step();  // then 0.5
    EXPECT_EQ(world.player().x().raw(), px(135) + 128);
}

TEST(PlayerWalk, NeverRunsWhenThePreviousAnimationCountEqualsTheDuration) {
    PlayerFile file = PlayerFile::standard();
    file.set("Durations", "accelerating", "4").set("Durations", "acceleratingPreviousAnimation", "4");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.steps(40, Keys().right());
    EXPECT_STREQ(world.player().stateName(), "Accelerating");
    EXPECT_EQ(world.player().sprite().currentAnimation(), 1);
    EXPECT_EQ(world.player().speedX().raw(), 128);
}

TEST(PlayerWalk, RunningTurnsAtFullSpeed) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.steps(7, Keys().right());
    ASSERT_STREQ(world.player().stateName(), "Running");
    world.step(Keys().left().fresh());
    EXPECT_STREQ(world.player().stateName(), "Running");
    EXPECT_EQ(world.player().facing(), Direction::Left);
    EXPECT_EQ(world.player().x().raw(), px(131));  // 132.5 - 1.5
}

TEST(PlayerWalk, DirectionWhileDeceleratingAcceleratesAgain) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.steps(7, Keys().right());
    world.step();
    ASSERT_STREQ(world.player().stateName(), "Decelerating");
    world.step(Keys().left().fresh());
    EXPECT_STREQ(world.player().stateName(), "Accelerating");
    EXPECT_EQ(world.player().facing(), Direction::Left);
    EXPECT_EQ(world.player().x().raw(), px(132) + 128);  // 133.0 - 0.5
}

const std::string kEdgeScreen = openRows(13) +
    "#########.......\n"
    "#########.......\n";

TEST(PlayerWalk, WalkingOffAnEdgeFallsAtOnceAndIgnoresAJumpPress) {
    // The box's left edge (x - 8) passes the floor's end at 144 when x
    // reaches 152.0: after 6 accelerating updates (131.0) and 13 running
    // updates of 1.5, in update 20.
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "fallingInt", "-1").set("YSpeed", "fallingFraction", "128");  // -0.5
    PlayerWorld world(kEdgeScreen, file);
    world.beamIn();
    world.steps(19, Keys().right());
    ASSERT_STREQ(world.player().stateName(), "Running");
    ASSERT_EQ(world.player().x().raw(), px(150) + 128);
    world.step(Keys().right().jump());
    EXPECT_STREQ(world.player().stateName(), "Airborne");
    EXPECT_EQ(world.player().collisionResponse(), CollisionResponse::Landing);
    // The ground probe moved 1 pixel down, the fall entry 0.5 more at once.
    EXPECT_EQ(world.player().y().raw(), px(197) + 128);
    EXPECT_EQ(world.player().speedY().raw(), -128 - 64);  // falling, then gravity
}

// --- Hits ------------------------------------------------------------------------

TEST(PlayerHit, KnockBackStartsInTheNextUpdateAwayFromTheFacing) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    Voltaro& player = world.player();
    player.hurt();
    EXPECT_EQ(player.invincibleTimer(), 20);
    EXPECT_STREQ(player.stateName(), "Standing");
    EXPECT_EQ(player.sprite().currentAnimation(), 6);
    EXPECT_TRUE(player.sprite().isPingPong());

    world.step();
    EXPECT_STREQ(player.stateName(), "Reeling");
    EXPECT_EQ(player.invincibleTimer(), 19);
    EXPECT_EQ(player.facing(), Direction::Left);
    EXPECT_EQ(player.x().raw(), px(127) + 128);  // reeling 0.5 to the left
    EXPECT_EQ(player.y().raw(), px(195));        // reeling 1.0 upwards
    EXPECT_EQ(player.sprite().currentAnimation(), 6);
}

TEST(PlayerHit, SecondContactWhileInvincibleChangesNothing) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.player().hurt();
    world.steps(3);
    world.player().hurt();
    world.step();
    EXPECT_EQ(world.player().stateFrame(), 4);  // Reeling was not restarted
    EXPECT_EQ(world.player().invincibleTimer(), 16);
}

TEST(PlayerHit, ReelingStopsOnTheFloorAndStandsWhenItsTimeIsUp) {
    // Reeling 13 updates. The knock-back rises 1.0, 0.75, 0.5, 0.25, 0 and
    // falls back to 196 in its 9th update; the 10th meets the floor, and the
    // Stop response only halts it.
    PlayerFile file = PlayerFile::standard();
    file.set("Durations", "reeling", "13");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.player().hurt();
    const int32_t expectedY[] = {px(195),       px(194) + 64,  px(193) + 192, px(193) + 128, px(193) + 128,
                                 px(193) + 192, px(194) + 64,  px(195),       px(196),       px(196)};
    int update = 0;
    for (const int32_t y : expectedY) {
        world.step();
        ++update;
        EXPECT_EQ(world.player().y().raw(), y) << "reeling update " << update;
    }
    EXPECT_STREQ(world.player().stateName(), "Reeling");
    EXPECT_EQ(world.player().speedY().raw(), 0);
    world.steps(3);
    EXPECT_STREQ(world.player().stateName(), "Reeling");
    EXPECT_EQ(world.player().y().toInt(), kStandY);
    world.step();
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().facing(), Direction::Right);  // turned back
    EXPECT_EQ(world.player().x().raw(), px(121) + 128);    // 13 updates of 0.5 to the left
    EXPECT_EQ(world.player().invincibleTimer(), 6);
    world.steps(6);
    EXPECT_EQ(world.player().invincibleTimer(), 0);
    world.player().hurt();
    EXPECT_EQ(world.player().invincibleTimer(), 20);
}

TEST(PlayerHit, KnockBackEndingAtRestOnTheFloorProbesTheGround) {
    // Reeling 14 updates: on the floor the Stop response alternates between
    // speed 0 (after a hit) and -0.25 (after gravity); the 14th leaves it at
    // 0. Ending the knock-back hands over the ground probe speed, so the
    // first Standing update finds the floor like any other ground update.
    // A falling speed of two pixels would otherwise drop the player into the
    // floor without looking at the map.
    for (const char* fallingInt : {"0", "-2"}) {
        SCOPED_TRACE(std::string("fallingInt ") + fallingInt);
        PlayerFile file = PlayerFile::standard();
        file.set("Durations", "reeling", "14").set("YSpeed", "fallingInt", fallingInt);
        PlayerWorld world(kFlatScreen, file);
        world.beamIn();
        world.player().hurt();
        world.steps(14);
        ASSERT_STREQ(world.player().stateName(), "Reeling");
        ASSERT_EQ(world.player().speedY().raw(), 0);
        world.step();
        EXPECT_STREQ(world.player().stateName(), "Standing");
        EXPECT_EQ(world.player().speedY().raw(), px(-1));
        EXPECT_EQ(world.player().y().raw(), px(kStandY));
        world.steps(5);
        EXPECT_STREQ(world.player().stateName(), "Standing");
        EXPECT_EQ(world.player().y().raw(), px(kStandY));
    }
}

TEST(PlayerHit, KnockBackEndingInTheAirKeepsItsSpeed) {
    // Reeling 3 updates: the knock-back rises 1.0, 0.75, 0.5; it ends with
    // the player still rising at 0.25, which the Standing state keeps: the
    // ground move probes 0.25 upwards, meets no floor, and the player falls.
    PlayerFile file = PlayerFile::standard();
    file.set("Durations", "reeling", "3");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.player().hurt();
    world.steps(3);
    ASSERT_STREQ(world.player().stateName(), "Reeling");
    ASSERT_EQ(world.player().speedY().raw(), 64);
    world.step();
    EXPECT_STREQ(world.player().stateName(), "Airborne");
}

TEST(PlayerHit, WithoutInvincibilityEveryContactRestartsTheKnockBack) {
    PlayerFile file = PlayerFile::standard();
    file.set("Durations", "invincible", "0");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.player().hurt();
    world.steps(3);
    world.player().hurt();
    world.step();
    EXPECT_EQ(world.player().stateFrame(), 1);
    EXPECT_EQ(world.player().facing(), Direction::Right);  // reversed twice
}
