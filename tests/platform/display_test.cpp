// The picture's way onto the display: the whole-number layouts for typical
// desktops, the fast enlargement against the byte-by-byte one, and the
// engine's window and fullscreen modes (headless, with a desktop size given).

#include "platform/display_layout.h"
#include "platform/game_engine.h"
#include "platform/pixel_scaler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Desktop {
    int width;
    int height;
    int windowScale;      // --scale auto
    int fullscreenScale;  // --fullscreen
};

// Windows leave 16x80 pixels of the desktop for their frame and panels.
const Desktop kDesktops[] = {
    {1366, 768, 2, 3}, {1920, 1080, 4, 4}, {2560, 1440, 5, 6}, {3840, 2160, 8, 9}, {800, 600, 2, 2},
};

// A surface of the given pixel size whose rows are padded beyond the
// picture, filled with a pseudo-random pattern.
SDL_Surface* patterned(int width, int height, int bytes, unsigned seed) {
    static const Uint32 kMasks[5][3] = {
        {0, 0, 0}, {0, 0, 0}, {0xf800, 0x07e0, 0x001f}, {0xff0000, 0x00ff00, 0x0000ff}, {0xff0000, 0x00ff00, 0x0000ff}};
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, bytes * 8, kMasks[bytes][0], kMasks[bytes][1],
                                                kMasks[bytes][2], 0);
    if (surface == nullptr) return nullptr;
    std::mt19937 random(seed);
    Uint8* pixels = static_cast<Uint8*>(surface->pixels);
    for (int i = 0; i < surface->pitch * surface->h; ++i) pixels[i] = static_cast<Uint8>(random());
    return surface;
}

bool samePixels(const SDL_Surface& a, const SDL_Surface& b) {
    if (a.w != b.w || a.h != b.h || a.pitch != b.pitch) return false;
    return std::memcmp(a.pixels, b.pixels, static_cast<size_t>(a.pitch) * a.h) == 0;
}

Uint32 pixelAt(const SDL_Surface* surface, int x, int y) {
    return *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * 4);
}

GameEngine::Settings headless() {
    GameEngine::Settings settings;
    settings.headless = true;
    settings.inputDeviceList = "";
    return settings;
}

}  // namespace

// --- Layouts ---------------------------------------------------------------

TEST(DisplayLayout, TypicalDesktopsGetTheLargestWholeScaleThatFits) {
    for (const Desktop& desktop : kDesktops) {
        const std::string name = std::to_string(desktop.width) + "x" + std::to_string(desktop.height);
        const DisplayLayout window = DisplayLayout::windowFitting(desktop.width, desktop.height);
        EXPECT_EQ(window.scale, desktop.windowScale) << name;
        EXPECT_EQ(window.width, 256 * desktop.windowScale) << name;
        EXPECT_EQ(window.height, 240 * desktop.windowScale) << name;
        EXPECT_FALSE(window.fullscreen);

        const DisplayLayout full = DisplayLayout::fullscreenOn(desktop.width, desktop.height, 1);
        EXPECT_EQ(full.scale, desktop.fullscreenScale) << name;
        EXPECT_EQ(full.width, desktop.width) << name;
        EXPECT_EQ(full.height, desktop.height) << name;
        EXPECT_TRUE(full.fullscreen);
        // Centred: equal borders, or one pixel more on the right or bottom.
        const int right = full.width - full.left - 256 * full.scale;
        const int bottom = full.height - full.top - 240 * full.scale;
        EXPECT_TRUE(right == full.left || right == full.left + 1) << name;
        EXPECT_TRUE(bottom == full.top || bottom == full.top + 1) << name;
        EXPECT_GE(full.left, 0) << name;
        EXPECT_GE(full.top, 0) << name;
    }
    EXPECT_EQ(DisplayLayout::fullscreenOn(1366, 768, 1), (DisplayLayout{1366, 768, 3, 299, 24, true}));
}

TEST(DisplayLayout, UnknownOrTinyDesktopsStillShowTheWholePicture) {
    EXPECT_EQ(DisplayLayout::windowFitting(0, 0), DisplayLayout::window(1));
    EXPECT_EQ(DisplayLayout::windowFitting(640, 200), DisplayLayout::window(1));
    EXPECT_EQ(DisplayLayout::fullscreenOn(0, 0, 3), (DisplayLayout{768, 720, 3, 0, 0, true}));
    EXPECT_EQ(DisplayLayout::fullscreenOn(320, 200, 2), (DisplayLayout{320, 240, 1, 32, 0, true}));
}

// --- The enlargement ---------------------------------------------------

TEST(PixelScaler, WholePixelStoresGiveExactlyTheBytewisePixels) {
    for (int bytes = 1; bytes <= 4; ++bytes) {
        for (int scale = 1; scale <= 10; ++scale) {
            SCOPED_TRACE(std::to_string(bytes) + " bytes per pixel, scale " + std::to_string(scale));
            SDL_Surface* source = patterned(37, 11, bytes, static_cast<unsigned>(scale));
            // Room around the picture, as in fullscreen.
            const int width = 37 * scale + 13;
            const int height = 11 * scale + 5;
            SDL_Surface* fast = patterned(width, height, bytes, 99);
            SDL_Surface* reference = patterned(width, height, bytes, 99);
            ASSERT_TRUE(source && fast && reference);
            EXPECT_TRUE(PixelScaler::enlarge(*source, *fast, scale, 7, 3));
            EXPECT_TRUE(PixelScaler::enlargeBytewise(*source, *reference, scale, 7, 3));
            EXPECT_TRUE(samePixels(*fast, *reference));
            SDL_FreeSurface(source);
            SDL_FreeSurface(fast);
            SDL_FreeSurface(reference);
        }
    }
}

TEST(PixelScaler, EachPixelBecomesABlockAndNothingAroundIsTouched) {
    SDL_Surface* source = patterned(4, 3, 4, 1);
    SDL_Surface* target = patterned(4 * 3 + 4, 3 * 3 + 4, 4, 2);
    SDL_Surface* before = patterned(4 * 3 + 4, 3 * 3 + 4, 4, 2);
    ASSERT_TRUE(PixelScaler::enlarge(*source, *target, 3, 2, 2));
    for (int y = 0; y < target->h; ++y) {
        for (int x = 0; x < target->w; ++x) {
            const bool inside = x >= 2 && x < 14 && y >= 2 && y < 11;
            const Uint32 expected = inside ? pixelAt(source, (x - 2) / 3, (y - 2) / 3) : pixelAt(before, x, y);
            ASSERT_EQ(pixelAt(target, x, y), expected) << x << "," << y;
        }
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
    SDL_FreeSurface(before);
}

TEST(PixelScaler, RefusesWhatDoesNotFitOrDiffersInPixelSize) {
    SDL_Surface* source = patterned(8, 8, 4, 1);
    SDL_Surface* small = patterned(20, 20, 4, 2);
    SDL_Surface* other = patterned(40, 40, 2, 3);
    EXPECT_FALSE(PixelScaler::enlarge(*source, *small, 3, 0, 0));
    EXPECT_FALSE(PixelScaler::enlarge(*source, *small, 2, 5, 0));
    EXPECT_FALSE(PixelScaler::enlarge(*source, *small, 0, 0, 0));
    EXPECT_FALSE(PixelScaler::enlarge(*source, *small, 1, -1, 0));
    EXPECT_FALSE(PixelScaler::enlarge(*source, *other, 2, 0, 0));
    EXPECT_TRUE(PixelScaler::enlarge(*source, *small, 2, 4, 4));
    SDL_FreeSurface(source);
    SDL_FreeSurface(small);
    SDL_FreeSurface(other);
}

// --- The engine's modes -------------------------------------------------

TEST(DisplayModes, FullscreenCentresTheEnlargedPictureOnBlack) {
    GameEngine::Settings settings = headless();
    settings.fullscreen = true;
    settings.desktopWidth = 1366;
    settings.desktopHeight = 768;
    GameEngine engine(settings);
    EXPECT_EQ(engine.layout(), (DisplayLayout{1366, 768, 3, 299, 24, true}));
    SDL_Surface* window = engine.window();
    ASSERT_EQ(window->w, 1366);
    SDL_FillRect(engine.screen(), nullptr, SDL_MapRGB(engine.screen()->format, 255, 255, 255));
    ASSERT_EQ(engine.flip(), 0);
    const Uint32 black = SDL_MapRGB(window->format, 0, 0, 0);
    const Uint32 white = SDL_MapRGB(window->format, 255, 255, 255);
    EXPECT_EQ(pixelAt(window, 298, 24), black);
    EXPECT_EQ(pixelAt(window, 299, 23), black);
    EXPECT_EQ(pixelAt(window, 299, 24), white);
    EXPECT_EQ(pixelAt(window, 299 + 768 - 1, 24 + 720 - 1), white);
    EXPECT_EQ(pixelAt(window, 299 + 768, 24 + 720 - 1), black);
    EXPECT_EQ(pixelAt(window, 1365, 767), black);
}

TEST(DisplayModes, SwitchingModesKeepsTheGamesPicture) {
    GameEngine::Settings settings = headless();
    settings.desktopWidth = 1920;
    settings.desktopHeight = 1080;
    GameEngine engine(settings);
    ASSERT_EQ(engine.screen(), engine.window()) << "a 1x window is drawn into directly";
    SDL_Rect dot{5, 6, 1, 1};
    SDL_FillRect(engine.screen(), &dot, SDL_MapRGB(engine.screen()->format, 1, 2, 3));
    const Uint32 drawn = pixelAt(engine.screen(), 5, 6);
    ASSERT_TRUE(engine.toggleFullscreen());
    EXPECT_EQ(engine.layout(), (DisplayLayout{1920, 1080, 4, 448, 60, true}));
    EXPECT_NE(engine.screen(), engine.window());
    EXPECT_EQ(pixelAt(engine.screen(), 5, 6), drawn);
    ASSERT_EQ(engine.flip(), 0);
    EXPECT_EQ(pixelAt(engine.window(), 448 + 5 * 4 + 3, 60 + 6 * 4 + 3), drawn);
    ASSERT_TRUE(engine.toggleFullscreen());
    EXPECT_EQ(engine.layout(), DisplayLayout::window(1));
    ASSERT_EQ(engine.flip(), 0);
    EXPECT_EQ(pixelAt(engine.window(), 5, 6), drawn);
    EXPECT_EQ(engine.screen()->w, 256);
}

TEST(DisplayModes, AutoScaleFitsTheDesktopAndFullscreenReturnsToIt) {
    GameEngine::Settings settings = headless();
    settings.fitDesktop = true;
    settings.desktopWidth = 2560;
    settings.desktopHeight = 1440;
    GameEngine engine(settings);
    EXPECT_EQ(engine.layout(), DisplayLayout::window(5));
    EXPECT_EQ(engine.window()->w, 1280);
    ASSERT_TRUE(engine.toggleFullscreen());
    EXPECT_EQ(engine.layout().scale, 6);
    ASSERT_TRUE(engine.toggleFullscreen());
    EXPECT_EQ(engine.layout(), DisplayLayout::window(5));
}
