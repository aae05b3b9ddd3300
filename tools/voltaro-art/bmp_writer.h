#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rgb_image.h"

// Encodes an image as an uncompressed 24-bit Windows BMP (BITMAPINFOHEADER,
// bottom-up rows padded to 4 bytes), the format SDL 1.2 loads directly.
// Every header field is fixed, so equal images give equal bytes.
class BmpWriter {
public:
    static std::vector<uint8_t> encode(const RgbImage& image);
    // Writes the encoded image to `path` through a temporary file beside it
    // that is renamed at the end, so a failed write leaves no partial file.
    // A target that is not a plain file (a symbolic link, /dev/stdout) is
    // written in place instead. Throws std::runtime_error naming the path.
    static void writeFile(const RgbImage& image, const std::string& path);
};
