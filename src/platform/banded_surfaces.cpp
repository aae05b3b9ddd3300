#include "platform/banded_surfaces.h"

#include "platform/wrapping_arithmetic.h"

#include <algorithm>
#include <cstring>

#ifndef __EMSCRIPTEN__
namespace {

// One axis of SDL_UpperBlit's clipping to the source: a region starting
// before the source's edge starts at the edge, and its destination moves on
// (in its 16 bits) by as much; the region ends at the source's far edge.
void clipToSource(int& start, int& length, Sint16& at, int size) {
    if (start < 0) {
        length += start;
        at = cutToSint16(at - start);
        start = 0;
    }
    length = std::min(length, size - start);
}

// One axis of SDL_UpperBlit's clipping to the target's clip rectangle.
void clipToTarget(int& start, int& length, Sint16& at, int clipStart, int clipLength) {
    const int before = clipStart - at;
    if (before > 0) {
        length -= before;
        at = static_cast<Sint16>(at + before);
        start += before;
    }
    const int after = at + length - clipStart - clipLength;
    if (after > 0) length -= after;
}

}  // namespace
#endif

void BandedSurfaces::remove(const SDL_Surface* image) {
    const auto found = m_bands.find(image);
    if (found == m_bands.end()) return;  // drawn whole: nothing to free
    for (SDL_Surface* band : found->second) SDL_FreeSurface(band);
    m_bands.erase(found);
}

void BandedSurfaces::clear() {
    for (auto& entry : m_bands) {
        for (SDL_Surface* band : entry.second) SDL_FreeSurface(band);
    }
    m_bands.clear();
}

std::vector<SDL_Surface*> BandedSurfaces::cut(SDL_Surface* image) {
#ifdef __EMSCRIPTEN__
    // The browser's SDL draws canvases, whose cost does not grow with the row.
    static_cast<void>(image);
    return {};
#else
    if (image == nullptr || image->h < kMinimumRows || (image->flags & SDL_SRCCOLORKEY) == 0) return {};
    const SDL_PixelFormat* format = image->format;
    const bool mustLock = SDL_MUSTLOCK(image) != 0;
    if (mustLock && SDL_LockSurface(image) < 0) return {};  // pixels out of reach: drawn whole
    std::vector<SDL_Surface*> bands;
    const size_t rowBytes = static_cast<size_t>(image->w) * format->BytesPerPixel;
    for (int top = 0; top < image->h; top += kBandRows) {
        const int rows = std::min(kBandRows, image->h - top);
        SDL_Surface* band = SDL_CreateRGBSurface(SDL_SWSURFACE, image->w, rows, format->BitsPerPixel, format->Rmask,
                                                 format->Gmask, format->Bmask, format->Amask);
        if (band == nullptr) {
            for (SDL_Surface* made : bands) SDL_FreeSurface(made);
            bands.clear();
            break;  // out of memory: drawn whole
        }
        if (format->palette != nullptr) {
            SDL_SetPalette(band, SDL_LOGPAL, format->palette->colors, 0, format->palette->ncolors);
        }
        for (int row = 0; row < rows; ++row) {
            std::memcpy(static_cast<Uint8*>(band->pixels) + row * band->pitch,
                        static_cast<const Uint8*>(image->pixels) + (top + row) * image->pitch, rowBytes);
        }
        SDL_SetColorKey(band, SDL_SRCCOLORKEY | SDL_RLEACCEL, format->colorkey);
        bands.push_back(band);
    }
    if (mustLock) SDL_UnlockSurface(image);
    return bands;
#endif
}

int BandedSurfaces::blit(SDL_Surface* source, SDL_Rect* sourceRect, SDL_Surface* target,
                         SDL_Rect* destination) const {
#ifdef __EMSCRIPTEN__
    return SDL_UpperBlit(source, sourceRect, target, destination);  // nothing is ever cut there
#else
    const auto found = source != nullptr && target != nullptr ? m_bands.find(source) : m_bands.end();
    if (found == m_bands.end()) return SDL_UpperBlit(source, sourceRect, target, destination);

    // The region, clipped as SDL_UpperBlit clips it: to the source, then to
    // the target's clip rectangle.
    int srcX = 0;
    int srcY = 0;
    int w = source->w;
    int h = source->h;
    if (sourceRect != nullptr) {
        srcX = sourceRect->x;
        srcY = sourceRect->y;
        w = sourceRect->w;
        h = sourceRect->h;
        clipToSource(srcX, w, destination->x, source->w);
        clipToSource(srcY, h, destination->y, source->h);
    }
    const SDL_Rect& clip = target->clip_rect;
    clipToTarget(srcX, w, destination->x, clip.x, clip.w);
    clipToTarget(srcY, h, destination->y, clip.y, clip.h);
    if (w <= 0 || h <= 0) {
        destination->w = 0;
        destination->h = 0;
        return 0;  // nothing visible
    }
    destination->w = static_cast<Uint16>(w);
    destination->h = static_cast<Uint16>(h);

    // Each band's share of the region, already inside the target.
    const std::vector<SDL_Surface*>& bands = found->second;
    int result = 0;
    for (int row = srcY; row < srcY + h;) {
        const int band = row / kBandRows;
        const int end = std::min(srcY + h, (band + 1) * kBandRows);
        SDL_Rect part{static_cast<Sint16>(srcX), static_cast<Sint16>(row - band * kBandRows), static_cast<Uint16>(w),
                      static_cast<Uint16>(end - row)};
        SDL_Rect at{destination->x, static_cast<Sint16>(destination->y + (row - srcY)), part.w, part.h};
        if (SDL_LowerBlit(bands[static_cast<size_t>(band)], &part, target, &at) < 0) result = -1;
        row = end;
    }
    return result;
#endif
}
