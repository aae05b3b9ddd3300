// Loaded images are converted once to the screen's format, and exactly the
// pixels of the key colour (255, 128, 255) are transparent: in indexed BMPs
// (1, 4 and 8 bits) by the exact colour of their palette entry, never by the
// entry nearest to the key; and on screen formats too coarse to tell the key
// from its neighbours, without swallowing those neighbours.

#include "platform/game_engine.h"
#include "platform/keyed_conversion.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    Uint8 r, g, b;
};

const Rgb kKey{kColourKeyRed, kColourKeyGreen, kColourKeyBlue};
const Rgb kBackground{10, 200, 30};

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// An uncompressed indexed BMP of `bits` per pixel (1, 4 or 8): `indices`
// holds one palette index per pixel, rows top to bottom.
std::string indexedBmp(int bits, const std::vector<Rgb>& palette, int width, int height,
                       const std::vector<int>& indices) {
    const int rowBytes = ((width * bits + 31) / 32) * 4;
    const uint32_t pixelOffset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    std::string out = "BM";
    putLittleEndian(out, pixelOffset + static_cast<uint32_t>(rowBytes * height), 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, pixelOffset, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<uint32_t>(width), 4);
    putLittleEndian(out, static_cast<uint32_t>(height), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, static_cast<uint32_t>(bits), 2);
    putLittleEndian(out, 0, 4);  // no compression
    putLittleEndian(out, static_cast<uint32_t>(rowBytes * height), 4);
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, static_cast<uint32_t>(palette.size()), 4);
    putLittleEndian(out, 0, 4);
    for (const Rgb& colour : palette) {
        out.push_back(static_cast<char>(colour.b));
        out.push_back(static_cast<char>(colour.g));
        out.push_back(static_cast<char>(colour.r));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        std::string row(static_cast<size_t>(rowBytes), '\0');
        for (int x = 0; x < width; ++x) {
            const int index = indices[static_cast<size_t>(y * width + x)];
            const int bit = x * bits;
            row[static_cast<size_t>(bit / 8)] |= static_cast<char>(index << (8 - bits - bit % 8));
        }
        out += row;
    }
    return out;
}

GameEngine::Settings headless() {
    GameEngine::Settings settings;
    settings.headless = true;
    return settings;
}

Rgb rgbAt(SDL_Surface* surface, int x, int y) {
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    Uint32 pixel = 0;
    if (bytes == 1) pixel = *at;
    if (bytes == 2) pixel = *reinterpret_cast<const Uint16*>(at);
    if (bytes == 4) pixel = *reinterpret_cast<const Uint32*>(at);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    Rgb colour{};
    SDL_GetRGB(pixel, surface->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

bool operator==(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool operator!=(const Rgb& a, const Rgb& b) {
    return !(a == b);
}

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

// Loads the BMP through the engine and draws it at the screen's corner over
// the background; returns the colours of its first `count` pixels on screen.
std::vector<Rgb> drawnRow(GameEngine& engine, const std::string& bmp, int count) {
    TempDir dir;
    dir.write("image.bmp", bmp);
    SurfaceHandle image = engine.loadBitmap(dir.file("image.bmp").c_str());
    EXPECT_NE(image, nullptr);
    if (image == nullptr) return {};
    SDL_Surface* screen = engine.screen();
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, kBackground.r, kBackground.g, kBackground.b));
    engine.blit(image.get(), 0, 0, nullptr);
    std::vector<Rgb> row;
    for (int x = 0; x < count; ++x) row.push_back(rgbAt(screen, x, 0));
    return row;
}

class IndexedBitmap : public ::testing::TestWithParam<int> {
protected:
    GameEngine m_engine{headless()};
};

std::string bitsName(const ::testing::TestParamInfo<int>& info) {
    return std::to_string(info.param) + "bit";
}

}  // namespace

TEST_P(IndexedBitmap, OnlyPaletteEntriesOfExactlyTheKeyColourAreTransparent) {
    const int bits = GetParam();
    // Index 1 is the key colour; index 0 a colour next to it, which the
    // nearest-colour rule used to make transparent too.
    const Rgb nearKey{255, 128, 254};
    const std::vector<Rgb> palette{nearKey, kKey};
    const std::vector<int> pixels{0, 1, 1, 0, 1, 0, 0, 0};
    const std::vector<Rgb> row = drawnRow(m_engine, indexedBmp(bits, palette, 8, 1, pixels), 8);
    ASSERT_EQ(row.size(), 8u);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(row[x], pixels[static_cast<size_t>(x)] == 1 ? kBackground : nearKey) << "pixel " << x;
    }
}

TEST_P(IndexedBitmap, WithoutTheKeyColourInItsPaletteNothingIsTransparent) {
    const int bits = GetParam();
    // The palette's nearest colour to the key is drawn like any other.
    const std::vector<Rgb> palette{{0, 0, 0}, {255, 127, 255}};
    const std::vector<int> pixels{1, 0, 1, 1};
    const std::vector<Rgb> row = drawnRow(m_engine, indexedBmp(bits, palette, 4, 1, pixels), 4);
    ASSERT_EQ(row.size(), 4u);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(row[x], palette[static_cast<size_t>(pixels[static_cast<size_t>(x)])]);
}

INSTANTIATE_TEST_SUITE_P(OneFourAndEightBits, IndexedBitmap, ::testing::Values(1, 4, 8), bitsName);

TEST(IndexedBitmapPalette, EveryEntryHoldingTheKeyColourIsTransparent) {
    GameEngine engine{headless()};
    const std::vector<Rgb> palette{kKey, {1, 2, 3}, kKey, {255, 128, 255 - 1}};
    const std::vector<int> pixels{0, 1, 2, 3};
    const std::vector<Rgb> row = drawnRow(engine, indexedBmp(8, palette, 4, 1, pixels), 4);
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[0], kBackground);
    EXPECT_EQ(row[1], (Rgb{1, 2, 3}));
    EXPECT_EQ(row[2], kBackground);
    EXPECT_EQ(row[3], (Rgb{255, 128, 254}));
}

TEST(LoadedBitmap, IsInTheScreensFormatAndRunLengthEncoded) {
    GameEngine engine{headless()};
    TempDir dir;
    dir.write("image.bmp", indexedBmp(8, {{9, 9, 9}, kKey}, 4, 2, {0, 1, 0, 1, 1, 1, 0, 0}));
    SurfaceHandle image = engine.loadBitmap(dir.file("image.bmp").c_str());
    ASSERT_NE(image, nullptr);
    const SDL_PixelFormat* screen = engine.screen()->format;
    EXPECT_EQ(image->format->BitsPerPixel, screen->BitsPerPixel);
    EXPECT_EQ(image->format->Rmask, screen->Rmask);
    EXPECT_EQ(image->format->Gmask, screen->Gmask);
    EXPECT_EQ(image->format->Bmask, screen->Bmask);
    EXPECT_TRUE(image->flags & SDL_SRCCOLORKEY);
    EXPECT_TRUE(image->flags & SDL_RLEACCEL) << "encoded at load, not in the first frame that draws it";
    EXPECT_EQ(image->format->colorkey, SDL_MapRGB(image->format, kKey.r, kKey.g, kKey.b));
}

// A 16-bit (5-6-5) screen cannot tell (255, 129, 255) from the key: both
// become the same value. Blitted from the 24-bit image as loaded, the
// neighbour is drawn; converted first, it must still be.
TEST(KeyedConversion, KeepsTheKeysNeighboursOpaqueOnACoarseFormat) {
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 1, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(image, nullptr);
    const Rgb colours[3] = {kKey, {255, 129, 255}, {40, 50, 60}};
    for (int x = 0; x < 3; ++x) {
        SDL_Rect at{static_cast<Sint16>(x), 0, 1, 1};
        SDL_FillRect(image, &at, SDL_MapRGB(image->format, colours[x].r, colours[x].g, colours[x].b));
    }
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 1, 16, 0xf800, 0x07e0, 0x001f, 0);
    ASSERT_NE(target, nullptr);
    SDL_Surface* converted = KeyedConversion::convert(image, target->format);
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->format->BitsPerPixel, 16);
    EXPECT_NE(converted->format->colorkey, SDL_MapRGB(converted->format, kKey.r, kKey.g, kKey.b))
        << "the key's own value is taken by an opaque pixel";

    // The same pixels as a keyed blit of the image as loaded.
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, SDL_MapRGB(image->format, kKey.r, kKey.g, kKey.b));
    const Uint32 background = SDL_MapRGB(target->format, kBackground.r, kBackground.g, kBackground.b);
    SDL_FillRect(target, nullptr, background);
    SDL_BlitSurface(image, nullptr, target, nullptr);
    const std::vector<Rgb> expected{rgbAt(target, 0, 0), rgbAt(target, 1, 0), rgbAt(target, 2, 0)};
    SDL_FillRect(target, nullptr, background);
    SDL_BlitSurface(converted, nullptr, target, nullptr);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(rgbAt(target, x, 0), expected[static_cast<size_t>(x)]) << "pixel " << x;
    EXPECT_NE(rgbAt(target, 1, 0), rgbAt(target, 0, 0)) << "the neighbour is drawn, the key is not";

    SDL_FreeSurface(converted);
    SDL_FreeSurface(target);
    SDL_FreeSurface(image);
}

// SDL draws onto a 256-colour surface through a 3-3-2 colour cube; with
// that cube as the palette, colour i of the cube is drawn as entry i.
SDL_Color cubeColour(int i) {
    int r = i & 0xe0;
    r |= r >> 3 | r >> 6;
    int g = (i << 3) & 0xe0;
    g |= g >> 3 | g >> 6;
    int b = i & 0x3;
    b |= b << 2;
    b |= b << 4;
    return SDL_Color{static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b), 0};
}

// On a 256-colour target whose every entry an image's opaque pixels use, no
// value is left for the key: the image stays exact in 32 bits.
TEST(KeyedConversion, FallsBackToThirtyTwoBitsWhenNoValueIsLeftForTheKey) {
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, 257, 1, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, 257, 1, 8, 0, 0, 0, 0);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(target, nullptr);
    SDL_Color cube[256];
    for (int i = 0; i < 256; ++i) cube[i] = cubeColour(i);
    SDL_SetPalette(target, SDL_LOGPAL, cube, 0, 256);
    for (int x = 0; x < 256; ++x) {
        SDL_Rect at{static_cast<Sint16>(x), 0, 1, 1};
        SDL_FillRect(image, &at, SDL_MapRGB(image->format, cube[x].r, cube[x].g, cube[x].b));
    }
    SDL_Rect last{256, 0, 1, 1};
    SDL_FillRect(image, &last, SDL_MapRGB(image->format, kKey.r, kKey.g, kKey.b));

    SDL_Surface* converted = KeyedConversion::convert(image, target->format);
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->format->BitsPerPixel, 32);
    SDL_FillRect(target, nullptr, 7);
    SDL_BlitSurface(converted, nullptr, target, nullptr);
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    const Uint8* drawn = static_cast<const Uint8*>(target->pixels);
    for (int x = 0; x < 256; ++x) EXPECT_EQ(drawn[x], x) << "colour " << x << " of the cube is drawn";
    EXPECT_EQ(drawn[256], 7) << "the key pixel is not";
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);

    SDL_FreeSurface(converted);
    SDL_FreeSurface(target);
    SDL_FreeSurface(image);
}
