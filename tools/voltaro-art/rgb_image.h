#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rgb.h"

// A rectangle of 24-bit pixels stored row by row from the top. Sheets grow
// downwards one block at a time, which is how every sheet of the engine is
// laid out (one column of cells).
class RgbImage {
public:
    RgbImage() = default;
    // A width x height image filled with `fill`.
    RgbImage(int width, int height, Rgb fill);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_height == 0; }

    Rgb at(int x, int y) const { return m_pixels[index(x, y)]; }
    void set(int x, int y, Rgb colour) { m_pixels[index(x, y)] = colour; }

    // Appends a row of pixels at the bottom; the first row fixes the width,
    // so every later row must have exactly that many pixels.
    void appendRow(const std::vector<Rgb>& row);
    // Appends `below` under this image; both must be equally wide (an empty
    // image takes the other's width).
    void appendBelow(const RgbImage& below);
    // Flips the image left to right in place.
    void mirror();

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x); }

    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels;
};
