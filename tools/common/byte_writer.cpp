#include "byte_writer.h"

void ByteWriter::u8(uint32_t value) { m_bytes.push_back(static_cast<char>(value & 0xFF)); }

void ByteWriter::u16(uint32_t value) {
    u8(value);
    u8(value >> 8);
}

void ByteWriter::u32(uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
}

void ByteWriter::fixedText(const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) u8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
}

void ByteWriter::append(const std::string& bytes) { m_bytes += bytes; }

void ByteWriter::patchU16(size_t offset, uint32_t value) {
    m_bytes.at(offset) = static_cast<char>(value & 0xFF);
    m_bytes.at(offset + 1) = static_cast<char>((value >> 8) & 0xFF);
}
