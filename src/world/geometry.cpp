#include "world/geometry.h"

bool rectsOverlap(const SDL_Rect& a, const SDL_Rect& b) {
    const int32_t ax = a.x, ay = a.y, aw = a.w, ah = a.h;
    const int32_t bx = b.x, by = b.y, bw = b.w, bh = b.h;
    return ay + ah > by && by + bh > ay && ax + aw > bx && ax < bx + bw;
}

SDL_Rect makeRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    SDL_Rect rect;
    rect.x = cutToSint16(x);
    rect.y = cutToSint16(y);
    rect.w = cutToUint16(w);
    rect.h = cutToUint16(h);
    return rect;
}
