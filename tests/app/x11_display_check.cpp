// The sample game in a real X window (run under Xvfb by display_under_x11,
// with a 1280x1024 screen): replayed at scale 1, at scale 3 and fullscreen,
// every mode shows the same 256x240 game picture, each game pixel a solid
// whole-number block, the rest of the display black. The pictures saved with
// --screenshot are identical in all three.

#include "app/application.h"
#include "app/default_state_factory.h"
#include "platform/game_engine.h"
#include "platform/video_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";
const std::string kLog = std::string(VOLTARO_SOURCE_DIR) + "/tests/e2e/replays/pendix-voltaro1.log";
const std::vector<uint32_t> kCheckedFrames{5, 200};  // the menu, and the level being played
constexpr int kDesktopWidth = 1280;                  // the Xvfb screen
constexpr int kDesktopHeight = 1024;

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Uint32 pixelAt(const SDL_Surface* surface, int x, int y) {
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel;
    Uint32 value = 0;
    std::memcpy(&value, at, surface->format->BytesPerPixel);
    return value;
}

// Checks the window shows the screen enlarged as the layout says, with black
// around it; returns the picture scaled back (one pixel per block).
std::vector<Uint32> scaledBack(const GameEngine& engine, uint32_t frame) {
    const SDL_Surface* window = engine.window();
    const SDL_Surface* screen = engine.screen();
    const DisplayLayout& layout = engine.layout();
    std::vector<Uint32> picture;
    EXPECT_EQ(window->format->BytesPerPixel, screen->format->BytesPerPixel);
    EXPECT_EQ(window->format->Rmask, screen->format->Rmask);
    int wrongBlocks = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 256; ++x) {
            const Uint32 corner = pixelAt(window, layout.left + x * layout.scale, layout.top + y * layout.scale);
            for (int dy = 0; dy < layout.scale; ++dy) {
                for (int dx = 0; dx < layout.scale; ++dx) {
                    const int wx = layout.left + x * layout.scale + dx;
                    const int wy = layout.top + y * layout.scale + dy;
                    if (pixelAt(window, wx, wy) != corner) ++wrongBlocks;
                }
            }
            picture.push_back(corner);
        }
    }
    EXPECT_EQ(wrongBlocks, 0) << "frame " << frame << ": pixels inside a block differ";
    const Uint32 black = SDL_MapRGB(window->format, 0, 0, 0);
    int lit = 0;
    for (int y = 0; y < window->h; ++y) {
        for (int x = 0; x < window->w; ++x) {
            const bool inside = x >= layout.left && x < layout.left + 256 * layout.scale && y >= layout.top &&
                                y < layout.top + 240 * layout.scale;
            if (!inside && pixelAt(window, x, y) != black) ++lit;
        }
    }
    EXPECT_EQ(lit, 0) << "frame " << frame << ": the border is not black";
    return picture;
}

struct ModeRun {
    DisplayLayout layout;
    std::vector<std::vector<Uint32>> pictures;  // scaled back from the window, per checked frame
    std::vector<std::string> screenshots;       // --screenshot files, per checked frame
};

ModeRun play(int scale, bool fullscreen) {
    TempDir dir;
    Options options;
    options.dataDirectory = kGameDir;
    options.replayFile = kLog;
    options.scale = scale;
    options.fullscreen = fullscreen;
    options.frameLimit = kCheckedFrames.back();
    for (uint32_t frame : kCheckedFrames) options.screenshots.push_back({frame, dir.file(std::to_string(frame) + ".bmp")});
    ModeRun run;
    Application application(options, defaultStateFactory());
    application.setFrameObserver([&run](uint32_t frame, const GameStateManager&) {
        if (std::find(kCheckedFrames.begin(), kCheckedFrames.end(), frame) == kCheckedFrames.end()) return;
        const auto* engine = dynamic_cast<const GameEngine*>(getVideoService());
        if (engine == nullptr) return;
        run.layout = engine->layout();
        run.pictures.push_back(scaledBack(*engine, frame));
    });
    const int status = application.run();
    EXPECT_EQ(status, 0);
    for (uint32_t frame : kCheckedFrames) run.screenshots.push_back(readFile(dir.file(std::to_string(frame) + ".bmp")));
    return run;
}

class X11Display : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // No usable X server is not a failure of the game: the script retries.
        if (SDL_Init(SDL_INIT_VIDEO) < 0) {
            std::fprintf(stderr, "the X display could not be opened: %s\n", SDL_GetError());
            std::exit(3);
        }
        SDL_Quit();
    }
};

}  // namespace

TEST_F(X11Display, EveryModeShowsTheSameGamePixelsInWholeBlocks) {
    const ModeRun one = play(1, false);
    const ModeRun three = play(3, false);
    const ModeRun full = play(1, true);
    EXPECT_EQ(one.layout, DisplayLayout::window(1));
    EXPECT_EQ(three.layout, DisplayLayout::window(3));
    EXPECT_EQ(full.layout, DisplayLayout::fullscreenOn(kDesktopWidth, kDesktopHeight, 1));
    EXPECT_EQ(full.layout.scale, 4);
    ASSERT_EQ(one.pictures.size(), kCheckedFrames.size());
    ASSERT_EQ(three.pictures.size(), kCheckedFrames.size());
    ASSERT_EQ(full.pictures.size(), kCheckedFrames.size());
    for (size_t i = 0; i < kCheckedFrames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(kCheckedFrames[i]));
        EXPECT_TRUE(three.pictures[i] == one.pictures[i]) << "scale 3 scaled back differs from scale 1";
        EXPECT_TRUE(full.pictures[i] == one.pictures[i]) << "fullscreen scaled back differs from scale 1";
        EXPECT_FALSE(one.screenshots[i].empty());
        EXPECT_TRUE(three.screenshots[i] == one.screenshots[i]) << "--screenshot at scale 3 differs";
        EXPECT_TRUE(full.screenshots[i] == one.screenshots[i]) << "--screenshot in fullscreen differs";
    }
    EXPECT_FALSE(one.pictures[0] == one.pictures[1]) << "the menu and the level look alike: nothing was shown";
}
