#include "world/camera.h"
#include "world/collision_box.h"
#include "world/geometry.h"

#include <gtest/gtest.h>

TEST(RectsOverlap, EdgesAndCornersDoNotOverlap) {
    const SDL_Rect a = makeRect(0, 0, 16, 16);
    EXPECT_FALSE(rectsOverlap(a, makeRect(16, 0, 16, 16)));   // right edge
    EXPECT_FALSE(rectsOverlap(a, makeRect(0, 16, 16, 16)));   // bottom edge
    EXPECT_FALSE(rectsOverlap(a, makeRect(16, 16, 16, 16)));  // corner
    EXPECT_TRUE(rectsOverlap(a, makeRect(15, 0, 16, 16)));
    EXPECT_TRUE(rectsOverlap(a, makeRect(-15, -15, 16, 16)));
}

TEST(RectsOverlap, ZeroWidthRectangleOverlapsOnlyStrictlyInside) {
    const SDL_Rect wide = makeRect(10, 0, 20, 10);
    EXPECT_TRUE(rectsOverlap(makeRect(15, 0, 0, 10), wide));
    EXPECT_FALSE(rectsOverlap(makeRect(10, 0, 0, 10), wide));
}

TEST(RectsOverlap, WidensFieldsSoSumsDoNotOverflow) {
    EXPECT_TRUE(rectsOverlap(makeRect(32760, 0, 100, 10), makeRect(32767, 0, 1, 10)));
}

TEST(MakeRect, CutsToSixteenBits) {
    const SDL_Rect rect = makeRect(70000, -70000, 65537, -1);
    EXPECT_EQ(rect.x, 70000 - 65536);
    EXPECT_EQ(rect.y, -70000 + 65536);
    EXPECT_EQ(rect.w, 1);
    EXPECT_EQ(rect.h, 65535);
}

TEST(Camera, FollowCentresWithinBounds) {
    Camera camera;
    camera.setBounds(makeRect(0, 0, 1024, 240));
    camera.follow(makeRect(100, 50, 16, 24));
    EXPECT_EQ(camera.view().x, 0);
    camera.follow(makeRect(500, 50, 16, 24));
    EXPECT_EQ(camera.view().x, 380);
    camera.follow(makeRect(1000, 50, 16, 24));
    EXPECT_EQ(camera.view().x, 768);
}

TEST(Camera, FollowInOneScreenBoundaryAlwaysGivesItsX) {
    Camera camera;
    camera.setBounds(makeRect(512, 0, 256, 240));
    for (int x : {0, 300, 512, 600, 700, 2000}) {
        camera.follow(makeRect(x, 0, 16, 16));
        EXPECT_EQ(camera.view().x, 512) << "target x " << x;
    }
}

TEST(Camera, NarrowBoundaryTakesLeftRuleFirst) {
    Camera camera;
    camera.setBounds(makeRect(512, 0, 128, 240));  // limit 384 lies left of 512
    camera.follow(makeRect(0, 0, 16, 16));
    EXPECT_EQ(camera.view().x, 512);
    camera.follow(makeRect(700, 0, 16, 16));
    EXPECT_EQ(camera.view().x, 384);
    // Centred at 480: left of the boundary (the left rule) but also left of
    // the right rule's limit. Only the left rule applies; letting the right
    // rule correct its result (a clamp to the limit after the left edge)
    // would give 384.
    camera.follow(makeRect(472, 0, 16, 16));
    EXPECT_EQ(camera.view().x, 512);
}

TEST(Camera, SetBoundsMovesViewToTopAndFollowKeepsY) {
    Camera camera;
    camera.setBounds(makeRect(0, 480, 512, 240));
    EXPECT_EQ(camera.view().y, 480);
    camera.move(0, -4);
    camera.follow(makeRect(300, 0, 16, 16));
    EXPECT_EQ(camera.view().y, 476);
    EXPECT_EQ(camera.view().w, 256);
    EXPECT_EQ(camera.view().h, 240);
    EXPECT_EQ(camera.toScreenX(300), 300 - camera.view().x);
    EXPECT_EQ(camera.toScreenY(500), 24);
}

TEST(Camera, VisibilityIsStrictOverlapWithView) {
    Camera camera;
    camera.setBounds(makeRect(0, 0, 1024, 240));
    camera.follow(makeRect(0, 0, 16, 16));
    EXPECT_FALSE(camera.isVisible(makeRect(256, 100, 8, 8)));
    EXPECT_TRUE(camera.isVisible(makeRect(249, 100, 8, 8)));
    EXPECT_FALSE(camera.isVisible(makeRect(-8, 100, 8, 8)));
}

TEST(CollisionBox, FollowsItsOwnersRectangle) {
    SDL_Rect player = makeRect(100, 2080, 16, 24);
    const SDL_Rect enemy = makeRect(112, 2104, 16, 8);
    const CollisionBox playerBox(&player);
    const CollisionBox enemyBox(&enemy);
    EXPECT_FALSE(playerBox.intersects(enemyBox));  // y + h == 2104 only touches
    player.y = 2081;
    EXPECT_TRUE(playerBox.intersects(enemyBox));
    EXPECT_FALSE(CollisionBox().intersects(enemyBox));
}
