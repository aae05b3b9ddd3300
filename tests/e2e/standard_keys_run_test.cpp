// The sample game replayed twice from one input log, once untouched and once
// with the standard keys pressed live along the way: F3 hides and shows the
// overlay, F11 and Alt+Enter go fullscreen and back, F12 saves a PNG, Esc
// ends the run. The game must not notice: the same trace, the same pictures
// saved with --screenshot, and a recorded log in which none of those keys
// appears (Esc only as the quit it causes).

#include "app/application.h"
#include "app/default_state_factory.h"
#include "level/trace_writer.h"
#include "platform/game_engine.h"
#include "platform/video_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";
const std::string kLog = std::string(VOLTARO_SOURCE_DIR) + "/tests/e2e/replays/pendix-voltaro1.log";
constexpr uint32_t kLastFrame = 700;
// The log plays the level from frame 185 to 272 and from 452 on.
constexpr uint32_t kUnpinnedFrame = 210;  // overlay hidden by F3, and no --screenshot here
const std::vector<uint32_t> kScreenshotFrames{215, 260, 500, 650};

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void tap(SDLKey key, int modifiers = KMOD_NONE) {
    for (bool down : {true, false}) {
        SDL_Event event;
        SDL_memset(&event, 0, sizeof event);
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = key;
        event.key.keysym.mod = static_cast<SDLMod>(modifiers);
        SDL_PushEvent(&event);
    }
}

// The log's event lines up to `lastFrame`, comments left out.
std::string eventsUpTo(const std::string& log, uint32_t lastFrame) {
    std::istringstream in(log);
    std::string line;
    std::string kept;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (std::stoul(line) > lastFrame) break;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        kept += line + "\n";
    }
    return kept;
}

struct ReplayRun {
    std::string trace;
    std::string recorded;
    std::vector<std::string> screenshots;
    std::string unpinnedScreen;  // the screen at kUnpinnedFrame, saved from inside the run
};

// Replays the log in a copy of the sample game; with `pressKeys`, the
// standard keys are pressed after the frames listed below.
ReplayRun replay(bool pressKeys) {
    TempDir dir;
    std::filesystem::copy(kGameDir, dir.file("game"), std::filesystem::copy_options::recursive);
    Options options;
    options.headless = true;
    options.dataDirectory = dir.file("game");
    options.replayFile = kLog;
    options.recordFile = dir.file("recorded.log");
    options.frameLimit = kLastFrame + 100;  // Esc ends the run with keys, the log's events without
    if (!pressKeys) options.frameLimit = kLastFrame;
    for (uint32_t frame : kScreenshotFrames) options.screenshots.push_back({frame, dir.file(std::to_string(frame) + ".bmp")});

    const std::map<uint32_t, std::vector<std::pair<SDLKey, int>>> presses{
        {200, {{SDLK_F3, KMOD_NONE}}},  {220, {{SDLK_F11, KMOD_NONE}}},    {240, {{SDLK_RETURN, KMOD_LALT}}},
        {250, {{SDLK_F12, KMOD_NONE}}}, {480, {{SDLK_F3, KMOD_NONE}}},      {600, {{SDLK_F3, KMOD_NONE}}},
        {kLastFrame - 1, {{SDLK_ESCAPE, KMOD_NONE}}},
    };
    Application application(options, defaultStateFactory());
    TraceWriter trace(dir.file("trace.csv"));
    ReplayRun run;
    application.setFrameObserver([&](uint32_t frame, const GameStateManager& manager) {
        trace.writeFrame(frame, manager.currentState());
        if (frame == kUnpinnedFrame) {
            std::string error;
            auto* engine = dynamic_cast<GameEngine*>(getVideoService());
            if (engine == nullptr || !engine->saveScreen(dir.file("unpinned.bmp"), error)) ADD_FAILURE() << error;
        }
        const auto pressed = presses.find(frame);
        if (pressKeys && pressed != presses.end()) {
            for (const auto& key : pressed->second) tap(key.first, key.second);
        }
    });
    testing::internal::CaptureStdout();
    EXPECT_EQ(application.run(), 0);
    const std::string said = testing::internal::GetCapturedStdout();
    if (pressKeys) {
        EXPECT_NE(said.find("screenshot saved as screenshots/voltaro-"), std::string::npos) << said;
        const std::filesystem::path shots = dir.file("game/screenshots");
        EXPECT_TRUE(std::filesystem::is_directory(shots) && !std::filesystem::is_empty(shots)) << "no F12 picture";
    }
    run.trace = readFile(dir.file("trace.csv"));
    run.recorded = readFile(dir.file("recorded.log"));
    for (uint32_t frame : kScreenshotFrames) run.screenshots.push_back(readFile(dir.file(std::to_string(frame) + ".bmp")));
    run.unpinnedScreen = readFile(dir.file("unpinned.bmp"));
    return run;
}

}  // namespace

TEST(StandardKeysDuringAReplay, TheGameRunsExactlyAsWithoutThem) {
    const ReplayRun plain = replay(false);
    const ReplayRun pressed = replay(true);
    ASSERT_FALSE(plain.trace.empty());
    EXPECT_EQ(std::count(plain.trace.begin(), plain.trace.end(), '\n'), kLastFrame + 1) << "a header and every frame";
    EXPECT_TRUE(pressed.trace == plain.trace) << "the trace changed";
    for (size_t i = 0; i < kScreenshotFrames.size(); ++i) {
        EXPECT_FALSE(plain.screenshots[i].empty());
        EXPECT_TRUE(pressed.screenshots[i] == plain.screenshots[i])
            << "--screenshot of frame " << kScreenshotFrames[i] << " changed";
    }
    // F3 did hide the overlay on screen, where no --screenshot pins it.
    EXPECT_FALSE(pressed.unpinnedScreen == plain.unpinnedScreen) << "F3 hid nothing in frame " << kUnpinnedFrame;

    const std::string replayed = eventsUpTo(readFile(kLog), kLastFrame);
    EXPECT_EQ(eventsUpTo(plain.recorded, kLastFrame), replayed);
    EXPECT_EQ(eventsUpTo(pressed.recorded, kLastFrame), replayed + std::to_string(kLastFrame) + " quit\n")
        << "only the quit Esc caused";
}
