#include "soak/soak_checker.h"

#include <gtest/gtest.h>

namespace {

// Two bands: x 0..512 at y 0..240, and x 256..512 at y 240..480.
SoakChecker makeChecker(int32_t outsideUpdates = 3) {
    SoakChecker::Limits limits;
    limits.outsideUpdates = outsideUpdates;
    limits.ready = 180;
    limits.beforeScrolling = 8;
    limits.scrolling = 60;
    limits.afterScrolling = 8;
    return SoakChecker({{0, 0, 512, 240}, {256, 240, 256, 240}}, limits);
}

SoakSample sample(uint32_t frame, LevelPhase phase, int32_t phaseUpdates, int32_t x, int32_t y) {
    SoakSample s;
    s.frame = frame;
    s.phase = phase;
    s.phaseUpdates = phaseUpdates;
    s.x = x;
    s.y = y;
    return s;
}

// Plays `updates` frames of play starting at update `first`, at one position.
bool play(SoakChecker& checker, uint32_t& frame, int32_t first, int32_t updates, int32_t x, int32_t y) {
    for (int32_t u = first; u < first + updates; ++u) {
        if (!checker.check(sample(++frame, LevelPhase::Playing, u, x, y))) return false;
    }
    return true;
}

}  // namespace

TEST(SoakChecker, BoundaryTestIsHalfOpenLikeTheMap) {
    const SoakChecker checker = makeChecker();
    EXPECT_EQ(checker.boundaryAt(0, 0), 0);
    EXPECT_EQ(checker.boundaryAt(511, 239), 0);
    EXPECT_EQ(checker.boundaryAt(256, 240), 1);
    EXPECT_EQ(checker.boundaryAt(255, 240), -1);  // left of the lower band
    EXPECT_EQ(checker.boundaryAt(512, 100), -1);
    EXPECT_EQ(checker.boundaryAt(100, -1), -1);
    EXPECT_EQ(checker.boundaryAt(300, 480), -1);
}

TEST(SoakChecker, OutsideForTheLimitPassesAndOneMoreUpdateFails) {
    SoakChecker checker = makeChecker(3);
    uint32_t frame = 0;
    ASSERT_TRUE(play(checker, frame, 1, 5, 100, 200));
    ASSERT_TRUE(play(checker, frame, 6, 3, 100, -20));  // a jump above the band
    EXPECT_EQ(checker.longestOutside(), 3);
    EXPECT_FALSE(checker.check(sample(++frame, LevelPhase::Playing, 9, 100, -21)));
    EXPECT_EQ(checker.failure(),
              "frame 9: the player has been outside every boundary for 4 updates in a row (at most 3); "
              "position (100, -21), phase Playing for 9 updates, current boundary 0");
    // The first failure stays; later frames are not checked.
    EXPECT_FALSE(checker.check(sample(++frame, LevelPhase::Playing, 10, 100, 100)));
    EXPECT_NE(checker.failure().find("frame 9:"), std::string::npos);
}

TEST(SoakChecker, ComingBackInsideStartsTheCountAgain) {
    SoakChecker checker = makeChecker(3);
    uint32_t frame = 0;
    ASSERT_TRUE(play(checker, frame, 1, 3, 100, -5));
    ASSERT_TRUE(play(checker, frame, 4, 1, 100, 5));
    EXPECT_TRUE(play(checker, frame, 5, 3, 100, -5));
    EXPECT_TRUE(checker.failure().empty());
}

TEST(SoakChecker, PausedFramesAreNotUpdates) {
    SoakChecker checker = makeChecker(3);
    uint32_t frame = 0;
    ASSERT_TRUE(play(checker, frame, 1, 2, 100, -5));
    // Paused: the same phase and count, frame after frame.
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(checker.check(sample(++frame, LevelPhase::Playing, 2, 100, -5)));
    EXPECT_TRUE(play(checker, frame, 3, 1, 100, -5));
    EXPECT_EQ(checker.playingUpdates(), 3u);
    EXPECT_FALSE(play(checker, frame, 4, 1, 100, -5));
}

TEST(SoakChecker, TransitionsAndRespawnsExcuseAPlayerOutside) {
    SoakChecker checker = makeChecker(3);
    uint32_t frame = 0;
    ASSERT_TRUE(play(checker, frame, 1, 3, 100, 250));
    for (int32_t u = 1; u <= 60; ++u) ASSERT_TRUE(checker.check(sample(++frame, LevelPhase::Scrolling, u, 100, 250)));
    ASSERT_TRUE(play(checker, frame, 1, 3, 100, 250));
    ASSERT_TRUE(checker.check(sample(++frame, LevelPhase::Ready, 1, 128, 4)));
    EXPECT_TRUE(play(checker, frame, 1, 3, 100, 250));
    EXPECT_EQ(checker.transitions(), 1u);
    EXPECT_EQ(checker.respawns(), 1u);
}

TEST(SoakChecker, APhaseOutlastingItsDurationIsAFreeze) {
    SoakChecker checker = makeChecker();
    uint32_t frame = 0;
    for (int32_t u = 1; u <= 8; ++u) {
        ASSERT_TRUE(checker.check(sample(++frame, LevelPhase::BeforeScrolling, u, 100, 100)));
    }
    EXPECT_FALSE(checker.check(sample(++frame, LevelPhase::BeforeScrolling, 9, 100, 100)));
    EXPECT_NE(checker.failure().find("the phase outlasted its 8 updates"), std::string::npos);
    EXPECT_NE(checker.failure().find("phase BeforeScrolling for 9 updates"), std::string::npos);
}

TEST(SoakChecker, RecordsTheBoundariesVisited) {
    SoakChecker checker = makeChecker();
    SoakSample s = sample(1, LevelPhase::Playing, 1, 300, 300);
    s.boundaryIndex = 1;
    ASSERT_TRUE(checker.check(s));
    s = sample(2, LevelPhase::Playing, 2, 100, 100);
    ASSERT_TRUE(checker.check(s));
    EXPECT_EQ(checker.boundariesVisited(), (std::set<int32_t>{0, 1}));
}
