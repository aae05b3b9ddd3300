#include "platform/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A clock that only moves when the pacer sleeps or the test "works".
class FakeClock : public Clock {
public:
    explicit FakeClock(Uint32 start) : now(start) {}
    Uint32 ticks() override { return now; }
    void delay(Uint32 milliseconds) override {
        delays.push_back(milliseconds);
        now += milliseconds;
    }

    Uint32 now;
    std::vector<Uint32> delays;
};

// Runs `frames` frames that each take `workMs` of work; returns the tick at
// which each frame ended.
std::vector<Uint32> runFrames(FramePacer& pacer, FakeClock& clock, int frames, Uint32 workMs = 0) {
    std::vector<Uint32> ends;
    for (int i = 0; i < frames; ++i) {
        clock.now += workMs;
        pacer.endFrame();
        ends.push_back(clock.now);
    }
    return ends;
}
}  // namespace

TEST(FramePacer, IdleFramesEnd17_17_16MillisecondsApart) {
    FakeClock clock(1000);
    FramePacer pacer(clock);
    pacer.start();
    EXPECT_EQ(runFrames(pacer, clock, 6), (std::vector<Uint32>{1017, 1034, 1050, 1067, 1084, 1100}));
}

TEST(FramePacer, SixtyIdleFramesTakeOneSecond) {
    FakeClock clock(5);
    FramePacer pacer(clock);
    pacer.start();
    runFrames(pacer, clock, 60);
    EXPECT_EQ(clock.now, 1005u);
}

TEST(FramePacer, WaitsInOneMillisecondSleeps) {
    FakeClock clock(0);
    FramePacer pacer(clock);
    pacer.start();
    clock.now += 5;  // the frame's work
    pacer.endFrame();
    EXPECT_EQ(clock.delays, std::vector<Uint32>(12, 1));
}

TEST(FramePacer, LateFrameIsNotMadeUpAndTheNextGetsItsFullDuration) {
    FakeClock clock(0);
    FramePacer pacer(clock);
    pacer.start();
    clock.now += 30;  // a 30 ms frame against a 17 ms slot
    pacer.endFrame();
    EXPECT_TRUE(clock.delays.empty());
    EXPECT_EQ(clock.now, 30u);
    // Re-based at 30: the next two frames get their full 17 and 16 ms.
    EXPECT_EQ(runFrames(pacer, clock, 2), (std::vector<Uint32>{47, 63}));
}

TEST(FramePacer, FrameEndingExactlyOnItsDeadlineDoesNotSleep) {
    FakeClock clock(100);
    FramePacer pacer(clock);
    pacer.start();
    clock.now += 17;
    pacer.endFrame();
    EXPECT_TRUE(clock.delays.empty());
    EXPECT_EQ(pacer.deadline(), 117u);
}

TEST(FramePacer, TableIndexCyclesOnceAFrame) {
    FakeClock clock(0);
    FramePacer pacer(clock);
    pacer.start();
    std::vector<int> indices;
    for (int i = 0; i < 4; ++i) {
        pacer.endFrame();
        indices.push_back(pacer.tableIndex());
    }
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 0, 1}));
}

TEST(FramePacer, StartRestartsTheCycleAtTheCurrentTick) {
    FakeClock clock(0);
    FramePacer pacer(clock);
    pacer.start();
    runFrames(pacer, clock, 2);
    clock.now = 500;
    pacer.start();
    EXPECT_EQ(pacer.tableIndex(), 0);
    EXPECT_EQ(runFrames(pacer, clock, 1), std::vector<Uint32>{517});
}

TEST(FramePacer, UnpacedFramesNeverWaitButStillAdvanceTheIndex) {
    FakeClock clock(0);
    FramePacer pacer(clock, false);
    pacer.start();
    runFrames(pacer, clock, 2);
    EXPECT_TRUE(clock.delays.empty());
    EXPECT_EQ(clock.now, 0u);
    EXPECT_EQ(pacer.tableIndex(), 2);
}
