#pragma once

// Small Tiled maps written as text for the import tests: one level of two
// screens side by side (32 x 15 cells), the left one painted, the right one
// absent, in any of Tiled's layer encodings.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tiled_fixture {

constexpr int kWidth = 32;
constexpr int kHeight = 15;

// Left screen: gid 1 (tile 0) everywhere, a floor of gid 2 (tile 1, solid)
// on the bottom row, a ladder of gid 5 (tile 4) in column 3; right screen empty.
inline std::vector<uint32_t> gids() {
    std::vector<uint32_t> cells(static_cast<size_t>(kWidth * kHeight), 0);
    for (int row = 0; row < kHeight; ++row) {
        for (int column = 0; column < 16; ++column) {
            uint32_t gid = 1;
            if (row == kHeight - 1) gid = 2;
            if (column == 3) gid = 5;
            cells[static_cast<size_t>(row * kWidth + column)] = gid;
        }
    }
    return cells;
}

inline std::string csv(const std::vector<uint32_t>& cells) {
    std::string text = "\n";
    for (size_t i = 0; i < cells.size(); ++i) {
        text += std::to_string(cells[i]) + (i + 1 < cells.size() ? "," : "");
        if ((i + 1) % kWidth == 0) text += "\n";
    }
    return text;
}

inline std::string littleEndian(const std::vector<uint32_t>& cells) {
    std::string bytes;
    for (const uint32_t gid : cells) {
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>((gid >> (8 * b)) & 0xFF));
    }
    return bytes;
}

// zlib or, with `gzip`, gzip-wrapped deflate data.
inline std::string deflateBytes(const std::string& bytes, bool gzip) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string packed(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(&packed[0]);
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

inline std::string base64(const std::string& bytes) {
    const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t chunk = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size()) chunk |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) chunk |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 2]));
        text += alphabet[(chunk >> 18) & 63];
        text += alphabet[(chunk >> 12) & 63];
        text += i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? alphabet[chunk & 63] : '=';
    }
    return text;
}

const char* const kTilesetBody =
    "  <image source=\"sheet.bmp\" width=\"16\" height=\"128\"/>\n"
    "  <tile id=\"1\"><properties><property name=\"solid\" type=\"bool\" value=\"true\"/></properties></tile>\n"
    "  <tile id=\"4\"><properties><property name=\"solid\" type=\"bool\" value=\"false\"/></properties></tile>\n";

inline std::string tilesetAttributes(int tileSize = 16, int tileCount = 8) {
    return "name=\"sheet\" tilewidth=\"" + std::to_string(tileSize) + "\" tileheight=\"" + std::to_string(tileSize) +
           "\" tilecount=\"" + std::to_string(tileCount) + "\" columns=\"1\"";
}

inline std::string embeddedTileset(int tileSize = 16) {
    return " <tileset firstgid=\"1\" " + tilesetAttributes(tileSize) + ">\n" + kTilesetBody + " </tileset>\n";
}

// An external tile set file.
inline std::string tsx(int tileSize = 16) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tileset version=\"1.8\" " + tilesetAttributes(tileSize) + ">\n" +
           kTilesetBody + "</tileset>\n";
}

const char* const kObjects =
    " <objectgroup id=\"2\" name=\"boundaries\">\n"
    "  <object id=\"1\" name=\"boundary0\" x=\"0\" y=\"0\" width=\"256\" height=\"240\"/>\n"
    " </objectgroup>\n"
    " <objectgroup id=\"3\" name=\"places\">\n"
    "  <object id=\"2\" name=\"start\" x=\"128\" y=\"196\"><point/></object>\n"
    "  <object id=\"3\" name=\"enemy\" x=\"48\" y=\"200\"><point/></object>\n"
    " </objectgroup>\n";

// A whole TMX; `data` is the tiles layer's <data> element.
struct Tmx {
    std::string mapAttributes = "orientation=\"orthogonal\" width=\"32\" height=\"15\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\"";
    std::string tileset = embeddedTileset();
    std::string data = "<data encoding=\"csv\">" + csv(gids()) + "</data>";
    std::string layers = kObjects;  // after the tiles layer

    std::string text() const {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" " + mapAttributes + ">\n" + tileset +
               " <layer id=\"1\" name=\"tiles\" width=\"32\" height=\"15\">\n  " + data + "\n </layer>\n" + layers +
               "</map>\n";
    }
};

}  // namespace tiled_fixture
