#include "bmp_writer.h"

#include "byte_writer.h"

#include <string>

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch; only informative

}  // namespace

std::vector<uint8_t> BmpWriter::encode(const RgbImage& image) {
    const uint32_t width = static_cast<uint32_t>(image.width());
    const uint32_t height = static_cast<uint32_t>(image.height());
    const uint32_t rowBytes = (width * 3 + 3) / 4 * 4;  // each row padded to a multiple of 4 bytes
    const uint32_t pixelBytes = rowBytes * height;
    const uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(pixelOffset + pixelBytes);  // file size
    out.u32(0);                         // two reserved 16-bit fields
    out.u32(pixelOffset);

    out.u32(kInfoHeaderBytes);
    out.u32(width);
    out.u32(height);  // positive: rows are stored bottom-up
    out.u16(1);       // planes
    out.u16(24);      // bits per pixel
    out.u32(0);       // BI_RGB, uncompressed
    out.u32(pixelBytes);
    out.u32(static_cast<uint32_t>(kPixelsPerMetre));
    out.u32(static_cast<uint32_t>(kPixelsPerMetre));
    out.u32(0);  // colours used: none, no colour table
    out.u32(0);  // important colours

    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb pixel = image.at(x, y);
            out.u8(pixel.b);
            out.u8(pixel.g);
            out.u8(pixel.r);
        }
        for (uint32_t pad = width * 3; pad < rowBytes; ++pad) out.u8(0);
    }
    return std::vector<uint8_t>(out.bytes().begin(), out.bytes().end());
}
