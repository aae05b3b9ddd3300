#include "player/bullet.h"

#include "support/recording_video_service.h"
#include "world/camera.h"

#include <gtest/gtest.h>

// The camera's view starts at world (0, 0): x 0..255, y 0..239.

TEST(Bullet, StartsFreeWithAnEightByEightRectangle) {
    const Bullet bullet;
    EXPECT_FALSE(bullet.isActive());
    EXPECT_EQ(bullet.direction(), Direction::None);
    EXPECT_EQ(bullet.rect().w, 8);
    EXPECT_EQ(bullet.rect().h, 8);
}

TEST(Bullet, FireTakesOnlyAFreeSlot) {
    Bullet bullet;
    EXPECT_TRUE(bullet.fire(10, 20, Direction::Right));
    EXPECT_FALSE(bullet.fire(99, 99, Direction::Left));
    EXPECT_EQ(bullet.rect().x, 10);
    EXPECT_EQ(bullet.rect().y, 20);
    EXPECT_EQ(bullet.direction(), Direction::Right);
}

TEST(Bullet, FireCutsThePositionToSixteenBits) {
    Bullet bullet;
    bullet.fire(70000, -70000, Direction::Left);
    EXPECT_EQ(bullet.rect().x, 70000 - 65536);
    EXPECT_EQ(bullet.rect().y, -70000 + 65536);
}

TEST(Bullet, FliesFourPixelsPerUpdateInItsDirection) {
    const Camera camera;
    Bullet right;
    Bullet left;
    right.fire(100, 50, Direction::Right);
    left.fire(100, 50, Direction::Left);
    right.update(camera);
    left.update(camera);
    EXPECT_EQ(right.rect().x, 104);
    EXPECT_EQ(left.rect().x, 96);
    EXPECT_EQ(right.rect().y, 50);
}

TEST(Bullet, ShotWithoutHorizontalDirectionStandsStill) {
    const Camera camera;
    Bullet bullet;
    bullet.fire(100, 50, Direction::Up);
    bullet.update(camera);
    EXPECT_EQ(bullet.rect().x, 100);
    EXPECT_TRUE(bullet.isActive());
}

TEST(Bullet, EndsOnceItOnlyTouchesTheViewsEdge) {
    const Camera camera;
    Bullet stays;
    Bullet ends;
    stays.fire(245, 100, Direction::Right);
    ends.fire(252, 100, Direction::Right);
    stays.update(camera);  // x 249: still overlaps the view
    ends.update(camera);   // x 256: only touches x 255's right edge
    EXPECT_TRUE(stays.isActive());
    EXPECT_FALSE(ends.isActive());

    Bullet leftward;
    leftward.fire(-4, 100, Direction::Left);
    leftward.update(camera);  // x -8: its right edge touches x 0
    EXPECT_FALSE(leftward.isActive());
}

TEST(Bullet, EndedSlotCanFireAgainAndFreeSlotDoesNotMove) {
    const Camera camera;
    Bullet bullet;
    bullet.fire(252, 100, Direction::Right);
    bullet.update(camera);
    ASSERT_FALSE(bullet.isActive());
    bullet.update(camera);
    EXPECT_EQ(bullet.rect().x, 256);
    EXPECT_TRUE(bullet.fire(10, 10, Direction::Left));
}

TEST(Bullet, DrawsTheWholeImageAtItsScreenPositionOnlyWhileInFlight) {
    RecordingVideoService video;
    video.setBitmapSize("shot.bmp", 20, 12);  // any size: only the 8x8 rectangle matters for flight
    const SurfaceHandle image = video.loadBitmap("shot.bmp");
    Camera camera;
    camera.move(100, 240);

    Bullet bullet;
    bullet.draw(image.get(), camera);
    EXPECT_TRUE(video.calls().empty());

    bullet.fire(150, 300, Direction::Right);
    bullet.draw(image.get(), camera);
    ASSERT_EQ(video.calls().size(), 1u);
    const RecordingVideoService::DrawCall& call = video.calls()[0];
    EXPECT_EQ(call.source, image.get());
    EXPECT_EQ(call.x, 50);
    EXPECT_EQ(call.y, 60);
    EXPECT_FALSE(call.hasSourceRect);
}
