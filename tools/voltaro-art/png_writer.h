#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rgb_image.h"

// Encodes part of an image as an 8-bit RGBA PNG (through libpng), each
// pixel enlarged to a `scale` x `scale` square, with the colour key
// (255, 128, 255) fully transparent: the form desktops want for icons.
class PngWriter {
public:
    struct Area {
        int x = 0;
        int y = 0;
        int width = 0;  // 0 = the whole image
        int height = 0;
    };

    static constexpr int kMaxScale = 16;

    // The area must lie inside the image and scale be 1 to kMaxScale
    // (std::invalid_argument otherwise, with the reason).
    static std::vector<uint8_t> encode(const RgbImage& image, const Area& area, int scale);
    // Writes encode's bytes like BmpWriter::writeFile (std::runtime_error naming the path).
    static void writeFile(const RgbImage& image, const Area& area, int scale, const std::string& path);
};
