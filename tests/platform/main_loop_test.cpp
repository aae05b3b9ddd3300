#include "platform/main_loop.h"

#include "platform/sound_event_log.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
using Journal = std::vector<std::string>;

class FakeClock : public Clock {
public:
    Uint32 ticks() override { return now; }
    void delay(Uint32 milliseconds) override { now += milliseconds; }
    Uint32 now = 0;
};

// A host whose frames are scripted: per frame number, whether the game is
// paused, whether quit was seen and what the input is.
class FakeHost : public FrameHost {
public:
    FakeHost(Journal& journal, FakeClock& clock) : m_journal(journal), m_clock(clock) {}

    void pollInput() override {
        ++frame;
        m_journal.push_back("poll " + std::to_string(frame));
        if (pausedFrames.count(frame) != 0) paused = pausedFrames[frame];
        if (frame == quitFrame) quit = true;
        if (pauseSoundFrames.count(frame) != 0) raiseSoundEvent(SoundEvent::Pause);
    }
    bool isPaused() const override { return paused; }
    InputState getInput() const override {
        InputState input;
        input.shootPressed = shootFrames.count(frame) != 0;
        return input;
    }
    int flip() override {
        m_journal.push_back("flip");
        flipTimes.push_back(m_clock.now);
        return frame == failingFlipFrame ? -1 : 0;
    }
    bool isQuitRequested() const override { return quit; }

    int frame = 0;
    bool paused = false;
    bool quit = false;
    int quitFrame = -1;
    int failingFlipFrame = -1;
    std::map<int, bool> pausedFrames;  // frame -> paused from that frame on
    std::map<int, bool> shootFrames;   // frames whose input has B pressed
    std::map<int, bool> pauseSoundFrames;  // frames whose poll raises the pause sound
    std::vector<Uint32> flipTimes;

private:
    Journal& m_journal;
    FakeClock& m_clock;
};

// A state that journals its calls; B asks the manager for a switch.
class JournalState : public GameState {
public:
    JournalState(Journal& journal, std::string name, GameStateManager* manager)
        : m_journal(journal), m_name(std::move(name)), m_manager(manager) {}
    ~JournalState() override { m_journal.push_back(m_name + " deleted"); }
    void draw() override { m_journal.push_back(m_name + " draw"); }
    void update(InputState input) override {
        m_journal.push_back(m_name + " update");
        if (input.shootPressed) m_manager->requestStateSwitch();
    }

private:
    Journal& m_journal;
    std::string m_name;
    GameStateManager* m_manager;
};

class MainLoopTest : public ::testing::Test {
protected:
    std::unique_ptr<GameStateManager> makeManager() {
        StateFactory factory;
        factory.createFirstState = [this](GameStateManager* manager) -> GameState* {
            return new JournalState(journal, "menu", manager);
        };
        factory.createLevel = [this](GameStateManager* manager) -> GameState* {
            journal.push_back("level built");
            return new JournalState(journal, "level", manager);
        };
        return std::unique_ptr<GameStateManager>(new GameStateManager(factory));
    }

    int run() {
        manager = makeManager();
        MainLoop loop(host, pacer);
        return loop.run(manager);
    }

    Journal journal;
    FakeClock clock;
    FakeHost host{journal, clock};
    FramePacer pacer{clock};
    std::unique_ptr<GameStateManager> manager;
};
}  // namespace

TEST_F(MainLoopTest, EachFramePollsUpdatesDrawsAndFlipsInThatOrder) {
    host.quitFrame = 2;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip", "poll 2", "menu update", "menu draw",
                                "flip", "menu deleted"}));
    EXPECT_EQ(manager, nullptr);
}

TEST_F(MainLoopTest, PausedFramesAreDrawnButNotUpdated) {
    host.pausedFrames = {{2, true}, {3, false}};
    host.quitFrame = 3;
    run();
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip", "poll 2", "menu draw", "flip",
                                "poll 3", "menu update", "menu draw", "flip", "menu deleted"}));
}

TEST_F(MainLoopTest, FramesArePacedEvenWhilePaused) {
    host.pausedFrames = {{1, true}};
    host.quitFrame = 6;
    run();
    // Each flip happens at the start of the frame's wait: 0, then 17, 34, 50, ...
    EXPECT_EQ(host.flipTimes, (std::vector<Uint32>{0, 17, 34, 50, 67, 84}));
    EXPECT_EQ(clock.now, 100u);
}

TEST_F(MainLoopTest, QuitWhilePausedEndsAfterThatFrame) {
    host.pausedFrames = {{1, true}};
    host.quitFrame = 2;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(journal, (Journal{"poll 1", "menu draw", "flip", "poll 2", "menu draw", "flip", "menu deleted"}));
}

TEST_F(MainLoopTest, QuitFrameIsPacedInFull) {
    host.quitFrame = 1;
    run();
    EXPECT_EQ(clock.now, 17u);
}

TEST_F(MainLoopTest, QuitAndConfirmInTheSameFrameEndWithoutTheSwitch) {
    host.shootFrames = {{1, true}};
    host.quitFrame = 1;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip", "menu deleted"}));
}

TEST_F(MainLoopTest, SwitchFramesInputReachesNoStateAndTheLevelIsDrawnBeforeItsFirstUpdate) {
    host.shootFrames = {{1, true}};
    host.quitFrame = 3;
    run();
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip",                   //
                                "poll 2", "menu deleted", "level built", "level draw", "flip",  //
                                "poll 3", "level update", "level draw", "flip", "level deleted"}));
}

TEST_F(MainLoopTest, SwitchRequestedBeforeAPauseHappensAtTheFirstUnpausedFrame) {
    host.shootFrames = {{1, true}};
    host.pausedFrames = {{2, true}, {4, false}};
    host.quitFrame = 4;
    run();
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip",        //
                                "poll 2", "menu draw", "flip",                      //
                                "poll 3", "menu draw", "flip",                      //
                                "poll 4", "menu deleted", "level built", "level draw", "flip", "level deleted"}));
}

TEST_F(MainLoopTest, FailedFlipReturnsOneAtOnceAndLeavesTheManagerAlive) {
    host.failingFlipFrame = 2;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip", "poll 2", "menu update", "menu draw",
                                "flip"}));
    ASSERT_NE(manager, nullptr);
    EXPECT_NE(manager->currentState(), nullptr);
    EXPECT_EQ(clock.now, 17u);  // the failed frame was not waited for
}

TEST_F(MainLoopTest, FrameLimitEndsTheRunLikeAQuit) {
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.setFrameLimit(3);
    EXPECT_EQ(loop.run(manager), 0);
    EXPECT_EQ(host.frame, 3);
    EXPECT_EQ(manager, nullptr);
    EXPECT_EQ(journal.back(), "menu deleted");
}

TEST_F(MainLoopTest, HooksRunBeforeThePollAfterTheDrawAndAfterTheFlipWithFrameNumbersFromOne) {
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.setBeforePoll([this](uint32_t frame) { journal.push_back("before " + std::to_string(frame)); });
    loop.setAfterDraw([this](uint32_t frame) { journal.push_back("drawn " + std::to_string(frame)); });
    loop.setAfterFrameShown([this](uint32_t frame) { journal.push_back("shown " + std::to_string(frame)); });
    host.quitFrame = 2;
    loop.run(manager);
    EXPECT_EQ(journal, (Journal{"before 1", "poll 1", "menu update", "menu draw", "drawn 1", "flip", "shown 1",  //
                                "before 2", "poll 2", "menu update", "menu draw", "drawn 2", "flip", "shown 2",  //
                                "menu deleted"}));
}

namespace {
// A loop woken from outside, as in the browser: wakes every 16 ms (a little
// faster than the frames), runDueFrames at each; returns the status that
// ended the run, or kRunning after `wakes` wakes.
class WokenLoopTest : public MainLoopTest {
protected:
    int wake(MainLoop& loop, int wakes) {
        for (int i = 0; i < wakes; ++i) {
            const int status = loop.runDueFrames(manager);
            if (status != MainLoop::kRunning) return status;
            clock.now += 16;
        }
        return MainLoop::kRunning;
    }
};
}  // namespace

TEST_F(WokenLoopTest, RunsTheSameFramesAsTheOwnLoopWithoutEverWaiting) {
    host.pausedFrames = {{2, true}, {3, false}};
    host.quitFrame = 4;
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.setAfterFrameShown([this](uint32_t frame) { journal.push_back("shown " + std::to_string(frame)); });
    loop.begin();
    EXPECT_EQ(wake(loop, 100), MainLoop::kQuit);
    EXPECT_EQ(journal, (Journal{"poll 1", "menu update", "menu draw", "flip", "shown 1",  //
                                "poll 2", "menu draw", "flip", "shown 2",                 //
                                "poll 3", "menu update", "menu draw", "flip", "shown 3",  //
                                "poll 4", "menu update", "menu draw", "flip", "shown 4", "menu deleted"}));
    EXPECT_EQ(manager, nullptr);
    EXPECT_EQ(loop.frame(), 4u);
}

TEST_F(WokenLoopTest, FramesFollowTheScheduleNotTheWakes) {
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.begin();
    EXPECT_EQ(wake(loop, 60), MainLoop::kRunning);  // 944 ms of wakes
    // Frames began at 0, 17, 34, 50, ... up to 944 + 4 ms of slack.
    EXPECT_EQ(loop.frame(), 57u);
    EXPECT_EQ(host.flipTimes[3], 48u);  // the frame due at 50 ran at the wake at 48
}

TEST_F(WokenLoopTest, QuitEndsTheRunAndSkipsTheFramesStillDue) {
    host.quitFrame = 2;
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.begin();
    clock.now = 1000;  // three frames are due at the first wake
    EXPECT_EQ(loop.runDueFrames(manager), MainLoop::kQuit);
    EXPECT_EQ(host.frame, 2);
    EXPECT_EQ(manager, nullptr);
}

TEST_F(WokenLoopTest, FailedFlipStopsAtOnceAndLeavesTheManagerAlive) {
    host.failingFlipFrame = 3;
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.setFrameLimit(10);
    loop.begin();
    EXPECT_EQ(wake(loop, 100), MainLoop::kFlipFailed);
    EXPECT_EQ(host.frame, 3);
    ASSERT_NE(manager, nullptr);
}

TEST_F(WokenLoopTest, FrameLimitEndsTheRun) {
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.setFrameLimit(5);
    loop.begin();
    EXPECT_EQ(wake(loop, 100), MainLoop::kQuit);
    EXPECT_EQ(loop.frame(), 5u);
    EXPECT_EQ(manager, nullptr);
}

TEST_F(MainLoopTest, EachFrameShowsOnlyTheSoundEventsRaisedInIt) {
    host.pauseSoundFrames = {{2, true}, {3, true}};
    host.quitFrame = 4;
    frameSoundEvents().add(SoundEvent::Jump);  // left over from before the run
    std::vector<int> counts;
    manager = makeManager();
    MainLoop loop(host, pacer);
    loop.setAfterFrameShown([&counts](uint32_t) { counts.push_back(frameSoundEvents().size()); });
    loop.run(manager);
    EXPECT_EQ(counts, (std::vector<int>{0, 1, 1, 0}));
}
