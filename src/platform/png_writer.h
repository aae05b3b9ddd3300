#pragma once

#include <SDL.h>

#include <string>

// Saves a surface as an 8-bit RGB PNG file through libpng.
class PngWriter {
public:
    // Writes the surface's pixels (any SDL pixel format, palettes included)
    // to the file; false with the reason in `error`.
    static bool write(SDL_Surface& surface, const std::string& fileName, std::string& error);
};
