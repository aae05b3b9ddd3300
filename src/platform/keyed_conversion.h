#pragma once

#include <SDL.h>

#include <vector>

// Turns a freshly loaded image into a surface in the pixel format of the
// surface it will be drawn onto, so that no blit ever converts a pixel, with
// the colour key set after the conversion and run-length encoding asked for.
//
// Exactly the pixels whose colour is the key colour (255, 128, 255) are
// transparent, whatever the image's own format: in a palettised image those
// whose palette entry holds exactly that colour (not the entry nearest to
// it), in any other image those whose value is the key mapped into its
// format. When the target format is too coarse to keep the key apart (an
// opaque pixel converts to the same value as the key), another value that no
// opaque pixel takes becomes the key; when there is none (a 256-colour
// target whose every entry is used), the image is converted to 32 bits instead.
class KeyedConversion {
public:
    // A new surface owned by the caller; `loaded` is left as it was. Null
    // (with SDL's error set) when SDL cannot make the surface.
    static SDL_Surface* convert(SDL_Surface* loaded, const SDL_PixelFormat* target);

    // True when a pixel value of a surface in `format` is the key colour
    // under the rule above.
    static bool isKeyColour(const SDL_PixelFormat* format, Uint32 pixel);

private:
    // One flag per pixel, row by row: true where the loaded image is transparent.
    static std::vector<bool> transparentPixels(SDL_Surface* loaded);
    // The value marking transparent pixels in the converted image: the key
    // mapped into its format, or one no drawn pixel takes; false when none is left.
    static bool chooseKey(const SDL_Surface* converted, const std::vector<bool>& transparent, Uint32& key);
};
