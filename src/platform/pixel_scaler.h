#pragma once

#include <SDL.h>

// Enlarges a picture into a bigger surface of the same pixel size, every
// pixel becoming a scale x scale block: nearest neighbour, exact, no pixel
// ever blended. Pixels of 1, 2 and 4 bytes are stored whole, one store per
// window pixel, with each widened row then copied down the block; 3-byte
// pixels, which have no such store, are copied byte by byte. Both surfaces
// must be locked (or need no lock) while this runs; nothing is allocated.
class PixelScaler {
public:
    // Enlarges all of source into target with its top-left corner at
    // (left, top). Draws nothing and returns false when the pixel sizes
    // differ, the scale is below 1 or the enlarged picture would not fit.
    static bool enlarge(const SDL_Surface& source, SDL_Surface& target, int scale, int left, int top);
    // The same result copying every pixel byte by byte, whatever its size:
    // the plain reference the fast path is checked against.
    static bool enlargeBytewise(const SDL_Surface& source, SDL_Surface& target, int scale, int left, int top);
};
