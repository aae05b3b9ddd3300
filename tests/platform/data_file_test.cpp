// Reading data files safely: only regular files, never more than a kind's
// limit, and no BMP whose declared size SDL would allocate unbounded.

#include "platform/data_file.h"
#include "platform/game_engine.h"
#include "support/temp_dir.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// A BMP file header and a 40-byte info header declaring width x height at 24 bits.
std::string bmpHeader(int32_t width, int32_t height) {
    std::string bytes = "BM";
    auto put32 = [&bytes](uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    auto put16 = [&bytes](uint16_t value) {
        bytes += static_cast<char>(value & 0xff);
        bytes += static_cast<char>(value >> 8);
    };
    put32(54 + 12);  // file size (not trusted by anyone)
    put32(0);
    put32(54);       // pixel data offset
    put32(40);       // info header size
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i) put32(0);
    return bytes + std::string(12, '\0');
}

// A sparse file of `bytes` bytes: it costs nothing on disk but claims its size.
void makeSparse(const std::string& path, off_t bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    ASSERT_EQ(::truncate(path.c_str(), bytes), 0);
}

}  // namespace

TEST(DataFile, ReadsARegularFileAndALinkToOneWhole) {
    TempDir dir;
    dir.write("a.ini", "[A]\nk=1\n");
    ASSERT_EQ(::symlink(dir.file("a.ini").c_str(), dir.file("link.ini").c_str()), 0);
    for (const char* name : {"a.ini", "link.ini"}) {
        const DataFile file = DataFile::read(dir.file(name), 100, "an INI file");
        ASSERT_TRUE(file.ok()) << name << ": " << file.problem();
        EXPECT_EQ(file.bytes(), "[A]\nk=1\n");
        EXPECT_EQ(file.problem(), "");
    }
    dir.write("empty", "");
    EXPECT_TRUE(DataFile::read(dir.file("empty"), 0, "an INI file").ok());
}

TEST(DataFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);  // no writer: opening it to read would block
    ::mkdir(dir.file("folder").c_str(), 0700);
    ASSERT_EQ(::symlink("/dev/urandom", dir.file("random").c_str()), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.file("socket");
    ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    const struct {
        const char* name;
        const char* problem;
    } cases[] = {{"fifo", "is not a regular file (a FIFO)"},
                 {"folder", "is not a regular file (a directory)"},
                 {"random", "is not a regular file (a character device)"},
                 {"socket", "is not a regular file (a socket)"},
                 {"missing", "cannot be opened"}};
    for (const auto& c : cases) {
        const DataFile file = DataFile::read(dir.file(c.name), 1 << 20, "an INI file");
        EXPECT_FALSE(file.ok()) << c.name;
        EXPECT_EQ(file.problem(), c.problem) << c.name;
        EXPECT_EQ(file.bytes(), "") << c.name;
    }
    ::close(listener);
}

TEST(DataFile, RefusesAFileOverItsKindsLimitWithoutReadingIt) {
    TempDir dir;
    dir.write("exact", std::string(10, 'x'));
    EXPECT_TRUE(DataFile::read(dir.file("exact"), 10, "a tile map").ok());
    dir.write("over", std::string(11, 'x'));
    const DataFile over = DataFile::read(dir.file("over"), 10, "a tile map");
    EXPECT_FALSE(over.ok());
    EXPECT_EQ(over.problem(), "is 11 bytes, more than the 10 bytes a tile map may have");
    // A gigabyte that costs nothing on disk is refused on its size alone.
    makeSparse(dir.file("sparse"), 1 << 30);
    const DataFile sparse = DataFile::read(dir.file("sparse"), 1 << 20, "an INI file");
    EXPECT_FALSE(sparse.ok());
    EXPECT_EQ(sparse.problem(), "is 1073741824 bytes, more than the 1048576 bytes an INI file may have");
}

TEST(DataFile, BitmapDeclaringMorePixelsThanTheBoundIsRefusedBeforeDecoding) {
    TempDir dir;
    dir.write("huge.bmp", bmpHeader(30000, -30000));
    const DataFile huge = DataFile::readBitmap(dir.file("huge.bmp"));
    EXPECT_FALSE(huge.ok());
    EXPECT_EQ(huge.problem(), "declares 30000x30000 pixels, more than the 1048576 a bitmap may have");
    dir.write("strip.bmp", bmpHeader(32, 32768));  // exactly the bound
    EXPECT_TRUE(DataFile::readBitmap(dir.file("strip.bmp")).ok());
    dir.write("text.bmp", "not a bitmap at all");  // for the decoder to reject
    EXPECT_TRUE(DataFile::readBitmap(dir.file("text.bmp")).ok());
    makeSparse(dir.file("sparse.bmp"), 64 << 20);
    EXPECT_FALSE(DataFile::readBitmap(dir.file("sparse.bmp")).ok());
}

TEST(DataFile, TheVideoServiceLoadsNoBitmapFromAFifoOrAnOversizedHeader) {
    GameEngine::Settings settings;
    settings.headless = true;
    GameEngine engine(settings);
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("selector.bmp").c_str(), 0600), 0);
    dir.write("huge.bmp", bmpHeader(4096, 4096));
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine.loadBitmap(dir.file("selector.bmp").c_str()), nullptr);
    EXPECT_EQ(engine.loadBitmap(dir.file("huge.bmp").c_str()), nullptr);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("selector.bmp\": it is not a regular file (a FIFO)"), std::string::npos) << messages;
    EXPECT_NE(messages.find("huge.bmp\": it declares 4096x4096 pixels"), std::string::npos) << messages;

    SDL_Surface* picture = SDL_CreateRGBSurface(0, 2, 2, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_EQ(SDL_SaveBMP(picture, dir.file("ok.bmp").c_str()), 0);
    SDL_FreeSurface(picture);
    const SurfaceHandle loaded = engine.loadBitmap(dir.file("ok.bmp").c_str());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->w, 2);
}
