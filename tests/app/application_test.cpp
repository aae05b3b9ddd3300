#include "app/application.h"

#include "platform/audio_service.h"
#include "platform/fatal_data_error.h"
#include "platform/silent_audio_service.h"
#include "platform/video_service.h"
#include "support/recording_audio_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {
std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A state whose picture depends on every update it had: a square that moves
// with the arrow keys and a bar that grows by one pixel per update. B asks
// for the switch.
class MovingSquare : public GameState {
public:
    MovingSquare(GameStateManager* manager, Uint8 red) : m_manager(manager) {
        m_square = getVideoService()->createSurface(8, 8);
        m_dot = getVideoService()->createSurface(1, 1);
        SDL_FillRect(m_square.get(), nullptr, SDL_MapRGB(m_square->format, red, 200, 50));
        SDL_FillRect(m_dot.get(), nullptr, SDL_MapRGB(m_dot->format, 255, 255, 255));
    }
    void update(InputState input) override {
        if (input.horizontal == Direction::Left) m_x -= 3;
        if (input.horizontal == Direction::Right) m_x += 3;
        if (input.vertical == Direction::Up) m_y -= 3;
        if (input.vertical == Direction::Down) m_y += 3;
        ++m_updates;
        if (input.shootPressed) m_manager->requestStateSwitch();
    }
    void draw() override {
        getVideoService()->clearScreen();
        getVideoService()->blit(m_square.get(), m_x, m_y, nullptr);
        for (int i = 0; i < m_updates; ++i) getVideoService()->blit(m_dot.get(), i % 256, 230 + i / 256, nullptr);
    }

private:
    GameStateManager* m_manager;
    SurfaceHandle m_square;
    SurfaceHandle m_dot;
    int m_x = 100;
    int m_y = 100;
    int m_updates = 0;
};

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() { start.enter(); }

    StateFactory factory() {
        StateFactory factory;
        factory.createFirstState = [this](GameStateManager* manager) -> GameState* {
            ++statesBuilt;
            directorySeen = std::filesystem::current_path().string();
            return new MovingSquare(manager, 10);
        };
        factory.createLevel = [this](GameStateManager* manager) -> GameState* {
            ++statesBuilt;
            return new MovingSquare(manager, 250);
        };
        return factory;
    }

    static Options headless() {
        Options options;
        options.headless = true;
        return options;
    }

    int run(const Options& options, StateFactory states) {
        Application application(options, std::move(states));
        application.setFrameObserver([this](uint32_t frame, const GameStateManager& manager) {
            lastFrame = frame;
            if (manager.currentState() == nullptr) ADD_FAILURE() << "no current state in frame " << frame;
        });
        return application.run();
    }

    int run(const Options& options) { return run(options, factory()); }

    // Replays `log` headless with screenshots after frames 5, 20 and 40
    // into files with the given prefix; returns the three pictures.
    std::string replayWithScreenshots(const std::string& log, const std::string& prefix) {
        Options options = headless();
        options.replayFile = log;
        options.frameLimit = 40;
        for (uint32_t frame : {5u, 20u, 40u}) {
            options.screenshots.push_back({frame, prefix + std::to_string(frame) + ".bmp"});
        }
        EXPECT_EQ(run(options), 0);
        return readFile(prefix + "5.bmp") + readFile(prefix + "20.bmp") + readFile(prefix + "40.bmp");
    }

    TempDir start;  // the directory the "program" was started in
    int statesBuilt = 0;
    uint32_t lastFrame = 0;
    std::string directorySeen;
};

// Moves, pauses, single-steps while paused, switches to the level and moves on.
const char* const kLog =
    "2 right down\n"
    "6 down down\n"
    "8 enter down\n"
    "8 enter up\n"
    "9 left down\n"
    "11 tab down\n"
    "12 right up\n"
    "14 tab down\n"
    "15 enter down\n"
    "16 down up\n"
    "18 b down\n"
    "19 b up\n"
    "21 space down\n"
    "25 up down\n"
    "33 left up\n";
}  // namespace

TEST_F(ApplicationTest, ReplayingALogTwiceGivesByteIdenticalScreenshots) {
    start.write("run.log", kLog);
    const std::string first = replayWithScreenshots("run.log", "first");
    const std::string second = replayWithScreenshots("run.log", "second");
    ASSERT_GT(first.size(), 3u * 256 * 240 * 3);
    EXPECT_EQ(first, second);
    EXPECT_EQ(statesBuilt, 4);  // menu and level, twice
}

TEST_F(ApplicationTest, ScreenshotsFollowTheInput) {
    start.write("run.log", kLog);
    start.write("other.log", "2 left down\n");
    EXPECT_NE(replayWithScreenshots("run.log", "a"), replayWithScreenshots("other.log", "b"));
}

TEST_F(ApplicationTest, RecordingAReplayWritesALogThatReplaysIdentically) {
    start.write("run.log", kLog);
    Options options = headless();
    options.replayFile = "run.log";
    options.recordFile = "again.log";
    options.frameLimit = 40;
    ASSERT_EQ(run(options), 0);
    EXPECT_NE(readFile(start.file("again.log")).find(kLog), std::string::npos);
    EXPECT_EQ(replayWithScreenshots("run.log", "a"), replayWithScreenshots("again.log", "b"));
}

TEST_F(ApplicationTest, MalformedLogIsRejectedWithItsLineNumberBeforeTheGameStarts) {
    start.write("bad.log", "1 up down\n# fine\n3 jump down\n");
    Options options = headless();
    options.replayFile = "bad.log";
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options), Application::kExitUsage);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("bad.log:3: unknown key 'jump'"), std::string::npos) << message;
    EXPECT_EQ(statesBuilt, 0);
}

TEST_F(ApplicationTest, ReplayedQuitEndsTheRunAfterThatFrame) {
    start.write("quit.log", "5 quit\n");
    Options options = headless();
    options.replayFile = "quit.log";
    EXPECT_EQ(run(options), 0);
    EXPECT_EQ(lastFrame, 5u);
}

TEST_F(ApplicationTest, FrameLimitRunsExactlyThatManyFrames) {
    Options options = headless();
    options.frameLimit = 7;
    EXPECT_EQ(run(options), 0);
    EXPECT_EQ(lastFrame, 7u);
}

TEST_F(ApplicationTest, FatalDataErrorWhileBuildingTheFirstStateEndsWithStatusOne) {
    StateFactory states = factory();
    states.createFirstState = [](GameStateManager*) -> GameState* {
        throw FatalDataError("tileSheet != NULL", "map", 42, "\"tiles.bmp\" cannot be loaded");
    };
    Options options = headless();
    options.frameLimit = 3;
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options, states), Application::kExitFailure);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "voltaro: Assertion failed: tileSheet != NULL, source map, line 42: \"tiles.bmp\" cannot be loaded\n");
}

TEST_F(ApplicationTest, FatalDataErrorWhileBuildingTheLevelEndsWithStatusOne) {
    StateFactory states = factory();
    states.createLevel = [](GameStateManager*) -> GameState* {
        throw FatalDataError("mapFile", "map", 7, "truncated\nat byte 12");
    };
    start.write("confirm.log", "2 b down\n");
    Options options = headless();
    options.replayFile = "confirm.log";
    options.frameLimit = 10;
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options, states), Application::kExitFailure);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message, "voltaro: Assertion failed: mapFile, source map, line 7: truncated at byte 12\n");
    EXPECT_EQ(lastFrame, 2u);
}

TEST_F(ApplicationTest, DataDirectoryIsTheWorkingDirectoryWhileFilesAreNamedFromTheStart) {
    TempDir data;
    Options options = headless();
    options.dataDirectory = data.path();
    options.frameLimit = 2;
    options.screenshots.push_back({2, "shot.bmp"});
    EXPECT_EQ(run(options), 0);
    EXPECT_EQ(std::filesystem::canonical(directorySeen), std::filesystem::canonical(data.path()));
    EXPECT_TRUE(std::filesystem::exists(start.file("shot.bmp")));
    EXPECT_FALSE(std::filesystem::exists(data.file("shot.bmp")));
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()), std::filesystem::canonical(start.path()));
}

TEST_F(ApplicationTest, MissingDataDirectoryIsAUsageError) {
    Options options = headless();
    options.dataDirectory = "no-such-directory";
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options), Application::kExitUsage);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no-such-directory"), std::string::npos);
    EXPECT_EQ(statesBuilt, 0);
}

TEST_F(ApplicationTest, UnwritableRecordFileIsAUsageError) {
    Options options = headless();
    options.recordFile = "no/such/dir/run.log";
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options), Application::kExitUsage);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("run.log"), std::string::npos);
    EXPECT_EQ(statesBuilt, 0);
}

TEST_F(ApplicationTest, ScreenshotOfAFrameNeverReachedIsReported) {
    Options options = headless();
    options.frameLimit = 3;
    options.screenshots.push_back({9, "late.bmp"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("late.bmp"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(start.file("late.bmp")));
}

TEST_F(ApplicationTest, VideoServiceIsRegisteredOnlyDuringTheRun) {
    VideoService* seen = nullptr;
    StateFactory states = factory();
    states.createFirstState = [&seen](GameStateManager* manager) -> GameState* {
        seen = getVideoService();
        return new MovingSquare(manager, 0);
    };
    Options options = headless();
    options.frameLimit = 1;
    EXPECT_EQ(run(options, states), 0);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(getVideoService(), nullptr);
}

TEST_F(ApplicationTest, AWokenRunShowsTheSameFramesAsRun) {
    start.write("run.log", kLog);
    const std::string ownLoop = replayWithScreenshots("run.log", "own");

    TempDir data;
    Options options = headless();
    options.dataDirectory = data.path();
    options.replayFile = "run.log";
    options.frameLimit = 40;
    for (uint32_t frame : {5u, 20u, 40u}) options.screenshots.push_back({frame, "woken" + std::to_string(frame) + ".bmp"});
    Application application(options, factory());
    ASSERT_EQ(application.start(), Application::kRunning);
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()), std::filesystem::canonical(data.path()));
    int status = Application::kRunning;
    int wakes = 0;
    while (status == Application::kRunning && wakes++ < 1000) status = application.runDueFrames();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(application.lastFrame(), 40u);
    EXPECT_EQ(readFile("woken5.bmp") + readFile("woken20.bmp") + readFile("woken40.bmp"), ownLoop);
    // Ended like run: the directory is back and the video service is gone.
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()), std::filesystem::canonical(start.path()));
    EXPECT_EQ(getVideoService(), nullptr);
    EXPECT_EQ(application.runDueFrames(), Application::kExitFailure);  // nothing left to run
}

TEST_F(ApplicationTest, AnApplicationDroppedMidRunShutsTheGameDown) {
    TempDir data;
    Options options = headless();
    options.dataDirectory = data.path();
    {
        Application application(options, factory());
        ASSERT_EQ(application.start(), Application::kRunning);
        application.runDueFrames();
        EXPECT_NE(getVideoService(), nullptr);
    }
    EXPECT_EQ(getVideoService(), nullptr);
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()), std::filesystem::canonical(start.path()));
}

TEST_F(ApplicationTest, AWokenRunThatCannotStartSaysWhyAndLeavesTheDirectory) {
    TempDir data;
    StateFactory states = factory();
    states.createFirstState = [](GameStateManager*) -> GameState* {
        throw FatalDataError("tileSheet != NULL", "map", 1, "missing");
    };
    Options options = headless();
    options.dataDirectory = data.path();
    Application application(options, states);
    testing::internal::CaptureStderr();
    EXPECT_EQ(application.start(), Application::kExitFailure);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("tileSheet != NULL"), std::string::npos);
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()), std::filesystem::canonical(start.path()));
    EXPECT_EQ(getVideoService(), nullptr);
}

// --- Sound ---------------------------------------------------------------------

namespace {
// States that note, when built, which audio service they would play through.
StateFactory noticingTheAudioService(AudioService*& seen) {
    StateFactory states;
    states.createFirstState = [&seen](GameStateManager* manager) -> GameState* {
        seen = &getAudioService();
        return new MovingSquare(manager, 0);
    };
    states.createLevel = states.createFirstState;
    return states;
}
}  // namespace

TEST_F(ApplicationTest, AGivenAudioServiceIsRegisteredOnlyDuringTheRunWithSoundIniLoadedIntoIt) {
    start.write("sound.ini", "[jump]\nfile=sounds/jump.wav\nvolume=70\n[pause]\nfile=sounds/pause.wav\n");
    RecordingAudioService audio;
    AudioService* seen = nullptr;
    Options options = headless();
    options.frameLimit = 1;
    Application application(options, noticingTheAudioService(seen));
    application.useAudioService(&audio);
    EXPECT_EQ(application.run(), 0);
    EXPECT_EQ(seen, &audio);
    ASSERT_EQ(audio.loads().size(), 2u);
    EXPECT_EQ(audio.loads()[0].file, "sounds/jump.wav");
    EXPECT_EQ(audio.loads()[0].volume, 70);
    EXPECT_EQ(audio.loads()[1].event, SoundEvent::Pause);
    EXPECT_NE(dynamic_cast<SilentAudioService*>(&getAudioService()), nullptr) << "unregistered after the run";
}

TEST_F(ApplicationTest, AHeadlessRunOpensNoAudioDeviceAndSaysNothingAboutIt) {
    unsetenv("SDL_AUDIODRIVER");
    AudioService* seen = nullptr;
    Options options = headless();
    options.frameLimit = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(options, noticingTheAudioService(seen)), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(dynamic_cast<SilentAudioService*>(seen), nullptr);
}

TEST_F(ApplicationTest, AnAudioDriverThatCannotOpenLeavesTheGameSilentWithOneLine) {
    // SDL_AUDIODRIVER makes a headless run open the audio device.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Options options = headless();
    options.frameLimit = 3;
    testing::internal::CaptureStderr();
    const int status = run(options);
    const std::string errors = testing::internal::GetCapturedStderr();
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lastFrame, 3u);
    EXPECT_EQ(errors.compare(0, 19, "voltaro: no sound: "), 0) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("; the game plays silently\n"), std::string::npos) << errors;
}
