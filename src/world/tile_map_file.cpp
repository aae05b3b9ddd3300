#include "world/tile_map_file.h"

#include <utility>

namespace {

std::string cellSpan(int32_t row, int32_t column) {
    return "row " + std::to_string(row) + ", columns " + std::to_string(column) + ".." +
           std::to_string(column + TileMapFile::kChunkCells - 1);
}

}  // namespace

TileMapFile::TileMapFile(int32_t width, int32_t height, int32_t tileByteCount, std::vector<Cell> cells,
                         std::vector<bool> screenPresent)
    : m_width(width),
      m_height(height),
      m_tileByteCount(tileByteCount),
      m_cells(std::move(cells)),
      m_screenPresent(std::move(screenPresent)) {
    m_cells.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    m_screenPresent.resize(static_cast<size_t>(screensX()) * static_cast<size_t>(screensY()), false);
}

bool TileMapFile::decode(const std::vector<uint8_t>& bytes, TileMapFile& file, std::string& problem) {
    size_t problemOffset = 0;
    return decode(bytes, file, problem, problemOffset);
}

bool TileMapFile::decode(const std::vector<uint8_t>& bytes, TileMapFile& file, std::string& problem,
                         size_t& problemOffset) {
    const size_t size = bytes.size();
    problemOffset = size;  // truncation is found at the end of the file
    if (size < kHeaderBytes) {
        problem = "the file ends at byte offset " + std::to_string(size) + ", inside the 3-byte header";
        return false;
    }
    const int32_t width = bytes[0];
    const int32_t height = bytes[1];
    const int32_t tileByteCount = bytes[2];
    if (width == 0 || width % kScreenCellsX != 0) {
        problemOffset = 0;
        problem = "the width " + std::to_string(width) + " (byte offset 0) is not a positive multiple of 16";
        return false;
    }
    if (height == 0 || height % kScreenCellsY != 0) {
        problemOffset = 1;
        problem = "the height " + std::to_string(height) + " (byte offset 1) is not a positive multiple of 15";
        return false;
    }
    if (tileByteCount < 2) {
        problemOffset = 2;
        problem = "the tile count byte " + std::to_string(tileByteCount) +
                  " (byte offset 2) names no tile image; it is the number of images + 1, at least 2";
        return false;
    }

    TileMapFile decoded(width, height, tileByteCount, {}, {});
    const size_t expectedSize =
        kHeaderBytes + static_cast<size_t>(height) * static_cast<size_t>(width / kChunkCells) * kChunkBytes;
    size_t offset = kHeaderBytes;
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t column = 0; column < width; column += kChunkCells) {
            if (offset + kChunkBytes > size) {
                problem = "the file ends at byte offset " + std::to_string(size) + ", inside the chunk for " +
                          cellSpan(row, column) + " (a " + std::to_string(width) + " x " + std::to_string(height) +
                          " map needs " + std::to_string(expectedSize) + " bytes)";
                return false;
            }
            const bool present = bytes[offset] != 0;
            const int32_t screenX = column / kScreenCellsX;
            const int32_t screenY = row / kScreenCellsY;
            const size_t screen = static_cast<size_t>(screenY) * decoded.screensX() + screenX;
            if (row % kScreenCellsY == 0) {
                decoded.m_screenPresent[screen] = present;
            } else if (decoded.m_screenPresent[screen] != present) {
                problemOffset = offset;
                problem = "screen (" + std::to_string(screenX) + ", " + std::to_string(screenY) +
                          ") is partly absent: the chunk at byte offset " + std::to_string(offset) + " (" +
                          cellSpan(row, column) + ") is " + (present ? "present" : "absent") +
                          " but the screen's first row " + std::to_string(screenY * kScreenCellsY) + " is " +
                          (present ? "absent" : "present");
                return false;
            }
            for (int32_t i = 0; i < kChunkCells; ++i) {
                const size_t at = offset + 2 * static_cast<size_t>(i);
                if (present) {
                    Cell& cell = decoded.m_cells[static_cast<size_t>(row) * width + column + i];
                    cell.tileByte = bytes[at];
                    cell.solidByte = bytes[at + 1];
                    if (cell.tileByte == 0 && decoded.m_blankTileOffset < 0) {
                        decoded.m_blankTileOffset = static_cast<long>(at);
                    }
                } else if (decoded.m_strayByteOffset < 0) {
                    if (bytes[at] != 0) {
                        decoded.m_strayByteOffset = static_cast<long>(at);
                    } else if (bytes[at + 1] != 0) {
                        decoded.m_strayByteOffset = static_cast<long>(at + 1);
                    }
                }
            }
            offset += kChunkBytes;
        }
    }
    decoded.m_trailingByteCount = size - offset;
    decoded.m_trailingOffset = size > offset ? static_cast<long>(offset) : -1;
    file = std::move(decoded);
    return true;
}

std::vector<uint8_t> TileMapFile::encode() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderBytes + static_cast<size_t>(m_height) * (m_width / kChunkCells) * kChunkBytes);
    bytes.push_back(static_cast<uint8_t>(m_width));
    bytes.push_back(static_cast<uint8_t>(m_height));
    bytes.push_back(static_cast<uint8_t>(m_tileByteCount));
    for (int32_t row = 0; row < m_height; ++row) {
        for (int32_t column = 0; column < m_width; column += kChunkCells) {
            const bool present = isScreenPresent(column / kScreenCellsX, row / kScreenCellsY);
            for (int32_t i = 0; i < kChunkCells; ++i) {
                const Cell written = present ? cell(column + i, row) : Cell{};
                bytes.push_back(written.tileByte);
                bytes.push_back(written.solidByte);
            }
        }
    }
    return bytes;
}

bool TileMapFile::isScreenPresent(int32_t screenX, int32_t screenY) const {
    if (screenX < 0 || screenX >= screensX() || screenY < 0 || screenY >= screensY()) return false;
    return m_screenPresent[static_cast<size_t>(screenY) * screensX() + screenX];
}

TileMapFile::Cell TileMapFile::cell(int32_t column, int32_t row) const {
    if (column < 0 || column >= m_width || row < 0 || row >= m_height) return Cell{};  // outside the map
    return m_cells[static_cast<size_t>(row) * m_width + column];
}
