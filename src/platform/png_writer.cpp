#include "platform/png_writer.h"

#include <png.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

Uint32 pixelAt(const SDL_Surface& surface, int x, int y) {
    const int bytes = surface.format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface.pixels) + static_cast<ptrdiff_t>(y) * surface.pitch +
                      static_cast<ptrdiff_t>(x) * bytes;
    switch (bytes) {
    case 1:
        return *at;
    case 2: {
        Uint16 value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case 3:
        // SDL keeps 24-bit pixels in the machine's byte order.
        return SDL_BYTEORDER == SDL_LIL_ENDIAN ? Uint32(at[0]) | Uint32(at[1]) << 8 | Uint32(at[2]) << 16
                                               : Uint32(at[2]) | Uint32(at[1]) << 8 | Uint32(at[0]) << 16;
    default: {
        Uint32 value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    }
}

}  // namespace

bool PngWriter::write(SDL_Surface& surface, const std::string& fileName, std::string& error) {
    if (surface.w <= 0 || surface.h <= 0) {
        error = "the picture is empty";
        return false;  // nothing to write
    }
    // The picture as RGB bytes, row after row.
    std::vector<png_byte> rgb(static_cast<size_t>(surface.w) * surface.h * 3);
    SDL_Surface* const locked = &surface;
    if (SDL_MUSTLOCK(locked) && SDL_LockSurface(locked) < 0) {
        error = SDL_GetError();
        return false;  // the pixels cannot be read now
    }
    size_t next = 0;
    for (int y = 0; y < surface.h; ++y) {
        for (int x = 0; x < surface.w; ++x) {
            SDL_GetRGB(pixelAt(surface, x, y), surface.format, &rgb[next], &rgb[next + 1], &rgb[next + 2]);
            next += 3;
        }
    }
    if (SDL_MUSTLOCK(locked)) SDL_UnlockSurface(locked);

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(surface.w);
    image.height = static_cast<png_uint_32>(surface.h);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, fileName.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
        error = image.message[0] != '\0' ? image.message : "libpng could not write the file";
        png_image_free(&image);
        return false;  // nothing usable written
    }
    return true;
}
