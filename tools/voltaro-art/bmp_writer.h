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
};
