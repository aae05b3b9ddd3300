#include "player_fixture.h"

// The player's shot step: three slots offered in order, the shooting pose and
// its timer, turning by shooting, and the shots' flight. The standard shot
// starts 8 right (16 left) of the pixel x and 4 above the position; the pose
// lasts 8 updates.

namespace {

std::string ladderScreen() {
    std::string rows;
    for (int row = 0; row < 15; ++row) rows += row >= 13 ? "################\n" : row >= 6 ? "........H.......\n" : "................\n";
    return rows;
}

}  // namespace

TEST(PlayerShots, ThreeShotsFlyAndAFourthPressFiresNothing) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.steps(3, Keys().shoot());
    Voltaro& player = world.player();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(player.bullet(i).isActive()) << "slot " << i;
    EXPECT_EQ(player.shootingTimer(), 1);  // restarted by the third shot

    world.step(Keys().shoot());
    EXPECT_EQ(player.shootingTimer(), 2);  // not restarted: no slot was free
    EXPECT_EQ(player.bullet(0).rect().x, 152);
    EXPECT_EQ(player.bullet(1).rect().x, 148);
    EXPECT_EQ(player.bullet(2).rect().x, 144);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(player.bullet(i).rect().y, 192) << "slot " << i;
        EXPECT_EQ(player.bullet(i).direction(), Direction::Right) << "slot " << i;
    }
}

TEST(PlayerShots, ShotMovesOnceBeforeItsFirstDraw) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().shoot());  // starts at 128 + 8 = 136
    EXPECT_EQ(world.player().bullet(0).rect().x, 140);
    world.video.clearCalls();
    world.player().draw(world.camera);
    SDL_Surface* shotImage = world.video.surfaceFor("shot.bmp");
    int shotsDrawn = 0;
    for (const RecordingVideoService::DrawCall& call : world.video.calls()) {
        if (call.source != shotImage) continue;
        ++shotsDrawn;
        EXPECT_EQ(call.x, 140);  // the view starts at world x 0
        EXPECT_EQ(call.y, 192);
        EXPECT_FALSE(call.hasSourceRect);
    }
    EXPECT_EQ(shotsDrawn, 1);
}

TEST(PlayerShots, ShootingWithTheOppositeDirectionHeldTurnsFirst) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().left().fresh().shoot());
    EXPECT_EQ(world.player().facing(), Direction::Left);
    EXPECT_EQ(world.player().bullet(0).direction(), Direction::Left);
    EXPECT_EQ(world.player().bullet(0).rect().x, 128 - 16 - 4);
}

TEST(PlayerShots, PoseLastsTheConfiguredNumberOfUpdates) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().shoot());
    EXPECT_TRUE(world.player().shootingPose());
    world.steps(7);
    EXPECT_TRUE(world.player().shootingPose());
    EXPECT_EQ(world.player().shootingTimer(), 8);
    world.step();
    EXPECT_FALSE(world.player().shootingPose());
}

TEST(PlayerShots, ZeroShootingDurationNeverShowsThePose) {
    PlayerFile file = PlayerFile::standard();
    file.set("Durations", "shooting", "0");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().shoot());
    EXPECT_TRUE(world.player().bullet(0).isActive());
    EXPECT_FALSE(world.player().shootingPose());
}

TEST(PlayerShots, ShotEndsWhenItLeavesTheViewAndItsSlotFiresAgain) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.step(Keys().shoot());
    world.steps(28);
    EXPECT_EQ(world.player().bullet(0).rect().x, 252);
    EXPECT_TRUE(world.player().bullet(0).isActive());
    world.step();
    EXPECT_FALSE(world.player().bullet(0).isActive());  // x 256 only touches the view
    world.step(Keys().shoot());
    EXPECT_TRUE(world.player().bullet(0).isActive());
    EXPECT_FALSE(world.player().bullet(1).isActive());
}

TEST(PlayerShots, NoShotsDuringTheBeam) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.step(Keys().shoot());
    EXPECT_FALSE(world.player().bullet(0).isActive());
    EXPECT_FALSE(world.player().shootingPose());
}

TEST(PlayerShots, ShootingHoldsAClimberStillForThePose) {
    PlayerWorld world(ladderScreen(), PlayerFile::standard());
    world.beamIn();
    world.step(Keys().up());  // grabs and climbs to 195, facing left
    world.step(Keys().up().shoot());
    EXPECT_EQ(world.player().y().raw(), px(195));
    EXPECT_EQ(world.player().bullet(0).direction(), Direction::Left);
    world.steps(7, Keys().up());
    EXPECT_EQ(world.player().y().raw(), px(195));
    world.step(Keys().up());  // the pose has ended
    EXPECT_EQ(world.player().y().raw(), px(194));
}
