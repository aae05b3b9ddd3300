#include "player_fixture.h"

// How the player file's values reach the character: Speed pairs, options,
// durations, the bounding box and the shot image.

TEST(PlayerConfiguration, SpeedFractionIsAddedToTheWholePixels) {
    PlayerFile file = PlayerFile::standard();
    file.set("XSpeed", "runningInt", "1").set("XSpeed", "runningFraction", "128");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.steps(7, Keys().right());  // Accelerating lasts 6 updates, then Running
    ASSERT_STREQ(world.player().stateName(), "Running");
    EXPECT_EQ(world.player().speedX().raw(), 384);
}

TEST(PlayerConfiguration, JumpFractionAbove255CarriesIntoThePixels) {
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "jumpingInt", "4").set("YSpeed", "jumpingFraction", "300");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().jump());
    EXPECT_EQ(world.player().speedY().raw(), 1324);  // 4 * 256 + 300
}

TEST(PlayerConfiguration, NegativeSpeedIsANegativeIntPlusAPositiveFraction) {
    PlayerFile file = PlayerFile::standard();
    file.set("YSpeed", "minInt", "-1").set("YSpeed", "minFraction", "128");  // -0.5, not -1.5
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().jump());
    world.steps(30);  // well past the top of the arc, still in the air
    ASSERT_STREQ(world.player().stateName(), "Airborne");
    const int32_t before = world.player().y().raw();
    world.step();
    EXPECT_EQ(world.player().y().raw() - before, 128);       // the fall is capped at 0.5 pixel
    EXPECT_EQ(world.player().speedY().raw(), -128 - 64);     // capped, then gravity
}

TEST(PlayerConfiguration, OptionsAreOnlyTrueWhenWrittenExactlyTrue) {
    for (const char* spelling : {"True", "1", "TRUE", "yes"}) {
        PlayerFile file = PlayerFile::standard();
        file.set("Options", "noJumpDelay", spelling);
        PlayerWorld world(kFlatScreen, file);
        world.beamIn();
        world.step(Keys().jump());
        EXPECT_EQ(world.player().y().raw(), px(kStandY)) << spelling << " must read as false";
    }
    PlayerFile file = PlayerFile::standard();
    file.set("Options", "noJumpDelay", "true");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().jump());
    EXPECT_EQ(world.player().y().raw(), px(kStandY - 4));
}

TEST(PlayerConfiguration, WithoutDurationsAcceleratingNeverReachesRunning) {
    PlayerFile file = PlayerFile::standard();
    file.removeSection("Durations");
    PlayerWorld world(kFlatScreen, file);
    world.beamIn();
    world.step(Keys().right());
    EXPECT_EQ(world.player().sprite().currentAnimation(), 1);  // shown at once
    world.steps(49, Keys().right());
    EXPECT_STREQ(world.player().stateName(), "Accelerating");
    EXPECT_EQ(world.player().speedX().raw(), 128);
    EXPECT_EQ(world.player().x().raw(), px(kStartX) + 50 * 128);
}

TEST(PlayerConfiguration, BoundingBoxStartsAtTheBeamPositionWithTruncation) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    const SDL_Rect box = *world.player().getBoundingBox();
    EXPECT_EQ(box.x, kStartX - 8);
    EXPECT_EQ(box.y, -7);  // toInt(4 + 248/256 - 12) rounds toward zero
    EXPECT_EQ(box.w, 15);
    EXPECT_EQ(box.h, 23);
}

TEST(PlayerConfiguration, BoxSizeIsCutToSixteenBits) {
    PlayerFile file = PlayerFile::standard();
    file.set("BoundingBox", "width", "65537").set("BoundingBox", "height", "-1");
    PlayerWorld world(kFlatScreen, file);
    EXPECT_EQ(world.player().getBoundingBox()->w, 1);
    EXPECT_EQ(world.player().getBoundingBox()->h, 65535);
}

TEST(PlayerConfiguration, EmptyFileBuildsAPlayerFromDefaults) {
    PlayerWorld world(kFlatScreen, PlayerFile());
    ASSERT_FALSE(world.video.loadedNames().empty());
    EXPECT_EQ(world.video.loadedNames().back(), "empty");  // the shot image, loaded last
    world.steps(20, Keys().right().jump().shoot());
    world.player().draw(world.camera);
    EXPECT_EQ(world.player().speedX().raw(), 0);
    EXPECT_EQ(world.player().facing(), Direction::Right);
}

TEST(PlayerConfiguration, PlayerFreesItsSheetsAndShotImage) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    const int before = world.video.liveSurfaces();
    {
        RecordingHost host;
        const Voltaro second(IniDictionary("player.ini"), "player.ini", &host, &world.map());
        EXPECT_EQ(world.video.liveSurfaces(), before + 6);  // four sheets, the shot image, the overlay's glyphs
    }
    EXPECT_EQ(world.video.liveSurfaces(), before);
}
