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

namespace {
// Wakes a pacer the way a browser does, once per display refresh at `hertz`
// (wake k at start + k * 1000 / hertz ms, cut to whole ms, plus the jitter
// pattern), for `seconds`; returns the frames granted at each wake.
std::vector<int> wakeAtRefreshRate(double hertz, int seconds, Uint32 start = 1000,
                                   const std::vector<int>& jitter = {0}) {
    FakeClock clock(start);
    FramePacer pacer(clock);
    pacer.start();
    std::vector<int> granted;
    const int wakes = static_cast<int>(hertz * seconds);
    for (int k = 0; k < wakes; ++k) {
        const int offset = static_cast<int>(k * 1000.0 / hertz) + jitter[k % jitter.size()];
        clock.now = start + static_cast<Uint32>(offset);
        granted.push_back(pacer.takeDueFrames());
    }
    EXPECT_TRUE(clock.delays.empty()) << "a woken pacer never sleeps";
    return granted;
}

int total(const std::vector<int>& granted) {
    int sum = 0;
    for (int frames : granted) sum += frames;
    return sum;
}
}  // namespace

TEST(FramePacerWoken, SixtyUpdatesASecondAtEveryRefreshRate) {
    for (double hertz : {30.0, 59.94, 60.0, 75.0, 120.0, 144.0, 240.0}) {
        EXPECT_NEAR(total(wakeAtRefreshRate(hertz, 10)), 600, 1) << hertz << " Hz";
    }
}

TEST(FramePacerWoken, AtSixtyHertzEveryWakeRunsOneFrame) {
    // Even with the wakes jittering by a few milliseconds around the refresh.
    for (const std::vector<int>& jitter : {std::vector<int>{0}, std::vector<int>{3, -2, 0, 1, -3, 2}}) {
        const std::vector<int> granted = wakeAtRefreshRate(60.0, 5, 1000, jitter);
        EXPECT_EQ(granted, std::vector<int>(granted.size(), 1));
    }
}

TEST(FramePacerWoken, FasterDisplaysRunAFrameAtSomeWakesOnly) {
    const std::vector<int> at120 = wakeAtRefreshRate(120.0, 1);
    for (size_t k = 0; k < at120.size(); ++k) EXPECT_EQ(at120[k], k % 2 == 0 ? 1 : 0) << "wake " << k;
    for (int frames : wakeAtRefreshRate(144.0, 2)) EXPECT_LE(frames, 1);
}

TEST(FramePacerWoken, SlowerDisplaysRunSeveralFramesPerWake) {
    const std::vector<int> granted = wakeAtRefreshRate(30.0, 2);
    EXPECT_EQ(std::vector<int>(granted.begin() + 1, granted.end()), std::vector<int>(granted.size() - 1, 2));
}

TEST(FramePacerWoken, AStallIsNotMadeUp) {
    FakeClock clock(0);
    FramePacer pacer(clock);
    pacer.start();
    EXPECT_EQ(pacer.takeDueFrames(), 1);
    clock.now = 1000;  // a second without wakes: the page was hidden
    EXPECT_EQ(pacer.takeDueFrames(), FramePacer::kMaxFramesPerWake);
    // Restarted at 1000: the next frame is due a full 17 ms later, then on
    // the cycle again, one frame per 60 Hz wake.
    EXPECT_EQ(pacer.deadline(), 1017u);
    std::vector<int> granted;
    for (Uint32 wake : {1010u, 1017u, 1033u, 1050u}) {
        clock.now = wake;
        granted.push_back(pacer.takeDueFrames());
    }
    EXPECT_EQ(granted, (std::vector<int>{0, 1, 1, 1}));
}

TEST(FramePacerWoken, KeepsTheCycleAndTheTableIndex) {
    FakeClock clock(100);
    FramePacer pacer(clock);
    pacer.start();
    clock.now = 150;  // one whole cycle is due at once
    EXPECT_EQ(pacer.takeDueFrames(), 3);
    EXPECT_EQ(pacer.tableIndex(), 0);
    EXPECT_EQ(pacer.deadline(), 150u);  // 100 + 17 + 17 + 16
}

TEST(FramePacerWoken, RightAcrossTheWrapOfTheTickCounter) {
    EXPECT_EQ(wakeAtRefreshRate(60.0, 2, 0xFFFFFC00u), std::vector<int>(120, 1));
}

TEST(FramePacerWoken, UnpacedRunsOneFramePerWakeAndNeverReadsTheSchedule) {
    FakeClock clock(0);
    FramePacer pacer(clock, false);
    pacer.start();
    clock.now = 5000;
    EXPECT_EQ(pacer.takeDueFrames(), 1);
    EXPECT_EQ(pacer.takeDueFrames(), 1);
    EXPECT_EQ(pacer.tableIndex(), 2);
}
