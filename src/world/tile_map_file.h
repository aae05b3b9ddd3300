#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The binary tile map file, decoded and checked, or built to be encoded.
// Layout: W, H, N (one byte each), then H rows of W / 16 chunks of 16 cells
// of two bytes (tile byte, solid byte); a chunk whose first byte is 0 is
// absent. A well-formed file has W a positive multiple of 16, H a positive
// multiple of 15, N of at least 2, every chunk complete and every screen
// (16x15 cells) either wholly present or wholly absent. Map loads through
// decode and MapSource converts through decode and encode, so the engine and
// the tool accept exactly the same files.
class TileMapFile {
public:
    struct Cell {
        uint8_t tileByte = 0;   // tile number + 1
        uint8_t solidByte = 0;  // 0 = open, anything else = solid
    };

    static constexpr int32_t kHeaderBytes = 3;
    static constexpr int32_t kChunkCells = 16;                 // cells per chunk (one screen row)
    static constexpr int32_t kChunkBytes = 2 * kChunkCells;    // bytes per chunk
    static constexpr int32_t kScreenCellsX = 16;               // cells across a screen
    static constexpr int32_t kScreenCellsY = 15;               // cells down a screen
    static constexpr int32_t kMaxWidth = 240;                  // cells: largest multiple of 16 in a byte
    static constexpr int32_t kMaxHeight = 255;                 // cells: largest multiple of 15 in a byte
    // The longest well-formed file without trailing bytes.
    static constexpr size_t kMaxBytes =
        kHeaderBytes + static_cast<size_t>(kMaxHeight) * (kMaxWidth / kChunkCells) * kChunkBytes;

    TileMapFile() = default;
    // A map to encode: `cells` holds width x height cells in row-major order
    // (cells of absent screens are ignored), `screenPresent` one flag per
    // screen in row-major order. The caller keeps to the well-formed rules.
    TileMapFile(int32_t width, int32_t height, int32_t tileByteCount, std::vector<Cell> cells,
                std::vector<bool> screenPresent);

    // Decodes a file's bytes into `file`. Returns false for a malformed file
    // and then describes the problem, with its byte offset, in `problem`.
    static bool decode(const std::vector<uint8_t>& bytes, TileMapFile& file, std::string& problem);
    // The same, also giving the byte offset the problem was found at.
    static bool decode(const std::vector<uint8_t>& bytes, TileMapFile& file, std::string& problem,
                       size_t& problemOffset);
    // The file's bytes; absent chunks are written as 32 zero bytes.
    std::vector<uint8_t> encode() const;

    int32_t width() const { return m_width; }    // cells
    int32_t height() const { return m_height; }  // cells
    int32_t tileByteCount() const { return m_tileByteCount; }  // N: tile images + 1
    int32_t screensX() const { return m_width / kScreenCellsX; }
    int32_t screensY() const { return m_height / kScreenCellsY; }
    bool isScreenPresent(int32_t screenX, int32_t screenY) const;
    // The cell at (column, row); meaningful inside present screens only.
    Cell cell(int32_t column, int32_t row) const;

    // What decode saw that a well-formed reader ignores but a faithful
    // converter must not lose. Offsets are -1 when there was none.
    size_t trailingByteCount() const { return m_trailingByteCount; }  // bytes after the last row
    long trailingOffset() const { return m_trailingOffset; }
    long strayByteOffset() const { return m_strayByteOffset; }  // first non-zero byte inside an absent chunk
    long blankTileOffset() const { return m_blankTileOffset; }  // first tile byte 0 after a chunk's first cell

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_tileByteCount = 0;
    std::vector<Cell> m_cells;         // width x height, row-major
    std::vector<bool> m_screenPresent;  // screensX x screensY, row-major
    size_t m_trailingByteCount = 0;
    long m_trailingOffset = -1;
    long m_strayByteOffset = -1;
    long m_blankTileOffset = -1;
};
