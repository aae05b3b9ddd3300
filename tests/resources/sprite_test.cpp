#include "resources/ini_dictionary.h"
#include "resources/sprite.h"
#include "support/recording_video_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Two 16 by 64 sheets of four 16 by 16 cells, one animation per duration
// pattern the tests need.
const char* const kSpriteFile = R"(
[Spritesheets]
amount = 2
spritesheet0 = right.bmp
spritesheet1 = left.bmp

[Sprites]
amount = 4
width = 16
height = 16
xOffset = -8
yOffset = -16
sprite0YPos = 0
sprite1YPos = 16
sprite2YPos = 32
sprite3YPos = 48

[Animations]
amount = 5

; three frames of three updates each
[Animation0]
nFrames = 3
frame0SpriteIndex = 0
frame0Duration = 3
frame1SpriteIndex = 1
frame1Duration = 3
frame2SpriteIndex = 2
frame2Duration = 3

; three frames of one update each
[Animation1]
nFrames = 3
frame0SpriteIndex = 1
frame0Duration = 1
frame1SpriteIndex = 2
frame1Duration = 1
frame2SpriteIndex = 3
frame2Duration = 1

; the second frame holds once entered
[Animation2]
nFrames = 2
frame0SpriteIndex = 0
frame0Duration = 1
frame1SpriteIndex = 3
frame1Duration = 0

; a frame of Duration 0 first
[Animation3]
nFrames = 2
frame0SpriteIndex = 0
frame0Duration = 0
frame1SpriteIndex = 1
frame1Duration = 2

; one frame only
[Animation4]
nFrames = 1
frame0SpriteIndex = 2
frame0Duration = 1
)";

class SpriteTest : public ::testing::Test {
protected:
    SpriteTest() {
        video.setBitmapSize("right.bmp", 16, 64);
        video.setBitmapSize("left.bmp", 16, 64);
    }

    // The frames shown after each of `updates` updates.
    static std::vector<int> framesOver(Sprite& sprite, int updates, bool pingPong = false) {
        std::vector<int> frames;
        for (int i = 0; i < updates; ++i) {
            if (pingPong) sprite.setPingPong();
            sprite.update();
            frames.push_back(sprite.currentFrame());
        }
        return frames;
    }

    RecordingVideoService video;
};

}  // namespace

TEST_F(SpriteTest, LoadsSheetsInOrderThroughTheVideoService) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    EXPECT_EQ(video.loadedNames(), (std::vector<std::string>{"right.bmp", "left.bmp"}));
    EXPECT_EQ(sprite.sheetCount(), 2);
    EXPECT_EQ(sprite.animationCount(), 5);
    EXPECT_EQ(video.liveSurfaces(), 2);
}

TEST_F(SpriteTest, MissingSheetNameLoadsEmpty) {
    const IniDictionary ini = IniDictionary::fromText("[Spritesheets]\namount = 1\n");
    Sprite sprite(ini, "enemy.ini");
    EXPECT_EQ(video.loadedNames(), (std::vector<std::string>{"empty"}));
}

TEST_F(SpriteTest, DestructorFreesEverySheet) {
    {
        const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
        Sprite sprite(ini, "player.ini");
    }
    EXPECT_EQ(video.liveSurfaces(), 0);
}

TEST_F(SpriteTest, LoopShowsEachFrameForItsDuration) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);
    sprite.setAnimation(0);
    EXPECT_EQ(framesOver(sprite, 10), (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 0}));
}

TEST_F(SpriteTest, PingPongTurnTakesAFullPeriod) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);
    sprite.setPingPong();
    EXPECT_EQ(framesOver(sprite, 10), (std::vector<int>{0, 1, 2, 2, 1, 0, 0, 1, 2, 2}));
}

TEST_F(SpriteTest, SettingTheCurrentAnimationNeitherRestartsNorLeavesPingPong) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);
    sprite.setPingPong();
    std::vector<int> frames;
    for (int i = 0; i < 8; ++i) {
        sprite.setAnimation(1);
        sprite.update();
        frames.push_back(sprite.currentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 2, 1, 0, 0, 1}));
    EXPECT_TRUE(sprite.isPingPong());
}

TEST_F(SpriteTest, ChangingTheAnimationReturnsToLooping) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);
    sprite.setPingPong();
    sprite.setAnimation(0);
    EXPECT_FALSE(sprite.isPingPong());
    sprite.setAnimation(1);
    EXPECT_EQ(framesOver(sprite, 5), (std::vector<int>{0, 1, 2, 0, 1}));
}

TEST_F(SpriteTest, RestartFrameGivesTheCurrentFrameItsFullDurationAgain) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.update();
    sprite.update();  // frame 0 has been shown twice of three times
    sprite.restartFrame();
    EXPECT_EQ(sprite.frameCounter(), 0);
    EXPECT_EQ(framesOver(sprite, 4), (std::vector<int>{0, 0, 0, 1}));
}

TEST_F(SpriteTest, DurationZeroFrameReachedByAnAdvanceHolds) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(2);
    EXPECT_EQ(framesOver(sprite, 6), (std::vector<int>{0, 1, 1, 1, 1, 1}));
}

TEST_F(SpriteTest, DurationZeroFrameRightAfterAResetIsSkipped) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(3);
    EXPECT_EQ(framesOver(sprite, 4), (std::vector<int>{1, 1, 0, 0}));
}

TEST_F(SpriteTest, OneFrameAnimationNeverChangesFrameInEitherMode) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(4);
    EXPECT_EQ(framesOver(sprite, 4), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(framesOver(sprite, 4, true), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(SpriteTest, DirectionLeftBackwardsCarriesIntoTheNextPingPong) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);
    framesOver(sprite, 4, true);  // 0, 1, 2, 2: now stepping backwards
    EXPECT_EQ(sprite.direction(), -1);
    sprite.setAnimation(0);
    sprite.setAnimation(1);
    EXPECT_EQ(sprite.direction(), -1);
    // Frame 0 first ends with a turn, so it is shown for two periods.
    EXPECT_EQ(framesOver(sprite, 5, true), (std::vector<int>{0, 0, 1, 2, 2}));
}

TEST_F(SpriteTest, DrawBlitsTheCurrentCellAtThePositionPlusOffsets) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);  // first frame shows cell 1
    sprite.draw(100, 100, 1);
    ASSERT_EQ(video.calls().size(), 1u);
    const RecordingVideoService::DrawCall& call = video.calls()[0];
    EXPECT_EQ(call.kind, RecordingVideoService::Kind::Blit);
    EXPECT_EQ(call.source, video.surfaceFor("left.bmp"));
    EXPECT_EQ(call.x, 92);
    EXPECT_EQ(call.y, 84);
    ASSERT_TRUE(call.hasSourceRect);
    EXPECT_EQ(call.sourceRect.x, 0);
    EXPECT_EQ(call.sourceRect.y, 16);
    EXPECT_EQ(call.sourceRect.w, 16);
    EXPECT_EQ(call.sourceRect.h, 16);
}

TEST_F(SpriteTest, CellRectanglesAreCutToSixteenBits) {
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = 1\nspritesheet0 = s.bmp\n"
        "[Sprites]\namount = 1\nwidth = 65552\nheight = 16\nsprite0YPos = 32800\n"
        "[Animations]\namount = 1\n[Animation0]\nnFrames = 1\n");
    video.setBitmapSize("s.bmp", 16, 16);
    Sprite sprite(ini, "cut.ini");
    sprite.draw(0, 0, 0);
    ASSERT_EQ(video.calls().size(), 1u);
    EXPECT_EQ(video.calls()[0].sourceRect.y, 32800 - 65536);
    EXPECT_EQ(video.calls()[0].sourceRect.w, 16);
}

// Bad data: never an out-of-range access, one warning at load, nothing drawn.

TEST_F(SpriteTest, NegativeCountsBecomeEmptyLists) {
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = -3\n[Sprites]\namount = -1\n[Animations]\namount = -2\n");
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "broken.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(sprite.sheetCount(), 0);
    EXPECT_EQ(sprite.animationCount(), 0);
    EXPECT_TRUE(video.loadedNames().empty());
    EXPECT_NE(warnings.find("broken.ini [Spritesheets] amount"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("broken.ini [Animations] amount"), std::string::npos) << warnings;
    sprite.update();
    sprite.draw(0, 0, 0);
    EXPECT_TRUE(video.calls().empty());
}

TEST_F(SpriteTest, HugeCountsAreRejectedAsEmpty) {
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = 2000000000\n[Sprites]\namount = " + std::to_string(Sprite::kMaxCells + 1) +
        "\n[Animations]\namount = 1\n[Animation0]\nnFrames = " + std::to_string(Sprite::kMaxFrames + 1) + "\n");
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "huge.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(sprite.sheetCount(), 0);
    EXPECT_TRUE(video.loadedNames().empty());
    EXPECT_EQ(sprite.animationCount(), 1);
    EXPECT_NE(warnings.find("huge.ini [Sprites] amount"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("huge.ini [Animation0] nFrames"), std::string::npos) << warnings;
    sprite.update();
    EXPECT_EQ(sprite.currentFrame(), 0);
}

TEST_F(SpriteTest, BoundsFollowFromMemoryNotFromASmallNumber) {
    // Each list may take 8 MiB: about a million cells or frames, and a
    // sprite file with 5000 cells is ordinary data.
    EXPECT_GE(Sprite::kMaxCells, 1000000);
    EXPECT_GE(Sprite::kMaxFrames, 1000000);
    EXPECT_GE(Sprite::kMaxAnimations, 100000);
    std::string text = "[Sprites]\namount = 5000\nwidth = 8\nheight = 8\n[Animations]\namount = 1\n"
                       "[Animation0]\nnFrames = 5000\n";
    for (int i = 0; i < 5000; ++i) {
        text += "frame" + std::to_string(i) + "SpriteIndex = " + std::to_string(i) + "\n";
        text += "frame" + std::to_string(i) + "Duration = 1\n";
    }
    const IniDictionary ini = IniDictionary::fromText(text);
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "many.ini");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (int i = 0; i < 5000; ++i) sprite.update();
    EXPECT_EQ(sprite.currentFrame(), 4999);
}

TEST_F(SpriteTest, FramesOfAllAnimationsShareOneBound) {
    const std::string half = std::to_string(Sprite::kMaxFrames / 2);
    const IniDictionary ini = IniDictionary::fromText("[Animations]\namount = 3\n[Animation0]\nnFrames = " + half +
                                                      "\n[Animation1]\nnFrames = " + half +
                                                      "\n[Animation2]\nnFrames = 1\n");
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "frames.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("frames.ini [Animation2] nFrames: count 1 exceeds the limit of 0"), std::string::npos)
        << warnings;
    EXPECT_EQ(warnings.find("[Animation1] nFrames: count"), std::string::npos) << warnings;
}

TEST_F(SpriteTest, SheetsPastTheirMemoryBoundAreNotLoaded) {
    // 1024 x 1024 sheets of 4 bytes a pixel: four fill the bound, the fifth
    // and every later one stay empty and are not even loaded.
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp"}) video.setBitmapSize(name, 1024, 1024);
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = 6\nspritesheet0 = a.bmp\nspritesheet1 = b.bmp\nspritesheet2 = c.bmp\n"
        "spritesheet3 = d.bmp\nspritesheet4 = e.bmp\nspritesheet5 = f.bmp\n");
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "sheets.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("sheets.ini [Spritesheets] spritesheet4: the sheets so far take more than 16777216 bytes"),
              std::string::npos)
        << warnings;
    EXPECT_EQ(video.loadedNames().size(), 5u);
    EXPECT_EQ(video.liveSurfaces(), 4);
}

TEST_F(SpriteTest, CountAtTheLimitIsAccepted) {
    const IniDictionary ini = IniDictionary::fromText("[Animations]\namount = 4096\n");
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "big.ini");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(sprite.animationCount(), 4096);
}

TEST_F(SpriteTest, SpriteIndexOutsideTheCellTableIsReportedAndDrawsNothing) {
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = 1\nspritesheet0 = s.bmp\n"
        "[Sprites]\namount = 2\nwidth = 8\nheight = 8\n"
        "[Animations]\namount = 1\n"
        "[Animation0]\nnFrames = 3\n"
        "frame0SpriteIndex = 2\nframe0Duration = 1\n"
        "frame1SpriteIndex = -1\nframe1Duration = 1\n"
        "frame2SpriteIndex = 1\nframe2Duration = 1\n");
    video.setBitmapSize("s.bmp", 8, 16);
    testing::internal::CaptureStderr();
    Sprite sprite(ini, "cells.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("cells.ini [Animation0] frame0SpriteIndex"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("cells.ini [Animation0] frame1SpriteIndex"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("frame2SpriteIndex"), std::string::npos) << warnings;

    sprite.draw(0, 0, 0);  // frame 0: cell 2 of 2
    sprite.update();
    sprite.update();
    ASSERT_EQ(sprite.currentFrame(), 1);
    sprite.draw(0, 0, 0);  // cell -1
    EXPECT_TRUE(video.calls().empty());
    sprite.update();
    ASSERT_EQ(sprite.currentFrame(), 2);
    sprite.draw(0, 0, 0);  // cell 1, valid
    EXPECT_EQ(video.calls().size(), 1u);
}

TEST_F(SpriteTest, SheetIndexOutOfRangeDrawsNothing) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.draw(0, 0, 2);
    sprite.draw(0, 0, -1);
    EXPECT_TRUE(video.calls().empty());
}

TEST_F(SpriteTest, SheetThatFailedToLoadDrawsNothing) {
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = 1\nspritesheet0 = missing.bmp\n"
        "[Sprites]\namount = 1\nwidth = 8\nheight = 8\n"
        "[Animations]\namount = 1\n[Animation0]\nnFrames = 1\n");
    Sprite sprite(ini, "missing.ini");
    EXPECT_EQ(sprite.sheetCount(), 1);
    sprite.draw(0, 0, 0);
    EXPECT_TRUE(video.calls().empty());
}

TEST_F(SpriteTest, AnimationIndexOutOfRangeIsKeptAndDoesNothing) {
    const IniDictionary ini = IniDictionary::fromText(kSpriteFile);
    Sprite sprite(ini, "player.ini");
    sprite.setAnimation(1);
    sprite.update();
    for (int index : {5, -1}) {
        sprite.setAnimation(index);
        EXPECT_EQ(sprite.currentAnimation(), index);
        EXPECT_EQ(sprite.currentFrame(), 0);
        sprite.setPingPong();
        sprite.update();
        sprite.update();
        EXPECT_EQ(sprite.currentFrame(), 0);
        EXPECT_EQ(sprite.frameCounter(), 0);
        sprite.draw(0, 0, 0);
    }
    EXPECT_TRUE(video.calls().empty());
    sprite.setAnimation(1);  // back to a valid one: draws again
    sprite.draw(0, 0, 0);
    EXPECT_EQ(video.calls().size(), 1u);
}

TEST_F(SpriteTest, AnimationWithoutFramesNeitherStepsNorDraws) {
    const IniDictionary ini = IniDictionary::fromText(
        "[Spritesheets]\namount = 1\nspritesheet0 = s.bmp\n"
        "[Sprites]\namount = 1\nwidth = 8\nheight = 8\n"
        "[Animations]\namount = 2\n[Animation1]\nnFrames = 0\n");
    video.setBitmapSize("s.bmp", 8, 8);
    Sprite sprite(ini, "empty-animations.ini");
    for (int index : {0, 1}) {
        sprite.setAnimation(index);
        sprite.update();
        sprite.setPingPong();
        sprite.update();
        sprite.draw(10, 10, 0);
        EXPECT_EQ(sprite.currentFrame(), 0);
        EXPECT_EQ(sprite.frameCounter(), 0);
    }
    EXPECT_TRUE(video.calls().empty());
}
