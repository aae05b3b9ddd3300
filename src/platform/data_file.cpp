#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const char* fileTypeName(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a plain file";
}

std::string notRegular(mode_t mode) {
    return std::string("is not a regular file (") + fileTypeName(mode) + ")";
}

std::string tooLarge(unsigned long long size, size_t maxBytes, const char* kind) {
    return "is " + std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) + " bytes " + kind +
           " may have";
}

std::string grewTooLarge(size_t maxBytes, const char* kind) {
    return "grew past the " + std::to_string(maxBytes) + " bytes " + kind + " may have while it was read";
}

// Little-endian fields of the BMP headers.
uint32_t readU32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

uint16_t readU16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                 static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// Closes the descriptor on every path out of read.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

DataFile DataFile::refused(std::string problem) {
    DataFile file;
    file.m_problem = std::move(problem);
    return file;
}

DataFile DataFile::read(const std::string& path, size_t maxBytes, const char* kind) {
    // Look before opening: opening some devices has effects of its own, and
    // opening a FIFO for reading waits for a writer.
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return refused("cannot be opened");
    if (!S_ISREG(status.st_mode)) return refused(notRegular(status.st_mode));

    // Non-blocking, so a file swapped for a FIFO since the look cannot hang
    // the open; what was opened is looked at again.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return refused("cannot be opened");
    if (::fstat(fd.get(), &status) != 0) return refused("cannot be read");
    if (!S_ISREG(status.st_mode)) return refused(notRegular(status.st_mode));
    const unsigned long long size = status.st_size > 0 ? static_cast<unsigned long long>(status.st_size) : 0;
    if (size > maxBytes) return refused(tooLarge(size, maxBytes, kind));

    // The file may still grow while it is read: read at most one byte past
    // the limit, which tells a file over it.
    DataFile file;
    file.m_bytes.resize(static_cast<size_t>(size));
    size_t filled = 0;
    char extra = 0;
    for (;;) {
        char* target = filled < file.m_bytes.size() ? &file.m_bytes[filled] : &extra;
        const size_t room = filled < file.m_bytes.size() ? file.m_bytes.size() - filled : 1;
        const ssize_t got = ::read(fd.get(), target, room);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return refused("cannot be read");
        if (got == 0) break;
        if (target == &extra) {
            if (filled + 1 > maxBytes) return refused(grewTooLarge(maxBytes, kind));
            file.m_bytes.push_back(extra);  // grew since the look, still within the limit
            filled += 1;
            continue;
        }
        filled += static_cast<size_t>(got);
    }
    file.m_bytes.resize(filled);  // shrank since the look
    file.m_ok = true;
    return file;
}

DataFile DataFile::readBitmap(const std::string& path) {
    DataFile file = read(path, kMaxBitmapBytes, "a BMP image");
    if (!file.ok()) return file;
    const std::string& bytes = file.m_bytes;
    constexpr size_t kInfoAt = 14;  // the DIB header follows the 14-byte file header
    if (bytes.size() < kInfoAt + 12 || bytes[0] != 'B' || bytes[1] != 'M') return file;  // for SDL to reject
    const uint32_t infoSize = readU32(bytes, kInfoAt);
    int64_t width = 0;
    int64_t height = 0;
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes
        width = readU16(bytes, kInfoAt + 4);
        height = readU16(bytes, kInfoAt + 6);
    } else {
        width = static_cast<int32_t>(readU32(bytes, kInfoAt + 4));
        height = static_cast<int32_t>(readU32(bytes, kInfoAt + 8));  // negative: stored top-down
    }
    if (width < 0) width = -width;
    if (height < 0) height = -height;
    if (width * height > kMaxBitmapPixels) {
        return refused("declares " + std::to_string(width) + "x" + std::to_string(height) + " pixels, more than the " +
                       std::to_string(kMaxBitmapPixels) + " a bitmap may have");
    }
    return file;
}
