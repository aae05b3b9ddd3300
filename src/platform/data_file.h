#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads one file of a game's data whole, the one safe way every loader uses:
// it opens only a regular file (or a symbolic link to one) and reads no more
// than the limit its kind can sensibly need. A FIFO, device, directory or
// socket where a data file belongs would block for ever or never end (a FIFO
// named like a bitmap hangs before the first frame, /dev/urandom grows until
// memory runs out), so such a file is refused like an unreadable one; a file
// longer than its limit is refused with its size and the limit, never read
// in full.
class DataFile {
public:
    // Reads `path` into the result. `maxBytes` is the kind's limit and
    // `kind` its name in the problem text ("an INI file", "a tile map").
    static DataFile read(const std::string& path, size_t maxBytes, const char* kind);

    bool ok() const { return m_ok; }
    // The whole file; empty unless ok.
    const std::string& bytes() const { return m_bytes; }
    // Why the file was refused, as a phrase to follow its name: "cannot be
    // opened", "is not a regular file (a FIFO)", "is 5000000 bytes, more
    // than the 1048576 bytes an INI file may have". Empty when ok.
    const std::string& problem() const { return m_problem; }

    // Largest decoded bitmap, in pixels (width x height): 1024 x 1024, or a
    // strip of cells 32 wide and 32768 high. A sprite sheet, tile sheet or
    // glyph sheet of this engine needs far less; at four bytes a pixel one
    // such image is 4 MiB in memory.
    static constexpr int64_t kMaxBitmapPixels = 1 << 20;
    // Largest BMP file: the largest bitmap at 32 bits a pixel, with room for
    // the headers, a 256-colour palette and a gap before the pixels.
    static constexpr size_t kMaxBitmapBytes = static_cast<size_t>(kMaxBitmapPixels) * 4 + 64 * 1024;

    // Reads a BMP file for SDL's decoder: the file as `read` does with the
    // bitmap limit, and then its declared width and height, which SDL would
    // allocate before it looks at a single pixel: a bitmap declaring more
    // than kMaxBitmapPixels (or no pixels) is refused. Files that are not
    // BMPs pass, for the decoder to reject with its own message.
    static DataFile readBitmap(const std::string& path);

private:
    DataFile() = default;
    static DataFile refused(std::string problem);

    bool m_ok = false;
    std::string m_bytes;
    std::string m_problem;
};
