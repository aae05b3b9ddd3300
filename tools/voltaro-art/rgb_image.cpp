#include "rgb_image.h"

#include <algorithm>
#include <stdexcept>

RgbImage::RgbImage(int width, int height, Rgb fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

void RgbImage::appendRow(const std::vector<Rgb>& row) {
    if (m_height == 0) {
        m_width = static_cast<int>(row.size());
    } else if (static_cast<int>(row.size()) != m_width) {
        throw std::logic_error("RgbImage::appendRow: row width differs");  // callers check widths first
    }
    m_pixels.insert(m_pixels.end(), row.begin(), row.end());
    ++m_height;
}

void RgbImage::appendBelow(const RgbImage& below) {
    if (below.empty()) return;  // nothing to add
    if (m_height == 0) {
        *this = below;
        return;  // the first block fixes the width
    }
    if (below.m_width != m_width) throw std::logic_error("RgbImage::appendBelow: widths differ");  // callers check widths first
    m_pixels.insert(m_pixels.end(), below.m_pixels.begin(), below.m_pixels.end());
    m_height += below.m_height;
}

void RgbImage::mirror() {
    for (int y = 0; y < m_height; ++y) {
        auto rowBegin = m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        std::reverse(rowBegin, rowBegin + m_width);
    }
}
