#include "png_writer.h"

#include "output_file.h"

#include <png.h>

#include <stdexcept>

namespace {
constexpr Rgb kColourKey{255, 128, 255};  // transparent in every image of the engine
}  // namespace

std::vector<uint8_t> PngWriter::encode(const RgbImage& image, const Area& wanted, int scale) {
    Area area = wanted;
    if (area.width == 0 && area.height == 0) area = Area{0, 0, image.width(), image.height()};
    if (area.x < 0 || area.y < 0 || area.width <= 0 || area.height <= 0 || area.x + area.width > image.width() ||
        area.y + area.height > image.height()) {
        throw std::invalid_argument("the area " + std::to_string(area.width) + "x" + std::to_string(area.height) +
                                    " at (" + std::to_string(area.x) + ", " + std::to_string(area.y) +
                                    ") is not inside the " + std::to_string(image.width()) + "x" +
                                    std::to_string(image.height()) + " sheet");
    }
    if (scale < 1 || scale > kMaxScale) {
        throw std::invalid_argument("the scale " + std::to_string(scale) + " is not from 1 to " +
                                    std::to_string(kMaxScale));
    }

    const int width = area.width * scale;
    const int height = area.height * scale;
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb pixel = image.at(area.x + x / scale, area.y + y / scale);
            uint8_t* out = &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
            out[0] = pixel.r;
            out[1] = pixel.g;
            out[2] = pixel.b;
            out[3] = pixel == kColourKey ? 0 : 255;
        }
    }

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    // The first call measures, the second writes.
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
        throw std::runtime_error(std::string("cannot encode the PNG: ") + png.message);
    }
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, rgba.data(), 0, nullptr)) {
        throw std::runtime_error(std::string("cannot encode the PNG: ") + png.message);
    }
    bytes.resize(size);
    return bytes;
}

void PngWriter::writeFile(const RgbImage& image, const Area& area, int scale, const std::string& path) {
    const std::vector<uint8_t> bytes = encode(image, area, scale);
    OutputFile::write(path, std::string(bytes.begin(), bytes.end()));
}
