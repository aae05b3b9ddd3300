#include "bmp_writer.h"

#include <string>

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch; only informative

void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> BmpWriter::encode(const RgbImage& image) {
    const uint32_t width = static_cast<uint32_t>(image.width());
    const uint32_t height = static_cast<uint32_t>(image.height());
    const uint32_t rowBytes = (width * 3 + 3) / 4 * 4;  // each row padded to a multiple of 4 bytes
    const uint32_t pixelBytes = rowBytes * height;
    const uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes;

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    putU32(out, pixelOffset + pixelBytes);  // file size
    putU32(out, 0);                         // two reserved 16-bit fields
    putU32(out, pixelOffset);

    putU32(out, kInfoHeaderBytes);
    putU32(out, width);
    putU32(out, height);  // positive: rows are stored bottom-up
    putU16(out, 1);       // planes
    putU16(out, 24);      // bits per pixel
    putU32(out, 0);       // BI_RGB, uncompressed
    putU32(out, pixelBytes);
    putU32(out, static_cast<uint32_t>(kPixelsPerMetre));
    putU32(out, static_cast<uint32_t>(kPixelsPerMetre));
    putU32(out, 0);  // colours used: none, no colour table
    putU32(out, 0);  // important colours

    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb pixel = image.at(x, y);
            out.push_back(pixel.b);
            out.push_back(pixel.g);
            out.push_back(pixel.r);
        }
        for (uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}
