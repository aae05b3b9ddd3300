#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Builds a binary file in memory, little-endian, the byte order of every
// format the tools write (BMP, WAV, XM). Values wider than the field keep
// their low bytes.
class ByteWriter {
public:
    void u8(uint32_t value);
    void u16(uint32_t value);
    void u32(uint32_t value);
    // `text` cut or padded with zero bytes to exactly `width` bytes.
    void fixedText(const std::string& text, size_t width);
    void append(const std::string& bytes);
    // Overwrites the 16-bit value at `offset`, for a size known only later.
    void patchU16(size_t offset, uint32_t value);

    size_t size() const { return m_bytes.size(); }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};
