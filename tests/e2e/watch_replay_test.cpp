// Watching the game's files must not change a run in which no file changes:
// the sample game replayed with and without --watch gives the same trace and
// the same screens, frame for frame, while the watching run looks at its
// files before every single frame.

#include "app/application.h"
#include "app/default_state_factory.h"
#include "level/trace_writer.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";
const std::string kReplay = std::string(VOLTARO_SOURCE_DIR) + "/tests/e2e/replays/pendix-voltaro1.log";

// A clock on which a whole second passes whenever it is read, so a watching
// run finds a look due before every frame. Counts its readings.
class RacingClock : public Clock {
public:
    Uint32 ticks() override {
        ++readings;
        return m_now += 1000;
    }
    void delay(Uint32) override {}
    long readings = 0;

private:
    Uint32 m_now = 0;
};

constexpr uint32_t kFrames = 3000;  // the menu, the ready message, play through two bands

// The trace and three screens of a replayed run, concatenated.
std::string replay(bool watch, RacingClock& clock, const TempDir& out, const std::string& name) {
    Options options;
    options.headless = true;
    options.dataDirectory = kGameDir;
    options.replayFile = kReplay;
    options.frameLimit = kFrames;
    options.watch = watch;
    for (uint32_t frame : {250u, 1500u, kFrames}) {
        options.screenshots.push_back({frame, out.file(name + std::to_string(frame) + ".bmp")});
    }
    Application application(options, defaultStateFactory());
    application.setClock(&clock);
    TraceWriter trace(out.file(name + ".csv"));
    application.setFrameObserver(
        [&trace](uint32_t frame, const GameStateManager& manager) { trace.writeFrame(frame, manager.currentState()); });
    EXPECT_EQ(application.run(), 0);
    std::string result = fileContents(out.file(name + ".csv"));
    for (uint32_t frame : {250u, 1500u, kFrames}) result += fileContents(out.file(name + std::to_string(frame) + ".bmp"));
    return result;
}

}  // namespace

TEST(WatchReplay, AWatchingRunWithoutChangesIsFrameForFrameTheSame) {
    TempDir out;
    RacingClock plainClock;
    RacingClock watchingClock;
    const std::string plain = replay(false, plainClock, out, "plain");
    const std::string watching = replay(true, watchingClock, out, "watching");
    ASSERT_GT(plain.size(), kFrames * 20) << "the run wrote no trace";
    EXPECT_TRUE(plain == watching) << "watching changed the run";
    // Each look reads the clock twice (due? then the look itself).
    EXPECT_GE(watchingClock.readings - plainClock.readings, 2L * kFrames) << "the watching run did not look every frame";
}
