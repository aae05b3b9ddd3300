#pragma once

#include "platform/video_service.h"

#include <SDL.h>

// A 32-bit surface filled with the colour key and keyed on it: what a stand-in
// video service hands out for a bitmap or a created surface. Null when SDL
// cannot make it.
inline SDL_Surface* makeBlankSurface(int width, int height) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
    if (surface == nullptr) return nullptr;
    const Uint32 key = SDL_MapRGB(surface->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue);
    SDL_FillRect(surface, nullptr, key);
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, key);
    return surface;
}
