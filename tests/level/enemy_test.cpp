#include "level/enemy.h"

#include "player/player_fixture.h"
#include "resources/sprite.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"
#include "world/geometry.h"

#include <gtest/gtest.h>

namespace {

class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.enter();
        m_dir.write("enemy.ini", kEnemyIni);
        video.setBitmapSize("enemy.bmp", 16, 32);
    }

    RecordingVideoService video;

private:
    TempDir m_dir;
};

}  // namespace

TEST_F(EnemyTest, StandsAtItsFixedRectangle) {
    const Enemy enemy;
    EXPECT_EQ(enemy.rect().x, 112);
    EXPECT_EQ(enemy.rect().y, 2104);
    EXPECT_EQ(enemy.rect().w, 16);
    EXPECT_EQ(enemy.rect().h, 8);
    EXPECT_EQ(enemy.getCollisionBox().rect(), &enemy.rect());
}

TEST_F(EnemyTest, StandsWhereItIsPlaced) {
    const Enemy enemy(48, 200);
    EXPECT_EQ(enemy.rect().x, 48);
    EXPECT_EQ(enemy.rect().y, 200);
    EXPECT_EQ(enemy.rect().w, 16);
    EXPECT_EQ(enemy.rect().h, 8);
    const Enemy wrapped(70000, -1);  // cut to 16 bits like every rectangle
    EXPECT_EQ(wrapped.rect().x, 70000 - 65536);
    EXPECT_EQ(wrapped.rect().y, -1);
}

TEST_F(EnemyTest, ContactNeedsOnePixelOfOverlap) {
    const Enemy enemy;
    SDL_Rect player = makeRect(110, 2104 - 24, 16, 24);  // feet exactly on the enemy's top
    const CollisionBox playerBox(&player);
    EXPECT_FALSE(playerBox.intersects(enemy.getCollisionBox()));
    player.y += 1;
    EXPECT_TRUE(playerBox.intersects(enemy.getCollisionBox()));
}

TEST_F(EnemyTest, LoopsAnimationZeroOnUpdate) {
    Enemy enemy;
    const int shown[] = {0, 0, 1, 1, 0, 0, 1};
    for (int expected : shown) {
        enemy.update();
        EXPECT_EQ(enemy.sprite().currentFrame(), expected);
    }
    EXPECT_EQ(enemy.sprite().currentAnimation(), 0);
}

TEST_F(EnemyTest, DrawsSheetZeroAtItsScreenPositionWithOffsets) {
    Enemy enemy;
    Camera camera;
    camera.setBounds(makeRect(0, 1920, 512, 240));
    camera.follow(makeRect(0, 0, 16, 16));
    video.clearCalls();
    enemy.draw(camera);
    ASSERT_EQ(video.calls().size(), 1u);
    const auto& call = video.calls()[0];
    EXPECT_EQ(call.source, video.surfaceFor("enemy.bmp"));
    EXPECT_EQ(call.x, 112);
    EXPECT_EQ(call.y, 2104 - 1920 - 8);
    EXPECT_EQ(call.sourceRect.y, 0);
    EXPECT_EQ(call.sourceRect.h, 16);
}

TEST_F(EnemyTest, MissingSpriteFileDrawsNothing) {
    TempDir empty;
    empty.enter();
    Enemy enemy;
    enemy.update();
    video.clearCalls();
    enemy.draw(Camera());
    for (const auto& call : video.calls()) EXPECT_EQ(call.source, nullptr);
}
