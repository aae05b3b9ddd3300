// Live reload on the sample game, headless and without sleeping: a fake clock
// makes each look at the files due, and the files of a copy of game/ are
// edited between frames.

#include "app/live_reload.h"

#include "app/default_state_factory.h"
#include "level/level.h"
#include "menus/stage_select.h"
#include "platform/fatal_data_error.h"
#include "platform/game_engine.h"
#include "player/voltaro.h"
#include "support/fake_clock.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "world/map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";

InputState held(Direction horizontal) {
    InputState input;
    input.horizontal = horizontal;
    input.previousHorizontal = horizontal;
    return input;
}

class LiveReloadTest : public ::testing::Test {
protected:
    explicit LiveReloadTest(bool watching = true) : reload(clock, watching) {
        for (const auto& entry : std::filesystem::directory_iterator(kGameDir)) {
            if (entry.is_regular_file()) std::filesystem::copy_file(entry.path(), dir.file(entry.path().filename()));
        }
        // The files the menu and the levels name in folders: their tunes and effects.
        for (const char* folder : {"music", "sounds"}) {
            std::filesystem::copy(kGameDir + "/" + folder, dir.file(folder), std::filesystem::copy_options::recursive);
        }
        dir.enter();
        setVideoService(&engine);
        manager = std::make_unique<GameStateManager>(reload.wrap(defaultStateFactory()));
    }
    ~LiveReloadTest() override {
        manager.reset();
        setVideoService(nullptr);
    }

    static GameEngine::Settings headless() {
        GameEngine::Settings settings;
        settings.headless = true;
        return settings;
    }

    // One frame as the main loop runs it, the reload's message included.
    void frame(const InputState& input = InputState()) {
        manager->update(input);
        manager->draw();
        reload.drawMessage();
    }
    // Picks a level and a character, and plays until the player stands.
    void startLevel(const char* level, const char* player) {
        manager->setName(0, level);
        manager->setName(1, player);
        manager->requestStateSwitch();
        frame();
        for (int i = 0; i < 400 && std::string(currentLevel().player().stateName()) != "Standing"; ++i) frame();
        ASSERT_STREQ(currentLevel().player().stateName(), "Standing");
    }
    // The next look at the files, a second later, between two frames.
    void nextLook() {
        clock.now += FileWatcher::kPollInterval;
        reload.betweenFrames(*manager);
    }
    // Rewrites a file of the game and moves its time on, so the change shows
    // whatever the file system's timestamp granularity.
    void edit(const std::string& name, const std::string& contents) {
        const auto time = std::filesystem::last_write_time(name);
        dir.write(name, contents);
        std::filesystem::last_write_time(name, time + std::chrono::seconds(1));
    }
    void replaceInFile(const std::string& name, const std::string& from, const std::string& to) {
        std::string text = fileContents(name);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from << " not in " << name;
        edit(name, text.replace(at, from.size(), to));
    }

    Level& currentLevel() {
        auto* level = dynamic_cast<Level*>(manager->currentState());
        if (level == nullptr) throw std::runtime_error("no level is running");
        return *level;
    }
    bool watches(const std::string& file) const {
        const std::vector<std::string>& files = reload.watchedFiles();
        return std::find(files.begin(), files.end(), file) != files.end();
    }

    TempDir dir;
    GameEngine engine{headless()};
    FakeClock clock{1000};
    LiveReload reload;
    std::unique_ptr<GameStateManager> manager;
};

class UnwatchedReloadTest : public LiveReloadTest {
protected:
    UnwatchedReloadTest() : LiveReloadTest(false) {}
};

}  // namespace

TEST_F(LiveReloadTest, WatchesEveryFileTheRunningStateRead) {
    for (const char* file : {"stageselect.ini", "font.ini", "font.bmp", "selector.bmp"}) {
        EXPECT_TRUE(watches(file)) << file;
    }
    EXPECT_FALSE(watches("levels.ini")) << "the menu does not read it";
    startLevel("Pendix", "voltaro1");
    for (const char* file : {"levels.ini", "font.ini", "font.bmp", "tiles-tower.bmp", "pendix.map", "voltaro1",
                             "hero1-right.bmp", "hero1-left.bmp", "hero1-right-shoot.bmp", "hero1-left-shoot.bmp",
                             "shot.bmp", "enemy.ini", "enemy.bmp"}) {
        EXPECT_TRUE(watches(file)) << file;
    }
    EXPECT_FALSE(watches("stageselect.ini")) << "the level does not read it";
    EXPECT_FALSE(watches("voltaro2"));
}

TEST_F(LiveReloadTest, TheMapAndThePlayerFileEditedBetweenFramesAreUsedWithThePlayerKept) {
    startLevel("Pendix", "voltaro1");
    for (int i = 0; i < 20; ++i) frame(held(Direction::Left));  // towards the pit, still far
    ASSERT_STREQ(currentLevel().player().stateName(), "Running");
    const Level* before = &currentLevel();
    const Fixed x = currentLevel().player().x();
    const Fixed y = currentLevel().player().y();
    const int32_t runningBefore = currentLevel().player().speedX().raw();

    // A faster run, and tile (1, 1) of the first screen turned into the next tile.
    replaceInFile("voltaro1", "runningInt=1", "runningInt=2");
    std::string map = fileContents("pendix.map");
    const size_t cell = 3 + 2 * 32 + 1 * 2;  // row 1 (two chunks a row), first chunk, cell 1
    const int32_t tile = currentLevel().map().tileAt(16, 16).tile;
    ASSERT_EQ(static_cast<uint8_t>(map[cell]), tile + 1) << "the tile byte is the tile number + 1";
    const int32_t newTile = (tile + 1) % currentLevel().map().tileImageCount();
    map[cell] = static_cast<char>(newTile + 1);
    edit("pendix.map", map);

    clock.now += FileWatcher::kPollInterval - 1;
    reload.betweenFrames(*manager);
    EXPECT_EQ(&currentLevel(), before) << "looked before a second had passed";
    nextLook();
    ASSERT_NE(&currentLevel(), before) << "not reloaded";
    EXPECT_EQ(reload.reloadCount(), 1);
    EXPECT_FALSE(reload.message().isShown());

    const Level& level = currentLevel();
    EXPECT_EQ(level.map().tileAt(16, 16).tile, newTile);
    EXPECT_EQ(level.phase(), LevelPhase::Playing);
    EXPECT_EQ(level.player().x().raw(), x.raw());
    EXPECT_EQ(level.player().y().raw(), y.raw());
    EXPECT_STREQ(level.player().stateName(), "Running");
    EXPECT_EQ(level.player().speedX().raw(), runningBefore + 256);
    frame(held(Direction::Left));
    EXPECT_EQ(currentLevel().player().x().raw(), x.raw() - runningBefore - 256);

    nextLook();
    EXPECT_EQ(reload.reloadCount(), 1) << "nothing changed since";
}

TEST_F(LiveReloadTest, ABrokenMapKeepsTheOldLevelRunningWithAMessageUntilItIsRepaired) {
    startLevel("Pendix", "voltaro1");
    const Level* before = &currentLevel();
    const std::string map = fileContents("pendix.map");
    edit("pendix.map", map.substr(0, 500));

    testing::internal::CaptureStderr();
    nextLook();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(&currentLevel(), before);
    EXPECT_EQ(reload.reloadCount(), 0);
    EXPECT_NE(errors.find("voltaro: reload failed"), std::string::npos) << errors;
    EXPECT_NE(errors.find("'pendix.map': the file ends at byte offset 500"), std::string::npos) << errors;
    ASSERT_TRUE(reload.message().isShown());
    EXPECT_NE(reload.message().text().find("pendix.map"), std::string::npos);

    // The game goes on, with the message over every frame: a black band at
    // the bottom of the screen with the text in the game's font.
    for (int i = 0; i < 30; ++i) frame(held(Direction::Left));
    EXPECT_STREQ(currentLevel().player().stateName(), "Running");
    SDL_Surface* screen = engine.screen();
    const auto pixel = [screen](int x, int y) {
        return static_cast<const Uint32*>(screen->pixels)[y * screen->pitch / 4 + x];
    };
    const Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
    EXPECT_EQ(pixel(0, 239), black);
    EXPECT_EQ(pixel(255, 239), black);
    int lit = 0;
    for (int x = 0; x < 256; ++x) lit += pixel(x, 239 - 8 * 6 + 3) != black ? 1 : 0;  // through the first line's glyphs
    EXPECT_GT(lit, 20);

    nextLook();
    EXPECT_EQ(reload.reloadCount(), 0) << "no new change: no new try";
    edit("pendix.map", map);
    nextLook();
    EXPECT_NE(&currentLevel(), before);
    EXPECT_EQ(reload.reloadCount(), 1);
    EXPECT_FALSE(reload.message().isShown());
}

TEST_F(LiveReloadTest, ABadBitmapAndAnIniErrorTheCheckerReportsAreRefusedToo) {
    startLevel("Pendix", "voltaro1");
    const Level* before = &currentLevel();

    // Not fatal to the engine (the sheet would draw nothing), but an error.
    const std::string sheet = fileContents("hero1-right.bmp");
    edit("hero1-right.bmp", "BM not a bitmap");
    testing::internal::CaptureStderr();
    nextLook();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(&currentLevel(), before);
    EXPECT_NE(reload.message().text().find("voltaro1"), std::string::npos) << reload.message().text();
    EXPECT_NE(reload.message().text().find("hero1-right.bmp"), std::string::npos) << reload.message().text();
    edit("hero1-right.bmp", sheet);
    nextLook();
    EXPECT_EQ(reload.reloadCount(), 1);
    before = &currentLevel();

    replaceInFile("voltaro1", "[Animations]\namount=9", "[Animations]\namount=5");
    testing::internal::CaptureStderr();
    nextLook();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(&currentLevel(), before);
    EXPECT_NE(errors.find("voltaro1:"), std::string::npos) << errors;
    EXPECT_NE(errors.find("Animations/amount: error:"), std::string::npos) << errors;
}

TEST_F(LiveReloadTest, ARequestedReloadRebuildsWithNothingChanged) {
    startLevel("Pendix", "voltaro1");
    for (int i = 0; i < 5; ++i) frame(held(Direction::Right));
    const Level* before = &currentLevel();
    const Fixed x = currentLevel().player().x();
    reload.requestReload();
    reload.betweenFrames(*manager);  // no second has passed: the request alone
    EXPECT_NE(&currentLevel(), before);
    EXPECT_EQ(currentLevel().player().x().raw(), x.raw());
    reload.betweenFrames(*manager);
    EXPECT_EQ(reload.reloadCount(), 1) << "a request counts once";
}

TEST_F(LiveReloadTest, AChangedMenuFileRebuildsTheMenu) {
    ASSERT_NE(dynamic_cast<StageSelect*>(manager->currentState()), nullptr);
    replaceInFile("stageselect.ini", "amount=3\nlevel0=Pendix", "amount=4\nlevel3=Pendix\nlevel0=Pendix");
    nextLook();
    const auto* menu = dynamic_cast<StageSelect*>(manager->currentState());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->levelCount(), 4);
}

TEST_F(LiveReloadTest, ALevelThatCannotLoadReturnsToTheMenuWhileWatching) {
    const std::string map = fileContents("pendix.map");
    edit("pendix.map", map.substr(0, 100));
    testing::internal::CaptureStderr();
    manager->setName(0, "Pendix");
    manager->requestStateSwitch();
    frame();
    testing::internal::GetCapturedStderr();
    ASSERT_NE(dynamic_cast<StageSelect*>(manager->currentState()), nullptr) << "the game should go on in the menu";
    EXPECT_NE(reload.message().text().find("pendix.map"), std::string::npos);
    EXPECT_TRUE(watches("pendix.map")) << "so the repair is noticed";
    EXPECT_TRUE(watches("stageselect.ini"));

    edit("pendix.map", map);
    nextLook();
    EXPECT_FALSE(reload.message().isShown());
    startLevel("Pendix", "voltaro1");
}

TEST_F(UnwatchedReloadTest, WithoutWatchingOnlyARequestReloadsAndItStillChecksWhatChanged) {
    startLevel("Pendix", "voltaro1");
    const Level* before = &currentLevel();
    replaceInFile("voltaro1", "[Animations]\namount=9", "[Animations]\namount=5");
    nextLook();
    EXPECT_EQ(&currentLevel(), before) << "nobody looks at the files";

    reload.requestReload();
    testing::internal::CaptureStderr();
    reload.betweenFrames(*manager);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(&currentLevel(), before) << "the checker's error in the changed file refuses it";
    EXPECT_NE(reload.message().text().find("Animations/amount"), std::string::npos);

    replaceInFile("voltaro1", "[Animations]\namount=5", "[Animations]\namount=9");
    reload.requestReload();
    reload.betweenFrames(*manager);
    EXPECT_NE(&currentLevel(), before);
}

TEST_F(UnwatchedReloadTest, ALevelThatCannotLoadStillEndsAnUnwatchedRun) {
    edit("pendix.map", "");
    manager->setName(0, "Pendix");
    manager->requestStateSwitch();
    EXPECT_THROW(frame(), FatalDataError);
}

TEST(ReloadMessage, WrapsAtSpacesAndEndsATooLongTextInAnEllipsis) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ReloadMessage::wrap("RELOAD FAILED: LEVELS.INI", 10, 6), (Lines{"RELOAD", "FAILED:", "LEVELS.INI"}));
    EXPECT_EQ(ReloadMessage::wrap("ABCDEFGHIJKLMN", 5, 6), (Lines{"ABCDE", "FGHIJ", "KLMN"}));  // no space: cut
    EXPECT_EQ(ReloadMessage::wrap("AAAA BBBB CCCC DDDD", 9, 2), (Lines{"AAAA BBBB", "CCCC DDDD"}));  // just fits
    EXPECT_EQ(ReloadMessage::wrap("AAAA BBBB CCCC DDDD EE", 9, 2), (Lines{"AAAA BBBB", "CCCC D..."}));
    EXPECT_EQ(ReloadMessage::wrap("AAAA BBBB", 9, 1), (Lines{"AAAA BBBB"}));  // fits exactly: no ellipsis
    EXPECT_EQ(ReloadMessage::wrap("AB", 2, 0), Lines{});
    EXPECT_EQ(ReloadMessage::wrap("", 32, 6), Lines{});
}
