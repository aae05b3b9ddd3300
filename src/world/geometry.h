#pragma once

#include "platform/wrapping_arithmetic.h"

#include <SDL.h>

#include <cstdint>

// Rectangle helpers. SDL_Rect is the one rectangle type; every computation
// widens its fields to 32 bits first, and only a value stored back into a
// field is cut to 16 bits.

// True when a and b share at least one pixel; edges are exclusive, so
// rectangles that only touch along an edge or a corner do not overlap.
bool rectsOverlap(const SDL_Rect& a, const SDL_Rect& b);

// Builds a rectangle, cutting each value to its 16-bit field (two's complement).
SDL_Rect makeRect(int32_t x, int32_t y, int32_t w, int32_t h);
