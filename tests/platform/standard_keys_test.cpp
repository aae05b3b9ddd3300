// The keys outside the game's input: Esc, F11 and Alt+Enter, F12, F3, and
// any key added later. They act on key-down, never reach the game's input
// record, and never show in what the recorder is told.

#include "platform/game_engine.h"
#include "platform/replay_log.h"
#include "platform/standard_keys.h"
#include "support/temp_dir.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

void pushKey(SDLKey key, bool down, int modifiers = KMOD_NONE) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = static_cast<SDLMod>(modifiers);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void tap(SDLKey key, int modifiers = KMOD_NONE) {
    pushKey(key, true, modifiers);
    pushKey(key, false, modifiers);
}

GameEngine::Settings headless() {
    GameEngine::Settings settings;
    settings.headless = true;
    settings.inputDeviceList = "";
    settings.scale = 2;
    settings.desktopWidth = 1366;
    settings.desktopHeight = 768;
    return settings;
}

class StandardKeyTest : public ::testing::Test {
protected:
    StandardKeyTest() {
        engine.setEventObserver([this](const SDL_Event& event) {
            if (event.type == SDL_QUIT) {
                told.push_back("quit");
                return;
            }
            const char* name = ReplayLog::keyName(event.key.keysym.sym);
            told.push_back(std::string(name != nullptr ? name : "?") + (event.type == SDL_KEYDOWN ? "+" : "-"));
        });
    }

    GameEngine engine{headless()};
    std::vector<std::string> told;  // what a recorder would write
};

}  // namespace

TEST_F(StandardKeyTest, EscapeQuitsLikeClosingTheWindow) {
    tap(SDLK_ESCAPE);
    engine.pollInput();
    EXPECT_TRUE(engine.isQuitRequested());
    EXPECT_EQ(told, (std::vector<std::string>{"quit"})) << "logged as the quit it is, never as a key";
}

TEST_F(StandardKeyTest, F3HidesAndShowsTheOverlayButAPinnedOverlayKeepsTheStartSetting) {
    EXPECT_TRUE(engine.isDebugOverlayShown());
    tap(SDLK_F3);
    engine.pollInput();
    EXPECT_FALSE(engine.isDebugOverlayShown());
    engine.pinOverlayToStartSetting(true);
    EXPECT_TRUE(engine.isDebugOverlayShown());
    engine.pinOverlayToStartSetting(false);
    tap(SDLK_F3);
    engine.pollInput();
    EXPECT_TRUE(engine.isDebugOverlayShown());
    EXPECT_TRUE(told.empty());
}

TEST(StandardKeyOverlay, NoOverlayAtTheStartIsWhatAPinShows) {
    GameEngine::Settings settings = headless();
    settings.overlayShown = false;
    GameEngine engine(settings);
    EXPECT_FALSE(engine.isDebugOverlayShown());
    tap(SDLK_F3);
    engine.pollInput();
    EXPECT_TRUE(engine.isDebugOverlayShown());
    engine.pinOverlayToStartSetting(true);
    EXPECT_FALSE(engine.isDebugOverlayShown());
}

TEST_F(StandardKeyTest, F11AndAltEnterSwitchFullscreenWithoutPausing) {
    ASSERT_FALSE(engine.layout().fullscreen);
    tap(SDLK_F11);
    engine.pollInput();
    EXPECT_TRUE(engine.layout().fullscreen);
    EXPECT_EQ(engine.window()->w, 1366);
    tap(SDLK_RETURN, KMOD_LALT);
    engine.pollInput();
    EXPECT_FALSE(engine.layout().fullscreen);
    EXPECT_EQ(engine.window()->w, 512) << "back to the 2x window";
    EXPECT_FALSE(engine.isPaused()) << "Alt+Enter is not the pause key";
    EXPECT_TRUE(told.empty()) << "neither the Enter press nor its release is a game input";
}

TEST_F(StandardKeyTest, EnterAloneStillPausesAndAltReleasedFirstStillSwallowsTheRelease) {
    pushKey(SDLK_RETURN, true, KMOD_RALT);
    pushKey(SDLK_RETURN, false, KMOD_NONE);  // Alt let go before Enter
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
    EXPECT_TRUE(told.empty());
    tap(SDLK_RETURN);
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
    EXPECT_EQ(told, (std::vector<std::string>{"enter+", "enter-"}));
}

TEST_F(StandardKeyTest, StandardKeysWorkWhileAReplayPlays) {
    engine.setLiveKeyboardIgnored(true);
    tap(SDLK_F3);
    tap(SDLK_ESCAPE);
    engine.pollInput();
    EXPECT_FALSE(engine.isDebugOverlayShown());
    EXPECT_TRUE(engine.isQuitRequested());
}

TEST_F(StandardKeyTest, F12SavesTheScreenAsAPngNamedByTheTime) {
    TempDir dir;
    engine.setScreenshotFolder(ScreenshotFolder(dir.file("shots")));
    SDL_FillRect(engine.screen(), nullptr, SDL_MapRGB(engine.screen()->format, 0, 0, 0));
    SDL_Rect dot{10, 20, 1, 1};
    SDL_FillRect(engine.screen(), &dot, SDL_MapRGB(engine.screen()->format, 200, 100, 50));
    testing::internal::CaptureStdout();
    tap(SDLK_F12);
    engine.pollInput();
    const std::string said = testing::internal::GetCapturedStdout();
    const size_t at = said.find(dir.file("shots") + "/voltaro-");
    ASSERT_NE(at, std::string::npos) << said;
    const std::string fileName = said.substr(at, said.find('\n', at) - at);

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, fileName.c_str()), 0) << fileName;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
    EXPECT_EQ(image.width, 256u);
    EXPECT_EQ(image.height, 240u);
    const size_t pixel = (20 * 256 + 10) * 3;
    EXPECT_EQ((std::vector<int>{rgb[pixel], rgb[pixel + 1], rgb[pixel + 2]}), (std::vector<int>{200, 100, 50}));
    EXPECT_EQ(rgb[0], 0);
    EXPECT_TRUE(told.empty());
}

TEST_F(StandardKeyTest, AScreenshotThatCannotBeSavedIsReportedAndPlayGoesOn) {
    TempDir dir;
    dir.write("taken", "a file where the folder should be");
    engine.setScreenshotFolder(ScreenshotFolder(dir.file("taken")));
    testing::internal::CaptureStderr();
    tap(SDLK_F12);
    engine.pollInput();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot save a screenshot"), std::string::npos);
    EXPECT_FALSE(engine.isQuitRequested());
}

TEST_F(StandardKeyTest, AnAddedKeyIsOneCallAndCannotBeBound) {
    int toggles = 0;
    engine.standardKeys().add(SDLK_F5, KMOD_NONE, "example", [&toggles] { ++toggles; });
    tap(SDLK_F5);
    engine.pollInput();
    EXPECT_EQ(toggles, 1);
    std::string purpose;
    EXPECT_TRUE(engine.standardKeys().isReserved(SDLK_F5, purpose));
    EXPECT_EQ(purpose, "example");
    EXPECT_TRUE(told.empty());
}

TEST(StandardKeys, KeysNeedingModifiersAreTriedFirstAndAreNotReserved) {
    StandardKeys keys;
    std::vector<std::string> ran;
    keys.add(SDLK_F11, KMOD_NONE, "fullscreen", [&ran] { ran.push_back("F11"); });
    keys.add(SDLK_RETURN, KMOD_ALT, "fullscreen", [&ran] { ran.push_back("Alt+Enter"); });
    EXPECT_FALSE(keys.handle(SDLK_RETURN, KMOD_NONE));
    EXPECT_TRUE(keys.handle(SDLK_RETURN, KMOD_LALT | KMOD_LSHIFT));
    EXPECT_TRUE(keys.handle(SDLK_F11, KMOD_LCTRL)) << "a key without modifiers ignores them";
    EXPECT_EQ(ran, (std::vector<std::string>{"Alt+Enter", "F11"}));
    std::string purpose;
    EXPECT_FALSE(keys.isReserved(SDLK_RETURN, purpose)) << "Enter alone stays a game key";
    EXPECT_TRUE(keys.isReserved(SDLK_F11, purpose));
}
