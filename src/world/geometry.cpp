#include "world/geometry.h"

bool rectsOverlap(const SDL_Rect& a, const SDL_Rect& b) {
    const int32_t ax = a.x, ay = a.y, aw = a.w, ah = a.h;
    const int32_t bx = b.x, by = b.y, bw = b.w, bh = b.h;
    return ay + ah > by && by + bh > ay && ax + aw > bx && ax < bx + bw;
}

Sint16 cutToSint16(int32_t value) {
    const uint16_t bits = static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xffffu);
    return bits <= 0x7fff ? static_cast<Sint16>(bits) : static_cast<Sint16>(static_cast<int32_t>(bits) - 0x10000);
}

Uint16 cutToUint16(int32_t value) {
    return static_cast<Uint16>(static_cast<uint32_t>(value) & 0xffffu);
}

SDL_Rect makeRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    SDL_Rect rect;
    rect.x = cutToSint16(x);
    rect.y = cutToSint16(y);
    rect.w = cutToUint16(w);
    rect.h = cutToUint16(h);
    return rect;
}
