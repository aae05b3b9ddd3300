// A tall image drawn from its bands must give exactly what SDL_UpperBlit
// gives from the whole image, for any region and position: regions that
// stick out of the image on any side, destinations that stick out of the
// target or its clip rectangle, and regions that cross band edges.

#include "platform/banded_surfaces.h"
#include "platform/video_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SDL_Surface* makeSurface(int width, int height) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
}

// A keyed image with a different colour at every pixel and transparent
// holes and stripes of the key colour.
SDL_Surface* makeImage(int width, int height) {
    SDL_Surface* image = makeSurface(width, height);
    const Uint32 key = SDL_MapRGB(image->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue);
    for (int y = 0; y < height; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(image->pixels) + y * image->pitch);
        for (int x = 0; x < width; ++x) {
            const bool hole = (x + 2 * y) % 7 == 0 || y % 13 == 5;
            row[x] = hole ? key : SDL_MapRGB(image->format, static_cast<Uint8>(x * 9), static_cast<Uint8>(y),
                                             static_cast<Uint8>(x ^ y));
        }
    }
    SDL_SetColorKey(image, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
    return image;
}

std::vector<Uint32> pixels(SDL_Surface* surface) {
    std::vector<Uint32> all;
    for (int y = 0; y < surface->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        all.insert(all.end(), row, row + surface->w);
    }
    return all;
}

class BandedSurfacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_image = makeImage(24, 100);
        m_whole = makeImage(24, 100);
        m_target = makeSurface(64, 48);
        m_bands.add(m_image, [](SDL_Surface*) {});
        ASSERT_TRUE(m_bands.hasBands(m_image));
    }
    void TearDown() override {
        m_bands.remove(m_image);
        SDL_FreeSurface(m_target);
        SDL_FreeSurface(m_whole);
        SDL_FreeSurface(m_image);
    }

    // Draws the region both ways over the same background and compares the
    // target's pixels and the destination rectangles SDL hands back.
    void expectSame(int x, int y, const SDL_Rect* region) {
        SCOPED_TRACE("at (" + std::to_string(x) + ", " + std::to_string(y) + ")" +
                     (region == nullptr ? std::string(", whole image")
                                        : ", region (" + std::to_string(region->x) + ", " + std::to_string(region->y) +
                                              ", " + std::to_string(region->w) + ", " + std::to_string(region->h) + ")"));
        SDL_FillRect(m_target, nullptr, 0x123456);
        SDL_Rect wholeRegion = region != nullptr ? *region : SDL_Rect{};
        SDL_Rect wholeAt{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        const int wholeResult = SDL_UpperBlit(m_whole, region != nullptr ? &wholeRegion : nullptr, m_target, &wholeAt);
        const std::vector<Uint32> expected = pixels(m_target);

        SDL_FillRect(m_target, nullptr, 0x123456);
        SDL_Rect bandedRegion = region != nullptr ? *region : SDL_Rect{};
        SDL_Rect bandedAt{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        const int bandedResult =
            m_bands.blit(m_image, region != nullptr ? &bandedRegion : nullptr, m_target, &bandedAt);
        EXPECT_EQ(bandedResult, wholeResult);
        EXPECT_TRUE(pixels(m_target) == expected) << "the pictures differ";
        EXPECT_EQ(bandedAt.x, wholeAt.x);
        EXPECT_EQ(bandedAt.y, wholeAt.y);
        EXPECT_EQ(bandedAt.w, wholeAt.w);
        EXPECT_EQ(bandedAt.h, wholeAt.h);
    }

    SDL_Surface* m_image = nullptr;   // drawn from its bands
    SDL_Surface* m_whole = nullptr;   // the same image, drawn whole by SDL
    SDL_Surface* m_target = nullptr;
    BandedSurfaces m_bands;
};

}  // namespace

TEST_F(BandedSurfacesTest, EveryRegionAndPositionDrawsAsTheWholeImageDoes) {
    const std::vector<SDL_Rect> regions{
        {0, 0, 24, 32},   {0, 60, 24, 32},  {0, 15, 24, 2},   {0, 16, 24, 16}, {5, 40, 10, 30}, {0, 90, 24, 32},
        {-4, -6, 12, 40}, {20, 95, 30, 30}, {0, 99, 24, 1},   {0, 100, 24, 8}, {30, 0, 8, 8},   {0, 0, 0, 10},
        {-30, 0, 8, 8},   {0, 0, 24, 100},  {0, 33, 24, 60}};
    const std::vector<std::pair<int, int>> positions{{0, 0}, {10, 5}, {-7, -20}, {50, 40}, {63, 47}, {64, 0},
                                                     {0, 48}, {-24, 0}, {-30, -90}, {32760, 0}, {0, -32768}};
    for (const SDL_Rect& region : regions) {
        for (const auto& position : positions) expectSame(position.first, position.second, &region);
    }
    for (const auto& position : positions) expectSame(position.first, position.second, nullptr);
}

TEST_F(BandedSurfacesTest, HonoursTheTargetsClipRectangle) {
    SDL_Rect clip{5, 7, 30, 20};
    SDL_SetClipRect(m_target, &clip);
    const SDL_Rect region{2, 10, 20, 40};
    for (int y = -30; y <= 30; y += 6) {
        for (int x = -20; x <= 40; x += 5) expectSame(x, y, &region);
    }
}

TEST(BandedSurfaces, LeavesShortImagesWhole) {
    BandedSurfaces bands;
    SDL_Surface* shortImage = makeImage(16, BandedSurfaces::kMinimumRows - 1);
    bands.add(shortImage, [](SDL_Surface*) {});
    EXPECT_FALSE(bands.hasBands(shortImage));
    SDL_FreeSurface(shortImage);
}
