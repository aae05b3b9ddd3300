#include "platform/png_writer.h"
#include "platform/screenshot_folder.h"
#include "support/temp_dir.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

// The PNG's pixels as RGB bytes; empty when it cannot be read.
std::vector<png_byte> readPng(const std::string& fileName, png_uint_32& width, png_uint_32& height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, fileName.c_str()) == 0) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return {};
    width = image.width;
    height = image.height;
    return rgb;
}

// The local time zone fixed to UTC for one test.
class UtcTime {
public:
    UtcTime() {
        const char* zone = std::getenv("TZ");
        m_hadZone = zone != nullptr;
        if (m_hadZone) m_zone = zone;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcTime() {
        if (m_hadZone) {
            setenv("TZ", m_zone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    bool m_hadZone = false;
    std::string m_zone;
};

}  // namespace

TEST(PngWriter, EveryPixelSizeIsWrittenAsItsColours) {
    static const Uint32 kMasks[5][3] = {
        {0, 0, 0}, {0, 0, 0}, {0xf800, 0x07e0, 0x001f}, {0x0000ff, 0x00ff00, 0xff0000}, {0xff0000, 0x00ff00, 0x0000ff}};
    TempDir dir;
    for (int bytes = 1; bytes <= 4; ++bytes) {
        SCOPED_TRACE(std::to_string(bytes) + " bytes per pixel");
        SDL_Surface* surface =
            SDL_CreateRGBSurface(0, 5, 3, bytes * 8, kMasks[bytes][0], kMasks[bytes][1], kMasks[bytes][2], 0);
        ASSERT_NE(surface, nullptr);
        if (bytes == 1) {
            SDL_Color colours[2] = {{0, 0, 0, 0}, {255, 128, 8, 0}};
            SDL_SetPalette(surface, SDL_LOGPAL, colours, 0, 2);
        }
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_Rect dot{4, 2, 1, 1};
        SDL_FillRect(surface, &dot, SDL_MapRGB(surface->format, 255, 128, 8));
        Uint8 red, green, blue;
        SDL_GetRGB(SDL_MapRGB(surface->format, 255, 128, 8), surface->format, &red, &green, &blue);

        const std::string file = dir.file("shot" + std::to_string(bytes) + ".png");
        std::string error;
        ASSERT_TRUE(PngWriter::write(*surface, file, error)) << error;
        png_uint_32 width = 0, height = 0;
        const std::vector<png_byte> rgb = readPng(file, width, height);
        ASSERT_EQ(rgb.size(), 5u * 3u * 3u);
        EXPECT_EQ(width, 5u);
        EXPECT_EQ(height, 3u);
        const size_t last = (2 * 5 + 4) * 3;
        EXPECT_EQ((std::vector<int>{rgb[last], rgb[last + 1], rgb[last + 2]}), (std::vector<int>{red, green, blue}));
        EXPECT_EQ((std::vector<int>{rgb[0], rgb[1], rgb[2]}), (std::vector<int>{0, 0, 0}));
        SDL_FreeSurface(surface);
    }
}

TEST(PngWriter, AnUnwritableFileIsAnErrorWithAReason) {
    TempDir dir;
    SDL_Surface* surface = SDL_CreateRGBSurface(0, 2, 2, 32, 0xff0000, 0xff00, 0xff, 0);
    std::string error;
    EXPECT_FALSE(PngWriter::write(*surface, dir.file("no/such/folder/shot.png"), error));
    EXPECT_FALSE(error.empty());
    SDL_FreeSurface(surface);
}

TEST(ScreenshotFolder, NamesByLocalTimeAndNeverOverwrites) {
    const UtcTime utc;
    TempDir dir;
    const ScreenshotFolder folder(dir.file("screenshots"));
    const std::time_t moment = 1700000000;  // 2023-11-14 22:13:20 UTC
    std::string first, error;
    ASSERT_TRUE(folder.nextFile(moment, first, error)) << error;
    EXPECT_EQ(first, dir.file("screenshots") + "/voltaro-20231114-221320.png");
    dir.write("screenshots/voltaro-20231114-221320.png", "taken");
    std::string second;
    ASSERT_TRUE(folder.nextFile(moment, second, error));
    EXPECT_EQ(second, dir.file("screenshots") + "/voltaro-20231114-221320-2.png");
}

TEST(ScreenshotFolder, AFolderThatCannotBeMadeIsAnError) {
    TempDir dir;
    dir.write("file", "not a folder");
    std::string name, error;
    EXPECT_FALSE(ScreenshotFolder(dir.file("file")).nextFile(0, name, error));
    EXPECT_NE(error.find("cannot create the folder"), std::string::npos) << error;
}
