#include "platform/file_watcher.h"

#include "support/fake_clock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {
using Files = std::vector<std::string>;

class FileWatcherTest : public ::testing::Test {
protected:
    FileWatcherTest() {
        dir.enter();
        dir.write("levels.ini", "[Room]\\nboundaries=1\\n");
        dir.write("room.map", "0123456789");
        watcher.watch({"levels.ini", "room.map", "missing.bmp"});
    }

    // Moves the file's modification time by whole seconds: a rewrite within
    // the file system's timestamp granularity must not make a test flaky.
    static void touch(const std::string& file, int seconds) {
        const auto time = std::filesystem::last_write_time(file);
        std::filesystem::last_write_time(file, time + std::chrono::seconds(seconds));
    }

    TempDir dir;
    FakeClock clock{5000};
    FileWatcher watcher{clock};
};
}  // namespace

TEST_F(FileWatcherTest, NothingChangedReportsNothing) {
    EXPECT_EQ(watcher.poll(), Files{});
    EXPECT_EQ(watcher.poll(), Files{});
    EXPECT_EQ(watcher.files(), (Files{"levels.ini", "room.map", "missing.bmp"}));
}

TEST_F(FileWatcherTest, EachKindOfChangeIsReportedOnceInWatchOrder) {
    dir.write("room.map", "0123456789");  // the same bytes, saved again later
    touch("room.map", 1);
    dir.write("levels.ini", "[Room]\\nboundaries=2\\n");  // same size, new content
    touch("levels.ini", 2);
    EXPECT_EQ(watcher.poll(), (Files{"levels.ini", "room.map"}));
    EXPECT_EQ(watcher.poll(), Files{});  // seen: not reported again

    dir.write("missing.bmp", "BM");  // a file that was missing appears
    EXPECT_EQ(watcher.poll(), Files{"missing.bmp"});
    std::remove("room.map");  // and one disappears
    EXPECT_EQ(watcher.poll(), Files{"room.map"});
    dir.write("room.map", "0123456789");  // and comes back
    EXPECT_EQ(watcher.poll(), Files{"room.map"});
}

TEST_F(FileWatcherTest, ASizeChangeOrARenameOverTheFileCountsWithTheTimeUnchanged) {
    const auto time = std::filesystem::last_write_time("room.map");
    dir.write("room.map", "012345678");
    std::filesystem::last_write_time("room.map", time);
    EXPECT_EQ(watcher.poll(), Files{"room.map"});

    // An editor that writes a new file and renames it over the old one.
    dir.write("room.tmp", "012345678");
    std::filesystem::last_write_time("room.tmp", time);
    std::filesystem::rename("room.tmp", "room.map");
    EXPECT_EQ(watcher.poll(), Files{"room.map"});
}

TEST_F(FileWatcherTest, PollIfDueLooksOncePerSecondOfTheClock) {
    dir.write("room.map", "changed");
    clock.now += FileWatcher::kPollInterval - 1;
    EXPECT_EQ(watcher.pollIfDue(), Files{});  // too early: not looked at
    clock.now += 1;
    EXPECT_EQ(watcher.pollIfDue(), Files{"room.map"});
    dir.write("room.map", "changed again");
    clock.now += 500;
    EXPECT_EQ(watcher.pollIfDue(), Files{});  // a second from the last look, not from the first
    clock.now += 500;
    EXPECT_EQ(watcher.pollIfDue(), Files{"room.map"});
}

TEST_F(FileWatcherTest, PollIfDueSurvivesTheClockWrappingAround) {
    clock.now = 0xFFFFFF00u;
    watcher.poll();
    dir.write("room.map", "changed");
    clock.now = 0x100u;  // 512 ms later, across the wrap
    EXPECT_EQ(watcher.pollIfDue(), Files{});
    clock.now = 0x300u;
    EXPECT_EQ(watcher.pollIfDue(), Files{"room.map"});
}

TEST_F(FileWatcherTest, WatchReplacesTheListAndAddKeepsWhatWasSeen) {
    dir.write("room.map", "changed");
    watcher.add({"room.map", "enemy.ini"});  // already watched: its change is still pending
    EXPECT_EQ(watcher.files(), (Files{"levels.ini", "room.map", "missing.bmp", "enemy.ini"}));
    EXPECT_EQ(watcher.poll(), Files{"room.map"});

    watcher.watch({"enemy.ini"});
    dir.write("levels.ini", "no longer watched");
    dir.write("enemy.ini", "[Sprites]\\n");
    EXPECT_EQ(watcher.files(), Files{"enemy.ini"});
    EXPECT_EQ(watcher.poll(), Files{"enemy.ini"});
}
