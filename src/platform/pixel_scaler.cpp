#include "platform/pixel_scaler.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

bool fits(const SDL_Surface& source, const SDL_Surface& target, int scale, int left, int top) {
    if (scale < 1 || left < 0 || top < 0) return false;  // nothing sensible to draw
    if (source.format->BytesPerPixel != target.format->BytesPerPixel) return false;  // needs a conversion
    return static_cast<long>(left) + static_cast<long>(source.w) * scale <= target.w &&
           static_cast<long>(top) + static_cast<long>(source.h) * scale <= target.h;
}

const Uint8* sourceRow(const SDL_Surface& source, int y) {
    return static_cast<const Uint8*>(source.pixels) + static_cast<ptrdiff_t>(y) * source.pitch;
}

Uint8* targetRow(SDL_Surface& target, int y, int left) {
    return static_cast<Uint8*>(target.pixels) + static_cast<ptrdiff_t>(y) * target.pitch +
           static_cast<ptrdiff_t>(left) * target.format->BytesPerPixel;
}

// Widens one row: each pixel stored `scale` times, with whole-pixel stores.
// A kScale above 0 fixes the scale at compile time, so the compiler unrolls
// the inner loop; 0 takes it from `scale` (fullscreen on very large displays).
template <typename Pixel, int kScale>
void widenRow(const Uint8* in, Uint8* out, int width, int scale) {
    const int copies = kScale > 0 ? kScale : scale;
    const Pixel* from = reinterpret_cast<const Pixel*>(in);
    Pixel* to = reinterpret_cast<Pixel*>(out);
    for (int x = 0; x < width; ++x) {
        const Pixel pixel = from[x];
        for (int copy = 0; copy < copies; ++copy) to[copy] = pixel;
        to += copies;
    }
}

using WidenRow = void (*)(const Uint8* in, Uint8* out, int width, int scale);

template <typename Pixel>
WidenRow widenerFor(int scale) {
    switch (scale) {
    case 1: return widenRow<Pixel, 1>;
    case 2: return widenRow<Pixel, 2>;
    case 3: return widenRow<Pixel, 3>;
    case 4: return widenRow<Pixel, 4>;
    case 5: return widenRow<Pixel, 5>;
    case 6: return widenRow<Pixel, 6>;
    case 7: return widenRow<Pixel, 7>;
    case 8: return widenRow<Pixel, 8>;
    default: return widenRow<Pixel, 0>;
    }
}

void widenRowBytewise(const Uint8* in, Uint8* out, int width, int scale, int bytes) {
    for (int x = 0; x < width; ++x) {
        for (int copy = 0; copy < scale; ++copy) {
            std::memcpy(out, in, static_cast<size_t>(bytes));
            out += bytes;
        }
        in += bytes;
    }
}

// Widens every row with `widen` and copies it down the rest of its block.
template <typename Widen>
void enlargeRows(const SDL_Surface& source, SDL_Surface& target, int scale, int left, int top, Widen widen) {
    const size_t rowBytes = static_cast<size_t>(source.w) * scale * source.format->BytesPerPixel;
    for (int y = 0; y < source.h; ++y) {
        Uint8* first = targetRow(target, top + y * scale, left);
        widen(sourceRow(source, y), first);
        for (int copy = 1; copy < scale; ++copy) {
            std::memcpy(first + static_cast<ptrdiff_t>(copy) * target.pitch, first, rowBytes);
        }
    }
}

}  // namespace

bool PixelScaler::enlarge(const SDL_Surface& source, SDL_Surface& target, int scale, int left, int top) {
    if (!fits(source, target, scale, left, top)) return false;  // drawn nowhere
    WidenRow widen = nullptr;
    switch (source.format->BytesPerPixel) {
    case 1: widen = widenerFor<Uint8>(scale); break;
    case 2: widen = widenerFor<Uint16>(scale); break;
    case 4: widen = widenerFor<Uint32>(scale); break;
    default: return enlargeBytewise(source, target, scale, left, top);  // 3 bytes: no whole-pixel store
    }
    const int width = source.w;
    enlargeRows(source, target, scale, left, top,
                [widen, width, scale](const Uint8* in, Uint8* out) { widen(in, out, width, scale); });
    return true;
}

bool PixelScaler::enlargeBytewise(const SDL_Surface& source, SDL_Surface& target, int scale, int left, int top) {
    if (!fits(source, target, scale, left, top)) return false;  // drawn nowhere
    const int width = source.w;
    const int bytes = source.format->BytesPerPixel;
    enlargeRows(source, target, scale, left, top,
                [width, scale, bytes](const Uint8* in, Uint8* out) { widenRowBytewise(in, out, width, scale, bytes); });
    return true;
}
