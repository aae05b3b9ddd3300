#include "player_fixture.h"

// Grabbing, climbing and leaving ladders. The standard character stands at
// (128, 196), in tile column 8 (x 128..143); its ladder probes look at
// y + 11 (feet), y - 4 (chest), y - 12 (head), and 12 below / 12 above the
// position after the coming move.

namespace {

std::string screenWithLadderRows(int first, int last, bool ladderInFloor = false) {
    std::string rows;
    for (int row = 0; row < 15; ++row) {
        if (row >= 13) {
            rows += ladderInFloor ? "########H#######\n" : "################\n";
        } else if (row >= first && row <= last) {
            rows += "........H.......\n";
        } else {
            rows += "................\n";
        }
    }
    return rows;
}

constexpr int32_t kLadderCentreX = 136;  // pixels, the middle of column 8

}  // namespace

TEST(PlayerLadder, UpInFrontOfALadderEndingAtTheFeetCentresTurnsAndClimbs) {
    PlayerWorld world(screenWithLadderRows(6, 12), PlayerFile::standard());
    world.beamIn();
    EXPECT_EQ(world.player().ladder().mask(), 2 + 4 + 8);  // feet, chest, head

    world.step(Keys().up());
    Voltaro& player = world.player();
    EXPECT_STREQ(player.stateName(), "Climbing");
    EXPECT_EQ(player.mode(), MovementMode::Ladder);
    EXPECT_EQ(player.x().raw(), px(kLadderCentreX));
    EXPECT_EQ(player.getBoundingBox()->x, kLadderCentreX - 8);
    EXPECT_EQ(player.facing(), Direction::Left);
    EXPECT_EQ(player.y().raw(), px(kStandY - 1));  // climbs 1.0 in the same update
    EXPECT_EQ(player.sprite().currentAnimation(), 4);
    EXPECT_EQ(player.speedX().raw(), 0);
}

TEST(PlayerLadder, DownAtTheFootOfALadderEndingAtTheFeetDoesNothing) {
    PlayerWorld world(screenWithLadderRows(6, 12), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().down());
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().x().raw(), px(kStartX));
    EXPECT_EQ(world.player().facing(), Direction::Right);
}

TEST(PlayerLadder, LadderTopCarriesThePlayerAndUpDoesNothing) {
    PlayerWorld world(screenWithLadderRows(99, 99, true), PlayerFile::standard());
    world.beamIn();
    EXPECT_EQ(world.player().y().raw(), px(kStandY));
    EXPECT_EQ(world.player().ladder().mask(), 1);  // only under the feet
    world.step(Keys().up());
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().x().raw(), px(kStartX));
}

TEST(PlayerLadder, DownOnALadderTopStepsIntoTheLadder) {
    PlayerWorld world(screenWithLadderRows(99, 99, true), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().down());
    Voltaro& player = world.player();
    EXPECT_STREQ(player.stateName(), "Climbing");
    EXPECT_EQ(player.x().raw(), px(kLadderCentreX));
    EXPECT_EQ(player.facing(), Direction::Left);
    // heightHalf 12 into the ladder, then climbing down 1.0 in the same update.
    EXPECT_EQ(player.y().raw(), px(kStandY + 12 + 1));
    EXPECT_EQ(player.sprite().currentAnimation(), 5);  // chest and head were not on a ladder
}

TEST(PlayerLadder, LadderOnlyAboveTheHeadLiftsThePlayerOntoIt) {
    // A ladder hanging at y 96..159. Jump positions: 192, 188.25, 184.75,
    // 181.5, 178.5, 175.75, 173.25, 171. The 8th update's probe (at 173.25,
    // speed 2.25, next pixel y 171) sees the ladder only above the head (159).
    PlayerWorld world(screenWithLadderRows(6, 9), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.steps(8);
    ASSERT_EQ(world.player().y().raw(), px(171));
    ASSERT_EQ(world.player().ladder().mask(), 16);

    world.step(Keys().up());
    Voltaro& player = world.player();
    // 171 is 11 below its row's top (160), then up by the box height 23.
    EXPECT_EQ(player.y().raw(), px(137));
    EXPECT_EQ(player.getBoundingBox()->y, 125);
    EXPECT_EQ(player.x().raw(), px(kLadderCentreX));
    EXPECT_EQ(player.facing(), Direction::Left);
    EXPECT_STREQ(player.stateName(), "Airborne");
    EXPECT_EQ(player.ladder().mask(), 1 + 2 + 4 + 8);

    world.step(Keys().up());  // now the body is on the ladder: a real grab
    EXPECT_STREQ(player.stateName(), "Climbing");
    EXPECT_EQ(player.facing(), Direction::Right);
    EXPECT_EQ(player.y().raw(), px(136));
}

TEST(PlayerLadder, ClimbingPastTheTopStandsHeightHalfAboveTheTopRow) {
    // Ladder at y 144..207. The climbing handler sees the previous probe; it
    // shows the ladder at the feet only when taken at y 147 (chest 143).
    PlayerWorld world(screenWithLadderRows(9, 12), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().up());
    int updates = 0;
    while (updates < 100 && std::string(world.player().stateName()) == "Climbing") {
        world.step(Keys().up());
        ++updates;
    }
    EXPECT_EQ(updates, 50);
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().mode(), MovementMode::Ground);
    EXPECT_EQ(world.player().y().raw(), px(144 - 12));
    world.steps(3);  // standing on the ladder's top
    EXPECT_STREQ(world.player().stateName(), "Standing");
    EXPECT_EQ(world.player().y().raw(), px(144 - 12));
}

TEST(PlayerLadder, ClimbingPastTheTopStandsOnTheLadderInABandOffTheScreenGrid) {
    // Two screens stacked; a ladder at world y 256..319 (rows 16-19) stands
    // on a floor at y 320. The same climb in a band at y 240 (on the screen
    // grid) and at y 120 (off it) ends standing on the ladder's top at
    // 256 - 12: the stand position comes from the world's tile row, not from
    // the position within the 240-pixel screen.
    const std::string rows = openRows(16) + repeatRow("........H.......\n", 4) +
                             repeatRow("################\n", 2) + openRows(8);
    for (const int bandY : {240, 120}) {
        SCOPED_TRACE("band at y " + std::to_string(bandY));
        const std::string level = "boundaries = 1\nboundary0x = 0\nboundary0y = " + std::to_string(bandY) +
                                  "\nboundary0w = 256\nteleportStopPosY = " + std::to_string(308 - bandY) + "\n";
        PlayerWorld world(rows, PlayerFile::standard(), level);
        world.beamIn();
        ASSERT_EQ(world.player().y().raw(), px(308));
        world.step(Keys().up());
        ASSERT_STREQ(world.player().stateName(), "Climbing");
        int updates = 0;
        while (updates < 100 && std::string(world.player().stateName()) == "Climbing") {
            world.step(Keys().up());
            ++updates;
        }
        EXPECT_STREQ(world.player().stateName(), "Standing");
        EXPECT_EQ(world.player().y().raw(), px(256 - 12));
        world.steps(3);  // standing on the ladder's top
        EXPECT_STREQ(world.player().stateName(), "Standing");
        EXPECT_EQ(world.player().y().raw(), px(256 - 12));
    }
}

TEST(PlayerLadder, JumpWithoutVerticalKeyDropsOffTheLadder) {
    PlayerWorld world(screenWithLadderRows(6, 12), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().up());
    world.step(Keys().right().jump());
    EXPECT_STREQ(world.player().stateName(), "Airborne");
    EXPECT_EQ(world.player().facing(), Direction::Right);
    EXPECT_EQ(world.player().speedY().raw(), -64);  // falling 0, then gravity
}

TEST(PlayerLadder, ClimberHoldsStillAndItsFrameWhenNoVerticalKeyIsHeld) {
    PlayerWorld world(screenWithLadderRows(6, 12), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().up());
    const int32_t y = world.player().y().raw();
    world.steps(3);
    EXPECT_EQ(world.player().y().raw(), y);
    EXPECT_EQ(world.player().sprite().frameCounter(), 0);  // restarted after every step
    EXPECT_STREQ(world.player().stateName(), "Climbing");
}

TEST(PlayerLadder, ClimbingOffTheBottomOfAHangingLadderFalls) {
    // Ladder at y 96..159; grab it from the lifted position, then climb down
    // until no probe touches it.
    PlayerWorld world(screenWithLadderRows(6, 9), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().jump());
    world.steps(8);
    world.step(Keys().up());
    world.step(Keys().up());
    ASSERT_STREQ(world.player().stateName(), "Climbing");
    int updates = 0;
    while (updates < 100 && std::string(world.player().stateName()) == "Climbing") {
        world.step(Keys().down());
        ++updates;
    }
    EXPECT_STREQ(world.player().stateName(), "Airborne");
    EXPECT_FALSE(world.player().ladder().any());
    // Lost once even the head probe (y - 12) is below the ladder's last row
    // (159); the falling speed 0 leaves the player there.
    EXPECT_EQ(world.player().y().raw(), px(172));
}

TEST(PlayerLadder, GrabLeftOfTheMapsEdgeCentresOnColumnZero) {
    // A box 20 pixels right of the position lets the position reach pixel
    // x -20 while the box stops at the map's edge. The probes there read
    // column 0, so the grab centres the player on column 0 (x 8), not on a
    // column left of the map.
    std::string rows;
    for (int row = 0; row < 15; ++row) rows += row >= 13 ? "################\n" : row >= 6 ? "H...............\n" : "................\n";
    PlayerFile file = PlayerFile::standard();
    file.set("BoundingBox", "xOffset", "20").set("BoundingBox", "width", "8");
    PlayerWorld world(rows, file);
    world.beamIn();
    world.steps(120, Keys().left());
    ASSERT_EQ(world.player().getBoundingBox()->x, 0);
    ASSERT_EQ(world.player().getX(), -20);
    world.step(Keys().up());
    EXPECT_STREQ(world.player().stateName(), "Climbing");
    EXPECT_EQ(world.player().x().raw(), px(8));
    EXPECT_EQ(world.player().getBoundingBox()->x, 28);
}

TEST(PlayerLadder, LadderAboveTheHeadAboveTheBoundarysTopLiftsWithinItsRow) {
    // The player plays on the lower of two screens (boundary at y 240) and
    // stands at 244; a ladder hangs at y 192..223 in the screen above. The
    // jump reaches 240, 236.25, 232.75; the third update's probe sees the
    // ladder only above the head. Up then lifts the player from 232.75 to the
    // start of its row (224.75, 8 pixels: the position is 7.25 above the
    // boundary's top, in the row from 16 to 1 above it) and by its height 23.
    std::string rows;
    for (int row = 0; row < 15; ++row) rows += row == 12 || row == 13 ? "........H.......\n" : "................\n";
    rows += "................\n";
    for (int row = 1; row < 15; ++row) rows += "################\n";
    PlayerWorld world(rows, PlayerFile::standard(),
                      "boundaries = 2\nboundary0x = 0\nboundary0y = 240\nboundary0w = 256\n"
                      "boundary1x = 0\nboundary1y = 0\nboundary1w = 256\nteleportStopPosY = 4\n");
    world.beamIn();
    ASSERT_EQ(world.player().y().raw(), px(244));
    world.step(Keys().jump());
    world.steps(3);
    ASSERT_EQ(world.player().y().raw(), px(232) + 192);
    ASSERT_EQ(world.player().ladder().mask(), 16);
    world.step(Keys().up());
    EXPECT_EQ(world.player().y().raw(), px(224 - 23) + 192);
    EXPECT_STREQ(world.player().stateName(), "Airborne");
    EXPECT_EQ(world.player().x().raw(), px(kLadderCentreX));
}
