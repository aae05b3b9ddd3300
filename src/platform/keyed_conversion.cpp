#include "platform/keyed_conversion.h"

#include "platform/video_service.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

Uint32 readPixel(const SDL_Surface* surface, int x, int y) {
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    switch (bytes) {
        case 1: return *at;
        case 2: { Uint16 value; std::memcpy(&value, at, sizeof value); return value; }
        case 3:
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
            return (Uint32(at[0]) << 16) | (Uint32(at[1]) << 8) | at[2];
#else
            return at[0] | (Uint32(at[1]) << 8) | (Uint32(at[2]) << 16);
#endif
        default: { Uint32 value; std::memcpy(&value, at, sizeof value); return value; }
    }
}

void writePixel(SDL_Surface* surface, int x, int y, Uint32 value) {
    const int bytes = surface->format->BytesPerPixel;
    Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    switch (bytes) {
        case 1: *at = static_cast<Uint8>(value); return;
        case 2: { const Uint16 narrow = static_cast<Uint16>(value); std::memcpy(at, &narrow, sizeof narrow); return; }
        case 3:
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
            at[0] = static_cast<Uint8>(value >> 16); at[1] = static_cast<Uint8>(value >> 8); at[2] = static_cast<Uint8>(value);
#else
            at[0] = static_cast<Uint8>(value); at[1] = static_cast<Uint8>(value >> 8); at[2] = static_cast<Uint8>(value >> 16);
#endif
            return;
        default: std::memcpy(at, &value, sizeof value); return;
    }
}

// The largest pixel value a format can hold.
Uint32 largestValue(const SDL_PixelFormat* format) {
    return format->BitsPerPixel >= 32 ? 0xffffffffu : (Uint32(1) << format->BitsPerPixel) - 1;
}

// The smallest value up to `largest` that is not in `used` (sorted, unique);
// false when every value is taken.
bool freeValue(const std::vector<Uint32>& used, Uint32 largest, Uint32& value) {
    Uint32 candidate = 0;
    for (const Uint32 taken : used) {
        if (taken > candidate) break;
        if (candidate == largest) return false;
        candidate = taken + 1;
    }
    value = candidate;
    return true;
}

// Surfaces are locked only when SDL says they must be (never for the plain
// software surfaces made here, but a loader may hand back anything).
class PixelAccess {
public:
    explicit PixelAccess(SDL_Surface* surface) : m_surface(surface), m_locked(SDL_MUSTLOCK(surface) != 0) {
        if (m_locked && SDL_LockSurface(surface) < 0) m_locked = false;
    }
    ~PixelAccess() { if (m_locked) SDL_UnlockSurface(m_surface); }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;

private:
    SDL_Surface* m_surface;
    bool m_locked;
};

// True when a pixel that must be drawn has the value `key`: only on a format
// too coarse to keep every colour of the image apart.
bool anyOpaquePixelIs(const SDL_Surface* surface, const std::vector<bool>& transparent, Uint32 key) {
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            if (!transparent[static_cast<size_t>(y) * surface->w + x] && readPixel(surface, x, y) == key) return true;
        }
    }
    return false;
}

}  // namespace

bool KeyedConversion::isKeyColour(const SDL_PixelFormat* format, Uint32 pixel) {
    const SDL_Palette* palette = format->palette;
    if (palette == nullptr) {
        return pixel == SDL_MapRGB(const_cast<SDL_PixelFormat*>(format), kColourKeyRed, kColourKeyGreen,
                                   kColourKeyBlue);
    }
    if (pixel >= static_cast<Uint32>(palette->ncolors)) return false;  // outside the palette: drawn, as black
    const SDL_Color& colour = palette->colors[pixel];
    return colour.r == kColourKeyRed && colour.g == kColourKeyGreen && colour.b == kColourKeyBlue;
}

SDL_Surface* KeyedConversion::convert(SDL_Surface* loaded, const SDL_PixelFormat* target) {
    // Which pixels are transparent is decided on the image as loaded, before
    // a coarser format can merge the key with its neighbours.
    const std::vector<bool> transparent = transparentPixels(loaded);
    const Uint32 keyFlags = loaded->flags & (SDL_SRCCOLORKEY | SDL_RLEACCELOK);
    const Uint32 savedKey = loaded->format->colorkey;
    SDL_SetColorKey(loaded, 0, 0);  // convert every pixel, the key's own too
    SDL_Surface* converted = SDL_ConvertSurface(loaded, const_cast<SDL_PixelFormat*>(target), SDL_SWSURFACE);
    if (keyFlags != 0) SDL_SetColorKey(loaded, keyFlags, savedKey);
    if (converted == nullptr) return nullptr;  // out of memory

    Uint32 key = 0;
    if (!chooseKey(converted, transparent, key)) {
        // Every value of a 256-colour format is drawn: no value is left to
        // mark the transparent pixels. 32 bits keep every colour apart.
        SDL_FreeSurface(converted);
        SDL_Surface* wide = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
        if (wide == nullptr) return nullptr;  // out of memory
        SDL_Surface* result = convert(loaded, wide->format);
        SDL_FreeSurface(wide);
        return result;
    }
    for (int y = 0; y < converted->h; ++y) {
        for (int x = 0; x < converted->w; ++x) {
            if (transparent[static_cast<size_t>(y) * converted->w + x]) writePixel(converted, x, y, key);
        }
    }
    SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
    return converted;
}

std::vector<bool> KeyedConversion::transparentPixels(SDL_Surface* loaded) {
    // The answer for every value a palettised image can hold, or the one
    // value that is the key in any other format: decided once, not per pixel.
    const SDL_PixelFormat* format = loaded->format;
    std::vector<bool> keyIndex;
    if (format->palette != nullptr) {
        keyIndex.resize(256);
        for (Uint32 index = 0; index < 256; ++index) keyIndex[index] = isKeyColour(format, index);
    }
    const Uint32 keyValue = SDL_MapRGB(loaded->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue);
    std::vector<bool> transparent(static_cast<size_t>(loaded->w) * static_cast<size_t>(loaded->h));
    PixelAccess access(loaded);
    for (int y = 0; y < loaded->h; ++y) {
        for (int x = 0; x < loaded->w; ++x) {
            const Uint32 pixel = readPixel(loaded, x, y);
            transparent[static_cast<size_t>(y) * loaded->w + x] =
                keyIndex.empty() ? pixel == keyValue : pixel < keyIndex.size() && keyIndex[pixel];
        }
    }
    return transparent;
}

bool KeyedConversion::chooseKey(const SDL_Surface* converted, const std::vector<bool>& transparent, Uint32& key) {
    key = SDL_MapRGB(converted->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue);
    // On a format that keeps every colour apart no drawn pixel takes the key's value.
    if (!anyOpaquePixelIs(converted, transparent, key)) return true;
    std::vector<Uint32> opaque;
    opaque.reserve(transparent.size());
    for (int y = 0; y < converted->h; ++y) {
        for (int x = 0; x < converted->w; ++x) {
            if (!transparent[static_cast<size_t>(y) * converted->w + x]) opaque.push_back(readPixel(converted, x, y));
        }
    }
    std::sort(opaque.begin(), opaque.end());
    opaque.erase(std::unique(opaque.begin(), opaque.end()), opaque.end());
    return freeValue(opaque, largestValue(converted->format), key);
}
